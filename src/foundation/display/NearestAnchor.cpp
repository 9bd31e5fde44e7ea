#include "NearestAnchor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

// The plane is cut into squares of this side; a point's nearest neighbour is searched in rings
// of squares round its own, out to `reach`, and the search ends once no farther ring can hold
// a nearer point. Crowded places end after a ring or two; an isolated place looks further, but
// only few places have room round them.
constexpr double kSide = 4.0;

using Square = std::pair<std::int64_t, std::int64_t>;

Square squareOf(const qcVector<2>& p)
{
    return {static_cast<std::int64_t>(std::floor(p.x() / kSide)),
            static_cast<std::int64_t>(std::floor(p.y() / kSide))};
}

}  // namespace

std::vector<double> nearestOtherPoint(const std::vector<qcVector<2>>& points, double reach)
{
    // The distinct places, sorted by square: a square's places are one range of the list.
    using Place = std::pair<Square, std::pair<double, double>>;
    std::vector<Place> places;
    places.reserve(points.size());
    for (const qcVector<2>& p : points)
        places.push_back({squareOf(p), {p.x(), p.y()}});
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    const auto bySquare = [](const Place& a, const Place& b) { return a.first < b.first; };

    const auto rings = static_cast<std::int64_t>(std::ceil(reach / kSide));
    std::vector<double> room;
    room.reserve(points.size());
    for (const qcVector<2>& p : points) {
        const Square home = squareOf(p);
        double nearest = reach;
        const auto farther = [&](std::int64_t ring) {  // no place of the ring can be nearer
            return nearest <= kSide * static_cast<double>(ring - 1);
        };
        for (std::int64_t ring = 0; ring <= rings && !farther(ring); ++ring)
            for (std::int64_t dx = -ring; dx <= ring; ++dx)
                for (std::int64_t dy = -ring; dy <= ring; ++dy) {
                    if (std::max(std::abs(dx), std::abs(dy)) != ring)
                        continue;  // inside the ring: searched before
                    const Place key{{home.first + dx, home.second + dy}, {}};
                    const auto range =
                        std::equal_range(places.begin(), places.end(), key, bySquare);
                    for (auto it = range.first; it != range.second; ++it) {
                        const double d = std::hypot(it->second.first - p.x(),
                                                    it->second.second - p.y());
                        if (d > 0.0 && d < nearest)
                            nearest = d;
                    }
                }
        room.push_back(nearest);
    }
    return room;
}
