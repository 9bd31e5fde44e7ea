#include "PictureTablet.h"

#include <cwctype>
#include <string>

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
        const std::string id = mIds.text(static_cast<std::int32_t>(index));
        label.assign(id.begin(), id.end());
    }
    mTarget.drawText(label, anchor, mColor.value_or(textColor), mColor.value_or(markColor),
                     format, offset);
}
