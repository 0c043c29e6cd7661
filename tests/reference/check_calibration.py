#!/usr/bin/env python3
"""Measures the calibration targets of a parameter data file from outside the
program, and checks that data/CALIBRATION.md reports the same figures.

  check_calibration.py --orven-table BINARY --parameters OrvenPar.drc
                       (--report CALIBRATION.md | --no-report)

Everything is measured through the program's command line: single routines
with `orven-table model --batch`, tables with `orven-table --full-precision`
on settings files written here.  The classical yield-table routines the
program answers with are also recomputed with model_reference.py, so the
targets are measured against the classical tables and not merely against
whatever the program takes them to be.

The targets, in their order of priority:

  1. Scale of the growth rate A0.  For every site index SI on the species'
     data range (SImin, every whole metre in between, SImax),
     A0FromSiteIndex(SI) lies inside the species' A0 search range and
     SiteIndexFromA0 of it returns SI within 0.5 m; the keyed-in preset A0 of
     every species but oak (whose preset is a placeholder) describes a site
     index within 0.8 SImin .. 1.2 SImax.  Every check must hold.

  For every species and every classical site class from 1 to the top of the
  range accepted without warning (31 cases), the stand given by its site
  class at 50 years is projected with total volume, the standard heavy
  thinning regime (basal area 25 m2/ha for the broadleaves, 35 for the
  conifers; quotients 0.90 -> 1.00) and the proportional thinning interval
  (every age/10 years), every year shown, from the start age the program
  suggests (20, or the first whole year past the classical mean height of
  2 m when later) to 150 years:

  2. Heights.  HD1 at 50 years lies within 1.5 m of the site index the
     program derives for the stand, and Hg1 lies within 12 % (at least
     1.5 m) of the classical mean height at every age from 30 (or the start)
     to 120.
  3. Production.  The largest mean annual volume increment mdV/dt lies
     within 15 % of the classical yield class, and for site classes 1-3 it
     culminates before 150 years.
  4. Density.  The same stand left unthinned to 200 years keeps computed,
     positive stem numbers and basal areas, its stem number never rises, and
     its basal area stays below the species' upper fixed range of G.

A target 2-4 holds when it holds in every case of site classes 1-3 and in at
least 85 % of all cases.  A table the program cannot compute (an exit status
other than 0 or a message on standard error) is a missed case, with the
reason printed.

Exit status 0 when every target holds and the report agrees with what was
measured here (or --no-report), 1 otherwise.
"""

import argparse
import math
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import model_reference as M  # noqa: E402
import table_reference as T  # noqa: E402
from crosscheck_tables import default_settings, settings_text  # noqa: E402

# ---------------------------------------------------------------------------
# Per species, by species code

NAMES = ["Beech", "Oak", "Ash", "Norway spruce", "Sitka spruce", "Douglas fir", "Silver fir"]
OAK = 1
TOP_CLASS = [5, 4, 4, 7, 4, 4, 3]  # the classical range accepted without warning
SI_RANGE = [(11.71, 28.4), (11.09, 25.0), (15.0, 32.0), (9.87, 30.3), (14.35, 30.0),
            (20.27, 31.06), (5.99, 36.49)]
A0_SEARCH = [(0.006, 0.05), (0.02, 0.14), (0.02, 0.14), (0.001, 0.014), (0.007, 0.029),
             (0.085, 0.15), (0.008, 0.045)]
PRESET_A0 = [0.025, 0.99, 0.05, 0.007, 0.025, 0.12, 0.045]
G_UPPER = [73.58, 41.18, 50.0, 64.41, 80.1, 62.66, 85.4]  # upper fixed range of G, m2/ha
HEAVY_THINNING_G = [25, 25, 25, 35, 35, 35, 35]  # the "Heavy thinning" preset, m2/ha

CASES = [(species, S) for species in range(7) for S in range(1, TOP_CLASS[species] + 1)]

# ---------------------------------------------------------------------------
# Tolerances and ages of the targets

