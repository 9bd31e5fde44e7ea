// "draw": pictures of the graph, as SVG through the library's drawing or as Graphviz DOT.
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <qcSvgTablet.h>

#include "Commands.h"
#include "LoadedGraph.h"
#include "PictureTablet.h"

namespace {

// Nodes without coordinates go round a circle in id order, about 40 units apart, so that a
// picture of an edge list still shows every node and link.
void placeOnCircle(qcDirectedGraph& graph)
{
    const double pi = std::acos(-1.0);
    const long n = graph.numNodes();
    const double radius = 20.0 * static_cast<double>(n) / pi + 40.0;
    for (long i = 0; i < n; ++i) {
        const double angle = 2.0 * pi * static_cast<double>(i) / static_cast<double>(n);
        qcDirectedGraphNode node = graph.node(i);
        node.position(qcVector<2>(radius * std::cos(angle), radius * std::sin(angle)));
        graph.node(i, node);
    }
}

void writeDotFile(const std::string& output, const LoadedGraph& loaded,
                  const qcIndexArray& pathNodes, const qcIndexArray& pathLinks)
{
    qcGraphWriteOptions options;
    options.format = qcGraphFormat::dot;
    options.ids = &loaded.file().ids;
    options.highlightNodes = pathNodes;
    options.highlightLinks = pathLinks;
    qfWriteGraph(output, loaded.graph(), options);
}

// The picture's pixels round the drawing, on each side.
constexpr std::int64_t svgMargins = 80;

// The library draws the graph and then the path over it, the path wider and in amber. Links
// point with arrowheads and labels show only where they have room, so that big graphs still
// show their links; without --size the picture fills its window.
void writeSvgFile(const std::string& output, const LoadedGraph& loaded, std::int64_t size,
                  const qcIndexArray& pathNodes, const qcIndexArray& pathLinks)
{
    qcSvgTablet svg;
    qcSvgTablet::Style style;
    style.span = size > 0 ? static_cast<double>(size - svgMargins) : style.span;
    style.fixedSize = size > 0;
    style.arrowheads = true;
    style.fittedLabels = true;
    svg.style(style);
    PictureTablet tablet(svg, loaded.file().ids, loaded.graph().numNodes());
    loaded.graph().draw(tablet);
    svg.lineWidth(4.0);
    tablet.paintAll(qcColor(255, 170, 40));
    loaded.graph().drawPath(tablet, pathNodes, pathLinks);
    if (output == "-")
        svg.write(std::cout);  // main() reports a failed write on standard output
    else if (!svg.save(output))
        throw qcGraphFileError(output, 0, std::string("cannot write: ") + std::strerror(errno));
}

ExitCode runDraw(const CommandLine& line)
{
    line.expectPositional(1, "GRAPH");
    if (!line.has("-o"))
        throw UsageError("missing -o FILE, the picture to write");
    const std::string output = line.values("-o").front();
    const bool dot = qfGraphFormatOf(output) == qcGraphFormat::dot;
    const bool svg = output.size() >= 4 && output.compare(output.size() - 4, 4, ".svg") == 0;
    if (!dot && !svg && output != "-")
        throw UsageError("cannot tell the picture type of '" + output +
                         "' (use a name ending in .svg or .dot, or '-')");
    const std::int64_t size = line.integer("--size", 200, 100000, 0);
    LoadedGraph loaded(line, Coordinates::read);
    qcIndexArray pathNodes;
    qcIndexArray pathLinks;
    if (line.has("--path")) {
        const std::vector<std::string>& ends = line.values("--path");
        const std::int32_t from = loaded.node(ends[0], "--path FROM");
        const std::int32_t to = loaded.node(ends[1], "--path TO");
        const auto start = std::chrono::steady_clock::now();
        loaded.graph().shortestPath(from, to, pathNodes, pathLinks);
        loaded.reportTime("query", start);
        if (pathNodes.empty()) {
            reportNothingFound("draw", "no path from " + ends[0] + " to " + ends[1] +
                                           "; nothing written");
            return exitNothingFound;
        }
    }
    if (!loaded.file().hasPositions)
        placeOnCircle(loaded.graph());

    const auto start = std::chrono::steady_clock::now();
    if (dot)
        writeDotFile(output, loaded, pathNodes, pathLinks);
    else
        writeSvgFile(output, loaded, size, pathNodes, pathLinks);
    loaded.reportTime("draw", start);
    return exitOk;
}

}  // namespace

void addDrawCommand(std::vector<Command>& commands)
{
    commands.push_back({"draw", "a picture of the graph, SVG or Graphviz DOT",
                        "Usage: qcgraph draw GRAPH -o OUT.svg|OUT.dot|- [--path FROM TO]\n"
                        "                    [--size PIXELS] [--coords FILE] [--max-nodes N]\n"
                        "                    [--format dimacs|edges|mtx|graphml] [--time]\n"
                        "\n"
                        "Writes a picture of the graph (-o - writes SVG to standard output): every\n"
                        "node at its position, every link as an arrow from its source to its\n"
                        "target. With --path the cheapest path from FROM to TO is drawn over it\n"
                        "(wider and amber in SVG, red in DOT). The library draws the SVG, on a dark\n"
                        "background: a node shows its id where the label has room, else it is a\n"
                        "small dot, and an arrow shows its head where the link is long enough.\n"
                        "The SVG fills the window that shows it; --size PIXELS (200 to 100000)\n"
                        "fixes its longer side instead, and a larger picture has room for more\n"
                        "labels. A name ending in .dot (or .gv) gives Graphviz DOT with the\n"
                        "positions pinned (render with 'neato -n2 -Tpng OUT.dot'). Positions of a\n"
                        "DIMACS graph come from --coords FILE, or else from the .co file beside\n"
                        "the .gr file; nodes without coordinates are placed on a circle.\n"
                        "\n"
                        "Exit code 0 when the picture is written, 1 when --path finds no path\n"
                        "(nothing is written then), 2 for bad usage or a bad file.\n",
                        withGraphOptions({{"-o", 1}, {"--path", 2}, {"--coords", 1}, {"--size", 1}}),
                        runDraw});
}
