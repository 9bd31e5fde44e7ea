#include "qcSvgTablet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <ostream>

#include "NearestAnchor.h"
#include "qcException.h"
#include "Utf8.h"

namespace {

constexpr double kMargin = 40.0;   // pixels round the drawing, room for the labels
constexpr double kLabelGap = 5.0;  // pixels between an anchor and its text placed aboveRight
constexpr double kCharWidth = 7.5;  // pixels of a character of the 13-pixel font, about
constexpr double kDotRadius = 3.0;  // of an anchor with its text
constexpr const char* kBackground = "#1b1d2a";

bool finite(const qcVector<2>& v) { return std::isfinite(v.x()) && std::isfinite(v.y()); }

// Locale-independent, two decimals: enough for pixels. Only a text pushed far off by a huge
// offset reaches the clamp.
std::string number(double value)
{
    value = std::isnan(value) ? 0.0 : std::clamp(value, -1.0e9, 1.0e9);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

std::string colorText(const qcColor& c)
{
    static const char digits[] = "0123456789abcdef";
    std::string text = "#";
    for (const unsigned part : {c.red(), c.green(), c.blue()}) {
        text += digits[part >> 4];
        text += digits[part & 15];
    }
    return text;
}

// Text content as UTF-8 with XML's special characters escaped; characters that XML does not
// allow at all become U+FFFD.
std::string escaped(const std::wstring& text)
{
    std::string out;
    for (const wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        switch (c) {
        case U'&': out += "&amp;"; break;
        case U'<': out += "&lt;"; break;
        case U'>': out += "&gt;"; break;
        case U'"': out += "&quot;"; break;
        case U'\'': out += "&apos;"; break;
        default:
            const bool allowed = c >= 0x20 ? c != 0xFFFE && c != 0xFFFF
                                           : c == U'\t' || c == U'\n' || c == U'\r';
            appendUtf8(out, allowed ? c : 0xFFFD);
        }
    }
    return out;
}

// Maps the plane of the drawing onto the picture: scaled, framed, y turned down. It works on
// halved coordinates, so that ends far apart (1e308 and -1e308) still have a finite distance.
class PictureFrame {
public:
    PictureFrame(const std::vector<qcVector<2>>& points, double span)
    {
        if (points.empty())
            return;
        mMinX = mMaxX = points.front().x() / 2;
        mMinY = mMaxY = points.front().y() / 2;
        for (const qcVector<2>& p : points) {
            mMinX = std::min(mMinX, p.x() / 2);
            mMaxX = std::max(mMaxX, p.x() / 2);
            mMinY = std::min(mMinY, p.y() / 2);
            mMaxY = std::max(mMaxY, p.y() / 2);
        }
        const double scale = span / std::max(mMaxX - mMinX, mMaxY - mMinY);
        if (std::isfinite(scale))  // not for a single point, nor a span too small to divide by
            mScale = scale;
    }

    double x(double planeX) const { return kMargin + (planeX / 2 - mMinX) * mScale; }
    double y(double planeY) const { return kMargin + (mMaxY - planeY / 2) * mScale; }
    double width() const { return kMargin + (mMaxX - mMinX) * mScale + kMargin; }
    double height() const { return kMargin + (mMaxY - mMinY) * mScale + kMargin; }

private:
    double mMinX = 0.0, mMaxX = 0.0, mMinY = 0.0, mMaxY = 0.0;
    double mScale = 2.0;  // of halved coordinates: the plane's own scale
};

// The width of a text placed beside its anchor, gap included, as a 13-pixel font sets digits.
double labelWidth(const std::wstring& text)
{
    return kLabelGap + kCharWidth * static_cast<double>(text.size());
}

// A filled triangle pointing along the segment from `from` to `to` (pixels), its tip short of
// the dot at `to`; none where the segment is too short to show which way it points.
void writeArrowhead(std::ostream& out, const qcVector<2>& from, const qcVector<2>& to,
                    double width, const qcColor& color)
{
    const double length = 4.0 + 2.0 * width;
    const double dx = to.x() - from.x(), dy = to.y() - from.y();
    const double distance = std::hypot(dx, dy);
    if (!(distance >= 3.0 * length))
        return;
    const double ux = dx / distance, uy = dy / distance;
    const double tipX = to.x() - ux * (kDotRadius + 1.0), tipY = to.y() - uy * (kDotRadius + 1.0);
    const double baseX = tipX - ux * length, baseY = tipY - uy * length;
    const double half = 0.45 * length;
    out << "<polygon points=\"" << number(tipX) << ',' << number(tipY) << ' '
        << number(baseX - uy * half) << ',' << number(baseY + ux * half) << ' '
        << number(baseX + uy * half) << ',' << number(baseY - ux * half) << "\" fill=\""
        << colorText(color) << "\"/>\n";
}

}  // namespace

void qcSvgTablet::drawText(const std::wstring& text, const qcPoint& anchor,
                           const qcColor& textColor, const qcColor& markColor,
                           const qcUIFormat& format, const qcVector<2>& offset)
{
    if (finite(anchor.vector()) && finite(offset))
        mItems.push_back(
            {true, anchor.vector(), offset, textColor, markColor, text, format.alignment(), 0.0});
}

void qcSvgTablet::drawSegment(const qcLineSeg& segment, const qcColor& color)
{
    if (finite(segment.start()) && finite(segment.end()))
        mItems.push_back({false, segment.start(), segment.end(), color, color, std::wstring(),
                          qcUIFormat::aboveRight, mLineWidth});
}

void qcSvgTablet::lineWidth(double width)
{
    if (!(std::isfinite(width) && width > 0.0))
        throw qcInvariantFailure();
    mLineWidth = width;
}

void qcSvgTablet::style(const Style& style)
{
    if (!(std::isfinite(style.span) && style.span > 0.0))
        throw qcInvariantFailure();
    mStyle = style;
}

void qcSvgTablet::write(std::ostream& out) const
{
    std::vector<qcVector<2>> points;
    for (const Item& item : mItems) {
        points.push_back(item.from);
        if (!item.isText)
            points.push_back(item.to);
    }
    const PictureFrame frame(points, mStyle.span);
    const std::string w = number(frame.width()), h = number(frame.height());

    // The room round every text's anchor, in pixels: all the room there is unless labels fit.
    std::vector<qcVector<2>> anchors;
    double widest = 0.0;
    for (const Item& item : mItems)
        if (item.isText) {
            anchors.emplace_back(frame.x(item.from.x()), frame.y(item.from.y()));
            widest = std::max(widest, labelWidth(item.text));
        }
    const std::vector<double> room = mStyle.fittedLabels
                                         ? nearestOtherPoint(anchors, widest)
                                         : std::vector<double>(anchors.size(), HUGE_VAL);

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" ";
    if (mStyle.fixedSize)
        out << "width=\"" << w << "\" height=\"" << h << "\" ";
    out << "viewBox=\"0 0 " << w << ' ' << h << "\">\n"
        << "<rect x=\"0\" y=\"0\" width=\"" << w << "\" height=\"" << h
        << "\" fill=\"" << kBackground << "\"/>\n";
    // Segments first and texts over them, each kind in drawing order, so that no line hides a
    // label; a halo in the background colour keeps a text readable where lines cross it.
    for (const Item& item : mItems) {
        if (item.isText)
            continue;
        out << "<line x1=\"" << number(frame.x(item.from.x())) << "\" y1=\""
            << number(frame.y(item.from.y())) << "\" x2=\"" << number(frame.x(item.to.x()))
            << "\" y2=\"" << number(frame.y(item.to.y())) << "\" stroke=\""
            << colorText(item.color) << "\" stroke-width=\"" << number(item.width)
            << "\" stroke-linecap=\"round\"/>\n";
        if (mStyle.arrowheads)
            writeArrowhead(out, qcVector<2>(frame.x(item.from.x()), frame.y(item.from.y())),
                           qcVector<2>(frame.x(item.to.x()), frame.y(item.to.y())), item.width,
                           item.color);
    }
    std::size_t textIndex = 0;
    for (const Item& item : mItems) {
        if (!item.isText)
            continue;
        const double x = frame.x(item.from.x()), y = frame.y(item.from.y());
        const double around = room[textIndex++];
        if (around < labelWidth(item.text)) {
            out << "<circle cx=\"" << number(x) << "\" cy=\"" << number(y) << "\" r=\""
                << number(std::clamp(around / 6.0, 1.0, kDotRadius)) << "\" fill=\""
                << colorText(item.markColor) << "\"/>\n";
            continue;
        }
        // The offset is in pixels with y up, like the plane.
        const bool centred = item.alignment == qcUIFormat::centred;
        const double gap = centred ? 0.0 : kLabelGap;
        out << "<g><circle cx=\"" << number(x) << "\" cy=\"" << number(y) << "\" r=\"3\" fill=\""
            << colorText(item.markColor) << "\"/><text x=\"" << number(x + gap + item.to.x())
            << "\" y=\"" << number(y - gap - item.to.y()) << "\" fill=\""
            << colorText(item.color) << "\" stroke=\"" << kBackground
            << "\" stroke-width=\"3\" paint-order=\"stroke\" font-family=\"sans-serif\""
            << " font-size=\"13\""
            << (centred ? " text-anchor=\"middle\" dominant-baseline=\"central\"" : "") << '>'
            << escaped(item.text) << "</text></g>\n";
    }
    out << "</svg>\n";
}

bool qcSvgTablet::save(const std::string& path) const
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    write(file);
    file.close();
    return !file.fail();
}
