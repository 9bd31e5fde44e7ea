#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <tuple>

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

// Drawing shows the counts of shared graphics; here what it does not: rebinding, moving, a
// handle to a derived object, and the reports of counting steps given no object.
TEST(PtrHandle, CountsBindingsAndDeletesWithTheLastOne)
{
    {
        qcPtrHandle<Counted> a(new Counted), b = a;
        b.reset(a.get());
        const qcPtrHandle<Counted> moved = std::move(b), base = qcPtrHandle<DerivedCounted>(new DerivedCounted);
        EXPECT_EQ(std::make_tuple(bool(b), a->refCount(), base->refCount(), Counted::alive), std::make_tuple(false, 2, 1, 2));
    }
    qctest::AssertRecorder recorder;
    qc_PtrHandleBase_RepAccessor::release(nullptr);
    qc_PtrHandleBase_RepAccessor::addRef(nullptr);
    qcPtrHandle<Counted>() = qcPtrHandle<Counted>();  // a null handle holds no count and reports nothing
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_EQ(recorder.numbers, (std::vector<int>{61, 63}));
}

TEST(TraceStream, WritesUtf8ToStdoutAndLeavesItNarrow)
{
    std::wstring letters;  // more than the stream's buffer, varied so that a lost or doubled one shows
    for (int i = 0; i < 1500; ++i) letters += static_cast<wchar_t>(L'a' + i % 26);
    testing::internal::CaptureStdout();
    std::printf("narrow ");
    // Then each boundary of the UTF-8 forms; surrogates and values beyond U+10FFFF become U+FFFD.
    qfNoxOut() << letters << L"\x7f\x80\x7ff\x800\xd7ff\xd800\xdfff\xe000\xffff\x10000\x10ffff\x110000" << std::flush;
    std::printf(" still narrow");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "narrow " + std::string(letters.begin(), letters.end()) + "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xed\x9f\xbf\xef\xbf\xbd"
              "\xef\xbf\xbd\xee\x80\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf\xef\xbf\xbd still narrow");
    EXPECT_LE(std::fwide(stdout, 0), 0);
}

}  // namespace
