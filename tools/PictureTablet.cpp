#include "PictureTablet.h"

#include <cwctype>
#include <string>

#include "Utf8.h"

namespace {

// GraphML names are UTF-8, as the XML reader checked; the tablets draw wide text. A byte
// that begins no character becomes U+FFFD.
std::wstring wideOf(const std::string& utf8)
{
    std::wstring out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = decodeUtf8(std::string_view(utf8).substr(i), c);
        out += length > 0 ? static_cast<wchar_t>(c) : L'\uFFFD';
        i += length > 0 ? length : 1;
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