ROUND_TRIP_TOLERANCE = 0.5          # m, target 1
PRESET_SI_FACTORS = (0.8, 1.2)      # of SImin and SImax, target 1
HDOM_TOLERANCE = 1.5                # m, HD1 at 50 against the site index
HG_RELATIVE, HG_ABSOLUTE = 0.12, 1.5
HG_FIRST_AGE, HG_LAST_AGE = 30, 120
PRODUCTION_TOLERANCE = 0.15
CULMINATION_CLASSES = 3             # classes whose mdV/dt must culminate before the end
SITE_AGE = 50
THINNED_END, UNTHINNED_END = 150, 200
DEFAULT_START = 20
ESSENTIAL_CLASSES = 3               # every case of classes 1..3 must hold
SHARE_PERCENT = 85                  # and this share of all cases

# The columns the measurement reads, as catalogue variables.
MDV = T.SYMBOLS_EN.index("mdV/dt")
BEFORE = [T.T, T.HD1, T.Hg1, T.N1, T.G1]
THINNING = [T.N2, T.G2]
REMAINING = [MDV]

RELATIVE_AGREEMENT = 1e-9  # the program's classical routines against model_reference


# ---------------------------------------------------------------------------
# The program

class Program:
    """orven-table with one parameter file."""

    def __init__(self, binary, parameters):
        self.binary, self.parameters = binary, parameters
        self.disagreements = []  # classical routines on which the program and the reference differ

    def model(self, calls):
        """Evaluates calls [(name, arg, ...)] in one `model --batch` run.
        Returns per call (value, text): value is the number, or None with
        the program's answer in text ("fault", "error: ...")."""
        lines = [" ".join([name] + [_argument(a) for a in args]) for name, *args in calls]
        run = subprocess.run([self.binary, "--parameters", self.parameters, "model", "--batch"],
                             input="\n".join(lines) + "\n", capture_output=True, text=True,
                             timeout=300)
        answers = run.stdout.splitlines()
        if run.returncode != 0 or len(answers) != len(lines):
            raise RuntimeError("orven-table model --batch: exit %d, %d answers to %d calls: %s"
                               % (run.returncode, len(answers), len(lines), run.stderr.strip()))
        results = []
        for line, (name, *_), answer in zip(lines, calls, answers):
            value = _finite(answer)
            results.append((value, answer))
            if name in M.ROUTINES:
                self._compare_with_reference(line, value, answer)
        return results

    def _compare_with_reference(self, line, value, answer):
        name, *args = line.split()
        expected = M.Evaluate(name, args)
        if expected[0] == "number" and value is not None:
            if _agree(expected[1], value):
                return
        elif expected[0] == "fault" and answer == "fault":
            return
        self.disagreements.append("%s: the program gives %s, model_reference.py %s"
                                  % (line, answer, " ".join(str(x) for x in expected)))

    def table(self, cfg, path):
        """Computes the table of a settings file.  Returns (rows, None) with
        rows {age: {variable: value or None}}, or (None, reason)."""
        with open(path, "wb") as f:
            f.write(settings_text(cfg))
        try:
            run = subprocess.run([self.binary, "--parameters", self.parameters, "--english",
                                  "--full-precision", path], capture_output=True, timeout=120)
        except subprocess.TimeoutExpired:
            return None, "orven-table did not finish within 120 s"
        messages = run.stderr.decode("cp1252", errors="replace").strip()
        if run.returncode != 0 or messages:
            return None, "orven-table exit %d%s" % (
                run.returncode, (": " + " | ".join(messages.splitlines())) if messages else "")
        return read_export(run.stdout.decode("cp1252"), cfg["table_start"], cfg["table_end"])


def _argument(x):
    # Species codes are integers; every other argument is passed as the
    # shortest text that reads back as the same double, so that a value the
    # program printed goes back in unchanged.
    return str(x) if isinstance(x, int) else repr(float(x))


def _finite(text):
    try:
        value = float(text)
    except ValueError:
        return None
    return value if math.isfinite(value) else None


def _agree(x, y):
    return x == y or abs(x - y) <= RELATIVE_AGREEMENT * max(1.0, abs(x), abs(y))


