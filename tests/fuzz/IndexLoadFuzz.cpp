// Feeds any bytes to qcShortestPathIndex::load(), as given and with the checksum at their end
// made to match (so that the checks of the contents are reached). Load must either throw
// std::runtime_error or give an index on which every query within its nodes runs without
// reading outside an array and gives a path of the documented shape.
#include <cstdint>
#include <sstream>
#include <string>

#include "qcShortestPathIndex.h"
#include "support/GraphChecks.h"

namespace {

void withChecksum(std::string& bytes)
{
    std::uint64_t sum = 0xcbf29ce484222325u;
    for (std::size_t k = 0; k < bytes.size() - 8; ++k) {
        sum ^= static_cast<unsigned char>(bytes[k]);
        sum *= 0x100000001b3u;
    }
    for (int k = 0; k < 8; ++k)
        bytes[bytes.size() - 8 + static_cast<std::size_t>(k)] = static_cast<char>(sum >> (8 * k));
}

void query(const qcShortestPathIndex& idx)
{
    const auto n = static_cast<std::int32_t>(idx.numNodes());
    qcIndexArray nodes, links, some;
    for (std::int32_t a = 0; a < n && a < 8; ++a) {
        some.push_back(a);
        for (std::int32_t b = 0; b < n && b < 8; ++b) {
            const double d = idx.distance(a, b);
            idx.path(a, b, nodes, links);
            qctest::require(nodes.empty() ? links.empty() : nodes.size() == links.size() + 1, "path of a bad shape");
            qctest::require(nodes.empty() || (nodes.front() == a && nodes.back() == b), "path between other nodes");
            qctest::require((d < 1.0e12) != nodes.empty(), "a distance without a path, or a path without one");
        }
    }
    std::vector<double> table;
    idx.distances(some, some, table);
    qctest::require(table.size() == some.size() * some.size(), "table of a bad size");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const bool fixed : {false, true}) {
        std::string bytes(reinterpret_cast<const char*>(data), size);
        if (fixed && bytes.size() >= 8)
            withChecksum(bytes);
        std::istringstream in(bytes);
        try {
            query(qcShortestPathIndex::load(in));
        } catch (const std::runtime_error&) {
        }
    }
    return 0;
}
