// The text trace of links, nodes and graphs on the console trace stream.
#include <string>

#include "graph/qcChainCursor.h"
#include "qcConStream.h"
#include "qcDirectedGraph.h"
#include "qfStr.h"

namespace {
// Every piece of the trace is built whole, written in one go and flushed, so that trace text
// of other writers can only fall between pieces.
void traceText(const std::wstring& text)
{
    qcConStream& out = qfNoxOut();
    out << text;
    out.flush();
}
}  // namespace

void qcDirectedGraphLink::mTrace() const
{
    traceText(L"link " + qfStr(id()) + L": " + qfStr(nodeA()) + L" to " + qfStr(nodeB()) +
              L" score " + qfStr(score()) + L"\n");
}

void qcDirectedGraphNode::mTrace(const qcDirectedGraph& graph) const
{
    traceText(L"Node " + qfStr(id()) + L" links:\n");
    // A broken chain (an index outside the link array) just ends the list.
    for (qcChainCursor c(graph, firstChild()); c.valid(); c.next())
        c.link().mTrace();
}

void qcDirectedGraph::mTrace() const
{
    traceText(L"\n " + qfStr(static_cast<int>(mNodes.size())) + L" nodes\n");
    for (const qcDirectedGraphNode& n : mNodes) {
        traceText(L"\n\n");
        n.mTrace(*this);
    }
}
