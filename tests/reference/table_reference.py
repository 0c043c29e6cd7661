"""Reference computation of a whole ORVEN growth-and-yield table from a
settings file, written independently of the C++ program so that the two can be
compared cell by cell (see crosscheck_tables.py).

It reproduces what `orven-table FILE.orven` does: a freshly started program
opens the settings file (the radio-group values applied as if the user had
clicked them, with the click handlers' estimates and messages), shows the
tables page (thinning list, table length, projection) and exports the three
grids as delimited text.

The growth-model routines come from model_reference.py.  Arithmetic is done
on model_reference.Real, which raises FloatingPointFault on a division by
zero, an invalid operation or an overflow; the projection catches such a
fault per year and goes on with the next year.

Situations whose outcome the program's design leaves open (a fault inside the
site estimation, a solver search without any usable grid point, ...) raise
Unspecified: such a file cannot be compared.

Command line, for trying out single files:

  table_reference.py --parameters OrvenPar.drc [--english] [--semicolon]
                     [--decimal-comma] [--full-precision] FILE.orven
"""

import argparse
import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import model_reference as M  # noqa: E402
from model_reference import Real, SENTINEL, FloatingPointFault  # noqa: E402

FAULTS = (FloatingPointFault, ZeroDivisionError, OverflowError, ValueError)


class Unspecified(Exception):
    """The outcome depends on a choice the design leaves open."""


class Damaged(Exception):
    """A settings line whose numbers cannot be read."""

    def __init__(self, line):
        Exception.__init__(self, "line %d" % line)
        self.line = line


# ---------------------------------------------------------------------------
# Output variables

(T, HD1, Hg1, D1, N1, G1, V1, F1, RTA1, HD2, Hg2, D2, N2, G2, V2, F2, RTA2, Q1, Q3,
 HD3, Hg3, D3, N3, G3, V3, F3, RTA3) = range(27)
NO_VARIABLE = 46

SYMBOLS_EN = [
    "T", "HD1", "Hg1", "D1", "N1", "G1", "V1", "F1", "RS1",
    "HD2", "Hg2", "D2", "N2", "G2", "V2", "F2", "RS2", "D2/D1", "D2/D3",
    "HD3", "Hg3", "D3", "N3", "G3", "V3", "F3", "RS3",
    "dHD/dt", "dHg/dt", "dD/dt", "dN/dt", "dG/dt", "dV/dt", "dF/dt", "dRS/dt",
    "mdHD/dt", "mdHg/dt", "mdD/dt", "mdN/dt", "mdG/dt", "mdV/dt", "mdF/dt", "mdR/dt",
    "dNtot", "dGtot", "dVtot", "???"]
SYMBOLS_DK = list(SYMBOLS_EN)
SYMBOLS_DK[RTA1], SYMBOLS_DK[RTA2], SYMBOLS_DK[RTA3], SYMBOLS_DK[34] = "RTA1", "RTA2", "RTA3", "dRT/dt"

_UNITS = {  # index: (English, Danish)
    0: ("[Years]", "[År]"),
    1: "[m]", 2: "[m]", 3: "[cm]", 4: "[/ha]", 5: "[m2/ha]", 6: "[m3/ha]", 8: "[%]",
    9: "[m]", 10: "[m]", 11: "[cm]", 12: "[/ha]", 13: "[m2/ha]", 14: "[m3/ha]", 16: "[%]",
    19: "[m]", 20: "[m]", 21: "[cm]", 22: "[/ha]", 23: "[m2/ha]", 24: "[m3/ha]", 26: "[%]",
    27: ("[m/yr]", "[m/år]"), 28: ("[m/yr]", "[m/år]"), 29: ("[cm/yr]", "[cm/år]"),
    30: ("[/ha/yr]", "[/ha/år]"), 31: ("[m2/ha/yr]", "[m2/ha/år]"),
    32: ("[m3/ha/yr]", "[m3/ha/år]"), 33: ("[/yr]", "[/år]"), 34: ("[%/yr]", "[%/år]"),
    35: ("[m/yr]", "[m/år]"), 36: ("[m/yr]", "[m/år]"), 37: ("[cm/yr]", "[cm/år]"),
    38: ("[/ha/yr]", "[/ha/år]"), 39: ("[m2/ha/yr]", "[m2/ha/år]"),
    40: ("[m3/ha/yr]", "[m3/ha/år]"), 41: ("[/yr]", "[/år]"), 42: ("[%/yr]", "[%/år]"),
    43: "[/ha]", 44: "[m2/ha]", 45: "[m3/ha]",
}

DECIMALS = [0, 1, 1, 1, 0, 2, 1, 3, 1, 1, 1, 1, 0, 2, 1, 3, 1, 3, 3, 1, 1, 1, 0, 2, 1, 3, 1,
            2, 2, 2, 1, 3, 2, 3, 2, 2, 2, 2, 1, 3, 2, 3, 2, 1, 2, 1]
VARIABLE_MIN = [0, 1.3, 1.3, 1, 0, 0, 0, 0.1, 5, 1.3, 1.3, 1, 0, 0, 0, 0.1, 5, 0.4, 0.4,
                1.3, 1.3, 1, 0, 0, 0, 0.1, 5, 0, 0, 0, -400, 0, 0, -0.2, -5,
                0, 0, 0, -200, 0, 0, -0.15, -3, -10000, 0, 0]
VARIABLE_MAX = [300, 55, 55, 200, 25000, 100, 1500, 1, 200, 55, 55, 200, 25000, 100, 1500, 1,
                4000, 1.6, 1.6, 55, 55, 200, 25000, 100, 1500, 1, 200, 2, 2, 2, 0, 4, 60, 0.2, 5,
                1.5, 1.5, 1.5, 0, 3, 40, 0.15, 3, 0, 150, 2500]
COMPUTED = {0, 6, 7, 9, 10, 15, 16, 19, 20, 25} | set(range(27, 47))

# Dialog items of the three column lists -> catalogue index.
BEFORE_ITEMS = list(range(9))
THINNING_ITEMS = [0] + list(range(9, 19))
REMAINING_ITEMS = [0] + list(range(19, 46))

CURRENT_INCREMENTS = range(27, 35)


def UnitOf(v, english):
    unit = _UNITS.get(v, "")
    if isinstance(unit, tuple):
        return unit[0] if english else unit[1]
    return unit


def Decimals(v):
    return DECIMALS[v] if 0 <= v < 46 else 0


def WithinDisplayRange(v, x):
    lo, hi = VARIABLE_MIN[v], VARIABLE_MAX[v]
    if lo < 0:
        return 10 * lo <= x <= 10 * hi
    return lo - hi / 1000 <= x <= 10 * hi


# Fix priority of the thinning chain.
_PRIORITY = [G2, Q1, D2, N2, G3, N3, D3, Q3, HD3, Hg3, V3, RTA3, V2, Hg2, HD2, RTA2, F2, F3]


def FixPriority(v):
    return _PRIORITY.index(v) if v in _PRIORITY else 18


def VariableOfPriority(rank):
    return _PRIORITY[rank] if 0 <= rank < len(_PRIORITY) else G2


def OrderByFixPriority(a, b):
    return (b, a) if FixPriority(b) < FixPriority(a) else (a, b)


# ---------------------------------------------------------------------------
# Site data of the species (search ranges, grid tops, site classes without warning)

A0_SEARCH = [(0.006, 0.05), (0.02, 0.14), (0.02, 0.14), (0.001, 0.014), (0.007, 0.029),
             (0.085, 0.15), (0.008, 0.045)]
SITE_INDEX_SEARCH_MAX = [40, 32, 32, 40, 32, 40, 40]
HEIGHT_GRID_TOP = [35, 30, 30, 35, 35, 40, 35]
BASAL_AREA_GRID_TOP = [45, 35, 35, 55, 55, 55, 55]
SITE_CLASS_TOP = [5, 4, 4, 7, 4, 4, 3]
PRESET_USER_A0 = [0.025, 0.99, 0.05, 0.007, 0.025, 0.12, 0.045]
DEFAULT_YIELD_CLASS = [8.9, 6.1, 6.1, 16.4, 16.5, 20.8, 16.2]

QUARTER_PI = 0.78539816339744830963
FOUR_OVER_PI = 1.2732395447351626862
# Two amounts closer than this share of the first are the same amount.
SAME_AMOUNT = 1e-12


# ---------------------------------------------------------------------------
# Messages (English, Danish)

