#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "qcConStream.h"
#include "support/GraphTestSupport.h"

using qctest::makeGraph;

// Each piece of the trace is built whole and flushed, so that other writers' text can only fall
// between pieces.
TEST(Trace, TextOfGraphsNodesAndLinksComesInWholeFlushedPieces)
{
    //   0 --> 1, 0 --> 2, 0 --> 0 (stored in that order, then link 1 stored again); 2 has no links
    qcDirectedGraph g = makeGraph(3, {{0, 1, 1.5}, {0, 2, -0.25}, {0, 0, 1e12}});
    g.link(1, qcDirectedGraphLink(0, 2, 3.0));
    qctest::TraceCapture capture;
    makeGraph(2, {{0, 1, 2.5}}).mTrace();
    qcDirectedGraph().mTrace();
    g.node(0).mTrace(g);
    g.node(2).mTrace(g);
    qcDirectedGraphLink(7, -3, -0.0).mTrace();  // in no graph: id -1, ends as given
    qcDirectedGraphLink(0, 0, -std::nan("")).mTrace();
    EXPECT_EQ(capture.str(), L"\n 2 nodes\n|\n\n|Node 0 links:\n|link 0: 0 to 1 score 2.5\n|\n\n|Node 1 links:\n|\n 0 nodes\n|"
                             L"Node 0 links:\n|link 1: 0 to 2 score 3\n|link 2: 0 to 0 score 1e+12\n|link 0: 0 to 1 score 1.5\n|"
                             L"Node 2 links:\n|link -1: 7 to -3 score -0\n|link -1: 0 to 0 score nan\n|");
}
