#ifndef QCGRAPH_PYTHON_BINDING_SUPPORT_H
#define QCGRAPH_PYTHON_BINDING_SUPPORT_H

// What the parts of the Python module share: integers checked into 32 bits, and the binders.

#include <pybind11/pybind11.h>

#include <cstdint>
#include <limits>

// A Python int that fits T. Anything larger raises OverflowError rather than wrapping round or
// turning into -1, so a count like k or a length bound can never silently change meaning.
template <class T>
struct Checked {
    T value = 0;
    operator T() const { return value; }
};
using Index = Checked<std::int32_t>;
using Bits = Checked<std::uint32_t>;

namespace pybind11::detail {
template <class T>
struct type_caster<Checked<T>> {
    PYBIND11_TYPE_CASTER(Checked<T>, const_name("int"));

    bool load(handle src, bool convert)
    {
        // Floats are refused as Python refuses them for indexing; objects with __index__ pass
        // when conversion is allowed.
        if (!PyLong_Check(src.ptr()) && !(convert && PyIndex_Check(src.ptr())))
            return false;
        object number = reinterpret_steal<object>(PyNumber_Index(src.ptr()));
        if (!number)
            throw error_already_set();
        int overflow = 0;
        long long v = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
        if (v == -1 && PyErr_Occurred())
            throw error_already_set();
        if (overflow != 0 || v < static_cast<long long>(std::numeric_limits<T>::min()) ||
            v > static_cast<long long>(std::numeric_limits<T>::max())) {
            PyErr_SetString(PyExc_OverflowError, "integer does not fit in 32 bits");
            throw error_already_set();
        }
        value.value = static_cast<T>(v);
        return true;
    }

    static handle cast(const Checked<T>& src, return_value_policy, handle)
    {
        return PyLong_FromLongLong(static_cast<long long>(src.value));
    }
};
}  // namespace pybind11::detail

void bindRecords(pybind11::module_& m);
void bindGraph(pybind11::module_& m);

#endif
