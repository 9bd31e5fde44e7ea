// "path" and "paths": the cheapest path, and the ranked walks or loopless paths, between two nodes.
#include <chrono>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>
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
                loaded.linkList(links).c_str());
}

// The graph of a command's GRAPH FROM TO, and the nodes FROM and TO name.
struct Ends {
    explicit Ends(const CommandLine& line)
        : loaded(line, Coordinates::skip), from(loaded.node(line.positional()[1], "FROM")),
          to(loaded.node(line.positional()[2], "TO"))
    {
    }
    const LoadedGraph loaded;
    const std::int32_t from;
    const std::int32_t to;
};

ExitCode runPath(const CommandLine& line)
{
    line.expectPositional(3, "GRAPH FROM TO");
    const Ends e(line);
    qcIndexArray nodes;
    qcIndexArray links;
    const bool indexed = line.has("--index");
    const qcShortestPathIndex index = indexed ? indexFor(e.loaded, line.values("--index").front()) : qcShortestPathIndex();
    const auto start = Clock::now();
    if (indexed)
        index.path(e.from, e.to, nodes, links);
    else
        e.loaded.graph().shortestPath(e.from, e.to, nodes, links);
    e.loaded.reportTime("query", start);
    if (nodes.empty()) {
        reportNothingFound("path", "no path from " + line.positional()[1] + " to " +
                                       line.positional()[2]);
        return exitNothingFound;
    }
    double score = 0.0;
    for (const std::int32_t l : links)
        score += e.loaded.graph().link(l).score();
    std::printf("score %s\n", numberText(score).c_str());
    printNodesAndLinks(e.loaded, nodes, links, "");
    return exitOk;
}

// The K cheapest loopless paths: no length bounds, no parallel-link marks (each step takes
// the cheapest link, which is the one printed).
ExitCode runSimplePaths(const CommandLine& line, std::int32_t k)
{
    if (line.has("--min-length") || line.has("--max-length"))
        throw UsageError("--simple takes no --min-length or --max-length");
    const Ends e(line);
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    const auto start = Clock::now();
    try {
        e.loaded.graph().simplePaths(e.from, e.to, k, paths, scores);
    } catch (const qcInvariantFailure&) {
        throw std::runtime_error(line.positional()[0] + " has a negative score; loopless paths need scores of 0 or more");
    }
    e.loaded.reportTime("query", start);
    if (paths.empty()) {
        reportNothingFound("paths", "no path from " + line.positional()[1] + " to " + line.positional()[2]);
        return exitNothingFound;
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::printf("path %zu: score %s\n", i + 1, numberText(scores[i]).c_str());
        printNodesAndLinks(e.loaded, paths[i].nodes(), paths[i].links(), "  ");
    }
    return exitOk;
}

ExitCode runPaths(const CommandLine& line)
{
    line.expectPositional(3, "GRAPH FROM TO");
    if (!line.has("-k"))
        throw UsageError("missing -k K, the number of walks");
    const auto k = static_cast<std::int32_t>(line.integer("-k", 1, maxWalks, 1));
    if (line.has("--simple"))
        return runSimplePaths(line, k);
    const std::int64_t noBound = std::numeric_limits<std::int32_t>::max();
    const auto minLength = static_cast<std::int32_t>(line.integer("--min-length", 0, noBound, 0));
    const auto maxLength =
        static_cast<std::int32_t>(line.integer("--max-length", 0, noBound, noBound));
    if (minLength > maxLength)
        throw UsageError("--min-length " + std::to_string(minLength) +
                         " is greater than --max-length " + std::to_string(maxLength));
    const Ends e(line);
    std::vector<qcDirectedGraphPath> walks;
    std::vector<double> scores;
    const auto start = Clock::now();
    // A search that can list nothing would take every node it reaches K times first.
    if ((e.from == e.to && minLength == 0) || e.loaded.graph().reaches(e.from, e.to))
        e.loaded.graph().shortestPath(e.from, e.to, k, minLength, maxLength, walks, scores);
    e.loaded.reportTime("query", start);
    if (walks.empty()) {
        reportNothingFound("paths", "no walk from " + line.positional()[1] + " to " +
                                        line.positional()[2]);
        return exitNothingFound;
    }
    for (std::size_t i = 0; i < walks.size(); ++i) {
        // A step over parallel links names the first in the chain, whichever the score went over.
        double named = 0.0;
        for (const std::int32_t l : walks[i].links())
            named += e.loaded.graph().link(l).score();
        const std::string mark = named == scores[i] ? "" : " (over a parallel link: the links named add up to " + numberText(named) + ")";
        std::printf("walk %zu: score %s%s\n", i + 1, numberText(scores[i]).c_str(), mark.c_str());
        printNodesAndLinks(e.loaded, walks[i].nodes(), walks[i].links(), "  ");
    }
    return exitOk;
}

}  // namespace

void addPathCommands(std::vector<Command>& commands)
{
    commands.push_back({"path", "the cheapest path between two nodes",
                        "Usage: qcgraph path GRAPH FROM TO [--index FILE]\n"
                        "                    [--format dimacs|edges|mtx|graphml] [--time]\n"
                        "\n"
                        "Prints the cheapest path from node FROM to node TO (Dijkstra's\n"
                        "algorithm): its score (the sum of its link scores), its nodes and its\n"
                        "links. Nodes and links are numbered as in the file: DIMACS ids and arc\n"
                        "numbers from 1, edge-list ids and edge numbers from 0. A path counts\n"
                        "only when its total score stays below 1e12; with negative scores the\n"
                        "path found need not be the cheapest.\n"
                        "\n"
                        "--index FILE answers from an index that 'qcgraph index' made of the same\n"
                        "graph: a path of the same score (among equally cheap paths maybe\n"
                        "another), in microseconds instead of a search.\n"
                        "\n"
                        "Exit code 0 when a path is found, 1 when TO cannot be reached,\n"
                        "2 for bad usage, a bad graph file or an index of another graph.\n",
                        withGraphOptions({{"--index", 1}}), runPath});
    commands.push_back({"paths", "the K cheapest walks, or loopless paths, between two nodes",
                        "Usage: qcgraph paths GRAPH FROM TO -k K [--min-length A]\n"
                        "                     [--max-length B] [--format dimacs|edges|mtx|graphml] [--time]\n"
                        "       qcgraph paths GRAPH FROM TO -k K --simple\n"
                        "                     [--format dimacs|edges|mtx|graphml] [--time]\n"
                        "\n"
                        "With --simple: up to K loopless paths (no node twice), cheapest first,\n"
                        "each with its score, nodes and links. Each step takes the cheapest of\n"
                        "parallel links; equally cheap paths come with fewer links first, then\n"
                        "by their nodes compared from TO backwards, the lower number first.\n"
                        "Scores must be 0 or more. Memory stays near the graph's size plus K\n"
                        "paths. The rest of this text is about walks.\n"
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
                        withGraphOptions({{"-k", 1}, {"--min-length", 1}, {"--max-length", 1}, {"--simple", 0}}),
                        runPaths});
}
