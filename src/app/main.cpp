// orven: the ORVEN desktop program.
#include <QApplication>

#include "app/Desktop.h"
#include "app/MessagePresenter.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(orven::ApplicationTitle));
  orven::Desktop desktop;
  desktop.Start();
  return QApplication::exec();
}
