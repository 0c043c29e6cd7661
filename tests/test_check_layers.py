"""The layer check on small trees: a check that passes everything would let
the folders drift back into each other unnoticed."""
import tempfile
import unittest
from pathlib import Path

from check_layers import check

# A clean tree: each folder includes itself and folders below it.
CLEAN = {
    "model/GrowthModel.h": '#include <vector>\n#include "model/Language.h"\n',
    "messages/InputChecks.h": '#include "catalogue/VariableCatalogue.h"\n#include "model/Language.h"\n',
    "site/SiteSearch.h": '#include "projection/ProjectionTables.h"\n',
    "app/session/Session.h": '#include "site/SiteEstimation.h"\n#include "tables/TableCells.h"\n',
    "graphs/Chart.cpp": '#include <QPainter>\n#include "qcustomplot.h"\n#include "app/session/Session.h"\n',
    "app/MainWindow.cpp": '#include <QMainWindow>\n#include "graphs/Chart.h"\n',
    "cli/main.cpp": '#include "app/session/Session.h"\n#include "gtest/gtest.h"\n',
}


def faults_of(extra):
    with tempfile.TemporaryDirectory() as root:
        src = Path(root) / "src"
        for name in ("model", "catalogue", "messages", "projection", "site", "tables", "graphs", "cli"):
            (src / name).mkdir(parents=True)
        (src / "app" / "session").mkdir(parents=True)
        for name, text in {**CLEAN, **extra}.items():
            path = src / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        return check(src)


class CheckLayersTest(unittest.TestCase):
    def test_clean_tree_passes(self):
        self.assertEqual(faults_of({}), [])

    def test_each_fault_is_named_with_file_and_line(self):
        cases = [
            ("upward", {"projection/ProjectionTables.h": '// x\n#include "site/SiteState.h"\n'},
             "src/projection/ProjectionTables.h:2:", "stands above it"),
            ("ground floor reaches up", {"catalogue/VariableCatalogue.h": '#include "messages/Messages.h"\n'},
             "src/catalogue/VariableCatalogue.h:1:", "stands above it"),
            ("session reaches into the program", {"app/session/Workflow.h": '#include "app/MainWindow.h"\n'},
             "src/app/session/Workflow.h:1:", "includes the desktop program (app)"),
            ("command line uses the graphs", {"cli/Plot.cpp": '#include "graphs/Chart.h"\n'},
             "src/cli/Plot.cpp:1:", "includes the desktop program (graphs)"),
            ("desktop program beside orven-table", {"cli/Run.cpp": ' #  include "app/session/Session.h"\n'
                                                    '#include "app/MainWindow.h"\n'},
             "src/cli/Run.cpp:2:", "includes the desktop program (app)"),
            ("program beside orven-table", {"app/Run.cpp": '#include "cli/TableCommand.h"\n'},
             "src/app/Run.cpp:1:", "stands beside it"),
            ("Qt in the core", {"tables/ExportText.cpp": '#include <cmath>\n#include <QString>\n'},
             "src/tables/ExportText.cpp:2:", "the core (tables) includes Qt"),
            ("QCustomPlot in the session", {"app/session/Plot.h": '#include "qcustomplot/qcustomplot.h"\n'},
             "src/app/session/Plot.h:1:", "the core (app/session) includes Qt"),
            ("unknown folder", {"widgets/Button.h": "\n"},
             "src/widgets/: folder not in the layer order", "place it in LAYERS"),
        ]
        for name, extra, where, what in cases:
            with self.subTest(name):
                faults = faults_of(extra)
                self.assertEqual(len(faults), 1, faults)
                self.assertTrue(faults[0].startswith(where), faults[0])
                self.assertIn(what, faults[0])


if __name__ == "__main__":
    unittest.main()