def read_export(text, start, end):
    """The rows of an export written with --full-precision, checked to be one
    per year from start to end: {age: {variable: number or None}}."""
    lines = text.split("\r\n")
    header = lines[0].split("\t")
    columns = {}
    for v in BEFORE + THINNING + REMAINING:
        symbol = T.SYMBOLS_EN[v]
        if header.count(symbol) != 1:
            return None, "the export has %d columns %s" % (header.count(symbol), symbol)
        columns[v] = header.index(symbol)
    rows = {}
    for line in lines[2:]:
        cells = line.split("\t")
        if len(cells) != len(header):
            return None, "an export line with %d cells: %r" % (len(cells), line)
        age = _finite(cells[columns[T.T]])
        if age is None or age != int(age) or int(age) in rows:
            return None, "an export line with the age %r" % cells[columns[T.T]]
        rows[int(age)] = {v: _finite(cells[k]) for v, k in columns.items()}
    if sorted(rows) != list(range(start, end + 1)):
        ages = sorted(rows)
        return None, "rows for %d ages (%s..%s), expected every age %d..%d" % (
            len(ages), ages[0] if ages else "-", ages[-1] if ages else "-", start, end)
    return rows, None


# ---------------------------------------------------------------------------
# Target 1: the scale of A0

def site_index_grid(species):
    lo, hi = SI_RANGE[species]
    return [lo] + [float(m) for m in range(math.floor(lo) + 1, math.ceil(hi))] + [hi]


def measure_scale(program):
    """Target 1.  Returns (lines to print, misses)."""
    grid = [(species, SI) for species in range(7) for SI in site_index_grid(species)]
    presets = [species for species in range(7) if species != OAK]
    first = program.model([("A0FromSiteIndex", sp, SI) for sp, SI in grid]
                          + [("SiteIndexFromA0", sp, PRESET_A0[sp]) for sp in presets])
    a0s, preset_sis = first[:len(grid)], dict(zip(presets, first[len(grid):]))
    # Only a number can go back in; a search that gave none has missed already.
    back_calls = [("SiteIndexFromA0", sp, a0) for (sp, _), (a0, _) in zip(grid, a0s) if a0 is not None]
    back = iter(program.model(back_calls)) if back_calls else iter(())

    lines, misses = [], []
    per_species = {sp: [] for sp in range(7)}
    for (sp, SI), (a0, a0_text) in zip(grid, a0s):
        lo, hi = A0_SEARCH[sp]
        if a0 is None:
            misses.append("%s SI %g: A0FromSiteIndex gives %s" % (NAMES[sp], SI, a0_text))
            continue
        si_back, si_text = next(back)
        per_species[sp].append((SI, a0, si_back))
        if not lo <= a0 <= hi:
            misses.append("%s SI %g: A0 %.5f outside the search range %g..%g" % (NAMES[sp], SI, a0, lo, hi))
        if si_back is None or abs(si_back - SI) > ROUND_TRIP_TOLERANCE:
            misses.append("%s SI %g: SiteIndexFromA0(%.5f) gives %s" % (NAMES[sp], SI, a0, si_text))
    for sp in range(7):
        lo, hi = A0_SEARCH[sp]
        done = per_species[sp]
        text = "%-13s SI %g..%g (%d points):" % ((NAMES[sp],) + SI_RANGE[sp] + (len(site_index_grid(sp)),))
        if done:
            worst = max(done, key=lambda d: -1 if d[2] is None else abs(d[2] - d[0]))
            text += " A0 %.5f..%.5f in %g..%g, worst round trip %s at SI %g" % (
                min(d[1] for d in done), max(d[1] for d in done), lo, hi,
                "none" if worst[2] is None else "%+.2f m" % (worst[2] - worst[0]), worst[0])
        if sp in preset_sis:
            si, si_text = preset_sis[sp]
            bounds = (PRESET_SI_FACTORS[0] * SI_RANGE[sp][0], PRESET_SI_FACTORS[1] * SI_RANGE[sp][1])
            text += "; preset A0 %g -> SI %s (%.1f..%.1f)" % (
                PRESET_A0[sp], si_text if si is None else "%.2f" % si, bounds[0], bounds[1])
            if si is None or not bounds[0] <= si <= bounds[1]:
                misses.append("%s: the preset A0 %g gives SI %s, outside %.2f..%.2f"
                              % (NAMES[sp], PRESET_A0[sp], si_text, bounds[0], bounds[1]))
        lines.append(text)
    return lines, misses


# ---------------------------------------------------------------------------
# Targets 2-4: one thinned and one unthinned table per case

