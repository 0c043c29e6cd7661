#!/usr/bin/env python3
"""Compares `orven-table model` with the independent reference in
model_reference.py on several thousand calls.

  crosscheck.py --orven-table BINARY [--parameters OrvenPar.drc] [--seed N]

First the reference is checked against a few fixed expectations of the model,
then the program and the reference evaluate the same random calls (one
`model --batch` process per pass):

  1. with the parameter file given by --parameters (skipped when it is absent),
  2. with a parameter file written here, holding only some of the species,
  3. with --growth-correction 1.2, for the increment functions.

Exit status 0 when everything agrees, 1 otherwise.  The last line of output is
"N passed, M failed".
"""

import argparse
import math
import os
import random
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import model_reference as ref  # noqa: E402

SENTINEL = ref.SENTINEL
RELATIVE_TOLERANCE = 1e-12
SHOWN_DISAGREEMENTS = 40


# ---------------------------------------------------------------------------
# Outcomes

def parse_output(line, kind):
    """Turns one output line of the program into an outcome like those of
    ref.Evaluate; None when the line cannot be read as the routine's result."""
    line = line.strip()
    if line == "fault":
        return ("fault",)
    if line.startswith("error:"):
        return ("error", line[len("error:"):].strip())
    try:
        if kind == "boolean":
            return ("boolean", {"0": False, "1": True}[line])
        if kind == "pair":
            lo, hi = line.split(" ")
            return ("pair", float(lo), float(hi))
        return ("number", float(line))
    except (KeyError, ValueError):
        return None


def same_number(x, y):
    if x == SENTINEL or y == SENTINEL:
        return x == y
    if math.isnan(x) or math.isnan(y):
        return False
    difference = abs(x - y)
    return (x == y or difference <= 1e-300
            or difference <= RELATIVE_TOLERANCE * max(abs(x), abs(y)))


def agree(expected, got):
    if got is None or expected[0] != got[0]:
        return False
    if expected[0] in ("fault", "error"):
        return True  # the wording of an error is the program's own
    if expected[0] == "boolean":
        return expected[1] == got[1]
    return all(same_number(x, y) for x, y in zip(expected[1:], got[1:]))


def show(outcome):
    if outcome is None:
        return "(unreadable)"
    if outcome[0] == "fault":
        return "fault"
    if outcome[0] == "error":
        return "error: " + outcome[1]
    if outcome[0] == "boolean":
        return "1" if outcome[1] else "0"
    return " ".join("%.17g" % x for x in outcome[1:])


class Tally:
    def __init__(self):
        self.passed = 0
        self.failed = 0
        self.messages = []

    def record(self, ok, message):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            self.messages.append(message)


# ---------------------------------------------------------------------------
# Fixed expectations, checked against the reference itself

