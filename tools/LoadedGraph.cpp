#include "LoadedGraph.h"

#include <cstdio>

#include <stdexcept>

#include <unistd.h>

namespace {

// Shows "loading FILE: 45% (4.5M lines)" in place on a terminal once a file has passed a
// million lines, so small files load silently and large ones show they are being read.
class ProgressLine {
public:
    explicit ProgressLine(std::string path) : mPath(std::move(path)), mEnabled(isatty(2) != 0) {}
    ~ProgressLine()
    {
        if (mShown)
            std::fputs("\n", stderr);
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    qcReadProgressFunction function()
    {
        if (!mEnabled)
            return {};
        return [this](const qcReadProgress& p) { show(p); };
    }

private:
    void show(const qcReadProgress& p)
    {
        if (p.lines < 1000000)
            return;
        mShown = true;
        const double millions = static_cast<double>(p.lines) / 1e6;
        if (p.bytesTotal > 0)
            std::fprintf(stderr, "\rloading %s: %3d%% (%.1fM lines)", mPath.c_str(),
                         static_cast<int>(100.0 * static_cast<double>(p.bytesRead) /
                                          static_cast<double>(p.bytesTotal)),
                         millions);
        else
            std::fprintf(stderr, "\rloading %s: %.1fM lines", mPath.c_str(), millions);
        std::fflush(stderr);
    }

    std::string mPath;
    bool mEnabled;
    bool mShown = false;
};

qcGraphFormat chosenFormat(const CommandLine& line, const std::string& path)
{
    if (!line.has("--format")) {
        if (qfGraphFormatOf(path) == qcGraphFormat::dot)
            throw UsageError("cannot read '" + path + "': DOT files are written, not read");
        return qfGraphFormatOf(path);
    }
    const std::string& name = line.values("--format").front();
    if (name != "dot") {
        try {
            return qfGraphFormatNamed(name);
        } catch (const std::invalid_argument&) {
        }
    }
    throw UsageError("unknown format '" + name + "' (expected dimacs, edges, mtx or graphml)");
}

}  // namespace

std::vector<OptionSpec> withGraphOptions(std::vector<OptionSpec> own)
{
    own.push_back({"--format", 1});
    own.push_back({"--max-nodes", 1});
    own.push_back({"--time", 0});
    return own;
}

LoadedGraph::LoadedGraph(const CommandLine& line, Coordinates coordinates)
    : mPath(line.positional().at(0) == "-" ? "(standard input)" : line.positional()[0]),
      mTiming(line.has("--time"))
{
    const std::string& path = line.positional()[0];
    qcGraphReadOptions options;
    options.format = chosenFormat(line, path);
    options.maxNodes = line.integer("--max-nodes", 1, qcMaxNodesLimit, qcNodesBySize);
    options.maxNodesName = "--max-nodes N";
    options.coordinates = coordinates == Coordinates::read ? qcCoordinates::beside : qcCoordinates::none;
    if (coordinates == Coordinates::read && line.has("--coords")) {
        if (options.format != qcGraphFormat::dimacs)
            throw UsageError("--coords needs a graph in the DIMACS format");
        options.coordinatesPath = line.values("--coords").front();
    }

    const auto start = std::chrono::steady_clock::now();
    {
        ProgressLine progress(mPath);
        options.progress = progress.function();
        mFile = qfReadGraph(path, options);
    }
    if (graph().numNodes() == 0)
        throw qcGraphFileError(mPath, 0, "no nodes (an empty graph)");
    if (mTiming) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "load: %.3f s, %llu lines (%.2fM lines/s), %ld nodes, %ld links\n",
                     seconds, static_cast<unsigned long long>(mFile.lines),
                     seconds > 0.0 ? static_cast<double>(mFile.lines) / seconds / 1e6 : 0.0,
                     graph().numNodes(), graph().numLinks());
    }
}

std::int32_t LoadedGraph::node(const std::string& text, const char* what) const
{
    const std::string argument = std::string(what) + " (a node of " + mPath + ")";
    if (!mFile.ids.named()) {
        const std::int64_t first = mFile.ids.base;
        return static_cast<std::int32_t>(
            integerArgument(text, argument, first, first + graph().numNodes() - 1) - first);
    }
    const std::int32_t node = mFile.ids.find(text, static_cast<std::int32_t>(graph().numNodes()));
    if (node < 0)
        throw UsageError(argument + " names no node of the file: '" + text + "'");
    return node;
}

std::string LoadedGraph::idList(const qcIndexArray& nodes) const
{
    std::string text;
    for (const std::int32_t i : nodes)
        text += ' ' + id(i);
    return text;
}

std::string LoadedGraph::linkList(const qcIndexArray& links) const
{
    const std::int64_t base = mFile.ids.named() ? 0 : mFile.ids.base;
    std::string text;
    for (const std::int32_t k : links)
        text += ' ' + std::to_string(k + base);
    return text;
}

void LoadedGraph::reportTime(const char* what, std::chrono::steady_clock::time_point start) const
{
    if (!mTiming)
        return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%s: %.3f s\n", what, seconds);
}
