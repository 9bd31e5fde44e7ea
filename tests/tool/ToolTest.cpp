// The qcgraph tool run as a process: exact output on small hand-checked graphs, exit codes,
// and one clear message for every kind of malformed input.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>
#include <fcntl.h>

extern char** environ;

namespace {

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The files a test process writes, removed when it ends.
class TempFiles : public testing::Environment {
public:
    void TearDown() override
    {
        for (const std::string& path : paths)
            std::remove(path.c_str());
    }
    std::vector<std::string> paths;
};
TempFiles* const tempFiles =
    static_cast<TempFiles*>(testing::AddGlobalTestEnvironment(new TempFiles));

// CTest runs the cases as parallel processes, so every process writes files of its own.
std::string tempPath(const std::string& name)
{
    const std::string path =
        testing::TempDir() + "qcgraph-tool-" + std::to_string(getpid()) + "-" + name;
    tempFiles->paths.push_back(path);
    return path;
}

std::string writeTemp(const std::string& name, const std::string& content)
{
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string data(const std::string& name) { return std::string(QCGRAPH_TOOL_DATA "/") + name; }

// Runs the tool with the arguments, standard output and error caught in files.
ToolRun runTool(const std::vector<std::string>& args)
{
    const std::string outPath = tempPath("stdout");
    const std::string errPath = tempPath("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all{QCGRAPH_TOOL};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    ToolRun run;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, QCGRAPH_TOOL, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = readAll(outPath);
    run.err = readAll(errPath);
    return run;
}

// Expects exit code 2, nothing on standard output and exactly `message` on standard error.
void expectBadInput(const std::vector<std::string>& args, const std::string& message)
{
    const ToolRun run = runTool(args);
    EXPECT_EQ(run.code, 2) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, message);
}

TEST(Tool, PathPrintsFileIdsScoreNodesAndLinks)
{
    // DIMACS ids and arc numbers count from 1, also in the output.
    ToolRun run = runTool({"path", data("small.gr"), "1", "5"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "score 11\nnodes 1 3 2 4 5\nlinks 2 3 4 6\n");
    EXPECT_EQ(run.err, "");

    run = runTool({"path", data("small.gr"), "3", "3"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "score 0\nnodes 3\nlinks\n");

    run = runTool({"path", data("small.gr"), "5", "1"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "qcgraph path: no path from 5 to 1\n");

    // The same roads as an edge list: ids from 0, and the last edge takes the default score 1.
    run = runTool({"path", data("small.txt"), "0", "4"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "score 4\nnodes 0 2 1 4\nlinks 1 2 6\n");
}

TEST(Tool, PathsListsWalksCheapestFirstWithinLengthBounds)
{
    ToolRun run = runTool({"paths", data("small.gr"), "1", "5", "-k", "3"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out,
              "walk 1: score 11\n  nodes 1 3 2 4 5\n  links 2 3 4 6\n"
              "walk 2: score 12\n  nodes 1 2 4 5\n  links 1 4 6\n"
              "walk 3: score 13\n  nodes 1 3 4 5\n  links 2 5 6\n");

    // Only 1 -> 2 -> 5 has at most two links.
    run = runTool({"paths", data("small.gr"), "1", "5", "-k", "3", "--max-length=2"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "walk 1: score 15\n  nodes 1 2 5\n  links 1 7\n");

    run = runTool({"paths", data("small.gr"), "5", "1", "-k", "3"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "qcgraph paths: no walk from 5 to 1\n");
}

TEST(Tool, SampleMapCheapestPathLeadsItsRankedWalks)
{
    // The demo's questions: the cheapest path across the map is the first of the ranked walks,
    // and the walks that follow cost no less, each from 1 to 81.
    const std::string map = QCGRAPH_SAMPLE_DATA "/sample.gr";
    const ToolRun path = runTool({"path", map, "1", "81"});
    ASSERT_EQ(path.code, 0) << path.err;
    const ToolRun walks = runTool({"paths", map, "1", "81", "-k", "4"});
    ASSERT_EQ(walks.code, 0) << walks.err;
    std::istringstream lines(walks.out);
    std::string line, nodes, links;
    double previous = 0.0;
    for (int walk = 1; walk <= 4; ++walk) {
        double score = 0.0;
        ASSERT_TRUE(std::getline(lines, line));
        ASSERT_EQ(std::sscanf(line.c_str(), ("walk " + std::to_string(walk) + ": score %lf").c_str(),
                              &score), 1) << line;
        EXPECT_GE(score, previous);
        previous = score;
        ASSERT_TRUE(std::getline(lines, nodes) && std::getline(lines, links));
        EXPECT_EQ(nodes.rfind("  nodes 1 ", 0), 0u) << nodes;
        EXPECT_EQ(nodes.substr(nodes.size() - 3), " 81") << nodes;
        if (walk == 1) {
            EXPECT_EQ(path.out, line.substr(8) + "\n" + nodes.substr(2) + "\n" + links.substr(2) + "\n");
        }
    }
    EXPECT_FALSE(std::getline(lines, line));
}

TEST(Tool, GroupsAndConnectWorkOnTheOutgoingLinks)
{
    //   0 -> 1    2 -> 3    4 -> 2    5 -> 5
    const std::string edges = writeTemp("groups.txt", "0 1\n2 3\n4 2\n5 5\n");
    ToolRun run = runTool({"groups", edges});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "group 1: 0 1\ngroup 2: 2 3 4\ngroup 3: 5\n");
    run = runTool({"groups", data("small.gr")});
    EXPECT_EQ(run.out, "group 1: 1 2 3 4 5\n");

    // Lists (from 0) [1 2] [3 4] [1 3] [4] []: root 2 costs 2, the others 3, 3, 6 and none.
    run = runTool({"connect", data("small.gr")});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "root 3: 2 4\n");
    // The only root with a list has one entry, which gives no record.
    run = runTool({"connect", writeTemp("one-link.txt", "0 1\n")});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "qcgraph connect: no connection records\n");
}

TEST(Tool, HelpAndBadUsage)
{
    ToolRun run = runTool({"--help"});
    EXPECT_EQ(run.code, 0);
    for (const char* command : {"path", "paths", "groups", "connect", "trace", "draw"}) {
        EXPECT_NE(run.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        const ToolRun help = runTool({command, "--help"});
        EXPECT_EQ(help.code, 0);
        EXPECT_EQ(help.out.rfind(std::string("Usage: qcgraph ") + command + " ", 0), 0u) << help.out;
    }
    EXPECT_EQ(runTool({}).code, 2);
    expectBadInput({"walk"}, "qcgraph: unknown command 'walk'; 'qcgraph --help' lists them\n");

    const std::string graph = data("small.gr");
    const std::string hint = "'qcgraph path --help' shows the usage\n";
    expectBadInput({"path", graph, "1"},
                   "qcgraph path: missing arguments: expected GRAPH FROM TO\n" + hint);
    expectBadInput({"path", graph, "0", "5"},
                   "qcgraph path: FROM (a node of " + graph +
                       ") must be a whole number from 1 to 5, not '0'\n" + hint);
    expectBadInput({"path", graph, "1", "5", "--fast"},
                   "qcgraph path: unknown option '--fast'\n" + hint);
    expectBadInput({"path", graph, "1", "5", "--format", "csv"},
                   "qcgraph path: unknown format 'csv' (expected dimacs or edges)\n" + hint);
    const std::string pathsHint = "'qcgraph paths --help' shows the usage\n";
    expectBadInput({"paths", graph, "1", "5"},
                   "qcgraph paths: missing -k K, the number of walks\n" + pathsHint);
    expectBadInput({"paths", graph, "1", "5", "-k", "0"},
                   "qcgraph paths: option '-k' must be a whole number from 1 to 100000, not '0'\n" +
                       pathsHint);
    expectBadInput({"paths", graph, "1", "5", "-k", "2", "--min-length", "3", "--max-length", "2"},
                   "qcgraph paths: --min-length 3 is greater than --max-length 2\n" + pathsHint);
    const std::string drawHint = "'qcgraph draw --help' shows the usage\n";
    expectBadInput({"draw", graph, "-o", "map.png"},
                   "qcgraph draw: cannot tell the picture type of 'map.png' (use a name ending in "
                   ".svg or .dot)\n" + drawHint);
    expectBadInput({"draw", data("small.txt"), "-o", "map.dot", "--coords", data("small.co")},
                   "qcgraph draw: --coords needs a graph in the DIMACS format\n" + drawHint);
    expectBadInput({"path", "/nonexistent/roads.gr", "1", "2"},
                   "qcgraph path: /nonexistent/roads.gr: cannot open: No such file or directory\n");
}

TEST(Tool, MalformedDimacsGetsOneMessageNamingFileAndLine)
{
    struct Case {
        const char* name;
        const char* content;
        const char* message;
    };
    const Case cases[] = {
        {"unknown-line", "p sp 2 1\nx 1 2\n", ":2: unknown line type 'x' (expected c, p or a)"},
        {"missing-field", "p sp 2 1\na 1 2\n", ":2: missing arc weight"},
        {"not-number", "p sp 2 1\na 1 two 3\n", ":2: target node id 'two' is not a whole number"},
        {"bad-weight", "p sp 2 1\na 1 2 3x\n", ":2: arc weight '3x' is not a number"},
        {"id-range", "p sp 2 1\na 1 3 1\n", ":2: target node id 3 out of range 1 to 2"},
        {"arc-first", "c roads\na 1 2 1\np sp 2 1\n", ":2: arc before the 'p sp' header"},
        {"two-headers", "p sp 2 1\np sp 2 1\n", ":2: second 'p sp' header (the first is on line 1)"},
        {"extra-arc", "p sp 2 1\na 1 2 1\na 2 1 1\n", ":3: more arcs than the 1 of the 'p sp' header"},
        {"short", "p sp 2 2\na 1 2 1\n", ":2: file ends after 1 of the 2 arcs of the 'p sp' header (truncated?)"},
        {"cut-line", "p sp 2 2\na 1 2 1\na 2 1",
         ":3: missing arc weight (the file ends inside this line: truncated?)"},
        {"overflow", "p sp 2 1\na 1 99999999999999999999 1\n",
         ":2: target node id '99999999999999999999' is too large"},
        {"huge-weight", "p sp 2 1\na 1 2 1e999\n", ":2: arc weight '1e999' is out of range"},
        {"nan-weight", "p sp 2 1\na 1 2 nan\n", ":2: arc weight 'nan' is not a finite number"},
        {"max-flow", "p max 2 1\n", ":1: problem type 'max' is not 'sp' (not a shortest-path file)"},
        {"huge-header", "p sp 99999999999 1\n", ":1: node count 99999999999 out of range 0 to 67108864"},
        {"extra-field", "p sp 2 1\na 1 2 1 7\n", ":2: unexpected '7' after the arc weight"},
    };
    for (const Case& c : cases) {
        const std::string path = writeTemp(std::string(c.name) + ".gr", c.content);
        expectBadInput({"path", path, "1", "2"}, "qcgraph path: " + path + c.message + "\n");
    }
    const std::string empty = writeTemp("empty.gr", "c nothing here\n");
    expectBadInput({"path", empty, "1", "2"}, "qcgraph path: " + empty + ": no 'p sp' header\n");
}

TEST(Tool, MalformedEdgeListAndCoordinates)
{
    struct Case {
        const char* content;
        const char* message;
    };
    const Case edgeCases[] = {
        {"0 1\n1\n", ":2: missing target node id"},
        {"0 1 x\n", ":1: score 'x' is not a number"},
        {"# roads\n-1 2\n", ":2: source node id -1 out of range 0 to 67108863"},
        {"0 1 2 3\n", ":1: unexpected '3' after the score"},
    };
    for (const Case& c : edgeCases) {
        const std::string path = writeTemp("bad-edges.txt", c.content);
        expectBadInput({"path", path, "0", "1"}, "qcgraph path: " + path + c.message + "\n");
    }

    const Case coordinateCases[] = {
        {"p aux sp co 4\n", ":1: coordinates for 4 nodes, but the graph has 5"},
        {"v 1 0 0\n", ":1: coordinates before the 'p aux sp co' header"},
        {"p aux sp co 5\nv 1 0 0\nv 1 2 2\n", ":3: second coordinates of node 1"},
        {"p aux sp co 5\nv 1 0 0\nv 2 0 0\nv 4 0 0\n",
         ":4: file ends with 2 nodes without coordinates, the first node 3 (truncated?)"},
        {"p aux sp co 5\nv 6 0 0\n", ":2: node id 6 out of range 1 to 5"},
    };
    const std::string svg = tempPath("bad.svg");
    for (const Case& c : coordinateCases) {
        const std::string path = writeTemp("bad.co", c.content);
        expectBadInput({"draw", data("small.gr"), "--coords", path, "-o", svg},
                       "qcgraph draw: " + path + c.message + "\n");
    }
}

TEST(Tool, DrawWritesDotWithPositionsAndThePath)
{
    const std::string dot = tempPath("small.dot");
    const ToolRun run = runTool({"draw", data("small.gr"), "-o", dot, "--path", "1", "5"});
    EXPECT_EQ(run.code, 0) << run.err;
    const char* red = ", color=red, penwidth=3";
    EXPECT_EQ(readAll(dot), std::string("digraph qcgraph {\n  node [shape=circle, fontsize=10];\n") +
                                "  1 [pos=\"0,0!\"" + red + "];\n"
                                "  2 [pos=\"10,0!\"" + red + "];\n"
                                "  3 [pos=\"5,-8!\"" + red + "];\n"
                                "  4 [pos=\"20,0!\"" + red + "];\n"
                                "  5 [pos=\"30,0!\"" + red + "];\n"
                                "  1 -> 2 [label=\"4\"];\n"
                                "  1 -> 3 [label=\"1\"" + red + "];\n"
                                "  3 -> 2 [label=\"2\"" + red + "];\n"
                                "  2 -> 4 [label=\"5\"" + red + "];\n"
                                "  3 -> 4 [label=\"9\"];\n"
                                "  4 -> 5 [label=\"3\"" + red + "];\n"
                                "  2 -> 5 [label=\"11\"];\n"
                                "}\n");
    // The sample map loads with its coordinates from the .co file beside it.
    const ToolRun sample = runTool({"draw", QCGRAPH_SAMPLE_DATA "/sample.gr", "-o", dot});
    EXPECT_EQ(sample.code, 0) << sample.err;
    EXPECT_NE(readAll(dot).find("\n  81 [pos=\""), std::string::npos);

    const ToolRun none = runTool({"draw", data("small.gr"), "-o", dot, "--path", "5", "1"});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.err, "qcgraph draw: no path from 5 to 1; nothing written\n");
}

std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(Tool, DrawWritesSvgWithThePathWiderAndFileIds)
{
    const std::string svg = tempPath("small.svg");
    const ToolRun run = runTool({"draw", data("small.gr"), "-o", svg, "--path", "1", "5"});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string picture = readAll(svg);
    EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
    // Seven links, then the four of the path drawn again over them, wider.
    EXPECT_EQ(countOf(picture, "<line "), 11u);
    EXPECT_EQ(countOf(picture, "stroke-width=\"5.00\""), 4u);
    // Every node labelled once for the graph and once for the path, by its DIMACS id.
    for (const char* label : {">1</text>", ">2</text>", ">3</text>", ">4</text>", ">5</text>"})
        EXPECT_EQ(countOf(picture, label), 2u) << label;
    EXPECT_EQ(countOf(picture, ">0</text>"), 0u);

    // The README shows the demo's picture of the sample map; it must be what the tool draws.
    const ToolRun demo = runTool({"draw", QCGRAPH_SAMPLE_DATA "/sample.gr", "-o", svg, "--path", "1", "81"});
    EXPECT_EQ(demo.code, 0) << demo.err;
    EXPECT_TRUE(readAll(svg) == readAll(QCGRAPH_SAMPLE_DATA "/../docs/sample-path.svg"))
        << "run scripts/demo and copy build/demo/sample-path.svg to docs/";
}

TEST(Tool, TracePrintsTheLibrarysNumbering)
{
    const ToolRun run = runTool({"trace", data("small.txt")});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out,
              "\n 5 nodes\n"
              "\n\nNode 0 links:\nlink 1: 0 to 2 score 1\nlink 0: 0 to 1 score 4\n"
              "\n\nNode 1 links:\nlink 6: 1 to 4 score 1\nlink 3: 1 to 3 score 5\n"
              "\n\nNode 2 links:\nlink 4: 2 to 3 score 9\nlink 2: 2 to 1 score 2\n"
              "\n\nNode 3 links:\nlink 5: 3 to 4 score 3\n"
              "\n\nNode 4 links:\n");
}

}  // namespace
