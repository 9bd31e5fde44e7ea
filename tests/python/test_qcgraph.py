import _thread
import itertools

import networkx as nx
import numpy as np
import pytest

import qcgraph as q


def graph(n, links):
    g = q.Graph()
    for i in range(n):
        g.add_node(i, -i)
    for link in links:
        g.add_link(*link)
    return g


def flat(paths):
    return [(p.nodes, p.links, p.score) for p in paths]


def converted(G, **options):
    g, names = q.from_networkx(G, **options)
    return names, [g.node(i) for i in range(g.num_nodes)], [(g.link(i).a, g.link(i).b, g.link(i).score) for i in range(g.num_links)]


SQUARE = graph(4, [(0, 1), (0, 2), (1, 3), (2, 3)])
CYCLE = graph(3, [(0, 1), (1, 0), (1, 2, 5.0)])
SKIP = graph(3, [(0, 1), (1, 2), (0, 2, 3.0, True)])
PARALLEL = graph(2, [(0, 1, 1.0), (0, 1, 2.0)])
MOVED = graph(3, [(2, 0), (2, 1)])
PLACED = nx.DiGraph([(1, 0)])
nx.set_node_attributes(PLACED, {1: (2.0, 3.0)}, "at")


@pytest.mark.parametrize("name, got, expected", [
    ("node 2 leaves the heap first", lambda: flat([SQUARE.shortest_path(0, 3)]), [([0, 2, 3], [1, 3], 2.0)]),
    ("no way back", lambda: SQUARE.shortest_path(3, 0), None),
    ("equal walks in order found", lambda: flat(SQUARE.ranked_walks(0, 3, 3)), flat([SQUARE.shortest_path(0, 3)]) + [([0, 1, 3], [0, 2], 2.0)]),
    ("walks round a cycle", lambda: [(p.nodes, p.score) for p in CYCLE.ranked_walks(0, 2, 2)], [([0, 1, 2], 6.0), ([0, 1, 0, 1, 2], 8.0)]),
    ("min_length 1 leaves out the one-node walk", lambda: [p.score for p in CYCLE.ranked_walks(0, 0, 3, min_length=1)], [2.0, 4.0, 6.0]),
    ("the direct link uses up k", lambda: graph(3, [(0, 1), (1, 0), (0, 2)]).ranked_walks(0, 2, 1, min_length=2), []),
    ("max_length 1", lambda: flat(graph(3, [(0, 1), (1, 2), (0, 2, 5.0)]).ranked_walks(0, 2, 3, max_length=1)), [([0, 2], [2], 5.0)]),
    ("skip link passed over", lambda: flat([SKIP.shortest_path(0, 2)]), [([0, 1, 2], [0, 1], 2.0)]),
    ("ranked walks take skip links", lambda: flat(SKIP.ranked_walks(0, 2, 5)), [([0, 1, 2], [0, 1], 2.0), ([0, 2], [2], 3.0)]),
    ("parallel links", lambda: flat([PARALLEL.shortest_path(0, 1)] + PARALLEL.ranked_walks(0, 1, 5)), [([0, 1], [0], 1.0), ([0, 1], [1], 1.0), ([0, 1], [1], 2.0)]),
    ("loopless paths: a tie goes to the lower node before the end", lambda: flat(SQUARE.simple_paths(0, 3, 5)), [([0, 1, 3], [0, 2], 2.0), ([0, 2, 3], [1, 3], 2.0)]),
    ("no loopless path round a cycle", lambda: [p.nodes for p in CYCLE.iter_simple_paths(0, 2)], [[0, 1, 2]]),
    ("loopless paths pass over skip links", lambda: flat(SKIP.simple_paths(0, 2, 5)), [([0, 1, 2], [0, 1], 2.0)]),
    ("records", lambda: (SQUARE.out_links(0), repr(SKIP.link(2)), MOVED.move_node(2, 7, 8), MOVED.node(2), MOVED.out_links(2), SQUARE.num_links), ([1, 0], "Link(a=0, b=2, score=3.0, skip=True)", None, (7.0, 8.0), [1, 0], 4)),
    ("cliques", lambda: [q.cliques(lists) for lists in ([[3, 1], [], [], [2]], [[], [], [1, 0]], [[2], [3], [0], [1]])], [[[0, 3, 1, 2]], [[0, 2, 1]], [[0, 2], [1, 3]]]),
    ("connection path", lambda: [q.connection_path(lists) for lists in ([[0, 1], [1, 2], [2, 3], [3, 4]], [[5, 7, 9]], [[7], [0, 1], [1, 2]])], [[(1, 1, 2)], [(0, 5, 7), (0, 5, 9)], []]),
    ("trace", lambda: graph(2, [(0, 1, 2.5)]).trace(), "\n 2 nodes\n\n\nNode 0 links:\nlink 0: 0 to 1 score 2.5\n\n\nNode 1 links:\n"),
    ("undirected: both ways, a loop once", lambda: converted(nx.Graph([("a", "b", {"weight": 2.0}), ("b", "b")])), (["a", "b"], [(0.0, 0.0)] * 2, [(0, 1, 2.0), (1, 1, 1.0), (1, 0, 2.0)])),
    ("parallel edges kept, weight=None, pos", lambda: converted(nx.MultiDiGraph([(0, 1, {"weight": 3.0}), (0, 1), (1, 0)]), weight=None), ([0, 1], [(0.0, 0.0)] * 2, [(0, 1, 1.0), (0, 1, 1.0), (1, 0, 1.0)])),
    ("positions", lambda: converted(PLACED, pos="at"), ([1, 0], [(2.0, 3.0), (0.0, 0.0)], [(0, 1, 1.0)])),
    ("to_networkx: the cheapest parallel link, the first on ties", lambda: list(graph(2, [(0, 1, 3.0), (0, 1, 1.0), (0, 1, 1.0)]).to_networkx().edges(data="link")), [(0, 1, 1)]),
    ("paths drawn wide", lambda: [s.count('stroke-width="5.00"') for s in (SQUARE._repr_svg_(), SQUARE.to_svg(SQUARE.shortest_path(0, 3)), SQUARE.to_svg(([0], [1])))], [0, 2, 1]),
])
def test_worked_examples(name, got, expected):
    assert got() == expected


