#ifndef QC_INDEX_H
#define QC_INDEX_H

#include <cstdint>
#include <limits>

// Indices are stored in 32 bits but taken as `long`. A value that does not fit becomes -1
// ("none"), which every range test rejects, rather than wrapping round to a valid index.
inline std::int32_t qfToIndex(long value)
{
    return value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()
               ? static_cast<std::int32_t>(value)
               : -1;
}

#endif