MSG = {
    "invalid_number": ("   Invalid character(s): String is not a valid number!   ",
                       "   Ugyldig(e) tegn: Det indtastede er ikke et gyldigt tal!   "),
    "range_1": ("   The value entered (", "   Den indtastede værdi ("),
    "range_2": (") is out or range!   ", ") er uden for det tilladte interval!   "),
    "range_3": ("   The valid range is: ", "   Det tilladte interval er: "),
    "no_inventory": ("   No inventory data were entered!   ",
                     "   Der er ikke indtastet nogen taksationsdata!   "),
    "one_inventory": (
        "   The growth rate parameter cannot be estimated on the basis of only one inventory!   \r\n"
        "   Instead a site index will be calculated based on the height observation at age ",
        "   Vækstraten kan ikke bestemmes på grundlag af kun en taksation!   \r\n"
        "   I stedet bestemmes et højdeindex baseret på højden ved alder "),
    "age_range": ("   Age out of range (4-250 years)   ",
                  "   En alder falder uden for det accepterede område (4-250 år)   "),
    "height_range": ("   Height out of range (2-50 m)   ",
                     "   En højde falder uden for det accepterede område (2-50 m)   "),
    "ba_range": ("   Basal area out of range (1-90 m2/ha)   ",
                 "   En grundflade falder uden for det accepterede område (1-90 m2/ha)   "),
    "thinned_range": ("   Thinned basal area out of range (0-90 m2/ha)!   ",
                      "   Tyndingens grundflade er uden for det accepterede område (0-90 m2/ha)!   "),
    "missing_height": ("   Missing height measurement!   ", "   Manglende højdemåling!   "),
    "missing_age": ("   Missing age specification!   ", "   Manglende aldersangivelse!   "),
    "missing_ba": (
        "   Missing basal area measurement! - Please note that if thinned  \r\n"
        "   basal area is zero this should be specified explicitly!   ",
        "   Manglende grundfladeangivelse! - Bemærk at såfremt udhugnings-  \r\n"
        "   grundfladen er nul skal dette angives eksplicit!   "),
    "age_order": ("   Age does not increase consistently!   ",
                  "   Alderen stiger ikke konsekvent fra gang til gang!   "),
    "height_decrease": (
        "   Height decreases too much from one measurement to the next (dH < -2 m)!   ",
        "   Højden falder for meget fra en måling til den næste (dH < -2 m)!   "),
    "soil_missing": ("   Soil fraction percentages were not entered for all classes!   ",
                     "   Der er ikke angivet procentandel for alle jordbundsfraktioner!   "),
    "soil_sum": ("   The soil fraction percentages should sum to 100 per cent!   ",
                 "   Jordbundsfraktionernes andele skal summere til 100 procent!   "),
    "site_index_error": (
        "   Warning: The site index calculation caused an error.   \r\n"
        "   Please check that the data have been entered correctly!   \r\n"
        "   (The program will use the highest possible site index)   ",
        "   Advarsel: Beregningen af højdeindexet førte til en fejl.   \r\n"
        "   Kontroller venligst at alle data er indtastet korrekt!   \r\n"
        "   (Programmet vil benytte det størst mulige højdeindex)   "),
    "negative_a0": (
        "   Warning: the estimated growth rate parameter is negative.   \r\n"
        "   Check that the data you entered are correct!   ",
        "   Advarsel: den beregnede vækstrate er negativ.   \r\n"
        "   Kontroller at de indtastede data er korrekte!   "),
    "site_class_1": ("   Warning: In the traditional site classification system:   ",
                     "   Advarsel: I det traditionelle boniteringssystem:   "),
    "site_class_2": ("),   \r\n   the values specified correspond to a site class of ",
                     "),   \r\n   svarer de indtastede værdier til en bonitet "),
    "site_class_3": (".   \r\n   Extrapolation may cause initial values to become poor!   ",
                     ".   \r\n   Ekstrapolationen kan medføre besynderlige initialværdier!   "),
    "soil_note": (
        "   Unfortunately, no significant effect of soil texture was observed for this species!   ",
        "   Beklageligvis kunne der ikke observeres nogen signifikant effekt af jordbundstekstur"
        " for denne træart!   "),
    "soil_note_sitka": (
        "\r\n   Moreover, it should be noticed that the estimated growth rate increases (!)   \r\n"
        "   slightly with increasing coarse sand percentage!   ",
        "\r\n   Det bør desuden bemærkes at den skønnede vækstrate viser sig at øges (!) en lille smule   \r\n"
        "   når den procentuelle andel af grovsand i jorden øges.   "),
    "constraints_order": (
        "   One or more of the maximum values are not truely larger than the corresponding minimum values!   ",
        "   En eller flere af de angivne maximumsværdier er ikke større end de modsvarende minimumsværdier!   "),
    "damaged": ("   Invalid numeric input in line %d of the settings file:   \r\n   %s   ",
                "   Ugyldigt tal i linje %d i indstillingsfilen:   \r\n   %s   "),
}

# Stands for the short citation of the classical yield table in the
# site-class warning; its wording is the program's own.
CITATION = "\x00citation\x00"


def message_line(text):
    """A message as the command line prints it: each line trimmed of blanks,
    the lines joined by one blank."""
    return " ".join(part.strip(" ") for part in text.split("\r\n"))


# ---------------------------------------------------------------------------
# Number texts

_INTEGER = re.compile(r"[+-]?[0-9]+\Z")
_REAL = re.compile(r"[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?\Z")


def parse_integer(text):
    return int(text) if _INTEGER.match(text) else None


def parse_real(text):
    return Real(float(text)) if _REAL.match(text) else None


def general(x):
    """The shortest text that reads back as x."""
    x = float(x)
    if x == int(x) and abs(x) < 1e15:
        return str(int(x))
    return repr(x)


def fixed(x, decimals, separator="."):
    return ("%.*f" % (decimals, float(x))).replace(".", separator)


def e15(x):
    """A real number in exactly 15 characters: sign or blank, d.dddddd, E, a
    sign and a four-digit exponent."""
    mantissa, exponent = ("%.6E" % x).split("E")
    if not mantissa.startswith("-"):
        mantissa = " " + mantissa
    return "%sE%s%04d" % (mantissa, "-" if int(exponent) < 0 else "+", abs(int(exponent)))


# ---------------------------------------------------------------------------
# Parameter file and memoised searches

_loaded_parameters = [None]
_search_cache = {}


def load_parameters(path):
    if _loaded_parameters[0] == path:
        return True
    found, _ = M.ReadParameterFile(path)
    if not found:
        return False
    M.ComputeMaxSiteIndex()
    # The species list offers the present species in code order.
    position = 0
    for entry in M.SpeciesTable:
        if entry.Present:
            entry.RadioIndex = position
            position += 1
    _loaded_parameters[0] = path
    _search_cache.clear()
    return True


def HeightGrowthMismatch(species, A0, SI):
    Hmax, Gmax = HEIGHT_GRID_TOP[species], BASAL_AREA_GRID_TOP[species]
    total = Real(0.0)
    for i in range(1, 11):
        for j in range(1, 11):
            h = Real(i * Hmax) / 10
            g = Real(j * Gmax) / 10
            d = M.HdomIncrementA0(species, h, g, A0) - M.HdomIncrementSI(species, h, g, SI)
            total = total + d * d
    return total / 100


def _BracketSearch(f, grid, best, second, lo, hi):
    fbest = 1e9
    for x in grid:
        fx = f(x)
        if fx < fbest:
            second, best, fbest = best, x, fx
    a, b = Real(best), Real(second)
    fa, fb = f(a), f(b)
    count = 0
    while True:
        w = abs(a - b) / 1.61
        m = a if fa < fb else b
        a = m - w / 2
        b = m + w / 2
        if a < lo:
            a = Real(lo)
        if b > hi:
            b = Real(hi)
        fa, fb = f(a), f(b)
        count += 1
        if w < 0.000001 or abs(fa - fb) < 1e-12 or count >= 200:
            break
    if count >= 200:
        return SENTINEL
    return a if fa < fb else b


def A0FromSiteIndex(species, SI):
    if SI <= 0:
        return SENTINEL
    key = ("A0", species, float(SI))
    if key not in _search_cache:
        lo, hi = A0_SEARCH[species]
        grid = [lo + k * hi / 29 for k in range(30)]
        _search_cache[key] = _BracketSearch(
            lambda x: HeightGrowthMismatch(species, x, SI), grid, 0.0001, 0.0002, lo, hi)
    return _search_cache[key]


def SiteIndexFromA0(species, A0):
    if A0 <= 0:
        return SENTINEL
    key = ("SI", species, float(A0))
    if key not in _search_cache:
        grid = [Real(x) for x in range(2, max(32, SITE_INDEX_SEARCH_MAX[species]) + 1)]
        _search_cache[key] = _BracketSearch(
            lambda x: HeightGrowthMismatch(species, A0, x), grid, 1.0, 2.0, 1.3,
            SITE_INDEX_SEARCH_MAX[species])
    return _search_cache[key]


def A0FromSoilTexture(species, coarseSand):
    P = M.ModelParameters[species]
    return P[36] * M.power(1 + Real(coarseSand), P[37])


class InventoryRecord:
    def __init__(self):
        self.Age = -1
        self.Hg = self.Hdom = self.GBefore = self.GThinned = self.GAfter = Real(-1.0)


def EstimateA0FromInventories(records, species):
    n = 0
    while n < 10 and records[n].Age > 0:
        n += 1
    if n < 2:
        raise Unspecified("inventory fit with fewer than two leading records")

    def error(x):
        total = Real(0.0)
        for k in range(1, n):
            H, G = records[k - 1].Hdom, records[k - 1].GAfter
            for _ in range(records[k].Age - records[k - 1].Age):
                dH = M.HdomIncrementA0(species, H, G, x)
                dG = M.BasalAreaIncrementA0(species, G, H, x)
                H, G = H + dH, G + dG
            eH, eG = records[k].Hdom - H, records[k].GBefore - G
            total = total + (eH * eH + eG * eG)
        return total

    try:
        x = Real(0.0001)
        best, bestError = None, None
        while x <= 1:
            e = error(x)
            if best is None or e < bestError:
                best, bestError = x, e
            x = x + 0.05
        step, direction = 0.05, 1
        x, previousError = best, bestError
        walked = 0
        while True:
            x = x + direction * step
            e = error(x)
            if e < bestError:
                bestError, best = e, x
            elif e > previousError:
                direction = -direction
                step = step / 2.3
            previousError = e
            walked += 1
            if walked > 100000:
                raise Unspecified("inventory step search does not end")
            if step < 0.000001:
                break
    except FAULTS:
        raise Unspecified("floating-point fault in the inventory fit") from None
    return best


# ---------------------------------------------------------------------------
# The session: a freshly started program that opens one settings file