@pytest.mark.parametrize("seed", range(4))
def test_random_graphs_agree_with_networkx(seed):
    rng = np.random.default_rng(seed)
    G = nx.gnm_random_graph(80, 120, seed=seed, directed=True)
    for a, b, d in G.edges(data=True):
        d["weight"] = float(rng.integers(0, 10))  # whole numbers: sums exact in any order
    g, names = q.from_networkx(G)
    h = graph(80, [])
    h.add_links(np.array([(a, b, d["weight"]) for a, b, d in G.edges(data=True)]))
    assert names == list(range(80))
    assert h.trace() == g.trace()
    assert nx.utils.edges_equal(g.to_networkx().edges(data="weight"), G.edges(data="weight"))
    for a, b in rng.integers(0, 80, (40, 2)):
        path, walks = g.shortest_path(a, b), g.ranked_walks(a, b, 1)
        expected = [nx.dijkstra_path_length(G, a, b)] if nx.has_path(G, a, b) else []
        assert [p.score for p in [path] if p] == [w.score for w in walks] == expected
        if path:
            assert path.score == sum(G[u][v]["weight"] for u, v in zip(path.nodes, path.nodes[1:]))
            assert (path.nodes[0], path.nodes[-1]) == (a, b)
    assert sorted(map(sorted, q.cliques([list(G.successors(i)) for i in range(80)]))) == sorted(map(sorted, nx.weakly_connected_components(G)))


