// Bad arguments as Python's errors, checked before the library sees them, so nothing changes.
#include <string>

#include "BindingSupport.h"

namespace py = pybind11;

std::int32_t checkedIndex(long long i, long count, const char* kind, const std::string& argument)
{
    if (i < 0 || i >= count)
        throw py::index_error(argument + " = " + std::to_string(i) + " is not a " + kind + " index (0 to " +
                              std::to_string(count - 1) + ")");
    return static_cast<std::int32_t>(i);
}

std::int32_t checkedCount(long long v, long long least, const char* argument)
{
    if (v < least || v > INT32_MAX)
        throw py::value_error(std::string(argument) + " = " + std::to_string(v) + " is not in " +
                              std::to_string(least) + " to " + std::to_string(INT32_MAX));
    return static_cast<std::int32_t>(v);
}