def check_reference(tally, written):
    """`written` describes the parameter file written by write_parameter_file,
    which the reference has loaded."""
    def expect(ok, what):
        tally.record(bool(ok), "reference self-check: " + what)

    def close(x, y, tolerance=1e-9):
        return x > SENTINEL and abs(x - y) <= tolerance * max(1.0, abs(y))

    R = ref.Real

    # Checked arithmetic: overflow and invalid operations are faults.
    for operation in (lambda: R(1e200) * 1e200, lambda: R(1.0) / 0.0,
                      lambda: ref.power(0.0, -1.0), lambda: ref.power(-8.0, 0.5),
                      lambda: ref.exp(1000.0), lambda: ref.ln(0.0), lambda: ref.sqrt(-1e-9)):
        try:
            operation()
            expect(False, "a floating-point fault is detected")
        except ref.FloatingPointFault:
            expect(True, "")
    expect(ref.power(0.0, 2.5) == 0 and ref.power(0.0, 0.0) == 1 and ref.power(-2.0, 3.0) == -8
           and ref.exp(-1000.0) == 0, "C pow and exp semantics (underflow is no fault)")

    # Parameter store.
    present = written["present"]
    absent = [s for s in range(7) if s not in present]
    expect([e.Present for e in ref.SpeciesTable] == [s in present for s in range(7)],
           "only species with valid records are present")
    for s in present:
        expect(ref.SpeciesTable[s].NameUK == written["names"][s],
               "species %d keeps the names of its first record" % s)
        expect(list(map(float, ref.ModelParameters[s])) == written["parameters"][s],
               "species %d: every coefficient read, later records overwrite earlier ones" % s)

    # Growth equations.
    s = present[0]
    P = ref.ModelParameters[s]
    for args in ((-1.0, 20.0, 0.05), (10.0, -1.0, 0.05), (10.0, 20.0, -0.01)):
        expect(ref.HdomIncrementA0(s, *args) == SENTINEL
               and ref.HdomIncrementSI(s, args[0], args[1], args[2] * 100) == SENTINEL,
               "negative argument of a height increment gives the sentinel %r" % (args,))
    expect(ref.BasalAreaIncrementA0(s, 20.0, -1.0, 0.05) == SENTINEL
           and ref.StemNumberChangeSI(s, -1.0, 10.0) == SENTINEL
           and ref.StemNumberChangeA0(s, 1000.0, -0.5) == SENTINEL,
           "negative arguments of increments give the sentinel")
    expect(P[8] > 0 and ref.BasalAreaIncrementA0(s, 0.0, 15.0, 0.05) == 0,
           "basal-area increment at G = 0 is 0")
    expect(ref.HdomIncrementA0(7, 10.0, 20.0, 0.05) == SENTINEL and ref.HgFromHdom(-1, 10.0) == SENTINEL
           and ref.MaxSiteIndex(7) == 0, "species outside 0..6")
    for h in (5.0, 17.3, 38.0):
        hg = ref.HgFromHdom(s, h)
        expect(hg <= h and close(ref.HdomFromHg(s, hg), h, 1e-13),
               "HdomFromHg(HgFromHdom(%g)) = %g" % (h, h))
    expect(ref.HgFromHdom(s, 0.1) <= 0.1, "mean height never above dominant height")
    for h in (8.0, 21.5, 33.3):
        expect(close(ref.DominantHeightAtAge(s, 50.0, 50.0, h), h, 1e-13),
               "DominantHeightAtAge at the reference age returns the reference height")
        expect(close(ref.HdomAfterThinning(s, 0.25, 0.25, h), h, 1e-14),
               "HdomAfterThinning with Dafter = Dbefore")
    for s in present:
        if s in written["failing_curve"]:
            m = ref.MaxSiteIndex(s)
            expect(4 < m < 100 and ref.DominantHeightAtAge(s, 50.0, 50.0, m) > 0
                   and ref.DominantHeightAtAge(s, 50.0, 50.0, m + 0.1) < 0,
                   "MaxSiteIndex of species %d stops where the curve fails" % s)
        else:
            x = 4.0
            for _ in range(960):
                x += 0.1
            expect(abs(ref.MaxSiteIndex(s) - x) < 1e-9, "MaxSiteIndex is 100 for a curve that never fails")
    for s in absent:
        expect(ref.MaxSiteIndex(s) == 0, "MaxSiteIndex of an absent species is 0")
        expect(ref.Evaluate("HgFromHdom", [str(s), "12.5"]) == ("fault",),
               "HgFromHdom of an absent species divides by zero")
        expect(ref.HdomIncrementA0(s, 10.0, 20.0, 0.05) == 0.05, "absent species computes with zeros")
    saved = ref.GrowthCorrection
    s = present[0]
    plain = (ref.BasalAreaIncrementA0(s, 20.0, 15.0, 0.05), ref.BasalAreaIncrementSI(s, 20.0, 15.0, 18.0),
             ref.HdomIncrementA0(s, 15.0, 20.0, 0.05), ref.StemNumberChangeA0(s, 900.0, 15.0))
    ref.GrowthCorrection = 1.2
    corrected = (ref.BasalAreaIncrementA0(s, 20.0, 15.0, 0.05), ref.BasalAreaIncrementSI(s, 20.0, 15.0, 18.0),
                 ref.HdomIncrementA0(s, 15.0, 20.0, 0.05), ref.StemNumberChangeA0(s, 900.0, 15.0))
    ref.GrowthCorrection = saved
    expect(close(corrected[0], 1.2 * plain[0], 1e-15) and close(corrected[1], 1.2 * plain[1], 1e-15)
           and corrected[2:] == plain[2:], "growth correction 1.2 scales only basal-area increments")

    # Volume functions.
    for species in range(7):
        expect(ref.TreeVolume(0, species, 0.05, 2.9, 0.05) == ref.SmallTreeVolume(0.05, 2.9) > 0
               and all(ref.TreeVolume(v, species, 0.05, 2.9, 0.05) == 0 for v in (1, 2, 3)),
               "h = 2.9: total volume is SmallTreeVolume, merchantable 0 (species %d)" % species)
        expect(ref.TreeVolume(0, species, 0.05, 3.0, 0.05) == ref._SingleTreeVolume(0, species, 0.05, 3.0, 0.05)
               != ref.SmallTreeVolume(0.05, 3.0), "h = 3: species function (species %d)" % species)
        expect(ref.TreeVolume(3, species, 0.10, 20.0, 0.3) == 0 and ref.TreeVolume(3, species, 0.1001, 20.0, 0.3) > 0,
               "merchantable to 10 cm needs d > 0.10 (species %d)" % species)
        expect(all(ref.TreeVolume(v, species, 0.0, 20.0, 0.3) == SENTINEL
                   and ref.TreeVolume(v, species, 0.3, 20.0, 0.0) == SENTINEL for v in range(4)),
               "d = 0 or Dg = 0 gives the sentinel (species %d)" % species)
        expect(ref.TreeVolume(4, species, 0.3, 20.0, 0.3) == 0, "definition 4 gives 0")
        for v in range(4):
            for d, target in ((0.25, 0.4), (0.4, 1.7), (0.12, 0.09)):
                h = ref.HeightForTreeVolume(v, species, target, d, d)
                expect(h > 1.3 and abs(ref.TreeVolume(v, species, d, h, d) - target) < 1e-6,
                       "HeightForTreeVolume inverts TreeVolume (%d, %d, %g, %g)" % (v, species, target, d))
        expect(all(ref.HeightForTreeVolume(v, species, 1e30, 0.3, 0.3) == SENTINEL for v in range(4)),
               "HeightForTreeVolume of a volume not met within 100 steps")
    expect(all(ref.TreeVolume(v, 7, 0.3, 20.0, 0.3) == 0 for v in range(4)), "species 7 gives volume 0")
    expect(ref.HeightForTreeVolume(1, 7, 0.5, 0.3, 0.3) == SENTINEL, "zero secant denominator gives the sentinel")
    expect(ref.Evaluate("TreeVolume", ["3", "3", "2.0", "20.0", "0.3"]) == ("fault",),
           "a volume function's own division by zero is a fault")
    expect(ref.MerchDiameterLimit(3) == 0.10 and ref.MerchDiameterLimit(4) == 0 and ref.MerchDiameterLimit(-1) == 0,
           "MerchDiameterLimit")

    # Classical site and yield classes.
    expect(all(ref.YieldTableHg(0, 0.0, S) == 1.5192 for S in (1.0, 2.0, 3.5, 5.0)), "beech YieldTableHg at T = 0")
    expect(ref.YieldTableHg(1, -10.0, 2.0) == SENTINEL, "YieldTableHg catches its faults")
    for species in range(7):
        for S in (1.0, 2.5, 4.0):
            for T in (30.0, 80.0):
                expect(close(ref.SiteClassFromHg(species, ref.YieldTableHg(species, T, S), T), S),
                       "SiteClassFromHg inverts YieldTableHg (%d, %g, %g)" % (species, T, S))
        lo, hi = ref.SiteClassLimits(species)
        for Y in range(2, 31, 2):
            S = ref.SiteClassFromYieldClass(species, float(Y))
            if lo <= S <= hi:
                expect(close(ref.YieldClassFromSiteClass(species, S), Y),
                       "YieldClassFromSiteClass inverts SiteClassFromYieldClass (%d, %d)" % (species, Y))
        age = ref.YieldTableAgeAtHg(species, 2.0, 2.0)
        expect(close(ref.YieldTableHg(species, age, 2.0), 2.0, 1e-11), "YieldTableAgeAtHg (%d)" % species)
    split = ref.SPRUCE_YIELD_CLASS_SPLIT
    expect(round(ref.SiteClassFromYieldClass(3, split), 4) == 3.23
           and round(ref.SiteClassFromYieldClass(3, math.nextafter(split, 0)), 4) == 3.23
           and round(ref.SiteClassFromYieldClass(3, math.nextafter(split, 0)), 5) == 3.22999,
           "Norway spruce at the yield-class split")
    expect(ref.SiteClassLimits(7) == (1, 4) and ref.SiteClassLimits(3) == (1, 8), "SiteClassLimits")
    expect(ref.YieldTableDiameter(0, 60.0, 7.0) == ref.YieldTableDiameter(0, 60.0, 5.0)
           and ref.YieldTableDiameter(6, 60.0, 0.5) == ref.YieldTableDiameter(6, 60.0, 1.0),
           "initial-state functions clamp the site class")
    expect(ref.YieldTableStemNumber(3, 1.0, 1.0) == 25000 and ref.YieldTableBasalArea(0, 1.0, 1.0) == 0,
           "initial-state results are clamped")
    expect(ref.YieldTableDiameter(5, 0.0, 2.0) == SENTINEL, "initial-state functions catch their faults")
    expect(ref.Evaluate("SiteClassFromYieldClass", ["1", "1e300"]) == ("fault",)
           and ref.YieldClassFromSiteClass(1, -1e300) == SENTINEL,
           "SiteClassFromYieldClass does not catch faults, YieldClassFromSiteClass does")

    # Model data ranges.
    expect(ref.OutsideDataRange(0, 0, 212.0) and not ref.OutsideDataRange(0, 0, 211.0), "beech age 212 / 211")
    for s in present:
        lowerHD, upperHD = ref.FIXED_RANGES[s][1]
        lower, upper = ref.HgFromHdom(s, ref.Real(lowerHD)), ref.HgFromHdom(s, ref.Real(upperHD))
        if upper > lower > 0:
            expect(not ref.OutsideDataRange(20, s, lower) and ref.OutsideDataRange(20, s, math.nextafter(lower, 0))
                   and not ref.OutsideDataRange(2, s, upper) and ref.OutsideDataRange(2, s, math.nextafter(upper, 100)),
                   "Hg limits are HgFromHdom of the HD limits (species %d)" % s)
    expect(not ref.OutsideDataRange(7, 0, -1e9) and not ref.OutsideDataRange(0, 7, -1e9), "no range, no test")
    expect(not ref.OutsideModelData(0, 4, 50.0, 20.0, 1e9), "stem number has no envelope")
    expect(not ref.SiteIndexOutsideData(0, 50.0, 30.0) and ref.SiteIndexOutsideData(0, 50.0, 32.0)
           and ref.SiteIndexOutsideData(0, 50.0, 10.0), "beech site index envelope at age 50")
    expect(all(ref.SiteIndexOutsideData(2, a, h) and ref.DiameterOutsideData(2, d, h)
               and ref.BasalAreaOutsideData(2, g, h)
               for a in (20.0, 60.0) for h in (5.0, 25.0) for d in (1.3, 30.0) for g in (0.6, 30.0)),
           "ash: everything is outside the (empty) envelopes")
    expect(ref.BasalAreaOutsideData(0, 0.4, 20.0), "beech basal area 0.4 is below 0.5")
    expect(not ref.SiteIndexOutsideData(4, 50.0, 37.0), "a failing height-age evaluation reports inside")


