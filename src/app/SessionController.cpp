#include "app/SessionController.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>

namespace orven {
namespace {

char SystemDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point == QStringLiteral(",") ? ',' : '.';
}

}  // namespace

SessionController::SessionController(const ParameterStore& store, MessagePresenter& presenter,
                                     Language language, QObject* parent)
    : QObject(parent), presenter_(&presenter) {
  // Padding of list items is measured in the window's own font.
  const QFont font = QGuiApplication::font();
  session_ = std::make_unique<Session>(store, language, SystemDecimalSeparator(),
                                       [font](const std::string& text) {
                                         return QFontMetrics(font).horizontalAdvance(QString::fromStdString(text));
                                       });
}

bool SessionController::Confirm(const std::optional<Message>& question) {
  return !question || presenter_->Show(*question);
}

void SessionController::ShowMessages() {
  for (const Message& message : session_->TakeMessages()) presenter_->Show(message);
}

void SessionController::SetLanguage(Language language) {
  Run([language](Session& s) { s.SetLanguage(language); });
  emit LanguageChanged();
}

void SessionController::Finish() {
  ShowMessages();
  if (--depth_ == 0) emit Changed();
}

}  // namespace orven
