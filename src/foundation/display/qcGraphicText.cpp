#include "qcGraphicText.h"

#include "qcUITablet.h"

qcGraphicText::qcGraphicText(const std::wstring& text, const qcPoint& anchor,
                             const qcColor& textColor, const qcColor& markColor,
                             const qcUIFormat& format, const qcVector<2>& offset)
    : mText(text), mAnchor(anchor), mTextColor(textColor), mMarkColor(markColor),
      mFormat(format), mOffset(offset)
{
}

void qcGraphicText::draw(qcUITablet& tablet) const
{
    tablet.drawText(mText, mAnchor, mTextColor, mMarkColor, mFormat, mOffset);
}
