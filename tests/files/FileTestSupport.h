#ifndef QCGRAPH_TESTS_FILE_TEST_SUPPORT_H
#define QCGRAPH_TESTS_FILE_TEST_SUPPORT_H

// What the file library's tests share: scratch files, and a graph read back as short text.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "qcGraphFiles.h"

namespace qctest {

// A file of its own for every process (CTest runs the cases in parallel); `name` gives its end.
inline std::string scratchFile(const std::string& content, const std::string& name = "graph")
{
    const std::string path = testing::TempDir() + "qcgraph-files-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// "ids|a>b:score ...[|x,y ...]" ("1 2 3|1>2:4 2>3:1"): the file's ids of the nodes, every link in
// order, and the positions when the file gave them.
inline std::string shape(const qcGraphFile& file)
{
    std::ostringstream out;
    for (std::int32_t i = 0; i < file.graph.numNodes(); ++i)
        out << (i ? " " : "") << file.ids.text(i);
    out << '|';
    for (long k = 0; k < file.graph.numLinks(); ++k) {
        const qcDirectedGraphLink& l = file.graph.link(k);
        out << (k ? " " : "") << l.nodeA() << '>' << l.nodeB() << ':' << l.score();
    }
    for (std::int32_t i = 0; file.hasPositions && i < file.graph.numNodes(); ++i) {
        const qcVector<2>& p = file.graph.node(i).position();
        out << (i ? " " : "|") << p.x() << ',' << p.y();
    }
    return out.str();
}

// The shape of the file read with `options`, or its message with the file's name cut off.
inline std::string readBack(const std::string& path, const qcGraphReadOptions& options)
{
    try {
        return shape(qfReadGraph(path, options));
    } catch (const qcGraphFileError& e) {
        const std::string message = e.what();
        return message.rfind(path, 0) == 0 ? message.substr(path.size()) : "not named: " + message;
    }
}

}  // namespace qctest

#endif
