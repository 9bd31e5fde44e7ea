#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "qcSvgTablet.h"
#include "support/GraphTestSupport.h"

using qctest::nodeAt;

namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // character data, entities resolved
    int depth;
    double number(const std::string& attribute) const { return std::stod(attributes.at(attribute)); }
};

// Entities resolved; fails the test on a bare '&' or an unknown entity.
std::string resolved(const std::string& raw)
{
    static const std::regex entity("&(amp|lt|gt|quot|apos);|&");
    static const std::map<std::string, std::string> chars = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
    std::string out;
    std::sregex_iterator it(raw.begin(), raw.end(), entity), end;
    std::size_t at = 0;
    for (; it != end; ++it) {
        EXPECT_TRUE((*it)[1].matched) << "bare & in " << raw;
        out += raw.substr(at, static_cast<std::size_t>(it->position()) - at) +
               ((*it)[1].matched ? chars.at((*it)[1].str()) : "&");
        at = static_cast<std::size_t>(it->position() + it->length());
    }
    return out + raw.substr(at);
}

// A small XML reader for what the tablet writes: a prolog, then elements with quoted
// attributes and character data. Fails the test on a malformed tag, stray '<' or unbalanced
// nesting.
std::vector<Element> parseXml(const std::string& doc)
{
    static const std::regex tag(R"re(<(/?)([\w]+)((?:\s+[\w:-]+="[^"<]*")*)\s*(/?)>)re");
    static const std::regex attribute(R"re(([\w:-]+)="([^"]*)")re");
    const std::string prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    EXPECT_EQ(doc.substr(0, prolog.size()), prolog);
    std::vector<Element> elements;
    std::vector<std::size_t> open;
    std::size_t at = prolog.size();
    for (std::smatch m; std::regex_search(doc.begin() + static_cast<long>(at), doc.end(), m, tag);) {
        const std::string data = doc.substr(at, static_cast<std::size_t>(m.position()));
        EXPECT_EQ(data.find('<'), std::string::npos) << "malformed tag in " << data;
        if (!open.empty())
            elements[open.back()].text += resolved(data);
        at += static_cast<std::size_t>(m.position() + m.length());
        if (m[1].length() > 0) {
            EXPECT_FALSE(open.empty()) << "</" << m[2] << "> closes nothing";
            if (open.empty())
                return elements;
            EXPECT_EQ(elements[open.back()].name, m[2].str());
            open.pop_back();
            continue;
        }
        EXPECT_TRUE(!open.empty() || elements.empty()) << "a second root";
        Element e{m[2].str(), {}, "", static_cast<int>(open.size())};
        const std::string attributes = m[3].str();
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute), end; a != end; ++a)
            e.attributes[(*a)[1].str()] = resolved((*a)[2].str());
        elements.push_back(e);
        if (m[4].length() == 0)
            open.push_back(elements.size() - 1);
    }
    EXPECT_EQ(doc.substr(at), "\n");
    EXPECT_TRUE(open.empty()) << "unclosed elements";
    return elements;
}

std::string svgOf(const qcSvgTablet& tablet)
{
    std::ostringstream out;
    tablet.write(out);
    return out.str();
}

}  // namespace

