#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/session/Workflow.h"
#include "catalogue/VariableCatalogue.h"
#include "messages/InputChecks.h"
#include "messages/Messages.h"
#include "model/ParameterStore.h"
#include "model/SiteParameters.h"
#include "projection/ProjectionTables.h"
#include "projection/RegimeControls.h"
#include "projection/StandSettings.h"
#include "projection/TypedValues.h"
#include "site/SiteEstimation.h"
#include "tables/ExportText.h"

namespace orven {

inline constexpr int GraphCount = 7;  // the six charts and the large graph

// The species and site page as the view shows it.
struct SitePageState {
  int rgSpecies = -1;
  int rgVolume = -1;
  SiteInputs Inputs;  // rgSiteQuality, rgHeight, the site edits and grids
  std::string edtA0parameter;
  std::string edtGcorrection = "1";
  std::string lblSC, lblYC, lblSI, lblA0;
  SiteFocus Focus = SiteFocus::None;  // the grid to focus after the last estimate
  bool ShowA0param = false;           // miShowA0param: the growth-parameter box is shown
};

// The interval and row controls below the result grids, and the age range.
struct SchedulePage {
  int rgThinInterval = -1;  // 0 fixed, 1 proportional, 2 varying list, -1 none
  int rgShowYears = -1;     // 0 all years, 1 thinnings only, -1 none
  std::string edtThinInterval1 = "5";
  std::string edtThinInterval2 = "10";
  std::string edtThinYear = "30, 34, 40";
  std::string edtStartAge = "20";
  std::string edtEndAge = "80";
  std::string lblInitState;
};

// What the last WriteTables left for the view.
struct ResultView {
  std::vector<int> RowYears;         // the year index of each data row
  std::array<GridTexts, 3> Grids;    // headers, units and cell texts of the three grids
  bool ProjectionOk = true;          // shError hidden
  std::string ErrorLine;             // lblErrorMsgs
  InitStateTexts InitState;          // the value cells of sgInitState
};

// Which of the site page's edits.
enum class SiteEdit { SiteClass, StandHeight, YieldClass, StandAge, A0parameter, Gcorrection };

// Which of the thinning-preset page's regime edits.
enum class RegimeEdit { TargetG, ThinStart, ThinEnd, ThinIstart, ThinIend, ThinMstart, ThinMend };

// The outcome of opening a settings file.
enum class OpenOutcome { Opened, Missing, Damaged };

struct Preferences;         // app/session/Preferences.h
struct PreferencesReading;

// What the view tells about itself when the menus are set.
struct ViewState {
  int Page = 0;                     // 0 welcome .. 6 description
  bool LargeGraphVisible = false;
  enum class Focus { Other, ResultGrid, InitState } Focused = Focus::Other;
  ResultGrid Grid = ResultGrid::BeforeThin;  // when Focused == ResultGrid
  bool SingleCell = false;          // exactly one cell selected in the focused grid
  int Column = -1, Row = -1;        // that cell: a result grid's column and data row (from 1), or sgInitState's row
};

// Which menu items are enabled. FontIncrease stands for miIncFont, miIncFontG
// and miIncFontLG, FontDecrease for miDecFont, miDecFontG and miDecFontLG;
// miUpdate for miUpdatem too.
struct MenuState {
  bool miNew = false, miSave = false, miSaveAs = false, miExport = false, miClearTable = false,
       miDeleteEntry = false, miDelEntry = false, miDelInitEntry = false, miCopyTables = false,
       miCopySelection = false, miVariableSelection = false, miListOfVariables = false,
       miLargeGraph = false, miUpdate = false, FontIncrease = false, FontDecrease = false,
       miIncFontm = false, miDecFontm = false;
  bool operator==(const MenuState&) const = default;
};

// One growth-and-yield table being prepared: every setting and input text the
// computation reads, and the logic of the window's event handlers. The
// desktop program is a view over it and orven-table drives it without one;
// several sessions can live side by side.
//
// Handlers append the messages a window would show to a queue that the
// caller drains with TakeMessages(), in the order they arose.
class Session {
public:
  using TextWidth = std::function<int(const std::string&)>;

