// Graph files: qcgraph.read, Graph.write and the error they raise.
#include "FileBindings.h"

#include <pybind11/stl.h>

#include <stdexcept>

#include "qcGraphFiles.h"

namespace py = pybind11;

namespace {

qcGraphFormat formatOf(const std::optional<std::string>& format)
{
    return format ? qfGraphFormatNamed(*format) : qcGraphFormat::byName;
}

}  // namespace

std::string fileSystemPath(const py::object& path)
{
    const py::object text = py::module_::import("os").attr("fspath")(path);
    if (!py::isinstance<py::str>(text))
        throw py::type_error("path must be a str or an os.PathLike of str");
    return text.cast<std::string>();
}

py::object readGraphFile(qcDirectedGraph& graph, const py::object& path,
                         const std::optional<std::string>& format, const std::string& weight,
                         std::optional<long long> maxNodes)
{
    qcGraphReadOptions options;
    options.format = formatOf(format);
    options.weight = weight;
    if (maxNodes && (*maxNodes < 1 || *maxNodes > qcMaxNodesLimit))
        throw py::value_error("max_nodes must lie in 1 to 2**31 - 1, not " + std::to_string(*maxNodes));
    options.maxNodes = maxNodes ? *maxNodes : qcNodesBySize;
    options.maxNodesName = "max_nodes=N";
    const std::string file = fileSystemPath(path);
    qcGraphFile read;
    {
        py::gil_scoped_release release;
        read = qfReadGraph(file, options);
    }
    graph = std::move(read.graph);
    if (!read.ids.named())
        return py::module_::import("builtins").attr("range")(read.ids.base, read.ids.base + graph.numNodes());
    py::list names;
    for (const std::string& name : read.ids.names)
        names.append(py::str(name));
    return std::move(names);
}

void writeGraphFile(const qcDirectedGraph& graph, const std::string& path,
                    const std::optional<std::string>& format)
{
    qcGraphWriteOptions options;
    options.format = formatOf(format);
    qfWriteGraph(path, graph, options);
}

void bindFiles(py::module_& m)
{
    // Made once and never freed: the translator may run until the interpreter ends.
    static PyObject* const errorType =
        PyErr_NewExceptionWithDoc("qcgraph.GraphFileError",
                                  "A graph file that cannot be read or written; file, line (0 for none) and message "
                                  "tell where and what.",
                                  PyExc_ValueError, nullptr);
    m.attr("GraphFileError") = py::handle(errorType);
    py::register_exception_translator([](std::exception_ptr fault) {
        try {
            if (fault)
                std::rethrow_exception(fault);
        } catch (const qcGraphFileError& e) {
            py::object error = py::reinterpret_borrow<py::object>(errorType)(e.what());
            error.attr("file") = e.file();
            error.attr("line") = e.line();
            error.attr("message") = e.message();
            PyErr_SetObject(errorType, error.ptr());
        }
    });
}
