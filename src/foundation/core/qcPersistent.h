#ifndef QC_PERSISTENT_H
#define QC_PERSISTENT_H

#include "qcExport.h"

// A serialisation archive. The graph library never serialises anything; the type exists so that
// persistent objects (exceptions, graphics) keep their usual interface.
class qcArchive;

// Base of the family's persistent objects. The hooks do nothing by default; nothing in the graph
// library calls them.
class QC_EXPORT qcPersistent {
public:
    qcPersistent() = default;
    qcPersistent(const qcPersistent&) = default;
    qcPersistent& operator=(const qcPersistent&) = default;
    virtual ~qcPersistent();

    // Returns the object to its freshly constructed state.
    virtual void reInit();
    virtual void loadSimple(qcArchive& archive);
    virtual void dispatchSerialize(qcArchive& archive);
};

#endif
