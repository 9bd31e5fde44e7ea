#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qcGraphicList.h"
#include "qcUITablet.h"
#include "support/GraphTestSupport.h"

using qctest::makeGraph;
using Strings = std::vector<std::string>;

namespace {

// Records labels as "<id>@x,y" and segments as "x,y-x,y", checking the colours and format
// that drawing gives them.
class RecordingTablet : public qcUITablet {
public:
    Strings drawn;
    void drawText(const std::wstring& text, const qcPoint& at, const qcColor& color, const qcColor& mark,
                  const qcUIFormat& format, const qcVector<2>& offset) override
    {
        EXPECT_TRUE(color == qcColor::greenColor() && mark == qcColor::whiteColor() && offset == qcVector<2>() &&
                    format.fontId() == qcUIFormat::defaultFontId() && format.alignment() == 0);
        drawn.push_back(std::string(text.begin(), text.end()) + "@" + point(at.vector()));
    }
    void drawSegment(const qcLineSeg& s, const qcColor& color) override
    {
        EXPECT_EQ(color, qcColor::cyanColor());
        drawn.push_back(point(s.start()) + "-" + point(s.end()));
    }
    static std::string point(const qcVector<2>& p) { return std::to_string(int(p.x())) + "," + std::to_string(int(p.y())); }
};

// Draws through the list form (whose graphics must all be in the foreground and owned by the
// list alone) and the tablet form, which must agree, also when drawing throws: the tablet then
// gets nothing, and "throws" ends what the list received before.
template <class Draw>
Strings drawn(const Draw& draw)
{
    qcGraphicList list;
    RecordingTablet fromList, tablet;
    bool threw = false;
    try {
        draw(list);
        draw(tablet);
    } catch (const qcInvariantFailure&) {
        threw = true;
        EXPECT_THROW(draw(tablet), qcInvariantFailure);
    }
    list.draw(fromList, qcGraphicList::foregroundLayer);
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i]->refCount(), 1);
    EXPECT_EQ(tablet.drawn, threw ? Strings() : fromList.drawn);
    EXPECT_EQ(fromList.drawn.size(), list.size());
    if (threw) fromList.drawn.push_back("throws");
    return fromList.drawn;
}

}  // namespace

TEST(Draw, EveryFormAppendsLabelsAndSegmentsInItsOrder)
{
    //   0 --> 1 --> 1 (self-link), 0 --> 2; nodes at (0,0), (1,0), (2,0)
    const qcDirectedGraph g = makeGraph(3, {{0, 1}, {1, 1}, {0, 2}});
    const auto node = [&](long i, unsigned long flags) { return [&, i, flags](auto& to) { g.node(i).draw(to, g, flags); }; };
    const auto link = [&](long k) { return [&, k](auto& to) { g.node(0).drawLink(to, g, k); }; };
    const auto path = [&](qcIndexArray n, qcIndexArray l) { return [&, n, l](auto& to) { g.drawPath(to, n, l); }; };
    const std::pair<Strings, Strings> cases[] = {
        {drawn([&](auto& to) { g.draw(to); }), {"0@0,0", "0,0-2,0", "0,0-1,0", "1@1,0", "1,0-1,0", "2@2,0"}},
        {drawn([](auto& to) { qcDirectedGraph().draw(to); }), {}},
        {drawn([&](auto& to) { g.link(0).draw(to, g); }), {"0,0-1,0"}},
        {drawn([&](auto& to) { qcDirectedGraphLink(0, 5).draw(to, g); }), {"throws"}},
        {drawn(node(0, 0)), {}},
        {drawn(node(2, 2)), {}},
        {drawn(node(0, 1 | 8)), {"0@0,0"}},
        {drawn(node(0, 2 | 4)), {"0,0-2,0", "0,0-1,0"}},
        {drawn(node(0, ~0ul)), {"0@0,0", "0,0-2,0", "0,0-1,0"}},
        {drawn(node(1, 3)), {"1@1,0", "1,0-1,0"}},  // a self-link has zero length
        {drawn(link(0)), {"0@0,0", "0,0-2,0"}},
        {drawn(link(1)), {"0@0,0", "0,0-1,0"}},
        {drawn(link(-1)), {"0@0,0", "throws"}},
        {drawn(link(2)), {"0@0,0", "throws"}},
        {drawn(link(3)), {"0@0,0", "throws"}},
        {drawn(path({}, {})), {}},
        {drawn(path({2, 0}, {})), {"2@2,0", "0@0,0"}},
        {drawn(path({0, 1, 1}, {0, 1})), {"0@0,0", "1@1,0", "1@1,0", "0,0-1,0", "1,0-1,0"}},
        {drawn(path({1, 3, 0}, {0})), {"1@1,0", "throws"}},
        {drawn(path({0}, {2, -1})), {"0@0,0", "0,0-2,0", "throws"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}

TEST(Draw, ListSharesItsGraphicsAndDrawsBackgroundFirst)
{
    qcGraphicList list;
    makeGraph(2, {{0, 1}}).drawPath(list, {0}, {0});
    list.append(list[1], false);                  // the same segment again, under the label
    list.append(qcPtrHandle<qcGraphic>(), true);  // skipped
    RecordingTablet all, back;
    list.draw(all, qcGraphicList::allLayers);
    list.draw(back, qcGraphicList::backgroundLayer);
    EXPECT_EQ(all.drawn, (Strings{"0,0-1,0", "0@0,0", "0,0-1,0"}));
    EXPECT_EQ(back.drawn, Strings{"0,0-1,0"});
    EXPECT_EQ(list[1]->refCount(), 2);
}
