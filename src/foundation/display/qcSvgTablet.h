#ifndef QC_SVG_TABLET_H
#define QC_SVG_TABLET_H

#include <iosfwd>
#include <string>
#include <vector>

#include "qcColor.h"
#include "qcExport.h"
#include "qcUIFormat.h"
#include "qcUITablet.h"
#include "qcVector.h"

// A tablet that records what is drawn on it and writes it as a standalone SVG picture on a dark
// background. The drawing is scaled so that its longer side spans 760 pixels (a drawing of a
// single point keeps its scale), framed by a 40-pixel margin, and turned so that y points up as
// in the graph's plane. Texts mark their anchor with a dot; one font serves every font id.
// Anything drawn with a coordinate that is not finite is left out of the picture.
class QC_EXPORT qcSvgTablet : public qcUITablet {
public:
    qcSvgTablet() = default;

    void drawText(const std::wstring& text, const qcPoint& anchor, const qcColor& textColor,
                  const qcColor& markColor, const qcUIFormat& format,
                  const qcVector<2>& offset) override;
    void drawSegment(const qcLineSeg& segment, const qcColor& color) override;

    // Width, in pixels of the picture, of the segments drawn from now on (1.5 at first); a
    // path drawn wider over its graph stands out. Throws qcInvariantFailure unless
    // width is finite and positive.
    void lineWidth(double width);

    // Writes the SVG document (UTF-8): the background, then one element per drawn graphic: a
    // <line> per segment in drawing order, then over them a <g> of dot and <text> per text in
    // drawing order, so no line hides a label. An empty tablet gives a picture of the margins
    // alone. Time linear in what was drawn.
    void write(std::ostream& out) const;
    // Writes the document to the file at path, replacing it; false when that fails.
    bool save(const std::string& path) const;

private:
    struct Item {
        bool isText;
        qcVector<2> from;  // a text's anchor, a segment's start
        qcVector<2> to;    // a text's offset, a segment's end
        qcColor color;
        qcColor markColor;
        std::wstring text;
        qcUIFormat::Alignment alignment;
        double width;
    };
    std::vector<Item> mItems;
    double mLineWidth = 1.5;
};

#endif
