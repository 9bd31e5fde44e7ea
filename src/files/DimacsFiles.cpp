// DIMACS shortest-path files: ".gr" arcs and ".co" coordinates, node ids from 1.
#include <limits>
#include <vector>

#include "FileFormats.h"
#include "LineFields.h"
#include "LinkBatch.h"
#include "LineSource.h"

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

}  // namespace

qcGraphFile readDimacs(InputBytes& in, const qcGraphReadOptions& options)
{
    qcGraphFile file;
    file.ids.base = 1;
    LineSource source(in, options.progress);
    const NodeBound nodeLimit = nodeBound(source.size(), options);
    std::uint64_t headerLine = 0;
    std::int64_t nodes = 0;
    std::int64_t arcs = 0;
    std::int64_t arcsRead = 0;
    LinkBatch links(file.graph);
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
            links.add(static_cast<long>(from - 1), static_cast<long>(to - 1), weight);
            ++arcsRead;
        } else if (kind == "p") {
            if (headerLine != 0)
                fields.fail("second 'p sp' header (the first is on line " +
                            std::to_string(headerLine) + ")");
            const std::string_view problem = fields.word("problem type 'sp'");
            if (problem != "sp")
                fields.fail("problem type " + quoted(problem) +
                            " is not 'sp' (not a shortest-path file)");
            nodes = fields.integer("node count", 0, qcMaxNodesLimit);
            checkNodeCount(fields, nodes, nodeLimit);
            arcs = fields.integer("arc count", 0, maxLinks);
            fields.expectEnd("the arc count");
            headerLine = source.lineNumber();
            growNodes(file.graph, nodes);
            // Room for the arcs, but no more than the file's size could hold ("a 1 1 0" a line).
            const std::uint64_t fit = source.size() / 8;
            file.graph.reserveLinks(static_cast<long>(static_cast<std::uint64_t>(arcs) < fit ? arcs : fit));
        } else {
            fields.fail("unknown line type " + quoted(kind) + " (expected c, p or a)");
        }
    });
    links.flush();
    if (headerLine == 0)
        throw qcGraphFileError(source.path(), 0, "no 'p sp' header");
    if (arcsRead != arcs)
        source.fail("file ends after " + std::to_string(arcsRead) + " of the " +
                              std::to_string(arcs) + " arcs of the 'p sp' header (truncated?)");
    file.lines = source.lineNumber();
    return file;
}

void readDimacsCoordinates(InputBytes& in, qcGraphFile& file, const qcReadProgressFunction& progress)
{
    LineSource source(in, progress);
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
            const std::int64_t count = fields.integer("node count", 0, qcMaxNodesLimit);
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
        throw qcGraphFileError(source.path(), 0, "no 'p aux sp co' header");
    if (seenCount != nodes) {
        std::size_t firstMissing = 0;
        while (seen[firstMissing])
            ++firstMissing;
        source.fail("file ends with " + std::to_string(nodes - seenCount) +
                              " nodes without coordinates, the first node " +
                              std::to_string(firstMissing + 1) + " (truncated?)");
    }
    file.lines += source.lineNumber();
    file.hasPositions = true;
}

void writeDimacs(OutputText& out, const qcDirectedGraph& graph)
{
    out << "p sp " << std::int64_t{graph.numNodes()} << ' ' << std::int64_t{graph.numLinks()} << '\n';
    for (long k = 0; k < graph.numLinks(); ++k) {
        const qcDirectedGraphLink& link = graph.link(k);
        out << "a " << std::int64_t{link.nodeA() + 1} << ' ' << std::int64_t{link.nodeB() + 1} << ' '
            << link.score() << '\n';
    }
}

void writeDimacsCoordinates(OutputText& out, const qcDirectedGraph& graph)
{
    out << "p aux sp co " << std::int64_t{graph.numNodes()} << '\n';
    for (long i = 0; i < graph.numNodes(); ++i) {
        const qcVector<2>& p = graph.node(i).position();
        out << "v " << std::int64_t{i + 1} << ' ' << p.x() << ' ' << p.y() << '\n';
    }
}
