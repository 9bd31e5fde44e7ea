#ifndef QC_UI_TABLET_H
#define QC_UI_TABLET_H

#include <string>

#include "qcColor.h"
#include "qcExport.h"
#include "qcUIFormat.h"
#include "qcVector.h"

// A drawing surface. Graphics draw themselves on it through these calls, in the plane of the
// graph (y grows upwards); how and where the drawing shows is up to the surface.
class QC_EXPORT qcUITablet {
public:
    qcUITablet() = default;
    qcUITablet(const qcUITablet&) = default;
    qcUITablet& operator=(const qcUITablet&) = default;
    virtual ~qcUITablet();

    // Writes text at anchor in textColor, placed by the format's alignment and moved further by
    // offset (in the surface's own units, y up); markColor marks the anchor itself.
    virtual void drawText(const std::wstring& text, const qcPoint& anchor, const qcColor& textColor,
                          const qcColor& markColor, const qcUIFormat& format,
                          const qcVector<2>& offset) = 0;
    // Draws the straight segment from segment.start() to segment.end() in color.
    virtual void drawSegment(const qcLineSeg& segment, const qcColor& color) = 0;
};

#endif
