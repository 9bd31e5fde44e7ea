// Writing then reading gives the graph back, through files and streams, in every format that
// can hold it, progress reported to the end; and what writers and the small helpers promise.
#include "FileTestSupport.h"

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

// Random graphs with self-links and parallel links; positions only when `placed`. The last
// node has a link, so that even an edge list knows the node count.
qcDirectedGraph randomGraph(std::mt19937& rng, bool placed)
{
    qcDirectedGraph g;
    const int n = std::uniform_int_distribution<int>(1, 40)(rng);
    std::uniform_real_distribution<double> real(-1e6, 1e6);
    for (int i = 0; i < n; ++i) {
        qcDirectedGraphNode node;
        if (placed)
            node.position(qcVector<2>(real(rng), real(rng) / 3));
        g.addNode(node);
    }
    std::uniform_int_distribution<int> end(0, n - 1);
    const int links = std::uniform_int_distribution<int>(0, 3 * n)(rng);
    for (int k = 0; k < links; ++k)
        g.addLinkFastUnsafe(end(rng), end(rng), k % 3 == 0 ? 1.0 : real(rng) / 7);
    g.addLinkFastUnsafe(n - 1, end(rng), 0.1);
    return g;
}

TEST(RoundTrip, EveryFormatGivesTheGraphBack)
{
    std::mt19937 rng(2026);
    const struct {
        qcGraphFormat format;
        const char* name;
        bool positions;
    } formats[] = {{qcGraphFormat::dimacs, "g.gr", true}, {qcGraphFormat::graphml, "g.graphml", true},
                   {qcGraphFormat::edges, "g.txt", false}, {qcGraphFormat::mtx, "g.mtx", false}};
    for (int round = 0; round < 30; ++round) {
        for (const auto& f : formats) {
            SCOPED_TRACE(f.name);
            const qcDirectedGraph g = randomGraph(rng, f.positions);
            const std::string path = qctest::scratchFile("", f.name);
            qfWriteGraph(path, g);
            qcReadProgress last;  // of the coordinates file, for DIMACS
            qcGraphReadOptions options;
            options.progress = [&](const qcReadProgress& p) { last = p; };
            const qcGraphFile file = qfReadGraph(path, options);
            EXPECT_TRUE(file.graph == g);
            EXPECT_EQ(file.hasPositions, f.positions);
            EXPECT_EQ(last.bytesRead, last.bytesTotal);
            EXPECT_EQ(last.lines, f.format == qcGraphFormat::dimacs ? g.numNodes() + 1 : file.lines);

            std::stringstream stream;
            qcGraphWriteOptions writing;
            writing.format = f.format;
            qfWriteGraph(stream, "stream", g, writing);
            qcGraphReadOptions reading;
            reading.format = f.format;
            reading.coordinatesPath = f.format == qcGraphFormat::dimacs ? qfCoordinatesPathFor(path) : "";
            EXPECT_TRUE(qfReadGraph(stream, "stream", reading).graph == g);
        }
    }
}

TEST(RoundTrip, GraphmlKeepsNamesAndDotShowsThem)
{
    qcDirectedGraph g;
    g.addNode(qcDirectedGraphNode());
    g.addNode(qcDirectedGraphNode());
    g.addLinkFastUnsafe(0, 1, 2.5);
    qcGraphFileIds ids;
    ids.names = {"a&b<\"'>", "\xc3\xa9t\xc3\xa9"};
    qcGraphWriteOptions options;
    options.ids = &ids;
    const std::string path = qctest::scratchFile("", "named.graphml");
    qfWriteGraph(path, g, options);
    EXPECT_EQ(qfReadGraph(path).ids.names, ids.names);

    std::ostringstream dot;
    options.format = qcGraphFormat::dot;
    options.highlightLinks = {-1, 0, 1 << 30};  // those out of range are left out
    qfWriteGraph(dot, "dot", g, options);
    EXPECT_EQ(dot.str(), "digraph qcgraph {\n  node [shape=circle, fontsize=10];\n  \"a&b<\\\"'>\" [pos=\"0,0!\"];\n"
                         "  \"\xc3\xa9t\xc3\xa9\" [pos=\"0,0!\"];\n  \"a&b<\\\"'>\" -> \"\xc3\xa9t\xc3\xa9\" [label=\"2.5\", color=red, penwidth=3];\n}\n");
}

