#include "qcGraphicBuiltin.h"

template <class T>
qcGraphicBuiltin<T>::~qcGraphicBuiltin() = default;

template class qcGraphicBuiltin<qcLineSeg>;
