#include "qfInterlocked.h"

// The count is a plain int32 shared with code that only knows its address, so the compiler's
// atomic builtins are used on it directly.
std::int32_t qfInterlockedIncrement(std::int32_t* count) noexcept
{
    return __atomic_add_fetch(count, 1, __ATOMIC_ACQ_REL);
}

std::int32_t qfInterlockedDecrement(std::int32_t* count) noexcept
{
    return __atomic_sub_fetch(count, 1, __ATOMIC_ACQ_REL);
}