# ---------------------------------------------------------------------------
# A parameter file with random but sane coefficients

# Sane ranges of the coefficients the model reads, by element index.
SANE_RANGES = {
    2: (0.8, 1.2), 3: (-0.08, -0.03), 4: (-0.01, -0.001),
    6: (0.2, 0.8), 7: (5.0, 15.0), 8: (0.3, 0.7), 9: (-0.03, -0.01), 10: (-0.08, -0.02), 11: (0.8, 1.2),
    12: (0.005, 0.02), 13: (1.2, 1.8), 14: (0.005, 0.02),
    18: (1.5, 2.2), 19: (1000.0, 8000.0), 20: (20.0, 40.0),
    24: (1.0, 1.1), 25: (0.0, 1.5),
    30: (0.1, 0.4), 31: (0.0, 0.3),
    36: (0.01, 0.05), 37: (-0.01, 0.01),
    60: (0.001, 0.005), 61: (0.001, 0.004), 62: (0.8, 1.2), 63: (-0.08, -0.03), 64: (-0.01, -0.001),
    66: (0.1, 0.5), 67: (0.02, 0.06), 68: (0.3, 0.7), 69: (-0.03, -0.01), 70: (-0.08, -0.02), 71: (0.8, 1.2),
    72: (0.005, 0.02), 73: (1.2, 1.8), 74: (0.005, 0.02),
}
NAMES = ["Bøg", "Eg", "Ask", "Rødgran", "Sitkagran", "Douglasgran", "Alm. ædelgran"]


