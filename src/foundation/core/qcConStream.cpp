#include "qcConStream.h"

#include <cstdio>
#include <streambuf>
#include <string>

#include "Utf8.h"

namespace {

// Buffers wide characters and hands them to stdout as UTF-8 bytes.
class Utf8StdoutBuf : public std::wstreambuf {
public:
    Utf8StdoutBuf() { setp(mBuffer, mBuffer + kSize); }
    ~Utf8StdoutBuf() override { drain(); }

protected:
    int_type overflow(int_type ch) override
    {
        if (!drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    int sync() override
    {
        if (!drain())
            return -1;
        return std::fflush(stdout) == 0 ? 0 : -1;
    }

private:
    bool drain()
    {
        std::string bytes;
        for (const wchar_t* p = pbase(); p != pptr(); ++p)
            appendUtf8(bytes, static_cast<char32_t>(*p));
        setp(mBuffer, mBuffer + kSize);
        return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    }

    static constexpr int kSize = 1024;
    wchar_t mBuffer[kSize];
};

}  // namespace

qcConStream::qcConStream() : std::wostream(nullptr)
{
    static Utf8StdoutBuf stdoutBuf;
    rdbuf(&stdoutBuf);
}

qcConStream::~qcConStream() = default;

qcConStream& qfNoxOut()
{
    static qcConStream stream;
    return stream;
}
