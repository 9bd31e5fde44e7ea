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
                        "than once. They are the walks the library's ranked search lists: with\n"
                        "scores of 0 or more and no length bounds the K cheapest walks, cheapest\n"
                        "first. Its rules (each node is taken at most K times, what a length\n"
                        "bound counts, parallel links, negative scores) are stated once, at the\n"
                        "ranked shortestPath in the header qcDirectedGraph.h.\n"
                        "\n"
                        "--min-length and --max-length bound the number of links of a listed\n"
                        "walk. Of parallel links the links printed name the first in the node's\n"
                        "chain; such a walk is marked with the sum of the links named. \"No walk\"\n"
                        "comes at once when TO cannot be reached from FROM. K is at most 100000;\n"
                        "memory grows with the walks taken and continued, up to K for every node\n"
                        "reached.\n"
                        "\n"
                        "Exit code 0 when a walk is found, 1 when none is, 2 for bad usage or a\n"
                        "bad graph file.\n",
                        withGraphOptions({{"-k", 1}, {"--min-length", 1}, {"--max-length", 1}}),
                        runPaths});
}
