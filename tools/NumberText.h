#ifndef QCGRAPH_TOOLS_NUMBER_TEXT_H
#define QCGRAPH_TOOLS_NUMBER_TEXT_H

#include <charconv>
#include <string>

// The shortest text that reads back as the same double ("11", "2.5", "1e+12"): scores and
// coordinates print as the file wrote them whenever the file's text was that short.
inline std::string numberText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

#endif
