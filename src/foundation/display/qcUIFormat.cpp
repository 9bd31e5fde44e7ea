#include "qcUIFormat.h"

long qcUIFormat::defaultFontId() noexcept { return 0; }
