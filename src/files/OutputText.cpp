#include "OutputText.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "InputBytes.h"
#include "qcGraphFiles.h"

OutputText::OutputText(const std::string& path)
    : mName(InputBytes::nameOf(path)),
      mFile(path == InputBytes::standardInput ? stdout : std::fopen(path.c_str(), "wb"))
{
    if (mFile == nullptr)
        fail(errno);
    mBuffer.reserve(flushBytes + 4096);
}

OutputText::OutputText(std::ostream& out, const std::string& name) : mName(name), mStream(&out)
{
    mBuffer.reserve(flushBytes + 4096);
}

OutputText& OutputText::operator<<(double value)
{
    char digits[32];
    return *this << std::string_view(digits, static_cast<std::size_t>(
                                                 std::to_chars(digits, digits + 32, value).ptr - digits));
}

void OutputText::flush()
{
    if (mStream != nullptr) {
        if (!mStream->write(mBuffer.data(), static_cast<std::streamsize>(mBuffer.size())))
            fail(0);
    } else if (std::fwrite(mBuffer.data(), 1, mBuffer.size(), mFile.get()) != mBuffer.size()) {
        fail(errno);
    }
    mBuffer.clear();
}

void OutputText::finish()
{
    flush();
    if (mStream != nullptr) {
        if (!mStream->flush())
            fail(0);
        return;
    }
    // A full disk may show only now, when the C library's own buffer goes out.
    std::FILE* file = mFile.release();
    if (std::fflush(file) != 0) {
        const int error = errno;
        if (file != stdout)
            std::fclose(file);
        fail(error);
    }
    if (file != stdout && std::fclose(file) != 0)
        fail(errno);
}

void OutputText::fail(int error) const
{
    throw qcGraphFileError(mName, 0, error == 0 ? std::string("cannot write")
                                                : std::string("cannot write: ") + std::strerror(error));
}
