// Decodes the input into a sequence of graph operations with any arguments: adding and
// replacing records, both searches, trace and drawing. After every step the container's
// invariants are checked, and every failure must be the documented exception or assertion
// report. Anything else (a crash, a sanitizer report, another exception) is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <vector>

#include "qcConStream.h"
#include "qcDirectedGraph.h"
#include "qcGraphicList.h"
#include "qstdAssert.h"

namespace {

std::vector<int> reported;
void recordAssert(int line) { reported.push_back(line); }

[[noreturn]] void finding(const char* what)
{
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}
void require(bool ok, const char* what)
{
    if (!ok)
        finding(what);
}

double anyScore(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -1.0 * in.ConsumeIntegralInRange<int>(0, 5);
    case 3: return in.ConsumeFloatingPoint<double>();
    default: return in.ConsumeIntegralInRange<int>(0, 9);
    }
}

// An index that is usually valid, sometimes just outside, sometimes wild.
long anyIndex(FuzzedDataProvider& in, long size)
{
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0: return in.ConsumeIntegral<long>();
    case 1: return -1;
    case 2: return size;
    default: return size > 0 ? in.ConsumeIntegralInRange<long>(0, size - 1) : 0;
    }
}

// Ids equal indices; every chained link stands once in its nodeA's chain, with valid ends.
void checkInvariants(const qcDirectedGraph& g)
{
    std::vector<int> seen(static_cast<std::size_t>(g.numLinks()), 0);
    for (long n = 0; n < g.numNodes(); ++n) {
        require(g.node(n).id() == n, "node id differs from its index");
        long steps = 0;
        for (long k = g.node(n).firstChild(); k != -1; k = g.link(k).nextChild()) {
            require(k >= 0 && k < g.numLinks(), "chain leaves the link array");
            require(++steps <= g.numLinks(), "chain loops");
            require(g.link(k).nodeA() == n, "link in a foreign chain");
            ++seen[static_cast<std::size_t>(k)];
        }
    }
    for (long k = 0; k < g.numLinks(); ++k) {
        const qcDirectedGraphLink& l = g.link(k);
        const int expected = l.id() == -1 ? 0 : 1;
        require(l.id() == -1 || l.id() == k, "link id differs from its index");
        require(seen[static_cast<std::size_t>(k)] == expected, "link chained the wrong number of times");
        if (expected)
            require(l.nodeB() >= 0 && l.nodeB() < g.numNodes(), "chained link with a bad end");
    }
}

void checkTwoNodeResult(const qcDirectedGraph& g, long start, long end, const qcIndexArray& nodes,
                        const qcIndexArray& links)
{
    if (nodes.empty()) {
        require(links.empty(), "links without nodes");
        return;
    }
    require(nodes.size() == links.size() + 1, "path sizes");
    require(nodes.front() == start && nodes.back() == end, "path ends");
    for (std::size_t i = 0; i < links.size(); ++i) {
        const qcDirectedGraphLink& l = g.link(links[i]);
        require(l.nodeA() == nodes[i] && l.nodeB() == nodes[i + 1], "link does not join its nodes");
        require((l.flags & 1u) == 0, "excluded link used");
    }
}

