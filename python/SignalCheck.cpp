// Ctrl-C during a search. Searches run without the GIL, so Python cannot run its SIGINT handler
// until they return; the library's abort check, made every 64 passes, is where the search asks
// Python instead. Only the main thread gets KeyboardInterrupt, so only its searches ask.
#include "BindingSupport.h"
#include "qcAttention.h"

namespace py = pybind11;

namespace {
thread_local bool asking = false;
unsigned long mainThread = 0;
qcAttention::Hook previousHook = nullptr;
// Called at every check of a main-thread search: lets tests raise an interrupt at a known check.
PyObject* onCheck = nullptr;

void askPython()
{
    if (previousHook)
        previousHook();
    if (!asking)
        return;
    py::gil_scoped_acquire gil;
    if (onCheck) {
        PyObject* result = PyObject_CallNoArgs(onCheck);
        if (!result)
            throw py::error_already_set();
        Py_DECREF(result);
    }
    // Runs the Python handlers of pending signals; what they raise ends the search.
    if (PyErr_CheckSignals() != 0)
        throw py::error_already_set();
}
}  // namespace

SignalCheckScope::SignalCheckScope() : mPrevious(asking) { asking = PyThread_get_thread_ident() == mainThread; }
SignalCheckScope::~SignalCheckScope() { asking = mPrevious; }

void installSignalCheck(py::module_& m)
{
    mainThread = py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
    previousHook = qcAttention::setHook(&askPython);
    m.def("_on_check", [](py::object f) {
              Py_XDECREF(onCheck);
              onCheck = f.is_none() ? nullptr : f.release().ptr();
          }, py::arg("f"),
          "Calls f() at every abort check of a main-thread search from now on (None: no more). For tests.");
}
