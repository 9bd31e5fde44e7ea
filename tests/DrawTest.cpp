#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qcGraphicList.h"
#include "qcGraphicSimple.h"
#include "qcGraphicText.h"
#include "qcUITablet.h"
#include "support/GraphTestSupport.h"

using qctest::makeGraph;
using Strings = std::vector<std::string>;

namespace {

std::string point(const qcVector<2>& p)
{
    return std::to_string(static_cast<int>(p.x())) + "," + std::to_string(static_cast<int>(p.y()));
}
std::string label(const std::wstring& text, const qcPoint& at)
{
    return std::string(text.begin(), text.end()) + "@" + point(at.vector());
}
std::string segment(const qcLineSeg& s) { return point(s.start()) + "-" + point(s.end()); }

// The list's graphics as "<id>@x,y" for labels and "x,y-x,y" for segments, checking on the way
// that each one is a label or a segment with the colours and format that drawing gives them.
Strings describe(const qcGraphicList& list)
{
    Strings out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_TRUE(list.inForeground(i));
        EXPECT_EQ(list[i]->refCount(), 1) << "the list should be the graphic's only owner";
        if (const auto* t = dynamic_cast<const qcGraphicText*>(list[i].get())) {
            EXPECT_EQ(t->textColor(), qcColor::greenColor());
            EXPECT_EQ(t->markColor(), qcColor::whiteColor());
            EXPECT_EQ(t->format().fontId(), qcUIFormat::defaultFontId());
            EXPECT_EQ(t->format().alignment(), qcUIFormat::Alignment(0));
            EXPECT_EQ(t->offset(), qcVector<2>(0.0, 0.0));
            out.push_back(label(t->text(), t->anchor()));
        } else if (const auto* s = dynamic_cast<const qcGraphicSimple<qcLineSeg>*>(list[i].get())) {
            EXPECT_EQ(s->color(), qcColor::cyanColor());
            out.push_back(segment(s->shape()));
        } else {
            ADD_FAILURE() << "graphic " << i << " is neither a label nor a segment";
        }
    }
    return out;
}

class RecordingTablet : public qcUITablet {
public:
    Strings drawn;
    void drawText(const std::wstring& text, const qcPoint& anchor, const qcColor&, const qcColor&,
                  const qcUIFormat&, const qcVector<2>&) override
    {
        drawn.push_back(label(text, anchor));
    }
    void drawSegment(const qcLineSeg& s, const qcColor&) override { drawn.push_back(segment(s)); }
};

//   0 --> 1 --> 1 (self-link), 0 --> 2; nodes at (0,0), (1,0), (2,0)
qcDirectedGraph sample() { return makeGraph(3, {{0, 1}, {1, 1}, {0, 2}}); }

}  // namespace

TEST(Draw, GraphGivesEachLabelThenItsSegmentsInChainOrder)
{
    const qcDirectedGraph g = sample();
    qcGraphicList list;
    g.draw(list);
    const Strings expected = {"0@0,0", "0,0-2,0", "0,0-1,0", "1@1,0", "1,0-1,0", "2@2,0"};
    EXPECT_EQ(describe(list), expected);
    RecordingTablet tablet;
    g.draw(tablet);
    EXPECT_EQ(tablet.drawn, expected);

    qcGraphicList none;
    qcDirectedGraph().draw(none);
    RecordingTablet empty;
    qcDirectedGraph().draw(empty);
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(empty.drawn.empty());
}

TEST(Draw, NodeFlagsChooseLabelAndLinksAndIgnoreOtherBits)
{
    const qcDirectedGraph g = sample();
    const auto drawn = [&](long node, unsigned long flags) {
        qcGraphicList list;
        g.node(node).draw(list, g, flags);
        RecordingTablet tablet;
        g.node(node).draw(tablet, g, flags);
        EXPECT_EQ(tablet.drawn, describe(list));
        return describe(list);
    };
    EXPECT_EQ(drawn(0, 0), Strings());
    EXPECT_EQ(drawn(2, 2), Strings());
    EXPECT_EQ(drawn(0, 1 | 8), Strings{"0@0,0"});
    EXPECT_EQ(drawn(0, 2 | 4), (Strings{"0,0-2,0", "0,0-1,0"}));
    EXPECT_EQ(drawn(0, ~0ul), (Strings{"0@0,0", "0,0-2,0", "0,0-1,0"}));
    EXPECT_EQ(drawn(1, 3), (Strings{"1@1,0", "1,0-1,0"}));  // a self-link has zero length
}

