#include "LineFields.h"

#include <charconv>
#include <cmath>

#include "LineSource.h"
#include "Utf8.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

// The length of the UTF-8 sequence of a printable character at the start of text, or 0 for a
// byte that does not start one: a control character (C0, DEL or C1, which a terminal may obey),
// a stray or missing continuation byte, an overlong form, a surrogate or a value past U+10FFFF.
std::size_t printableLength(std::string_view text)
{
    char32_t c = 0;
    const std::size_t length = decodeUtf8(text, c);
    return c >= 0xa0 || (c >= 0x20 && c < 0x7f) ? length : 0;
}

}  // namespace

std::string quoted(std::string_view text)
{
    constexpr std::size_t longest = 40;
    static const char digits[] = "0123456789abcdef";
    std::string out = "'";
    std::size_t i = 0;
    while (i < text.size() && i < longest) {
        const std::size_t length = printableLength(text.substr(i));
        if (length == 0) {
            const auto c = static_cast<unsigned char>(text[i++]);
            out += {'\\', 'x', digits[c >> 4], digits[c & 15]};
            continue;
        }
        if (text[i] == '\\')
            out += '\\';
        out.append(text, i, length);
        i += length;
    }
    return out + (i < text.size() ? "...'" : "'");
}

LineFields::LineFields(std::string_view line, const LineSource& source)
    : mRest(line), mSource(source)
{
}

void LineFields::skipBlanks()
{
    std::size_t i = 0;
    while (i < mRest.size() && isBlank(mRest[i]))
        ++i;
    mRest.remove_prefix(i);
}

bool LineFields::atEnd()
{
    skipBlanks();
    return mRest.empty();
}

std::string_view LineFields::word(const char* what)
{
    if (atEnd())
        fail(std::string("missing ") + what);
    std::size_t i = 0;
    while (i < mRest.size() && !isBlank(mRest[i]))
        ++i;
    const std::string_view field = mRest.substr(0, i);
    mRest.remove_prefix(i);
    return field;
}

std::int64_t LineFields::integer(const char* what, std::int64_t low, std::int64_t high)
{
    // The usual field, up to 18 digits in range, is read here; from_chars reads the others and
    // tells what is wrong with them.
    skipBlanks();
    std::size_t digits = 0;
    std::int64_t quick = 0;
    while (digits < mRest.size() && digits < 18 && mRest[digits] >= '0' && mRest[digits] <= '9')
        quick = quick * 10 + (mRest[digits++] - '0');
    if (digits > 0 && (digits == mRest.size() || isBlank(mRest[digits])) && quick >= low && quick <= high) {
        mRest.remove_prefix(digits);
        return quick;
    }
    const std::string_view field = word(what);
    std::int64_t value = 0;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (ec == std::errc::result_out_of_range)
        fail(std::string(what) + " " + quoted(field) + " is too large");
    if (ec != std::errc() || ptr != end)
        fail(std::string(what) + " " + quoted(field) + " is not a whole number");
    if (value < low || value > high)
        fail(std::string(what) + " " + std::to_string(value) + " out of range " +
             std::to_string(low) + " to " + std::to_string(high));
    return value;
}

double LineFields::number(const char* what)
{
    const std::string_view field = word(what);
    double value = 0.0;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (ec == std::errc::result_out_of_range)
        fail(std::string(what) + " " + quoted(field) + " is out of range");
    if (ec != std::errc() || ptr != end)
        fail(std::string(what) + " " + quoted(field) + " is not a number");
    if (!std::isfinite(value))
        fail(std::string(what) + " " + quoted(field) + " is not a finite number");
    return value;
}

void LineFields::expectEnd(const char* after)
{
    if (!atEnd())
        fail("unexpected " + quoted(word("")) + " after " + after);
}

void LineFields::fail(const std::string& what) const
{
    if (mSource.lineIsUnterminated())
        mSource.fail(what + " (the file ends inside this line: truncated?)");
    mSource.fail(what);
}
