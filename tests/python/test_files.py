"""Graph files from Python: the published files as they are, round trips, faults."""
import pathlib
import random

import networkx as nx
import pytest

import qcgraph as q

REAL = pathlib.Path(__file__).resolve().parents[2] / ".." / "shared" / "data" / "real"


def real(name):
    path = REAL / name
    if not path.exists():
        pytest.skip(f"{path} is not here")
    return path


def links(g):
    return [(g.link(k).a, g.link(k).b, g.link(k).score) for k in range(g.num_links)]


def test_real_files_load_as_published():
    rome, rome_ids = q.read(real("rome99.gr"))
    assert (rome.num_nodes, rome.num_links, rome_ids) == (3353, 8870, range(1, 3354))
    enron_path = real("email-Enron.txt")
    edge_lines = sum(1 for line in open(enron_path) if not line.startswith("#"))
    enron, enron_ids = q.read(enron_path)
    assert (enron.num_nodes, enron.num_links, enron_ids) == (36692, edge_lines, range(36692))
    road, road_ids = q.read(real("Road.graphml"))
    assert (road.num_nodes, road.num_links) == (3353, 2 * 4831)
    assert road_ids == list(nx.read_graphml(real("Road.graphml")).nodes)
    assert {s for _, _, s in links(q.read(real("Road.graphml"), weight="length")[0])} == {1.0}  # no key of that name


def test_road_paths_cost_what_networkx_finds():
    path = real("Road.graphml")
    road, ids = q.read(path)
    G = nx.read_graphml(path)
    rng = random.Random(7)
    for _ in range(25):
        a, b = rng.randrange(road.num_nodes), rng.randrange(road.num_nodes)
        found = road.shortest_path(a, b)
        try:
            want = nx.dijkstra_path_length(G, ids[a], ids[b], weight="weight")
        except nx.NetworkXNoPath:
            want = None
        assert (found.score if found else None) == pytest.approx(want), (ids[a], ids[b])


@pytest.mark.parametrize("name, positions", [("g.gr", True), ("g.graphml", True), ("g.txt", False), ("g.mtx", False)])
def test_write_then_read_gives_the_graph(tmp_path, name, positions):
    g = q.Graph()
    for i in range(4):
        g.add_node(0.5 * i, -i / 3)
    g.add_links([(0, 1, 2.5), (1, 0, 1e-9), (2, 2, -4.0), (3, 1, 7.0), (0, 1, 3.0), (1, 3, 1.0)])
    g.write(tmp_path / name)
    back, _ = q.read(tmp_path / name)
    assert links(back) == links(g)
    assert [back.node(i) for i in range(4)] == [g.node(i) if positions else (0.0, 0.0) for i in range(4)]


def test_a_bad_file_raises_with_file_and_line(tmp_path):
    bad = tmp_path / "bad.graphml"
    bad.write_text('<graphml>\n<graph>\n<edge source="a"/>\n</graph></graphml>\n')
    with pytest.raises(q.GraphFileError) as caught:
        q.read(bad)
    assert (caught.value.file, caught.value.line, caught.value.message) == (str(bad), 3, "<edge> has no target attribute")
    with pytest.raises(ValueError, match="unknown format 'csv'"):
        q.read(bad, format="csv")
    with pytest.raises(q.GraphFileError, match="cannot write"):
        q.Graph().write("/dev/full", format="edges")

