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
    // More than the stream's buffer, then each boundary of the UTF-8 forms; surrogates and
    // values beyond U+10FFFF become U+FFFD.
    qfNoxOut() << std::wstring(1500, L'\u20ac') << L"\x7f\x80\x7ff\x800\xd7ff\xd800\xdfff\xe000\xffff\x10000\x10ffff\x110000"
               << std::flush;
    std::printf(" still narrow");
    std::fflush(stdout);
    std::string euros;
    for (int i = 0; i < 1500; ++i)
        euros += "\xE2\x82\xAC";
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "narrow " + euros + "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xed\x9f\xbf\xef\xbf\xbd\xef\xbf\xbd\xee\x80\x80"
                                  "\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf\xef\xbf\xbd still narrow");
    EXPECT_LE(std::fwide(stdout, 0), 0);
    EXPECT_EQ(qfStr(-std::nan("")), L"nan");  // a NaN has no sign to show
}

}  // namespace
