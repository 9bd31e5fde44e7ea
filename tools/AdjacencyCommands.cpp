// "groups" and "connect": the adjacency-list analyses, run on the graph's outgoing links.
#include <chrono>
#include <cstdio>

#include <qfAdjacencyLists.h>

#include "Commands.h"
#include "LoadedGraph.h"

namespace {

using Clock = std::chrono::steady_clock;

// List i names the targets of the links that leave node i, in the links' file order.
qcAdjacencyLists adjacencyLists(const qcDirectedGraph& graph)
{
    qcAdjacencyLists lists(static_cast<std::size_t>(graph.numNodes()));
    for (long k = 0; k < graph.numLinks(); ++k) {
        const qcDirectedGraphLink& link = graph.link(k);
        lists[static_cast<std::size_t>(link.nodeA())].push_back(
            static_cast<std::int32_t>(link.nodeB()));
    }
    return lists;
}

ExitCode runGroups(const CommandLine& line)
{
    line.expectPositional(1, "GRAPH");
    const LoadedGraph loaded(line, Coordinates::skip);
    const auto start = Clock::now();
    qcCliques groups;
    qfComputeCliques(adjacencyLists(loaded.graph()), groups);
    loaded.reportTime("query", start);
    for (std::size_t g = 0; g < groups.size(); ++g)
        std::printf("group %zu:%s\n", g + 1, loaded.idList(groups[g]).c_str());
    return exitOk;
}

// The search tries every node as a root, each over up to all list entries, and the library
// reports no progress; so before a long run the user hears what is coming. A grid of 10000 nodes
// and 40000 entries, 4e8 steps at worst, takes 2 s: about 2e8 steps a second.
void warnOfLongConnect(const qcDirectedGraph& graph)
{
    const double steps =
        static_cast<double>(graph.numNodes()) * static_cast<double>(graph.numLinks());
    const double minutes = steps / 2e8 / 60.0;
    if (minutes < 1.0)
        return;
    std::fprintf(stderr,
                 "qcgraph connect: tries each of %ld nodes as the root over %ld links: up to\n"
                 "%.0e steps, about %.0f %s at worst; nothing more shows until it ends\n",
                 graph.numNodes(), graph.numLinks(), steps,
                 minutes < 120.0 ? minutes : minutes / 60.0, minutes < 120.0 ? "min" : "h");
}

ExitCode runConnect(const CommandLine& line)
{
    line.expectPositional(1, "GRAPH");
    const LoadedGraph loaded(line, Coordinates::skip);
    warnOfLongConnect(loaded.graph());
    const auto start = Clock::now();
    std::vector<qcConnectionRecord> records;
    qfComputeConnectionPath(adjacencyLists(loaded.graph()), records);
    loaded.reportTime("query", start);
    if (records.empty()) {
        reportNothingFound("connect", "no connection records");
        return exitNothingFound;
    }
    for (const qcConnectionRecord& r : records)
        std::printf("root %s: %s %s\n", loaded.id(r.root).c_str(),
                    loaded.id(static_cast<std::int32_t>(r.ids.first)).c_str(),
                    loaded.id(static_cast<std::int32_t>(r.ids.second)).c_str());
    return exitOk;
}

}  // namespace

void addAdjacencyCommands(std::vector<Command>& commands)
{
    commands.push_back({"groups", "the groups of nodes joined by links either way",
                        "Usage: qcgraph groups GRAPH [--format dimacs|edges|mtx|graphml] [--time]\n"
                        "\n"
                        "Prints the groups (cliques) of the graph's nodes: nodes joined by links,\n"
                        "followed in either direction, belong to one group (the weakly connected\n"
                        "components). One line per group, 'group K:' and its node ids: the\n"
                        "smallest id first, then the others in breadth-first order of reach.\n"
                        "Groups stand in order of their smallest id; a node without links is a\n"
                        "group of its own.\n"
                        "\n"
                        "Exit code 0, or 2 for bad usage or a bad graph file (one without\n"
                        "nodes too).\n",
                        withGraphOptions({}), runGroups});
    commands.push_back({"connect", "the least-cost connection records of the graph",
                        "Usage: qcgraph connect GRAPH [--format dimacs|edges|mtx|graphml] [--time]\n"
                        "\n"
                        "Takes each node's list of link targets (in file order) and tries every\n"
                        "node as the root of a connection structure; prints the records of the\n"
                        "root of least cost, the lowest id among equals: one line 'root R: A B'\n"
                        "for each later target B of R's list, A being its first target. The cost\n"
                        "of a root is the sum, over the targets reached from it through shared\n"
                        "targets, of the depth of the node that reaches them first. Every root is\n"
                        "tried, so large graphs take long: up to nodes x links steps, about 2e8 a\n"
                        "second. When that is more than a minute, standard error says so first.\n"
                        "\n"
                        "Exit code 0, 1 when there is no record (the winning root has fewer than\n"
                        "two links, or no node has any), 2 for bad usage or a bad graph file.\n",
                        withGraphOptions({}), runConnect});
}
