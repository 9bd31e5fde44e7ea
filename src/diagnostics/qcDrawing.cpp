// Drawing links, nodes, graphs and paths into graphic lists and onto tablets.
#include "diagnostics/qcTabletDrawing.h"
#include "graph/qcChainCursor.h"
#include "qcColor.h"
#include "qcDirectedGraph.h"
#include "qcGraphicList.h"
#include "qcGraphicSimple.h"
#include "qcGraphicText.h"
#include "qcUIFormat.h"
#include "qfStr.h"

namespace {

// The node's id at its position, green with a white anchor mark.
void appendLabel(qcGraphicList& list, const qcDirectedGraphNode& node)
{
    list.append(qcPtrHandle<qcGraphic>(new qcGraphicText(
                    qfStr(node.id()), qcPoint(node.position()), qcColor::greenColor(),
                    qcColor::whiteColor(),
                    qcUIFormat(qcUIFormat::defaultFontId(), qcUIFormat::Alignment(0)),
                    qcVector<2>(0.0, 0.0))),
                true);
}

}  // namespace

void qcDirectedGraphLink::draw(qcGraphicList& list, const qcDirectedGraph& graph) const
{
    // Both lookups throw on a bad end before anything is made.
    const qcLineSeg segment(graph.node(mNodeA).position(), graph.node(mNodeB).position());
    list.append(qcPtrHandle<qcGraphic>(
                    new qcGraphicSimple<qcLineSeg>(segment, qcColor::cyanColor())),
                true);
}

void qcDirectedGraphLink::draw(qcUITablet& tablet, const qcDirectedGraph& graph) const
{
    drawOnTablet(tablet, [&](qcGraphicList& list) { draw(list, graph); });
}

void qcDirectedGraphNode::draw(qcGraphicList& list, const qcDirectedGraph& graph,
                               unsigned long flags) const
{
    if (flags & drawLabel)
        appendLabel(list, *this);
    if (!(flags & drawLinks))
        return;
    // A broken chain ends the segments, as for every walk of a chain.
    for (qcChainCursor c(graph, mFirstChild); c.valid(); c.next())
        c.link().draw(list, graph);
}

void qcDirectedGraphNode::draw(qcUITablet& tablet, const qcDirectedGraph& graph,
                               unsigned long flags) const
{
    drawOnTablet(tablet, [&](qcGraphicList& list) { draw(list, graph, flags); });
}

void qcDirectedGraphNode::drawLink(qcGraphicList& list, const qcDirectedGraph& graph,
                                   long linkNumber) const
{
    appendLabel(list, *this);  // before the test, as callers of the list form expect
    if (linkNumber < 0)
        throw qcInvariantFailure();
    qcChainCursor c(graph, mFirstChild);
    for (long count = 0; c.valid() && count < linkNumber; c.next())
        ++count;
    // The chain ended, or broke off, before position linkNumber; a number equal to the
    // chain's length names no link either.
    if (!c.valid())
        throw qcInvariantFailure();
    c.link().draw(list, graph);
}

void qcDirectedGraphNode::drawLink(qcUITablet& tablet, const qcDirectedGraph& graph,
                                   long linkNumber) const
{
    drawOnTablet(tablet, [&](qcGraphicList& list) { drawLink(list, graph, linkNumber); });
}

void qcDirectedGraph::draw(qcGraphicList& list) const
{
    for (const qcDirectedGraphNode& n : mNodes)
        n.draw(list, *this, qcDirectedGraphNode::drawLabel | qcDirectedGraphNode::drawLinks);
}

void qcDirectedGraph::draw(qcUITablet& tablet) const
{
    drawOnTablet(tablet, [&](qcGraphicList& list) { draw(list); });
}

void qcDirectedGraph::drawPath(qcGraphicList& list, const qcIndexArray& nodes,
                               const qcIndexArray& links) const
{
    // node() and link() throw on an index outside the graph before that entry is drawn.
    for (const std::int32_t n : nodes)
        node(n).draw(list, *this, qcDirectedGraphNode::drawLabel);
    for (const std::int32_t k : links)
        link(k).draw(list, *this);
}

void qcDirectedGraph::drawPath(qcUITablet& tablet, const qcIndexArray& nodes,
                               const qcIndexArray& links) const
{
    drawOnTablet(tablet, [&](qcGraphicList& list) { drawPath(list, nodes, links); });
}
