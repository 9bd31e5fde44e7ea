"""Directed graphs of positioned nodes and scored links, with cheapest-path and ranked-walk searches."""
from ._qcgraph import (Cancel, Cancelled, Graph, GraphFileError, Index, Link, Path, SimplePathIterator, __version__,
                       cliques, connection_path, from_scipy, read)

__all__ = ["Cancel", "Cancelled", "Graph", "GraphFileError", "Index", "Link", "Path", "cliques", "connection_path",
           "from_networkx", "from_scipy", "read"]


def from_networkx(G, weight="weight", pos="pos"):
    """A Graph of networkx graph G and the list that maps each index to its networkx node.

    Positions come from the node attribute `pos` ((0, 0) without it), scores from the edge
    attribute `weight` (1.0 without it, or for weight=None); an undirected G gives both directions.
    """
    nodes = list(G.nodes)
    index = {n: i for i, n in enumerate(nodes)}
    g = Graph()
    for n in nodes:
        g.add_node(*G.nodes[n].get(pos, (0.0, 0.0)))
    edges = [(index[u], index[v], 1.0 if weight is None else d.get(weight, 1.0)) for u, v, d in G.edges(data=True)]
    if not G.is_directed():
        edges += [(b, a, s) for a, b, s in edges if a != b]
    g.add_links(edges)
    return g, nodes


def _to_networkx(self):
    """The graph as a networkx.DiGraph: nodes 0 to n-1 with `pos`, links as edges with `weight`,
    `link` (the index) and `skip`. Of parallel links only the cheapest stays, the first on ties."""
    import networkx

    G = networkx.DiGraph()
    G.add_nodes_from((i, {"pos": self.node(i)}) for i in range(self.num_nodes))
    for i in range(self.num_links):
        link = self.link(i)
        if not G.has_edge(link.a, link.b) or link.score < G[link.a][link.b]["weight"]:
            G.add_edge(link.a, link.b, weight=link.score, link=i, skip=link.skip)
    return G


Graph.to_networkx = _to_networkx
