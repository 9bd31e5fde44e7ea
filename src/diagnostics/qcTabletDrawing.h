#ifndef QC_TABLET_DRAWING_H
#define QC_TABLET_DRAWING_H

#include "qcGraphicList.h"
#include "qcUITablet.h"

// The tablet form of every drawing operation: fill a list of our own through the graphic-list
// form, draw it, let it go. When fill throws, the list is destroyed unseen by the tablet.
template <class Fill>
void drawOnTablet(qcUITablet& tablet, const Fill& fill)
{
    qcGraphicList list;
    fill(list);
    list.draw(tablet, qcGraphicList::Layers(0));
}

#endif
