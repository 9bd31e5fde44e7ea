#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "qcConStream.h"
#include "qcPtrHandle.h"
#include "qfInterlocked.h"
#include "qfStr.h"
#include "support/GraphTestSupport.h"

using qctest::AssertRecorder;
using qctest::CheckCounter;

namespace {

// Counts how many of its kind are alive, so a test sees when a handle deletes one.
class Counted : public qcRepBase {
public:
    Counted() { ++alive; }
    ~Counted() override { --alive; }
    static int alive;
};
int Counted::alive = 0;

class DerivedCounted : public Counted {};

std::string narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

}  // namespace

TEST(NumberText, IntegersInDecimalAndDoublesShortestRoundTrip)
{
    EXPECT_EQ(qfStr(0), L"0");
    EXPECT_EQ(qfStr(-42), L"-42");
    EXPECT_EQ(qfStr(INT_MIN), L"-2147483648");
    EXPECT_EQ(qfStr(LONG_MAX), L"9223372036854775807");
    EXPECT_EQ(qfStr(1.0), L"1");
    EXPECT_EQ(qfStr(2.5), L"2.5");
    EXPECT_EQ(qfStr(1.0e12), L"1e+12");
    EXPECT_EQ(qfStr(0.1), L"0.1");
    EXPECT_EQ(qfStr(std::nan("")), L"nan");
    EXPECT_EQ(qfStr(-std::nan("")), L"nan");
    EXPECT_EQ(qfStr(std::numeric_limits<double>::infinity()), L"inf");
    EXPECT_EQ(qfStr(-std::numeric_limits<double>::infinity()), L"-inf");

    std::mt19937_64 rng(11);
    for (int i = 0; i < 2000; ++i) {
        double d;
        const std::uint64_t bits = rng();
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d))
            continue;
        const std::string text = narrow(qfStr(d));
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), d) << text;
    }
}

TEST(PtrHandle, CountsBindingsAndDeletesWithTheLastOne)
{
    Counted::alive = 0;
    {
        qcPtrHandle<Counted> a(new Counted);
        EXPECT_EQ(a->refCount(), 1);
        qcPtrHandle<Counted> b = a;
        EXPECT_EQ(a->refCount(), 2);
        b.reset(a.get());  // rebinding to the same object changes nothing
        EXPECT_EQ(a->refCount(), 2);
        qcPtrHandle<Counted> moved = std::move(b);
        EXPECT_FALSE(b);
        EXPECT_EQ(a->refCount(), 2);
        a = qcPtrHandle<Counted>();
        EXPECT_EQ(Counted::alive, 1);
        EXPECT_EQ(moved->refCount(), 1);

        qcPtrHandle<Counted> other(new Counted);
        moved = other;  // the first object loses its last handle
        EXPECT_EQ(Counted::alive, 1);
        EXPECT_EQ(other->refCount(), 2);

        qcPtrHandle<Counted> base = qcPtrHandle<DerivedCounted>(new DerivedCounted);
        EXPECT_EQ(Counted::alive, 2);
        EXPECT_EQ(base->refCount(), 1);
    }
    EXPECT_EQ(Counted::alive, 0);
}

TEST(PtrHandle, CountingStepsReportMissingObjects)
{
    AssertRecorder recorder;
    qc_PtrHandleBase_RepAccessor::release(nullptr);
    qc_PtrHandleBase_RepAccessor::addRef(nullptr);
    qcPtrHandle<Counted> empty;  // a null handle holds no count and reports nothing
    empty = qcPtrHandle<Counted>();
    EXPECT_EQ(AssertRecorder::numbers(), (std::vector<int>{61, 63}));
}

TEST(Interlocked, CountsAtomicallyAcrossThreads)
{
    std::int32_t count = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&count] {
            for (int i = 0; i < 10000; ++i)
                qfInterlockedIncrement(&count);
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(count, 40000);
    EXPECT_EQ(qfInterlockedDecrement(&count), 39999);
}

TEST(Attention, HookRunsFirstAndAbortRequestThrowsUntilCleared)
{
    {
        CheckCounter counter;
        qcAttention::check();
        qcAttention::check();
        EXPECT_EQ(CheckCounter::calls(), 2);

        qcAttention::requestAbort();
        EXPECT_THROW(qcAttention::check(), qcAttentionAbort);
        EXPECT_EQ(CheckCounter::calls(), 3);
        qcAttention::clearAbort();
        EXPECT_NO_THROW(qcAttention::check());
    }
    {
        CheckCounter throwsOnSecond(2);
        EXPECT_NO_THROW(qcAttention::check());
        EXPECT_THROW(qcAttention::check(), CheckCounter::Stop);
    }
    EXPECT_EQ(qcAttention::setHook(nullptr), nullptr);  // the counters put back what they found
}

TEST(AssertHook, DefaultReportsTheNumberOnStandardError)
{
    testing::internal::CaptureStderr();
    qstd_assert_(793);
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_NE(text.find("793"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);

    const qstdAssertHandler previous = qstd_set_assert_handler(nullptr);
    EXPECT_NE(previous, nullptr);
    EXPECT_EQ(qstd_set_assert_handler(previous), previous);
}

TEST(TraceStream, WritesUtf8ToStdoutAndLeavesItNarrow)
{
    testing::internal::CaptureStdout();
    std::printf("narrow ");
    qfNoxOut() << std::wstring(L"caf\u00e9 \u20ac \U0001F600 ") << std::flush;
    qfNoxOut() << static_cast<wchar_t>(0xD800) << std::flush;  // a lone surrogate
    std::printf(" still narrow");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "narrow caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBD still narrow");
    EXPECT_LE(std::fwide(stdout, 0), 0);

    // Longer than the stream's own buffer: nothing is lost at the seams.
    testing::internal::CaptureStdout();
    const std::wstring longText(5000, L'\u00e9');
    qfNoxOut() << longText << std::flush;
    EXPECT_EQ(testing::internal::GetCapturedStdout().size(), 10000u);
}
