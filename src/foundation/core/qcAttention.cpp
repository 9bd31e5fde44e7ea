#include "qcAttention.h"

#include "qcException.h"

namespace {
std::atomic<bool> abortFlag{false};
std::atomic<qcAttention::Hook> installedHook{nullptr};
// The innermost scope of the calling thread; each scope points to the one it nests in.
thread_local const qcAttention::Scope* innermostScope = nullptr;
}  // namespace

void qcCancelToken::deadline(Clock::time_point at) noexcept
{
    mDeadline.store(at.time_since_epoch().count(), std::memory_order_release);
}

bool qcCancelToken::expired() const noexcept
{
    const Clock::rep at = mDeadline.load(std::memory_order_acquire);
    return at != Clock::time_point::max().time_since_epoch().count() &&
           Clock::now().time_since_epoch().count() >= at;
}

qcAttention::Scope::Scope(const qcCancelToken& token) noexcept : mToken(token), mOuter(innermostScope)
{
    innermostScope = this;
}

qcAttention::Scope::~Scope() { innermostScope = mOuter; }

void qcAttention::check()
{
    if (Hook hook = installedHook.load(std::memory_order_acquire))
        hook();
    if (abortFlag.load(std::memory_order_acquire))
        throw qcAttentionAbort();
    for (const Scope* s = innermostScope; s; s = s->mOuter)
        if (s->mToken.cancelled())
            throw qcAttentionAbort();
}

void qcAttention::requestAbort() noexcept { abortFlag.store(true, std::memory_order_release); }
void qcAttention::clearAbort() noexcept { abortFlag.store(false, std::memory_order_release); }
bool qcAttention::abortRequested() noexcept { return abortFlag.load(std::memory_order_acquire); }

qcAttention::Hook qcAttention::setHook(Hook hook) noexcept
{
    return installedHook.exchange(hook, std::memory_order_acq_rel);
}