class Case:
    """The figures of one species and site class, as the report prints them.
    A figure is None when its table could not be computed."""

    def __init__(self, species, S):
        self.species, self.S = species, S
        self.si = self.start = self.yc = None
        self.hd50 = self.hg_miss = self.hg_age = self.hg_allowed = None
        self.mdv = self.mdv_age = self.mdv_miss = None
        self.g_max = self.n_end = None
        self.thinnings = None
        self.holds = {2: False, 3: False, 4: False}
        self.reasons = {2: [], 3: [], 4: []}

    @property
    def name(self):
        return "%s class %d" % (NAMES[self.species], self.S)


def case_settings(species, S, start, thinned):
    """The settings file of a case: the thinned table to 150 years, or the
    same stand left alone to 200."""
    g = HEAVY_THINNING_G[species]
    cfg = default_settings()
    cfg.update({
        "species": species, "method": 2, "site_class": float(S), "stand_age": SITE_AGE,
        "height": 0, "volume": 0, "correction": 1.0, "a0_fixed": False,
        "preset": 0, "target_item": 1, "target_g": float(g), "measure": 0,
        "intensity_start": "%d" % g, "intensity_end": "%d" % g,
        "mode_start": "0.90", "mode_end": "1.00", "thin_start": 20, "thin_end": 80,
        "show_years": 0, "interval_divisor": 10,
        # The proportional rule rebuilds the list of thinning ages from the
        # table's ages when the file is opened; the free list (rule 2) left
        # empty means no thinning at all.
        "interval_rule": 1 if thinned else 2, "thin_ages": [],
        "table_start": start, "table_end": THINNED_END if thinned else UNTHINNED_END,
        "before_items": [T.BEFORE_ITEMS.index(v) for v in BEFORE],
        "thinning_items": [T.THINNING_ITEMS.index(v) for v in THINNING],
        "remaining_items": [T.REMAINING_ITEMS.index(v) for v in REMAINING],
        "typed": [], "constraints": [["", ""] for _ in range(4)],
    })
    return cfg


def classical_values(program):
    """Per case the program's classical figures: start age, site index,
    yield class and mean heights {age: Hg} for the Hg check."""
    calls = []
    for sp, S in CASES:
        calls += [("YieldTableAgeAtHg", sp, 2.0, S), ("YieldTableHg", sp, SITE_AGE, S),
                  ("YieldClassFromSiteClass", sp, S)]
        calls += [("YieldTableHg", sp, age, S) for age in range(HG_FIRST_AGE, HG_LAST_AGE + 1)]
        calls += [("YieldTableBasalArea", sp, age, S) for age in range(DEFAULT_START, THINNED_END)]
    answers = iter(program.model(calls))
    values = {}
    for sp, S in CASES:
        age_at_2m, hg50, yc = (next(answers)[0] for _ in range(3))
        hg = {age: next(answers)[0] for age in range(HG_FIRST_AGE, HG_LAST_AGE + 1)}
        g = {age: next(answers)[0] for age in range(DEFAULT_START, THINNED_END)}
        # The start age the program suggests: its default 20, raised to the
        # first whole year past the classical mean height of 2 m, and on to
        # the first year with a classical basal area.
        start = DEFAULT_START
        if age_at_2m is not None and age_at_2m > 0:
            start = max(DEFAULT_START, int(age_at_2m) + 1)
        while start < THINNED_END - 1 and not (g.get(start) or 0) > 0:
            start += 1
        # A search that failed answers with the sentinel (a large negative
        # number): no figure.
        values[(sp, S)] = {"start": start, "hg50": hg50 if hg50 is not None and hg50 > 0 else None,
                           "yc": yc if yc is not None and yc > 0 else None, "hg": hg}
    # The site index of a stand given by its site class: its classical mean
    # height at 50 years as a dominant height.
    keys = [key for key in CASES if values[key]["hg50"] is not None]
    for key, (si, _) in zip(keys, program.model([("HdomFromHg", key[0], values[key]["hg50"])
                                                 for key in keys])):
        values[key]["si"] = si
    return values


