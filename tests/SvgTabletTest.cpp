#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
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

// A small XML reader for what the tablet writes: a prolog, elements with quoted attributes,
// character data with the five predefined entities. Fails the test on anything malformed.
std::vector<Element> parseXml(const std::string& doc)
{
    std::vector<Element> elements;
    std::vector<std::size_t> open;
    std::size_t at = doc.rfind("<?xml", 0) == 0 ? doc.find("?>") + 2 : 0;
    const auto resolve = [&](const std::string& raw) {
        static const std::map<std::string, char> entities = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        std::string out;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const std::size_t end = raw.find(';', i);
            const auto e = end == std::string::npos ? entities.end()
                                                    : entities.find(raw.substr(i + 1, end - i - 1));
            if (e == entities.end()) {
                ADD_FAILURE() << "bare & at " << raw.substr(i);
                out += '&';
                continue;
            }
            out += e->second;
            i = end;
        }
        return out;
    };
    while (at < doc.size()) {
        const std::size_t lt = doc.find('<', at);
        const std::string data = doc.substr(at, lt - at);
        if (open.empty() && data.find_first_not_of(" \n") != std::string::npos)
            ADD_FAILURE() << "text outside the root: " << data;
        if (!open.empty())
            elements[open.back()].text += resolve(data);
        if (lt == std::string::npos)
            break;
        const std::size_t gt = doc.find('>', lt);
        if (gt == std::string::npos || gt == lt + 1) {
            ADD_FAILURE() << "malformed tag at " << doc.substr(lt);
            break;
        }
        std::string tag = doc.substr(lt + 1, gt - lt - 1);
        at = gt + 1;
        if (tag[0] == '/') {
            EXPECT_FALSE(open.empty());
            EXPECT_EQ(elements[open.back()].name, tag.substr(1));
            open.pop_back();
            continue;
        }
        const bool empty = tag.back() == '/';
        if (empty)
            tag.pop_back();
        std::istringstream in(tag);
        Element e{"", {}, "", static_cast<int>(open.size())};
        in >> e.name;
        for (std::string name; std::getline(in >> std::ws, name, '=');) {
            std::string value;
            EXPECT_EQ(in.get(), '"') << name;
            std::getline(in, value, '"');
            EXPECT_TRUE(e.attributes.emplace(name, resolve(value)).second) << "twice: " << name;
        }
        elements.push_back(e);
        if (!empty)
            open.push_back(elements.size() - 1);
    }
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
