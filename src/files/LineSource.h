#ifndef QCGRAPH_FILES_LINE_SOURCE_H
#define QCGRAPH_FILES_LINE_SOURCE_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "InputBytes.h"
#include "qcGraphFiles.h"

// The lines of a file, read in large blocks so that a file of many millions of lines costs
// one read call per block, not per line. Lines come without their "\n" (and without a "\r"
// before it); a line is valid until the next call of next().
class LineSource {
public:
    // Reads the lines of `input`, which must outlive this.
    LineSource(InputBytes& input, qcReadProgressFunction progress = {});
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    // The next line, or false at the end of the file. Throws qcGraphFileError on a read error, on
    // a line longer than maxLineBytes (a binary file, most likely) and on a carriage return
    // inside a line (a file whose lines end in CR alone).
    bool next(std::string_view& line);

    // The number of the line last handed out, from 1.
    std::uint64_t lineNumber() const { return mLineNumber; }
    // True when the line last handed out ends the file without a "\n" after it.
    bool lineIsUnterminated() const { return mUnterminated; }
    // The file name as the user gave it, or "(standard input)", for messages.
    const std::string& path() const { return mInput.name(); }
    // The file's size in bytes, 0 when it cannot be told (a pipe).
    std::uint64_t size() const { return mDone.bytesTotal; }
    // Throws qcGraphFileError for the line last handed out.
    [[noreturn]] void fail(const std::string& what) const;

    static constexpr std::size_t blockBytes = std::size_t(1) << 22;
    static constexpr std::size_t maxLineBytes = qcMaxLineBytes;
    static constexpr std::size_t bufferBytes = blockBytes + maxLineBytes;

private:
    // Moves the unread rest to the front and appends the next block; false at the end.
    bool refill();
    void reportProgress();

    InputBytes& mInput;
    qcReadProgressFunction mProgress;
    qcReadProgress mDone;
    // A small regular file is read whole into a buffer of its size (should it grow while it is
    // read, a last line that no longer fits is cut); anything else gets room for a block and the
    // longest line. Not a vector: zero-filling it would cost more than the read.
    std::unique_ptr<char[]> mBuffer;
    std::size_t mCapacity = 0;
    std::size_t mBegin = 0;  // first unread byte
    std::size_t mEnd = 0;    // one past the last byte read
    bool mAtEof = false;
    std::uint64_t mLineNumber = 0;
    bool mUnterminated = false;
};

#endif
