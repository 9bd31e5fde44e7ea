#ifndef QC_VECTOR_H
#define QC_VECTOR_H

// Fixed-size vectors of doubles. Only the plane is needed here.
template <int N>
class qcVector;

template <>
class qcVector<2> {
public:
    constexpr qcVector() noexcept = default;
    constexpr qcVector(double x, double y) noexcept : mX(x), mY(y) {}

    constexpr double x() const noexcept { return mX; }
    constexpr double y() const noexcept { return mY; }

    // Exact comparison of both coordinates (a NaN coordinate is unequal to everything).
    constexpr bool operator==(const qcVector& other) const noexcept
    {
        return mX == other.mX && mY == other.mY;
    }
    constexpr bool operator!=(const qcVector& other) const noexcept { return !(*this == other); }

private:
    double mX = 0.0;
    double mY = 0.0;
};

// A location in the plane, as graphics take it.
class qcPoint {
public:
    constexpr explicit qcPoint(const qcVector<2>& where = qcVector<2>()) noexcept : mWhere(where) {}
    constexpr const qcVector<2>& vector() const noexcept { return mWhere; }
    constexpr double x() const noexcept { return mWhere.x(); }
    constexpr double y() const noexcept { return mWhere.y(); }

private:
    qcVector<2> mWhere;
};

// A straight segment from start to end.
class qcLineSeg {
public:
    constexpr qcLineSeg(const qcVector<2>& start, const qcVector<2>& end) noexcept
        : mStart(start), mEnd(end) {}
    constexpr const qcVector<2>& start() const noexcept { return mStart; }
    constexpr const qcVector<2>& end() const noexcept { return mEnd; }

private:
    qcVector<2> mStart;
    qcVector<2> mEnd;
};

#endif
