#include "InputBytes.h"

#include <cerrno>
#include <cstring>
#include <istream>

#include <sys/stat.h>

#include "qcGraphFiles.h"

InputBytes::InputBytes(const std::string& path)
    : mName(nameOf(path)), mFile(path == standardInput ? stdin : std::fopen(path.c_str(), "rb"))
{
    if (mFile == nullptr)
        throw qcGraphFileError(mName, 0, std::string("cannot open: ") + std::strerror(errno));
    struct stat info {};
    const bool known = fstat(fileno(mFile.get()), &info) == 0;
    if (known && S_ISDIR(info.st_mode))
        throw qcGraphFileError(mName, 0, "cannot open: is a directory");
    mRegular = known && S_ISREG(info.st_mode);
    if (mRegular)
        mSize = static_cast<std::uint64_t>(info.st_size);
}

InputBytes::InputBytes(std::istream& in, const std::string& name) : mName(name), mStream(&in) {}

std::size_t InputBytes::read(char* buffer, std::size_t size)
{
    if (mStream != nullptr) {
        mStream->read(buffer, static_cast<std::streamsize>(size));
        if (mStream->bad())
            throw qcGraphFileError(mName, 0, "read error");
        return static_cast<std::size_t>(mStream->gcount());
    }
    const std::size_t got = std::fread(buffer, 1, size, mFile.get());
    if (got == 0 && std::ferror(mFile.get()))
        throw qcGraphFileError(mName, 0, std::string("read error: ") + std::strerror(errno));
    return got;
}
