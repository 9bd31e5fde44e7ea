#include "GraphFiles.h"

#include <algorithm>

#include "LineFields.h"

bool fileNameEndsWith(const std::string& path, const std::string& tail)
{
    return path.size() >= tail.size() &&
           path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}

GraphFormat formatForPath(const std::string& path)
{
    return fileNameEndsWith(path, ".gr") ? GraphFormat::dimacs : GraphFormat::edges;
}

std::string coordinatesPathFor(const std::string& graphPath)
{
    if (fileNameEndsWith(graphPath, ".gr"))
        return graphPath.substr(0, graphPath.size() - 3) + ".co";
    return graphPath + ".co";
}

std::int64_t nodeBound(std::uint64_t bytes, std::int64_t maxNodes)
{
    if (maxNodes != nodesBySize)
        return maxNodes;
    return static_cast<std::int64_t>(std::min<std::uint64_t>(
        std::max<std::uint64_t>(bytes, nodesFloor), static_cast<std::uint64_t>(maxNodesLimit)));
}

void checkNodeCount(const LineFields& fields, std::int64_t nodes, std::int64_t bound)
{
    if (nodes > bound)
        fields.fail("needs " + std::to_string(nodes) + " nodes, more than the " +
                    std::to_string(bound) + " allowed for a file of its size (--max-nodes N" +
                    " allows more)");
}

GraphFile readGraphFile(const std::string& path, GraphFormat format,
                        const LoadProgressFunction& progress, std::int64_t maxNodes)
{
    GraphFile file = format == GraphFormat::dimacs ? readDimacsGraph(path, progress, maxNodes)
                                                   : readEdgeList(path, progress, maxNodes);
    if (file.graph.numNodes() == 0)
        throw GraphFileError(LineSource::nameOf(path) + ": no nodes (an empty graph)");
    return file;
}