  explicit Session(const ParameterStore& store, Language language = Language::Danish,
                   char decimalSeparator = ',', TextWidth textWidth = {});

  // --- state ---------------------------------------------------------------
  const ParameterStore& Store() const { return *store_; }
  Language language() const { return language_; }
  char DecimalSeparator() const { return decimalSeparator_; }

  SpeciesSelection Species;      // CurrentSpecies, YieldTableReference
  int VolumeDefinition = 0;
  SiteParameters Site;
  SiteState SiteValues;
  SitePageState SiteView;
  RegimePage Regime;             // the thinning-preset page and the regime it sets
  SchedulePage Schedule;
  ProjectionTables Tables;
  ColumnSelection Columns;
  TypingState Typing;
  InitStateTexts InitStateCells{};  // what sgInitState holds as typed
  std::array<int, GraphCount> GraphXVariable{};
  std::array<int, GraphCount> GraphYVariable{};
  std::vector<std::string> Description;  // the description page, one text per line
  bool DescriptionEdited = false;
  Workflow Steps;
  ResultView Results;

  bool TableChanged = false;
  bool AutoUpdate = true;         // miAutoUpdate
  int TableFontSize = 8;          // points, 8 to 12
  bool ResetInProgress = false;
  bool NoTableComputed = true;
  std::string CurrentFileName;
  std::string RecentFileName;

  // Interface options, kept between runs in the preferences file.
  bool VerticalShift = true;      // miVertShiftGraph
  bool TabDelimiter = true;       // miTabDelim, else semicolons
  bool WelcomeAccepted = false;
  bool PreferencesRead = false;
  double GraphFontFactor = 1.0;   // chart fonts relative to 8 points
  // The description template of a language, set by the view; without one a
  // new description is empty.
  std::function<std::vector<std::string>(Language)> DescriptionTemplate;

  MessageList TakeMessages();
  const MessageList& PendingMessages() const { return messages_; }
  // Where the page functions of other modules add their messages.
  MessageList& MessageSink() { return messages_; }

  // The items of the species list: the present species in code order.
  std::vector<std::string> SpeciesItems() const;
  GrowthModel Model() const { return GrowthModel(*store_, Site.GrowthCorrection); }
  StandSettings Stand() const;
  CheckContext Checks() const;

  // --- a new table ---------------------------------------------------------
  std::optional<Message> NewTableQuestion() const;  // asked while TableChanged
  std::optional<Message> CloseQuestion() const;     // closing the program, asked while TableChanged
  void NewTable();

  // --- species and site page -----------------------------------------------
  void rgSpeciesClick(int item);
  void rgSiteQualityClick(int item);
  void rgHeightClick(int item);
  void rgVolumeClick(int item);
  void ChangeA0parameterSettings();  // a click on the growth-parameter field's edge
  // Leaving an edit, or Return in it; false when the text was refused (the
  // edit then gets the focus with its text selected).
  bool SiteEditExit(SiteEdit edit, const std::string& text);
  void edtGcorrectionEnter();
  void SiteInputEntered();  // one of the stand-height, site-class, yield-class or age edits gets the focus
  void SiteGridEdited();    // a keystroke in sgInventory or sgSoil
  void LeaveSitePage();

  // --- thinning-preset page ------------------------------------------------
  void rgPresetClick(int item);
  void rgTargetGClick(int item);
  void rgMeasureClick(int item);
  void RegimeInputEntered();  // an edit or track bar of either regime group got the focus
  void RegimeEditEntered(RegimeEdit edit);
  void TrackBarEntered();
  void TrackBarMoved(TrackBar bar, int position);  // by the user; the view shows Regime's positions
  // Leaving a regime edit, or Return in it; false when the text was refused.
  bool RegimeEditExit(RegimeEdit edit, const std::string& text);
  // A constraint cell selected, or the grid left; false when a message asks
  // the grid to take the focus.
  bool ReadConstraints();
  void ConstraintEdited();
  // A keystroke in a cell of sgConstraints; cells that cannot be selected keep their text.
  void ConstraintEdited(int column, int row, const std::string& text);
  bool edtStartAgeExit(const std::string& text);
  bool edtEndAgeExit(const std::string& text);
  void AgeRangeEntered();

