#ifndef QCGRAPH_PYTHON_BINDING_SUPPORT_H
#define QCGRAPH_PYTHON_BINDING_SUPPORT_H

// What the parts of the Python module share: Python ints taken whole, the checks that turn bad
// arguments into Python's own errors, and the binders.

#include <pybind11/pybind11.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <string>

// A Python int as a long long; one beyond that range saturates, so it still fails the range
// checks below with IndexError or ValueError instead of wrapping round into a valid value.
struct Int {
    long long value = 0;
    operator long long() const { return value; }
};

namespace pybind11::detail {
template <>
struct type_caster<Int> {
    PYBIND11_TYPE_CASTER(Int, const_name("int"));

    bool load(handle src, bool convert)
    {
        // Floats are refused as Python refuses them for indexing; objects with __index__ (numpy
        // integers among them) pass when conversion is allowed.
        if (!PyLong_Check(src.ptr()) && !(convert && PyIndex_Check(src.ptr())))
            return false;
        object number = reinterpret_steal<object>(PyNumber_Index(src.ptr()));
        if (!number)
            throw error_already_set();
        int overflow = 0;
        long long v = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
        if (v == -1 && PyErr_Occurred())
            throw error_already_set();
        value.value = overflow > 0 ? LLONG_MAX : overflow < 0 ? LLONG_MIN : v;
        return true;
    }

    static handle cast(const Int& src, return_value_policy, handle) { return PyLong_FromLongLong(src.value); }
};
}  // namespace pybind11::detail

// i as an index below `count` of what `kind` names ("node", "link"); IndexError otherwise, the
// message naming the argument.
std::int32_t checkedIndex(long long i, long count, const char* kind, const std::string& argument);

// v as a 32-bit count of at least `least`; ValueError naming the argument and its value otherwise.
std::int32_t checkedCount(long long v, long long least, const char* argument);

// Lets the searches started from the main thread stop at an abort check when Python has a signal
// to handle (Ctrl-C), raising its exception there.
void installSignalCheck(pybind11::module_& m);
// Marks the calling thread as searching: its abort checks look for pending signals meanwhile.
class SignalCheckScope {
public:
    SignalCheckScope();
    ~SignalCheckScope();
    SignalCheckScope(const SignalCheckScope&) = delete;
    SignalCheckScope& operator=(const SignalCheckScope&) = delete;

private:
    bool mPrevious;
};

// Counts a call in progress for as long as it lives, so that a changing call can refuse meanwhile.
class CountedCall {
public:
    explicit CountedCall(std::atomic<int>& count) : mCount(count) { ++mCount; }
    ~CountedCall() { --mCount; }
    CountedCall(const CountedCall&) = delete;
    CountedCall& operator=(const CountedCall&) = delete;

private:
    std::atomic<int>& mCount;
};

void bindRecords(pybind11::module_& m);
void bindGraph(pybind11::module_& m);
// After bindGraph: adds to Graph.
void bindIndex(pybind11::module_& m);

#endif
