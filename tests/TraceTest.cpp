#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qcConStream.h"
#include "support/GraphTestSupport.h"

using qctest::makeGraph;

namespace {

// Takes over qfNoxOut() while it lives and keeps what is written, one piece per flush, along
// with the number of separate writes.
class TraceCapture : private std::wstreambuf {
public:
    TraceCapture() : mPrevious(qfNoxOut().rdbuf(this)) {}
    ~TraceCapture() override { qfNoxOut().rdbuf(mPrevious); }

    std::vector<std::wstring> flushed;
    std::wstring unflushed;
    int writes = 0;

    std::wstring text() const
    {
        std::wstring all;
        for (const std::wstring& piece : flushed)
            all += piece;
        return all + unflushed;
    }

private:
    std::streamsize xsputn(const wchar_t* s, std::streamsize n) override
    {
        ++writes;
        unflushed.append(s, static_cast<std::size_t>(n));
        return n;
    }
    int_type overflow(int_type c) override
    {
        ++writes;
        unflushed += traits_type::to_char_type(c);
        return c;
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

TEST(Trace, GraphTextIsWrittenPieceByPieceEachFlushed)
{
    const qcDirectedGraph g = makeGraph(2, {{0, 1, 2.5}});
    TraceCapture capture;
    g.mTrace();
    EXPECT_EQ(capture.text(), L"\n 2 nodes\n\n\nNode 0 links:\nlink 0: 0 to 1 score 2.5\n\n\nNode 1 links:\n");
    const std::vector<std::wstring> pieces = {L"\n 2 nodes\n", L"\n\n", L"Node 0 links:\n",
                                              L"link 0: 0 to 1 score 2.5\n", L"\n\n",
                                              L"Node 1 links:\n"};
    EXPECT_EQ(capture.flushed, pieces);
    EXPECT_EQ(capture.unflushed, L"");
    EXPECT_EQ(capture.writes, 6);  // one write per flushed piece
}

TEST(Trace, EmptyGraphPrintsOnlyItsHeader)
{
    TraceCapture capture;
    qcDirectedGraph().mTrace();
    EXPECT_EQ(capture.flushed, std::vector<std::wstring>{L"\n 0 nodes\n"});
}

TEST(Trace, NodesListTheirLinksInChainOrder)
{
    //   0 --> 1, 0 --> 2, 0 --> 0 (stored in that order); 2 has no links
    qcDirectedGraph g = makeGraph(3, {{0, 1, 1.5}, {0, 2, -0.25}, {0, 0, 1e12}});
    {
        TraceCapture capture;
        g.node(0).mTrace(g);
        g.node(2).mTrace(g);
        EXPECT_EQ(capture.text(), L"Node 0 links:\nlink 2: 0 to 0 score 1e+12\n"
                                  L"link 1: 0 to 2 score -0.25\nlink 0: 0 to 1 score 1.5\n"
                                  L"Node 2 links:\n");
        EXPECT_EQ(capture.flushed.size(), 5u);
    }
    g.link(0, qcDirectedGraphLink(0, 1, 3.0));  // moves to the head of the chain
    TraceCapture capture;
    g.node(0).mTrace(g);
    EXPECT_EQ(capture.flushed.at(1), L"link 0: 0 to 1 score 3\n");
}

TEST(Trace, LinkLineShowsStoredValuesAndBrokenChainsEndTheList)
{
    TraceCapture capture;
    qcDirectedGraphLink(7, -3, 0.5).mTrace();  // in no graph: id -1, ends as given
    // A node written back with the firstChild of another graph's node names no link here.
    qcDirectedGraph g = makeGraph(1, {});
    g.node(0, makeGraph(1, {{0, 0}, {0, 0}}).node(0));
    g.node(0).mTrace(g);
    const std::vector<std::wstring> pieces = {L"link -1: 7 to -3 score 0.5\n", L"Node 0 links:\n"};
    EXPECT_EQ(capture.flushed, pieces);
}
