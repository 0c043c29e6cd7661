#!/usr/bin/env python3
"""Checks of the comparison in crosscheck_tables.py where it accepts an
outcome decided by the last bit: the readings of constraint ties."""

import os
import sys
import types
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import crosscheck_tables as C  # noqa: E402
import table_reference as R  # noqa: E402

PARAMETERS = os.path.join(HERE, "..", "..", "data", "OrvenPar.drc")
BELOW, ON, ABOVE = -1, 0, 1


def fake_compare(ties, program, fault=None, other_problem=False):
    """compare(tie_readings) for settle_ties on a table of ten years.  The
    reference has ties in the years of `ties`, which its own last bit reads
    as above the bound; the program read them as `program` says (year ->
    reading, above where not given).  Rows disagree from the first year
    read otherwise, and from the year `fault` on whatever the readings."""
    calls = []

    def compare(readings):
        calls.append(dict(readings))
        outcome = C.Outcome("fake.orven")
        split = [y for y in sorted(ties) if readings.get(y, ABOVE) != program.get(y, ABOVE)]
        start = min(split[:1] + ([] if fault is None else [fault]), default=None)
        if other_problem:
            outcome.problem("-", "stderr", "a message", "")
        if start is not None:
            for y in range(start, 10):
                outcome.problem(20 + y, "G2", "1", "2", y)
        return outcome, types.SimpleNamespace(tie_years=set(ties))

    return compare, calls


class SettleTiesTest(unittest.TestCase):
    def test_readings_the_table_bears_out_are_accepted(self):
        cases = [  # (what, ties, program's readings, readings tolerated)
            ("one year read below", {1, 4, 7}, {4: BELOW}, 1),
            ("two years read otherwise", {1, 4, 7}, {1: ON, 7: BELOW}, 2),
            ("every year as the reference reads it", {1, 4, 7}, {}, 0),
        ]
        for what, ties, program, tolerated in cases:
            compare, calls = fake_compare(ties, program)
            outcome = C.settle_ties(compare)
            self.assertEqual(outcome.problems, [], what)
            self.assertEqual(outcome.tolerated, tolerated, what)
            self.assertEqual(calls[-1], program, what)

    def test_disagreements_no_reading_explains_are_reported(self):
        cases = [  # (what, ties, program's readings, fault, other problem, first year reported)
            ("a fault in a year without ties", {4}, {}, 6, False, 6),
            ("a fault before the tie", {4}, {4: BELOW}, 2, False, 2),
            ("a fault after a tie read otherwise", {4}, {4: BELOW}, 7, False, 7),
            ("a disagreement outside the rows", {4}, {4: BELOW}, None, True, 4),
        ]
        for what, ties, program, fault, other, first_year in cases:
            compare, _ = fake_compare(ties, program, fault, other)
            outcome = C.settle_ties(compare)
            self.assertTrue(outcome.problems, what)
            self.assertEqual(outcome.first_year, first_year, what)


class TieReadingTest(unittest.TestCase):
    def setUp(self):
        if not R.load_parameters(PARAMETERS):
            self.skipTest("no parameter file at " + PARAMETERS)

    def test_a_reading_applies_to_its_own_year(self):
        # With ThinPctMin = ThinPctMax, a pass that sets G2 to 16 % of G1
        # passes when the share is read as on the bound and cancels the
        # thinning when it is read as below.
        cfg = dict(C.default_settings(), preset=1, measure=1, intensity_start="20.0",
                   intensity_end="32.6", thin_start=31, thin_end=61, table_start=33,
                   table_end=98, interval_divisor=16, volume=3,
                   constraints=[["", ""], ["", ""], ["16", "16"], ["", ""]])
        data = C.settings_text(cfg)

        def g2(readings):
            _, session = R.compute(data, english=True, tie_readings=readings)
            return session, [float(session.StandTable[R.G2][y]) for y in range(66)]

        own, plain = g2(None)
        self.assertGreaterEqual(len(own.tie_years), 2)
        year = sorted(own.tie_years)[1]
        g1 = float(own.StandTable[R.G1][year])
        self.assertAlmostEqual(100 * plain[year] / g1, 16, places=9)

        _, on = g2({year: ON})
        self.assertEqual(on[:year + 1], plain[:year + 1])
        _, below = g2({year: BELOW})
        self.assertEqual(below[:year], plain[:year])
        self.assertLess(below[year], 1e-4)


if __name__ == "__main__":
    unittest.main()
