#ifndef QCGRAPH_TOOLS_PICTURE_TABLET_H
#define QCGRAPH_TOOLS_PICTURE_TABLET_H

#include <cstdint>
#include <optional>

#include <qcGraphFiles.h>
#include <qcUITablet.h>

// A tablet that passes everything on to another one, with the library's node labels (node
// indices, counted from 0) turned into the file's ids, so that a picture of a DIMACS graph is
// labelled from 1 and one of GraphML by its names, like the rest of the tool's output; texts
// that are not node indices pass
// unchanged. Once given a colour, it draws everything in that colour: the library draws a path
// in the colours of its graph, and the tool shows it in a colour of its own.
class PictureTablet : public qcUITablet {
public:
    // The tablet keeps references to both; they must outlive it.
    PictureTablet(qcUITablet& target, const qcGraphFileIds& ids, long numNodes)
        : mTarget(target), mIds(ids), mNumNodes(numNodes)
    {
    }

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
    const qcGraphFileIds& mIds;
    long mNumNodes;
    std::optional<qcColor> mColor;
};

#endif
