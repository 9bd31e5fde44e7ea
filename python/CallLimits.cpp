// timeout= and cancel=: the Python face of the library's cancellation tokens.
#include "CallLimits.h"

#include <cmath>
#include <string>

namespace py = pybind11;
using namespace pybind11::literals;

namespace {
PyObject* cancelledError = nullptr;  // qcgraph.Cancelled, alive as long as the module
}  // namespace

const CallLimits& CallLimits::none()
{
    static const CallLimits limits(std::nullopt, nullptr);
    return limits;
}

CallLimits::CallLimits(std::optional<double> timeout, std::shared_ptr<qcCancelToken> cancel)
    : mCancel(cancel ? std::move(cancel) : std::make_shared<qcCancelToken>())
{
    if (!timeout)
        return;
    mTimeout = *timeout;
    if (!(mTimeout >= 0.0))
        throw py::value_error("timeout = " + py::repr(py::float_(mTimeout)).cast<std::string>() +
                              " is not a number of seconds >= 0");
    // Beyond a century is no deadline (and would overflow the clock).
    if (mTimeout < 3.2e9)
        mDeadline.deadline(qcCancelToken::Clock::now() +
                           std::chrono::duration_cast<qcCancelToken::Clock::duration>(
                               std::chrono::duration<double>(mTimeout)));
}

void CallLimits::raiseIfStopped() const
{
    if (mCancel->cancelRequested()) {
        PyErr_SetString(cancelledError, "the search was cancelled");
        throw py::error_already_set();
    }
    if (mDeadline.expired()) {
        const std::string text = "the search took longer than timeout = " +
                                 py::repr(py::float_(mTimeout)).cast<std::string>() + " s";
        PyErr_SetString(PyExc_TimeoutError, text.c_str());
        throw py::error_already_set();
    }
}

void bindCallLimits(py::module_& m)
{
    cancelledError = PyErr_NewExceptionWithDoc(
        "qcgraph.Cancelled", "Raised by a search whose Cancel object was cancelled before it ended.", nullptr, nullptr);
    if (!cancelledError)
        throw py::error_already_set();
    m.attr("Cancelled") = py::reinterpret_borrow<py::object>(cancelledError);

    py::class_<qcCancelToken, std::shared_ptr<qcCancelToken>>(m, "Cancel",
        "A cancel button for searches: pass it as cancel= to one or more calls, and call cancel() from any "
        "thread to make them raise Cancelled at their next abort check (within 64 steps). Other calls, on "
        "this thread or others, go on. Cheap: one flag.")
        .def(py::init<>(), "Not cancelled.")
        .def("cancel", &qcCancelToken::cancel,
             "Cancels every running and later call given this object, until reset(). Safe from any thread.")
        .def("reset", &qcCancelToken::reset, "Takes back cancel(), so the object can serve the next calls.")
        .def_property_readonly("cancelled", &qcCancelToken::cancelRequested, "Whether cancel() was called since the last reset().")
        .def("__repr__", [](const qcCancelToken& c) {
            return std::string("<qcgraph.Cancel: ") + (c.cancelRequested() ? "cancelled>" : "not cancelled>");
        });
}
