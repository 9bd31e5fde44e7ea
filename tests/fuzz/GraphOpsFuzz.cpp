// Decodes the input into a sequence of graph operations with any arguments: adding and
// replacing records, the searches, trace and drawing. After every step the container's
// invariants must hold, the searches must find what the plain procedures find, and every
// failure must be the documented exception or assertion report. Anything else (a crash, a sanitizer report, another exception) is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <limits>
#include <sstream>

#include "qcConStream.h"
#include "qcGraphicList.h"
#include "qstdAssert.h"
#include "reference/PlainRankedWalks.h"
#include "reference/PlainShortestPath.h"
#include "reference/PlainSimplePaths.h"
#include "support/GraphChecks.h"

using qctest::require;

namespace {

std::vector<int> reported;

// An index that is usually valid, sometimes just outside, sometimes wild; a score that is
// sometimes NaN, infinite, negative, huge (1e16, where small scores add up to one cost) or
// arbitrary.
long anyIndex(FuzzedDataProvider& in, long size)
{
    const long odd[] = {in.ConsumeIntegral<long>(), -1, size};
    const int pick = in.ConsumeIntegralInRange<int>(0, 9);
    return pick < 3 ? odd[pick] : size > 0 ? in.ConsumeIntegralInRange<long>(0, size - 1) : 0;
}
double anyScore(FuzzedDataProvider& in)
{
    const double odd[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1.0,
                          1e16, in.ConsumeFloatingPoint<double>()};
    const int pick = in.ConsumeIntegralInRange<int>(0, 8);
    return pick < 5 ? odd[pick] : pick;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::wstringstream sink;
    [[maybe_unused]] static const bool once = (qstd_set_assert_handler([](int line) { reported.push_back(line); }),
                              qfNoxOut().rdbuf(sink.rdbuf()), true);
    FuzzedDataProvider in(data, size);
    qcDirectedGraph g;
    bool chainsTrusted = true;  // false once a node is written with a foreign firstChild
    while (in.remaining_bytes() > 0 && g.numNodes() < 64 && g.numLinks() < 256) {
        reported.clear();
        const long n = g.numNodes(), m = g.numLinks();
        // The searches take 32-bit indices.
        const auto s = static_cast<std::int32_t>(anyIndex(in, n)), e = static_cast<std::int32_t>(anyIndex(in, n));
        const auto k = static_cast<std::int32_t>(anyIndex(in, m));
        qcIndexArray nodes{7}, links{7};
        qcGraphicList list;
        try {
            switch (const int op = in.ConsumeIntegralInRange<int>(0, 11)) {
            case 0: g.addNode(qcDirectedGraphNode()); break;
            case 1: {
                qcDirectedGraphLink l(s, e, anyScore(in));
                g.addLink((l.flags = in.ConsumeIntegral<std::uint32_t>(), l));
                break;
            }
            case 2:
                g.addLinkFastUnsafe(anyIndex(in, n), anyIndex(in, n), anyScore(in));
                require(reported.empty() || reported.front() == 566 || reported.front() == 567, "addLinkFastUnsafe report");
                break;
            case 3: {  // any stored node written to any index: the chain may become foreign
                const bool sameChain = e >= 0 && e < n && g.node(e).firstChild() == g.node(s).firstChild();
                g.node(e, g.node(s));
                chainsTrusted = chainsTrusted && sameChain;
                break;
            }
            case 4: g.link(k, m > 0 && in.ConsumeBool() ? g.link(anyIndex(in, m)) : qcDirectedGraphLink(s, e)); break;
            case 5:
            case 6: {  // any chain, foreign or broken: the plain walk stops where the library's does
                const bool overLink = op == 6;
                overLink ? g.shortestPath(k, nodes, links) : g.shortestPath(s, e, nodes, links);
                qcIndexArray plainNodes, plainLinks;
                if (!overLink)
                    qcref::plainShortestPath(g, s, e, plainNodes, plainLinks);
                else if (k >= 0 && k < m)
                    qcref::plainShortestPath(g, static_cast<std::int32_t>(g.link(k).nodeA()),
                                             static_cast<std::int32_t>(g.link(k).nodeB()), plainNodes, plainLinks);
                require(nodes == plainNodes && links == plainLinks ? nullptr : "differs from the plain two-node search");
                break;
            }
            case 7: {
                const int most = in.ConsumeIntegralInRange<int>(-1, 6), minLength = in.ConsumeIntegralInRange<int>(-2, 6);
                const int maxLength = in.ConsumeIntegralInRange<int>(0, 8);
                std::vector<qcDirectedGraphPath> paths(1);
                std::vector<double> scores(2, 1.0);
                g.shortestPath(s, e, most, minLength, maxLength, paths, scores);
                require(chainsTrusted ? qcref::differsFromPlain(g, s, e, most, minLength, maxLength) : nullptr);
                require(!chainsTrusted || reported.empty(), "internal check failed in the ranked search");
                break;
            }
            case 10: {  // any chain; a negative score is refused before anything is compared
                const int most = in.ConsumeIntegralInRange<int>(-1, 12);
                std::vector<qcDirectedGraphPath> paths(1), plainPaths;
                std::vector<double> scores(2, 1.0), plainScores;
                g.simplePaths(s, e, most, paths, scores);
                if (chainsTrusted)
                    qcref::plainSimplePaths(g, s, e, most, plainPaths, plainScores);
                require(!chainsTrusted || (paths == plainPaths && scores == plainScores) ? nullptr
                                                                                         : "differs from the plain Yen");
                break;
            }
            case 8: in.ConsumeBool() ? g.mTrace() : g.link(k).mTrace(); break;
            case 9: g.draw(list); g.node(s).drawLink(list, g, anyIndex(in, 4)); break;
            default: g.drawPath(list, {s, e}, {k}); g = qcDirectedGraph(g);
            }
        } catch (const qcInvariantFailure&) {
            // the documented reaction to a bad argument
        }
        require(chainsTrusted ? qctest::graphFault(g) : nullptr);
        sink.str(std::wstring());
    }
    return 0;
}
