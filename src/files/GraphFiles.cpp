#include <algorithm>
#include <charconv>
#include <istream>
#include <ostream>

#include <unistd.h>

#include "FileFormats.h"
#include "LineFields.h"

namespace {

bool endsWith(const std::string& path, const char* tail)
{
    const std::string_view end(tail);
    return path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0;
}

qcGraphFile readFormat(InputBytes& in, qcGraphFormat format, const qcGraphReadOptions& options)
{
    switch (format) {
    case qcGraphFormat::dimacs: return readDimacs(in, options);
    case qcGraphFormat::mtx: return readMatrixMarket(in, options);
    case qcGraphFormat::graphml: return readGraphml(in, options);
    case qcGraphFormat::edges: return readEdgeList(in, options);
    default: throw qcGraphFileError(in.name(), 0, "DOT files are written, not read");
    }
}

void writeFormat(OutputText& out, qcGraphFormat format, const qcDirectedGraph& graph,
                 const qcGraphWriteOptions& options)
{
    switch (format) {
    case qcGraphFormat::dimacs: writeDimacs(out, graph); break;
    case qcGraphFormat::mtx: writeMatrixMarket(out, graph); break;
    case qcGraphFormat::graphml: writeGraphml(out, graph, options); break;
    case qcGraphFormat::dot: writeDot(out, graph, options); break;
    default: writeEdgeList(out, graph); break;
    }
    out.finish();
}

qcGraphFormat given(qcGraphFormat format, const std::string& name)
{
    if (format == qcGraphFormat::byName)
        throw qcGraphFileError(name, 0, "a stream needs its format given");
    return format;
}

}  // namespace

qcGraphFileError::qcGraphFileError(const std::string& file, std::uint64_t line,
                                   const std::string& message)
    : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message),
      mFile(file), mLine(line), mMessage(message)
{
}

std::string qcGraphFileIds::text(std::int32_t i) const
{
    return named() ? names[static_cast<std::size_t>(i)] : std::to_string(base + i);
}

std::int32_t qcGraphFileIds::find(std::string_view id, std::int32_t numNodes) const
{
    if (named()) {
        const auto at = std::find(names.begin(), names.end(), id);
        return at == names.end() ? -1 : static_cast<std::int32_t>(at - names.begin());
    }
    std::int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(id.data(), id.data() + id.size(), value);
    if (ec != std::errc() || ptr != id.data() + id.size() || value < base || value - base >= numNodes)
        return -1;
    return static_cast<std::int32_t>(value - base);
}

qcGraphFormat qfGraphFormatOf(const std::string& path)
{
    if (endsWith(path, ".gr"))
        return qcGraphFormat::dimacs;
    if (endsWith(path, ".mtx"))
        return qcGraphFormat::mtx;
    if (endsWith(path, ".graphml") || endsWith(path, ".xml"))
        return qcGraphFormat::graphml;
    if (endsWith(path, ".dot") || endsWith(path, ".gv"))
        return qcGraphFormat::dot;
    return qcGraphFormat::edges;
}

qcGraphFormat qfGraphFormatNamed(const std::string& name)
{
    const std::pair<const char*, qcGraphFormat> names[] = {
        {"dimacs", qcGraphFormat::dimacs}, {"edges", qcGraphFormat::edges}, {"mtx", qcGraphFormat::mtx},
        {"graphml", qcGraphFormat::graphml}, {"dot", qcGraphFormat::dot}};
    for (const auto& [text, format] : names)
        if (name == text)
            return format;
    throw std::invalid_argument("unknown format '" + name + "' (expected dimacs, edges, mtx, graphml or dot)");
}

std::string qfCoordinatesPathFor(const std::string& graphPath)
{
    if (endsWith(graphPath, ".gr"))
        return graphPath.substr(0, graphPath.size() - 3) + ".co";
    return graphPath + ".co";
}

