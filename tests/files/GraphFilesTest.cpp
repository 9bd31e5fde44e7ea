// The DIMACS and edge-list readers: one exact message, naming file and line, for every kind of
// malformed input (one of them at the end of a file of several read blocks).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "qcGraphFiles.h"

namespace {

using namespace std::string_literals;
enum Kind { dimacs, edges, coordinates };

std::string scratchFile(const std::string& content)
{
    const std::string path = testing::TempDir() + "qcgraph-files-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// The message of reading the file as the kind given, or "" when it reads.
std::string messageOf(Kind kind, const std::string& path)
{
    try {
        qcGraphReadOptions options;
        options.format = kind == edges ? qcGraphFormat::edges : qcGraphFormat::dimacs;
        options.coordinatesPath = kind == coordinates ? path : "";
        qfReadGraph(kind == coordinates ? QCGRAPH_TOOL_DATA "/small.gr" : path, options);
    } catch (const qcGraphFileError& e) {
        return e.what();
    }
    return "";
}

TEST(GraphFiles, MalformedInputGetsOneMessageNamingFileAndLine)
{
    const struct {
        const char* name;
        Kind kind;
        std::string content;
        const char* message;
    } cases[] = {
        {"unknown line type", dimacs, "p sp 2 1\nx 1 2\n", ":2: unknown line type 'x' (expected c, p or a)"},
        {"missing weight", dimacs, "p sp 2 1\na 1 2\n", ":2: missing arc weight"},
        {"id not a number", dimacs, "p sp 2 1\na 1 two 3\n", ":2: target node id 'two' is not a whole number"},
        {"weight not a number", dimacs, "p sp 2 1\na 1 2 3x\n", ":2: arc weight '3x' is not a number"},
        {"target out of range", dimacs, "p sp 2 1\na 1 3 1\n", ":2: target node id 3 out of range 1 to 2"},
        {"source 0", dimacs, "p sp 2 1\na 0 1 1\n", ":2: source node id 0 out of range 1 to 2"},
        {"arc before header", dimacs, "c roads\na 1 2 1\np sp 2 1\n", ":2: arc before the 'p sp' header"},
        {"second header", dimacs, "p sp 2 1\np sp 2 1\n", ":2: second 'p sp' header (the first is on line 1)"},
        {"too many arcs", dimacs, "p sp 2 1\na 1 2 1\na 2 1 1\n", ":3: more arcs than the 1 of the 'p sp' header"},
        {"too few arcs", dimacs, "p sp 2 2\na 1 2 1\n", ":2: file ends after 1 of the 2 arcs of the 'p sp' header (truncated?)"},
        {"truncated line", dimacs, "p sp 2 2\na 1 2 1\na 2 1", ":3: missing arc weight (the file ends inside this line: truncated?)"},
        {"id too large", dimacs, "p sp 2 1\na 1 99999999999999999999 1\n", ":2: target node id '99999999999999999999' is too large"},
        {"weight out of range", dimacs, "p sp 2 1\na 1 2 1e999\n", ":2: arc weight '1e999' is out of range"},
        {"weight NaN", dimacs, "p sp 2 1\na 1 2 nan\n", ":2: arc weight 'nan' is not a finite number"},
        {"not a shortest-path file", dimacs, "p max 2 1\n", ":1: problem type 'max' is not 'sp' (not a shortest-path file)"},
        {"node count out of range", dimacs, "p sp 99999999999 1\n", ":1: node count 99999999999 out of range 0 to 2147483647"},
        {"too many nodes for the size", dimacs, "p sp 67108864 1\n", ":1: needs 67108864 nodes, more than the 1048576 allowed for a file of its size (a higher maxNodes allows more)"},
        {"edge list: too many nodes for the size", edges, "1048576 0\n", ":1: needs 1048577 nodes, more than the 1048576 allowed for a file of its size (a higher maxNodes allows more)"},
        {"a larger file may have more nodes", edges, "1500000 0\n" + std::string(1500000, '\n'), ""},
        {"CR line ends", edges, "0 1\r1 2\r", ":1: lines end in CR alone (convert them to LF)"},
        {"CR LF line ends", edges, "0 1\r\n1 2\r\n", ""},
        {"no line end after the last line", edges, "0 1\n1 2", ""},
        {"control bytes escaped", dimacs, "p sp 2 1\na 1 2 \x1b[2J\xff\\"s + '\0' + "RED\n", ":2: arc weight '\\x1b[2J\\xff\\\\\\x00RED' is not a number"},
        {"a long field quoted to its 40th character", edges, "0 1 " + std::string(41, 'x') + "\n", ":1: score 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...' is not a number"},
        {"extra field after the arc", dimacs, "p sp 2 1\na 1 2 1 7\n", ":2: unexpected '7' after the arc weight"},
        {"extra field after the header", dimacs, "p sp 2 1 x\n", ":1: unexpected 'x' after the arc count"},
        {"UTF-8 kept, the rest escaped", edges, "0 1 \x7f\xc3\xa9\xed\xa0\x80\xc2\xa1\xf0\x90\x80\x80\x80\xe2\x82\xac\xee\x80\x80\n",  // DEL, é, a surrogate, ¡, U+10000, a stray byte, €, U+E000
         ":1: score '\\x7f\xc3\xa9\\xed\\xa0\\x80\xc2\xa1\xf0\x90\x80\x80\\x80\xe2\x82\xac\xee\x80\x80' is not a number"},
        {"UTF-8 at the bounds", edges, "0 1 \xc2\xa0" "\xe0\xa0\x80" "\xed\x9f\xbf" "\xf4\x8f\xbf\xbf" "\xc2\x9f" "\xe0\x9f\xbf" "\xf0\x8f\xbf\xbf" "\xf4\x90\x80\x80" "\xed\xbf\xbf\n",  // U+A0, U+800, U+D7FF, U+10FFFF kept; a C1 control, two overlong forms, U+110000, the last surrogate escaped
         ":1: score '\xc2\xa0" "\xe0\xa0\x80" "\xed\x9f\xbf" "\xf4\x8f\xbf\xbf" "\\xc2\\x9f\\xe0\\x9f\\xbf\\xf0\\x8f\\xbf\\xbf\\xf4\\x90\\x80\\x80\\xed\\xbf\\xbf' is not a number"},
        {"no header", dimacs, "c nothing here\n", ": no 'p sp' header"},
        {"no arcs, a blank line: a graph", dimacs, "p sp 2 0\n\n", ""},
        {"no nodes at all", dimacs, "p sp 0 0\n", ""},
        {"line over 1 MiB", dimacs, "c ok\n" + std::string(qcMaxLineBytes + 1, '7') + "\np sp 1 0\n", ":2: line longer than 1 MiB (not a text file?)"},
        {"missing target", edges, "0 1\n1\n", ":2: missing target node id"},
        {"score not a number", edges, "0 1 x\n", ":1: score 'x' is not a number"},
        {"negative source", edges, "# roads\n-1 2\n", ":2: source node id -1 out of range 0 to 2147483646"},
        {"extra field after the score", edges, "0 1 2 3\n", ":1: unexpected '3' after the score"},
        {"fault on a late line", edges, [] { std::string s; for (int i = 0; i < 700000; ++i) s += "1 2 3\n"; return s + "1 2 x\n"; }(), ":700001: score 'x' is not a number"},
        {"too few coordinates", coordinates, "p aux sp co 4\n", ":1: coordinates for 4 nodes, but the graph has 5"},
        {"coordinates for no nodes", coordinates, "p aux sp co 0\n", ":1: coordinates for 0 nodes, but the graph has 5"},
        {"coordinates before header", coordinates, "v 1 0 0\n", ":1: coordinates before the 'p aux sp co' header"},
        {"second coordinates", coordinates, "p aux sp co 5\nv 1 0 0\nv 1 2 2\n", ":3: second coordinates of node 1"},
        {"nodes without coordinates", coordinates, "p aux sp co 5\nv 2 0 0\nv 3 0 0\nv 5 0 0\n", ":4: file ends with 2 nodes without coordinates, the first node 1 (truncated?)"},
        {"extra field after y", coordinates, "p aux sp co 5\nv 1 0 0 9\n", ":2: unexpected '9' after the y coordinate"},
        {"coordinate id out of range", coordinates, "p aux sp co 5\nv 6 0 0\n", ":2: node id 6 out of range 1 to 5"},
    };
    for (const auto& c : cases) {
        const std::string path = scratchFile(c.content);
        EXPECT_EQ(messageOf(c.kind, path), *c.message ? path + c.message : "") << c.name;
        std::remove(path.c_str());
    }
}

}  // namespace
