#ifndef QC_COLOR_H
#define QC_COLOR_H

#include <cstdint>

#include "qcExport.h"

// An opaque colour given by its red, green and blue parts, 0 to 255 each.
class QC_EXPORT qcColor {
public:
    constexpr qcColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) noexcept
        : mRed(red), mGreen(green), mBlue(blue) {}

    constexpr std::uint8_t red() const noexcept { return mRed; }
    constexpr std::uint8_t green() const noexcept { return mGreen; }
    constexpr std::uint8_t blue() const noexcept { return mBlue; }

    constexpr bool operator==(const qcColor& other) const noexcept
    {
        return mRed == other.mRed && mGreen == other.mGreen && mBlue == other.mBlue;
    }
    constexpr bool operator!=(const qcColor& other) const noexcept { return !(*this == other); }

    // The named colours, one shared constant each. They are chosen to read well on a dark
    // background: green (80, 220, 100), white (255, 255, 255), cyan (0, 200, 230).
    static const qcColor& greenColor() noexcept;
    static const qcColor& whiteColor() noexcept;
    static const qcColor& cyanColor() noexcept;

private:
    std::uint8_t mRed;
    std::uint8_t mGreen;
    std::uint8_t mBlue;
};

#endif
