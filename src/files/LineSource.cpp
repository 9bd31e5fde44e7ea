#include "LineSource.h"

#include <algorithm>
#include <cstring>

LineSource::LineSource(InputBytes& input, qcReadProgressFunction progress)
    : mInput(input), mProgress(std::move(progress))
{
    mDone.bytesTotal = input.size();
    mCapacity = bufferBytes;
    // One byte more than the file, so that the second read meets its end.
    if (input.regular() && mDone.bytesTotal < blockBytes)
        mCapacity = static_cast<std::size_t>(mDone.bytesTotal) + 1;
    mBuffer.reset(new char[mCapacity]);
}

bool LineSource::refill()
{
    if (mAtEof)
        return false;
    const std::size_t rest = mEnd - mBegin;
    std::memmove(mBuffer.get(), mBuffer.get() + mBegin, rest);
    mBegin = 0;
    mEnd = rest;
    const std::size_t got = mInput.read(mBuffer.get() + mEnd, mCapacity - mEnd);
    if (got == 0) {
        mAtEof = true;
        reportProgress();
        return false;
    }
    mEnd += got;
    mDone.bytesRead += got;
    reportProgress();
    return true;
}

void LineSource::reportProgress()
{
    if (mProgress) {
        mDone.lines = mLineNumber;
        mProgress(mDone);
    }
}

bool LineSource::next(std::string_view& line)
{
    // The end of a line is looked for no further than one byte past the longest line, so that a
    // long line is refused wherever it stands: inside a block, across two, or in a small file
    // read whole.
    const char* newline = nullptr;
    for (;;) {
        const std::size_t window = std::min(mEnd - mBegin, maxLineBytes + 1);
        newline = static_cast<const char*>(std::memchr(mBuffer.get() + mBegin, '\n', window));
        if (newline != nullptr || window > maxLineBytes || !refill())
            break;
    }
    if (newline == nullptr && mBegin == mEnd)
        return false;
    ++mLineNumber;
    mUnterminated = newline == nullptr;
    const char* first = mBuffer.get() + mBegin;
    const char* end = newline != nullptr ? newline : mBuffer.get() + mEnd;
    const char* last = end != first && end[-1] == '\r' ? end - 1 : end;
    const auto length = static_cast<std::size_t>(last - first);
    if (std::memchr(first, '\r', std::min(length, maxLineBytes + 1)) != nullptr)
        fail("lines end in CR alone (convert them to LF)");
    if (length > maxLineBytes)
        fail("line longer than 1 MiB (not a text file?)");
    mBegin = static_cast<std::size_t>(end - mBuffer.get()) + (newline != nullptr ? 1 : 0);
    line = std::string_view(first, length);
    return true;
}

void LineSource::fail(const std::string& what) const
{
    throw qcGraphFileError(mInput.name(), mLineNumber, what);
}