  // --- tables page -----------------------------------------------------------
  void rgThinIntervalClick(int item);
  void rgShowYearsClick(int item);
  bool ExamineThinInterval();
  void edtThinYearExit(const std::string& text);
  void ShowTablesPage();  // the tables or graphs page is shown
  void SetTableLength();
  void WriteTables();
  // A value typed into a result grid, committed when the selection moves or
  // the grid is left.
  void GridSetEditText(ResultGrid grid, int column, int row, const std::string& text);
  void CommitEdit(ResultGrid grid);
  void InitStateEntered();  // sgInitState gets the focus, or a key is typed in it
  void ReadInitialState();
  void DeleteEntry(ResultGrid grid, int column, int row);
  void DeleteInitStateEntry(int row);
  std::optional<Message> ClearTableQuestion() const;
  void ClearTable();

  // --- description page ----------------------------------------------------
  // The user typed in the description: its lines as they now stand.
  void DescriptionTyped(std::vector<std::string> lines);

  // --- files and export -----------------------------------------------------
  std::string SettingsFileText() const;  // the file's bytes (Windows-1252, CRLF)
  bool Save(const std::string& path);    // false (with a message) on a write error
  OpenOutcome Open(const std::string& path);  // the Open command, without its dialog
  std::string ExportText(char delimiter) const;
  std::string CopyAllText() const { return ExportText(orven::TabDelimiter); }
  // The selected block of the focused result grid (columns left..right, data
  // rows top..bottom); without a focused result grid, nothing but a message.
  std::optional<std::string> CopySelectionText(std::optional<ResultGrid> focusedGrid, int left, int right,
                                               int top, int bottom);

  std::span<const std::uint8_t> ColumnsOf(ResultGrid grid) const;
  bool DominantHeight() const { return SiteView.Inputs.rgHeight == 0; }

  // --- the window's shell ---------------------------------------------------
  // Rewrites every text the session holds in the new language; never changes
  // a value of the table.
  void SetLanguage(Language language);
  MenuState Menus(const ViewState& view) const;
  // One step of the shared table font (8, 10, 12 points) and the chart fonts.
  void IncreaseFontSize();
  void DecreaseFontSize();
  void SetTableFontSize(int size);  // 8 to 12; the charts' factor follows
  int TableFontCode() const;  // 2, 1, 0 for the small, medium and large font
  // The start-up reading of the preferences file; language, options and the recent file.
  void ApplyPreferences(const PreferencesReading& reading);
  Preferences PreferencesToSave() const;
  std::string FormCaption() const;  // the main window's caption

private:
  friend class SettingsFileReader;

  void Say(Message message) { messages_.push_back(std::move(message)); }
  void Say(const MessageList& messages);
  void InitialisePresetParameters();
  void InitialiseUserInterface();
  void Reestimate(bool showMessages);
  void ApplyEstimate(const SiteEstimate& estimate);
  void PresetStandHeight();
  void EstablishThinList();
  void EnableAll();
  void EnableStepFinal();
  void FillGrids();
  void ReloadDescription();

  const ParameterStore* store_;
  Language language_;
  char decimalSeparator_;
  TextWidth textWidth_;
  MessageList messages_;
};

// The name of a settings file as the caption shows it: after the last path
// separator ('/' or '\\'), in upper case.
std::string ShortFileName(const std::string& path);
// The caption of the recent-file item miOpenExisting (its hint is the path).
std::string OpenExistingCaption(const std::string& path);

}  // namespace orven
