// "path" and "paths": the cheapest path and the ranked walks between two nodes.
#include <chrono>
#include <cstdio>
#include <limits>
#include <vector>

#include "Commands.h"
#include "LoadedGraph.h"
#include "NumberText.h"

namespace {

using Clock = std::chrono::steady_clock;

// Room for the walks is reserved before the search, so K is kept to what fits in memory.
constexpr std::int64_t maxWalks = 100000;

void printNodesAndLinks(const LoadedGraph& loaded, const qcIndexArray& nodes,
                        const qcIndexArray& links, const char* indent)
{
    std::printf("%snodes%s\n%slinks%s\n", indent, loaded.idList(nodes).c_str(), indent,
                loaded.idList(links).c_str());
}

ExitCode runPath(const CommandLine& line)
{
    line.expectPositional(3, "GRAPH FROM TO");
    const LoadedGraph loaded(line, Coordinates::skip);
    const std::int32_t from = loaded.node(line.positional()[1], "FROM");
    const std::int32_t to = loaded.node(line.positional()[2], "TO");
    qcIndexArray nodes;
    qcIndexArray links;
    const auto start = Clock::now();
    loaded.graph().shortestPath(from, to, nodes, links);
    loaded.reportTime("query", start);
    if (nodes.empty()) {
        reportNothingFound("path", "no path from " + line.positional()[1] + " to " +
                                       line.positional()[2]);
        return exitNothingFound;
    }
    double score = 0.0;
    for (const std::int32_t l : links)
        score += loaded.graph().link(l).score();
    std::printf("score %s\n", numberText(score).c_str());
    printNodesAndLinks(loaded, nodes, links, "");
    return exitOk;
}

// Whether the search can list any walk: one of at least one link must lead from `from` to `to`
// (or the one-node walk counts). Links of NaN or +infinite score are never followed. Much
// faster than a search that finds nothing after taking every node K times.
bool anyWalk(const qcDirectedGraph& graph, std::int32_t from, std::int32_t to, std::int32_t minLength)
{
    std::vector<bool> seen(static_cast<std::size_t>(graph.numNodes()));
    std::vector<long> todo{from};
    while (!todo.empty()) {
        const long u = todo.back();
        todo.pop_back();
        for (const auto [k, l] : graph.outLinks(u)) {
            if (l.score() < std::numeric_limits<double>::infinity() && !seen[static_cast<std::size_t>(l.nodeB())]) {
                seen[static_cast<std::size_t>(l.nodeB())] = true;
                todo.push_back(l.nodeB());
            }
        }
    }
    return (from == to && minLength == 0) || seen[static_cast<std::size_t>(to)];
}

ExitCode runPaths(const CommandLine& line)
{
    line.expectPositional(3, "GRAPH FROM TO");
    if (!line.has("-k"))
        throw UsageError("missing -k K, the number of walks");
    const auto k = static_cast<std::int32_t>(line.integer("-k", 1, maxWalks, 1));
    const std::int64_t noBound = std::numeric_limits<std::int32_t>::max();
    const auto minLength = static_cast<std::int32_t>(line.integer("--min-length", 0, noBound, 0));
    const auto maxLength =
        static_cast<std::int32_t>(line.integer("--max-length", 0, noBound, noBound));
    if (minLength > maxLength)
        throw UsageError("--min-length " + std::to_string(minLength) +
                         " is greater than --max-length " + std::to_string(maxLength));
    const LoadedGraph loaded(line, Coordinates::skip);
    const std::int32_t from = loaded.node(line.positional()[1], "FROM");
    const std::int32_t to = loaded.node(line.positional()[2], "TO");
    std::vector<qcDirectedGraphPath> walks;
    std::vector<double> scores;
    const auto start = Clock::now();
    if (anyWalk(loaded.graph(), from, to, minLength))
        loaded.graph().shortestPath(from, to, k, minLength, maxLength, walks, scores);
    loaded.reportTime("query", start);
    if (walks.empty()) {
        reportNothingFound("paths", "no walk from " + line.positional()[1] + " to " +
                                        line.positional()[2]);
        return exitNothingFound;
    }
    for (std::size_t i = 0; i < walks.size(); ++i) {
        // A step over parallel links names the first in the chain, whichever the score went over.
        double named = 0.0;
        for (const std::int32_t l : walks[i].links())
            named += loaded.graph().link(l).score();
        const std::string mark = named == scores[i] ? "" : " (over a parallel link: the links named add up to " + numberText(named) + ")";
        std::printf("walk %zu: score %s%s\n", i + 1, numberText(scores[i]).c_str(), mark.c_str());
        printNodesAndLinks(loaded, walks[i].nodes(), walks[i].links(), "  ");
    }
    return exitOk;
}

}  // namespace

void addPathCommands(std::vector<Command>& commands)
{
    commands.push_back({"path", "the cheapest path between two nodes",
                        "Usage: qcgraph path GRAPH FROM TO [--format dimacs|edges] [--time]\n"
                        "\n"
                        "Prints the cheapest path from node FROM to node TO (Dijkstra's\n"
                        "algorithm): its score (the sum of its link scores), its nodes and its\n"
                        "links. Nodes and links are numbered as in the file: DIMACS ids and arc\n"
                        "numbers from 1, edge-list ids and edge numbers from 0. A path counts\n"
                        "only when its total score stays below 1e12; with negative scores the\n"
                        "path found need not be the cheapest.\n"
                        "\n"
                        "Exit code 0 when a path is found, 1 when TO cannot be reached,\n"
                        "2 for bad usage or a bad graph file.\n",
                        withGraphOptions({}), runPath});
    commands.push_back({"paths", "the K cheapest walks between two nodes",
                        "Usage: qcgraph paths GRAPH FROM TO -k K [--min-length A]\n"
                        "                     [--max-length B] [--format dimacs|edges] [--time]\n"
                        "\n"
                        "Prints up to K walks from FROM to TO, each with its score, nodes and\n"
                        "links (numbered as in the file). A walk may pass a node or a cycle more\n"
                        "than once. The search grows walks from FROM, always taking next the\n"
                        "cheapest walk not taken yet (ties: the one made first). Each node may be\n"
                        "taken K times, and each of these takings continues the walk along every\n"
                        "link of the node; each taking at TO counts toward K. With scores of 0 or\n"
                        "more and no length bounds these are the K cheapest walks, cheapest first.\n"
                        "\n"
                        "--min-length and --max-length bound the number of links of a listed\n"
                        "walk, but every taking counts, also of a walk too short to be listed or\n"
                        "too long to go on. On the links 0-1 (score 0), 1-2 (0), 2-3 (0), 0-2\n"
                        "(10) and 0-3 (20), -k 1 --max-length 2 from 0 to 3 lists 0 3 (20), not\n"
                        "0 2 3 (10): walk 0 1 2 used the one taking of node 2 and stopped there.\n"
                        "\n"
                        "Between two nodes joined by parallel links each link makes its own walk\n"
                        "with its own score, but the links printed name the first of them in the\n"
                        "node's chain (the one stored last); such a walk is marked with the sum\n"
                        "of the links named. \"No walk\" comes at once when TO cannot be reached\n"
                        "from FROM. K is at most 100000; memory grows with the walks taken and\n"
                        "continued, up to K for every node reached.\n"
                        "\n"
                        "Exit code 0 when a walk is found, 1 when none is, 2 for bad usage or a\n"
                        "bad graph file.\n",
                        withGraphOptions({{"-k", 1}, {"--min-length", 1}, {"--max-length", 1}}),
                        runPaths});
}
