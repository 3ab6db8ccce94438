// SPDX-License-Identifier: MIT
// Keyboard accelerators of every dialog: no letter leads to two controls of one window or page.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

#include "GuiTestSupport.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CnvrtDlg.h"
#include "dialogs/EditDlg.h"
#include "dialogs/FontDlg.h"
#include "dialogs/OptDlg.h"
#include "dialogs/PgStpDlg.h"
#include "dialogs/PrntOpDlg.h"
#include "dialogs/PropsDlg.h"
#include "dialogs/SortDlg.h"
#include "dialogs/SrchDlg.h"
#include "dialogs/StatsDlg.h"
#include "dialogs/TipsDlg.h"
#include "dialogs/WelcDlg.h"
#include "print/Printer.h"
#include "settings/RecFile.h"
#include "vocab/Import.h"
#include "vocab/VocFile.h"

namespace {
QString Describe(const QWidget* widget, const QString& text) {
  const QString name = widget->objectName();
  return QStringLiteral("%1 \"%2\"")
      .arg(name.isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : name, text);
}

// Adds what window shows as it stands (the current page of each page control) to faults: a
// letter that leads to two controls, and a label whose letter leads nowhere.
void CheckWindow(QWidget* window, const QString& name, QStringList& faults) {
  std::map<QString, QStringList> users;
  const auto add = [&users](const QString& text, const QString& who) {
    const QKeySequence key = QKeySequence::mnemonic(text);
    if (!key.isEmpty()) users[key.toString()] << who;
  };
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(window)) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      add(button->text(), Describe(widget, button->text()));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      add(group->title(), Describe(widget, group->title()));
    } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
      for (int i = 0; i < tabs->count(); ++i) add(tabs->tabText(i), "tab " + tabs->tabText(i));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (label->buddy()) {
        add(label->text(),
            Describe(widget, label->text()) + " for " + label->buddy()->objectName());
      } else if (!Qt::mightBeRichText(label->text()) &&
                 !QKeySequence::mnemonic(label->text()).isEmpty()) {
        faults << name + ": no control for " + Describe(widget, label->text());
      }
    }
  }
  for (const auto& [key, who] : users) {
    if (who.size() > 1) faults << name + ": " + key + " for " + who.join(", ");
  }
}

// Every page of every page control in turn.
void CheckPages(QWidget* window, const QString& name, QStringList& faults) {
  const QList<QTabWidget*> pages = window->findChildren<QTabWidget*>();
  if (pages.isEmpty()) return CheckWindow(window, name, faults);
  for (QTabWidget* control : pages) {
    for (int page = 0; page < control->count(); ++page) {
      control->setCurrentIndex(page);
      CheckWindow(window, name + " / " + control->tabText(page), faults);
    }
  }
}
}  // namespace

class TestAccelerators : public QObject {
  Q_OBJECT
private slots:
  void noLetterLeadsToTwoControls();

private:
  TScopedSeam<std::function<QStringList()>> m_Printers{
      InstalledPrinters, [] { return QStringList{PdfPrinterName()}; }};
};

void TestAccelerators::noLetterLeadsToTwoControls() {
  QTemporaryDir dir;
  TVocabFile vocab;
  vocab.EditItem().Values = {"Haus", "n", "", "house"};
  vocab.AddItem(2);
  TRecentFileList recent;
  recent.AddFile(dir.filePath("recent.doz"));
  TPrinter printer;

  TOptionsData options;
  TEditData adding, editing{false, {}, 0};
  TImportRequest import;
  TFontSetting font{QStringLiteral("DejaVu Serif"), 10};
  TPageSetup setup;
  TPrintOptionsData print;
  print.Printer = &printer;
  TPropertiesData newFile, savedFile;
  newFile.IsNew = true;
  savedFile.FileName = dir.filePath("words.doz");
  uint8_t sortField = 0;
  TSearchData search;
  TTipRequest tips{dir.filePath("none.tip"), 0, true};
  TWelcomeData welcome{recent, true, {}};

  const std::vector<std::pair<QString, std::function<QDialog*()>>> dialogs = {
      {"About", [] { return new TAboutDialog(nullptr); }},
      {"Convert", [&] { return new TConvertDialog(nullptr, import); }},
      {"Add", [&] { return new TEditDialog(nullptr, adding, vocab, {}, QFont()); }},
      {"Edit", [&] { return new TEditDialog(nullptr, editing, vocab, {}, QFont()); }},
      {"Font", [&] { return new TSelectFontDialog(nullptr, font); }},
      {"Options", [&] { return new TOptionsDialog(nullptr, options, 0x0407); }},
      {"Page Setup", [&] { return new TPageSetupDialog(nullptr, setup); }},
      {"Print", [&] { return new TPrintOptionsDialog(nullptr, print); }},
      {"New properties", [&] { return new TPropertiesDialog(nullptr, newFile); }},
      {"Properties", [&] { return new TPropertiesDialog(nullptr, savedFile); }},
      {"Sort", [&] { return new TSortDialog(nullptr, sortField); }},
      {"Find",
       [&] {
         return new TSearchDialog(
             nullptr, search, [] {}, [&] { return &vocab; });
       }},
      {"Statistics", [&] { return new TStatisticsDialog(nullptr, vocab); }},
      {"Tips", [&] { return new TTipsDialog(nullptr, tips); }},
      {"Welcome", [&] { return new TWelcomeDialog(nullptr, welcome); }},
  };
  QStringList faults;
  for (const auto& [name, make] : dialogs) {
    const std::unique_ptr<QDialog> dialog(make());
    CheckPages(dialog.get(), name, faults);
  }
  QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

QTEST_MAIN(TestAccelerators)
#include "tst_accelerators.moc"
