#!/usr/bin/env python3
"""Measures the calibration targets 2-4 from outside the program.

For every species and every whole site class its classical yield table
accepts without warning, writes the settings file of the comparison table
described in data/CALIBRATION.md (site class at 50 years, thinning every 5
years towards the classical basal area, to 120 years), runs orven-table
--full-precision on it, and measures against this directory's own
implementation of the classical tables:

  2. the largest miss of Hg1 against the classical mean height (every fifth age),
  3. the largest mean annual volume increment mdV/dt against the yield class,
  4. D3 at 50 and 100 years against the classical diameter.

It then checks that the report's figures and its verdicts (which targets hold,
which miss) are the ones measured here. Exit status 1 on any disagreement or
when a table cannot be computed.
"""

import argparse
import math
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import model_reference as R  # noqa: E402
from crosscheck_tables import default_settings, settings_text  # noqa: E402

END_AGE = 120
RAMP_START, RAMP_END = 30, 100
TOP_CLASS = {0: 5, 1: 4, 2: 4, 3: 7, 4: 4, 5: 4, 6: 3}  # accepted without warning
NAMES = ["Beech", "Oak", "Ash", "Norway spruce", "Sitka spruce", "Douglas fir", "Silver fir"]
HEIGHT_TOLERANCE, PRODUCTION_TOLERANCE, DIAMETER_TOLERANCE = 1.0, 0.10, 0.10


def start_age(species, S):
    age = 20
    age2m = R.YieldTableAgeAtHg(species, 2, S)
    if age2m > 0:
        whole = int(age2m) + 1
        age = max(20, 5 * math.ceil(whole / 5))
    while age < 50 and R.YieldTableBasalArea(species, age, S) < 5:
        age += 5
    return age


def round1(x):
    return math.floor(x * 10 + 0.5) / 10


def settings_for(species, S):
    cfg = default_settings()
    start = start_age(species, S)
    cfg.update({
        "species": species, "method": 2, "site_class": float(S), "stand_age": 50,
        "preset": 1, "measure": 0, "interval_rule": 0, "interval_years": 5,
        "show_years": 0, "thin_start": RAMP_START, "thin_end": RAMP_END,
        "table_start": start, "table_end": END_AGE,
        "intensity_start": "%.1f" % round1(R.YieldTableBasalArea(species, RAMP_START, S)),
        "intensity_end": "%.1f" % round1(R.YieldTableBasalArea(species, RAMP_END, S)),
        "mode_start": "0.90", "mode_end": "1.00",
        "before_items": [0, 2], "thinning_items": [0], "remaining_items": [3, 22],
        "thin_ages": list(range(start, END_AGE + 1, 5)),
    })
    return cfg, start


def measure(binary, parameters, species, S, workdir):
    cfg, start = settings_for(species, S)
    path = os.path.join(workdir, "sp%d-class%d.orven" % (species, S))
    with open(path, "wb") as f:
        f.write(settings_text(cfg))
    run = subprocess.run([binary, "--parameters", parameters, "--english", "--full-precision", path],
                         capture_output=True, timeout=120)
    if run.returncode != 0 or run.stderr.strip():
        raise RuntimeError("%s: exit %d, %s" % (path, run.returncode, run.stderr.decode("latin-1")))
    lines = run.stdout.decode("cp1252").split("\r\n")
    header = lines[0].split("\t")
    col = {name: header.index(name) for name in ("T", "Hg1", "D3", "mdV/dt")}
    rows = {}
    for line in lines[2:]:
        cells = line.split("\t")
        rows[int(cells[col["T"]])] = cells
    if sorted(rows) != list(range(start, END_AGE + 1)):
        raise RuntimeError("%s: rows %s" % (path, sorted(rows)))

    def value(age, name):
        return float(rows[age][col[name]])

    worst = 0.0
    for age in range(start + 5, END_AGE + 1, 5):
        miss = value(age, "Hg1") - R.YieldTableHg(species, age, S)
        if abs(miss) > abs(worst):
            worst = miss
    mai = max(value(age, "mdV/dt") for age in range(start, END_AGE))
    yc = R.YieldClassFromSiteClass(species, S)
    d50, d100 = value(50, "D3"), value(100, "D3")
    dc50, dc100 = R.YieldTableDiameter(species, 50, S), R.YieldTableDiameter(species, 100, S)
    return {
        "hg": worst, "mai": mai, "yc": yc, "d50": d50, "d100": d100,
        "holds": (abs(worst) <= HEIGHT_TOLERANCE,
                  abs(mai / yc - 1) <= PRODUCTION_TOLERANCE,
                  abs(d50 / dc50 - 1) <= DIAMETER_TOLERANCE and abs(d100 / dc100 - 1) <= DIAMETER_TOLERANCE),
    }


