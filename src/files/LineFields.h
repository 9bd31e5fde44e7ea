#ifndef QCGRAPH_FILES_LINE_FIELDS_H
#define QCGRAPH_FILES_LINE_FIELDS_H

#include <cstdint>
#include <string>
#include <string_view>

class LineSource;

// The whitespace-separated fields of one line, taken from left to right, with the checks every
// reader needs. Each failure throws qcGraphFileError as "file:line: what", adding a hint when the
// line is the unterminated end of the file (the usual sign of a truncated file).
class LineFields {
public:
    LineFields(std::string_view line, const LineSource& source);

    // True when no field is left.
    bool atEnd();
    // The next field; fails with "missing <what>" when there is none.
    std::string_view word(const char* what);
    // The next field as an integer in [low, high]; `what` names it in messages.
    std::int64_t integer(const char* what, std::int64_t low, std::int64_t high);
    // The next field as a finite number.
    double number(const char* what);
    // Fails unless no field is left; `after` names the last field read.
    void expectEnd(const char* after);

    // Throws qcGraphFileError for this line.
    [[noreturn]] void fail(const std::string& what) const;

private:
    void skipBlanks();

    std::string_view mRest;
    const LineSource& mSource;
};

// "'text'" cut to a readable length, for messages that quote a field. Whatever the file holds,
// the quote is printable UTF-8 of one line: control characters and bytes that are not UTF-8
// stand as "\x1b", and a backslash as "\\".
std::string quoted(std::string_view text);

#endif
