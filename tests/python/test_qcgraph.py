import unittest

import qcgraph as q


def graph(positions, links):
    g = q.Graph()
    for x, y in positions:
        g.add_node(x, y)
    for link in links:
        g.add_link(*link)
    return g


SQUARE = graph([(0, 0), (1, 0), (0, 1), (1, 1)], [(0, 1), (0, 2), (1, 3), (2, 3)])
TWO = graph([(0, 0), (1, 0)], [(0, 1, 2.5)])


class GraphTest(unittest.TestCase):
    def test_results_and_ties_as_in_the_library(self):
        g = SQUARE.copy()  # storing link 0 again puts it at the head of node 0's chain
        g.set_link(0, q.Link(0, 3, 0.5))
        for got, expected in [
                (SQUARE.shortest_path(0, 3), ([0, 2, 3], [1, 3])), (SQUARE.shortest_path(3, 0), ([], [])),
                (SQUARE.ranked_paths(0, 3, 3), [(2.0, [0, 2, 3], [1, 3]), (2.0, [0, 1, 3], [0, 2])]),
                (SQUARE.ranked_paths(0, 3, 3, max_length=1), []), (SQUARE.shortest_path_over(2), ([1, 3], [2])),
                (SQUARE.links_from(0), [1, 0]), (g.links_from(0), [0, 1]), (g.shortest_path(0, 3), ([0, 3], [0])),
                ((g.link(0).id, g.add_node(q.Node(2, 2)), len(g), g == SQUARE, SQUARE == SQUARE.copy()), (0, 4, 5, False, True)),
                (q.cliques([[1], [2], []]), [[0, 1, 2]]), (q.connection_path([[0, 1], [1, 2], [2, 3]]), [(1, 1, 2)]),
                (TWO.trace(), "\n 2 nodes\n\n\nNode 0 links:\nlink 0: 0 to 1 score 2.5\n\n\nNode 1 links:\n"),
                ([s.count('stroke-width="5.00"') for s in (TWO.svg(), TWO.svg(([0, 1], [0])))] + [TWO.svg()[:5]], [0, 1, "<?xml"])]:
            self.assertEqual(got, expected)

    def test_bad_input_raises(self):
        self.addCleanup(q.clear_abort)
        for error, calls in [
                (q.InvariantFailure, [lambda: SQUARE.node(4), lambda: SQUARE.link(-1), lambda: SQUARE.copy().add_link(0, 9),
                                      lambda: q.cliques([[3]]), lambda: SQUARE.ranked_paths(0, 3, 0), lambda: TWO.svg(([9], []))]),
                (OverflowError, [lambda: SQUARE.ranked_paths(0, 3, 2**31), lambda: q.Link(0, 2**64)]),
                (q.Cancelled, [lambda: q.request_abort() or SQUARE.ranked_paths(0, 3, 3)])]:
            for call in calls:
                self.assertRaises(error, call)
