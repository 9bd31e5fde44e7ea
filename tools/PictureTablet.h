#ifndef QCGRAPH_TOOLS_PICTURE_TABLET_H
#define QCGRAPH_TOOLS_PICTURE_TABLET_H

#include <cstdint>
#include <optional>

#include <qcUITablet.h>

// A tablet that passes everything on to another one, with the library's node labels (node
// indices, counted from 0) turned into the file's ids, so that a picture of a DIMACS graph is
// labelled from 1 like the rest of the tool's output; texts that are not whole numbers pass
// unchanged. Once given a colour, it draws everything in that colour: the library draws a path
// in the colours of its graph, and the tool shows it in a colour of its own.
class PictureTablet : public qcUITablet {
public:
    PictureTablet(qcUITablet& target, std::int64_t idBase) : mTarget(target), mIdBase(idBase) {}

    void paintAll(const qcColor& color) { mColor = color; }

    void drawText(const std::wstring& text, const qcPoint& anchor, const qcColor& textColor,
                  const qcColor& markColor, const qcUIFormat& format,
                  const qcVector<2>& offset) override;
    void drawSegment(const qcLineSeg& segment, const qcColor& color) override
    {
        mTarget.drawSegment(segment, mColor.value_or(color));
    }

private:
    qcUITablet& mTarget;
    std::int64_t mIdBase;
    std::optional<qcColor> mColor;
};

#endif
