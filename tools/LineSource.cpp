#include "LineSource.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include "GraphFileError.h"

LineSource::LineSource(const std::string& path, LoadProgressFunction progress)
    : mPath(path), mProgress(std::move(progress))
{
    mFile = std::fopen(path.c_str(), "rb");
    if (mFile == nullptr)
        throw GraphFileError(path + ": cannot open: " + std::strerror(errno));
    struct stat info {};
    if (fstat(fileno(mFile), &info) == 0 && S_ISREG(info.st_mode))
        mDone.bytesTotal = static_cast<std::uint64_t>(info.st_size);
    else if (S_ISDIR(info.st_mode)) {
        std::fclose(mFile);
        throw GraphFileError(path + ": cannot open: is a directory");
    }
    mBuffer.resize(blockBytes + maxLineBytes);
}

LineSource::~LineSource() { std::fclose(mFile); }

bool LineSource::refill()
{
    if (mAtEof)
        return false;
    const std::size_t rest = mEnd - mBegin;
    std::memmove(mBuffer.data(), mBuffer.data() + mBegin, rest);
    mBegin = 0;
    mEnd = rest;
    const std::size_t got = std::fread(mBuffer.data() + mEnd, 1, mBuffer.size() - mEnd, mFile);
    if (got == 0) {
        if (std::ferror(mFile))
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
            std::memchr(mBuffer.data() + mBegin, '\n', mEnd - mBegin));
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
    const char* first = mBuffer.data() + mBegin;
    const char* last = newline != nullptr ? newline : mBuffer.data() + mEnd;
    mBegin = static_cast<std::size_t>(last - mBuffer.data()) + (newline != nullptr ? 1 : 0);
    mUnterminated = newline == nullptr;
    if (last != first && last[-1] == '\r')
        --last;
    line = std::string_view(first, static_cast<std::size_t>(last - first));
    ++mLineNumber;
    return true;
}