class Session:
    def __init__(self, english=False, decimal_comma=False, exact_ties=False, tie_readings=None):
        self.english = english
        # A constraint test between two numbers equal but for rounding (a
        # corrective pass that set G2 to exactly ThinPctMax per cent of G1
        # is then tested against ThinPctMax) goes either way with the last
        # bit.  They are counted, with the year indices they occur in; with
        # exact_ties they count as equal.  tie_readings (year index -> -1, 0
        # or 1) reads the ties of a year as if the value tested lay below,
        # on or above its bound, whatever its own last bit says: another
        # implementation whose values differ from these by rounding may
        # read a year's ties either way.
        self.exact_ties = exact_ties
        self.tie_readings = dict(tie_readings or {})
        self.ties = 0
        self.tie_years = set()
        self.year = None  # the year whose thinning is being decided
        self.separator = "," if decimal_comma else "."
        self.messages = []
        self.fragile = set()  # (variable, year index) decided by a rounding-level comparison
        self.tolerance = {}  # (variable, year index): relative accuracy below 1e-9
        # The first year index with a thinning search stopped by the
        # iteration limit: where such a search ends depends on the last bit
        # of its inputs, and so does everything after it.
        self.unsettled = None
        self.InitialisePresetParameters()
        self.InitialiseUserInterface()

    # -- texts ------------------------------------------------------------
    def text(self, key):
        return MSG[key][0 if self.english else 1]

    def show(self, text):
        self.messages.append(text)

    def na_text(self):
        return "N.A." if self.english else "UDEF."

    def error_text(self):
        return "ERROR" if self.english else "FEJL"

    def locale_real(self, text):
        """The locale's float conversion of a cell text."""
        if self.separator == ",":
            if "." in text:
                return None
            text = text.replace(",", ".")
        return parse_real(text)

    # -- defaults of a fresh program ----------------------------------------
    def InitialisePresetParameters(self):
        self.TableStartAge, self.TableEndAge = 20, 80
        self.ThinStartAge, self.ThinEndAge = 20, 80
        self.SiteClass = Real(2.0)
        self.StandHeight, self.StandHdom, self.StandHg = Real(8.0), Real(8.0), Real(7.0)
        self.YieldClass = Real(7.0)
        self.StandAge = 20
        self.SiteIndex = Real(15.0)
        self.CoarseSandPercent = Real(10.0)
        self.CurrentSpecies = 0
        self.VolumeDefinition = 0
        self.UseA0Model = False
        self.UserA0Fixed = False
        self.MeasureIsBasalArea = True
        self.TargetGStart = self.TargetGEnd = Real(25.0)
        self.TargetRSStart = self.TargetRSEnd = Real(15.0)
        self.QuotientStart, self.QuotientEnd = Real(0.9), Real(1.0)
        self.ThinGMin, self.ThinGMax = -10000.0, 10000.0
        self.ThinVMin, self.ThinVMax = -10000.0, 10000.0
        self.RemRSMin, self.RemRSMax = -10000.0, 10000.0
        self.RemGMin, self.RemGMax = -10000.0, 10000.0
        self.ThinPctMin, self.ThinPctMax = -10000.0, 10000.0
        self.A0Parameter = Real(0.01)
        self.UserA0Parameter = Real(0.01)
        self.GrowthCorrection = Real(1.0)
        M.GrowthCorrection = 1.0
        self.TargetG = Real(20.0)
        self.StartAgeKeyed = self.StandHeightKeyed = self.YieldClassKeyed = False
        self.PresetTargetG = [35.0, 25.0, 15.0]

    def InitialiseUserInterface(self):
        self.rgSpecies = self.rgSiteQuality = self.rgHeight = self.rgVolume = -1
        self.rgPreset = self.rgTargetG = -1
        self.rgMeasure = 0
        self.rgShowYears = self.rgThinInterval = -1
        self.edtSiteClass, self.edtYieldClass, self.edtStandHeight = "2", "7", "8"
        self.edtStandAge = "20"
        self.edtTargetG = "20"
        self.edtThinYear = "30, 34, 40"
        self.ThinIntervalYears, self.ThinIntervalDivisor = 5, 10
        self.inventory = [[""] * 4 for _ in range(10)]
        self.soil = [""] * 4
        self.constraints = [["", ""] for _ in range(4)]  # rows 1..4, columns 1..2
        # Visible site inputs: after the reset only the inventory grid shows.
        self.visible = {"inventory"}
        self.StandTable = [[Real(0.0)] * 250 for _ in range(47)]
        self.ClearUserFixed()
        self.ThinAges, self.ThinAgeSet, self.IsThinYear = [], set(), [False] * 250
        self.before_columns = [0, 1, 3, 4, 5, 6]
        self.thinning_columns = [11, 12, 13, 14, 16]
        self.remaining_columns = [19, 21, 22, 23, 24, 26, 35, 40, 45]
        self.SetTargetBasalAreas()

    def ClearUserFixed(self):
        self.UserFixed = [[False] * 250 for _ in range(47)]
        self.ThinTableTyped = self.StateTableTyped = False
        self.ThinTypedCount = self.StateTypedCount = 0

    # -- site estimation ----------------------------------------------------
    def SetStandHeights(self, isHdom):
        sp = self.CurrentSpecies
        if isHdom:
            self.StandHdom = self.StandHeight
            self.StandHg = M.HgFromHdom(sp, self.StandHdom)
        else:
            self.StandHg = self.StandHeight
            self.StandHdom = M.HdomFromHg(sp, self.StandHg)

    def _counts(self, control):
        # Every input is enabled once the file is being opened.
        return control in self.visible

    def _site_inputs_complete(self):
        if self.UserA0Fixed:
            return True
        if self._counts("soil"):
            return any(cell != "" for cell in self.soil)
        if self._counts("inventory"):
            return any(cell != "" for row in self.inventory for cell in row)
        height = any(self._counts(name) and text != "" for name, text in
                     (("StandHeight", self.edtStandHeight), ("SiteClass", self.edtSiteClass),
                      ("YieldClass", self.edtYieldClass)))
        return height and self._counts("StandAge") and self.edtStandAge != ""

    def _read_pair(self, first, second, target1, target2, first_integer=False):
        """Two reads forming one step: an unreadable first text changes
        nothing, an unreadable second text only the second value."""
        v1 = parse_integer(first) if first_integer else parse_real(first)
        if v1 is None:
            return
        setattr(self, target1, v1)
        v2 = parse_integer(second)
        if v2 is not None:
            setattr(self, target2, v2)

    def EstimateA0parameter(self, showMessages):
        try:
            return self._EstimateA0parameter(showMessages)
        except FAULTS:
            raise Unspecified("floating-point fault in the site estimation") from None

    def _EstimateA0parameter(self, showMessages):
        sp = self.CurrentSpecies
        if not self._site_inputs_complete():
            return Real(0.0)
        method = self.rgSiteQuality
        isHdom = self.rgHeight == 0
        if self.UserA0Fixed:
            self.UseA0Model = True
            A0 = self.UserA0Parameter
            self._FromGrowthRate(A0)
        elif method == 0:
            ok, single, records, firstRow = self.ReadInventoryData(showMessages)
            if ok:
                self.UseA0Model = True
                A0 = EstimateA0FromInventories(records, sp)
                self._FromGrowthRate(A0)
            elif single:
                self.UseA0Model = False
                row = self.inventory[firstRow]
                height = parse_real(row[1])
                if height is not None:
                    self.StandHeight = height
                    age = parse_integer(row[0])
                    if age is not None:
                        self.StandAge = age
                self.SetStandHeights(isHdom)
                A0 = self._FromStandHeight()
            else:
                self.UseA0Model = True
                A0 = Real(0.0)
        elif method == 1:
            self.UseA0Model = False
            self._read_pair(self.edtStandHeight, self.edtStandAge, "StandHeight", "StandAge")
            self.SetStandHeights(isHdom)
            A0 = self._FromStandHeight()
            if self.SiteIndex < 0:
                self.show(self.text("site_index_error"))
                self.SiteIndex = Real(M.MaxSiteIndex(sp))
                A0 = A0FromSiteIndex(sp, self.SiteIndex) if self.SiteClass >= -10 else Real(0.0)
        elif method == 2:
            self.UseA0Model = False
            self._read_pair(self.edtSiteClass, self.edtStandAge, "SiteClass", "StandAge")
            self.StandHeight = M.YieldTableHg(sp, self.StandAge, self.SiteClass)
            self.SetStandHeights(False)
            self.YieldClass = M.YieldClassFromHg(sp, self.StandHg, self.StandAge)
            A0 = self._ToGrowthRate()
        elif method == 3:
            self.UseA0Model = False
            self._read_pair(self.edtYieldClass, self.edtStandAge, "YieldClass", "StandAge")
            self.SiteClass = M.SiteClassFromYieldClass(sp, self.YieldClass)
            self.StandHeight = M.YieldTableHg(sp, self.StandAge, self.SiteClass)
            self.SetStandHeights(False)
            A0 = self._ToGrowthRate()
        elif method == 4:
            self.UseA0Model = True
            coarse, ok = self.ReadSoilTextureData()
            self.CoarseSandPercent = coarse
            if ok:
                A0 = A0FromSoilTexture(sp, coarse)
                self._FromGrowthRate(A0)
            else:
                A0 = Real(0.0)
        else:
            self.UseA0Model = False
            self.SiteClass, self.StandAge = Real(2.0), 20
            self.StandHeight = M.YieldTableHg(sp, 20, 2.0)
            self.SetStandHeights(False)
            self.YieldClass = M.YieldClassFromHg(sp, self.StandHg, 20)
            A0 = self._ToGrowthRate()

        if not A0 >= 0 and showMessages:
            self.show(self.text("negative_a0"))
        if A0 > 0 and (self.SiteClass < 1 or self.SiteClass > SITE_CLASS_TOP[sp]) and showMessages:
            self.show(self.text("site_class_1") + "\r\n" + "         (" + CITATION
                      + self.text("site_class_2") + fixed(self.SiteClass, 1, self.separator)
                      + self.text("site_class_3"))
        if not self.StartAgeKeyed:
            age = M.YieldTableAgeAtHg(sp, 2.0, self.SiteClass)
            if age < 0:
                raise Unspecified("start age from an invalid yield-table age")
            n = int(math.floor(age)) + 1
            # On to the first year with a classical basal area: a younger
            # table would hold no stand.
            upper = self.TableEndAge - 1
            while n < upper and not M.YieldTableBasalArea(sp, n, self.SiteClass) > 0:
                n += 1
            if self.TableStartAge < n:
                self.TableStartAge = n
        return A0

    def _FromGrowthRate(self, A0):
        sp = self.CurrentSpecies
        self.SiteIndex = SiteIndexFromA0(sp, A0)
        self.StandAge = 50
        self.StandHeight = self.SiteIndex
        self.SetStandHeights(True)
        self.SiteClass = M.SiteClassFromHg(sp, self.StandHg, 50)
        self.YieldClass = M.YieldClassFromSiteClass(sp, self.SiteClass)

    def _FromStandHeight(self):
        sp = self.CurrentSpecies
        self.SiteClass = M.SiteClassFromHg(sp, self.StandHg, self.StandAge)
        self.YieldClass = M.YieldClassFromHg(sp, self.StandHg, self.StandAge)
        return self._ToGrowthRate()

    def _ToGrowthRate(self):
        sp = self.CurrentSpecies
        self.SiteIndex = M.DominantHeightAtAge(sp, 50, self.StandAge, self.StandHdom)
        return A0FromSiteIndex(sp, self.SiteIndex)

    def ReadInventoryData(self, showMessages):
        def say(key, extra=""):
            if showMessages:
                self.show(self.text(key) + extra)

        cells = self.inventory
        ok, single = True, True
        filled = [(r, c) for r in range(10) for c in range(4) if cells[r][c].strip() != ""]
        records = [InventoryRecord() for _ in range(10)]
        if not filled:
            say("no_inventory")
            return False, False, records, -1
        firstRow, lastRow = filled[0][0], filled[-1][0]
        for r, c in filled:
            text = cells[r][c]
            if (parse_integer(text) if c == 0 else parse_real(text)) is None:
                # The number checks show their own message.
                self.show(self.text("invalid_number") + ("" if c == 0 else '  "%s"' % text))
                ok = False
                if r == firstRow:
                    single = False
        if all(r == firstRow for r, _ in filled):
            say("one_inventory", cells[firstRow][0] + ".   ")
            ok = False
        if ok:
            hg = self.rgHeight == 1
            for r in range(firstRow, lastRow + 1):
                rec = records[r - firstRow]
                for c in range(4):
                    text = cells[r][c]
                    if text.strip() == "":
                        continue
                    if c == 0:
                        rec.Age = parse_integer(text)
                    elif c == 1 and hg:
                        rec.Hg = parse_real(text)
                    elif c == 1:
                        rec.Hdom = parse_real(text)
                    elif c == 2:
                        rec.GAfter = parse_real(text)
                    else:
                        rec.GThinned = parse_real(text)
            for rec in records:
                if rec.Age >= 0 and (rec.Age < 4 or rec.Age > 250):
                    say("age_range")
                    ok = False
                if ((rec.Hg >= 0 and not 2 <= rec.Hg <= 50)
                        or (rec.Hdom >= 0 and not 2 <= rec.Hdom <= 50)):
                    say("height_range")
                    ok = False
                if rec.GAfter >= 0 and not 1 <= rec.GAfter <= 90:
                    say("ba_range")
                    ok = False
                if rec.GThinned >= 0 and rec.GThinned > 90:
                    say("thinned_range")
                    ok = False
        if ok:
            sp = self.CurrentSpecies
            for rec in records:
                if rec.Hdom >= 0 or rec.Hg >= 0:
                    if self.rgHeight == 1:
                        rec.Hdom = M.HdomFromHg(sp, rec.Hg)
                    else:
                        rec.Hg = M.HgFromHdom(sp, rec.Hdom)
            for k, rec in enumerate(records):
                if rec.Age > 0 and rec.Hdom < 0:
                    say("missing_height")
                    ok = False
                if (rec.Hdom > 0 or rec.GAfter > 0 or rec.GThinned >= 0) and rec.Age < 0:
                    say("missing_age")
                    ok = False
                if rec.Age > 0 and (rec.GAfter < 0 or rec.GThinned < 0):
                    say("missing_ba")
                    ok = False
                if rec.Age > 0 and rec.GAfter >= 0 and rec.GThinned >= 0:
                    rec.GBefore = rec.GAfter + rec.GThinned
                if k > 0:
                    prev = records[k - 1]
                    if rec.Age > 0 and prev.Age >= rec.Age:
                        say("age_order")
                        ok = False
                    if rec.Hdom > 0 and prev.Hdom > rec.Hdom + 2:
                        say("height_decrease")
                        ok = False
        return ok, single, records, firstRow

    def CheckRangeMessage(self, text, lo, hi):
        return (self.text("range_1") + text + self.text("range_2") + "\r\n" + self.text("range_3")
                + general(lo).replace(".", self.separator) + " - "
                + general(hi).replace(".", self.separator) + "   ")

    def ReadSoilTextureData(self):
        coarse, ok = Real(0.0), True
        for text in self.soil:
            if text == "":
                self.show(self.text("soil_missing"))
                ok = False
                break
            if self.locale_real(text) is None:
                self.show(self.text("invalid_number") + '  "%s"' % text)
                ok = False
                break
        values = []
        if ok:
            for text in self.soil:
                value = self.locale_real(text)
                if not 0 <= value <= 100:
                    self.show(self.CheckRangeMessage(text, 0, 100))
                    ok = False
                    break
                values.append(value)
        if ok:
            total = values[0] + values[1] + values[2] + values[3]
            ok = abs(total - 100) <= 0.01
            if ok:
                coarse = values[3]
            else:
                self.show(self.text("soil_sum") + "(" + fixed(total, 2, self.separator) + ")   ")
        return coarse, ok

    # -- site page handlers -------------------------------------------------
    def reestimate(self):
        self.A0Parameter = self.EstimateA0parameter(True)

    def soil_notes(self):
        if self.CurrentSpecies == 0:
            self.show(self.text("soil_note"))
        elif self.CurrentSpecies == 4:
            self.show(self.text("soil_note") + self.text("soil_note_sitka"))

    def rgSpeciesClick(self):
        if self.rgSpecies < 0:
            return
        self.CurrentSpecies = 0
        for code, entry in enumerate(M.SpeciesTable):
            if entry.Present and entry.RadioIndex == self.rgSpecies:
                self.CurrentSpecies = code
        sp = self.CurrentSpecies
        if not self.YieldClassKeyed:
            self.YieldClass = Real(DEFAULT_YIELD_CLASS[sp])
            self.edtYieldClass = general(self.YieldClass)
        if not self.UserA0Fixed:
            self.UserA0Parameter = Real(PRESET_USER_A0[sp])
        self.StandHeightPreset()
        if self.rgSiteQuality == 4:
            self.soil_notes()
        self.reestimate()
        self.SetTargetBasalAreas()

    def StandHeightPreset(self):
        if not self.StandHeightKeyed and 1.8 < self.SiteClass < 2.2:
            h = M.YieldTableHg(self.CurrentSpecies, self.StandAge, self.SiteClass)
            if self.rgHeight == 0:
                h = M.HdomFromHg(self.CurrentSpecies, h)
            self.StandHeight = Real(round(h * 10) / 10)
            self.edtStandHeight = general(self.StandHeight)

    def rgSiteQualityClick(self):
        if self.rgSiteQuality < 0:
            return
        if self.rgSiteQuality == 4:
            self.soil_notes()
        self.visible = {0: {"inventory"}, 1: {"StandHeight", "StandAge"},
                        2: {"SiteClass", "StandAge"}, 3: {"YieldClass", "StandAge"},
                        4: {"soil"}}.get(self.rgSiteQuality, set())
        self.reestimate()

    def rgHeightClick(self):
        if self.rgHeight < 0:
            return
        self.StandHeightPreset()
        self.reestimate()

    def rgVolumeClick(self):
        self.reestimate()
        if self.rgVolume >= 0:
            self.VolumeDefinition = self.rgVolume if self.rgVolume in (1, 2, 3) else 0

    # -- thinning regime ----------------------------------------------------
    def SetTargetBasalAreas(self):
        self.PresetTargetG = [35.0, 25.0, 15.0] if self.CurrentSpecies <= 2 else [45.0, 35.0, 25.0]
        if self.rgTargetG >= 0:
            self.rgTargetGClick()

    def rgTargetGClick(self):
        i = self.rgTargetG
        if i < 0:
            return
        self.TargetG = Real(self.PresetTargetG[i])
        self.edtTargetG = general(self.TargetG)
        self.TargetGStart = self.TargetGEnd = self.TargetG
        self.QuotientStart, self.QuotientEnd = [(0.85, 0.95), (0.90, 1.00), (0.95, 1.00)][i]

    def SetUpTargetBasalAreaElements(self):
        for i in range(3):
            if abs(self.TargetG - self.PresetTargetG[i]) < 0.001:
                self.rgTargetG = i
                self.rgTargetGClick()
                return
        self.rgTargetG = -1
        self.TargetGStart = self.TargetGEnd = self.TargetG
        P0, P2 = self.PresetTargetG[0], self.PresetTargetG[2]
        qs = round(10 * (P0 - self.TargetG) / (P0 - P2) + 85) / 100
        qe = round(5 * (P0 - self.TargetG) / (P0 - P2) + 95) / 100
        self.QuotientStart = Real(min(max(qs, 0.8), 1.0))
        self.QuotientEnd = Real(min(max(qe, 0.8), 1.0))

    def rgPresetClick(self):
        if self.rgPreset < 0:
            return
        if self.rgPreset == 0:
            self.MeasureIsBasalArea = True
            self.set_radio("rgMeasure", 0)
        else:
            self.MeasureIsBasalArea = self.rgMeasure == 0
        self.ResetConstraint4()
        if self.rgPreset == 0:  # SetG3targetValue
            if self.edtTargetG != "":
                self.SetUpTargetBasalAreaElements()
            else:
                self.rgTargetG = -1

    def rgMeasureClick(self):
        if self.rgMeasure == 0:
            self.MeasureIsBasalArea = True
        elif self.rgMeasure == 1:
            self.MeasureIsBasalArea = False
        if self.rgPreset == 1:
            self.rgTargetG = -1
        self.ResetConstraint4()

    def ResetConstraint4(self):
        self.constraints[3] = ["", ""]
        self.ReadConstraints()

    def _row4_approach(self):
        if self.rgPreset == 0 or (self.rgPreset == 1 and self.rgMeasure == 0):
            return "spacing"
        if self.rgPreset == 1 and self.rgMeasure == 1:
            return "basal area"
        return None

    def ReadConstraints(self):
        order = [(0, 0, "ThinGMin", -10000.0), (1, 0, "ThinVMin", -10000.0),
                 (1, 1, "ThinVMax", 10000.0), (2, 0, "ThinPctMin", -10000.0),
                 (2, 1, "ThinPctMax", 10000.0)]
        approach = self._row4_approach()
        if approach == "spacing":
            order += [(3, 0, "RemRSMin", -10000.0), (3, 1, "RemRSMax", 10000.0)]
            self.RemGMin, self.RemGMax = -10000.0, 10000.0
        elif approach == "basal area":
            order += [(3, 0, "RemGMin", -10000.0), (3, 1, "RemGMax", 10000.0)]
            self.RemRSMin, self.RemRSMax = -10000.0, 10000.0
        else:
            self.RemRSMin, self.RemRSMax = -10000.0, 10000.0
            self.RemGMin, self.RemGMax = -10000.0, 10000.0
        for row, column, name, empty in order:
            text = self.constraints[row][column]
            if text == "":
                setattr(self, name, empty)
                continue
            value = self.locale_real(text)
            if value is None:
                self.show(self.text("invalid_number"))
                break
            setattr(self, name, value)
        if (self.ThinGMin >= self.ThinGMax or self.ThinVMin >= self.ThinVMax
                or self.ThinPctMin >= self.ThinPctMax or self.RemRSMin >= self.RemRSMax
                or self.RemGMin >= self.RemGMax):
            self.show(self.text("constraints_order"))

    # -- radio groups as if clicked -----------------------------------------
    def set_radio(self, name, item):
        if getattr(self, name) == item:
            return
        setattr(self, name, item)
        handler = {"rgSpecies": self.rgSpeciesClick, "rgSiteQuality": self.rgSiteQualityClick,
                   "rgHeight": self.rgHeightClick, "rgVolume": self.rgVolumeClick,
                   "rgPreset": self.rgPresetClick, "rgTargetG": self.rgTargetGClick,
                   "rgMeasure": self.rgMeasureClick}.get(name)
        if handler is not None:
            handler()
        # rgShowYears and rgThinInterval only rebuild and recompute the table,
        # which the tables page does again at the end.

    # -- thinning schedule ----------------------------------------------------
    def EstablishThinList(self):
        ages = []
        start, end = self.TableStartAge, self.TableEndAge
        if self.rgThinInterval == 0:
            last = -10000
            for a in range(start, end + 1):
                if a - last >= max(self.ThinIntervalYears, 1):
                    ages.append(a)
                    last = a
        elif self.rgThinInterval == 2:
            ages = [int(run) for run in re.findall("[0-9]+", self.edtThinYear)][:250]
        else:
            last = -10000
            for a in range(start, end + 1):
                k = round(a / self.ThinIntervalDivisor)
                if a - last >= max(k, 1):
                    ages.append(a)
                    last = a
        self.ThinAges = ages
        self.IsThinYear = [False] * 250
        for a in ages:
            if start <= a <= end:
                self.IsThinYear[a - start] = True
        self.edtThinYear = "".join("%d, " % a for a in ages)
        self.ThinAgeSet = {a for a in ages if a <= 255}

    def row_years(self):
        count = self.TableEndAge - self.TableStartAge + 1
        if self.rgShowYears == 0:
            return list(range(count))
        return [y for y in range(count) if y == 0 or self.IsThinYear[y] or y == count - 1]

    # -- projection ----------------------------------------------------------
    def ClearComputedValues(self):
        for k in range(47):
            row, fixed_row = self.StandTable[k], self.UserFixed[k]
            empty = Real(SENTINEL) if k == 46 else Real(0.0)
            for i in range(250):
                if not fixed_row[i]:
                    row[i] = empty

    def put(self, v, i, x):
        if not math.isfinite(x):
            raise FloatingPointFault()
        self.StandTable[v][i] = Real(x)

    def get(self, v, i):
        return self.StandTable[v][i]

    def WriteTables(self):
        self.ClearComputedValues()
        self.fragile = set()
        self.tolerance = {}
        self.unsettled = None
        self.ProjectStand()

    def ProjectStand(self):
        self.MinVolumeDiameter = M.MerchDiameterLimit(self.VolumeDefinition)
        self.rate = self.UserA0Parameter if self.UserA0Fixed else self.A0Parameter
        start, end = self.TableStartAge, self.TableEndAge
        for age in range(start, end + 1):
            self.put(T, age - start, age)
        for age in range(start, end + 1):
            try:
                self.ProjectYear(age - start, age)
            except FAULTS:
                pass
        self.ComputeIncrements()

    def ProjectYear(self, i, age):
        sp = self.CurrentSpecies
        S, put = self.StandTable, self.put
        if i == 0:
            self.FirstYear(age)
        else:
            p = i - 1
            hd3, g3, n3 = S[HD3][p], S[G3][p], S[N3][p]
            if self.UseA0Model:
                par = self.rate
                dH = (lambda: M.HdomIncrementA0(sp, hd3, g3, par))
                dG = (lambda: M.BasalAreaIncrementA0(sp, g3, hd3, par))
                dN = (lambda: M.StemNumberChangeA0(sp, n3, hd3))
            else:
                par = self.SiteIndex
                dH = (lambda: M.HdomIncrementSI(sp, hd3, g3, par))
                dG = (lambda: M.BasalAreaIncrementSI(sp, g3, hd3, par))
                dN = (lambda: M.StemNumberChangeSI(sp, n3, hd3))
            put(HD1, i, hd3 + dH() if hd3 > 0 and g3 > 0 else SENTINEL)
            put(G1, i, g3 + dG() if g3 > 0 and hd3 > 0 else SENTINEL)
            put(N1, i, n3 + dN() if n3 > 0 and hd3 > 0 else SENTINEL)
            n1, g1 = S[N1][i], S[G1][i]
            if not self.UserFixed[D1][i]:
                if n1 > 0 and g1 > 0:
                    put(D1, i, 100 * M.sqrt(FOUR_OVER_PI * g1 / n1))
                elif n1 > 0 and g1 == 0:
                    put(D1, i, 0.0)
                else:
                    put(D1, i, SENTINEL)
            if not self.UserFixed[Hg1][i]:
                put(Hg1, i, M.HgFromHdom(sp, S[HD1][i]) if S[HD1][i] > 0 else SENTINEL)
            if not self.UserFixed[RTA1][i]:
                n1, hg1 = S[N1][i], S[Hg1][i]
                put(RTA1, i, 10000 / (M.sqrt(n1) * hg1) if n1 > 0 and hg1 > 0 else SENTINEL)

        # Volume and form factor.
        n1, d1, hg1, g1 = S[N1][i], S[D1][i], S[Hg1][i], S[G1][i]
        if n1 > 0 and d1 / 100 > self.MinVolumeDiameter and hg1 > 0:
            tree = M.TreeVolume(self.VolumeDefinition, sp, d1 / 100, hg1, d1 / 100)
            # A tree volume that cannot be computed is not multiplied up.
            put(V1, i, tree * n1 if tree >= 0 else SENTINEL)
        elif n1 >= 0 and d1 > 0 and hg1 > 0:
            put(V1, i, 0.0)
        else:
            put(V1, i, SENTINEL)
        v1 = S[V1][i]
        put(F1, i, v1 / (g1 * hg1) if v1 >= 0 and g1 > 0 and hg1 > 0 else SENTINEL)

        # Whether the year is thinned.
        thinYear = age <= 255 and age in self.ThinAgeSet
        typed = [v for v in range(11, 27) if self.UserFixed[v][i]] if thinYear else []
        anyTyped = bool(typed)
        if not (thinYear and (anyTyped or self.ThinGMin <= g1 <= self.ThinGMax)):
            for v in (HD2, Hg2, D2, F2, RTA2, Q1, Q3):
                put(v, i, SENTINEL)
            for v in (N2, G2, V2):
                put(v, i, 0.0)
            for before, after in ((HD1, HD3), (Hg1, Hg3), (D1, D3), (F1, F3), (N1, N3),
                                  (G1, G3), (V1, V3), (RTA1, RTA3)):
                put(after, i, S[before][i])
            return
        self.ThinYear(i, age, typed, anyTyped)

    def FirstYear(self, age):
        sp, S, put = self.CurrentSpecies, self.StandTable, self.put
        typed = {v: self.UserFixed[v][0] for v in (HD1, Hg1, D1, N1, G1, RTA1)}
        if not typed[G1]:
            put(G1, 0, M.YieldTableBasalArea(sp, age, self.SiteClass))
        if not typed[N1]:
            put(N1, 0, M.YieldTableStemNumber(sp, age, self.SiteClass))
        if not typed[D1]:
            put(D1, 0, M.YieldTableDiameter(sp, age, self.SiteClass))

        def area(d, n):
            return (d / 100) * (d / 100) * QUARTER_PI * n

        def stems(g, d):
            return g / ((d / 100) * (d / 100) * QUARTER_PI)

        def diameter(g, n):
            return 100 * M.sqrt(FOUR_OVER_PI * g / n)

        if typed[D1]:
            if typed[N1] and not typed[G1]:
                put(G1, 0, area(S[D1][0], S[N1][0]))
            elif not typed[N1]:
                put(N1, 0, stems(S[G1][0], S[D1][0]))
        else:
            if typed[N1] and not typed[G1]:
                put(G1, 0, area(S[D1][0], S[N1][0]))
            elif typed[G1] and not typed[N1]:
                put(N1, 0, stems(S[G1][0], S[D1][0]))
            put(D1, 0, diameter(S[G1][0], S[N1][0]))

        if not typed[HD1] and not typed[Hg1]:
            put(Hg1, 0, M.YieldTableHg(sp, age, self.SiteClass))
            put(HD1, 0, M.HdomFromHg(sp, S[Hg1][0]))
        elif typed[Hg1] and not typed[HD1]:
            put(HD1, 0, M.HdomFromHg(sp, S[Hg1][0]))
        elif typed[HD1] and not typed[Hg1]:
            put(Hg1, 0, M.HgFromHdom(sp, S[HD1][0]))

        if typed[RTA1]:
            heights = typed[HD1] + typed[Hg1]
            if heights == 0:
                put(Hg1, 0, 10000 / (M.sqrt(S[N1][0]) * S[RTA1][0]))
                put(HD1, 0, M.HdomFromHg(sp, S[Hg1][0]))
            elif heights == 1:
                n = 10000 / (S[RTA1][0] * S[Hg1][0])
                put(N1, 0, n * n)
                if typed[D1] and not typed[G1]:
                    put(G1, 0, area(S[D1][0], S[N1][0]))
                if typed[G1] and not typed[D1]:
                    put(D1, 0, diameter(S[G1][0], S[N1][0]))
                if not typed[D1] and not typed[G1]:
                    # The yield table's diameter stays; the basal area follows.
                    put(G1, 0, area(S[D1][0], S[N1][0]))
        else:
            put(RTA1, 0, 10000 / (M.sqrt(S[N1][0]) * S[Hg1][0]))

    def compare(self, a, b):
        """-1, 0 or 1 as a constraint value a lies below, on or above its
        bound b; a tie is read as set out in __init__."""
        if abs(a - b) <= 1e-12 * max(1.0, abs(a), abs(b)):
            self.ties += 1
            self.tie_years.add(self.year)
            if self.year in self.tie_readings:
                return self.tie_readings[self.year]
            if self.exact_ties:
                return 0
        return (a > b) - (a < b)

    def gt(self, a, b):
        return self.compare(a, b) > 0

    def lt(self, a, b):
        return self.compare(a, b) < 0

    def ramp(self, age, start, end):
        if age < self.ThinStartAge:
            return start
        if age > self.ThinEndAge:
            return end
        return start + (end - start) * (age - self.ThinStartAge) / (self.ThinEndAge - self.ThinStartAge)

    def ThinYear(self, i, age, typed, anyTyped):
        S = self.StandTable
        self.year = i
        q = self.ramp(age, self.QuotientStart, self.QuotientEnd)
        rsTarget = removal = Real(SENTINEL)
        g1 = S[G1][i]
        if self.MeasureIsBasalArea:
            gTarget = self.ramp(age, self.TargetGStart, self.TargetGEnd)
            if self.ThinGMin <= g1 <= self.ThinGMax and g1 - gTarget >= 0:
                removal = g1 - gTarget
            else:
                removal = Real(0.0)
            self.ThinStand(i, typed, 0, removal, q, rsTarget)
            if anyTyped or self.ThinningWithinLimits(i):
                return
            for _ in range(6):
                v2, g2, rta3, rta1 = S[V2][i], S[G2][i], S[RTA3][i], S[RTA1][i]
                mode = None
                gt, lt = self.gt, self.lt
                if gt(v2, self.ThinVMax):
                    mode = 1
                elif gt(100 * g2 / g1, self.ThinPctMax):
                    mode = 2
                elif lt(rta3, self.RemRSMin):
                    mode = 3
                elif gt(rta3, self.RemRSMax) and lt(rta1, self.RemRSMax):
                    mode = 4
                elif lt(v2, self.ThinVMin) or lt(100 * g2 / g1, self.ThinPctMin):
                    removal = Real(0.0)
                    mode = 0
                if mode is not None:
                    self.ThinStand(i, typed, mode, removal, q, rsTarget)
                if self.ThinningWithinLimits(i):
                    break
        else:
            if self.ThinGMin <= g1 <= self.ThinGMax:
                rsTarget = self.ramp(age, self.TargetRSStart, self.TargetRSEnd)
            else:
                rsTarget = S[RTA1][i]
            if rsTarget < S[RTA1][i]:
                rsTarget = S[RTA1][i]
            self.ThinStand(i, typed, 0, removal, q, rsTarget)
            if anyTyped or self.ThinningWithinLimits(i):
                return
            for _ in range(6):
                v2, g2, g3 = S[V2][i], S[G2][i], S[G3][i]
                mode = None
                gt, lt = self.gt, self.lt
                if gt(v2, self.ThinVMax):
                    mode = 1
                elif gt(100 * g2 / g1, self.ThinPctMax):
                    mode = 2
                elif lt(g3, self.RemGMin) and gt(g1, self.RemGMin):
                    mode = 3
                elif gt(g3, self.RemGMax):
                    mode = 4
                elif lt(v2, self.ThinVMin) or lt(100 * g2 / g1, self.ThinPctMin):
                    rsTarget = S[RTA1][i]
                    mode = 0
                if mode is not None:
                    self.ThinStand(i, typed, mode, removal, q, rsTarget)
                if self.ThinningWithinLimits(i):
                    break

    def ThinningWithinLimits(self, i):
        S = self.StandTable
        gt, lt = self.gt, self.lt
        v2, g1, g2, g3 = S[V2][i], S[G1][i], S[G2][i], S[G3][i]
        if not ((abs(v2) <= 1e-9 or not lt(v2, self.ThinVMin)) and not gt(v2, self.ThinVMax)):
            return False
        if self.MeasureIsBasalArea:
            rta3 = S[RTA3][i]
            if not (not lt(rta3, self.RemRSMin)
                    and (gt(S[RTA1][i], self.RemRSMax) or not gt(rta3, self.RemRSMax))):
                return False
        elif not ((lt(g1, self.RemGMin) or not lt(g3, self.RemGMin)) and not gt(g3, self.RemGMax)):
            return False
        return ((abs(g2) < 1e-9 or not lt(100 * g2 / g1, self.ThinPctMin))
                and not gt(100 * g2 / g1, self.ThinPctMax))

    def ThinStand(self, i, typed, mode, removal, quotient, rsTarget):
        """One thinning of year i; returns failed."""
        S, put = self.StandTable, self.put
        d1 = S[D1][i]
        basal = self.MeasureIsBasalArea
        if not typed:
            put(Q1, i, quotient)
            put(D2, i, quotient * d1 if d1 > 0 else SENTINEL)
            if mode == 1:
                return not self.SolveThinning(i, Q1, V2, quotient, self.ThinVMax)
            if mode == 2:
                put(G2, i, self.ThinPctMax / 100 * S[G1][i])
                self.Chain(i, S, None, 2, 10)
                return False
            if basal:
                if mode == 0:
                    put(G2, i, removal)
                    self.Chain(i, S, None, 2, 10)
                    return False
                bound = self.RemRSMin if mode == 3 else self.RemRSMax
                return not self.SolveThinning(i, Q1, RTA3, quotient, bound)
            if mode == 0:
                return not self.SolveThinning(i, Q1, RTA3, quotient, rsTarget)
            bound = self.RemGMin if mode == 3 else self.RemGMax
            return not self.SolveThinning(i, Q1, G3, quotient, bound)
        if len(typed) == 1:
            x = typed[0]
            v = S[x][i]
            if x in (D2, Q1):
                if x == D2:
                    put(Q1, i, S[D2][i] / d1 if d1 > 0 else SENTINEL)
                else:
                    put(D2, i, S[Q1][i] * d1 if d1 > 0 else SENTINEL)
                if basal:
                    put(G2, i, removal)
                    self.Chain(i, S, None, 2, 10)
                    return False
                return not self.SolveThinning(i, Q1, RTA3, S[Q1][i], rsTarget)
            if x in (N2, V2, G2, N3, G3, V3, RTA3):
                put(Q1, i, quotient)
                put(D2, i, quotient * d1 if d1 > 0 else SENTINEL)
                return not self.SolveThinning(i, Q1, x, quotient, v)
            if x in (Q3, D3):
                if basal:
                    put(G2, i, removal)
                    return not self.SolveThinning(i, G2, x, removal, v)
                return not self.SolveThinning(i, x, RTA3, v, rsTarget)
            return True
        a, b = OrderByFixPriority(typed[0], typed[1])
        return not self.SolveThinning(i, a, b, S[a][i], S[b][i])

    # Step of the chain after which each variable is known.
    _STEP_OF = {D2: 1, N2: 2, G3: 3, N3: 4, D3: 5, Q3: 6, HD3: 7, Hg3: 7, V3: 7, RTA3: 8, V2: 9,
                G2: 0, Q1: 0}

    def Chain(self, i, s, table_year, first, last):
        """Steps first..last of the thinning chain on s (the table, with
        table_year None meaning s is StandTable and year i is used, or a
        scratch dictionary)."""
        S = self.StandTable
        sp, vd, mvd = self.CurrentSpecies, self.VolumeDefinition, self.MinVolumeDiameter
        d1, hd1, g1, n1, v1 = S[D1][i], S[HD1][i], S[G1][i], S[N1][i], S[V1][i]
        on_table = s is S

        def get(v):
            return S[v][i] if on_table else s[v]

        def set_(v, x):
            if on_table:
                self.put(v, i, x)
            else:
                if not math.isfinite(x):
                    raise FloatingPointFault()
                s[v] = Real(x)

        def difference(v, a, b):
            if on_table and a > 0 and b >= 0 and abs(a - b) <= 1e-9 * abs(a):
                self.fragile.add((v, i))
            # Equal amounts leave nothing, but two invalid amounts stay
            # invalid; amounts apart only by rounding count as equal.
            if a >= 0 and b >= 0 and abs(a - b) <= SAME_AMOUNT * a:
                return 0.0
            if a > 0 and b >= 0 and a > b:
                return a - b
            return SENTINEL

        for step in range(first, last + 1):
            if step == 1:
                q1 = get(Q1)
                set_(D2, q1 * d1 if q1 > 0 and d1 > 0 else SENTINEL)
            elif step == 2:
                d2, g2 = get(D2), get(G2)
                if d2 > 0 and g2 > 0:
                    set_(N2, g2 / ((d2 / 100) * (d2 / 100) * QUARTER_PI))
                elif d2 > 0 and g2 == 0:
                    set_(N2, 0.0)
                else:
                    set_(N2, SENTINEL)
            elif step == 3:
                set_(G3, difference(G3, g1, get(G2)))
            elif step == 4:
                set_(N3, difference(N3, n1, get(N2)))
            elif step == 5:
                n3, g3 = get(N3), get(G3)
                set_(D3, 100 * M.sqrt(FOUR_OVER_PI * g3 / n3) if n3 > 0 and g3 > 0 else SENTINEL)
            elif step == 6:
                d2, d3 = get(D2), get(D3)
                set_(Q3, d2 / d3 if d2 > 0 and d3 > 0 else SENTINEL)
            elif step == 7:
                d3 = get(D3)
                set_(HD3, M.HdomAfterThinning(sp, d1, d3, hd1)
                     if d3 > 0 and d1 > 0 and hd1 > 0 else SENTINEL)
                hd3 = get(HD3)
                set_(Hg3, M.HgFromHdom(sp, hd3) if hd3 > 0 else SENTINEL)
                n3, hg3 = get(N3), get(Hg3)
                if n3 > 0 and d3 / 100 > mvd and hg3 > 0 and d1 > 0:
                    tree = M.TreeVolume(vd, sp, d3 / 100, hg3, d1 / 100)
                    set_(V3, tree * n3 if tree >= 0 else SENTINEL)
                elif n3 >= 0 and d3 > 0 and hg3 > 0 and d1 > 0:
                    set_(V3, 0.0)
                else:
                    set_(V3, SENTINEL)
            elif step == 8:
                n3, hg3 = get(N3), get(Hg3)
                set_(RTA3, 10000 / (M.sqrt(n3) * hg3) if n3 > 0 and hg3 > 0 else SENTINEL)
            elif step == 9:
                set_(V2, difference(V2, v1, get(V3)))
            elif step == 10:
                v2, n2, d2, g2 = get(V2), get(N2), get(D2), get(G2)
                if on_table and v2 > 0:
                    # V2 is a difference of two volumes: a few units in the
                    # last place of the larger one, relative to V2, carry
                    # over to the tree height found for its mean volume.
                    accuracy = 4e-14 * max(abs(v1), abs(get(V3))) / v2
                    if accuracy > 1e-10:
                        for v in (Hg2, HD2, RTA2, F2):
                            self.tolerance[(v, i)] = 4 * accuracy
                if v2 > 0 and n2 > 0 and d2 / 100 > mvd and d1 > 0:
                    set_(Hg2, M.HeightForTreeVolume(vd, sp, v2 / n2, d2 / 100, d1 / 100))
                else:
                    set_(Hg2, SENTINEL)
                hg2 = get(Hg2)
                set_(HD2, M.HdomFromHg(sp, hg2) if hg2 > 0 else SENTINEL)
                set_(RTA2, 10000 / (M.sqrt(n2) * hg2) if n2 > 0 and hg2 > 0 else SENTINEL)
                set_(F2, v2 / (g2 * hg2) if v2 >= 0 and g2 > 0 and hg2 > 0 else SENTINEL)
                v3, g3, hg3 = get(V3), get(G3), get(Hg3)
                set_(F3, v3 / (g3 * hg3) if v3 >= 0 and g3 > 0 and hg3 > 0 else SENTINEL)

    def EvaluateThinning(self, i, write, g2, q1, a, b):
        S = self.StandTable
        last = self._STEP_OF[b]
        if write:
            self.put(G2, i, g2)
            self.put(Q1, i, q1)
            self.Chain(i, S, None, 1, 10)
            s = {v: S[v][i] for v in range(47)}
        else:
            s = {G2: Real(g2), Q1: Real(q1)}
            self.Chain(i, s, None, 1, last)
        remaining = s[D3] if last >= 5 else SENTINEL
        return s[a], s[b], remaining

    def VariableRange(self, i, v):
        S = self.StandTable
        d1 = S[D1][i]
        if v == D2:
            return VARIABLE_MIN[Q1] * d1, VARIABLE_MAX[Q1] * d1
        if v in (N2, N3):
            return 0.0, S[N1][i]
        if v in (G2, G3):
            return 0.0, S[G1][i]
        if v in (V2, V3):
            return 0.0, S[V1][i]
        if v == D3:
            return VARIABLE_MIN[Q1] * d1 / VARIABLE_MAX[Q3], VARIABLE_MAX[Q1] * d1 / VARIABLE_MIN[Q3]
        return VARIABLE_MIN[v], VARIABLE_MAX[v]

    def SolveThinning(self, i, a, b, valueA, valueB):
        S = self.StandTable
        minA, maxA = self.VariableRange(i, a)
        minB, maxB = self.VariableRange(i, b)
        if a == G2:
            gLo = gHi = valueA
        elif b == G2:
            gLo = gHi = valueB
        else:
            gLo, gHi = Real(0.0), S[G1][i]
        gFree = a != G2 and b != G2
        if a == Q1:
            qLo = qHi = valueA
        elif b == Q1:
            qLo = qHi = valueB
        else:
            qLo, qHi = Real(VARIABLE_MIN[Q1]), Real(VARIABLE_MAX[Q1])
        qFree = a != Q1 and b != Q1
        if valueA < minA or valueA > maxA or valueB < minB or valueB > maxB:
            return False
        d1 = S[D1][i]
        midA, midB = (minA + maxA) / 2, (minB + maxB) / 2

        def misfit(g2, q1):
            achievedA, achievedB, remaining = self.EvaluateThinning(i, False, g2, q1, a, b)
            m = 100 * abs(achievedA - valueA) / midA + 100 * abs(achievedB - valueB) / midB
            if remaining >= 0:
                m = m + abs(remaining - d1) / d1
            return m, achievedA, achievedB

        best = None  # (misfit, G2, Q1, achievedA, achievedB)
        gGrid = [gLo + (gHi - gLo) * 0.1 * e for e in range(1, 10)] if gFree else [gLo]
        qGrid = [qLo + (qHi - qLo) * 0.1 * e for e in range(1, 10)] if qFree else [qLo]
        for g in gGrid:
            for q in qGrid:
                m, achievedA, achievedB = misfit(g, q)
                if m < (1e24 if best is None else best[0]):
                    best = (m, g, q, achievedA, achievedB)
        if best is None:
            raise Unspecified("no grid point of the thinning search is usable")
        step, iterations = 0.27, 0
        while True:
            step = step * 0.618
            _, cg, cq, _, _ = best
            neighbours = []
            sg, sq = step * (gHi - gLo), step * (qHi - qLo)
            if gFree:
                neighbours.append((cg - sg, cq))
            if qFree:
                neighbours += [(cg, cq - sq), (cg, cq + sq)]
            if gFree:
                neighbours.append((cg + sg, cq))
            for g, q in neighbours:
                if g < gLo or g > gHi or q < qLo or q > qHi:
                    continue  # misfit 1e24, never better than a usable point
                m, achievedA, achievedB = misfit(g, q)
                if m < best[0]:
                    best = (m, g, q, achievedA, achievedB)
            iterations += 1
            if (best[0] < 1e-24 or iterations > 200
                    or (abs(valueA - best[3]) < 1e-6 and abs(valueB - best[4]) < 1e-6)):
                break
        self.EvaluateThinning(i, True, best[1], best[2], a, b)
        self.put(46, i, iterations)
        if iterations > 200 and (self.unsettled is None or i < self.unsettled):
            self.unsettled = i
        return iterations <= 200

    def ThinningNegligible(self, v, position):
        y = position - 1
        for rank in range(FixPriority(v)):
            w = VariableOfPriority(rank)
            if w in (N2, G2, V2, N3, G3, V3) and abs(self.StandTable[w][y]) < VARIABLE_MIN[w] + 0.0001:
                return True
        return False

    def ComputeIncrements(self):
        S, put = self.StandTable, self.put
        start, end = self.TableStartAge, self.TableEndAge
        sums = {"HD": Real(0.0), "Hg": Real(0.0), "D": Real(0.0), "N": Real(0.0),
                "G": S[G1][0], "V": S[V1][0], "F": Real(0.0), "RS": Real(0.0)}
        # name, before, after, current, mean, total, mean from first year
        plan = (("HD", HD1, HD3, 27, 35, None, True), ("Hg", Hg1, Hg3, 28, 36, None, True),
                ("D", D1, D3, 29, 37, None, True), ("N", N1, N3, 30, 38, 43, False),
                ("G", G1, G3, 31, 39, 44, False), ("V", V1, V3, 32, 40, 45, False),
                ("F", F1, F3, 33, 41, None, True), ("RS", RTA1, RTA3, 34, 42, None, True))
        for a in range(start, end + 1):
            i = a - start
            try:
                for name, before, after, current, mean, total, from_first in plan:
                    nxt = S[before][i + 1] if a < end else SENTINEL
                    now = S[after][i]
                    # Between values that cannot be computed (negative) there
                    # is no increment, and the sums that take it in are lost.
                    if a == end or nxt < 0 or now < 0:
                        increment = Real(SENTINEL)
                    else:
                        increment = nxt - now
                    put(current, i, increment)
                    if from_first:
                        put(mean, i, (S[before][0] + sums[name]) / a)
                    else:
                        put(total, i, sums[name])
                        put(mean, i, sums[name] / a)
                    sums[name] = sums[name] + increment
            except FAULTS:
                pass

    # -- grids and export -------------------------------------------------------
    def cell_text(self, grid, v, y, full_precision):
        if v == NO_VARIABLE:
            return ""
        x = self.StandTable[v][y]
        if WithinDisplayRange(v, x):
            if full_precision:
                return "%.17g" % x
            return fixed(x, Decimals(v), self.separator)
        if grid == "before":
            return self.error_text()
        thin = self.IsThinYear[y]
        if grid == "thinning":
            if thin and not self.UserFixed[v][y] and v in (HD2, Hg2, D2, F2, RTA2, Q3) \
                    and self.ThinningNegligible(v, y + 1):
                return self.na_text()
            return self.error_text() if thin else ""
        if thin and not self.UserFixed[v][y] and v in (HD3, Hg3, D3, F3, RTA3) \
                and self.ThinningNegligible(v, y + 1):
            return self.na_text()
        if self.TableStartAge + y >= self.TableEndAge and v in CURRENT_INCREMENTS:
            return ""
        return self.error_text()

    def columns(self):
        return ([("before", v) for v in self.before_columns]
                + [("thinning", v) for v in self.thinning_columns]
                + [("remaining", v) for v in self.remaining_columns])

    def export_rows(self, full_precision):
        """The header, unit and data rows as lists of cell texts."""
        symbols = SYMBOLS_EN if self.english else SYMBOLS_DK
        columns = self.columns()
        rows = [[symbols[v] for _, v in columns], [UnitOf(v, self.english) for _, v in columns]]
        for y in self.row_years():
            rows.append([self.cell_text(grid, v, y, full_precision) for grid, v in columns])
        return rows

    def export_text(self, delimiter="\t", full_precision=False):
        return "\r\n".join(delimiter.join(row) for row in self.export_rows(full_precision))

    # -- opening a settings file --------------------------------------------------
    def OpenGrowthAndYieldTable(self, data):
        """Reads a settings file (bytes) and applies it, as the program's
        Open command does; Damaged when a line cannot be read."""
        text = data.decode("cp1252", errors="replace")
        lines = text.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        lines = [line[:-1] if line.endswith("\r") else line for line in lines]

        def line(n):
            if n > len(lines):
                raise Damaged(n)
            return lines[n - 1]

        def numbers(n, kinds):
            tokens = line(n).split()
            values = []
            for k, kind in enumerate(kinds):
                value = None
                if k < len(tokens):
                    value = parse_integer(tokens[k]) if kind == "i" else parse_real(tokens[k])
                if value is None:
                    raise Damaged(n)
                values.append(value)
            return values

        def item(n, count):
            value = numbers(n, "i")[0]
            if not -1 <= value < count:
                raise Damaged(n)
            return value

        def lenient(n):
            source = line(n)
            pos = 0
            while pos < len(source) and source[pos] in "\t ;":
                pos += 1
            token = ""
            while pos < len(source) and source[pos] not in "\t ;":
                ch = source[pos]
                if ch == "," and token:
                    ch = "."
                token += ch
                pos += 1
            value = parse_real(token)
            if value is None:
                raise Damaged(n)
            return value

        # 1. Reset of the typed values, everything enabled, values read are kept.
        self.ClearUserFixed()
        self.rgShowYears = self.rgThinInterval = 1  # final workflow step
        self.StartAgeKeyed = self.YieldClassKeyed = self.StandHeightKeyed = True

        # 4. Lines 3 to 13.
        self.set_radio("rgSpecies", item(3, sum(entry.Present for entry in M.SpeciesTable)))
        self.set_radio("rgSiteQuality", item(4, 5))
        self.set_radio("rgHeight", item(5, 2))
        self.GrowthCorrection = numbers(6, "r")[0]
        M.GrowthCorrection = float(self.GrowthCorrection)
        self.set_radio("rgVolume", item(7, 4))
        self.set_radio("rgPreset", item(8, 2))
        targetItem, targetG = numbers(9, "ir")
        if not -1 <= targetItem < 3:
            raise Damaged(9)
        self.set_radio("rgTargetG", targetItem)
        self.TargetG = targetG
        self.edtTargetG = general(targetG)
        self.set_radio("rgMeasure", item(10, 2))
        self.rgShowYears = item(11, 2)
        self.rgThinInterval = item(12, 3)
        fixedFlag, userA0 = numbers(13, "ir")
        self.UserA0Fixed = fixedFlag == 1
        self.UserA0Parameter = userA0

        # 5. Columns.
        lists = []
        for n, items in ((14, BEFORE_ITEMS), (15, THINNING_ITEMS), (16, REMAINING_ITEMS)):
            last = numbers(n, "i")[0]
            if not 0 <= last <= 27:
                raise Damaged(n)
            tokens = line(n).split()
            if last == 0 and (len(tokens) < 2 or parse_integer(tokens[1]) is None):
                checked = set()  # saved with every item unchecked
            else:
                checked = set(numbers(n, "i" * (last + 2))[1:])
            if any(not 0 <= k < len(items) for k in checked):
                raise Damaged(n)
            # With nothing checked a grid keeps one column without a variable.
            lists.append([items[k] for k in sorted(checked)] or [NO_VARIABLE])
        self.before_columns, self.thinning_columns, self.remaining_columns = lists

        # 6. Graph axes (not part of the tables).
        numbers(17, "i" * 7)
        numbers(18, "i" * 7)

        # 7. Site values.
        self.SiteClass = lenient(19)
        self.edtSiteClass = general(self.SiteClass)
        self.YieldClass = lenient(20)
        self.edtYieldClass = general(self.YieldClass)
        self.StandHeight = lenient(21)
        self.edtStandHeight = general(self.StandHeight)

        # 8. Ages and intervals.
        self.StandAge = numbers(22, "i")[0]
        self.edtStandAge = str(self.StandAge)
        self.ThinStartAge = numbers(23, "i")[0]
        self.ThinEndAge = numbers(24, "i")[0]
        if not self.ThinStartAge < self.ThinEndAge:
            raise Damaged(24)
        self.TableStartAge = numbers(25, "i")[0]
        if self.TableStartAge < 16:
            raise Damaged(25)
        self.TableEndAge = numbers(26, "i")[0]
        if not self.TableStartAge < self.TableEndAge <= 250:
            raise Damaged(26)
        self.ThinIntervalYears = numbers(27, "i")[0]
        if not 1 <= self.ThinIntervalYears <= 200:
            raise Damaged(27)
        self.ThinIntervalDivisor = numbers(28, "i")[0]
        if not 1 <= self.ThinIntervalDivisor <= 200:
            raise Damaged(28)

        # 9. Regime.
        x = lenient(29)
        if self.rgMeasure == 1:
            self.TargetRSStart = x
        else:
            self.TargetGStart = x
        x = lenient(30)
        if self.rgMeasure == 1:
            self.TargetRSEnd = x
        else:
            self.TargetGEnd = x
        self.QuotientStart = lenient(31)
        self.QuotientEnd = lenient(32)

        # 10. Font size (not part of the tables).
        numbers(33, "i")

        # 11. Thinning ages.
        count = numbers(34, "i")[0]
        if count < 0 or count > 250:
            raise Damaged(34)
        ages = numbers(34, "i" * (count + 1))[1:]
        self.edtThinYear = "".join("%d, " % a for a in ages)
        self.EstablishThinList()

        # 12. Input grids.
        def fields(n, count):
            source, pos, result = line(n), 0, []
            for _ in range(count):
                end = source.find("#", pos)
                if end < 0:
                    result.append(source[pos:])
                    pos = len(source)
                else:
                    result.append(source[pos:end])
                    pos = end + 1
            return result

        inventory = fields(35, 40)
        self.inventory = [inventory[4 * r:4 * r + 4] for r in range(10)]
        self.soil = fields(36, 4)
        constraints = fields(37, 8)
        self.constraints = [[constraints[2 * r], constraints[2 * r + 1]] for r in range(4)]
        self.constraints[0][1] = self.na_text()
        self.ReadConstraints()

        # 13. Typed values.
        for n in range(38, len(lines) + 1):
            v, j, value = numbers(n, "iir")
            if not 0 <= v <= 45 or v in COMPUTED or not 1 <= j <= 250:
                continue  # can never be typed
            if not self.UserFixed[v][j - 1]:
                if 1 <= v <= 8:
                    self.StateTypedCount += 1
                else:
                    self.ThinTypedCount += 1
            if 1 <= v <= 8:
                self.StateTableTyped = True
            else:
                self.ThinTableTyped = True
            self.StandTable[v][j - 1] = value
            self.UserFixed[v][j - 1] = True

        # 14. The growth parameter.
        self.A0Parameter = self.EstimateA0parameter(False)

    def ShowTablesPage(self):
        self.EstablishThinList()
        self.WriteTables()


