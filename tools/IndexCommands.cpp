// "index" and "table": an index of a graph's cheapest paths, made once and saved, and tables
// of distances between many nodes.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "Commands.h"
#include "LoadedGraph.h"
#include "NumberText.h"
#include "qcShortestPathIndex.h"

namespace {

ExitCode runIndex(const CommandLine& line)
{
    line.expectPositional(1, "GRAPH");
    if (!line.has("-o"))
        throw UsageError("missing -o FILE, where the index goes");
    const std::string out = line.values("-o").front();
    qcShortestPathIndex::Options options;
    options.memoryBound = static_cast<double>(
        line.integer("--memory-bound", 0, 1000000, static_cast<std::int64_t>(options.memoryBound)));
    const LoadedGraph loaded(line, Coordinates::skip);
    const auto start = std::chrono::steady_clock::now();
    qcShortestPathIndex index = [&] {
        try {
            return qcShortestPathIndex(loaded.graph(), options);
        } catch (const qcInvariantFailure&) {
            throw std::runtime_error(loaded.path() + ": a negative score; the index needs scores of 0 or more");
        } catch (const std::length_error&) {
            throw std::runtime_error(loaded.path() + ": the index would take more than " +
                                 numberText(options.memoryBound) +
                                 " times the graph's memory (--memory-bound N allows more, 0 any)");
        }
    }();
    loaded.reportTime("index", start);
    std::ofstream file(out, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot write " + out);
    index.save(file);
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + out);
    std::printf("index of %ld nodes (%.1f MB) written to %s\n", index.numNodes(),
                static_cast<double>(index.memoryBytes()) / 1e6, out.c_str());
    return exitOk;
}

// The nodes of a comma-separated list of ids.
qcIndexArray nodeList(const LoadedGraph& loaded, const std::string& ids, const char* what)
{
    qcIndexArray nodes;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = ids.find(',', begin);
        nodes.push_back(loaded.node(ids.substr(begin, comma - begin), what));
        if (comma == std::string::npos)
            return nodes;
        begin = comma + 1;
    }
}

std::string distanceText(double d) { return d < std::numeric_limits<double>::infinity() ? numberText(d) : "-"; }

ExitCode runTable(const CommandLine& line)
{
    line.expectPositional(1, "GRAPH");
    if (!line.has("--from") || !line.has("--to"))
        throw UsageError("missing --from IDS or --to IDS");
    const LoadedGraph loaded(line, Coordinates::skip);
    const qcIndexArray sources = nodeList(loaded, line.values("--from").front(), "--from");
    const qcIndexArray targets = nodeList(loaded, line.values("--to").front(), "--to");
    const auto start = std::chrono::steady_clock::now();
    std::vector<double> table;
    if (line.has("--index")) {
        indexFor(loaded, line.values("--index").front()).distances(sources, targets, table);
    } else {
        std::vector<double> distances;
        qcIndexArray links;
        for (const std::int32_t s : sources) {
            loaded.graph().shortestPathTree(s, distances, links);
            for (const std::int32_t t : targets)
                table.push_back(distances[static_cast<std::size_t>(t)]);
        }
    }
    loaded.reportTime("query", start);
    std::printf("from\\to");
    for (const std::int32_t t : targets)
        std::printf(" %s", loaded.id(t).c_str());
    std::printf("\n");
    for (std::size_t i = 0; i < sources.size(); ++i) {
        std::printf("%s", loaded.id(sources[i]).c_str());
        for (std::size_t j = 0; j < targets.size(); ++j)
            std::printf(" %s", distanceText(table[i * targets.size() + j]).c_str());
        std::printf("\n");
    }
    return exitOk;
}

}  // namespace

qcShortestPathIndex indexFor(const LoadedGraph& loaded, const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file);
    qcShortestPathIndex index = [&] {
        try {
            return qcShortestPathIndex::load(in);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(file + ": " + e.what());
        }
    }();
    if (!index.isCurrent(loaded.graph()))
        throw std::runtime_error(file + " is not an index of " + loaded.path() +
                             " (made from another graph, or before the graph changed): make it anew with 'qcgraph index'");
    return index;
}

void addIndexCommands(std::vector<Command>& commands)
{
    commands.push_back({"index", "an index of the cheapest paths, for quick queries",
                        "Usage: qcgraph index GRAPH -o FILE [--memory-bound N] [--format F] [--time]\n"
                        "\n"
                        "Builds an index of the graph's cheapest paths (a contraction hierarchy)\n"
                        "and writes it to FILE, for 'qcgraph path ... --index FILE' and 'qcgraph\n"
                        "table ... --index FILE', which then answer in microseconds. Scores must\n"
                        "be 0 or more. Building stops when the index would take more than N\n"
                        "times the graph's own memory (default 4; 0: no bound), as it does on\n"
                        "graphs without a hierarchy (random links between far nodes).\n"
                        "\n"
                        "Exit code 0 when the index is written, 2 for bad usage, a bad graph\n"
                        "file, a negative score or an index past its bound.\n",
                        withGraphOptions({{"-o", 1}, {"--memory-bound", 1}}), runIndex});
    commands.push_back({"table", "the distances from some nodes to others",
                        "Usage: qcgraph table GRAPH --from IDS --to IDS [--index FILE]\n"
                        "                     [--format F] [--time]\n"
                        "\n"
                        "Prints the cheapest path's score from every node of --from to every\n"
                        "node of --to (comma-separated ids, as the file numbers them): a line of\n"
                        "the --to ids, then a line per --from id with its distances, '-' where\n"
                        "there is no path. With --index, from an index 'qcgraph index' made of\n"
                        "the same graph, else by one search from each --from node to all nodes.\n"
                        "\n"
                        "Exit code 0 when the table is printed, 2 for bad usage, a bad graph\n"
                        "file or an index of another graph.\n",
                        withGraphOptions({{"--from", 1}, {"--to", 1}, {"--index", 1}}), runTable});
}
