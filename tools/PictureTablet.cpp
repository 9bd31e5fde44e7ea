#include "PictureTablet.h"

#include <cwctype>
#include <string>

namespace {

// GraphML names are UTF-8, as the XML reader checked; the tablets draw wide text, and write
// what is no character as U+FFFD. A stray byte becomes U+FFFD here.
std::wstring wideOf(const std::string& utf8)
{
    std::wstring out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if ((lead >= 0x80 && lead < 0xC0) || i + length > utf8.size()) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += static_cast<wchar_t>(c);
        i += length;
    }
    return out;
}

}  // namespace

void PictureTablet::drawText(const std::wstring& text, const qcPoint& anchor,
                             const qcColor& textColor, const qcColor& markColor,
                             const qcUIFormat& format, const qcVector<2>& offset)
{
    bool isIndex = !text.empty() && text.size() < 12;
    for (const wchar_t c : text)
        isIndex = isIndex && std::iswdigit(static_cast<wint_t>(c));
    const long long index = isIndex ? std::stoll(text) : -1;
    std::wstring label = text;
    if (index >= 0 && index < mNumNodes) {
        label = wideOf(mIds.text(static_cast<std::int32_t>(index)));
    }
    mTarget.drawText(label, anchor, mColor.value_or(textColor), mColor.value_or(markColor),
                     format, offset);
}
