// GraphML written for any reader: directed edges, the score as a double edge key, positions as
// double node keys x and y.
#include "FileFormats.h"

namespace {

// Text of an attribute or element with the five characters XML reserves escaped.
void putEscaped(OutputText& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out << "&amp;"; break;
        case '<': out << "&lt;"; break;
        case '>': out << "&gt;"; break;
        case '"': out << "&quot;"; break;
        case '\'': out << "&apos;"; break;
        default: out << c;
        }
    }
}

void putId(OutputText& out, const qcGraphFileIds* ids, long i)
{
    if (ids != nullptr && ids->named())
        putEscaped(out, ids->names[static_cast<std::size_t>(i)]);
    else
        out << std::int64_t{i + (ids != nullptr ? ids->base : 0)};
}

}  // namespace

void writeGraphml(OutputText& out, const qcDirectedGraph& graph, const qcGraphWriteOptions& options)
{
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<graphml xmlns=\"http://graphml.graphdrawing.org/xmlns\">\n"
           "  <key id=\"x\" for=\"node\" attr.name=\"x\" attr.type=\"double\"/>\n"
           "  <key id=\"y\" for=\"node\" attr.name=\"y\" attr.type=\"double\"/>\n"
           "  <key id=\"score\" for=\"edge\" attr.name=\"";
    putEscaped(out, options.weight);
    out << "\" attr.type=\"double\"/>\n  <graph edgedefault=\"directed\">\n";
    for (long i = 0; i < graph.numNodes(); ++i) {
        const qcVector<2>& p = graph.node(i).position();
        out << "    <node id=\"";
        putId(out, options.ids, i);
        out << "\"><data key=\"x\">" << p.x() << "</data><data key=\"y\">" << p.y() << "</data></node>\n";
    }
    for (long k = 0; k < graph.numLinks(); ++k) {
        const qcDirectedGraphLink& link = graph.link(k);
        out << "    <edge source=\"";
        putId(out, options.ids, link.nodeA());
        out << "\" target=\"";
        putId(out, options.ids, link.nodeB());
        out << "\"><data key=\"score\">" << link.score() << "</data></edge>\n";
    }
    out << "  </graph>\n</graphml>\n";
}