NodeBound nodeBound(std::uint64_t bytes, const qcGraphReadOptions& options)
{
    if (options.maxNodes != qcNodesBySize)
        return {options.maxNodes, options.maxNodesName};
    return {static_cast<std::int64_t>(std::min<std::uint64_t>(std::max<std::uint64_t>(bytes, qcNodesFloor),
                                                              static_cast<std::uint64_t>(qcMaxNodesLimit))),
            options.maxNodesName};
}

std::string tooManyNodes(std::int64_t nodes, const NodeBound& bound)
{
    return "needs " + std::to_string(nodes) + " nodes, more than the " + std::to_string(bound.most) +
           " allowed for a file of its size (" + bound.option + " allows more)";
}

void checkNodeCount(const LineFields& fields, std::int64_t nodes, const NodeBound& bound)
{
    if (nodes > bound.most)
        fields.fail(tooManyNodes(nodes, bound));
}

void growNodes(qcDirectedGraph& graph, std::int64_t count)
{
    while (graph.numNodes() < count)
        graph.addNode(qcDirectedGraphNode());
}

qcGraphFile qfReadGraph(const std::string& path, const qcGraphReadOptions& options)
{
    if (options.maxNodes < 0 || options.maxNodes > qcMaxNodesLimit)
        throw std::invalid_argument("maxNodes must lie in 0 to 2^31 - 1");
    const qcGraphFormat format = options.format == qcGraphFormat::byName ? qfGraphFormatOf(path) : options.format;
    InputBytes in(path);
    qcGraphFile file = readFormat(in, format, options);
    if (format != qcGraphFormat::dimacs || options.coordinates == qcCoordinates::none)
        return file;
    std::string coordinates = options.coordinatesPath;
    if (coordinates.empty() && path != InputBytes::standardInput &&
        access(qfCoordinatesPathFor(path).c_str(), F_OK) == 0)
        coordinates = qfCoordinatesPathFor(path);
    if (!coordinates.empty()) {
        InputBytes co(coordinates);
        readDimacsCoordinates(co, file, options.progress);
    }
    return file;
}

qcGraphFile qfReadGraph(std::istream& in, const std::string& name, const qcGraphReadOptions& options)
{
    InputBytes bytes(in, name);
    qcGraphFile file = readFormat(bytes, given(options.format, name), options);
    if (options.format == qcGraphFormat::dimacs && options.coordinates != qcCoordinates::none &&
        !options.coordinatesPath.empty()) {
        InputBytes co(options.coordinatesPath);
        readDimacsCoordinates(co, file, options.progress);
    }
    return file;
}

static void checkIds(const qcDirectedGraph& graph, const qcGraphWriteOptions& options)
{
    if (options.ids != nullptr && options.ids->named() &&
        static_cast<long>(options.ids->names.size()) != graph.numNodes())
        throw std::invalid_argument("the ids name " + std::to_string(options.ids->names.size()) +
                                    " nodes, the graph has " + std::to_string(graph.numNodes()));
}

void qfWriteGraph(const std::string& path, const qcDirectedGraph& graph, const qcGraphWriteOptions& options)
{
    checkIds(graph, options);
    const qcGraphFormat format = options.format == qcGraphFormat::byName ? qfGraphFormatOf(path) : options.format;
    {
        OutputText out(path);
        writeFormat(out, format, graph, options);
    }
    if (format == qcGraphFormat::dimacs && options.coordinates == qcCoordinates::beside &&
        path != InputBytes::standardInput) {
        OutputText co(qfCoordinatesPathFor(path));
        writeDimacsCoordinates(co, graph);
        co.finish();
    }
}

void qfWriteGraph(std::ostream& out, const std::string& name, const qcDirectedGraph& graph,
                  const qcGraphWriteOptions& options)
{
    checkIds(graph, options);
    OutputText text(out, name);
    writeFormat(text, given(options.format, name), graph, options);
}
