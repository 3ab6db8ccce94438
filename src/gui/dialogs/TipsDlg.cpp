// SPDX-License-Identifier: MIT
// The Tip of the Day dialog.
#include "dialogs/TipsDlg.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "platform/Icons.h"
#include "testing/Tips.h"
#include "text/RtfText.h"

namespace {
QFont PixelFont(const char* family, int pixels) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  return font;
}
}  // namespace

TTipsDialog::TTipsDialog(QWidget* owner, TTipRequest& request)
    : TDialog(owner), m_Request(request) {
  setObjectName("TipsDialog");
  SetContextHelp(false);
  setWindowTitle(tr("Tip of the Day"));

  pnlTip = new QFrame(this);
  pnlTip->setObjectName("pnlTip");
  pnlTip->setFrameShape(QFrame::StyledPanel);
  pnlTip->setFrameShadow(QFrame::Sunken);
  pnlTip->setBackgroundRole(QPalette::Base);
  pnlTip->setAutoFillBackground(true);
  auto* panel = new QHBoxLayout(pnlTip);
  panel->setContentsMargins(0, 0, 0, 0);
  panel->setSpacing(0);

  // The margin in the application-workspace colour, which Qt's palette calls Dark.
  shpMargin = new QFrame(pnlTip);
  shpMargin->setObjectName("shpMargin");
  shpMargin->setBackgroundRole(QPalette::Dark);
  shpMargin->setAutoFillBackground(true);
  auto* margin = new QVBoxLayout(shpMargin);
  margin->setContentsMargins(12, 14, 12, 12);
  imgTip = new QLabel(shpMargin);
  imgTip->setObjectName("imgTip");
  imgTip->setPixmap(ToolImage(tiTipOfTheDay).pixmap(32, 32));
  margin->addWidget(imgTip);
  margin->addStretch();
  panel->addWidget(shpMargin);

  auto* text = new QVBoxLayout;
  text->setContentsMargins(12, 12, 12, 12);
  lblDidYouKnow = new QLabel(tr("Did you know..."), pnlTip);
  lblDidYouKnow->setObjectName("lblDidYouKnow");
  lblDidYouKnow->setFont(PixelFont("Times New Roman", 19));
  auto* rule = new QFrame(pnlTip);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  reTip = new QTextEdit(pnlTip);
  reTip->setObjectName("reTip");
  reTip->setReadOnly(true);
  reTip->setFrameShape(QFrame::NoFrame);
  reTip->setFont(PixelFont("Arial", 13));
  reTip->setPlainText(tr("[tips unavailable]"));
  reTip->setMinimumSize(300, 120);
  text->addWidget(lblDidYouKnow);
  text->addWidget(rule);
  text->addWidget(reTip, 1);
  panel->addLayout(text, 1);

  chbShowAtStartup = new QCheckBox(tr("&Show tips at startup"), this);
  chbShowAtStartup->setObjectName("chbShowAtStartup");
  btnDetails = new QPushButton(tr("&Details..."), this);
  btnDetails->setObjectName("btnDetails");
  btnNext = new QPushButton(tr("&Next Tip"), this);
  btnNext->setObjectName("btnNext");
  btnClose = new QPushButton(tr("Close"), this);
  btnClose->setObjectName("btnClose");
  btnClose->setDefault(true);
  auto* row = new QHBoxLayout;
  row->addWidget(chbShowAtStartup);
  row->addStretch();
  row->addWidget(btnDetails);
  row->addWidget(btnNext);
  row->addWidget(btnClose);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pnlTip, 1);
  layout->addLayout(row);
  resize(480, 260);

  connect(btnNext, &QPushButton::clicked, this, &TTipsDialog::btnNextClick);
  connect(btnDetails, &QPushButton::clicked, this, &TTipsDialog::btnDetailsClick);
  // Close is also the cancel button: Escape ends the dialog through reject().
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

  chbShowAtStartup->setChecked(m_Request.ShowTips);
  m_Lines = ReadTipFile(QFile::encodeName(m_Request.FileName).toStdString());
  if (m_Lines.empty()) {
    btnDetails->setEnabled(false);
    btnNext->setEnabled(false);
  } else {
    btnNextClick();
  }
}

void TTipsDialog::btnNextClick() {
  if (m_Lines.empty()) return;
  const TTip tip = SplitTipLine(m_Lines[TakeNextTip(m_Request.NextTip, m_Lines.size())]);
  m_HelpContext = tip.HelpContext;
  btnDetails->setEnabled(m_HelpContext != 0);
  ShowTip(TipDocument(tip.Text));
}

void TTipsDialog::ShowTip(const std::string& rtf) {
  std::vector<TRtfRun> runs = ReadRtfText(rtf);
  // The frame ends the tip with a paragraph break, which would only add an empty line.
  if (!runs.empty() && runs.back().Text.ends_with(u'\n')) {
    runs.back().Text.pop_back();
    if (runs.back().Text.empty()) runs.pop_back();
  }
  reTip->clear();
  QTextCursor cursor(reTip->document());
  for (const TRtfRun& run : runs) {
    QTextCharFormat format;
    format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.Italic);
    format.setFontUnderline(run.Underline);
    cursor.insertText(QString::fromStdU16String(run.Text), format);
  }
  reTip->moveCursor(QTextCursor::Start);
}

void TTipsDialog::btnDetailsClick() {
  if (m_HelpContext != 0) emit helpRequested(m_HelpContext);
}

void TTipsDialog::done(int result) {
  m_Request.ShowTips = chbShowAtStartup->isChecked();
  TDialog::done(result);
}
