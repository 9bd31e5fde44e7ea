// What the sample map's picture in the tool's tests does not show: texts that need escaping,
// drawings that cannot be placed, widths that cannot be drawn, an empty picture.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "NearestAnchor.h"
#include "qcSvgTablet.h"
#include "support/GraphTestSupport.h"

TEST(SvgTablet, TextIsEscapedUtf8AndUnfitDrawingsAreLeftOut)
{
    qcSvgTablet tablet;
    const qcUIFormat centred(qcUIFormat::defaultFontId(), qcUIFormat::centred);
    const qcColor& c = qcColor::cyanColor();
    tablet.drawText(L"<a&b> \"q\" 'x' \u00e9\u20ac\U0001F600\x01\uFFFE\uFFFF\t", qcPoint(), c, c, centred, qcVector<2>());
    tablet.drawSegment(qcLineSeg(qcVector<2>(NAN, 0), qcVector<2>()), c);
    tablet.drawText(L"far", qcPoint(qcVector<2>(INFINITY, 0)), c, c, centred, qcVector<2>());
    tablet.drawText(L"pushed", qcPoint(), c, c, centred, qcVector<2>(0, NAN));
    tablet.drawText(L"o", qcPoint(), c, c, qcUIFormat(qcUIFormat::defaultFontId(), qcUIFormat::aboveRight), qcVector<2>(3, 4));
    EXPECT_THROW(tablet.lineWidth(0.0), qcInvariantFailure);
    EXPECT_THROW(tablet.lineWidth(INFINITY), qcInvariantFailure);
    EXPECT_THROW(tablet.style({0.0, true, false, false}), qcInvariantFailure);
    tablet.lineWidth(4.0);
    tablet.drawSegment(qcLineSeg(qcVector<2>(), qcVector<2>(1e308, -1e308)), c);
    std::ostringstream out;
    tablet.write(out);
    const std::string svg = out.str();
    std::string tags;  // the opening tags in document order
    for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1))
        if (std::isalpha(static_cast<unsigned char>(svg[at + 1])))
            tags += svg.substr(at + 1, svg.find_first_of(" />", at) - at - 1) + " ";
    EXPECT_EQ(tags, "svg rect line g circle text g circle text ");
    for (const char* part : {">&lt;a&amp;b&gt; &quot;q&quot; &apos;x&apos; \xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\t</text>",
                             "text-anchor=\"middle\"", "<text x=\"48.00\" y=\"31.00\"", "x1=\"40.00\" y1=\"40.00\" x2=\"800.00\" y2=\"800.00\" stroke=\"#00c8e6\" stroke-width=\"4.00\""})
        EXPECT_NE(svg.find(part), std::string::npos) << part;

    std::ostringstream empty, away;
    qcSvgTablet().write(empty);
    EXPECT_NE(empty.str().find("viewBox=\"0 0 80.00 80.00\""), std::string::npos);
    qcSvgTablet framed;  // the frame starts at the least corner drawn, not at the origin
    framed.drawSegment(qcLineSeg(qcVector<2>(10, 20), qcVector<2>(30, 60)), c);
    framed.write(away);
    EXPECT_NE(away.str().find("x1=\"40.00\" y1=\"800.00\" x2=\"420.00\" y2=\"40.00\""), std::string::npos) << away.str();
}

TEST(SvgTablet, LabelRoomIsTheDistanceToTheNearestOtherPlace)
{
    // The plane is searched in squares of 4, ring by ring. Each pair lies two squares apart, to
    // the right and above; then a pair five apart, the outermost ring for a reach of 20, and a
    // pair in one square. The two points at (0, 0) are one place.
    const double d = std::hypot(9.0, 0.5), far = 220.1 - 203.9, near = std::hypot(1.0, 1.0);
    EXPECT_EQ(nearestOtherPoint({qcVector<2>(0, 0), qcVector<2>(9, 0.5), qcVector<2>(100, 100), qcVector<2>(100.5, 109), qcVector<2>(0, 0),
                                 qcVector<2>(203.9, 0), qcVector<2>(220.1, 0), qcVector<2>(0, 40), qcVector<2>(300, 0), qcVector<2>(301, 1)}, 20.0),
              (std::vector<double>{d, d, d, d, d, far, far, 20.0, near, near}));
}
