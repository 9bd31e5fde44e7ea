import random

import numpy as np
import pytest

import qcgraph as q


def random_graph(n, m, seed):
    rng = random.Random(seed)
    g = q.Graph()
    for i in range(n):
        g.add_node(rng.random(), rng.random())
    g.add_links([(rng.randrange(n), rng.randrange(n), float(rng.randrange(5))) for _ in range(m)])
    return g


def score(g, a, b):
    p = g.shortest_path(a, b)
    return np.inf if p is None else p.score


@pytest.mark.parametrize("seed", range(3))
def test_index_and_distances_agree_with_the_search(seed):
    g = random_graph(60, 150, seed)
    idx = g.index()
    want = np.array([[score(g, a, b) for b in range(60)] for a in range(60)])
    assert np.array_equal(idx.distances(range(60), range(60)), want)
    for a in range(0, 60, 7):
        distances, links = g.distances(a)
        assert np.array_equal(distances, want[a])
        assert links.dtype == np.int32 and links[a] == -1
        for b in range(60):
            assert idx.distance(a, b) == want[a, b]
            p = idx.path(a, b)
            assert (p is None) == (want[a, b] == np.inf)
            if p is not None:
                assert (p.nodes[0], p.nodes[-1], p.score) == (a, b, want[a, b])
                assert all((g.link(l).a, g.link(l).b) == (u, v) for l, u, v in zip(p.links, p.nodes, p.nodes[1:]))


@pytest.mark.parametrize("customizable", [True, False])
def test_a_changed_graph_needs_update_or_a_new_index(tmp_path, customizable):
    g = random_graph(30, 80, 7)
    idx = g.index(customizable=customizable)
    idx.save(str(tmp_path / "g.idx"))
    g.move_node(0, 5.0, 5.0)
    with pytest.raises(RuntimeError, match="call update"):
        idx.distance(0, 1)
    with pytest.raises(ValueError, match="not an index of this graph"):
        q.Index.load(str(tmp_path / "g.idx"), random_graph(30, 80, 8))
    idx.update()
    assert all(idx.distance(0, b) == score(g, 0, b) for b in range(30))
    g.add_node()
    with pytest.raises(ValueError, match="more than its scores"):
        idx.update()
    assert q.Index.load(str(tmp_path / "g.idx"), random_graph(30, 80, 7)).distance(3, 4) == score(g, 3, 4)


def test_bad_arguments():
    g = random_graph(5, 10, 1)
    idx = g.index()
    with pytest.raises(IndexError, match="b = 5"):
        idx.distance(0, 5)
    with pytest.raises(IndexError, match=r"targets\[1\] = -1"):
        idx.distances([0], [1, -1])
    with pytest.raises(IndexError):
        g.distances(9)
    g.add_link(0, 1, -1.0)
    with pytest.raises(ValueError, match="negative"):
        g.index()
    with pytest.raises(ValueError, match="memory_bound"):
        g.index(memory_bound=-1.0)
    shares = []
    random_graph(20, 40, 2).index(progress=shares.append)
    assert shares == [0.0]
