// Matrix Market coordinate files: entries as links, symmetric ones both ways, every fault named.
#include "FileTestSupport.h"

namespace {

TEST(MatrixMarket, GoodAndBadFiles)
{
    const std::string banner = "%%MatrixMarket matrix coordinate ";
    const struct {
        const char* name;
        std::string content;
        const char* want;
    } cases[] = {
        {"real general", banner + "real general\n% comment\n3 3 2\n1 2 0.5\n3 1 -2\n", "1 2 3|0>1:0.5 2>0:-2"},
        {"pattern scores 1", banner + "pattern general\n2 2 1\n2 1\n", "1 2|1>0:1"},
        {"symmetric both ways, diagonal once", banner + "integer symmetric\n3 3 2\n2 1 4\n3 3 5\n", "1 2 3|1>0:4 0>1:4 2>2:5"},
        {"words in any case", "%%matrixmarket MATRIX Coordinate Real General\n2 3 0\n", "1 2 3|"},
        {"no rows or columns", banner + "real general\n0 0 0\n", "|"},
        {"no banner", "3 3 0\n", ":1: not a '%%MatrixMarket matrix' banner"},
        {"empty", "", ": empty file, no '%%MatrixMarket' banner"},
        {"dense array", "%%MatrixMarket matrix array real general\n", ":1: format 'array' is not 'coordinate' (a dense array is no graph)"},
        {"complex", banner + "complex general\n", ":1: field 'complex' is not 'real', 'integer' or 'pattern'"},
        {"hermitian", banner + "real hermitian\n", ":1: symmetry 'hermitian' is not 'general' or 'symmetric'"},
        {"banner too long", banner + "real general x\n", ":1: unexpected 'x' after the symmetry"},
        {"no size line", banner + "real general\n% only\n", ": no size line 'rows columns entries'"},
        {"symmetric not square", banner + "real symmetric\n2 3 0\n", ":2: a symmetric matrix of 2 rows and 3 columns"},
        {"row out of range", banner + "real general\n2 2 1\n3 1 1\n", ":3: row 3 out of range 1 to 2"},
        {"pattern with a value", banner + "pattern general\n2 2 1\n1 2 7\n", ":3: unexpected '7' after the column"},
        {"missing value", banner + "real general\n2 2 1\n1 2\n", ":3: missing value"},
        {"too many entries", banner + "real general\n2 2 1\n1 2 1\n2 1 1\n", ":4: more entries than the 1 of the size line"},
        {"truncated", banner + "real general\n2 2 2\n1 2 1\n", ":3: file ends after 1 of the 2 entries of the size line (truncated?)"},
        {"too many nodes", banner + "real general\n2000000 1 0\n", ":2: needs 2000000 nodes, more than the 1048576 allowed for a file of its size (a higher maxNodes allows more)"},
    };
    qcGraphReadOptions options;
    options.format = qcGraphFormat::mtx;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qctest::readBack(qctest::scratchFile(c.content), options), c.want);
    }
}

}  // namespace