def report_rows(report):
    """{(species, class): (hg miss, mdV/dt max, D3 50, D3 100, (holds 2, 3, 4))} of the report."""
    rows, species = {}, None
    for line in open(report, encoding="utf-8"):
        if line.startswith("### "):
            species = NAMES.index(line[4:].strip())
            continue
        m = re.match(r"\| (\d+) \| [\d.]+ \| \d+ \| ([-+][\d.]+) at \d+ \(rms [\d.]+\) \| (\S+) \| [\d.]+ \| "
                     r"([\d.]+) \(\d+\) \| [-+][\d.]+ % \| (\S+) \| ([\d.]+) / [\d.]+ \| ([\d.]+) / [\d.]+ \| (\S+) \|",
                     line)
        if m and species is not None:
            rows[(species, int(m.group(1)))] = (
                float(m.group(2)), float(m.group(4)), float(m.group(6)), float(m.group(7)),
                tuple(mark == "yes" for mark in (m.group(3), m.group(5), m.group(8))))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--orven-table", required=True)
    parser.add_argument("--parameters", required=True)
    parser.add_argument("--report", required=True, help="data/CALIBRATION.md")
    args = parser.parse_args()

    claimed = report_rows(args.report)
    problems, held = [], [0, 0, 0]
    with tempfile.TemporaryDirectory() as workdir:
        for species in range(7):
            for S in range(1, TOP_CLASS[species] + 1):
                try:
                    got = measure(args.orven_table, args.parameters, species, S, workdir)
                except (RuntimeError, ValueError, KeyError, IndexError) as error:
                    problems.append("%s class %d: %s" % (NAMES[species], S, error))
                    continue
                held = [h + ok for h, ok in zip(held, got["holds"])]
                print("%-13s class %d: Hg miss %+6.2f m, mdV/dt max %5.1f (yield class %4.1f), "
                      "D3 %5.1f / %5.1f cm; targets 2-4 %s" % (
                          NAMES[species], S, got["hg"], got["mai"], got["yc"], got["d50"], got["d100"],
                          " ".join("holds" if ok else "misses" for ok in got["holds"])))
                row = claimed.get((species, S))
                if row is None:
                    problems.append("%s class %d: not in the report" % (NAMES[species], S))
                    continue
                figures = (got["hg"], got["mai"], got["d50"], got["d100"])
                for name, mine, theirs, decimals in zip(("Hg miss", "mdV/dt", "D3 50", "D3 100"),
                                                        figures, row[:4], (2, 1, 1, 1)):
                    if abs(mine - theirs) > 0.51 * 10 ** -decimals:
                        problems.append("%s class %d: %s measured %.4f, report %s" % (
                            NAMES[species], S, name, mine, theirs))
                if got["holds"] != row[4]:
                    problems.append("%s class %d: verdicts measured %s, report %s" % (
                        NAMES[species], S, got["holds"], row[4]))
    count = sum(TOP_CLASS[s] for s in range(7))
    print("targets 2, 3, 4 hold in %d, %d, %d of %d tables" % (held[0], held[1], held[2], count))
    if len(claimed) != count:
        problems.append("the report lists %d tables, expected %d" % (len(claimed), count))
    for p in problems:
        print("MISMATCH " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
