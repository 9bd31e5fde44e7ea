#include "LoadedGraph.h"

#include <cstdio>

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

    LoadProgressFunction function()
    {
        if (!mEnabled)
            return {};
        return [this](const LoadProgress& p) { show(p); };
    }

private:
    void show(const LoadProgress& p)
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

GraphFormat chosenFormat(const CommandLine& line, const std::string& path)
{
    if (!line.has("--format"))
        return formatForPath(path);
    const std::string& name = line.values("--format").front();
    if (name == "dimacs")
        return GraphFormat::dimacs;
    if (name == "edges")
        return GraphFormat::edges;
    throw UsageError("unknown format '" + name + "' (expected dimacs or edges)");
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

}  // namespace

std::vector<OptionSpec> withGraphOptions(std::vector<OptionSpec> own)
{
    own.push_back({"--format", 1});
    own.push_back({"--max-nodes", 1});
    own.push_back({"--time", 0});
    return own;
}

LoadedGraph::LoadedGraph(const CommandLine& line, Coordinates coordinates)
    : mPath(LineSource::nameOf(line.positional().at(0))), mTiming(line.has("--time"))
{
    const std::string& path = line.positional()[0];
    const GraphFormat format = chosenFormat(line, path);
    const std::int64_t maxNodes = line.integer("--max-nodes", 1, maxNodesLimit, nodesBySize);
    std::string coordinatesPath;
    if (coordinates == Coordinates::read && line.has("--coords")) {
        if (format != GraphFormat::dimacs)
            throw UsageError("--coords needs a graph in the DIMACS format");
        coordinatesPath = line.values("--coords").front();
    } else if (coordinates == Coordinates::read && format == GraphFormat::dimacs &&
               path != LineSource::standardInput && fileExists(coordinatesPathFor(path))) {
        coordinatesPath = coordinatesPathFor(path);
    }

    const auto start = std::chrono::steady_clock::now();
    {
        ProgressLine progress(mPath);
        mFile = readGraphFile(path, format, progress.function(), maxNodes);
    }
    if (!coordinatesPath.empty()) {
        ProgressLine progress(coordinatesPath);
        readDimacsCoordinates(coordinatesPath, mFile, progress.function());
    }
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
    const std::int64_t count = graph().numNodes();
    return static_cast<std::int32_t>(
        integerArgument(text, std::string(what) + " (a node of " + mPath + ")", id(0),
                        id(count - 1)) -
        mFile.idBase);
}

std::string LoadedGraph::idList(const qcIndexArray& indices) const
{
    std::string text;
    for (const std::int32_t i : indices) {
        text += ' ';
        text += std::to_string(id(i));
    }
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
