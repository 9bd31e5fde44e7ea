# A user's script that mypy --strict checks against the package's stub (not run by pytest).
import numpy

import qcgraph

g = qcgraph.Graph()
first: int = g.add_nodes(numpy.zeros((3, 2))) + g.add_nodes(2)
g.add_links(numpy.array([[0, 1, 2.0], [1, 2, 1.5]]))
stop = qcgraph.Cancel()
paths: list[qcgraph.Path | None] = g.shortest_paths([(0, 2), (2, 0)], threads=2, timeout=1.0, cancel=stop)
walks: list[qcgraph.Path] = g.ranked_walks(0, 2, 3, timeout=None, cancel=stop)
a, b, score = g.links()
try:
    best = g.shortest_path(0, 2, cancel=stop)
    print(best.score if best else None, paths, walks, first, a, b, score, g.nodes().shape, stop.cancelled)
except qcgraph.Cancelled:
    stop.reset()
h: qcgraph.Graph = qcgraph.from_scipy(g.to_scipy())
