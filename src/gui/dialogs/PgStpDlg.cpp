// SPDX-License-Identifier: MIT
// The page setup dialog and its page miniature.
#include "dialogs/PgStpDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/DlgUtils.h"

namespace {
constexpr int kHelpTopic = 3050;
constexpr int kTwipsPerCm = 567, kTwipsPerInch = 1440;
constexpr double kMinMargin = 0, kMaxMarginUnits = 99;

QLocale::MeasurementSystem SystemMeasurement() {
  return QLocale::system().measurementSystem();
}

}  // namespace

std::function<QLocale::MeasurementSystem()> MeasurementSystemHandler = SystemMeasurement;

TPagePreview::TPagePreview(QWidget* parent) : QWidget(parent) {
  setFixedSize(49, 57);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
  setAutoFillBackground(true);
}

void TPagePreview::SetLayout(int columns, bool separator) {
  m_Columns = std::max(columns, 1);
  m_Separator = separator;
  update();
}

void TPagePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  // Right and bottom are exclusive, as are the ends of the lines.
  const int left = 6, top = 6, right = width() - 6, bottom = height() - 6;
  const int gap = m_Separator ? 5 : 3;
  const int extent = right + gap - left;
  for (int i = 0; i < m_Columns; ++i) {
    const int from = left + i * extent / m_Columns;
    const int to = left + (i + 1) * extent / m_Columns - gap;
    for (int y = top; y <= top + 2 * ((bottom - top) / 2); y += 2) {
      if (to > from) painter.drawLine(from, y, to - 1, y);
    }
    if (m_Separator && i > 0) {
      const int x = from - gap / 2 - 1;
      painter.drawLine(x, top, x, bottom - 1);
    }
  }
}

TPageSetupDialog::TPageSetupDialog(QWidget* owner, TPageSetup& setup)
    : TDialog(owner, kHelpTopic), m_Setup(setup) {
  setObjectName("PageSetupDialog");
  setWindowTitle(tr("Page Setup"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
  // A United Kingdom locale prints on A4 (as the printer's default paper says) in centimetres.
  const bool metric = MeasurementSystemHandler() != QLocale::ImperialUSSystem;
  m_TwipsPerUnit = metric ? kTwipsPerCm : kTwipsPerInch;

  gbMargins = new QGroupBox(metric ? tr(" Margins (cm): ") : tr(" Margins (inches): "), this);
  gbMargins->setObjectName("gbMargins");
  auto* margins = new QGridLayout(gbMargins);
  const auto addMargin = [&](QLineEdit*& edit, const char* name, const QString& caption, int row,
                             int column, int32_t twips) {
    auto* label = new QLabel(caption, gbMargins);
    edit = new QLineEdit(gbMargins);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(5);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance("000000") + 12);
    label->setBuddy(edit);
    edit->setText(QLocale().toString(double(twips) / m_TwipsPerUnit, 'f', 2));
    margins->addWidget(label, row, column * 2);
    margins->addWidget(edit, row, column * 2 + 1);
  };
  addMargin(edtLeft, "edtLeft", tr("&Left:"), 0, 0, setup.MarginLeft);
  addMargin(edtRight, "edtRight", tr("&Right:"), 1, 0, setup.MarginRight);
  addMargin(edtTop, "edtTop", tr("&Top:"), 0, 1, setup.MarginTop);
  addMargin(edtBottom, "edtBottom", tr("&Bottom:"), 1, 1, setup.MarginBottom);

  gbColumns = new QGroupBox(tr(" Columns: "), this);
  gbColumns->setObjectName("gbColumns");
  auto* choices = new QVBoxLayout;
  const auto addColumns = [&](QRadioButton*& button, const char* name, const QString& caption,
                              int columns) {
    button = new QRadioButton(caption, gbColumns);
    button->setObjectName(QLatin1String(name));
    choices->addWidget(button);
    connect(button, &QRadioButton::toggled, this, [this, columns](bool checked) {
      if (checked) ColumnClick(columns);
    });
  };
  addColumns(rbOneCol, "rbOneCol", tr("&One"), 1);
  addColumns(rbTwoCols, "rbTwoCols", tr("T&wo"), 2);
  addColumns(rbThreeCols, "rbThreeCols", tr("Thr&ee"), 3);
  chbSeparator = new QCheckBox(tr("&Separator"), gbColumns);
  chbSeparator->setObjectName("chbSeparator");
  choices->addWidget(chbSeparator);
  pbPreview = new TPagePreview(gbColumns);
  pbPreview->setObjectName("pbPreview");
  auto* columnsRow = new QHBoxLayout(gbColumns);
  columnsRow->addLayout(choices);
  columnsRow->addWidget(pbPreview, 0, Qt::AlignTop);
  connect(chbSeparator, &QCheckBox::toggled, this, &TPageSetupDialog::UpdatePreview);

  CreateButtons();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(gbMargins);
  layout->addWidget(gbColumns);
  layout->addWidget(ButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);

  chbSeparator->setChecked(setup.Separator);
  QRadioButton* button = setup.Columns == 2   ? rbTwoCols
                         : setup.Columns == 3 ? rbThreeCols
                                              : rbOneCol;
  button->setChecked(true);
}

void TPageSetupDialog::ColumnClick(int columns) {
  m_Columns = columns;
  chbSeparator->setEnabled(columns > 1);
  UpdatePreview();
}

void TPageSetupDialog::UpdatePreview() {
  pbPreview->SetLayout(m_Columns, chbSeparator->isChecked());
}

void TPageSetupDialog::OkClick() {
  for (QLineEdit* edit : {edtLeft, edtRight, edtTop, edtBottom}) {
    if (!ValidateFloatRange(edit, kMinMargin, kMaxMarginUnits)) return;
  }
  const auto twips = [this](const QLineEdit* edit) {
    return static_cast<int32_t>(ReadFloat(edit->text()).value_or(0) * m_TwipsPerUnit + 0.5);
  };
  m_Setup.MarginLeft = twips(edtLeft);
  m_Setup.MarginRight = twips(edtRight);
  m_Setup.MarginTop = twips(edtTop);
  m_Setup.MarginBottom = twips(edtBottom);
  m_Setup.Columns = m_Columns;
  m_Setup.Separator = chbSeparator->isChecked();
  accept();
}
