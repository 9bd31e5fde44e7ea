#include "qcUITablet.h"

qcUITablet::~qcUITablet() = default;
