#ifndef QCGRAPH_FILES_INPUT_BYTES_H
#define QCGRAPH_FILES_INPUT_BYTES_H

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <memory>
#include <string>

// The bytes of a file, standard input or a stream, read in blocks by the readers. Faults throw
// qcGraphFileError naming the file.
class InputBytes {
public:
    // Opens the file, or takes standard input for the path "-".
    explicit InputBytes(const std::string& path);
    // Reads the stream, which must outlive this; `name` stands for it in messages.
    InputBytes(std::istream& in, const std::string& name);
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;

    // Up to `size` bytes into `buffer`; 0 at the end.
    std::size_t read(char* buffer, std::size_t size);
    // The file's name for messages.
    const std::string& name() const { return mName; }
    // The file's size in bytes, 0 when it cannot be told (a pipe, a stream).
    std::uint64_t size() const { return mSize; }
    // Whether this is a regular file, whose size is known.
    bool regular() const { return mRegular; }

    static constexpr const char* standardInput = "-";
    static std::string nameOf(const std::string& path)
    {
        return path == standardInput ? "(standard input)" : path;
    }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const
        {
            if (file != stdin)
                std::fclose(file);
        }
    };
    std::string mName;
    std::unique_ptr<std::FILE, FileCloser> mFile;
    std::istream* mStream = nullptr;
    std::uint64_t mSize = 0;
    bool mRegular = false;
};

#endif
