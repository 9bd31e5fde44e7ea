#include "GraphFiles.h"

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

GraphFile readGraphFile(const std::string& path, GraphFormat format,
                        const LoadProgressFunction& progress, std::int64_t maxNodes)
{
    return format == GraphFormat::dimacs ? readDimacsGraph(path, progress, maxNodes)
                                         : readEdgeList(path, progress, maxNodes);
}