TEST(RoundTrip, FaultsOfWritingAndOfTheWholeFile)
{
    qcDirectedGraph g;
    g.addNode(qcDirectedGraphNode());
    const auto message = [](const auto& call) {
        try {
            call();
        } catch (const qcGraphFileError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    qcGraphWriteOptions edges;
    edges.format = qcGraphFormat::edges;
    EXPECT_EQ(message([&] { qfWriteGraph("/dev/full", g, edges); }), "/dev/full: cannot write: No space left on device");
    EXPECT_EQ(message([&] { qfWriteGraph("/nonexistent/g.gr", g); }), "/nonexistent/g.gr: cannot write: No such file or directory");
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_EQ(message([&] { qfWriteGraph(broken, "out", g, edges); }), "out: cannot write");
    std::istringstream in("0 1\n");
    EXPECT_EQ(message([&] { qfReadGraph(in, "in", {}); }), "in: a stream needs its format given");
    in.setstate(std::ios::badbit);
    qcGraphReadOptions reading;
    reading.format = qcGraphFormat::edges;
    EXPECT_EQ(message([&] { qfReadGraph(in, "in", reading); }), "in: read error");
    reading.maxNodes = -1;
    EXPECT_THROW(qfReadGraph("/dev/null", reading), std::invalid_argument);
    qcGraphFileIds ids;
    ids.names = {"a", "b"};
    edges.ids = &ids;
    EXPECT_THROW(qfWriteGraph(broken, "out", g, edges), std::invalid_argument);
    EXPECT_NE(message([&] { qfReadGraph(qctest::scratchFile("", "g.dot")); }).find(": DOT files are written, not read"), std::string::npos);
    EXPECT_EQ(message([&] { qfReadGraph("/"); }), "/: cannot open: is a directory");
    // Where the system has /proc: a file that opens and then fails to read; and a file written
    // is closed.
    if (std::FILE* mem = std::fopen("/proc/self/mem", "rb")) {
        std::fclose(mem);
        reading.maxNodes = 1 << 20;
        EXPECT_EQ(message([&] { qfReadGraph("/proc/self/mem", reading); }), "/proc/self/mem: read error: Input/output error");
        const auto openFiles = [] {
            const std::filesystem::directory_iterator all("/proc/self/fd");
            return std::distance(begin(all), end(all));
        };
        const auto before = openFiles();
        qfWriteGraph(qctest::scratchFile("", "closed.gr"), g);
        EXPECT_EQ(openFiles(), before);
    }
    const std::string lone = qctest::scratchFile("p sp 1 0\n", "lone.gr");
    qctest::scratchFile("junk\n", "lone.co");  // read beside the graph unless told not to
    EXPECT_EQ(message([&] { qfReadGraph(lone); }), qfCoordinatesPathFor(lone) + ":1: unknown line type 'junk' (expected c, p or v)");
    qcGraphReadOptions without;
    without.coordinates = qcCoordinates::none;
    EXPECT_EQ(qfReadGraph(lone, without).graph.numNodes(), 1);
}

TEST(RoundTrip, FormatsByNameAndIds)
{
    const std::pair<const char*, qcGraphFormat> names[] = {
        {"r.gr", qcGraphFormat::dimacs}, {"m.mtx", qcGraphFormat::mtx}, {"g.graphml", qcGraphFormat::graphml},
        {"g.xml", qcGraphFormat::graphml}, {"p.dot", qcGraphFormat::dot}, {"p.gv", qcGraphFormat::dot},
        {"e.txt", qcGraphFormat::edges}, {"gr", qcGraphFormat::edges}};
    for (const auto& [name, format] : names)
        EXPECT_EQ(qfGraphFormatOf(name), format) << name;
    EXPECT_EQ(qfGraphFormatNamed("mtx"), qcGraphFormat::mtx);
    EXPECT_THROW(qfGraphFormatNamed("csv"), std::invalid_argument);
    EXPECT_EQ(qfCoordinatesPathFor("a"), "a.co");

    qcGraphFileIds numbered;
    numbered.base = 1;
    EXPECT_EQ(numbered.text(4), "5");
    const std::pair<const char*, std::int32_t> found[] = {{"1", 0}, {"3", 2}, {"4", -1}, {"0", -1}, {"2x", -1}, {"", -1}};
    for (const auto& [id, node] : found)
        EXPECT_EQ(numbered.find(id, 3), node) << id;
    qcGraphFileIds named;
    named.names = {"r", "s"};
    EXPECT_EQ(named.find("s", 2), 1);
    EXPECT_EQ(named.find("t", 2), -1);
}

}  // namespace
