// The qcgraph tool run as a process: exact output of every command on small hand-checked
// graphs, exit codes, and the messages of bad usage.
#include <gtest/gtest.h>

#include <complex>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using ToolRun = std::tuple<int, std::string, std::string>;  // exit code, standard output, standard error

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// CTest runs the cases as parallel processes, so every process writes into a folder of its
// own, removed when it ends.
struct TempFolder : testing::Environment {
    const std::string path = testing::TempDir() + "qcgraph-tool-" + std::to_string(getpid()) + "/";
    void SetUp() override { std::filesystem::create_directories(path); }
    void TearDown() override { std::filesystem::remove_all(path); }
};
const TempFolder* const folder = static_cast<TempFolder*>(testing::AddGlobalTestEnvironment(new TempFolder));

std::string tempPath(const std::string& name) { return folder->path + name; }
std::string writeTemp(const std::string& name, const std::string& content)
{
    std::ofstream(tempPath(name), std::ios::binary) << content;
    return tempPath(name);
}
std::string data(const std::string& name) { return std::string(QCGRAPH_TOOL_DATA "/") + name; }

// Runs the tool with the arguments (plain words: no quoting needed), its output caught in files
// unless `redirect` ("<in", ">/dev/full") sends it elsewhere.
ToolRun runTool(const std::vector<std::string>& args, const std::string& redirect = "")
{
    std::string command = QCGRAPH_TOOL;
    for (const std::string& a : args)
        command += " '" + a + "'";
    const int status = std::system((command + " >" + tempPath("out") + " 2>" + tempPath("err") + " " + redirect).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(tempPath("out")), readAll(tempPath("err"))};
}

