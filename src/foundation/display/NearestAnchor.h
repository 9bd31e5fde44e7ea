#ifndef QC_NEAREST_ANCHOR_H
#define QC_NEAREST_ANCHOR_H

#include <vector>

#include "qcVector.h"

// Internal to the SVG tablet (not installed). For every point, its distance to the nearest
// other point at a different place, or `reach` when none is nearer than that: how much room a
// label at the point has. Points at the same place (a path's label over its graph's) do not
// crowd each other. Time O(n log n) for points spread over the plane.
std::vector<double> nearestOtherPoint(const std::vector<qcVector<2>>& points, double reach);

#endif
