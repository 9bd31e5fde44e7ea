#ifndef QCGRAPH_PYTHON_FILE_BINDINGS_H
#define QCGRAPH_PYTHON_FILE_BINDINGS_H

// Graph files from Python: qcgraph.read and Graph.write go through these.

#include <pybind11/pybind11.h>

#include <optional>
#include <string>

#include "qcDirectedGraph.h"

// Reads the file at `path` (a str or os.PathLike) into `graph`, which must be empty, and returns
// its node ids: a range for the numbered formats, a list of str for GraphML. Runs without the
// GIL; a bad file raises qcgraph.GraphFileError.
pybind11::object readGraphFile(qcDirectedGraph& graph, const pybind11::object& path,
                               const std::optional<std::string>& format, const std::string& weight,
                               std::optional<long long> maxNodes);
// Writes the graph; call without the GIL. `path` is a file system path already made a str.
void writeGraphFile(const qcDirectedGraph& graph, const std::string& path,
                    const std::optional<std::string>& format);
// os.fspath(path) as a str.
std::string fileSystemPath(const pybind11::object& path);

// qcgraph.GraphFileError, a ValueError with the attributes file, line and message.
void bindFiles(pybind11::module_& m);

#endif
