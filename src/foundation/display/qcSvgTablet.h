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
// background. The drawing is scaled so that its longer side spans 760 pixels, or the style's
// span (a drawing of a single point keeps its scale), framed by a 40-pixel margin, and turned
// so that y points up as in the graph's plane. Texts mark their anchor with a dot; one font serves every font id.
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

    // How the picture is laid out when it is written; the defaults give the plain picture.
    struct Style {
        double span = 760.0;        // pixels along the drawing's longer side
        bool fixedSize = true;      // width and height in pixels; else the picture fills its window
        bool arrowheads = false;    // each segment ends in an arrowhead where there is room for one
        bool fittedLabels = false;  // a text only where it has room, anchors as smaller dots else
    };
    // Room for a text: no other anchor nearer to its own than the text is wide (7.5 pixels a
    // character and the gap); an anchor without room is a dot of a sixth of that distance,
    // 1 to 3 pixels. An arrowhead, 4 pixels plus twice the segment's width long, needs a
    // segment three times as long; its tip stops short of the end's dot. Throws
    // qcInvariantFailure unless span is finite and positive.
    void style(const Style& style);

    // Writes the SVG document (UTF-8): the background, then one element per drawn graphic: a
    // `<line>` per segment in drawing order (each followed by its arrowhead `<polygon>`, if any),
    // then over them a `<g>` of dot and `<text>` per text in drawing order, so no line hides a
    // label (a lone dot `<circle>` where a fitted label has no room). An empty tablet gives a
    // picture of the margins alone. Time linear in what was drawn, O(n log n) in the texts
    // when labels are fitted.
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
    Style mStyle;
};

#endif
