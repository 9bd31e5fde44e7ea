#ifndef QC_UTF8_H
#define QC_UTF8_H

#include <string>

// Internal to the libraries that write text (not installed, not exported).
// Appends c to out as UTF-8. A value that is not a Unicode scalar value (a surrogate, or above
// U+10FFFF) is written as the replacement character U+FFFD.
void appendUtf8(std::string& out, char32_t c);

#endif
