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
        EXPECT_EQ(color, qcColor::greenColor());
        EXPECT_EQ(mark, qcColor::whiteColor());
        EXPECT_EQ(offset, qcVector<2>());
        EXPECT_EQ(format.fontId(), qcUIFormat::defaultFontId());
        EXPECT_EQ(format.alignment(), 0);
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
    const struct { const char* name; Strings got, want; } cases[] = {
        {"graph", drawn([&](auto& to) { g.draw(to); }), {"0@0,0", "0,0-2,0", "0,0-1,0", "1@1,0", "1,0-1,0", "2@2,0"}},
        {"empty graph", drawn([](auto& to) { qcDirectedGraph().draw(to); }), {}},
        {"link", drawn([&](auto& to) { g.link(0).draw(to, g); }), {"0,0-1,0"}},
        {"link to no node", drawn([&](auto& to) { qcDirectedGraphLink(0, 5).draw(to, g); }), {"throws"}},
        {"node, no flags", drawn(node(0, 0)), {}},
        {"node without links", drawn(node(2, 2)), {}},
        {"label, other bits ignored", drawn(node(0, 1 | 8)), {"0@0,0"}},
        {"links, other bits ignored", drawn(node(0, 2 | 4)), {"0,0-2,0", "0,0-1,0"}},
        {"all bits", drawn(node(0, ~0ul)), {"0@0,0", "0,0-2,0", "0,0-1,0"}},
        {"self-link, zero length", drawn(node(1, 3)), {"1@1,0", "1,0-1,0"}},
        {"chain position 0", drawn(link(0)), {"0@0,0", "0,0-2,0"}},
        {"chain position 1", drawn(link(1)), {"0@0,0", "0,0-1,0"}},
        {"negative position", drawn(link(-1)), {"0@0,0", "throws"}},
        {"position = chain length", drawn(link(2)), {"0@0,0", "throws"}},
        {"beyond the chain", drawn(link(3)), {"0@0,0", "throws"}},
        {"empty path", drawn(path({}, {})), {}},
        {"nodes only", drawn(path({2, 0}, {})), {"2@2,0", "0@0,0"}},
        {"labels, then segments", drawn(path({0, 1, 1}, {0, 1})), {"0@0,0", "1@1,0", "1@1,0", "0,0-1,0", "1,0-1,0"}},
        {"bad node", drawn(path({1, 3, 0}, {0})), {"1@1,0", "throws"}},
        {"bad link", drawn(path({0}, {2, -1})), {"0@0,0", "0,0-2,0", "throws"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
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
