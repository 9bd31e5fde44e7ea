#include "qcGraphic.h"

qcGraphic::~qcGraphic() = default;
