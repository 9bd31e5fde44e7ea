#ifndef QC_GRAPHIC_LIST_H
#define QC_GRAPHIC_LIST_H

#include <cstddef>
#include <vector>

#include "qcExport.h"
#include "qcGraphic.h"
#include "qcPtrHandle.h"

class qcUITablet;

// An ordered list of shared graphics in two layers: the background, drawn first, and the
// foreground, drawn over it. Within a layer graphics are drawn in the order of appending.
// Copying a list shares its graphics; a graphic is deleted with the last handle to it.
class QC_EXPORT qcGraphicList {
public:
    // Which layers draw() draws, as a bit mask; 0 means all of them.
    enum Layers {
        allLayers = 0,
        backgroundLayer = 1,
        foregroundLayer = 2,
    };

    qcGraphicList() = default;

    // Appends graphic to the foreground layer, or to the background when foreground is false.
    // A null handle is kept and skipped when drawing. Amortised constant time.
    void append(qcPtrHandle<qcGraphic> graphic, bool foreground);

    // Draws the graphics of the chosen layers on tablet: background first, then foreground,
    // each in the order of appending. Time linear in the list's size.
    void draw(qcUITablet& tablet, Layers layers) const;

    // The graphics in the order of appending, both layers together.
    std::size_t size() const noexcept { return mEntries.size(); }
    // Graphic i, 0 <= i < size() (not tested); inForeground(i) tells its layer.
    const qcPtrHandle<qcGraphic>& operator[](std::size_t i) const { return mEntries[i].graphic; }
    bool inForeground(std::size_t i) const { return mEntries[i].foreground; }

private:
    struct Entry {
        qcPtrHandle<qcGraphic> graphic;
        bool foreground;
    };
    std::vector<Entry> mEntries;
};

#endif
