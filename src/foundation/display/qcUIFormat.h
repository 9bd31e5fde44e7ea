#ifndef QC_UI_FORMAT_H
#define QC_UI_FORMAT_H

#include "qcExport.h"

// How a text is set: the font, and where the text stands relative to its anchor.
class QC_EXPORT qcUIFormat {
public:
    enum Alignment {
        aboveRight = 0,  // the text begins just right of the anchor, its baseline just above it
        centred = 1,     // the text's middle on the anchor
    };

    qcUIFormat(long fontId, Alignment alignment) noexcept
        : mFontId(fontId), mAlignment(alignment) {}

    long fontId() const noexcept { return mFontId; }
    Alignment alignment() const noexcept { return mAlignment; }

    // The font a tablet uses when nothing else is asked for (a plain sans-serif face).
    static long defaultFontId() noexcept;

private:
    long mFontId;
    Alignment mAlignment;
};

#endif