TEST(Draw, DrawLinkAppendsTheLabelFirstAndRefusesNumbersOutsideTheChain)
{
    const qcDirectedGraph g = sample();
    const qcDirectedGraphNode& n = g.node(0);
    qcGraphicList list;
    n.drawLink(list, g, 1);
    EXPECT_EQ(describe(list), (Strings{"0@0,0", "0,0-1,0"}));
    for (const long bad : {-1L, 2L, 3L}) {
        qcGraphicList failed;
        EXPECT_THROW(n.drawLink(failed, g, bad), qcInvariantFailure) << bad;
        EXPECT_EQ(describe(failed), Strings{"0@0,0"}) << bad;
        RecordingTablet tablet;
        EXPECT_THROW(n.drawLink(tablet, g, bad), qcInvariantFailure) << bad;
        EXPECT_TRUE(tablet.drawn.empty()) << bad;
    }
    RecordingTablet tablet;
    n.drawLink(tablet, g, 0);
    EXPECT_EQ(tablet.drawn, (Strings{"0@0,0", "0,0-2,0"}));
}

TEST(Draw, PathDrawsListedLabelsThenListedSegments)
{
    const qcDirectedGraph g = sample();
    const auto drawn = [&](const qcIndexArray& nodes, const qcIndexArray& links) {
        qcGraphicList list;
        g.drawPath(list, nodes, links);
        RecordingTablet tablet;
        g.drawPath(tablet, nodes, links);
        EXPECT_EQ(tablet.drawn, describe(list));
        return describe(list);
    };
    EXPECT_EQ(drawn({}, {}), Strings());
    EXPECT_EQ(drawn({2, 0}, {}), (Strings{"2@2,0", "0@0,0"}));
    EXPECT_EQ(drawn({0, 1, 1}, {0, 1}), (Strings{"0@0,0", "1@1,0", "1@1,0", "0,0-1,0", "1,0-1,0"}));
}

TEST(Draw, BadIndicesThrowBeforeTheirEntryIsDrawn)
{
    qcDirectedGraph g = sample();
    const auto throwsAfter = [&](const qcIndexArray& nodes, const qcIndexArray& links) {
        qcGraphicList list;
        EXPECT_THROW(g.drawPath(list, nodes, links), qcInvariantFailure);
        RecordingTablet tablet;
        EXPECT_THROW(g.drawPath(tablet, nodes, links), qcInvariantFailure);
        EXPECT_TRUE(tablet.drawn.empty());
        return describe(list);
    };
    EXPECT_EQ(throwsAfter({1, 3, 0}, {0}), Strings{"1@1,0"});
    EXPECT_EQ(throwsAfter({0}, {2, -1}), (Strings{"0@0,0", "0,0-2,0"}));
    EXPECT_EQ(throwsAfter({}, {3}), Strings());

    qcGraphicList list;
    EXPECT_THROW(qcDirectedGraphLink(0, 5).draw(list, g), qcInvariantFailure);
    // A node written back with a foreign firstChild: its chain names no link of this graph.
    g.node(2, makeGraph(1, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}).node(0));
    EXPECT_NO_THROW(g.node(2).draw(list, g, 3));  // the walk stops at the bad index
    EXPECT_THROW(g.node(2).drawLink(list, g, 0), qcInvariantFailure);
    EXPECT_EQ(describe(list), (Strings{"2@0,0", "2@0,0"}));  // at the foreign position
}

TEST(Draw, ListSharesItsGraphicsAndDrawsBackgroundFirst)
{
    qcPtrHandle<qcGraphic> kept;
    {
        qcGraphicList list;
        sample().drawPath(list, {0}, {0});
        kept = list[1];
        EXPECT_EQ(kept->refCount(), 2);
        list.append(kept, false);  // the same segment again, under the label
        RecordingTablet all, front;
        list.draw(all, qcGraphicList::allLayers);
        list.draw(front, qcGraphicList::foregroundLayer);
        EXPECT_EQ(all.drawn, (Strings{"0,0-1,0", "0@0,0", "0,0-1,0"}));
        EXPECT_EQ(front.drawn, (Strings{"0@0,0", "0,0-1,0"}));
    }
    EXPECT_EQ(kept->refCount(), 1);  // the list's references went with it
}
