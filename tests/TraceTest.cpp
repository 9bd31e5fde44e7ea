#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "qcConStream.h"
#include "support/GraphTestSupport.h"

using qctest::makeGraph;
using Pieces = std::vector<std::wstring>;

namespace {

// Takes over qfNoxOut() while it lives and keeps what is written, one piece per flush, and the
// number of separate writes.
class TraceCapture : private std::wstreambuf {
public:
    TraceCapture() : mPrevious(qfNoxOut().rdbuf(this)) {}
    ~TraceCapture() override { qfNoxOut().rdbuf(mPrevious); }
    Pieces flushed;
    std::wstring unflushed;
    int writes = 0;

private:
    std::streamsize xsputn(const wchar_t* s, std::streamsize n) override
    {
        ++writes;
        unflushed.append(s, static_cast<std::size_t>(n));
        return n;
    }
    int sync() override
    {
        flushed.push_back(unflushed);
        unflushed.clear();
        return 0;
    }
    std::wstreambuf* mPrevious;
};

}  // namespace

TEST(Trace, TextOfGraphsNodesAndLinksIsWrittenPieceByPieceEachWholeAndFlushed)
{
    //   0 --> 1, 0 --> 2, 0 --> 0 (stored in that order, then link 1 stored again); 2 has no links
    qcDirectedGraph g = makeGraph(3, {{0, 1, 1.5}, {0, 2, -0.25}, {0, 0, 1e12}});
    g.link(1, qcDirectedGraphLink(0, 2, 3.0));
    TraceCapture capture;
    makeGraph(2, {{0, 1, 2.5}}).mTrace();
    qcDirectedGraph().mTrace();
    g.node(0).mTrace(g);
    g.node(2).mTrace(g);
    qcDirectedGraphLink(7, -3, -0.0).mTrace();  // in no graph: id -1, ends as given
    qcDirectedGraphLink(0, 0, -std::nan("")).mTrace();
    EXPECT_EQ(capture.flushed,
              (Pieces{L"\n 2 nodes\n", L"\n\n", L"Node 0 links:\n", L"link 0: 0 to 1 score 2.5\n", L"\n\n",
                      L"Node 1 links:\n", L"\n 0 nodes\n", L"Node 0 links:\n", L"link 1: 0 to 2 score 3\n",
                      L"link 2: 0 to 0 score 1e+12\n", L"link 0: 0 to 1 score 1.5\n", L"Node 2 links:\n",
                      L"link -1: 7 to -3 score -0\n", L"link -1: 0 to 0 score nan\n"}));
    EXPECT_EQ(capture.unflushed, L"");
    EXPECT_EQ(capture.writes, 14);
}
