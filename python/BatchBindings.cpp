// Many two-node searches in one call, shared out over a pool of C++ threads.
#include <pybind11/stl.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "EdgeInput.h"
#include "PyGraph.h"
#include "Records.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

// Runs search(i) for every i below count on `threads` threads, the calling one among them, each
// bound to the call's limits. The first exception stops the others at their next abort check
// and is thrown here once all have ended.
template <class Search>
void shareOut(std::size_t count, std::size_t threads, const CallLimits& limits, const Search& search)
{
    std::atomic<std::size_t> next{0};
    qcCancelToken failed;
    std::exception_ptr first;
    std::mutex firstLock;
    auto work = [&] {
        try {
            const CallLimits::Bound bound(limits);
            const qcAttention::Scope stopped(failed);
            for (std::size_t i; !failed.cancelRequested() && (i = next.fetch_add(1)) < count;)
                search(i);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(firstLock);
            if (!first)
                first = std::current_exception();
            failed.cancel();
        }
    };
    std::vector<std::thread> pool;
    try {
        for (std::size_t t = 1; t < threads; ++t)
            pool.emplace_back(work);
    } catch (const std::system_error&) {
        // The system gives no more threads: the ones started share the work.
    }
    work();
    for (std::thread& t : pool)
        t.join();
    if (first)
        std::rethrow_exception(first);
}

std::size_t threadCount(std::optional<Int> threads, std::size_t pairs)
{
    const std::size_t wanted = threads ? static_cast<std::size_t>(checkedCount(*threads, 1, "threads"))
                                       : std::max(1U, std::thread::hardware_concurrency());
    return std::max<std::size_t>(1, std::min(wanted, pairs));
}

std::vector<std::optional<PathRecord>> shortestPaths(const Graph& g, const py::object& pairs,
                                                     std::optional<Int> threads, std::optional<double> timeout,
                                                     std::shared_ptr<qcCancelToken> cancel)
{
    const EdgeInput input(pairs, g.graph.numNodes(), "pairs", false);
    const std::size_t pool = threadCount(threads, input.size());
    const CallLimits limits(timeout, std::move(cancel));
    std::vector<PathRecord> found(input.size());
    limits.run([&] {
        Searching busy(g, limits);
        shareOut(input.size(), pool, limits, [&](std::size_t i) {
            PathRecord& p = found[i];
            g.graph.shortestPath(input[i].a, input[i].b, p.nodes, p.links, g.rows);
            for (const std::int32_t l : p.links)
                p.score += g.graph.link(l).score();
        });
    });
    std::vector<std::optional<PathRecord>> out(found.size());
    for (std::size_t i = 0; i < found.size(); ++i)
        if (!found[i].nodes.empty())
            out[i] = std::move(found[i]);
    return out;
}

}  // namespace

void bindBatch(py::module_& m)
{
    auto graph = py::reinterpret_borrow<py::class_<Graph>>(m.attr("Graph"));
    graph.def("shortest_paths", &shortestPaths, "pairs"_a, "threads"_a = py::none(), "timeout"_a = py::none(),
              "cancel"_a = py::none(),
              "shortest_path(a, b) for every (a, b) of pairs (tuples or an (m, 2) numpy array), as a list in the "
              "order of pairs: exactly the paths, or None, that one call each gives. The searches run on a pool "
              "of `threads` C++ threads (None: one per core; never more than pairs), the calling thread among "
              "them, without the GIL. Time: that of the searches, divided by the threads. Every pair is checked "
              "first (IndexError for an end that is not a node, ValueError for a row that is not a pair or "
              "threads < 1). timeout and cancel stop the whole batch; Ctrl-C too, from the main thread.");
}
