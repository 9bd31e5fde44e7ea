#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "qcSvgTablet.h"
#include "support/GraphTestSupport.h"

namespace {

std::string svgOf(const qcSvgTablet& tablet)
{
    std::ostringstream out;
    tablet.write(out);
    return out.str();
}

// The names of the opening tags in document order, then every part that must occur in it.
void expectSvg(const std::string& svg, const std::string& tags, const std::vector<std::string>& parts)
{
    std::string found;
    for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1))
        if (std::isalpha(static_cast<unsigned char>(svg[at + 1])))
            found += svg.substr(at + 1, svg.find_first_of(" />", at) - at - 1) + " ";
    EXPECT_EQ(found, tags);
    for (const std::string& part : parts)
        EXPECT_NE(svg.find(part), std::string::npos) << part;
}

TEST(SvgTablet, LinesUnderLabelsTurnedUpAndFramed)
{
    //   2
    //   |
    //   0 --> 1     nodes at (0,0), (10,0), (0,20): the longer side spans 760 pixels
    qcDirectedGraph g = qctest::makeGraph(2, {{0, 1}});
    g.node(1, qctest::nodeAt(10, 0));
    g.addNode(qctest::nodeAt(0, 20));
    g.addLink(qcDirectedGraphLink(0, 2));
    qcSvgTablet tablet;
    g.draw(tablet);
    expectSvg(svgOf(tablet), "svg rect line line g circle text g circle text g circle text ",
              {"<?xml", "viewBox=\"0 0 460.00 840.00\"", "<line x1=\"40.00\" y1=\"800.00\" x2=\"40.00\" y2=\"40.00\" stroke=\"#00c8e6\"",
               "<line x1=\"40.00\" y1=\"800.00\" x2=\"420.00\" y2=\"800.00\"", "fill=\"#ffffff\"/><text x=\"45.00\" y=\"795.00\" fill=\"#50dc64\"",
               "</svg>\n"});
}

TEST(SvgTablet, TextIsEscapedUtf8AndUnfitDrawingsAreLeftOut)
{
    qcSvgTablet tablet;
    expectSvg(svgOf(tablet), "svg rect ", {"viewBox=\"0 0 80.00 80.00\""});
    const qcUIFormat centred(qcUIFormat::defaultFontId(), qcUIFormat::centred);
    const qcColor& c = qcColor::cyanColor();
    tablet.drawText(L"<a&b> \"q\" 'x' \u00e9\u20ac\U0001F600\x01\uFFFE\t", qcPoint(), c, c, centred, qcVector<2>());
    tablet.drawSegment(qcLineSeg(qcVector<2>(NAN, 0), qcVector<2>()), c);
    tablet.drawText(L"far", qcPoint(qcVector<2>(INFINITY, 0)), c, c, centred, qcVector<2>());
    tablet.drawText(L"pushed", qcPoint(), c, c, centred, qcVector<2>(0, NAN));
    EXPECT_THROW(tablet.lineWidth(0.0), qcInvariantFailure);
    EXPECT_THROW(tablet.lineWidth(INFINITY), qcInvariantFailure);
    tablet.lineWidth(4.0);
    tablet.drawSegment(qcLineSeg(qcVector<2>(), qcVector<2>(1e308, -1e308)), c);
    const std::string svg = svgOf(tablet);
    expectSvg(svg, "svg rect line g circle text ",
              {">&lt;a&amp;b&gt; &quot;q&quot; &apos;x&apos; \xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\xef\xbf\xbd\xef\xbf\xbd\t</text>",
               "text-anchor=\"middle\"", "x1=\"40.00\" y1=\"40.00\" x2=\"800.00\" y2=\"800.00\" stroke=\"#00c8e6\" stroke-width=\"4.00\""});

    const std::string path = ::testing::TempDir() + "qcgraph-svg-tablet-test.svg";
    ASSERT_TRUE(tablet.save(path));
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), svg);
    std::remove(path.c_str());
    EXPECT_FALSE(tablet.save("/nonexistent-directory/picture.svg"));
}

}  // namespace
