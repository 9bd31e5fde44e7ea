#include "qfStr.h"

#include <charconv>
#include <cmath>

namespace {
template <class T>
std::wstring widen(T value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::wstring(buffer, result.ptr);
}
}  // namespace

std::wstring qfStr(int value) { return widen(value); }
std::wstring qfStr(long value) { return widen(value); }

std::wstring qfStr(double value)
{
    // to_chars would write "-nan" for a NaN with its sign bit set; a NaN has no sign to show.
    if (std::isnan(value))
        return L"nan";
    return widen(value);
}