def measure_heights(case, rows, classical):
    """Target 2 on the thinned table."""
    reasons = case.reasons[2]
    at50 = rows.get(SITE_AGE, {}).get(T.HD1)
    case.hd50 = at50
    if at50 is None or case.si is None:
        reasons.append("no HD1 at %d or no site index" % SITE_AGE)
    elif abs(at50 - case.si) > HDOM_TOLERANCE:
        reasons.append("HD1 at %d is %.2f m, site index %.2f" % (SITE_AGE, at50, case.si))
    worst, missing = None, []
    ages = range(max(HG_FIRST_AGE, case.start), HG_LAST_AGE + 1)
    for age in ages:
        mean, table = classical["hg"].get(age), rows.get(age, {}).get(T.Hg1)
        if mean is None or table is None:
            missing.append(age)
            continue
        miss, allowed = table - mean, max(HG_RELATIVE * mean, HG_ABSOLUTE)
        if worst is None or abs(miss) / allowed > abs(worst[0]) / worst[2]:
            worst = (miss, age, allowed)
    if missing:
        reasons.append("Hg1 or the classical Hg not computed at %d of the ages %d..%d, first at %d"
                       % (len(missing), ages[0], ages[-1], missing[0]))
    if worst is not None:
        case.hg_miss, case.hg_age, case.hg_allowed = worst
        if abs(worst[0]) > worst[2]:
            reasons.append("Hg1 misses the classical Hg by %+.2f m at %d (allowed %.2f)" % worst)
    case.holds[2] = not reasons


def measure_production(case, rows):
    """Target 3 on the thinned table."""
    reasons = case.reasons[3]
    if case.yc is None:
        reasons.append("no classical yield class")
    missing = [age for age in sorted(rows) if rows[age][MDV] is None]
    if missing:
        reasons.append("mdV/dt not computed at %d ages, first at %d" % (len(missing), missing[0]))
    values = [(rows[age][MDV], age) for age in sorted(rows) if rows[age][MDV] is not None]
    if values:
        best = max(v for v, _ in values)
        case.mdv, case.mdv_age = best, min(age for v, age in values if v == best)
        if case.yc is not None:
            case.mdv_miss = case.mdv / case.yc - 1
            if abs(case.mdv_miss) > PRODUCTION_TOLERANCE:
                reasons.append("the largest mdV/dt %.2f is %+.1f %% off the yield class %.2f"
                               % (case.mdv, 100 * case.mdv_miss, case.yc))
        if case.S <= CULMINATION_CLASSES and case.mdv_age >= THINNED_END:
            reasons.append("mdV/dt still rising at %d" % THINNED_END)
    case.holds[3] = not reasons


def measure_density(case, rows):
    """Target 4 on the unthinned table."""
    reasons = case.reasons[4]
    ages = sorted(rows)
    # The table must be the stand left alone: a thinning in it would make
    # the stem numbers say nothing about self-thinning.
    thinned = [age for age in ages if any((rows[age][v] or 0) > 0 for v in THINNING)]
    if thinned:
        reasons.append("thinned at %d although no thinning age is listed" % thinned[0])
    bad = [age for age in ages if not (rows[age][T.N1] or 0) > 0 or not (rows[age][T.G1] or 0) > 0]
    if bad:
        reasons.append("N1 or G1 not positive (or not computed) at %d ages, first at %d" % (len(bad), bad[0]))
    rising = [b for a, b in zip(ages, ages[1:])
              if None not in (rows[a][T.N1], rows[b][T.N1]) and rows[b][T.N1] > rows[a][T.N1]]
    if rising:
        reasons.append("N1 rises at %d" % rising[0])
    basal_areas = [rows[age][T.G1] for age in ages if rows[age][T.G1] is not None]
    case.g_max = max(basal_areas) if basal_areas else None
    case.n_end = rows[ages[-1]][T.N1]
    if case.g_max is not None and case.g_max >= G_UPPER[case.species]:
        reasons.append("G1 reaches %.2f, the upper fixed range is %g" % (case.g_max, G_UPPER[case.species]))
    case.holds[4] = not reasons


def measure_cases(program, workdir):
    classical = classical_values(program)
    cases = []
    for sp, S in CASES:
        case = Case(sp, S)
        values = classical[(sp, S)]
        case.start, case.si, case.yc = values["start"], values.get("si"), values["yc"]
        stem = os.path.join(workdir, "%s-class%d" % (NAMES[sp].replace(" ", "-"), S))
        rows, reason = program.table(case_settings(sp, S, case.start, True), stem + "-thinned.orven")
        if rows is None:
            for target in (2, 3):
                case.reasons[target].append("thinned table: " + reason)
        else:
            case.thinnings = sum(1 for row in rows.values() if (row[T.G2] or 0) > 0)
            measure_heights(case, rows, values)
            measure_production(case, rows)
        rows, reason = program.table(case_settings(sp, S, case.start, False), stem + "-unthinned.orven")
        if rows is None:
            case.reasons[4].append("unthinned table: " + reason)
        else:
            measure_density(case, rows)
        cases.append(case)
    return cases


