// Edge lists: "from to [score]" a line, ids from 0, as the SNAP collection publishes them.
#include "FileFormats.h"
#include "LineFields.h"
#include "LinkBatch.h"
#include "LineSource.h"

qcGraphFile readEdgeList(InputBytes& in, const qcGraphReadOptions& options)
{
    qcGraphFile file;
    LineSource source(in, options.progress);
    const NodeBound nodeLimit = nodeBound(source.size(), options);
    // Room for the links of lines of 8 bytes; room never touched takes no memory.
    file.graph.reserveLinks(static_cast<long>(source.size() / 8));
    LinkBatch links(file.graph);
    std::string_view line;
    while (source.next(line)) {
        std::size_t end = 0;
        while (end < line.size() && line[end] != '#' && line[end] != '%')
            ++end;
        line = line.substr(0, end);  // without its comment
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
        if (needed > file.graph.numNodes())
            growNodes(file.graph, needed);
        links.add(static_cast<long>(from), static_cast<long>(to), score);
    }
    links.flush();
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
