import numpy as np
import pytest
import scipy.sparse

import qcgraph as q


def random_graph(seed, n=60, m=150):
    rng = np.random.default_rng(seed)
    xy, ends = rng.uniform(-5, 5, (n, 2)), rng.integers(0, n, (m, 2))
    return xy, np.column_stack([ends, rng.integers(0, 9, m)]).astype(float)


def one_by_one(xy, edges):
    g = q.Graph()
    for x, y in xy:
        g.add_node(x, y)
    for a, b, s in edges:
        g.add_link(int(a), int(b), s)
    return g


def flat(paths):
    return [p and (p.nodes, p.links, p.score) for p in paths]


@pytest.mark.parametrize("seed", range(3))
def test_bulk_building_and_arrays_equal_one_by_one(seed):
    xy, edges = random_graph(seed)
    g, h = one_by_one(xy, edges), q.Graph()
    assert (h.add_nodes(xy), h.add_links(edges), h.trace()) == (0, 0, g.trace())
    assert [a.tolist() for a in g.links()] == edges.T.tolist() and g.nodes().tolist() == xy.tolist()
    assert h.add_nodes(2) == 60 and h.nodes()[60:].tolist() == [[0, 0]] * 2
    cheapest = {}
    for a, b, s in edges:
        cheapest[a, b] = min(cheapest.get((a, b), s), s)
    m = g.to_scipy()
    coo = m.tocoo()
    assert m.has_sorted_indices and dict(zip(zip(coo.row, coo.col), coo.data)) == cheapest
    pairs = edges[:40, 1::-1]
    assert [p and p.score for p in q.from_scipy(m).shortest_paths(pairs)] == [p and p.score for p in g.shortest_paths(pairs)]


@pytest.mark.parametrize("threads", [1, 2, 3, None])
def test_batch_equals_one_by_one_in_input_order(threads):
    g = one_by_one(*random_graph(7, 200, 300))
    pairs = np.random.default_rng(threads or 0).integers(0, 200, (300, 2))
    assert flat(g.shortest_paths(pairs, threads=threads)) == flat(g.shortest_path(a, b) for a, b in pairs) == flat(g.shortest_paths(pairs.tolist()))


def test_ranked_walks_answer_at_once_without_a_walk():
    g = one_by_one([(0, 0)] * 4, [(0, 0, 1.0), (0, 1, np.inf), (2, 3, 1.0)])
    stop = q.Cancel()
    q._qcgraph._on_check(stop.cancel)  # a search that started would end at its first check
    try:
        assert [g.ranked_walks(a, b, 10**6, min_length=m, cancel=stop) for a, b, m in [(0, 1, 0), (0, 3, 0), (2, 2, 1)]] == [[]] * 3
    finally:
        q._qcgraph._on_check(None)
    assert flat(g.ranked_walks(0, 0, 2, min_length=1)) == [([0, 0], [0], 1.0), ([0, 0, 0], [0, 0], 2.0)]


def test_a_cancel_or_timeout_stops_only_its_own_calls():
    g = one_by_one([(0, 0)] * 1000, [(i, i + 1, 1.0) for i in range(999)])  # 16 checks a search
    mine, other = q.Cancel(), q.Cancel()
    calls = [lambda **k: g.shortest_path(0, 999, **k), lambda **k: g.ranked_walks(0, 999, 1, **k), lambda **k: g.shortest_paths([(0, 999)] * 4, threads=2, **k)]
    for call in calls:
        mine.cancel()
        with pytest.raises(q.Cancelled):
            call(cancel=mine)
        with pytest.raises(TimeoutError):
            call(timeout=0.0)
        assert mine.cancelled and not other.cancelled and call(cancel=other, timeout=60)
        mine.reset()
        assert call(cancel=mine)


@pytest.mark.parametrize("error, message, call", [
    (ValueError, "nodes = -1", lambda g: g.add_nodes(-1)),
    (ValueError, r"shape \(n, 2\), got \(2, 3\)", lambda g: g.add_nodes(np.zeros((2, 3)))),
    (ValueError, "threads = 0", lambda g: g.shortest_paths([(0, 1)], threads=0)),
    (ValueError, "timeout = nan", lambda g: g.shortest_path(0, 1, timeout=float("nan"))),
    (IndexError, r"pairs\[1\]\[0\] = 3", lambda g: g.shortest_paths([(0, 1), (3, 0)])),
    (ValueError, r"square, got shape \(2, 3\)", lambda g: q.from_scipy(scipy.sparse.csr_matrix((2, 3)))),
])
def test_bad_input_raises_and_changes_nothing(error, message, call):
    g = one_by_one([(0, 0)] * 3, [(0, 1, 1.0)])
    with pytest.raises(error, match=message):
        call(g)
    assert (g.num_nodes, g.num_links) == (3, 1)