def _figure(x, form):
    return "-" if x is None else form % x


def case_line(case):
    verdict = {True: "holds", False: "MISSES"}
    return ("%-13s class %d: SI %s, start %d, %s thinnings | HD1(50) %s, Hg %s at %s (allowed %s) -> 2 %s"
            " | yield class %s, mdV/dt max %s at %s (%s %%) -> 3 %s | unthinned G1 max %s / %g,"
            " N1(200) %s -> 4 %s" % (
                NAMES[case.species], case.S, _figure(case.si, "%.2f"), case.start,
                _figure(case.thinnings, "%d"), _figure(case.hd50, "%.2f"), _figure(case.hg_miss, "%+.2f"),
                _figure(case.hg_age, "%d"), _figure(case.hg_allowed, "%.2f"), verdict[case.holds[2]],
                _figure(case.yc, "%.2f"), _figure(case.mdv, "%.2f"), _figure(case.mdv_age, "%d"),
                _figure(None if case.mdv_miss is None else 100 * case.mdv_miss, "%+.1f"),
                verdict[case.holds[3]], _figure(case.g_max, "%.2f"), G_UPPER[case.species],
                _figure(case.n_end, "%.0f"), verdict[case.holds[4]]))


def target_holds(cases, target):
    """Every case of the first classes and the required share of all."""
    needed = (SHARE_PERCENT * len(cases) + 99) // 100
    held = sum(case.holds[target] for case in cases)
    essential = all(case.holds[target] for case in cases if case.S <= ESSENTIAL_CLASSES)
    return essential and held >= needed, held, needed, essential


# ---------------------------------------------------------------------------
# The report

ROW = re.compile(r"\|(.*)\|\s*$")
NUMBER = r"([-+]?\d+(?:\.\d+)?)"
CELLS = [  # (pattern, names of the figures in it)
    (r"(\d+)", ["class"]),
    (NUMBER, ["si"]),
    (NUMBER, ["start"]),
    (NUMBER, ["hd50"]),
    (NUMBER + r" at (\d+)", ["hg_miss", "hg_age"]),
    (None, [2]),
    (NUMBER, ["yc"]),
    (NUMBER + r" \((\d+)\)", ["mdv", "mdv_age"]),
    (NUMBER + r" %", ["mdv_percent"]),
    (None, [3]),
    (NUMBER + r" / " + NUMBER, ["g_max", "g_upper"]),
    (NUMBER, ["n_end"]),
    (None, [4]),
    (r".*", []),  # the class read from classical inventories: a diagnosis, no target
]
VERDICTS = {"yes": True, "**no**": False}


def read_report(path):
    """{(species, class): [14 cells]} of the per-species tables, and the
    problems found while reading."""
    rows, problems, species = {}, [], None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if line.startswith("#"):
                # Only the rows under a species' own heading are the cases.
                heading = line[4:].strip() if line.startswith("### ") else None
                species = NAMES.index(heading) if heading in NAMES else None
                continue
            m = ROW.match(line.strip())
            if species is None or not m:
                continue
            cells = [cell.strip() for cell in m.group(1).split("|")]
            if not re.fullmatch(r"\d+", cells[0]):
                continue  # the column heads and the rule under them
            key = (species, int(cells[0]))
            if len(cells) != len(CELLS):
                problems.append("line %d: %d cells, expected %d" % (number, len(cells), len(CELLS)))
            elif key not in CASES:
                problems.append("line %d: %s class %s is not a case" % (number, NAMES[species], cells[0]))
            elif key in rows:
                problems.append("line %d: a second row for %s class %s" % (number, NAMES[species], cells[0]))
            else:
                rows[key] = cells
    return rows, problems


def mine(case, name):
    if name == "class":
        return case.S
    if name == "mdv_percent":
        return None if case.mdv_miss is None else 100 * case.mdv_miss
    if name == "g_upper":
        return G_UPPER[case.species]
    return getattr(case, name)


