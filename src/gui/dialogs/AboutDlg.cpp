// SPDX-License-Identifier: MIT
// The about box.
#include "dialogs/AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/DlgUtils.h"
#include "platform/Icons.h"
#include "platform/Shell.h"

namespace {

QLabel* NewLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

// Underlined with a hand cursor: it reads and acts like a link.
void MakeLink(QLabel* label) {
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  label->setCursor(Qt::PointingHandCursor);
  label->setForegroundRole(QPalette::Link);
}

}  // namespace

TAboutDialog::TAboutDialog(QWidget* owner) : TDialog(owner) {
  setObjectName("AboutDialog");
  SetContextHelp(false);
  setWindowTitle(tr("About Dadezivu"));

  imgIcon = NewLabel(this, "imgIcon");
  imgIcon->setPixmap(ProgramIcon().pixmap(32, 32));
  imgIcon->setFixedSize(32, 32);
  imgIcon->setAlignment(Qt::AlignCenter);
  lblTitle = NewLabel(this, "lblTitle");
  lblTitle->setText(tr("Dadezivu"));
  QFont titleFont = lblTitle->font();
  titleFont.setBold(true);
  titleFont.setPixelSize(13);
  lblTitle->setFont(titleFont);
  lblVersion = NewLabel(this, "lblVersion");
  lblVersion->setText(tr("Version ") + FileVersionString());
  QFont versionFont = lblVersion->font();
  versionFont.setBold(true);
  lblVersion->setFont(versionFont);
  Label1 = NewLabel(this, "Label1");
  Label1->setText(tr("A vocabulary trainer, free to use and to share under the MIT licence."));
  Label1->setWordWrap(true);
  lblHomePage = NewLabel(this, "lblHomePage");
  lblHomePage->setText(MakerHomePage());
  MakeLink(lblHomePage);
  lblHomePage->installEventFilter(this);
  lblEmail = NewLabel(this, "lblEmail");
  lblEmail->setText(MakerEmail());
  MakeLink(lblEmail);
  lblEmail->installEventFilter(this);
  lblLicence = NewLabel(this, "lblLicence");

  CreateButtons(bnOK);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(btnOK, QDialogButtonBox::AcceptRole);
  buttons->setCenterButtons(true);

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addSpacing(6);
  text->addWidget(Label1);
  text->addWidget(lblHomePage);
  text->addWidget(lblEmail);
  text->addWidget(lblLicence);
  auto* grid = new QGridLayout(this);
  grid->addWidget(imgIcon, 0, 0, Qt::AlignTop | Qt::AlignHCenter);
  grid->addLayout(text, 0, 1);
  grid->addWidget(buttons, 1, 0, 1, 2);
  grid->setColumnMinimumWidth(0, 48);
  // A fixed box with the close button only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(sizeHint().expandedTo(QSize(352, 168)));
  CentreOverOwner(this, owner);
}

void TAboutDialog::lblHomePageClick() {
  OpenUrl(QUrl(MakerHomePage()));
}

void TAboutDialog::lblEmailClick() {
  OpenUrl(FeedbackMailUrl());
}

bool TAboutDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == lblHomePage) {
      lblHomePageClick();
      return true;
    }
    if (watched == lblEmail) {
      lblEmailClick();
      return true;
    }
  }
  return TDialog::eventFilter(watched, event);
}

void TAboutDialog::reject() {
  accept();
}
