#include "qcGraphicList.h"

#include <utility>

void qcGraphicList::append(qcPtrHandle<qcGraphic> graphic, bool foreground)
{
    mEntries.push_back(Entry{std::move(graphic), foreground});
}

void qcGraphicList::draw(qcUITablet& tablet, Layers layers) const
{
    const bool all = layers == allLayers;
    for (const bool foreground : {false, true}) {
        if (!all && !(layers & (foreground ? foregroundLayer : backgroundLayer)))
            continue;
        for (const Entry& entry : mEntries)
            if (entry.foreground == foreground && entry.graphic)
                entry.graphic->draw(tablet);
    }
}
