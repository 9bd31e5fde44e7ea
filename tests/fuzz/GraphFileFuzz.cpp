// The command-line tool's file readers on arbitrary bytes: DIMACS graphs, DIMACS graphs with a
// coordinates file, and edge lists. A file is either read into a graph whose links all join
// existing nodes, and which reads back the same after being written out again, or refused with
// one GraphFileError line naming the file. Anything else (a crash, a sanitizer report, an
// assertion report, another exception) is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "GraphFiles.h"
#include "qstdAssert.h"

namespace {

// Small enough that a header asking for the most nodes stays quick to build.
constexpr std::int64_t fuzzMaxNodes = 4096;

void require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "finding: %s\n", what);
        std::abort();
    }
}

std::string scratchPath(const char* name)
{
    return "/tmp/qcgraph-fuzz-" + std::to_string(getpid()) + "-" + name;
}

void writeFile(const std::string& path, const std::string& content)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    require(out != nullptr, "cannot write a scratch file");
    std::fwrite(content.data(), 1, content.size(), out);
    std::fclose(out);
}

// Every link joins two nodes and stands in its source node's chain, which ends within
// numLinks() steps.
void checkGraph(const qcDirectedGraph& g)
{
    long chained = 0;
    for (long i = 0; i < g.numNodes(); ++i)
        for (long k = g.node(i).firstChild(); k != -1; k = g.link(k).nextChild()) {
            require(k >= 0 && k < g.numLinks(), "chain leaves the link array");
            require(g.link(k).nodeA() == i, "link in a foreign chain");
            require(g.link(k).nodeB() >= 0 && g.link(k).nodeB() < g.numNodes(), "bad link end");
            require(++chained <= g.numLinks(), "chains hold more links than the graph");
        }
    require(chained == g.numLinks(), "a link is in no chain");
}

// The graph written in the given format, with the exact scores, so that reading it back must
// give an equal graph.
std::string writeGraph(const qcDirectedGraph& g, GraphFormat format)
{
    std::string text;
    char line[96];
    if (format == GraphFormat::dimacs) {
        std::snprintf(line, sizeof line, "p sp %ld %ld\n", g.numNodes(), g.numLinks());
        text += line;
    }
    const long base = format == GraphFormat::dimacs ? 1 : 0;
    for (long k = 0; k < g.numLinks(); ++k) {
        const qcDirectedGraphLink& l = g.link(k);
        std::snprintf(line, sizeof line, "%s%ld %ld %.17g\n",
                      format == GraphFormat::dimacs ? "a " : "", l.nodeA() + base,
                      l.nodeB() + base, l.score());
        text += line;
    }
    return text;
}

// Reads the file; true when it was read, false when it was refused as it should be.
bool readOrRefuse(const std::string& path, GraphFormat format, GraphFile& file)
{
    try {
        file = readGraphFile(path, format, {}, fuzzMaxNodes);
        return true;
    } catch (const GraphFileError& e) {
        const std::string message = e.what();
        require(message.rfind(path + ":", 0) == 0, "message does not name the file");
        require(message.find('\n') == std::string::npos, "message of more than one line");
        return false;
    }
}

void reportAssert(int) { require(false, "assertion hook called"); }

void removeScratchFiles()
{
    for (const char* name : {"graph", "copy", "co"})
        std::remove(scratchPath(name).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool prepared =
        (qstd_set_assert_handler(reportAssert), std::atexit(removeScratchFiles), true);
    (void)prepared;
    FuzzedDataProvider in(data, size);
    const int kind = in.ConsumeIntegralInRange<int>(0, 2);  // DIMACS, with coordinates, edges
    const GraphFormat format = kind == 2 ? GraphFormat::edges : GraphFormat::dimacs;
    const std::string graphText = kind == 1 ? in.ConsumeRandomLengthString(1 << 16)
                                            : in.ConsumeRemainingBytesAsString();
    const std::string graphPath = scratchPath("graph");
    writeFile(graphPath, graphText);

    GraphFile file;
    if (!readOrRefuse(graphPath, format, file))
        return 0;
    checkGraph(file.graph);
    require(file.graph.numNodes() <= fuzzMaxNodes, "more nodes than allowed");

    const std::string copyPath = scratchPath("copy");
    writeFile(copyPath, writeGraph(file.graph, format));
    GraphFile copy;
    require(readOrRefuse(copyPath, format, copy), "a written graph cannot be read back");
    require(copy.graph == file.graph, "a written graph reads back different");

    if (kind == 1) {
        const std::string coordinatesPath = scratchPath("co");
        writeFile(coordinatesPath, in.ConsumeRemainingBytesAsString());
        try {
            readDimacsCoordinates(coordinatesPath, file);
            require(file.hasPositions, "coordinates read but not marked");
        } catch (const GraphFileError& e) {
            require(std::string(e.what()).rfind(coordinatesPath + ":", 0) == 0,
                    "coordinates message does not name the file");
            require(!file.hasPositions, "refused coordinates marked as read");
        }
        checkGraph(file.graph);
    }
    return 0;
}