@pytest.mark.parametrize("seed", range(3))
def test_loopless_paths_score_as_networkx_finds_them(seed):
    rng = np.random.default_rng(seed)
    G = nx.gnm_random_graph(40, 120, seed=seed, directed=True)
    for a, b, d in G.edges(data=True):
        d["weight"] = float(rng.integers(0, 5))
    g, _ = q.from_networkx(G)
    for a, b in rng.integers(0, 40, (10, 2)):
        if not nx.has_path(G, a, b):
            assert g.simple_paths(a, b, 5) == [] and list(g.iter_simple_paths(a, b)) == []
            continue
        expected = [nx.path_weight(G, p, "weight") for p in itertools.islice(nx.shortest_simple_paths(G, a, b, "weight"), 30)]
        listed = g.simple_paths(a, b, 30)
        assert [p.score for p in listed] == expected
        assert flat(itertools.islice(g.iter_simple_paths(a, b), 30)) == flat(listed)


def test_an_iterator_stops_once_the_graph_changes():
    g = graph(4, [(0, 1), (0, 2), (1, 3), (2, 3)])
    paths = g.iter_simple_paths(0, 3)
    assert next(paths).nodes == [0, 1, 3]
    g.add_link(0, 3)
    with pytest.raises(RuntimeError, match="the graph changed"):
        next(paths)
    g.add_link(1, 2, -1.0)
    with pytest.raises(ValueError, match="negative score"):
        g.iter_simple_paths(0, 3)


@pytest.mark.parametrize("name, error, message, call", [
    ("link end not a node", IndexError, "b = 4 is not a node", lambda g: g.add_link(0, 4)),
    ("link index", IndexError, "i = 2 is not a link", lambda g: g.link(2)),
    ("batch with one bad end", IndexError, r"edges\[1\]\[1\] = 4", lambda g: g.add_links([(0, 1), (1, 4)])),
    ("array with a fraction", IndexError, r"edges\[1\]: 1.5", lambda g: g.add_links(np.array([[0, 1], [1.5, 2]]))),
    ("array shape", ValueError, r"\(2, 4\)", lambda g: g.add_links(np.zeros((2, 4)))),
    ("tuple length", ValueError, r"edges\[0\] = \(0,\)", lambda g: g.add_links([(0,)])),
    ("end not an int", TypeError, r"edges\[0\]", lambda g: g.add_links([(0, "1")])),
    ("k < 1", ValueError, "k = 0", lambda g: g.ranked_walks(0, 3, 0)),
    ("k beyond 32 bits", ValueError, "k = 2147483648", lambda g: g.ranked_walks(0, 3, 2**31)),
    ("min_length > max_length", ValueError, "min_length = 3 is greater than max_length = 2", lambda g: g.ranked_walks(0, 3, 1, 3, 2)),
    ("loopless paths, k < 1", ValueError, "k = 0", lambda g: g.simple_paths(0, 3, 0)),
    ("loopless paths from a bad node", IndexError, "a = 4 is not a node", lambda g: g.iter_simple_paths(4, 0)),
    ("path drawn with a bad link", IndexError, r"path links\[0\] = 9", lambda g: g.to_svg(([0], [9]))),
    ("negative clique id", IndexError, r"lists\[1\]\[0\] = -1 is not a node", lambda g: q.cliques([[0], [-1]])),
    ("negative connection id", ValueError, r"lists\[0\]\[0\] = -1", lambda g: q.connection_path([[-1]])),
])
def test_bad_input_raises_and_leaves_the_graph_unchanged(name, error, message, call):
    g = graph(4, [(0, 1), (0, 2)])
    before = g.trace(), g.num_links
    with pytest.raises(error, match=message):
        call(g)
    assert (g.trace(), g.num_links) == before


def test_interrupt_ends_the_search_at_the_check_it_arrives_in():
    g = graph(1000, [(i, i + 1) for i in range(999)])  # 1000 passes: 16 checks
    checks = []
    q._qcgraph._on_check(lambda: checks.append(len(checks)) or len(checks) == 3 and _thread.interrupt_main())
    with pytest.raises(KeyboardInterrupt):
        g.shortest_path(0, 999)
    q._qcgraph._on_check(None)  # if the search ran on, this stays set and only grows checks
    assert checks == [0, 1, 2]
    assert g.num_links == 999
    assert g.shortest_path(0, 999).score == 999.0
