#include "qcAttention.h"

#include <atomic>

#include "qcException.h"

namespace {
std::atomic<bool> abortFlag{false};
std::atomic<qcAttention::Hook> installedHook{nullptr};
}  // namespace

void qcAttention::check()
{
    if (Hook hook = installedHook.load(std::memory_order_acquire))
        hook();
    if (abortFlag.load(std::memory_order_acquire))
        throw qcAttentionAbort();
}

void qcAttention::requestAbort() noexcept { abortFlag.store(true, std::memory_order_release); }
void qcAttention::clearAbort() noexcept { abortFlag.store(false, std::memory_order_release); }
bool qcAttention::abortRequested() noexcept { return abortFlag.load(std::memory_order_acquire); }

qcAttention::Hook qcAttention::setHook(Hook hook) noexcept
{
    return installedHook.exchange(hook, std::memory_order_acq_rel);
}
