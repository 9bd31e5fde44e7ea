#include "qstdAssert.h"

#include <atomic>
#include <cstdio>

namespace {
void reportToStderr(int line)
{
    std::fprintf(stderr, "qcgraph: internal check %d failed\n", line);
}

std::atomic<qstdAssertHandler> handler{&reportToStderr};
}  // namespace

void qstd_assert_(int line)
{
    handler.load(std::memory_order_acquire)(line);
}

qstdAssertHandler qstd_set_assert_handler(qstdAssertHandler newHandler) noexcept
{
    return handler.exchange(newHandler ? newHandler : &reportToStderr, std::memory_order_acq_rel);
}
