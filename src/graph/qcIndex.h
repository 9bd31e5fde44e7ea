#ifndef QC_INDEX_H
#define QC_INDEX_H

#include <cstddef>
#include <cstdint>
#include <limits>

// Indices are stored in 32 bits, taken as `long` by the interface and as std::size_t by the
// arrays. These two conversions are the only ones the library makes.

// An index or a count already known to be >= 0, as an array subscript or size.
inline std::size_t at(long i) { return static_cast<std::size_t>(i); }

// A `long` index to be stored. A value that does not fit becomes -1 ("none"), which every range
// test rejects, rather than wrapping round to a valid index.
inline std::int32_t toIndex(long value)
{
    return value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()
               ? static_cast<std::int32_t>(value)
               : -1;
}

#endif
