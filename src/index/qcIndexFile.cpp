#include <algorithm>
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "graph/qcIndex.h"
#include "index/qcIndexData.h"

// The binary form: a magic word and a version, the counts and fingerprints, the arcs, the order
// and the rows, then an FNV-1a checksum of everything before it. Numbers are little-endian.

namespace {

constexpr char magic[8] = {'q', 'c', 'S', 'P', 'I', 'n', 'd', 'x'};
// Version 2 differs from 1 only in how the fingerprints are taken; both are read, and an index
// is saved in the version it was read in.
constexpr std::uint32_t version = 2;

class Checksum {
public:
    void add(const unsigned char* bytes, std::size_t size)
    {
        for (std::size_t k = 0; k < size; ++k) {
            mValue ^= bytes[k];
            mValue *= 0x100000001b3u;
        }
    }
    std::uint64_t value() const { return mValue; }

private:
    std::uint64_t mValue = 0xcbf29ce484222325u;
};

class Writer {
public:
    explicit Writer(std::ostream& out) : mOut(out) {}
    void bytes(const void* data, std::size_t size)
    {
        mSum.add(static_cast<const unsigned char*>(data), size);
        mOut.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    void u32(std::uint32_t v)
    {
        unsigned char b[4];
        for (int k = 0; k < 4; ++k)
            b[k] = static_cast<unsigned char>(v >> (8 * k));
        bytes(b, 4);
    }
    void u64(std::uint64_t v)
    {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u64(bits);
    }
    std::uint64_t sum() const { return mSum.value(); }

private:
    std::ostream& mOut;
    Checksum mSum;
};

[[noreturn]] void refuse(const char* why) { throw std::runtime_error(std::string("qcShortestPathIndex::load: ") + why); }

class Reader {
public:
    explicit Reader(std::istream& in) : mIn(in) {}
    void bytes(void* data, std::size_t size)
    {
        if (!mIn.read(static_cast<char*>(data), static_cast<std::streamsize>(size)))
            refuse("the input ends early");
        mSum.add(static_cast<const unsigned char*>(data), size);
    }
    std::uint32_t u32()
    {
        unsigned char b[4];
        bytes(b, 4);
        return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
               static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    std::uint64_t u64()
    {
        const std::uint64_t low = u32();
        return low | static_cast<std::uint64_t>(u32()) << 32;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64()
    {
        const std::uint64_t bits = u64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    // A count that must fit in 31 bits. The arrays grow as their bytes arrive, so a short
    // input asking for a large count fails before it takes the memory.
    std::size_t count()
    {
        const std::uint64_t c = u64();
        if (c > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            refuse("a count is out of range");
        return static_cast<std::size_t>(c);
    }
    std::uint64_t sum() const { return mSum.value(); }

private:
    std::istream& mIn;
    Checksum mSum;
};

template <class T, class Read>
void readArray(std::vector<T>& v, std::size_t size, Read read)
{
    v.clear();
    v.reserve(std::min<std::size_t>(size, 1u << 16));
    for (std::size_t k = 0; k < size; ++k)
        v.push_back(read());
}

void writeRows(Writer& w, const std::vector<std::uint32_t>& start, const std::vector<qcHierarchyStep>& steps)
{
    for (const std::uint32_t s : start)
        w.u32(s);
    w.u64(steps.size());
    for (const qcHierarchyStep& s : steps) {
        w.i32(s.head);
        w.i32(s.arc);
        w.f64(s.weight);
    }
}

void readRows(Reader& r, std::size_t n, std::vector<std::uint32_t>& start, std::vector<qcHierarchyStep>& steps)
{
    readArray(start, n + 1, [&r] { return r.u32(); });
    readArray(steps, r.count(), [&r] {
        qcHierarchyStep s{};
        s.head = r.i32();
        s.arc = r.i32();
        s.weight = r.f64();
        return s;
    });
}

// Rows of rank r hold arcs between r and a higher rank (any other core rank in the core), the
// right end at r, as recorded.
void checkRows(const qcHierarchy& h, const std::vector<qcArcRecord>& arcs, const std::vector<std::uint32_t>& start,
               const std::vector<qcHierarchyStep>& steps, bool up)
{
    const std::size_t n = h.numNodes();
    if (start[0] != 0 || start[n] != steps.size() || !std::is_sorted(start.begin(), start.end()))
        refuse("a row is out of range");
    for (std::size_t r = 0; r < n; ++r) {
        for (std::uint32_t k = start[r]; k < start[r + 1]; ++k) {
            const qcHierarchyStep& s = steps[k];
            if (s.arc < 0 || at(s.arc) >= arcs.size())
                refuse("a row names no arc");
            const qcArcRecord& a = arcs[at(s.arc)];
            const std::int32_t self = up ? a.from : a.to;
            const std::int32_t other = up ? a.to : a.from;
            const bool climbs = s.head > self || (self >= h.coreFrom && s.head >= h.coreFrom && s.head != self);
            if (at(self) != r || other != s.head || !climbs || !(s.weight == a.weight))
                refuse("a row does not match its arc");
        }
    }
}

void check(const qcShortestPathIndex::Data& d, const std::vector<qcArcRecord>& arcs)
{
    const qcHierarchy& h = d.hierarchy;
    const std::size_t n = h.numNodes();
    if (h.coreFrom < 0 || at(h.coreFrom) > n)
        refuse("the core is out of range");
    for (std::size_t r = 0; r < n; ++r)
        if (h.nodeOfRank[r] < 0 || at(h.nodeOfRank[r]) >= n || h.rankOfNode[at(h.nodeOfRank[r])] != -1)
            refuse("the order is not one of the nodes");
        else
            const_cast<std::vector<std::int32_t>&>(h.rankOfNode)[at(h.nodeOfRank[r])] = static_cast<std::int32_t>(r);
    // A shortcut's middle lies below both its ends, and it stands for at most as many links as
    // the graph holds nodes and links: so unpacking one ends, and within that bound.
    const double longest = static_cast<double>(n) + static_cast<double>(d.numLinks);
    std::vector<double> links(arcs.size());
    for (std::size_t i = 0; i < arcs.size(); ++i) {
        const qcArcRecord& a = arcs[i];
        if (a.from < 0 || at(a.from) >= n || a.to < 0 || at(a.to) >= n || a.from == a.to ||
            !(a.weight >= 0.0 && a.weight < std::numeric_limits<double>::infinity()))
            refuse("an arc is out of range");
        if (a.second == -1) {
            if (a.first < 0 || a.first >= d.numLinks)
                refuse("an arc names no link");
            if (i > 0 && arcs[i - 1].second != -1)
                refuse("a link comes after a shortcut");
            links[i] = 1.0;
            continue;
        }
        if (a.first < 0 || at(a.first) >= i || a.second < 0 || at(a.second) >= i)
            refuse("a shortcut names no earlier arc");
        const qcArcRecord& x = arcs[at(a.first)];
        const qcArcRecord& y = arcs[at(a.second)];
        if (x.from != a.from || x.to != y.from || y.to != a.to || x.to >= a.from || x.to >= a.to ||
            !(a.weight == x.weight + y.weight))
            refuse("a shortcut does not match its arcs");
        links[i] = links[at(a.first)] + links[at(a.second)];
        if (links[i] > longest)
            refuse("a shortcut stands for too many links");
    }
    checkRows(h, arcs, h.upStart, h.up, true);
    checkRows(h, arcs, h.downStart, h.down, false);
}

}  // namespace

void qcShortestPathIndex::save(std::ostream& out) const
{
    const qcHierarchy& h = mData->hierarchy;
    Writer w(out);
    w.bytes(magic, sizeof magic);
    w.u32(mData->prints == qcPrintKind::bytes ? 1 : version);
    w.u64(h.numNodes());
    w.u64(static_cast<std::uint64_t>(mData->numLinks));
    w.u64(mData->structure);
    w.u64(mData->scores);
    for (const std::int32_t v : h.nodeOfRank)
        w.i32(v);
    w.i32(h.coreFrom);
    w.u64(h.arcs.size());
    h.forEachArcRecord([&w](const qcArcRecord& a) {
        w.i32(a.from);
        w.i32(a.to);
        w.i32(a.first);
        w.i32(a.second);
        w.f64(a.weight);
    });
    writeRows(w, h.upStart, h.up);
    writeRows(w, h.downStart, h.down);
    w.u64(w.sum());
    if (!out)
        throw std::runtime_error("qcShortestPathIndex::save: the output failed");
}

qcShortestPathIndex qcShortestPathIndex::load(std::istream& in)
{
    auto d = std::make_unique<Data>();
    qcHierarchy& h = d->hierarchy;
    Reader r(in);
    char word[sizeof magic];
    r.bytes(word, sizeof word);
    if (std::memcmp(word, magic, sizeof magic) != 0)
        refuse("not a qcgraph index");
    const std::uint32_t fileVersion = r.u32();
    if (fileVersion != 1 && fileVersion != version)
        refuse("an index of another version");
    d->prints = fileVersion == 1 ? qcPrintKind::bytes : qcPrintKind::words;
    const std::size_t n = r.count();
    d->numLinks = static_cast<long>(r.count());
    d->structure = r.u64();
    d->scores = r.u64();
    readArray(h.nodeOfRank, n, [&r] { return r.i32(); });
    h.coreFrom = r.i32();
    std::vector<qcArcRecord> arcs;
    readArray(arcs, r.count(), [&r] {
        qcArcRecord a{};
        a.from = r.i32();
        a.to = r.i32();
        a.first = r.i32();
        a.second = r.i32();
        a.weight = r.f64();
        return a;
    });
    readRows(r, n, h.upStart, h.up);
    readRows(r, n, h.downStart, h.down);
    const std::uint64_t sum = r.sum();
    if (r.u64() != sum)
        refuse("the checksum does not match");
    h.rankOfNode.assign(n, -1);
    check(*d, arcs);
    h.setArcs(arcs);
    h.coreTable = qfTabulateCore(h, at(d->numLinks));
    return qcShortestPathIndex(std::move(d));
}
