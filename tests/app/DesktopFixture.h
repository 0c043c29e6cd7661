#pragma once

// What every widget test of the desktop program needs: a working folder of
// its own (the program reads and writes its files there by bare name), a
// message presenter that records instead of showing boxes, and lookups of the
// controls by their object names.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <vector>

#include "app/Desktop.h"
#include "app/MessagePresenter.h"
#include "app/SessionController.h"
#include "app/windows/MainWindow.h"
#include "app/windows/WelcomeWindow.h"

namespace orven::testing {

class RecordingPresenter : public MessagePresenter {
public:
  bool Show(const Message& message) override {
    shown.push_back(message);
    if (message.Kind != MessageKind::Question || answers.empty()) return false;  // "No" is the default
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }

  std::vector<Message> shown;
  std::deque<bool> answers;  // Yes (true) or No for the next questions
};

// A fresh working folder, with the parameter file unless told otherwise, and
// optionally a preferences file.
class WorkingFolder {
public:
  explicit WorkingFolder(bool withParameterFile = true, const QByteArray& preferences = {})
      : previous_(QDir::currentPath()) {
    if (withParameterFile) QFile::copy(QStringLiteral(ORVEN_PARAMETER_FILE), Path("OrvenPar.drc"));
    if (!preferences.isNull()) {
      QFile file(Path("$OrvStat.tmp"));
      file.open(QIODevice::WriteOnly);
      file.write(preferences);
    }
    QDir::setCurrent(dir_.path());
  }
  ~WorkingFolder() { QDir::setCurrent(previous_); }

  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  QByteArray Read(const char* name) const {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  bool Exists(const char* name) const { return QFile::exists(Path(name)); }

private:
  QTemporaryDir dir_;
  QString previous_;
};

// One run of the program in its own folder.
struct Program {
  explicit Program(bool withParameterFile = true, const QByteArray& preferences = {})
      : folder(withParameterFile, preferences), desktop(std::make_unique<Desktop>(&presenter)) {
    desktop->Start();
    QApplication::processEvents();
  }

  MainWindow& Main() { return desktop->Main(); }
  Session& session() { return desktop->Controller().session(); }

  template <class T = QWidget>
  T* Find(const char* name) {
    T* found = Main().template findChild<T*>(QString::fromUtf8(name));
    if (!found) found = desktop->Welcome().template findChild<T*>(QString::fromUtf8(name));
    if (!found) qWarning("no control named %s", name);
    return found;
  }
  QAction* Action(const char* name) { return Main().Action(name); }

  WorkingFolder folder;
  RecordingPresenter presenter;
  std::unique_ptr<Desktop> desktop;
};

}  // namespace orven::testing
