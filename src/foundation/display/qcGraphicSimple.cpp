#include "qcGraphicSimple.h"

#include "qcUITablet.h"

template <class T>
qcGraphicSimple<T>::qcGraphicSimple(const T& shape, const qcColor& color)
    : qcGraphicBuiltin<T>(shape), mColor(color)
{
}

// Written for segments, the one shape that is instantiated.
template <class T>
void qcGraphicSimple<T>::draw(qcUITablet& tablet) const
{
    tablet.drawSegment(this->shape(), mColor);
}

template class qcGraphicSimple<qcLineSeg>;
