#!/usr/bin/env python3
"""Checks the #include lines of src/ against the order of the folders.

Each folder may include itself and the folders of the layers below it, never
a folder beside it or above it. The core (every folder outside the desktop
program) includes neither Qt nor a folder of the desktop program, so that
orven-table, the tests and the tools build and run without Qt.

Usage: check_layers.py SRC_DIR   (exit status 1 and one line per fault)
"""
import re
import sys
from pathlib import Path

# Lowest first. Folders in one layer stand beside each other and include
# neither one another.
LAYERS = [
    ["model"],          # growth model: parameters, equations, volumes, yield tables
    ["catalogue"],      # output variables: names, units, ranges, column choice
    ["messages"],       # message texts and boxes, field checks (ranges from the catalogue), number text
    ["projection"],     # the year-by-year projection of a table
    ["site"],           # site estimation: locks and moves the table's start age
    ["tables"],         # cell texts (read the projection), settings-file format, export
    ["app/session"],    # the session: one table being prepared, the handlers' logic
    ["graphs"],         # charts of the session's table (Qt)
    ["app", "cli"],     # the desktop program (Qt) and orven-table
]
DESKTOP = {"graphs", "app"}

RANK = {folder: rank for rank, layer in enumerate(LAYERS) for folder in layer}
SOURCE_SUFFIXES = {".h", ".hh", ".hpp", ".hxx", ".inl", ".ipp", ".tpp",
                   ".c", ".cc", ".cpp", ".cxx"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(relative):
    """The folder in the order that a path below src/ belongs to, or None."""
    parts = Path(relative).parts
    if len(parts) >= 3 and parts[0] == "app" and parts[1] == "session":
        return "app/session"
    if len(parts) >= 2 and parts[0] in RANK:
        return parts[0]
    return None


def is_qt(bracket, target):
    name = Path(target).name
    return (bracket == "<" and re.match(r"Q[A-Za-z]", target) is not None) or \
        "qcustomplot" in name.lower()


def check(src):
    src = Path(src)
    faults = []
    placed = "folders are placed in LAYERS of tests/check_layers.py"
    for entry in sorted(src.iterdir()):
        if entry.is_dir() and entry.name not in RANK:
            faults.append(f"{entry.relative_to(src.parent)}/: folder not in the layer order; "
                          f"place it in LAYERS of tests/check_layers.py")
    for path in sorted(p for p in src.rglob("*") if p.is_file() and p.suffix in SOURCE_SUFFIXES):
        relative = path.relative_to(src)
        here = folder_of(relative)
        shown = path.relative_to(src.parent)
        if here is None:
            if len(relative.parts) == 1:
                faults.append(f"{shown}: source file directly in src/; {placed}")
            continue  # its folder is reported above
        core = here not in DESKTOP
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, target = match.groups()
            where = f"{shown}:{number}: {line.strip()}"
            if core and is_qt(bracket, target):
                faults.append(f"{where}: the core ({here}) includes Qt")
                continue
            if bracket != '"' or "/" not in target:
                continue  # a system header or one beside the file
            there = folder_of(target)
            if there is None:
                if (src / Path(target).parts[0]).is_dir():
                    faults.append(f"{where}: includes a folder not in the layer order")
                continue  # not a path below src/
            if core and there in DESKTOP:
                faults.append(f"{where}: the core ({here}) includes the desktop program ({there})")
            elif there != here and RANK[there] >= RANK[here]:
                relation = "beside" if RANK[there] == RANK[here] else "above"
                faults.append(f"{where}: {here} includes {there}, which stands {relation} it")
    return faults


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the layer order "
              + " -> ".join("|".join(layer) for layer in LAYERS))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
