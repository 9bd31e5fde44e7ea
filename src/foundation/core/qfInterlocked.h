#ifndef QF_INTERLOCKED_H
#define QF_INTERLOCKED_H

#include <cstdint>

#include "qcExport.h"

// Atomic changes of a 32-bit count; each returns the count after the change.
QC_EXPORT std::int32_t qfInterlockedIncrement(std::int32_t* count) noexcept;
QC_EXPORT std::int32_t qfInterlockedDecrement(std::int32_t* count) noexcept;

#endif
