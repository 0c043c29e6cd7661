// The session's side of the main window's shell: the language switch, the
// menu state, the font steps, the window caption and the recent-file item.

#include <algorithm>
#include <string_view>

#include "app/session/Session.h"
#include "projection/ThinningSchedule.h"
#include "site/SiteTexts.h"
#include "tables/TableCells.h"

namespace orven {
namespace {

// A site-quality label is its prefix, " = " and the value the last estimate
// gave; only the prefix depends on the language, so the label is rebuilt
// from the value it shows without estimating again.
void Relabel(std::string& label, const BilingualText& prefix, Language language) {
  for (const char* old : {prefix.English, prefix.Danish}) {
    const std::string head = std::string(old) + " = ";
    if (label.starts_with(head)) {
      label = Choose(prefix, language) + " = " + label.substr(head.size());
      return;
    }
  }
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Upper case of ASCII and of the Latin-1 letters (æ, ø, å and the accented
// ones), which are two bytes in UTF-8.
std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (std::size_t i = 0; i < upper.size(); ++i) {
    unsigned char& c = reinterpret_cast<unsigned char&>(upper[i]);
    if (c >= 'a' && c <= 'z') {
      c -= 'a' - 'A';
    } else if (c == 0xC3 && i + 1 < upper.size()) {
      unsigned char& next = reinterpret_cast<unsigned char&>(upper[i + 1]);
      if (next >= 0xA0 && next <= 0xBE && next != 0xB7) next -= 0x20;  // ÷ has no capital
      ++i;
    }
  }
  return upper;
}

// The bytes of the first `count` characters of UTF-8 text.
std::size_t LeadingBytes(std::string_view text, int count) {
  std::size_t end = 0;
  for (int n = 0; n < count && end < text.size(); ++n) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return end;
}

}  // namespace

// --- language ---------------------------------------------------------------------

void Session::ReloadDescription() {
  Description = DescriptionTemplate ? DescriptionTemplate(language_) : std::vector<std::string>{};
}

void Session::SetLanguage(Language language) {
  language_ = language;
  Regime.language = language;

  // Rebuilding the items deselects and reselects a chosen standard regime,
  // which would put its values over a first/last-thinning regime set since;
  // the switch keeps the regime as it is and takes only the new items.
  const RegimePage regime = Regime;
  SetTargetBasalAreas(Regime, Species.CurrentSpecies, textWidth_);
  const std::array<std::string, 3> items = Regime.rgTargetGItems;
  Regime = regime;
  Regime.rgTargetGItems = items;

  Relabel(SiteView.lblSC, site_text::SiteClassPrefix, language_);
  Relabel(SiteView.lblYC, site_text::YieldClassPrefix, language_);
  Relabel(SiteView.lblSI, site_text::SiteIndexPrefix, language_);
  Relabel(SiteView.lblA0, site_text::GrowthRatePrefix, language_);

  SetIntensityLabels(Regime);
  Schedule.lblInitState = InitStateLabel(Tables.TableStartAge, language_);
  Results.InitState = WriteInitialState(Typing, Tables, Steps.StepEnabled[10], DominantHeight(), language_,
                                        decimalSeparator_);
  InitStateCells = Results.InitState;
  if (!DescriptionEdited) ReloadDescription();
  if (NoTableComputed)
    Results.ErrorLine = NoTableText(language_);
  else
    WriteTables();  // only to rewrite the cell texts
  SetConstraintHeadings(Regime);
}

// --- menus ------------------------------------------------------------------------

MenuState Session::Menus(const ViewState& view) const {
  MenuState m;
  m.miNew = Steps.StepEnabled[2];
  // The font items of the pop-up menus and the large graph follow the table font alone.
  m.FontIncrease = TableFontSize < 12;
  m.FontDecrease = TableFontSize > 8;
  // Until the final step the reset's state holds: the page does not count.
  if (!Steps.FinalEnabled) return m;

  m.miSave = m.miSaveAs = m.miExport = true;
  m.miLargeGraph = true;
  const bool fontMenu = view.Page == 4 || view.Page == 5 || view.LargeGraphVisible;
  m.miIncFontm = fontMenu && m.FontIncrease;
  m.miDecFontm = fontMenu && m.FontDecrease;
  using Focus = ViewState::Focus;
  if (view.Page == 4) {
    m.miClearTable = Tables.ThinTableTyped || Tables.StateTableTyped;
    m.miDelEntry = view.Focused == Focus::ResultGrid && view.SingleCell &&
                   CellIsTyped(Tables, ColumnsOf(view.Grid), view.Column, view.Row);
    m.miDeleteEntry = m.miDelEntry;
    m.miCopyTables = m.miCopySelection = m.miVariableSelection = m.miListOfVariables = true;
    m.miUpdate = !AutoUpdate;
  } else if (view.Page == 3 && view.Focused == Focus::InitState && view.SingleCell) {
    const int variable = InitStateVariableOfRow(view.Row, DominantHeight());
    m.miDelInitEntry = variable >= 0 && variable < VariableCount && Tables.Typed(variable, 0);
    m.miDeleteEntry = m.miDelInitEntry;
  }
  return m;
}

// --- fonts ------------------------------------------------------------------------

void Session::IncreaseFontSize() {
  if (TableFontSize > 10) return;
  TableFontSize += 2;
  GraphFontFactor *= 1.2;
}

void Session::DecreaseFontSize() {
  if (TableFontSize < 10) return;
  TableFontSize -= 2;
  GraphFontFactor /= 1.2;
}

// The charts follow the tables' size, whatever steps led to it.
void Session::SetTableFontSize(int size) {
  TableFontSize = std::clamp(size, 8, 12);
  constexpr double chartFactors[] = {1.44, 1.2, 1.0};  // by TableFontCode
  GraphFontFactor = chartFactors[TableFontCode()];
}

// A settings file may hold any size from 8 to 12; the odd ones draw as the medium font.
int Session::TableFontCode() const {
  if (TableFontSize <= 8) return 2;
  return TableFontSize >= 12 ? 0 : 1;
}

// --- caption and recent file -----------------------------------------------------------

std::string Session::FormCaption() const {
  const bool english = language_ == Language::English;
  std::string species = "   ";
  if (SiteView.rgSpecies >= 0 && Species.CurrentSpecies >= 0 && Species.CurrentSpecies < SpeciesCount) {
    const SpeciesEntry& entry = store_->SpeciesTable[Species.CurrentSpecies];
    species = "(" + (english ? entry.NameUK : entry.NameDK) + ")";
  }
  const std::string credit = english ? "ORVEN growth and yield tables, 2009" : "ORVEN produktionsoversigter, 2009";
  if (!CurrentFileName.empty()) {
    return ShortFileName(CurrentFileName) +
           (english ? ":  Growth and yield table based on dynamic growth models "
                    : ":  Produktionsoversigt baseret på dynamiske vækstmodeller ") +
           species + std::string(6, ' ') + credit;
  }
  return english ? "ORVEN: Growth and yield tables based on dynamic growth models " + species +
                       std::string(22, ' ') + credit
                 : "ORVEN: Produktionsoversigter baseret på dynamiske vækstmodeller " + species +
                       std::string(20, ' ') + credit;
}

std::string ShortFileName(const std::string& path) {
  const auto last = std::find_if(path.rbegin(), path.rend(), IsSeparator);
  return UpperCase(std::string_view(path).substr(path.rend() - last));
}

std::string OpenExistingCaption(const std::string& path) {
  const std::string prefix = "&1:  ";
  const auto last = std::find_if(path.rbegin(), path.rend(), IsSeparator);
  // The separator's position counted from 1, 0 without one: short paths are shown whole.
  const std::size_t position = path.rend() - last;
  if (position < 4) return prefix + path;
  std::string rest = path.substr(position - 1);
  if (rest.ends_with("orven")) rest.resize(rest.size() - 6);
  return prefix + path.substr(0, LeadingBytes(path, 3)) + ".." + rest;
}

}  // namespace orven
