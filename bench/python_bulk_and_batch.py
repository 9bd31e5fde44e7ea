#!/usr/bin/python3
"""qcgraph from Python against graph-tool and scipy, in one process: building from numpy, a batch
of two-node searches on a pool of threads, single searches and searches from one node to all.
Prints Markdown tables.

    PYTHONPATH=build/release/python bench/python_bulk_and_batch.py [--small]

Graphs as in python_vs_peers.py: the 1000x1000 grid (links both ways between 4-neighbours) and
1M nodes with 4 random links each, scores uniform in [1, 100). Building: the 4M links of the random
graph, qcgraph's add_nodes (with positions) + add_links against graph-tool's add_vertex (without)
+ add_edge_list (scores as an edge property), best of 3. Batch: 1,000 random pairs on the grid,
shortest_paths(pairs, threads=2) against the same searches one call each. Single searches:
best of 5 (scipy's dijkstra from the start node, whole, as it has no target).
"""
import sys
import time

import graph_tool.all as gt
import numpy as np
import scipy.sparse.csgraph

import qcgraph
from python_vs_peers import best, grid, random_graph


def ours(n, xy, edges):
    g = qcgraph.Graph()
    g.add_nodes(xy)
    g.add_links(edges)
    return g


def theirs(n, edges):
    g = gt.Graph(directed=True)
    g.add_vertex(n)
    score = g.new_ep("double")
    g.add_edge_list(edges, eprops=[score])
    g.ep["score"] = score
    return g


def building(n, ends, scores, rng):
    xy = rng.uniform(0, 1000, (n, 2))
    edges = np.column_stack([ends, scores])
    t_ours, g = best(3, lambda: ours(n, xy, edges))
    t_theirs, _ = best(3, lambda: theirs(n, edges))
    print("| Building from numpy (qcgraph: nodes with positions, graph-tool: nodes without) | qcgraph | graph-tool | qcgraph / graph-tool |")
    print("|---|---|---|---|")
    print(f"| {n:,} nodes, {len(edges):,} links | {t_ours * 1e3:.0f} ms | {t_theirs * 1e3:.0f} ms | {t_ours / t_theirs:.2f} |\n", flush=True)


def batch(name, n, ends, scores, rng, count):
    g = ours(n, np.zeros((n, 2)), np.column_stack([ends, scores]))
    pairs = rng.integers(0, n, (count, 2))
    start = time.perf_counter()
    single = [g.shortest_path(a, b) for a, b in pairs]
    t_single = time.perf_counter() - start
    rows = []
    for threads in (1, 2):
        t, paths = best(1, lambda: g.shortest_paths(pairs, threads=threads))
        same = [(p.nodes, p.score) if p else None for p in paths] == [(p.nodes, p.score) if p else None for p in single]
        rows.append((threads, t, same))
    print("| Batch of two-node searches | one call each | shortest_paths, threads=1 | threads=2 | speed-up, 2 threads | same paths |")
    print("|---|---|---|---|---|---|")
    print(f"| {count:,} random pairs, {name} | {t_single:.2f} s | {rows[0][1]:.2f} s | {rows[1][1]:.2f} s | "
          f"{t_single / rows[1][1]:.2f}x | {'yes' if all(r[2] for r in rows) else 'NO'} |\n", flush=True)


def searches(name, n, ends, scores, a, b):
    g = ours(n, np.zeros((n, 2)), np.column_stack([ends, scores]))
    t_ours, path = best(5, lambda: g.shortest_path(a, b))
    peer = theirs(n, np.column_stack([ends, scores]))
    t_gt, (vlist, elist) = best(5, lambda: gt.shortest_path(peer, peer.vertex(a), peer.vertex(b), weights=peer.ep["score"]))
    m = g.to_scipy()
    t_sp, dist = best(5, lambda: scipy.sparse.csgraph.dijkstra(m, indices=a, return_predecessors=True))
    gt_score = sum(peer.ep["score"][e] for e in elist)
    agree = abs(gt_score - path.score) <= 1e-9 * path.score and abs(dist[0][b] - path.score) <= 1e-9 * path.score
    return (f"| {name} | {t_ours * 1e3:.0f} ms | {t_gt * 1e3:.0f} ms | {t_sp * 1e3:.0f} ms | "
            f"{t_gt / t_ours:.2f}x | {t_sp / t_ours:.2f}x | {'yes' if agree else 'NO'} |")


def one_to_all(name, n, ends, scores, a, b):
    g = ours(n, np.zeros((n, 2)), np.column_stack([ends, scores]))
    t_ours, (dist, _) = best(5, lambda: g.distances(a))
    peer = theirs(n, np.column_stack([ends, scores]))
    t_gt, theirs_dist = best(5, lambda: gt.shortest_distance(peer, source=peer.vertex(a), weights=peer.ep["score"]))
    reached = np.isfinite(dist)
    agree = np.allclose(dist[reached], theirs_dist.a[reached], rtol=1e-12)
    return f"| {name} | {t_ours * 1e3:.0f} ms | {t_gt * 1e3:.0f} ms | {t_ours / t_gt:.2f} | {'yes' if agree else 'NO'} |"


def main():
    small = "--small" in sys.argv[1:]
    rng = np.random.default_rng(1)
    side, n = (100, 10_000) if small else (1000, 1_000_000)
    square, scattered = grid(side, rng), random_graph(n, rng)
    building(*scattered[:3], rng)
    batch(f"{side}x{side} grid", *square[:3], rng, 1000)
    print("| Single search | qcgraph | graph-tool `shortest_path` | scipy `dijkstra` | faster than graph-tool | faster than scipy | same score |")
    print("|---|---|---|---|---|---|---|")
    print(searches(f"{side}x{side} grid, corner to corner", *square), flush=True)
    print(searches(f"random {n // 1000}k nodes / {4 * n // 1000}k links, far pair", *scattered), flush=True)
    print("\n| One to all | qcgraph `distances` | graph-tool `shortest_distance` | qcgraph / graph-tool | same distances |")
    print("|---|---|---|---|---|")
    print(one_to_all(f"{side}x{side} grid, from a corner", *square), flush=True)
    print(one_to_all(f"random {n // 1000}k nodes / {4 * n // 1000}k links", *scattered), flush=True)


if __name__ == "__main__":
    main()
