#ifndef QC_ATTENTION_H
#define QC_ATTENTION_H

#include <atomic>
#include <chrono>
#include <cstdint>

#include "qcExport.h"

// A cancellation request for the work of the threads bound to it with qcAttention::Scope. Any
// thread may cancel it or set its deadline; a bound thread's next qcAttention::check() then
// throws qcAttentionAbort. Threads bound to other tokens, or to none, go on. Lock-free.
class QC_EXPORT qcCancelToken {
public:
    using Clock = std::chrono::steady_clock;

    // Not cancelled, no deadline.
    qcCancelToken() = default;
    qcCancelToken(const qcCancelToken&) = delete;
    qcCancelToken& operator=(const qcCancelToken&) = delete;

    void cancel() noexcept { mCancelled.store(true, std::memory_order_release); }
    // Takes back cancel() (not the deadline), so the token can serve the next request.
    void reset() noexcept { mCancelled.store(false, std::memory_order_release); }
    // cancel() has been called and not reset since.
    bool cancelRequested() const noexcept { return mCancelled.load(std::memory_order_acquire); }

    // From `at` on the token counts as cancelled; Clock::time_point::max() removes the deadline.
    void deadline(Clock::time_point at) noexcept;
    // The deadline is set and has passed (one clock read; none without a deadline).
    bool expired() const noexcept;

    // cancelRequested() or expired().
    bool cancelled() const noexcept { return cancelRequested() || expired(); }

private:
    std::atomic<bool> mCancelled{false};
    std::atomic<Clock::rep> mDeadline{Clock::time_point::max().time_since_epoch().count()};
};

// The cooperative abort check. Long operations call check() at fixed intervals. It throws
// qcAttentionAbort on the thread doing the work when the process-wide abort request is raised
// (by any thread, until clearAbort()) or when a token bound to that thread is cancelled.
class QC_EXPORT qcAttention {
public:
    using Hook = void (*)();

    // Calls the installed hook (if any), then throws qcAttentionAbort if an abort is requested
    // or a token bound to the calling thread is cancelled. Whatever the hook throws passes to
    // the caller. Cost: two atomic loads, plus one per bound token (and a clock read for a
    // token with a deadline).
    static void check();

    static void requestAbort() noexcept;
    static void clearAbort() noexcept;
    static bool abortRequested() noexcept;

    // Installs a function that every check() calls first; nullptr removes it. Returns the
    // previous hook. Meant for tests and for progress reporting.
    static Hook setHook(Hook hook) noexcept;

    // Binds a token to the calling thread while it lives: that thread's checks also throw once
    // the token is cancelled. Scopes nest (every token bound on the thread counts) and must end
    // in reverse order on the thread that made them; the token must outlive the scope. A scope
    // is neither copied nor moved.
    class QC_EXPORT Scope {
    public:
        explicit Scope(const qcCancelToken& token) noexcept;
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        friend class qcAttention;
        const qcCancelToken& mToken;
        const Scope* mOuter;
    };
};

#endif
