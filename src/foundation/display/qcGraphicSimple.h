#ifndef QC_GRAPHIC_SIMPLE_H
#define QC_GRAPHIC_SIMPLE_H

#include "qcColor.h"
#include "qcExport.h"
#include "qcGraphicBuiltin.h"
#include "qcVector.h"

// A geometry value drawn in one colour. Provided for T = qcLineSeg, drawn with
// qcUITablet::drawSegment.
template <class T>
class QC_EXPORT qcGraphicSimple : public qcGraphicBuiltin<T> {
public:
    qcGraphicSimple(const T& shape, const qcColor& color);

    const qcColor& color() const noexcept { return mColor; }

    void draw(qcUITablet& tablet) const override;

private:
    qcColor mColor;
};

extern template class QC_EXPORT qcGraphicSimple<qcLineSeg>;

#endif
