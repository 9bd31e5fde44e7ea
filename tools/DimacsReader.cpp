#include <limits>
#include <vector>

#include "GraphFiles.h"
#include "LineFields.h"

namespace {

constexpr std::int64_t maxLinks = std::numeric_limits<std::int32_t>::max();

// Calls handle(kind, fields) for every line of a DIMACS file that is neither blank nor a "c"
// comment, `kind` being its first field and `fields` the rest.
template <class Handle>
void forEachRecord(LineSource& source, Handle&& handle)
{
    std::string_view line;
    while (source.next(line)) {
        LineFields fields(line, source);
        if (fields.atEnd())
            continue;
        const std::string_view kind = fields.word("line type");
        if (kind != "c")
            handle(kind, fields);
    }
}

[[noreturn]] void failAtEnd(const LineSource& source, const std::string& what)
{
    throw GraphFileError(source.path() + ":" + std::to_string(source.lineNumber()) + ": " + what);
}

}  // namespace

GraphFile readDimacsGraph(const std::string& path, const LoadProgressFunction& progress,
                          std::int64_t maxNodes)
{
    GraphFile file;
    file.idBase = 1;
    LineSource source(path, progress);
    const std::int64_t nodeLimit = nodeBound(source.size(), maxNodes);
    std::uint64_t headerLine = 0;
    std::int64_t nodes = 0;
    std::int64_t arcs = 0;
    std::int64_t arcsRead = 0;
    forEachRecord(source, [&](std::string_view kind, LineFields& fields) {
        if (kind == "a") {
            if (headerLine == 0)
                fields.fail("arc before the 'p sp' header");
            if (arcsRead == arcs)
                fields.fail("more arcs than the " + std::to_string(arcs) +
                            " of the 'p sp' header");
            const std::int64_t from = fields.integer("source node id", 1, nodes);
            const std::int64_t to = fields.integer("target node id", 1, nodes);
            const double weight = fields.number("arc weight");
            fields.expectEnd("the arc weight");
            file.graph.addLinkFastUnsafe(static_cast<long>(from - 1), static_cast<long>(to - 1),
                                         weight);
            ++arcsRead;
        } else if (kind == "p") {
            if (headerLine != 0)
                fields.fail("second 'p sp' header (the first is on line " +
                            std::to_string(headerLine) + ")");
            const std::string_view problem = fields.word("problem type 'sp'");
            if (problem != "sp")
                fields.fail("problem type " + quoted(problem) +
                            " is not 'sp' (not a shortest-path file)");
            nodes = fields.integer("node count", 0, maxNodesLimit);
            checkNodeCount(fields, nodes, nodeLimit);
            arcs = fields.integer("arc count", 0, maxLinks);
            fields.expectEnd("the arc count");
            headerLine = source.lineNumber();
            for (std::int64_t i = 0; i < nodes; ++i)
                file.graph.addNode(qcDirectedGraphNode());
        } else {
            fields.fail("unknown line type " + quoted(kind) + " (expected c, p or a)");
        }
    });
    if (headerLine == 0)
        throw GraphFileError(source.path() + ": no 'p sp' header");
    if (arcsRead != arcs)
        failAtEnd(source, "file ends after " + std::to_string(arcsRead) + " of the " +
                              std::to_string(arcs) + " arcs of the 'p sp' header (truncated?)");
    file.lines = source.lineNumber();
    return file;
}

void readDimacsCoordinates(const std::string& path, GraphFile& file,
                           const LoadProgressFunction& progress)
{
    LineSource source(path, progress);
    const std::int64_t nodes = file.graph.numNodes();
    std::uint64_t headerLine = 0;
    std::vector<bool> seen;
    std::int64_t seenCount = 0;
    forEachRecord(source, [&](std::string_view kind, LineFields& fields) {
        if (kind == "v") {
            if (headerLine == 0)
                fields.fail("coordinates before the 'p aux sp co' header");
            const std::int64_t id = fields.integer("node id", 1, nodes);
            const double x = fields.number("x coordinate");
            const double y = fields.number("y coordinate");
            fields.expectEnd("the y coordinate");
            const auto index = static_cast<std::size_t>(id - 1);
            if (seen[index])
                fields.fail("second coordinates of node " + std::to_string(id));
            seen[index] = true;
            ++seenCount;
            qcDirectedGraphNode node = file.graph.node(static_cast<long>(index));
            node.position(qcVector<2>(x, y));
            file.graph.node(static_cast<long>(index), node);
        } else if (kind == "p") {
            if (headerLine != 0)
                fields.fail("second 'p aux sp co' header (the first is on line " +
                            std::to_string(headerLine) + ")");
            if (fields.word("'aux sp co'") != "aux" || fields.word("'sp co'") != "sp" ||
                fields.word("'co'") != "co")
                fields.fail("header is not 'p aux sp co N' (not a coordinates file)");
            const std::int64_t count = fields.integer("node count", 0, maxNodesLimit);
            fields.expectEnd("the node count");
            if (count != nodes)
                fields.fail("coordinates for " + std::to_string(count) +
                            " nodes, but the graph has " + std::to_string(nodes));
            headerLine = source.lineNumber();
            seen.assign(static_cast<std::size_t>(nodes), false);
        } else {
            fields.fail("unknown line type " + quoted(kind) + " (expected c, p or v)");
        }
    });
    if (headerLine == 0)
        throw GraphFileError(source.path() + ": no 'p aux sp co' header");
    if (seenCount != nodes) {
        std::size_t firstMissing = 0;
        while (seen[firstMissing])
            ++firstMissing;
        failAtEnd(source, "file ends with " + std::to_string(nodes - seenCount) +
                              " nodes without coordinates, the first node " +
                              std::to_string(firstMissing + 1) + " (truncated?)");
    }
    file.lines += source.lineNumber();
    file.hasPositions = true;
}
