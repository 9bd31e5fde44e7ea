#ifndef QC_UTF8_H
#define QC_UTF8_H

#include <cstddef>
#include <string>
#include <string_view>

// Internal to the libraries and the tool that write or read text (not installed, not exported).
// Appends c to out as UTF-8. A value that is not a Unicode scalar value (a surrogate, or above
// U+10FFFF) is written as the replacement character U+FFFD.
void appendUtf8(std::string& out, char32_t c);
// The length in bytes of the character text starts with, its value in c; 0 when text does not
// start with a well-formed one (a stray byte, an overlong or cut form, a surrogate, a value
// beyond U+10FFFF, or no byte at all).
std::size_t decodeUtf8(std::string_view text, char32_t& c);

#endif
