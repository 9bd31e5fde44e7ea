#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cwchar>

#include "qcConStream.h"
#include "qcPtrHandle.h"
#include "qfStr.h"
#include "support/GraphTestSupport.h"

namespace {

// Counts how many of its kind are alive, so a test sees when a handle deletes one.
struct Counted : qcRepBase {
    inline static int alive = 0;
    Counted() { ++alive; }
    ~Counted() override { --alive; }
};
struct DerivedCounted : Counted {};

TEST(PtrHandle, CountsBindingsAndDeletesWithTheLastOne)
{
    {
        qcPtrHandle<Counted> a(new Counted), b = a, other(new Counted);
        b.reset(a.get());  // rebinding to the same object changes nothing
        EXPECT_EQ(a->refCount(), 2);
        qcPtrHandle<Counted> moved = std::move(b);
        a = qcPtrHandle<Counted>();
        EXPECT_TRUE(!b && moved->refCount() == 1);
        moved = other;  // the first object loses its last handle
        EXPECT_TRUE(Counted::alive == 1 && other->refCount() == 2);
        const qcPtrHandle<Counted> base = qcPtrHandle<DerivedCounted>(new DerivedCounted);
        EXPECT_TRUE(Counted::alive == 2 && base->refCount() == 1);
    }
    EXPECT_EQ(Counted::alive, 0);

    qctest::AssertRecorder recorder;
    qc_PtrHandleBase_RepAccessor::release(nullptr);
    qc_PtrHandleBase_RepAccessor::addRef(nullptr);
    qcPtrHandle<Counted> empty;  // a null handle holds no count and reports nothing
    empty = qcPtrHandle<Counted>();
    EXPECT_EQ(recorder.numbers, (std::vector<int>{61, 63}));
}

TEST(TraceStream, WritesUtf8ToStdoutAndLeavesItNarrow)
{
    testing::internal::CaptureStdout();
    std::printf("narrow ");
    qfNoxOut() << std::wstring(1500, L'\u20ac') << L'\U0001F600' << std::flush;  // more than its buffer
    std::printf(" still narrow");
    std::fflush(stdout);
    std::string euros;
    for (int i = 0; i < 1500; ++i)
        euros += "\xE2\x82\xAC";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "narrow " + euros + "\xF0\x9F\x98\x80 still narrow");
    EXPECT_LE(std::fwide(stdout, 0), 0);
    EXPECT_EQ(qfStr(-std::nan("")), L"nan");  // a NaN has no sign to show
}

}  // namespace
