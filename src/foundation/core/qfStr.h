#ifndef QF_STR_H
#define QF_STR_H

#include <string>

#include "qcExport.h"

// Numbers as wide text. Integers are written in decimal; a double as the shortest text that
// reads back to the same value ("1", "2.5", "1e+12", "-0", "nan", "inf", "-inf").
QC_EXPORT std::wstring qfStr(int value);
QC_EXPORT std::wstring qfStr(long value);
QC_EXPORT std::wstring qfStr(double value);

#endif
