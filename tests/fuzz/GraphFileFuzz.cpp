// The file library's readers on arbitrary bytes: DIMACS graphs, DIMACS graphs with a
// coordinates file, edge lists, Matrix Market and GraphML. A file is either read into a sound
// graph, which written back and read again in its format gives the same graph and ids, or
// refused with one qcGraphFileError line naming the file. Anything else (a crash, a sanitizer
// report, an assertion report, another exception, memory beyond the bound) is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include <unistd.h>

#include "qcGraphFiles.h"
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
    } catch (const qcGraphFileError& e) {
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
    const int kind = in.ConsumeIntegralInRange<int>(0, 4);  // DIMACS, with coordinates, edges, Matrix Market, GraphML
    const qcGraphFormat formats[] = {qcGraphFormat::dimacs, qcGraphFormat::dimacs, qcGraphFormat::edges, qcGraphFormat::mtx,
                                     qcGraphFormat::graphml};
    qcGraphReadOptions options;
    options.format = formats[kind];
    options.maxNodes = 4096;  // few enough nodes that a header asking for the most stays quick to build
    options.coordinates = qcCoordinates::none;
    const std::string path = scratchFile("graph", kind == 1 ? in.ConsumeRandomLengthString(1 << 16) : in.ConsumeRemainingBytesAsString());
    qcGraphFile file;
    if (!readOrRefuse(path, [&] { file = qfReadGraph(path, options); })) return 0;
    require(qctest::graphFault(file.graph));
    const std::unordered_set<std::string> names(file.ids.names.begin(), file.ids.names.end());
    require(names.size() == (kind == 4 ? static_cast<std::size_t>(file.graph.numNodes()) : 0), "ids do not name every node once");
    if (kind == 1) {
        options.coordinates = qcCoordinates::beside;
        options.coordinatesPath = scratchFile("co", in.ConsumeRemainingBytesAsString());
        qcGraphFile placed;
        require(readOrRefuse(options.coordinatesPath, [&] { placed = qfReadGraph(path, options); }) == placed.hasPositions,
                "coordinates marked read when refused, or not marked when read");
        require(qctest::graphFault(placed.graph));
        return 0;
    }
    std::stringstream again;
    qcGraphWriteOptions writing;
    writing.format = options.format;
    writing.ids = &file.ids;
    qfWriteGraph(again, "again", file.graph, writing);
    const qcGraphFile back = qfReadGraph(again, "again", options);
    require(back.graph == file.graph && back.ids.names == file.ids.names && back.ids.base == file.ids.base,
            "written and read again, the graph or its ids differ");
    return 0;
}
