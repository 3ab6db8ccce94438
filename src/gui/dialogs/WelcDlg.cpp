// SPDX-License-Identifier: MIT
// The start-up dialog and the start-up sequence that repeats it until a file is open.
#include "dialogs/WelcDlg.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/DlgUtils.h"

namespace {

constexpr int kHelpTopic = 3110;
constexpr int kListWidth = 319;
constexpr int kListMinHeight = 69;
constexpr int kListRows = 5;

// The 16 x 16 pictures beside the two choices: a blank page and an open folder.
QPixmap NewPicture() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygon({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}}));
  p.drawPolyline(QPolygon({{10, 1}, {10, 4}, {13, 4}}));
  p.setPen(QColor(160, 160, 160));
  for (int y = 6; y <= 12; y += 2) p.drawLine(5, y, 11, y);
  return pixmap;
}

QPixmap OpenPicture() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(128, 96, 0));
  p.setBrush(QColor(230, 190, 80));
  p.drawPolygon(QPolygon({{1, 3}, {6, 3}, {7, 5}, {13, 5}, {13, 13}, {1, 13}}));
  p.setBrush(QColor(250, 215, 110));
  p.drawPolygon(QPolygon({{3, 7}, {15, 7}, {13, 13}, {1, 13}}));
  return pixmap;
}

}  // namespace

TWelcomeDialog::TWelcomeDialog(QWidget* owner, TWelcomeData& data)
    : TDialog(owner, kHelpTopic), m_Data(data) {
  setObjectName(QStringLiteral("WelcomeDialog"));
  setWindowTitle(tr("Welcome"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
  // The dialog's own number differs from its topic's, which the font name's pop-up uses.
  SetHelpContext(this, 1103);

  imgNew = new QLabel(this);
  imgNew->setObjectName(QStringLiteral("imgNew"));
  imgNew->setPixmap(NewPicture());
  rbNew = new QRadioButton(tr("&Create a new file"), this);
  rbNew->setObjectName(QStringLiteral("rbNew"));
  SetHelpContext(rbNew, 1100);
  imgOpen = new QLabel(this);
  imgOpen->setObjectName(QStringLiteral("imgOpen"));
  imgOpen->setPixmap(OpenPicture());
  rbOpen = new QRadioButton(tr("&Open an existing file:"), this);
  rbOpen->setObjectName(QStringLiteral("rbOpen"));
  SetHelpContext(rbOpen, 1101);
  lbFileName = new QListWidget(this);
  lbFileName->setObjectName(QStringLiteral("lbFileName"));
  lbFileName->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lbFileName->setFixedWidth(kListWidth);
  const int rowHeight = std::max(13, fontMetrics().height() + 2);
  lbFileName->setFixedHeight(
      std::max(kListMinHeight, kListRows * rowHeight + 2 * lbFileName->frameWidth()));
  SetHelpContext(lbFileName, 1102);

  CreateButtons();

  auto* layout = new QVBoxLayout(this);
  const auto choiceRow = [layout](QLabel* picture, QRadioButton* button) {
    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(button, 1);
    layout->addLayout(row);
  };
  choiceRow(imgNew, rbNew);
  choiceRow(imgOpen, rbOpen);
  layout->addWidget(lbFileName);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnHelp);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  rbNew->installEventFilter(this);
  rbOpen->installEventFilter(this);
  // A double-click anywhere in the list, below its last line too, acts as OK.
  lbFileName->viewport()->installEventFilter(this);

  FormCreate();
  // Choosing a line, with the mouse or the keys, means opening.
  connect(lbFileName, &QListWidget::itemClicked, this, [this] { rbOpen->setChecked(true); });
  connect(lbFileName, &QListWidget::currentRowChanged, this, [this] { rbOpen->setChecked(true); });
}

void TWelcomeDialog::FormCreate() {
  rbOpen->setChecked(true);
  lbFileName->addItem(tr("Browse..."));
  const int room = lbFileName->width() - 2 * lbFileName->frameWidth() -
                   style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lbFileName) - 4;
  const QFontMetrics metrics(lbFileName->font());
  for (int32_t i = 0; i < m_Data.RecentFiles.Count(); ++i) {
    const QString path = m_Data.RecentFiles.GetFile(i);
    auto* item = new QListWidgetItem(ShortenPath(FileTitlePath(path), metrics, room));
    item->setToolTip(path);
    lbFileName->addItem(item);
  }
  lbFileName->setCurrentRow(0);
}

bool TWelcomeDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick && (watched == rbNew || watched == rbOpen)) {
    static_cast<QRadioButton*>(watched)->setChecked(true);
    OkClick();
    return true;
  }
  if (event->type() == QEvent::MouseButtonDblClick && watched == lbFileName->viewport()) {
    OkClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TWelcomeDialog::OkClick() {
  m_Data.OpenExisting = rbOpen->isChecked();
  const int row = lbFileName->currentRow();
  m_Data.FileName = row >= 1 ? m_Data.RecentFiles.GetFile(row - 1) : QString();
  accept();
}

bool ShowWelcome(QWidget* owner, const TRecentFileList& recentFiles,
                 const TWelcomeActions& actions) {
  for (;;) {
    TWelcomeData data{recentFiles, false, {}};
    bool confirmed = false;
    if (actions.RunDialog) {
      confirmed = actions.RunDialog(data);
    } else {
      TWelcomeDialog dialog(owner, data);
      if (actions.ShowHelp)
        QObject::connect(&dialog, &TWelcomeDialog::helpRequested, &dialog, actions.ShowHelp);
      confirmed = dialog.exec() == QDialog::Accepted;
    }
    if (!confirmed) return false;

    bool result = false;
    if (!data.OpenExisting) {
      result = actions.NewFile && actions.NewFile();
    } else if (!data.FileName.isEmpty()) {
      result = actions.OpenFile && actions.OpenFile(data.FileName);
    } else if (actions.ChooseFileToOpen && actions.OpenFile) {
      const QString path = actions.ChooseFileToOpen();
      result = !path.isEmpty() && actions.OpenFile(path);
    }
    if (result) return true;
  }
}
