// Edge lists: "from to [score]" a line, ids from 0, as the SNAP collection publishes them.
#include "FileFormats.h"
#include "LineFields.h"
#include "LineSource.h"

qcGraphFile readEdgeList(InputBytes& in, const qcGraphReadOptions& options)
{
    qcGraphFile file;
    LineSource source(in, options.progress);
    const std::int64_t nodeLimit = nodeBound(source.size(), options.maxNodes);
    std::string_view line;
    while (source.next(line)) {
        const std::size_t comment = line.find_first_of("#%");
        if (comment != std::string_view::npos)
            line = line.substr(0, comment);
        LineFields fields(line, source);
        if (fields.atEnd())
            continue;
        const std::int64_t from = fields.integer("source node id", 0, qcMaxNodesLimit - 1);
        const std::int64_t to = fields.integer("target node id", 0, qcMaxNodesLimit - 1);
        const double score = fields.atEnd() ? 1.0 : fields.number("score");
        fields.expectEnd("the score");
        // Both ends exist once the graph has grown to the larger id.
        const std::int64_t needed = (from > to ? from : to) + 1;
        checkNodeCount(fields, needed, nodeLimit);
        growNodes(file.graph, needed);
        file.graph.addLinkFastUnsafe(static_cast<long>(from), static_cast<long>(to), score);
    }
    file.lines = source.lineNumber();
    return file;
}

void writeEdgeList(OutputText& out, const qcDirectedGraph& graph)
{
    out << "# " << std::int64_t{graph.numNodes()} << " nodes, " << std::int64_t{graph.numLinks()}
        << " links: from to score\n";
    for (long k = 0; k < graph.numLinks(); ++k) {
        const qcDirectedGraphLink& link = graph.link(k);
        out << std::int64_t{link.nodeA()} << ' ' << std::int64_t{link.nodeB()} << ' ' << link.score() << '\n';
    }
}
