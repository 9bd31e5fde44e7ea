#ifndef QC_GRAPHIC_BUILTIN_H
#define QC_GRAPHIC_BUILTIN_H

#include "qcExport.h"
#include "qcGraphic.h"
#include "qcVector.h"

// A graphic made of one geometry value of type T (a segment, say); subclasses say how it is
// drawn. Provided for T = qcLineSeg.
template <class T>
class QC_EXPORT qcGraphicBuiltin : public qcGraphic {
public:
    explicit qcGraphicBuiltin(const T& shape) : mShape(shape) {}
    ~qcGraphicBuiltin() override;

    const T& shape() const noexcept { return mShape; }

private:
    T mShape;
};

extern template class QC_EXPORT qcGraphicBuiltin<qcLineSeg>;

#endif
