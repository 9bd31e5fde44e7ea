#include "qcColor.h"

namespace {
constexpr qcColor kGreen(80, 220, 100);
constexpr qcColor kWhite(255, 255, 255);
constexpr qcColor kCyan(0, 200, 230);
}  // namespace

const qcColor& qcColor::greenColor() noexcept { return kGreen; }
const qcColor& qcColor::whiteColor() noexcept { return kWhite; }
const qcColor& qcColor::cyanColor() noexcept { return kCyan; }
