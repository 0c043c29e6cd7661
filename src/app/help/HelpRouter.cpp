#include "app/help/HelpRouter.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QMouseEvent>
#include <QShortcut>
#include <QTabWidget>

#include "app/SessionController.h"
#include "app/help/HelpKey.h"
#include "app/help/HelpWindow.h"
#include "app/pages/Page.h"
#include "app/windows/MainWindow.h"

namespace orven {
namespace {

constexpr std::pair<const char*, int> HelpButtons[] = {
    {"sbtnHelpP3", 2}, {"sbtnHelpP4", 3}, {"sbtnHelpP5", 4}, {"sbtnHelpP7", 6}};

std::optional<ResultGrid> FocusedGrid() {
  for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
    if (w->objectName() == QLatin1String("sgBeforeThin")) return ResultGrid::BeforeThin;
    if (w->objectName() == QLatin1String("sgThinning")) return ResultGrid::Thinning;
    if (w->objectName() == QLatin1String("sgRemaining")) return ResultGrid::Remaining;
  }
  return std::nullopt;
}

}  // namespace

HelpRouter::HelpRouter(SessionController& controller, MainWindow& main, HelpWindow& help)
    : QObject(&main), controller_(controller), main_(main), help_(help) {
  for (int index = 0; index < MainWindow::PageCount; ++index)
    connect(main_.PageAt(index), &Page::HelpRequested, this, &HelpRouter::Open);

  auto on = [this](const char* name, auto&& slot) {
    for (QAction* action : main_.findChildren<QAction*>(QString::fromUtf8(name)))
      connect(action, &QAction::triggered, this, slot);
  };
  on("miContents", [this] { Open(help_topic::Contents); });
  on("miIndex", [this] { help_.ShowIndex(); });
  on("miIntroArt1", [this] { Open(help_topic::Introduction1); });
  on("miIntroArt2", [this] { Open(help_topic::Introduction2); });
  on("miTableHelp", [this] { Open(TableHelpContext(FocusedGrid())); });

  AttachHelpMenus();
  // The pages without an F1 of their own.
  for (int index : {MainWindow::TablesTab, MainWindow::GraphsTab}) AddHelpKey(*main_.PageAt(index));

  for (const auto& [name, page] : HelpButtons)
    if (auto* button = main_.findChild<QAbstractButton*>(QString::fromUtf8(name)))
      connect(button, &QAbstractButton::clicked, this, [this, page = page] { PressHelpButton(page); });
  if (auto* tabs = main_.findChild<QTabWidget*>(QStringLiteral("pcTabSheets")))
    connect(tabs, &QTabWidget::currentChanged, this, &HelpRouter::PageChanged);
  qApp->installEventFilter(this);
}

HelpRouter::~HelpRouter() { qApp->removeEventFilter(this); }

void HelpRouter::AttachHelpMenus() {
  // A control whose page shows a menu of its own keeps it.
  for (const auto& [control, menu] : HelpMenuAttachments()) {
    auto* widget = main_.findChild<QWidget*>(QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size())));
    if (!widget || widget->contextMenuPolicy() != Qt::DefaultContextMenu) continue;
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    const QString name = QString::fromUtf8(menu.data(), static_cast<qsizetype>(menu.size()));
    connect(widget, &QWidget::customContextMenuRequested, this, [this, widget, name](const QPoint& at) {
      QMenu* popup = main_.Popup(name.toUtf8().constData());
      if (!popup || popup->actions().isEmpty()) return;
      QAction* chosen = popup->exec(widget->mapToGlobal(at));
      if (!chosen || chosen != popup->actions().first()) return;
      const std::string menuName = name.toStdString();
      Open(HelpMenuContext(menuName, [this, &menuName](std::string_view c) {
        const auto* w = main_.findChild<QWidget*>(QString::fromUtf8(c.data(), static_cast<qsizetype>(c.size())));
        return w && (menuName == "pmHelp5s3" ? w->isEnabled() : w->isVisible());
      }));
    });
  }
}

void HelpRouter::AddWindowHelp(QWidget& window, int context) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window, nullptr, nullptr, Qt::WindowShortcut);
  connect(key, &QShortcut::activated, this, [this, context] { Open(context); });
}

void HelpRouter::Open(int context) {
  if (context >= 0) help_.ShowContext(context);
}

void HelpRouter::PressHelpButton(int page) {
  // One page's pointer at a time.
  if (pointer_.Active()) SetCursors(pointer_.Page(), false);
  pointer_.Press(page);
  if (pointer_.Active()) SetCursors(page, true);
}

void HelpRouter::SetCursors(int page, bool help) {
  for (std::string_view name : HelpCursorControls(page)) {
    auto* control = main_.findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!control) continue;
    if (help)
      control->setCursor(Qt::WhatsThisCursor);
    else
      control->unsetCursor();
  }
}

void HelpRouter::PageChanged() {
  pointer_.PageChanged();
  for (const auto& [name, page] : HelpButtons) SetCursors(page, false);
}

template <class Rule>
bool HelpRouter::Serve(QWidget* widget, Rule rule) {
  for (QWidget* w = widget; w && !qobject_cast<Page*>(w) && w != &main_; w = w->parentWidget()) {
    if (w->objectName().isEmpty()) continue;
    const int page = pointer_.Page();
    const std::optional<int> context = rule(w->objectName().toStdString());
    if (!context) continue;
    SetCursors(page, false);
    // After the event: the control's own reaction comes first in the queue
    // of what the user sees, and a help window opening now would take the
    // mouse from the click.
    QMetaObject::invokeMethod(this, [this, context = *context] { Open(context); }, Qt::QueuedConnection);
    return true;
  }
  return false;
}

bool HelpRouter::eventFilter(QObject* watched, QEvent* event) {
  if (!pointer_.Active()) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::FocusIn) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != &main_ || !widget->isEnabled()) return false;
  if (type == QEvent::MouseButtonPress)
    Serve(widget, [this](const std::string& name) { return pointer_.Click(name); });
  else
    Serve(widget, [this](const std::string& name) { return pointer_.Enter(name); });
  return false;  // the control does its normal work
}

}  // namespace orven
