// The command-line tool's file readers on arbitrary bytes: DIMACS graphs, DIMACS graphs with a
// coordinates file, and edge lists. A file is either read into a sound graph or refused with
// one GraphFileError line naming the file. Anything else (a crash, a sanitizer report, an
// assertion report, another exception) is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <fstream>

#include <unistd.h>

#include "GraphFiles.h"
#include "qstdAssert.h"
#include "support/GraphChecks.h"

using qctest::require;

namespace {

const char* const scratchNames[] = {"graph", "co"};
std::string scratchPath(const char* name) { return "/tmp/qcgraph-fuzz-" + std::to_string(getpid()) + "-" + name; }

std::string scratchFile(const char* name, const std::string& content)
{
    const std::string path = scratchPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// Reads the file; false when it was refused as it should be.
template <class Read>
bool readOrRefuse(const std::string& path, const Read& read)
{
    try {
        read();
        return true;
    } catch (const GraphFileError& e) {
        const std::string message = e.what();
        require(message.rfind(path + ":", 0) == 0 && message.find('\n') == std::string::npos, "message is not one line naming the file");
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    [[maybe_unused]] static const bool prepared = (qstd_set_assert_handler([](int) { require(false, "assertion hook called"); }),
                                  std::atexit([] { for (const char* name : scratchNames) std::remove(scratchPath(name).c_str()); }), true);
    FuzzedDataProvider in(data, size);
    const int kind = in.ConsumeIntegralInRange<int>(0, 2);  // DIMACS, with coordinates, edges
    const GraphFormat format = kind == 2 ? GraphFormat::edges : GraphFormat::dimacs;
    const std::string path = scratchFile("graph", kind == 1 ? in.ConsumeRandomLengthString(1 << 16) : in.ConsumeRemainingBytesAsString());
    GraphFile file;
    // Few enough nodes that a header asking for the most stays quick to build.
    if (!readOrRefuse(path, [&] { file = readGraphFile(path, format, {}, 4096); })) return 0;
    require(qctest::graphFault(file.graph));
    if (kind == 1) {
        const std::string coordinates = scratchFile("co", in.ConsumeRemainingBytesAsString());
        require(readOrRefuse(coordinates, [&] { readDimacsCoordinates(coordinates, file); }) == file.hasPositions,
                "coordinates marked read when refused, or not marked when read");
        require(qctest::graphFault(file.graph));
    }
    return 0;
}