TEST(Tool, CommandsPrintFileIdsAndExitCodes)
{
    // DIMACS ids and arc numbers count from 1, also in the output; edge lists from 0, and the
    // last edge of small.txt takes the default score 1.
    const std::string gr = data("small.gr"), txt = data("small.txt");
    const std::string edges = writeTemp("groups.txt", "0 1\n2 3\n4 2\n5 5\n");
    const std::string full = tempPath("full");  // .svg and .dot: the device that is always full
    for (const char* type : {".svg", ".dot"})
        std::filesystem::create_symlink("/dev/full", full + type);
    const struct {
        const char* name;
        std::vector<std::string> args;
        ToolRun want;
        std::string redirect = "";
    } cases[] = {
        {"path", {"path", gr, "1", "5"}, {0, "score 11\nnodes 1 3 2 4 5\nlinks 2 3 4 6\n", ""}},
        {"path to itself", {"path", gr, "3", "3"}, {0, "score 0\nnodes 3\nlinks\n", ""}},
        {"no path", {"path", gr, "5", "1"}, {1, "", "qcgraph path: no path from 5 to 1\n"}},
        {"edge list", {"path", txt, "0", "4", "--format", "edges"}, {0, "score 4\nnodes 0 2 1 4\nlinks 1 2 6\n", ""}},
        {"ranked walks", {"paths", gr, "1", "5", "-k", "3"},
         {0, "walk 1: score 11\n  nodes 1 3 2 4 5\n  links 2 3 4 6\nwalk 2: score 12\n  nodes 1 2 4 5\n  links 1 4 6\n"
             "walk 3: score 13\n  nodes 1 3 4 5\n  links 2 5 6\n", ""}},
        {"max length", {"paths", gr, "1", "5", "-k", "3", "--max-length=2"}, {0, "walk 1: score 15\n  nodes 1 2 5\n  links 1 7\n", ""}},
        {"min length", {"paths", gr, "1", "5", "-k", "3", "--min-length", "4"}, {0, "walk 1: score 11\n  nodes 1 3 2 4 5\n  links 2 3 4 6\n", ""}},
        {"no walk", {"paths", gr, "5", "1", "-k", "3"}, {1, "", "qcgraph paths: no walk from 5 to 1\n"}},
        {"parallel link marked", {"paths", writeTemp("parallel.txt", "0 1 1\n0 1 2\n1 2 0\n"), "0", "2", "-k", "2"},  // link 1 named for both
         {0, "walk 1: score 1 (over a parallel link: the links named add up to 2)\n  nodes 0 1 2\n  links 1 2\nwalk 2: score 2\n  nodes 0 1 2\n  links 1 2\n", ""}},
        {"loopless paths", {"paths", gr, "1", "5", "-k", "6", "--simple"},  // all five loopless paths
         {0, "path 1: score 11\n  nodes 1 3 2 4 5\n  links 2 3 4 6\npath 2: score 12\n  nodes 1 2 4 5\n  links 1 4 6\n"
             "path 3: score 13\n  nodes 1 3 4 5\n  links 2 5 6\npath 4: score 14\n  nodes 1 3 2 5\n  links 2 3 7\n"
             "path 5: score 15\n  nodes 1 2 5\n  links 1 7\n", ""}},
        {"no loopless path", {"paths", gr, "5", "1", "-k", "3", "--simple"}, {1, "", "qcgraph paths: no path from 5 to 1\n"}},
        {"loopless paths refuse a negative score", {"paths", writeTemp("negative.txt", "0 1 -1\n"), "0", "1", "-k", "1", "--simple"},
         {2, "", "qcgraph paths: " + tempPath("negative.txt") + " has a negative score; loopless paths need scores of 0 or more\n"}},
        {"groups of an edge list", {"groups", edges}, {0, "group 1: 0 1\ngroup 2: 2 3 4\ngroup 3: 5\n", ""}},
        {"groups of a DIMACS file", {"groups", gr}, {0, "group 1: 1 2 3 4 5\n", ""}},
        {"GraphML nodes by name", {"path", writeTemp("named.graphml", "<graphml><graph edgedefault='undirected'><edge source='s' target='r'/><edge source='r' target='t'/></graph></graphml>"), "t", "s"},
         {0, "score 2\nnodes t r s\nlinks 3 1\n", ""}},
        {"Matrix Market", {"path", writeTemp("m.mtx", "%%MatrixMarket matrix coordinate pattern general\n3 3 2\n1 3\n3 2\n"), "1", "2"}, {0, "score 2\nnodes 1 3 2\nlinks 1 2\n", ""}},
        {"a GraphML name that is no node", {"path", tempPath("named.graphml"), "s", "x"}, {2, "", "qcgraph path: TO (a node of " + tempPath("named.graphml") + ") names no node of the file: 'x'\n'qcgraph path --help' shows the usage\n"}},
        // Lists (from 0) [1 2] [3 4] [1 3] [4] []: root 2 costs 2, the others 3, 3, 6 and none.
        {"connect", {"connect", gr}, {0, "root 3: 2 4\n", ""}},
        {"no connection records", {"connect", writeTemp("one-link.txt", "0 1\n")}, {1, "", "qcgraph connect: no connection records\n"}},
        {"trace", {"trace", txt},
         {0, "\n 5 nodes\n\n\nNode 0 links:\nlink 1: 0 to 2 score 1\nlink 0: 0 to 1 score 4\n"
             "\n\nNode 1 links:\nlink 6: 1 to 4 score 1\nlink 3: 1 to 3 score 5\n"
             "\n\nNode 2 links:\nlink 4: 2 to 3 score 9\nlink 2: 2 to 1 score 2\n"
             "\n\nNode 3 links:\nlink 5: 3 to 4 score 3\n\n\nNode 4 links:\n", ""}},
        {"draw: no path", {"draw", gr, "-o", tempPath("none.svg"), "--path", "5", "1"}, {1, "", "qcgraph draw: no path from 5 to 1; nothing written\n"}},
        {"draw: the smallest size", {"draw", gr, "-o", tempPath("small.svg"), "--size", "200"}, {0, "", ""}},  // the smallest size
        {"file missing", {"path", "/nonexistent/roads.gr", "1", "2"}, {2, "", "qcgraph path: /nonexistent/roads.gr: cannot open: No such file or directory\n"}},
        {"bad file", {"path", writeTemp("bad.gr", "p sp 2 1\na 1 3 1\n"), "1", "2"}, {2, "", "qcgraph path: " + tempPath("bad.gr") + ":2: target node id 3 out of range 1 to 2\n"}},
        {"standard input", {"path", "-", "1", "5", "--format", "dimacs"}, {0, "score 11\nnodes 1 3 2 4 5\nlinks 2 3 4 6\n", ""}, "<" + gr},
        {"one node", {"path", writeTemp("one.gr", "p sp 1 0\n"), "1", "1"}, {0, "score 0\nnodes 1\nlinks\n", ""}},
        {"--max-nodes", {"path", writeTemp("far.txt", "0 2000000\n"), "0", "2000000", "--max-nodes=2000001"}, {0, "score 1\nnodes 0 2000000\nlinks 0\n", ""}},
        {"trace to a full device", {"trace", gr}, {2, "", "qcgraph trace: cannot write the output: No space left on device\n"}, ">/dev/full"},
        {"draw to a full standard output", {"draw", gr, "-o", "-"}, {2, "", "qcgraph draw: cannot write the output: No space left on device\n"}, ">/dev/full"},
        {"SVG to a full device", {"draw", gr, "-o", full + ".svg"}, {2, "", "qcgraph draw: " + full + ".svg: cannot write: No space left on device\n"}},
        {"DOT to a full device", {"draw", gr, "-o", full + ".dot"}, {2, "", "qcgraph draw: " + full + ".dot: cannot write: No space left on device\n"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runTool(c.args, c.redirect), c.want) << c.name;
    // A connect of a minute or more (1.2M roots over 10001 links) says so on standard error
    // before it starts, naming the sizes; the short ones above say nothing.
    const auto [code, out, warning] = runTool({"connect", writeTemp("wide.txt", [] { std::string s; for (int i = 0; i < 10000; ++i) s += "0 1\n"; return s + "1199999 0\n"; }()), "--max-nodes", "1200000"}, ">/dev/null");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(warning.rfind("qcgraph connect: tries each of 1200000 nodes as the root over 10001 links", 0), 0u) << warning;
    EXPECT_NE(warning.find(" min at worst; nothing more shows until it ends\n"), std::string::npos) << warning;
}

TEST(Tool, HelpAndBadUsage)
{
    const auto [code, help, none] = runTool({"--help"});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(none, "");
    EXPECT_NE(help.find("  connect "), std::string::npos);
    EXPECT_EQ(std::get<1>(runTool({"paths", "--help"})).rfind("Usage: qcgraph paths ", 0), 0u);
    const ToolRun bare = runTool({});
    EXPECT_EQ(std::get<0>(bare), 2);
    EXPECT_NE(std::get<2>(bare).find("  connect "), std::string::npos);
    EXPECT_EQ(std::get<1>(runTool({"--version"})).rfind("qcgraph 0.", 0), 0u);

    const std::string graph = data("small.gr");
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {"unknown command", {"walk"}, "qcgraph: unknown command 'walk'; 'qcgraph --help' lists them"},
        {"no graph", {"trace"}, "qcgraph trace: missing arguments: expected GRAPH"},
        {"no TO", {"path", graph, "1"}, "qcgraph path: missing arguments: expected GRAPH FROM TO"},
        {"FROM 0", {"path", graph, "0", "5"}, "qcgraph path: FROM (a node of " + graph + ") must be a whole number from 1 to 5, not '0'"},
        {"unknown option", {"path", graph, "1", "5", "--fast"}, "qcgraph path: unknown option '--fast'"},
        {"negative FROM after --", {"path", graph, "--", "-1", "5"}, "qcgraph path: FROM (a node of " + graph + ") must be a whole number from 1 to 5, not '-1'"},
        {"unknown format", {"path", graph, "1", "5", "--format", "csv"}, "qcgraph path: unknown format 'csv' (expected dimacs, edges, mtx or graphml)"},
        {"DOT is not read", {"path", graph, "1", "5", "--format", "dot"}, "qcgraph path: unknown format 'dot' (expected dimacs, edges, mtx or graphml)"},
        {"a DOT file given", {"trace", "map.dot"}, "qcgraph trace: cannot read 'map.dot': DOT files are written, not read"},
        {"no -k", {"paths", graph, "1", "5"}, "qcgraph paths: missing -k K, the number of walks"},
        {"k 0", {"paths", graph, "1", "5", "-k", "0"}, "qcgraph paths: option '-k' must be a whole number from 1 to 100000, not '0'"},
        {"an option without its value", {"paths", graph, "1", "5", "-k"}, "qcgraph paths: option '-k' needs 1 value"},
        {"a value to a switch", {"paths", graph, "1", "5", "-k", "2", "--simple=yes"}, "qcgraph paths: option '--simple' takes no value"},
        {"two values after =", {"draw", graph, "-o", "map.svg", "--path=1,5"}, "qcgraph draw: option '--path' takes its values as separate arguments"},
        {"min above max", {"paths", graph, "1", "5", "-k", "2", "--min-length", "3", "--max-length", "2"}, "qcgraph paths: --min-length 3 is greater than --max-length 2"},
        {"loopless paths take no length bounds", {"paths", graph, "1", "5", "-k", "2", "--simple", "--max-length", "2"}, "qcgraph paths: --simple takes no --min-length or --max-length"},
        {"picture type", {"draw", graph, "-o", "map.png"}, "qcgraph draw: cannot tell the picture type of 'map.png' (use a name ending in .svg or .dot, or '-')"},
        {"--coords on an edge list", {"draw", data("small.txt"), "-o", "map.dot", "--coords", data("small.co")}, "qcgraph draw: --coords needs a graph in the DIMACS format"},
    };
    for (const auto& c : cases) {
        const std::string hint = c.args[0] != "walk" ? "\n'qcgraph " + c.args[0] + " --help' shows the usage" : "";
        EXPECT_EQ(runTool(c.args), (ToolRun{2, "", c.message + hint + "\n"})) << c.name;
    }
}

TEST(Tool, DrawWritesDotAndSvgWithThePath)
{
    const std::string dot = tempPath("small.dot");
    EXPECT_EQ(std::get<0>(runTool({"draw", data("small.gr"), "-o", dot, "--path", "1", "5"})), 0);
    const std::string red = ", color=red, penwidth=3";  // the path
    EXPECT_EQ(readAll(dot), "digraph qcgraph {\n  node [shape=circle, fontsize=10];\n  1 [pos=\"0,0!\"" + red + "];\n  2 [pos=\"10,0!\"" +
                                red + "];\n  3 [pos=\"5,-8!\"" + red + "];\n  4 [pos=\"20,0!\"" + red + "];\n  5 [pos=\"30,0!\"" + red +
                                "];\n  1 -> 2 [label=\"4\"];\n  1 -> 3 [label=\"1\"" + red + "];\n  3 -> 2 [label=\"2\"" + red +
                                "];\n  2 -> 4 [label=\"5\"" + red + "];\n  3 -> 4 [label=\"9\"];\n  4 -> 5 [label=\"3\"" + red +
                                "];\n  2 -> 5 [label=\"11\"];\n}\n");

    // The README shows the picture of the sample map; it must be what the tool draws (the
    // library's drawing, with file ids as labels, arrowheads, and the path in amber over the map).
    EXPECT_TRUE(std::get<1>(runTool({"draw", QCGRAPH_SAMPLE_DATA "/sample.gr", "-o", "-", "--path", "1", "81"})) ==
                readAll(QCGRAPH_SAMPLE_DATA "/../docs/sample-path.svg"))
        << "run scripts/pictures";
    // An edge list has no positions: its nodes go round a circle in id order, counterclockwise
    // from node 0 on the right, neighbours at least 40 units apart so that labels have room.
    for (const char* edges : {"0 1\n1 2\n", "999 0\n"}) {
        const std::string circle = tempPath("circle.dot");
        ASSERT_EQ(std::get<0>(runTool({"draw", writeTemp("circle.txt", edges), "-o", circle})), 0);
        std::vector<std::complex<double>> at;
        std::istringstream lines(readAll(circle));
        for (std::string line; std::getline(lines, line);)
            if (double x, y; std::sscanf(line.c_str(), " %*d [pos=\"%lf,%lf!\"", &x, &y) == 2) at.emplace_back(x, y);
        ASSERT_GE(at.size(), 3u);
        EXPECT_GT(at[0].real(), 0.0);
        EXPECT_EQ(at[0].imag(), 0.0);
        for (std::size_t i = 0; i < at.size(); ++i) {
            const std::complex<double> next = at[(i + 1) % at.size()];
            EXPECT_NEAR(std::abs(at[i]), std::abs(at[0]), 1e-3) << "node " << i;
            EXPECT_GE(std::abs(next - at[i]), 40.0) << "node " << i;
            EXPECT_GT(std::arg(next / at[i]), 0.0) << "node " << i;
        }
    }
    // A thousand nodes round a circle have no room for labels nor arrowheads: dots of the least size. The picture fills
    // its window, unless --size fixes its longer side.
    const std::string ring = std::get<1>(runTool({"draw", writeTemp("ring.txt", "999 0\n"), "-o", "-"}));
    EXPECT_EQ(ring.find("<text"), std::string::npos);
    EXPECT_EQ(ring.find("<polygon"), std::string::npos);
    EXPECT_NE(ring.find("r=\"1.00\""), std::string::npos);
    EXPECT_NE(ring.find("2000/svg\" viewBox=\"0 0 840.00 "), std::string::npos);
    EXPECT_NE(std::get<1>(runTool({"draw", data("small.gr"), "-o", "-", "--size", "1000"})).find("2000/svg\" width=\"1000.00\" height=\"325.33\""), std::string::npos);
    // GraphML names of every UTF-8 length stand in the picture as they are.
    const std::string names = writeTemp("names.graphml", "<graphml><graph><edge source='a\xc3\xa9' target='\xe6\x97\xa5\xf0\x9f\x98\x80'/></graph></graphml>");
    const std::string named = std::get<1>(runTool({"draw", names, "-o", "-"}));
    for (const char* name : {">a\xc3\xa9</text>", ">\xe6\x97\xa5\xf0\x9f\x98\x80</text>"})
        EXPECT_NE(named.find(name), std::string::npos) << name << " in " << named;
}

}  // namespace