def short_string(text):
    raw = text.encode("cp1252")[:50]
    return bytes([len(raw)]) + raw.ljust(50, b"\0")


def record(species, group, item, value, name="x"):
    return (struct.pack("<B3xii4xd", species, group, item, value)
            + short_string(name + " DK") + short_string(name) + short_string(name + " L.") + b"\0" * 7)


def write_parameter_file(path, rng):
    """Writes a parameter file for four of the seven species and returns what
    the reader must make of it.  Every element of a present species gets a
    distinct value (unused ones too, so reading a wrong element shows); one
    species has a height-age curve that fails below 100 m; the file also holds
    records the reader must skip, a repeated record and a partial record."""
    present = sorted(rng.sample(range(7), 4))
    absent = [s for s in range(7) if s not in present]
    failing_curve = present[1]
    names, parameters, records = {}, {}, []
    for s in present:
        names[s] = NAMES[s]
        values = []
        for k in range(78):
            lo, hi = SANE_RANGES.get(k, (-3.0, 3.0))
            values.append(rng.uniform(lo, hi))
        if s == failing_curve:
            values[18], values[19], values[20] = rng.uniform(2.0, 2.2), rng.uniform(-2500.0, -1500.0), rng.uniform(35.0, 40.0)
        parameters[s] = values
        for n, k in enumerate(rng.sample(range(78), 78)):
            records.append(record(s, k // 6 + 1, k % 6 + 1, values[k], NAMES[s] if n == 0 else "renamed"))
    # Repeats: the later record wins.
    s = present[0]
    records.insert(0, record(s, 5, 1, 99.0, NAMES[s]))
    records.insert(len(records) // 2, record(s, 1, 3, 7.0, "renamed"))
    records.append(record(s, 1, 3, parameters[s][2], "renamed"))
    # Records outside the tables: skipped, and they make no species present.
    for bad in ((7, 1, 1), (200, 5, 1), (absent[0], 14, 1), (absent[0], 0, 1), (s, 5, 7), (s, 5, 0), (s, -1, 1)):
        records.insert(rng.randrange(len(records)), record(bad[0], bad[1], bad[2], 1e6, "bad"))
    with open(path, "wb") as f:
        f.write(b"".join(records))
        f.write(record(absent[-1], 5, 1, 1.0, "partial")[:100])
    return {"present": present, "names": names, "failing_curve": [failing_curve],
            "parameters": {s: [float(v) for v in parameters[s]] for s in present}}


# ---------------------------------------------------------------------------
# Random calls

SPECIALS = [0.0, -0.0, -1.0, 1e-300, -1e-300, 1e300, -1e300, 1e20, 1e154, 1.7e308, 2.0, 9.9]


class CallGenerator:
    def __init__(self, rng, outside=0.2):
        self.rng = rng
        self.outside = outside

    def real(self, lo, hi):
        """Mostly a realistic value in [lo, hi], sometimes one outside any domain."""
        rng = self.rng
        r = rng.random()
        if r < self.outside * 0.6:
            return rng.choice(SPECIALS)
        if r < self.outside:
            return -rng.uniform(lo, hi) if rng.random() < 0.7 else rng.uniform(hi, 100 * hi + 1)
        x = rng.uniform(lo, hi)
        return round(x, rng.choice((1, 2, 3))) if rng.random() < 0.2 else x

    def species(self):
        return self.rng.randrange(7) if self.rng.random() > 0.1 else self.rng.choice((-1, 7, 8, 255, 256))

    def definition(self):
        return self.rng.randrange(4) if self.rng.random() > 0.1 else self.rng.choice((-1, 4, 5, 256))

    def code(self):
        rng = self.rng
        return rng.choice((0, 1, 2, 3, 4, 5, 19, 20, 21, 22, 23)) if rng.random() < 0.7 else rng.choice(
            list(range(26)) + [-1, 45, 46, 255])

    def routine_arguments(self, name):
        rng, real, sp = self.rng, self.real, self.species
        H, G, A0, SI, N = (lambda: real(1, 45)), (lambda: real(0, 80)), (lambda: real(0.001, 0.15)), \
            (lambda: real(5, 40)), (lambda: real(50, 10000))
        age, S, Y, diam = (lambda: real(1, 200)), (lambda: real(0.5, 8)), (lambda: real(1, 30)), (lambda: real(0.01, 0.9))
        if name in ("HdomIncrementA0", "HdomIncrementSI"):
            return [sp(), H(), G(), A0() if name.endswith("A0") else SI()]
        if name in ("BasalAreaIncrementA0", "BasalAreaIncrementSI"):
            return [sp(), G(), H(), A0() if name.endswith("A0") else SI()]
        if name in ("StemNumberChangeA0", "StemNumberChangeSI"):
            return [sp(), N(), H()]
        if name == "DominantHeightAtAge":
            return [sp(), age(), 50.0 if rng.random() < 0.3 else age(), H()]
        if name in ("HgFromHdom", "HdomFromHg"):
            return [sp(), real(0, 45)]
        if name == "HdomAfterThinning":
            before = real(5, 60)
            after = before * rng.uniform(0.85, 1.15) if rng.random() < 0.6 else real(5, 60)
            return [sp(), before, after, H()]
        if name in ("MaxSiteIndex", "SiteClassLimits"):
            return [rng.choice((-1, 0, 1, 2, 3, 4, 5, 6, 7, 255, 256))]
        if name == "MerchDiameterLimit":
            return [rng.choice((-1, 0, 1, 2, 3, 4, 5, 255, 256))]
        if name == "TreeVolume":
            d = diam()
            h = rng.choice((2.9, 3.0, 1.3)) if rng.random() < 0.1 else real(1, 45)
            return [self.definition(), sp(), d, h, d if rng.random() < 0.5 else diam()]
        if name == "SmallTreeVolume":
            return [real(0, 0.1), real(0, 3)]
        if name == "HeightForTreeVolume":
            definition, species, d = self.definition(), sp(), diam()
            Dg = d if rng.random() < 0.5 else diam()
            v = None
            if rng.random() < 0.7 and 0 <= definition <= 3 and 0 <= species <= 6:
                try:
                    v = ref.TreeVolume(definition, species, ref.Real(d), ref.Real(rng.uniform(3, 45)), ref.Real(Dg))
                except ref.FloatingPointFault:
                    pass
            return [definition, species, v if v is not None and v > 0 else real(0.001, 5), d, Dg]
        if name == "YieldTableHg":
            return [sp(), real(0, 200), S()]
        if name == "YieldTableAgeAtHg":
            return [sp(), real(1, 45), S()]
        if name in ("SiteClassFromHg", "YieldClassFromHg"):
            return [sp(), real(1, 45), real(5, 200)]
        if name == "SiteClassFromYieldClass":
            return [sp(), Y()]
        if name == "YieldClassFromSiteClass":
            return [sp(), S()]
        if name in ("YieldTableDiameter", "YieldTableBasalArea", "YieldTableStemNumber"):
            return [sp(), age(), S()]
        if name == "OutsideDataRange":
            code = self.code()
            return [code, sp(), self.variable_value(code, rng.randrange(7))]
        if name == "OutsideModelData":
            code = self.code()
            return [sp(), code, age(), H(), self.variable_value(code, rng.randrange(7))]
        if name == "SiteIndexOutsideData":
            return [sp(), age(), H()]
        if name == "DiameterOutsideData":
            return [sp(), real(0, 100), real(0, 45)]
        if name == "BasalAreaOutsideData":
            return [sp(), real(0, 100), real(0, 45)]
        raise KeyError(name)

    def variable_value(self, code, species):
        """A value of the variable `code`, sometimes exactly on a fixed limit."""
        column = {0: 0, 1: 1, 19: 1, 2: 1, 20: 1, 3: 2, 21: 2, 4: 3, 22: 3, 5: 4, 23: 4}.get(code, 1)
        lo, hi = ref.FIXED_RANGES[species][column]
        if self.rng.random() < 0.2:
            return float(self.rng.choice((lo, hi)))
        return self.real(0, hi * 1.3)

    def calls(self, names, per_routine):
        result = []
        for name in names:
            for _ in range(per_routine):
                result.append((name, [str(a) if isinstance(a, int) else repr(float(a))
                                      for a in self.routine_arguments(name)]))
        self.rng.shuffle(result)
        return result


MALFORMED_CALLS = [
    ("NoSuchRoutine", ["1.0"]),
    ("HgFromHdom", ["0"]),
    ("HgFromHdom", ["0", "12.0", "3.0"]),
    ("HgFromHdom", ["0", "abc"]),
    ("HgFromHdom", ["0", "inf"]),
    ("HgFromHdom", ["0", "nan"]),
    ("TreeVolume", ["zero", "0", "0.3", "20.0", "0.3"]),
    ("MaxSiteIndex", []),
]


# ---------------------------------------------------------------------------
# Running the program

def run_batch(binary, parameters, growth_correction, calls, timeout=300):
    """Returns (lines, problem); problem is None when the program ran."""
    command = [binary, "--parameters", parameters]
    if growth_correction is not None:
        command += ["--growth-correction", repr(growth_correction)]
    command += ["model", "--batch"]
    text = "".join("%s %s\n" % (name, " ".join(arguments)) for name, arguments in calls)
    try:
        done = subprocess.run(command, input=text, capture_output=True, text=True, timeout=timeout)
    except (OSError, subprocess.TimeoutExpired) as e:
        return None, "cannot run %s: %s" % (" ".join(command), e)
    lines = done.stdout.splitlines()
    if done.returncode != 0 or len(lines) != len(calls):
        return lines, ("%s exited with status %d after %d of %d output lines; stderr: %s"
                       % (" ".join(command), done.returncode, len(lines), len(calls), done.stderr.strip()[:500]))
    return lines, None


def compare_pass(tally, label, binary, parameters, growth_correction, calls):
    ref.GrowthCorrection = 1.0 if growth_correction is None else growth_correction
    ref.ReadParameterFile(parameters)
    ref.ComputeMaxSiteIndex()
    expected = [ref.Evaluate(name, arguments) for name, arguments in calls]
    lines, problem = run_batch(binary, parameters, growth_correction, calls)
    if lines is None:
        tally.record(False, "[%s] %s" % (label, problem))
        return
    if problem:
        tally.record(False, "[%s] %s" % (label, problem))
    failures_by_routine = {}
    for (name, arguments), want, line in zip(calls, expected, lines):
        got = parse_output(line, ref.ROUTINES[name][2] if name in ref.ROUTINES else "number")
        ok = agree(want, got)
        if not ok:
            failures_by_routine[name] = failures_by_routine.get(name, 0) + 1
        tally.record(ok, "[%s] %s %s: expected %s, got %s"
                     % (label, name, " ".join(arguments), show(want), line.strip() if got is None else show(got)))
    summary = ", ".join("%s %d" % item for item in sorted(failures_by_routine.items()))
    print("%s: %d calls%s" % (label, len(calls), "; disagreements: " + summary if summary else ", all agree"))


def check_single_calls(tally, binary, parameters, calls):
    """The one-call form: same output line as the batch, exit status 0 for a
    result, 3 for a fault, 2 for an error."""
    ref.ReadParameterFile(parameters)
    ref.ComputeMaxSiteIndex()
    ref.GrowthCorrection = 1.0
    wanted = {"number": 3, "boolean": 2, "pair": 1, "fault": 2, "error": 2}
    for name, arguments in calls:
        expected = ref.Evaluate(name, arguments)
        kind = expected[0] if expected[0] in ("fault", "error") else ref.ROUTINES[name][2]
        if wanted.get(kind, 0) == 0:
            continue
        wanted[kind] -= 1
        status = {"fault": 3, "error": 2}.get(expected[0], 0)
        command = [binary, "--parameters", parameters, "model", name] + arguments
        try:
            done = subprocess.run(command, capture_output=True, text=True, timeout=60)
        except (OSError, subprocess.TimeoutExpired) as e:
            tally.record(False, "[single call] cannot run %s: %s" % (" ".join(command), e))
            return
        lines = done.stdout.splitlines()
        got = parse_output(lines[0], ref.ROUTINES[name][2] if name in ref.ROUTINES else "number") \
            if lines else ("error", done.stderr.strip())
        ok = done.returncode == status and agree(expected, got) and (expected[0] != "error" or not lines)
        tally.record(ok, "[single call] %s %s: expected %s with status %d, got %s with status %d"
                     % (name, " ".join(arguments), show(expected), status,
                        done.stdout.strip() or done.stderr.strip(), done.returncode))


def check_missing_file(tally, binary, directory):
    missing = os.path.join(directory, "no-such-dir", "OrvenPar.drc")
    try:
        done = subprocess.run([binary, "--parameters", missing, "model", "--batch"], input="HgFromHdom 0 12.0\n",
                              capture_output=True, text=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired) as e:
        tally.record(False, "[missing file] cannot run %s: %s" % (binary, e))
        return
    ok = done.returncode == 2 and "The parameter file OrvenPar.drc was not found!" in done.stderr
    tally.record(ok, "[missing file] expected status 2 and the not-found message, got status %d, stderr %r"
                 % (done.returncode, done.stderr.strip()))


# ---------------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--orven-table", required=True, help="the orven-table program")
    parser.add_argument("--parameters", help="the shipped parameter file")
    parser.add_argument("--seed", type=int, default=20240611)
    parser.add_argument("--per-routine", type=int, default=300, help="random calls per routine and pass")
    options = parser.parse_args()

    tally = Tally()
    rng = random.Random(options.seed)
    names = list(ref.ROUTINES)
    increments = ["HdomIncrementA0", "BasalAreaIncrementA0", "StemNumberChangeA0",
                  "HdomIncrementSI", "BasalAreaIncrementSI", "StemNumberChangeSI"]

    with tempfile.TemporaryDirectory(prefix="orven-crosscheck-") as directory:
        written_path = os.path.join(directory, "OrvenPar.drc")
        written = write_parameter_file(written_path, rng)
        ref.ReadParameterFile(written_path)
        ref.ComputeMaxSiteIndex()
        try:
            check_reference(tally, written)
        except Exception as e:  # a broken reference must still end in a readable report
            tally.record(False, "reference self-checks stopped: %s: %s" % (type(e).__name__, e))
        print("reference self-checks: %d, failed %d" % (tally.passed + tally.failed, tally.failed))

        binary = options.orven_table
        if not (os.path.isfile(binary) and os.access(binary, os.X_OK)):
            tally.record(False, "cannot run the program: %s is not an executable file" % binary)
        else:
            generator = CallGenerator(rng)
            passes = []
            if options.parameters and os.path.isfile(options.parameters):
                passes.append(("shipped file", options.parameters, None, names))
            else:
                print("shipped-file pass skipped: no parameter file %s" % (options.parameters or "given"))
            passes.append(("written file", written_path, None, names))
            passes.append(("growth correction 1.2", written_path, 1.2, increments))
            if options.parameters and os.path.isfile(options.parameters):
                passes.append(("shipped file, growth correction 1.2", options.parameters, 1.2, increments))
            for label, path, correction, routines in passes:
                calls = generator.calls(routines, options.per_routine)
                if label in ("shipped file", "written file"):
                    calls += MALFORMED_CALLS
                compare_pass(tally, label, binary, path, correction, calls)
                if label == "written file":
                    check_single_calls(tally, binary, path, calls)
            check_missing_file(tally, binary, directory)

    if tally.messages:
        print("\nFirst disagreements:")
        for message in tally.messages[:SHOWN_DISAGREEMENTS]:
            print("  " + message)
        if len(tally.messages) > SHOWN_DISAGREEMENTS:
            print("  ... and %d more" % (len(tally.messages) - SHOWN_DISAGREEMENTS))
    print("%d passed, %d failed" % (tally.passed, tally.failed))
    return 0 if tally.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
