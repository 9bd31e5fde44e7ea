#!/usr/bin/python3
"""Reading graph files: qcgraph.read against networkx's readers of the same file, in one process.
Files: the published ones in ../shared/data/real/ when they are there (rome99.gr, email-Enron.txt,
Road.graphml), and a random graph of 200k nodes and 1M links written by qcgraph in each format.
Prints a Markdown table, best of 3 reads each.

    PYTHONPATH=build/release/python bench/files_vs_networkx.py

networkx has no DIMACS reader; its row is what a networkx user writes: a loop over the lines
feeding DiGraph.add_weighted_edges_from. Matrix Market goes through scipy.io.mmread and
networkx.from_scipy_sparse_array.
"""
import pathlib
import sys
import tempfile
import time

import networkx as nx
import numpy as np
import scipy.io

import qcgraph

REAL = pathlib.Path(__file__).resolve().parents[1] / ".." / "shared" / "data" / "real"


def nx_dimacs(path):
    G = nx.DiGraph()
    with open(path) as f:
        G.add_weighted_edges_from((int(u), int(v), float(w)) for kind, u, v, w in
                                  (line.split() for line in f if line.startswith("a ")))
    return G


def nx_edges(path):
    return nx.read_edgelist(path, comments="#", nodetype=int, data=(("weight", float),), create_using=nx.DiGraph)


def nx_mtx(path):
    return nx.from_scipy_sparse_array(scipy.io.mmread(path), create_using=nx.DiGraph)


PEERS = {".gr": nx_dimacs, ".txt": nx_edges, ".mtx": nx_mtx, ".graphml": nx.read_graphml}


def best(read, path):
    times = []
    for _ in range(3):
        start = time.perf_counter()
        read(path)
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    folder = pathlib.Path(tempfile.mkdtemp(prefix="qcgraph-files-"))
    rng = np.random.default_rng(1)
    g = qcgraph.Graph()
    for _ in range(200_000):
        g.add_node()
    g.add_links(np.column_stack([rng.integers(0, 200_000, (1_000_000, 2)), rng.integers(1, 1000, 1_000_000)]).astype(float))
    files = [REAL / name for name in ("rome99.gr", "email-Enron.txt", "Road.graphml") if (REAL / name).exists()]
    for suffix in (".gr", ".txt", ".mtx", ".graphml"):
        files.append(folder / ("random" + suffix))
        g.write(files[-1])
    print("| file | links | qcgraph.read | networkx | ratio |")
    print("|---|---:|---:|---:|---:|")
    for path in files:
        ours = best(lambda p: qcgraph.read(p, max_nodes=2**31 - 1), path)
        peer = best(PEERS[path.suffix], path)
        links = qcgraph.read(path)[0].num_links
        print(f"| {path.name} | {links:,} | {ours * 1e3:.1f} ms | {peer * 1e3:.0f} ms | {peer / ours:.0f}x |")
        sys.stdout.flush()
    for path in folder.iterdir():
        path.unlink()
    folder.rmdir()


if __name__ == "__main__":
    main()
