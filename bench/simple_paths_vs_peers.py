#!/usr/bin/python3
"""Loopless k cheapest paths: qcgraph's simple_paths against networkx's shortest_simple_paths
and python-igraph's get_k_shortest_paths, from Python in one process, on the same graphs and
pairs: the Rome road network (rome99.gr, arc lengths) and a 300 x 300 grid (links both ways
between 4-neighbours, integer scores 1 to 100), 20 random pairs each, k = 100 and k = 1000.
Every peer's scores are checked against qcgraph's. Prints a Markdown table of seconds per query.

    PYTHONPATH=build/release/python bench/simple_paths_vs_peers.py [--pairs N] [--scale F]

The peers take seconds to minutes a query, so they answer fewer pairs (and on the grid a smaller
k), as PLAN says; each ratio compares qcgraph on the very same questions. --scale multiplies the
peers' pair counts. The run takes about ten minutes, nearly all of it in the peers.
"""
import argparse
import itertools
import os
import random
import time

import igraph
import networkx as nx

import qcgraph

ROME = os.path.join(os.path.dirname(__file__), "..", "..", "shared", "data", "real", "rome99.gr")


def read_dimacs(path):
    """(n, {(a, b): score}) of a DIMACS .gr file, ids from 0; of parallel arcs the cheapest."""
    arcs = {}
    with open(path) as f:
        for line in f:
            if line.startswith("p"):
                n = int(line.split()[2])
            elif line.startswith("a"):
                _, a, b, w = line.split()
                key = (int(a) - 1, int(b) - 1)
                arcs[key] = min(float(w), arcs.get(key, float("inf")))
    return n, arcs


def grid(side, rng):
    arcs = {}
    for r in range(side):
        for c in range(side):
            v = r * side + c
            for w in ([v + 1] if c + 1 < side else []) + ([v + side] if r + 1 < side else []):
                arcs[(v, w)] = float(rng.randint(1, 100))
                arcs[(w, v)] = float(rng.randint(1, 100))
    return side * side, arcs


# What the peers run on, per graph and k: (igraph pairs, networkx pairs, peers' k). On the grid a
# peer's query at k = 100 takes minutes (igraph) to most of an hour (networkx), so they answer
# k = 10 there, once; qcgraph answers the same question for the ratio.
PLAN = {("rome99", 100): (20, 3, 100), ("rome99", 1000): (2, 1, 1000),
        ("grid 300x300", 100): (1, 1, 10), ("grid 300x300", 1000): (0, 0, 0)}


def timed(query, pairs):
    start = time.perf_counter()
    results = [query(a, b) for a, b in pairs]
    return (time.perf_counter() - start) / max(len(pairs), 1), results


def run(name, n, arcs, k, pairs, scale):
    edges = list(arcs)
    g = qcgraph.Graph()
    for _ in range(n):
        g.add_node()
    g.add_links([(a, b, arcs[(a, b)]) for a, b in edges])
    peer = igraph.Graph(n, edges, directed=True)
    weights = [arcs[e] for e in edges]
    G = nx.DiGraph()
    G.add_weighted_edges_from((a, b, arcs[(a, b)]) for a, b in edges)

    def ours(k):
        return lambda a, b: [p.score for p in g.simple_paths(a, b, k)]

    def igraph_scores(k):
        def query(a, b):
            paths = peer.get_k_shortest_paths(a, b, k, mode="out", weights=weights, output="vpath")
            return [sum(arcs[e] for e in zip(p, p[1:])) for p in paths]
        return query

    def nx_scores(k):
        def query(a, b):
            paths = itertools.islice(nx.shortest_simple_paths(G, a, b, weight="weight"), k)
            return [nx.path_weight(G, p, "weight") for p in paths]
        return query

    ours_time, _ = timed(ours(k), pairs)
    row = [name, str(k), f"{len(pairs)}", f"{ours_time:.4f}"]
    igraph_pairs, nx_pairs, peer_k = PLAN[(name, k)]
    for peer_query, count in ((igraph_scores, igraph_pairs), (nx_scores, nx_pairs)):
        few = pairs[:max(1, int(count * scale))] if count else []
        if not few:
            row += ["-", "-"]
            continue
        mine, listed = timed(ours(peer_k), few)
        theirs, found = timed(peer_query(peer_k), few)
        assert found == listed, f"{name}: a peer's scores differ"
        row += [f"{theirs:.3f} (k={peer_k}, {len(few)} pairs)", f"{theirs / mine:.0f}x"]
    print("| " + " | ".join(row) + " |", flush=True)


def main():
    options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    options.add_argument("--pairs", type=int, default=20)
    options.add_argument("--scale", type=float, default=1.0, help="of the peers' pairs (at least 1 each)")
    args = options.parse_args()
    rng = random.Random(1)
    graphs = [("rome99", *read_dimacs(ROME)), ("grid 300x300", *grid(300, rng))]
    print("| graph | k | pairs | qcgraph s/query | igraph s/query | qcgraph vs igraph "
          "| networkx s/query | qcgraph vs networkx |", flush=True)
    print("|---|---|---|---|---|---|---|---|", flush=True)
    for name, n, arcs in graphs:
        pairs = [(rng.randrange(n), rng.randrange(n)) for _ in range(args.pairs)]
        for k in (100, 1000):
            run(name, n, arcs, k, pairs, args.scale)


if __name__ == "__main__":
    main()
