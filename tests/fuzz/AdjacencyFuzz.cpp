// Adjacency lists of any shape for both free functions: valid ones must give exactly what the
// plain reference procedures give, invalid ones must be refused with qcInvariantFailure and
// leave the output as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include "reference/PlainAdjacency.h"
#include "support/GraphChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto n = in.ConsumeIntegralInRange<std::int32_t>(0, 40);
    const bool wild = in.ConsumeIntegralInRange<int>(0, 7) == 0;  // any 32-bit entry
    qcAdjacencyLists lists(static_cast<std::size_t>(n));
    for (std::vector<std::int32_t>& list : lists)
        for (int c = in.ConsumeIntegralInRange<int>(0, 6); c > 0 && in.remaining_bytes() > 0; --c)
            list.push_back(wild ? in.ConsumeIntegral<std::int32_t>() : in.ConsumeIntegralInRange<std::int32_t>(-1, n + 3));
    qctest::require(qcref::differsFromPlain(lists));
    return 0;
}
