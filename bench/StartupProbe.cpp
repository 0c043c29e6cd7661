// orven-startup-probe: the desktop program's start-up up to the first paint of
// the main window, then it prints the monotonic clock (ns) and ends. The
// start-up benchmark runs it as a fresh process each time.
#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <ctime>

#include "app/Desktop.h"
#include "app/MessagePresenter.h"
#include "app/windows/MainWindow.h"

namespace {

class FirstPaint : public QObject {
public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_) {
      done_ = true;
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
      QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

private:
  bool done_ = false;
};

class SilentPresenter : public orven::MessagePresenter {
public:
  bool Show(const orven::Message&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  SilentPresenter presenter;
  orven::Desktop desktop(&presenter);
  FirstPaint watcher;
  desktop.Main().installEventFilter(&watcher);
  desktop.Start();
  return QApplication::exec();
}