def compute(data, english=False, decimal_comma=False, file_name="FILE.orven", exact_ties=False,
            tie_readings=None):
    """Opens the settings file (bytes) in a fresh session and computes the
    table.  Returns (status, session): status 0 when the table was computed,
    1 when a line could not be read (the damaged-line message is the last
    one of session.messages)."""
    session = Session(english=english, decimal_comma=decimal_comma, exact_ties=exact_ties,
                      tie_readings=tie_readings)
    try:
        session.OpenGrowthAndYieldTable(data)
    except Damaged as damaged:
        session.show(MSG["damaged"][0 if english else 1] % (damaged.line, file_name))
        return 1, session
    session.ShowTablesPage()
    return 0, session


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--parameters", required=True)
    parser.add_argument("--english", action="store_true")
    parser.add_argument("--semicolon", action="store_true")
    parser.add_argument("--decimal-comma", action="store_true")
    parser.add_argument("--full-precision", action="store_true")
    parser.add_argument("file")
    args = parser.parse_args(argv)
    if not load_parameters(args.parameters):
        print(message_line(M.NOT_FOUND_MESSAGE_UK), file=sys.stderr)
        return 2
    if not os.path.isfile(args.file):
        print("file not found: " + args.file, file=sys.stderr)
        return 2
    with open(args.file, "rb") as f:
        data = f.read()
    try:
        status, session = compute(data, args.english, args.decimal_comma, args.file)
    except Unspecified as problem:
        print("unspecified: %s" % problem, file=sys.stderr)
        return 4
    for text in session.messages:
        print(message_line(text), file=sys.stderr)
    if status == 0:
        sys.stdout.write(session.export_text(";" if args.semicolon else "\t", args.full_precision))
    return status


if __name__ == "__main__":
    sys.exit(main())
