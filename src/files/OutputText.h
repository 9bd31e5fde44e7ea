#ifndef QCGRAPH_FILES_OUTPUT_TEXT_H
#define QCGRAPH_FILES_OUTPUT_TEXT_H

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

// Text written to a file, standard output or a stream through a large buffer, every write
// checked: a fault (a full disk) throws qcGraphFileError naming the file, at the latest from
// finish(), so that no half-written file passes for a whole one.
class OutputText {
public:
    // Creates or empties the file, or takes standard output for the path "-".
    explicit OutputText(const std::string& path);
    // Writes to the stream, which must outlive this; `name` stands for it in messages.
    OutputText(std::ostream& out, const std::string& name);
    OutputText(const OutputText&) = delete;
    OutputText& operator=(const OutputText&) = delete;

    OutputText& operator<<(std::string_view text)
    {
        mBuffer.append(text);
        if (mBuffer.size() >= flushBytes)
            flush();
        return *this;
    }
    OutputText& operator<<(char c)
    {
        mBuffer += c;
        return *this;
    }
    OutputText& operator<<(std::int64_t value)
    {
        char digits[24];
        return *this << std::string_view(digits, static_cast<std::size_t>(
                                                     std::to_chars(digits, digits + 24, value).ptr - digits));
    }
    // The shortest text that reads back as the same double.
    OutputText& operator<<(double value);

    // Writes what is buffered and closes the file; throws unless everything reached it.
    void finish();

private:
    static constexpr std::size_t flushBytes = std::size_t(1) << 20;
    void flush();
    // errno of the fault, 0 for a stream.
    [[noreturn]] void fail(int error) const;

    struct FileCloser {
        void operator()(std::FILE* file) const
        {
            if (file != stdout)
                std::fclose(file);
        }
    };
    std::string mName;
    std::unique_ptr<std::FILE, FileCloser> mFile;
    std::ostream* mStream = nullptr;
    std::string mBuffer;
};

#endif
