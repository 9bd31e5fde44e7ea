#ifndef QCGRAPH_TOOLS_FILE_ID_TABLET_H
#define QCGRAPH_TOOLS_FILE_ID_TABLET_H

#include <cstdint>

#include <qcUITablet.h>

// A tablet that passes everything on to another one, with the library's node labels (node
// indices, counted from 0) turned into the file's ids, so that a picture of a DIMACS graph is
// labelled from 1 like the rest of the tool's output. Texts that are not whole numbers pass
// unchanged.
class FileIdTablet : public qcUITablet {
public:
    FileIdTablet(qcUITablet& target, std::int64_t idBase) : mTarget(target), mIdBase(idBase) {}

    void drawText(const std::wstring& text, const qcPoint& anchor, const qcColor& textColor,
                  const qcColor& markColor, const qcUIFormat& format,
                  const qcVector<2>& offset) override;
    void drawSegment(const qcLineSeg& segment, const qcColor& color) override
    {
        mTarget.drawSegment(segment, color);
    }

private:
    qcUITablet& mTarget;
    std::int64_t mIdBase;
};

#endif
