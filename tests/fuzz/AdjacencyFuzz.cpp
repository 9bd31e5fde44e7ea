// Adjacency lists of any shape for both free functions. Valid inputs must give exactly what the
// plain reference procedures give; invalid ones must be rejected with qcInvariantFailure and
// leave the output as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "qfAdjacencyLists.h"
#include "reference/PlainAdjacency.h"

namespace {

void require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "finding: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto n = in.ConsumeIntegralInRange<std::size_t>(0, 40);
    const bool wild = in.ConsumeIntegralInRange<int>(0, 7) == 0;  // any 32-bit entry
    qcAdjacencyLists lists(n);
    for (std::vector<std::int32_t>& list : lists)
        for (int c = in.ConsumeIntegralInRange<int>(0, 6); c > 0 && in.remaining_bytes() > 0; --c)
            list.push_back(wild ? in.ConsumeIntegral<std::int32_t>()
                                : in.ConsumeIntegralInRange<std::int32_t>(-1, static_cast<std::int32_t>(n) + 3));

    bool cliqueIdsValid = true, entriesNonNegative = true;
    std::int32_t largest = 0;
    for (const std::vector<std::int32_t>& list : lists)
        for (std::int32_t id : list) {
            cliqueIdsValid = cliqueIdsValid && id >= 0 && static_cast<std::size_t>(id) < n;
            entriesNonNegative = entriesNonNegative && id >= 0;
            largest = std::max(largest, id);
        }

    const qcCliques staleCliques{{99}};
    qcCliques cliques = staleCliques;
    try {
        qfComputeCliques(lists, cliques);
        require(cliqueIdsValid, "ids outside 0..n-1 accepted");
        qcCliques expected;
        qcref::plainCliques(lists, expected);
        require(cliques == expected, "cliques differ from the plain procedure");
    } catch (const qcInvariantFailure&) {
        require(!cliqueIdsValid, "valid lists rejected");
        require(cliques == staleCliques, "rejected input touched the result");
    }

    const std::vector<qcConnectionRecord> staleRecords{{7, qcPair<long>(1, 2)}};
    std::vector<qcConnectionRecord> records = staleRecords;
    try {
        qfComputeConnectionPath(lists, records);
        require(entriesNonNegative, "negative entry accepted");
        if (largest <= 4096) {  // the plain procedure allocates a table of that size per root
            std::vector<qcConnectionRecord> expected;
            qcref::plainConnectionPath(lists, expected);
            require(records == expected, "connection records differ from the plain procedure");
        }
    } catch (const qcInvariantFailure&) {
        require(!entriesNonNegative, "valid lists rejected by the connection path");
        require(records == staleRecords, "rejected input touched the records");
    }
    return 0;
}
