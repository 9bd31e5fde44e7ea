#include "index/qcGraphPrint.h"

#include <cstring>

namespace {

// One multiply and one shift a word.
class WordPrint {
public:
    void add(std::uint64_t word)
    {
        mValue = (mValue ^ word) * 0x9e3779b97f4a7c15u;
        mValue ^= mValue >> 29;
    }
    std::uint64_t value() const { return mValue; }

private:
    std::uint64_t mValue = 0xcbf29ce484222325u;
};

// FNV-1a over the bytes of 64-bit words.
class BytePrint {
public:
    void add(std::uint64_t word)
    {
        for (int byte = 0; byte < 8; ++byte) {
            mValue ^= (word >> (8 * byte)) & 0xffu;
            mValue *= 0x100000001b3u;
        }
    }
    std::uint64_t value() const { return mValue; }

private:
    std::uint64_t mValue = 0xcbf29ce484222325u;
};

std::uint64_t word(long value) { return static_cast<std::uint64_t>(value); }

// Both in one pass over the links, whose two chains of sums overlap in time.
template <class Print>
qcGraphPrints prints(const qcDirectedGraph& graph)
{
    Print structure, scores;
    structure.add(word(graph.numNodes()));
    structure.add(word(graph.numLinks()));
    for (long v = 0; v < graph.numNodes(); ++v)
        structure.add(word(graph.node(v).firstChild()));
    for (long l = 0; l < graph.numLinks(); ++l) {
        const qcDirectedGraphLink& link = graph.link(l);
        structure.add(word(link.nodeA()));
        structure.add(word(link.nodeB()));
        structure.add(word(link.nextChild()));
        structure.add(link.flags & 1u);
        const double score = link.score();
        std::uint64_t bits;
        std::memcpy(&bits, &score, sizeof bits);
        scores.add(bits);
    }
    return qcGraphPrints{structure.value(), scores.value()};
}

}  // namespace

qcGraphPrints qfGraphPrints(const qcDirectedGraph& graph, qcPrintKind kind)
{
    return kind == qcPrintKind::words ? prints<WordPrint>(graph) : prints<BytePrint>(graph);
}
