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

template <class Print>
std::uint64_t structurePrint(const qcDirectedGraph& graph)
{
    Print p;
    p.add(word(graph.numNodes()));
    p.add(word(graph.numLinks()));
    for (long v = 0; v < graph.numNodes(); ++v)
        p.add(word(graph.node(v).firstChild()));
    for (long l = 0; l < graph.numLinks(); ++l) {
        const qcDirectedGraphLink& link = graph.link(l);
        p.add(word(link.nodeA()));
        p.add(word(link.nodeB()));
        p.add(word(link.nextChild()));
        p.add(link.flags & 1u);
    }
    return p.value();
}

template <class Print>
std::uint64_t scorePrint(const qcDirectedGraph& graph)
{
    Print p;
    for (long l = 0; l < graph.numLinks(); ++l) {
        const double score = graph.link(l).score();
        std::uint64_t bits;
        std::memcpy(&bits, &score, sizeof bits);
        p.add(bits);
    }
    return p.value();
}

}  // namespace

std::uint64_t qfStructurePrint(const qcDirectedGraph& graph, qcPrintKind kind)
{
    return kind == qcPrintKind::words ? structurePrint<WordPrint>(graph) : structurePrint<BytePrint>(graph);
}

std::uint64_t qfScorePrint(const qcDirectedGraph& graph, qcPrintKind kind)
{
    return kind == qcPrintKind::words ? scorePrint<WordPrint>(graph) : scorePrint<BytePrint>(graph);
}
