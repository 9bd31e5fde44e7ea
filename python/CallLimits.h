#ifndef QCGRAPH_PYTHON_CALL_LIMITS_H
#define QCGRAPH_PYTHON_CALL_LIMITS_H

// The limits a caller sets on one long call: timeout= seconds and cancel= a Cancel object.
// Both are tokens bound to the threads doing the call's work, so they stop that call only.

#include <pybind11/pybind11.h>

#include <memory>
#include <optional>

#include "qcAttention.h"
#include "qcException.h"

class CallLimits {
public:
    // timeout: seconds from now, None or +inf for none; NaN or negative raise ValueError.
    // cancel: the caller's Cancel object, or nullptr.
    CallLimits(std::optional<double> timeout, std::shared_ptr<qcCancelToken> cancel);
    CallLimits(const CallLimits&) = delete;
    // No timeout and no Cancel object, for calls that take neither.
    static const CallLimits& none();
    CallLimits& operator=(const CallLimits&) = delete;

    // Binds both tokens to the calling thread while it lives.
    class Bound {
    public:
        explicit Bound(const CallLimits& limits) : mDeadline(limits.mDeadline), mCancel(*limits.mCancel) {}

    private:
        qcAttention::Scope mDeadline;
        qcAttention::Scope mCancel;
    };

    // Runs work(), turning the abort that one of the tokens caused into Python's error:
    // qcgraph.Cancelled for the Cancel object, TimeoutError for the timeout. An abort that
    // neither caused (the process-wide request) passes as it is.
    template <class Work>
    void run(Work&& work) const
    {
        try {
            work();
        } catch (const qcAttentionAbort&) {
            raiseIfStopped();
            throw;
        }
    }

private:
    void raiseIfStopped() const;

    std::shared_ptr<qcCancelToken> mCancel;  // the caller's, or one nobody cancels
    qcCancelToken mDeadline;
    double mTimeout = 0.0;
};

// Registers Cancel and the exception Cancelled.
void bindCallLimits(pybind11::module_& m);

#endif
