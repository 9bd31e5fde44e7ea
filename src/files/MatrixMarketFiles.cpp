// Matrix Market coordinate files: entry (i, j) is a link from node i to node j, ids from 1.
#include "FileFormats.h"
#include "LineFields.h"
#include "LinkBatch.h"
#include "LineSource.h"

namespace {

constexpr std::int64_t maxEntries = qcMaxNodesLimit;

struct Banner {
    bool pattern = false;    // no values: every score 1
    bool symmetric = false;  // each entry off the diagonal stands for both directions
};

// "%%MatrixMarket matrix coordinate real|integer|pattern general|symmetric", words in any case.
Banner readBanner(LineSource& source)
{
    std::string_view line;
    if (!source.next(line))
        throw qcGraphFileError(source.path(), 0, "empty file, no '%%MatrixMarket' banner");
    LineFields fields(line, source);
    std::string words[5];
    const char* what[5] = {"'%%MatrixMarket'", "object 'matrix'", "format 'coordinate'",
                           "field 'real', 'integer' or 'pattern'", "symmetry 'general' or 'symmetric'"};
    for (int i = 0; i < 5; ++i) {
        words[i] = std::string(fields.word(what[i]));
        for (char& c : words[i])
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if ((i == 0 && words[0] != "%%matrixmarket") || (i == 1 && words[1] != "matrix"))
            fields.fail("not a '%%MatrixMarket matrix' banner");
    }
    fields.expectEnd("the symmetry");
    if (words[2] != "coordinate")
        fields.fail("format " + quoted(words[2]) + " is not 'coordinate' (a dense array is no graph)");
    if (words[3] != "real" && words[3] != "integer" && words[3] != "pattern")
        fields.fail("field " + quoted(words[3]) + " is not 'real', 'integer' or 'pattern'");
    if (words[4] != "general" && words[4] != "symmetric")
        fields.fail("symmetry " + quoted(words[4]) + " is not 'general' or 'symmetric'");
    return {words[3] == "pattern", words[4] == "symmetric"};
}

}  // namespace

qcGraphFile readMatrixMarket(InputBytes& in, const qcGraphReadOptions& options)
{
    qcGraphFile file;
    file.ids.base = 1;
    LineSource source(in, options.progress);
    const Banner banner = readBanner(source);
    const NodeBound nodeLimit = nodeBound(source.size(), options);
    std::int64_t nodes = -1;
    std::int64_t entries = 0;
    std::int64_t entriesRead = 0;
    LinkBatch links(file.graph);
    std::string_view line;
    while (source.next(line)) {
        if (!line.empty() && line[0] == '%')
            continue;
        LineFields fields(line, source);
        if (fields.atEnd())
            continue;
        if (nodes < 0) {
            const std::int64_t rows = fields.integer("row count", 0, qcMaxNodesLimit);
            const std::int64_t columns = fields.integer("column count", 0, qcMaxNodesLimit);
            entries = fields.integer("entry count", 0, maxEntries);
            fields.expectEnd("the entry count");
            if (banner.symmetric && rows != columns)
                fields.fail("a symmetric matrix of " + std::to_string(rows) + " rows and " +
                            std::to_string(columns) + " columns");
            nodes = rows > columns ? rows : columns;
            checkNodeCount(fields, nodes, nodeLimit);
            growNodes(file.graph, nodes);
            const std::uint64_t fit = source.size() / 6;  // "1 1 1\n" an entry at least
            file.graph.reserveLinks(static_cast<long>(
                (static_cast<std::uint64_t>(entries) < fit ? entries : fit) * (banner.symmetric ? 2 : 1)));
            continue;
        }
        if (entriesRead == entries)
            fields.fail("more entries than the " + std::to_string(entries) + " of the size line");
        const std::int64_t from = fields.integer("row", 1, nodes);
        const std::int64_t to = fields.integer("column", 1, nodes);
        const double score = banner.pattern ? 1.0 : fields.number("value");
        fields.expectEnd(banner.pattern ? "the column" : "the value");
        links.add(static_cast<long>(from - 1), static_cast<long>(to - 1), score);
        if (banner.symmetric && from != to)
            links.add(static_cast<long>(to - 1), static_cast<long>(from - 1), score);
        ++entriesRead;
    }
    if (nodes < 0)
        throw qcGraphFileError(source.path(), 0, "no size line 'rows columns entries'");
    if (entriesRead != entries)
        source.fail("file ends after " + std::to_string(entriesRead) + " of the " +
                    std::to_string(entries) + " entries of the size line (truncated?)");
    links.flush();
    file.lines = source.lineNumber();
    return file;
}

void writeMatrixMarket(OutputText& out, const qcDirectedGraph& graph)
{
    out << "%%MatrixMarket matrix coordinate real general\n";
    out << std::int64_t{graph.numNodes()} << ' ' << std::int64_t{graph.numNodes()} << ' '
        << std::int64_t{graph.numLinks()} << '\n';
    for (long k = 0; k < graph.numLinks(); ++k) {
        const qcDirectedGraphLink& link = graph.link(k);
        out << std::int64_t{link.nodeA() + 1} << ' ' << std::int64_t{link.nodeB() + 1} << ' '
            << link.score() << '\n';
    }
}
