#ifndef QC_GRAPHIC_TEXT_H
#define QC_GRAPHIC_TEXT_H

#include <string>

#include "qcColor.h"
#include "qcExport.h"
#include "qcGraphic.h"
#include "qcUIFormat.h"
#include "qcVector.h"

// A text at an anchor point: drawn with qcUITablet::drawText and the values it was made from.
class QC_EXPORT qcGraphicText : public qcGraphic {
public:
    // textColor colours the text, markColor the anchor; offset moves the text from its place.
    qcGraphicText(const std::wstring& text, const qcPoint& anchor, const qcColor& textColor,
                  const qcColor& markColor, const qcUIFormat& format, const qcVector<2>& offset);

    const std::wstring& text() const noexcept { return mText; }
    const qcPoint& anchor() const noexcept { return mAnchor; }
    const qcColor& textColor() const noexcept { return mTextColor; }
    const qcColor& markColor() const noexcept { return mMarkColor; }
    const qcUIFormat& format() const noexcept { return mFormat; }
    const qcVector<2>& offset() const noexcept { return mOffset; }

    void draw(qcUITablet& tablet) const override;

private:
    std::wstring mText;
    qcPoint mAnchor;
    qcColor mTextColor;
    qcColor mMarkColor;
    qcUIFormat mFormat;
    qcVector<2> mOffset;
};

#endif
