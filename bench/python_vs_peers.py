#!/usr/bin/python3
"""qcgraph from Python against networkx and python-igraph, in one process, on the graphs of the
C++ benchmarks: a 1000x1000 grid (links both ways between 4-neighbours) corner to corner, and
1M nodes with 4 links each to random targets, links stored in random order, from node 0 to the
reachable node farthest from it. Scores uniform in [1, 100). Prints a Markdown table.

    PYTHONPATH=build/release/python bench/python_vs_peers.py [--small]

qcgraph and igraph: best of 5 queries; networkx: one query (it takes seconds). The building
figure is g.add_links of an (m, 3) float array into a graph that holds the nodes already, best
of 3 fresh graphs.
"""
import sys
import time

import igraph
import networkx as nx
import numpy as np

import qcgraph


def grid(side, rng):
    ids = np.arange(side * side).reshape(side, side)
    pairs = [(ids[:, :-1], ids[:, 1:]), (ids[:-1], ids[1:])]
    ends = np.concatenate([np.stack([a.ravel(), b.ravel()], 1) for a, b in pairs])
    ends = np.concatenate([ends, ends[:, ::-1]])
    return side * side, ends, rng.uniform(1, 100, len(ends)), 0, side * side - 1


def random_graph(n, rng):
    ends = np.stack([np.repeat(np.arange(n), 4), rng.integers(0, n, 4 * n)], 1)
    ends = ends[rng.permutation(len(ends))]
    scores = rng.uniform(1, 100, len(ends))
    peer = igraph.Graph(n, ends.tolist(), directed=True)
    distances = np.array(peer.distances(source=0, weights=scores.tolist())[0])
    distances[np.isinf(distances)] = -1
    return n, ends, scores, 0, int(distances.argmax())


def best(repeats, query):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        result = query()
        times.append(time.perf_counter() - start)
    return min(times), result


def nodes(n):
    g = qcgraph.Graph()
    for _ in range(n):
        g.add_node()
    return g


def run(name, n, ends, scores, a, b):
    edges = np.column_stack([ends, scores])
    build = min(best(1, lambda: g.add_links(edges))[0] for g in (nodes(n) for _ in range(3)))
    g = nodes(n)
    g.add_links(edges)
    ours, path = best(5, lambda: g.shortest_path(a, b))

    peer = igraph.Graph(n, ends.tolist(), directed=True)
    peer.es["weight"] = scores.tolist()
    theirs, vpath = best(5, lambda: peer.get_shortest_paths(a, to=b, weights="weight", output="vpath")[0])

    G = nx.DiGraph()
    G.add_nodes_from(range(n))
    G.add_weighted_edges_from(zip(ends[:, 0].tolist(), ends[:, 1].tolist(), scores.tolist()))
    slow, nxpath = best(1, lambda: nx.dijkstra_path(G, a, b))

    def score(nodes):
        return sum(G[u][v]["weight"] for u, v in zip(nodes, nodes[1:]))

    agree = abs(score(vpath) - path.score) < 1e-9 * path.score and abs(score(nxpath) - path.score) < 1e-9 * path.score
    print(f"| {name} | {ours * 1e3:.0f} ms | {slow * 1e3:.0f} ms | {theirs * 1e3:.0f} ms | "
          f"{slow / ours:.0f}x | {theirs / ours:.2f}x | {len(edges) / build / 1e6:.1f}M/s ({build * 1e3:.0f} ms) | "
          f"{'yes' if agree else 'NO'} |", flush=True)


def main():
    small = "--small" in sys.argv[1:]
    rng = np.random.default_rng(1)
    print("| Graph | qcgraph | networkx | igraph | faster than networkx | faster than igraph | add_links from numpy | same score |")
    print("|---|---|---|---|---|---|---|---|")
    side = 100 if small else 1000
    run(f"grid {side}x{side}, corner to corner", *grid(side, rng))
    n = 10_000 if small else 1_000_000
    run(f"random {n // 1000}k nodes / {4 * n // 1000}k links, far pair", *random_graph(n, rng))


if __name__ == "__main__":
    main()
