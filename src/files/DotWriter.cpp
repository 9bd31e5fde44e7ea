// Graphviz DOT, written only: a digraph with pinned positions, for "neato -n2".
#include <vector>

#include "FileFormats.h"

namespace {

std::vector<bool> marks(long size, const qcIndexArray& indices)
{
    std::vector<bool> marked(static_cast<std::size_t>(size), false);
    for (const std::int32_t i : indices)
        if (i >= 0 && i < size)
            marked[static_cast<std::size_t>(i)] = true;
    return marked;
}

// A node's name: its number as it stands, or a named id in quotes with '"' and '\' escaped.
void putName(OutputText& out, const qcGraphFileIds* ids, long i)
{
    if (ids == nullptr || !ids->named()) {
        out << std::int64_t{i + (ids != nullptr ? ids->base : 0)};
        return;
    }
    out << '"';
    for (const char c : ids->names[static_cast<std::size_t>(i)]) {
        if (c == '"' || c == '\\')
            out << '\\';
        out << c;
    }
    out << '"';
}

}  // namespace

void writeDot(OutputText& out, const qcDirectedGraph& graph, const qcGraphWriteOptions& options)
{
    const std::vector<bool> onPathNode = marks(graph.numNodes(), options.highlightNodes);
    const std::vector<bool> onPathLink = marks(graph.numLinks(), options.highlightLinks);
    const char* highlight = ", color=red, penwidth=3";
    out << "digraph qcgraph {\n  node [shape=circle, fontsize=10];\n";
    for (long i = 0; i < graph.numNodes(); ++i) {
        const qcVector<2>& p = graph.node(i).position();
        out << "  ";
        putName(out, options.ids, i);
        out << " [pos=\"" << p.x() << ',' << p.y() << "!\"" << (onPathNode[static_cast<std::size_t>(i)] ? highlight : "")
            << "];\n";
    }
    for (long k = 0; k < graph.numLinks(); ++k) {
        const qcDirectedGraphLink& link = graph.link(k);
        out << "  ";
        putName(out, options.ids, link.nodeA());
        out << " -> ";
        putName(out, options.ids, link.nodeB());
        out << " [label=\"" << link.score() << '"' << (onPathLink[static_cast<std::size_t>(k)] ? highlight : "")
            << "];\n";
    }
    out << "}\n";
}
