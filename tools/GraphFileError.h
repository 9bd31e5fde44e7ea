#ifndef QCGRAPH_TOOLS_GRAPH_FILE_ERROR_H
#define QCGRAPH_TOOLS_GRAPH_FILE_ERROR_H

#include <stdexcept>
#include <string>

// A graph or coordinates file that cannot be read: what() is one line for the user, naming the
// file and, where there is one, the line ("roads.gr:12: arc before the 'p sp' header").
class GraphFileError : public std::runtime_error {
public:
    explicit GraphFileError(const std::string& message) : std::runtime_error(message) {}
};

#endif
