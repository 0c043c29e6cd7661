#include "app/windows/WelcomeWindow.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/texts/WelcomeTexts.h"

namespace orven {

WelcomeWindow::WelcomeWindow(SessionController& controller, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      controller_(controller),
      mmStartDK_(new QPlainTextEdit(this)),
      mmStartUK_(new QPlainTextEdit(this)),
      btnLanguage_(new QPushButton(this)),
      btnReject_(new QPushButton(this)),
      btnAccept_(new QPushButton(this)) {
  setObjectName(QStringLiteral("StartForm"));
  setFixedSize(688, 453);
  auto* layout = new QVBoxLayout(this);
  const std::pair<QPlainTextEdit*, const char*> memos[] = {{mmStartDK_, "mmStartDK"}, {mmStartUK_, "mmStartUK"}};
  for (const auto& [memo, name] : memos) {
    memo->setObjectName(QString::fromUtf8(name));
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font = memo->font();
    font.setPixelSize(16);
    memo->setFont(font);
    QPalette colours = memo->palette();
    colours.setColor(QPalette::Base, QColor(192, 192, 192));  // silver
    colours.setColor(QPalette::Text, Qt::black);
    memo->setPalette(colours);
    layout->addWidget(memo, 1);
  }
  mmStartDK_->setPlainText(QString::fromUtf8(WelcomeText(false)));
  mmStartUK_->setPlainText(QString::fromUtf8(WelcomeText(true)));

  btnLanguage_->setObjectName(QStringLiteral("btnLanguage"));
  btnReject_->setObjectName(QStringLiteral("btnReject"));
  btnAccept_->setObjectName(QStringLiteral("btnAccept"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnLanguage_);
  buttons->addStretch(1);
  buttons->addWidget(btnReject_);
  buttons->addWidget(btnAccept_);
  layout->addLayout(buttons);
  btnReject_->setDefault(true);
  btnAccept_->setAutoDefault(true);
  setTabOrder(btnReject_, btnAccept_);
  setTabOrder(btnAccept_, btnLanguage_);

  connect(btnLanguage_, &QPushButton::clicked, this, [this] { emit LanguageToggled(!controller_.English()); });
  connect(btnAccept_, &QPushButton::clicked, this, [this] {
    accepted_ = true;
    accept();
  });
  connect(btnReject_, &QPushButton::clicked, this, [this] {
    accepted_ = false;
    reject();
  });
  // The close box and Escape reject, as the Reject button does.
  connect(this, &QDialog::finished, this, [this] { emit Closed(accepted_); });
  SetLanguage();
}

void WelcomeWindow::SetLanguage() {
  const bool english = controller_.English();
  btnLanguage_->setText(english ? QStringLiteral("&Dansk") : QStringLiteral("&English"));
  btnReject_->setText(english ? QStringLiteral("&Reject") : QStringLiteral("&Afvis"));
  btnAccept_->setText(english ? QStringLiteral("&Accept") : QStringLiteral("&Godkend"));
  setWindowTitle(QString::fromUtf8(english ? " ORVEN: Growth and yield tables based on dynamic growth models"
                                           : " ORVEN: Produktionsoversigter baseret på dynamiske vækstmodeller"));
  mmStartDK_->setVisible(!english);
  mmStartUK_->setVisible(english);
}

}  // namespace orven