namespace {

// An index made once answers path and table as the searches do, and only for its own graph.
TEST(Tool, IndexAnswersForItsOwnGraphOnly)
{
    const std::string gr = data("small.gr"), idx = tempPath("small.idx");
    const std::string other = writeTemp("other.gr", "p sp 5 1\na 1 2 4\n");
    const std::string table = "from\\to 5 1\n1 11 0\n5 0 -\n";
    const std::string dense = writeTemp("dense.txt", [] {  // links between any nodes: no hierarchy
        std::string s;
        for (int a = 0; a < 300; ++a)
            for (int b = 1; b <= 30; ++b)
                s += std::to_string(a) + " " + std::to_string((a * 7 + b * 13) % 300) + " " + std::to_string(1 + (a * b) % 9) + "\n";
        return s;
    }());
    const struct {
        const char* name;
        std::vector<std::string> args;
        ToolRun want;
    } cases[] = {
        {"made", {"index", gr, "-o", idx}, {0, "index of 5 nodes (0.0 MB) written to " + idx + "\n", ""}},
        {"path", {"path", gr, "1", "5", "--index", idx}, {0, "score 11\nnodes 1 3 2 4 5\nlinks 2 3 4 6\n", ""}},
        {"no path", {"path", gr, "5", "1", "--index", idx}, {1, "", "qcgraph path: no path from 5 to 1\n"}},
        // Made by an earlier build: an index saved stays an index of its graph.
        {"a kept index", {"path", gr, "1", "5", "--index", data("small.idx")}, {0, "score 11\nnodes 1 3 2 4 5\nlinks 2 3 4 6\n", ""}},
        {"table by searches", {"table", gr, "--from", "1,5", "--to", "5,1"}, {0, table, ""}},
        {"table by the index", {"table", gr, "--from", "1,5", "--to", "5,1", "--index", idx}, {0, table, ""}},
        {"another graph", {"path", other, "1", "2", "--index", idx},
         {2, "", "qcgraph path: " + idx + " is not an index of " + other +
                     " (made from another graph, or before the graph changed): make it anew with 'qcgraph index'\n"}},
        {"not an index", {"table", gr, "--from", "1", "--to", "2", "--index", gr},
         {2, "", "qcgraph table: " + gr + ": qcShortestPathIndex::load: not a qcgraph index\n"}},
        {"a bad id", {"table", gr, "--from", "1,9", "--to", "2"}, {2, "", ""}},
        {"no memory bound", {"index", gr, "-o", idx, "--memory-bound", "0"}, {0, "index of 5 nodes (0.0 MB) written to " + idx + "\n", ""}},
        {"past the memory bound", {"index", dense, "-o", idx, "--memory-bound", "1"},
         {2, "", "qcgraph index: " + dense + ": the index would take more than 1 times the graph's memory (--memory-bound N allows more, 0 any)\n"}},
        {"a negative score", {"index", writeTemp("negative.txt", "0 1 -1\n"), "-o", idx},
         {2, "", "qcgraph index: " + tempPath("negative.txt") + ": a negative score; the index needs scores of 0 or more\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun got = runTool(c.args);
        if (std::get<2>(c.want).empty() && std::get<0>(c.want) == 2)
            std::get<2>(got).clear();  // a usage message, tested elsewhere
        EXPECT_EQ(got, c.want);
    }
}

}  // namespace

namespace {

// On a terminal a file of more than a million lines shows its progress in place, and the line
// is ended before the answer comes.
TEST(Tool, ProgressOnATerminal)
{
    const std::string big = writeTemp("big.txt", [] {
        std::string s;
        for (int i = 0; i < 1100000; ++i)
            s += "0 1\n";
        return s;
    }());
    const std::string inTerminal = "script -qec \"" QCGRAPH_TOOL " path " + big + " 0 1\" /dev/null >" + tempPath("tty");
    ASSERT_EQ(std::system(inTerminal.c_str()), 0);
    const std::string shown = readAll(tempPath("tty"));
    EXPECT_NE(shown.find("\rloading " + big + ": 100% (1.1M lines)\r\nscore 1\r\n"), std::string::npos) << shown;
}

}  // namespace
