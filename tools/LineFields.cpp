#include "LineFields.h"

#include <charconv>
#include <cmath>

#include "GraphFileError.h"
#include "LineSource.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

std::string quoted(std::string_view text)
{
    constexpr std::size_t longest = 40;
    if (text.size() > longest)
        return "'" + std::string(text.substr(0, longest)) + "...'";
    return "'" + std::string(text) + "'";
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
    std::string message = mSource.path() + ":" + std::to_string(mSource.lineNumber()) + ": " + what;
    if (mSource.lineIsUnterminated())
        message += " (the file ends inside this line: truncated?)";
    throw GraphFileError(message);
}
