# A user's script that mypy --strict checks against the package's stub (not run by pytest).
import numpy

import qcgraph

g = qcgraph.Graph()
first: int = g.add_nodes(numpy.zeros((3, 2))) + g.add_nodes(2) + g.add_links(numpy.array([[0, 1, 2.0]]))
stop = qcgraph.Cancel()
paths: list[qcgraph.Path | None] = g.shortest_paths([(0, 2), (2, 0)], threads=2, timeout=1.0, cancel=stop)
walks: list[qcgraph.Path] = g.ranked_walks(0, 2, 3, timeout=None, cancel=stop)
best, (a, b, score) = g.shortest_path(0, 2, cancel=stop), g.links()
print(best.score if best else None, paths, walks, first, a[0] + b[0], score.sum(), g.nodes().shape, stop.cancelled)
h: qcgraph.Graph = qcgraph.from_scipy(g.to_scipy())
idx: qcgraph.Index = g.index(memory_bound=4.0, progress=lambda share: None)
far: float = idx.distance(0, 2) + float(idx.distances([0], [1, 2])[0, 1]) + float(g.distances(0)[0][2])
print(far, idx.path(0, 2), qcgraph.Index.load("map.idx", g).memory_bytes)