def compare_row(case, cells):
    """The problems of one report row against the figures measured here: a
    figure may differ by 0.51 units of its last printed decimal, a verdict
    not at all."""
    problems = []
    for (pattern, names), cell in zip(CELLS, cells):
        if pattern is None:
            target = names[0]
            if VERDICTS.get(cell) != case.holds[target]:
                problems.append("target %d verdict %r, measured %s"
                                % (target, cell, "holds" if case.holds[target] else "misses"))
            continue
        m = re.fullmatch(pattern, cell)
        for k, name in enumerate(names):
            measured = mine(case, name)
            if m is None:
                if measured is not None:
                    problems.append("%s %r unreadable, measured %.6g" % (name, cell, measured))
                continue
            text = m.group(k + 1)
            if measured is None:
                problems.append("%s %s where the table could not be measured" % (name, text))
                continue
            decimals = len(text.split(".")[1]) if "." in text else 0
            allowed = 0.51 * 10 ** -decimals
            if name == "n_end":
                allowed += 1e-6 * abs(measured)
            if abs(float(text) - measured) > allowed:
                problems.append("%s %s, measured %.6g" % (name, text, measured))
    return problems


def compare_report(path, cases):
    if not os.path.isfile(path):
        return ["the report %s does not exist" % path]
    rows, problems = read_report(path)
    if not rows:
        return problems + ["the report %s has no rows of the per-species tables" % path]
    for case in cases:
        cells = rows.get((case.species, case.S))
        if cells is None:
            problems.append("%s: no row in the report" % case.name)
            continue
        problems += ["%s: %s" % (case.name, p) for p in compare_row(case, cells)]
    return problems


# ---------------------------------------------------------------------------

def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--orven-table", required=True, help="the orven-table program")
    parser.add_argument("--parameters", required=True, help="the parameter data file measured")
    parser.add_argument("--report", help="data/CALIBRATION.md, whose figures must agree")
    parser.add_argument("--no-report", action="store_true", help="measure the parameter file alone")
    parser.add_argument("--require", type=int, nargs="+", choices=(1, 2, 3, 4), default=[1, 2, 3, 4],
                        help="the targets that must hold (default: all four); the others are only measured")
    args = parser.parse_args(argv)
    if (args.report is None) == (not args.no_report):
        parser.error("give either --report or --no-report")

    binary, parameters = os.path.abspath(args.orven_table), os.path.abspath(args.parameters)
    for path in (binary, parameters):
        if not os.path.isfile(path):
            print("not found: " + path)
            return 1
    M.ReadParameterFile(parameters)
    program = Program(binary, parameters)

    try:
        scale_lines, scale_misses = measure_scale(program)
        with tempfile.TemporaryDirectory() as workdir:
            cases = measure_cases(program, workdir)
    except (RuntimeError, subprocess.TimeoutExpired) as error:
        print("cannot measure: %s" % error)
        return 1

    print("Target 1, the scale of A0:")
    for line in scale_lines:
        print("  " + line)
    print("\nTargets 2-4, per species and site class:")
    for case in cases:
        print("  " + case_line(case))

    print()
    verdicts = [not scale_misses]
    checks = sum(len(site_index_grid(sp)) for sp in range(7)) * 2 + 6
    print("target 1 (A0 scale): %s, %d of %d checks miss" % (
        "holds" if not scale_misses else "misses", len(scale_misses), checks))
    for miss in scale_misses:
        print("    missed: " + miss)
    titles = {2: "heights", 3: "volume production", 4: "density"}
    for target in (2, 3, 4):
        holds, held, needed, essential = target_holds(cases, target)
        verdicts.append(holds)
        print("target %d (%s): %s, held in %d of %d cases (%d needed%s)" % (
            target, titles[target], "holds" if holds else "misses", held, len(cases), needed,
            "" if essential else "; a case of classes 1-%d misses" % ESSENTIAL_CLASSES))
        for case in cases:
            if not case.holds[target]:
                print("    missed: %s: %s" % (case.name, "; ".join(case.reasons[target])))

    problems = ["classical routine " + d for d in program.disagreements]
    if not args.no_report:
        problems += compare_report(os.path.abspath(args.report), cases)
    for problem in problems:
        print("MISMATCH " + problem)
    if not args.no_report and not problems:
        print("the report agrees with every figure and verdict")
    missed = [target for target, holds in enumerate(verdicts, start=1) if not holds and target in args.require]
    for target in missed:
        print("REQUIRED target %d misses" % target)
    return 0 if not missed and not problems else 1


if __name__ == "__main__":
    sys.exit(main())
