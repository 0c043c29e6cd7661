#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <type_traits>

#include "app/MessagePresenter.h"
#include "app/session/Session.h"

namespace orven {

// Owns the session of the table being prepared and is the one road from a
// widget's event to the core: it runs a handler, shows the messages the
// handler queued, and tells the views to show the session again.
class SessionController : public QObject {
  Q_OBJECT

public:
  SessionController(const ParameterStore& store, MessagePresenter& presenter, Language language,
                    QObject* parent = nullptr);

  Session& session() { return *session_; }
  const Session& session() const { return *session_; }
  bool English() const { return session_->language() == Language::English; }
  MessagePresenter& presenter() { return *presenter_; }

  // Runs `handler` on the session, shows its messages and emits Changed().
  // Runs nested inside a message box's loop are finished by the outer one.
  template <class Handler>
  auto Run(Handler&& handler) {
    ++depth_;
    if constexpr (std::is_void_v<std::invoke_result_t<Handler, Session&>>) {
      handler(*session_);
      Finish();
    } else {
      auto result = handler(*session_);
      Finish();
      return result;
    }
  }

  // Asks a question of the session; no question means go ahead.
  bool Confirm(const std::optional<Message>& question);
  void ShowMessages();
  void SetLanguage(Language language);

signals:
  // Anything the views show may have changed.
  void Changed();
  // The interface language changed: every window writes its texts again.
  void LanguageChanged();

private:
  void Finish();

  std::unique_ptr<Session> session_;
  MessagePresenter* presenter_;
  int depth_ = 0;
};

}  // namespace orven
