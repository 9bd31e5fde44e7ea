#include "GraphFiles.h"
#include "LineFields.h"

GraphFile readEdgeList(const std::string& path, const LoadProgressFunction& progress,
                       std::int64_t maxNodes)
{
    GraphFile file;
    file.idBase = 0;
    LineSource source(path, progress);
    const std::int64_t nodeLimit = nodeBound(source.size(), maxNodes);
    std::string_view line;
    while (source.next(line)) {
        const std::size_t hash = line.find('#');
        if (hash != std::string_view::npos)
            line = line.substr(0, hash);
        LineFields fields(line, source);
        if (fields.atEnd())
            continue;
        const std::int64_t from = fields.integer("source node id", 0, maxNodesLimit - 1);
        const std::int64_t to = fields.integer("target node id", 0, maxNodesLimit - 1);
        const double score = fields.atEnd() ? 1.0 : fields.number("score");
        fields.expectEnd("the score");
        // Both ends exist once the graph has grown to the larger id.
        const std::int64_t needed = (from > to ? from : to) + 1;
        checkNodeCount(fields, needed, nodeLimit);
        while (file.graph.numNodes() < needed)
            file.graph.addNode(qcDirectedGraphNode());
        file.graph.addLinkFastUnsafe(static_cast<long>(from), static_cast<long>(to), score);
    }
    file.lines = source.lineNumber();
    return file;
}
