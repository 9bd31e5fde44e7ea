#ifndef QC_GRAPHIC_H
#define QC_GRAPHIC_H

#include "qcExport.h"
#include "qcPersistent.h"
#include "qcPtrHandle.h"

class qcUITablet;

// Base of every graphic: a heap object shared through qcPtrHandle<qcGraphic> (qcRepBase holds
// the count) that knows how to draw itself on a tablet.
class QC_EXPORT qcGraphic : public qcPersistent, public qcRepBase {
public:
    qcGraphic() = default;
    qcGraphic(const qcGraphic&) = default;
    qcGraphic& operator=(const qcGraphic&) = default;
    ~qcGraphic() override;

    // Draws the graphic on tablet with the tablet's drawing calls.
    virtual void draw(qcUITablet& tablet) const = 0;
};

#endif
