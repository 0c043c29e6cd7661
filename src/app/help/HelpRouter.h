#pragma once

#include <QObject>
#include <string_view>

#include "app/session/HelpTopics.h"

class QWidget;

namespace orven {

class HelpWindow;
class MainWindow;
class SessionController;

// Every road to help in the main window: the pages' help requests (F1, the
// help pop-up menus, the chart pop-ups' help item), the Help menu, the table
// pop-up's help item, and the help buttons with their help pointer. The rules (which
// control opens which topic, which controls show the help cursor) are the
// core's; this only finds the controls by their names.
class HelpRouter : public QObject {
  Q_OBJECT

public:
  HelpRouter(SessionController& controller, MainWindow& main, HelpWindow& help);
  ~HelpRouter() override;

  const HelpPointer& Pointer() const { return pointer_; }
  void Open(int context);
  // F1 anywhere in one of the tool windows opens its topic.
  void AddWindowHelp(QWidget& window, int context);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void AttachHelpMenus();
  void PressHelpButton(int page);
  void SetCursors(int page, bool help);
  void PageChanged();
  // The nearest control, from `widget` up to its page, that has a name.
  template <class Rule>
  bool Serve(QWidget* widget, Rule rule);

  SessionController& controller_;
  MainWindow& main_;
  HelpWindow& help_;
  HelpPointer pointer_;
};

}  // namespace orven