void checkRankedResult(const qcDirectedGraph& g, long start, long end, long k, long minLength,
                       long maxLength, const std::vector<qcDirectedGraphPath>& paths,
                       const std::vector<double>& scores)
{
    require(paths.size() == scores.size(), "one score per path");
    require(static_cast<long>(paths.size()) <= k, "more paths than asked for");
    for (const qcDirectedGraphPath& p : paths) {
        require(p.sizeValid() && !p.isEmpty(), "listed path breaks the size rule");
        require(p.nodes().front() == start && p.nodes().back() == end, "ranked path ends");
        const long length = static_cast<long>(p.links().size());
        require(length >= std::max(0L, minLength), "path too short");
        require(maxLength < 0 || length <= maxLength, "path too long");
        for (std::size_t i = 0; i < p.links().size(); ++i) {
            const qcDirectedGraphLink& l = g.link(p.links()[i]);
            require(l.nodeA() == p.nodes()[i] && l.nodeB() == p.nodes()[i + 1], "ranked link");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::wstringstream sink;
    static const bool once = [] {
        qstd_set_assert_handler(&recordAssert);
        qfNoxOut().rdbuf(sink.rdbuf());
        return true;
    }();
    (void)once;

    FuzzedDataProvider in(data, size);
    qcDirectedGraph g;
    bool chainsTrusted = true;  // false once a node is written with a foreign firstChild
    while (in.remaining_bytes() > 0 && g.numNodes() < 64 && g.numLinks() < 256) {
        reported.clear();
        const long n = g.numNodes(), m = g.numLinks();
        const int op = in.ConsumeIntegralInRange<int>(0, 11);
        try {
            switch (op) {
            case 0: {
                qcDirectedGraphNode node;
                node.position(qcVector<2>(anyScore(in), anyScore(in)));
                g.addNode(node);
                break;
            }
            case 1: {
                qcDirectedGraphLink l(anyIndex(in, n), anyIndex(in, n), anyScore(in));
                l.flags = in.ConsumeIntegral<std::uint32_t>();
                g.addLink(l);
                break;
            }
            case 2:
                g.addLinkFastUnsafe(anyIndex(in, n), anyIndex(in, n), anyScore(in));
                for (int r : reported)
                    require(r == 566 || r == 567, "unexpected report from addLinkFastUnsafe");
                break;
            case 3: {
                const long i = anyIndex(in, n), j = anyIndex(in, n);
                qcDirectedGraphNode record = g.node(j);  // any stored node, maybe another one
                record.position(qcVector<2>(anyScore(in), 0.0));
                const bool sameChain = i >= 0 && i < n && g.node(i).firstChild() == record.firstChild();
                g.node(i, record);
                chainsTrusted = chainsTrusted && sameChain;
                break;
            }
            case 4: {
                qcDirectedGraphLink l(anyIndex(in, n), anyIndex(in, n), anyScore(in));
                if (m > 0 && in.ConsumeBool())
                    l = g.link(anyIndex(in, m));
                g.link(anyIndex(in, m), l);
                break;
            }
            case 5: {
                // The searches take 32-bit indices.
                const auto s = static_cast<std::int32_t>(anyIndex(in, n));
                const auto e = static_cast<std::int32_t>(anyIndex(in, n));
                qcIndexArray nodes{7}, links{7};
                g.shortestPath(s, e, nodes, links);
                if (chainsTrusted)
                    checkTwoNodeResult(g, s, e, nodes, links);
                break;
            }
            case 6: {
                const auto k = static_cast<std::int32_t>(anyIndex(in, m));
                qcIndexArray nodes, links;
                g.shortestPath(k, nodes, links);
                if (chainsTrusted && k >= 0 && k < m && !nodes.empty())
                    checkTwoNodeResult(g, g.link(k).nodeA(), g.link(k).nodeB(), nodes, links);
                break;
            }
            case 7: {
                const auto s = static_cast<std::int32_t>(anyIndex(in, n));
                const auto e = static_cast<std::int32_t>(anyIndex(in, n));
                const int k = in.ConsumeIntegralInRange<int>(-1, 6);
                const int minLength = in.ConsumeIntegralInRange<int>(-2, 6);
                const int maxLength = in.ConsumeIntegralInRange<int>(-1, 8);
                std::vector<qcDirectedGraphPath> paths(1);
                std::vector<double> scores(2, 1.0);
                g.shortestPath(s, e, k, minLength, maxLength < 0 ? 10 : maxLength, paths, scores);
                if (chainsTrusted) {
                    checkRankedResult(g, s, e, k, minLength, maxLength < 0 ? 10 : maxLength, paths, scores);
                    require(reported.empty(), "internal check failed in the ranked search");
                }
                break;
            }
            case 8:
                if (in.ConsumeBool())
                    g.mTrace();
                else
                    g.link(anyIndex(in, m)).mTrace();
                break;
            case 9: {
                qcGraphicList list;
                g.draw(list);
                if (n > 0)
                    g.node(anyIndex(in, n)).drawLink(list, g, anyIndex(in, 4));
                break;
            }
            case 10: {
                qcIndexArray nodes, links;
                for (int c = in.ConsumeIntegralInRange<int>(0, 4); c > 0; --c)
                    nodes.push_back(static_cast<std::int32_t>(anyIndex(in, n)));
                for (int c = in.ConsumeIntegralInRange<int>(0, 4); c > 0; --c)
                    links.push_back(static_cast<std::int32_t>(anyIndex(in, m)));
                qcGraphicList list;
                g.drawPath(list, nodes, links);
                break;
            }
            default: {
                const qcDirectedGraph copy = g;
                g = copy;
                require(g.numNodes() == n && g.numLinks() == m, "assignment changed the sizes");
            }
            }
        } catch (const qcInvariantFailure&) {
            // the documented reaction to a bad argument
        }
        if (chainsTrusted)
            checkInvariants(g);
        sink.str(std::wstring());
    }
    return 0;
}
