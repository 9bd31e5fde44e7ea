#include "DotWriter.h"

#include <vector>

#include "NumberText.h"

namespace {
std::vector<bool> marks(std::size_t size, const qcIndexArray& indices)
{
    std::vector<bool> marked(size, false);
    for (const std::int32_t i : indices)
        marked[static_cast<std::size_t>(i)] = true;
    return marked;
}
}  // namespace

void writeDot(std::FILE* out, const LoadedGraph& loaded, const qcIndexArray& pathNodes,
              const qcIndexArray& pathLinks)
{
    const qcDirectedGraph& graph = loaded.graph();
    const std::vector<bool> onPathNode = marks(static_cast<std::size_t>(graph.numNodes()), pathNodes);
    const std::vector<bool> onPathLink = marks(static_cast<std::size_t>(graph.numLinks()), pathLinks);
    const char* highlight = ", color=red, penwidth=3";
    std::fputs("digraph qcgraph {\n  node [shape=circle, fontsize=10];\n", out);
    for (long i = 0; i < graph.numNodes(); ++i) {
        const qcVector<2>& p = graph.node(i).position();
        std::fprintf(out, "  %lld [pos=\"%s,%s!\"%s];\n", static_cast<long long>(loaded.id(i)),
                     numberText(p.x()).c_str(), numberText(p.y()).c_str(),
                     onPathNode[static_cast<std::size_t>(i)] ? highlight : "");
    }
    for (long k = 0; k < graph.numLinks(); ++k) {
        const qcDirectedGraphLink& link = graph.link(k);
        std::fprintf(out, "  %lld -> %lld [label=\"%s\"%s];\n",
                     static_cast<long long>(loaded.id(link.nodeA())),
                     static_cast<long long>(loaded.id(link.nodeB())),
                     numberText(link.score()).c_str(),
                     onPathLink[static_cast<std::size_t>(k)] ? highlight : "");
    }
    std::fputs("}\n", out);
}
