#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <memory>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace orven {

class ChmFile;
class SessionController;

// Shows the pages of a compiled help file: links, pictures and style sheets
// come from the file.
class ChmBrowser : public QTextBrowser {
  Q_OBJECT

public:
  explicit ChmBrowser(QWidget* parent) : QTextBrowser(parent) {}
  void SetFile(const ChmFile* file) { file_ = file; }
  QVariant loadResource(int type, const QUrl& name) override;

private:
  const ChmFile* file_ = nullptr;
};

// The program's help viewer: the help file of the session's language opened
// at a numeric context, with its contents, its index, and back and forward.
// The file is looked up by bare name in the working folder each time help is
// asked for, so a language switch takes the other file.
class HelpWindow : public QWidget {
  Q_OBJECT

public:
  HelpWindow(SessionController& controller, QWidget* parent);
  ~HelpWindow() override;

  // Opens the topic of a context; 0 opens the contents, as does ShowIndex
  // with the index in front.
  void ShowContext(int context);
  void ShowIndex();

  int LastContext() const { return lastContext_; }
  int Requests() const { return requests_; }  // how often help was asked for
  QUrl CurrentTopic() const;
  QString CurrentFileName() const { return fileName_; }
  bool FileOpen() const;

  void SetLanguage();

private:
  void OpenFile();
  void FillContents();
  void FillIndex();
  void ShowTopic(const std::string& path);
  void FilterIndex(const QString& text);

  SessionController& controller_;
  std::unique_ptr<ChmFile> file_;
  QString fileName_;
  int lastContext_ = -1;
  int requests_ = 0;
  QTabWidget* tabs_;
  QTreeWidget* contents_;
  QLineEdit* indexEdit_;
  QListWidget* index_;
  ChmBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
};

}  // namespace orven
