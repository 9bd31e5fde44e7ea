#include "qcPtrHandle.h"

#include "qfInterlocked.h"
#include "qstdAssert.h"

qcRepBase::~qcRepBase() = default;

std::int32_t qcRepBase::refCount() const noexcept
{
    return __atomic_load_n(&mCount, __ATOMIC_ACQUIRE);
}

void qc_PtrHandleBase_RepAccessor::addRef(const qcRepBase* rep)
{
    if (!rep) {
        qstd_assert_(63);
        return;
    }
    qfInterlockedIncrement(&rep->mCount);
}

void qc_PtrHandleBase_RepAccessor::release(const qcRepBase* rep)
{
    if (!rep) {
        qstd_assert_(61);
        return;
    }
    if (qfInterlockedDecrement(&rep->mCount) == 0)
        delete rep;
}
