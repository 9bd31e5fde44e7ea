#include "LineSource.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include "GraphFileError.h"

LineSource::LineSource(const std::string& path, LoadProgressFunction progress)
    : mPath(path), mFile(std::fopen(path.c_str(), "rb")), mProgress(std::move(progress))
{
    if (mFile == nullptr)
        throw GraphFileError(path + ": cannot open: " + std::strerror(errno));
    struct stat info {};
    const bool known = fstat(fileno(mFile.get()), &info) == 0;
    if (known && S_ISDIR(info.st_mode))
        throw GraphFileError(path + ": cannot open: is a directory");
    mCapacity = bufferBytes;
    if (known && S_ISREG(info.st_mode)) {
        mDone.bytesTotal = static_cast<std::uint64_t>(info.st_size);
        // One byte more than the file, so that the second read meets its end.
        if (mDone.bytesTotal < blockBytes)
            mCapacity = static_cast<std::size_t>(mDone.bytesTotal) + 1;
    }
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
    const std::size_t got = std::fread(mBuffer.get() + mEnd, 1, mCapacity - mEnd, mFile.get());
    if (got == 0) {
        if (std::ferror(mFile.get()))
            throw GraphFileError(mPath + ": read error: " + std::strerror(errno));
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
    const char* newline = nullptr;
    for (;;) {
        newline = static_cast<const char*>(
            std::memchr(mBuffer.get() + mBegin, '\n', mEnd - mBegin));
        if (newline != nullptr)
            break;
        if (mEnd - mBegin > maxLineBytes)
            throw GraphFileError(mPath + ":" + std::to_string(mLineNumber + 1) +
                                 ": line longer than 1 MiB (not a text file?)");
        if (!refill())
            break;
    }
    if (newline == nullptr && mBegin == mEnd)
        return false;
    const char* first = mBuffer.get() + mBegin;
    const char* last = newline != nullptr ? newline : mBuffer.get() + mEnd;
    mBegin = static_cast<std::size_t>(last - mBuffer.get()) + (newline != nullptr ? 1 : 0);
    mUnterminated = newline == nullptr;
    if (last != first && last[-1] == '\r')
        --last;
    line = std::string_view(first, static_cast<std::size_t>(last - first));
    ++mLineNumber;
    return true;
}