TEST(SvgTablet, GraphPictureIsWellFormedTurnedUpAndFramed)
{
    //   2
    //   |
    //   0 --> 1     nodes at (0,0), (10,0), (0,20)
    qcDirectedGraph g;
    g.addNode(nodeAt(0, 0));
    g.addNode(nodeAt(10, 0));
    g.addNode(nodeAt(0, 20));
    g.addLink(qcDirectedGraphLink(0, 1));
    g.addLink(qcDirectedGraphLink(0, 2));
    qcSvgTablet tablet;
    g.draw(tablet);
    const std::vector<Element> xml = parseXml(svgOf(tablet));
    ASSERT_FALSE(xml.empty());
    const Element& svg = xml.front();
    // The longer side, 20 units, spans 760 pixels; 40 pixels of margin all round.
    EXPECT_EQ(svg.attributes.at("viewBox"), "0 0 460.00 840.00");
    std::vector<const Element*> top;
    for (const Element& e : xml)
        if (e.depth == 1)
            top.push_back(&e);
    ASSERT_EQ(top.size(), 6u);  // the background, then one element per graphic
    const std::vector<std::string> kinds = {"rect", "line", "line", "g", "g", "g"};
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(top[i]->name, kinds[i]);
    const Element& up = *top[1];     // 0 --> 2: straight up in the plane, up on the screen
    const Element& right = *top[2];  // 0 --> 1
    EXPECT_EQ(up.number("x1"), up.number("x2"));
    EXPECT_EQ(up.number("y1") - up.number("y2"), 760.0);
    EXPECT_EQ(right.number("x2") - right.number("x1"), 380.0);
    EXPECT_EQ(right.number("y1"), right.number("y2"));
    EXPECT_EQ(xml[6].text, "0");  // the first text, after two lines and a circle
    for (const Element& e : xml)
        for (const auto& [x, y] : {std::pair{"x1", "y1"}, {"x2", "y2"}, {"cx", "cy"}, {"x", "y"}})
            if (e.attributes.count(x)) {
                EXPECT_GE(e.number(x), 0.0) << e.name;
                EXPECT_LE(e.number(x), 460.0) << e.name;
                EXPECT_GE(e.number(y), 0.0) << e.name;
                EXPECT_LE(e.number(y), 840.0) << e.name;
            }
}

TEST(SvgTablet, TextIsEscapedUtf8AndUnfitDrawingsAreLeftOut)
{
    qcSvgTablet tablet;
    EXPECT_EQ(parseXml(svgOf(tablet)).front().attributes.at("viewBox"), "0 0 80.00 80.00");
    const qcUIFormat format(qcUIFormat::defaultFontId(), qcUIFormat::centred);
    tablet.drawText(L"<a&b> \"q\" 'x' \u00e9\U0001F600\x01", qcPoint(), qcColor::greenColor(),
                    qcColor::whiteColor(), format, qcVector<2>());
    tablet.drawSegment(qcLineSeg(qcVector<2>(NAN, 0), qcVector<2>()), qcColor::cyanColor());
    tablet.drawText(L"far", qcPoint(qcVector<2>(INFINITY, 0)), qcColor::greenColor(),
                    qcColor::whiteColor(), format, qcVector<2>());
    EXPECT_THROW(tablet.lineWidth(0.0), qcInvariantFailure);
    tablet.lineWidth(4.0);
    tablet.drawSegment(qcLineSeg(qcVector<2>(), qcVector<2>(1e308, -1e308)), qcColor::cyanColor());
    const std::string svg = svgOf(tablet);
    const std::vector<Element> xml = parseXml(svg);
    // svg, rect, line, g (circle, text): the NaN and infinite ones are out, the wide one is in.
    ASSERT_EQ(xml.size(), 6u);
    EXPECT_EQ(xml[5].text, "<a&b> \"q\" 'x' \xc3\xa9\xf0\x9f\x98\x80\xef\xbf\xbd");
    EXPECT_EQ(xml[5].attributes.at("fill"), "#50dc64");
    EXPECT_EQ(xml[5].attributes.at("text-anchor"), "middle");
    EXPECT_EQ(xml[2].attributes.at("stroke-width"), "4.00");
    EXPECT_EQ(xml[2].number("x2") - xml[2].number("x1"), 760.0);

    const std::string path = ::testing::TempDir() + "qcgraph-svg-tablet-test.svg";
    ASSERT_TRUE(tablet.save(path));
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), svg);
    std::remove(path.c_str());
    EXPECT_FALSE(tablet.save("/nonexistent-directory/picture.svg"));
}
