// SPDX-License-Identifier: MIT
// Tests of the Tip of the Day dialog and of how the main window shows it.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "dialogs/TipsDlg.h"
#include "settings/RegUtils.h"

namespace {
QString WriteTips(const QTemporaryDir& dir, const QByteArray& bytes) {
  const QString path = dir.filePath("tips.tip");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(bytes);
  return path;
}

QString Shown(const TTipsDialog& dialog) {
  return dialog.reTip->toPlainText();
}
}  // namespace

class TestTipsDialog : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { m_Unexpected.Verify(); }

  void tipsCycleAcrossShowingsAndRuns();
  void detailsFollowTheHelpContext();
  void aMissingOrEmptyFileShowsNoTips();
  void tipsKeepTheirFormatting();
  void startUpShowsTipsBeforeTheStartUpDialog();
  void theHelpMenuShowsTipsWithoutTheReminder();
  void screenshot();

private:
  TUnexpectedModals m_Unexpected;
};

void TestTipsDialog::tipsCycleAcrossShowingsAndRuns() {
  QTemporaryDir dir;
  TTipRequest request{WriteTips(dir, "one\r\ntwo\rthree\n"), 0, true};
  QStringList seen;
  {
    TTipsDialog dialog(nullptr, request);
    seen << Shown(dialog);
    QTest::mouseClick(dialog.btnNext, Qt::LeftButton);
    seen << Shown(dialog);
    QTest::mouseClick(dialog.btnClose, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }
  QCOMPARE(request.NextTip, 2);
  // The next program run starts from the stored index.
  for (int run = 0; run < 2; ++run) {
    TTipsDialog dialog(nullptr, request);
    seen << Shown(dialog);
    dialog.reject();
  }
  QCOMPARE(seen, QStringList({"one", "two", "three", "one"}));
  // An index stored by a longer file starts again at the first tip.
  request.NextTip = 7;
  TTipsDialog dialog(nullptr, request);
  QCOMPARE(Shown(dialog), "one");
  QCOMPARE(request.NextTip, 1);
}

void TestTipsDialog::detailsFollowTheHelpContext() {
  QTemporaryDir dir;
  TTipRequest request{WriteTips(dir, "2010\tWith help\n\tNo help\nNo tab\n0x12\tNot a number"), 0,
                      true};
  TTipsDialog dialog(nullptr, request);
  QSignalSpy help(&dialog, &TDialog::helpRequested);
  QCOMPARE(Shown(dialog), "With help");
  QVERIFY(dialog.btnDetails->isEnabled());
  QTest::mouseClick(dialog.btnDetails, Qt::LeftButton);
  QCOMPARE(help.size(), 1);
  QCOMPARE(help[0][0].toInt(), 2010);
  for (const char* text : {"No help", "No tab", "Not a number"}) {
    QTest::mouseClick(dialog.btnNext, Qt::LeftButton);
    QCOMPARE(Shown(dialog), text);
    QVERIFY2(!dialog.btnDetails->isEnabled(), text);
    QCOMPARE(dialog.HelpContext(), 0);
  }
  QTest::mouseClick(dialog.btnNext, Qt::LeftButton);
  QVERIFY(dialog.btnDetails->isEnabled());
}

void TestTipsDialog::aMissingOrEmptyFileShowsNoTips() {
  QTemporaryDir dir;
  for (const QString& path : {dir.filePath("missing.tip"), WriteTips(dir, ""), dir.path()}) {
    TTipRequest request{path, 4, true};
    TTipsDialog dialog(nullptr, request);
    QCOMPARE(Shown(dialog), "[tips unavailable]");
    QVERIFY(!dialog.btnDetails->isEnabled());
    QVERIFY(!dialog.btnNext->isEnabled());
    QVERIFY(dialog.btnClose->isEnabled());
    QVERIFY(dialog.chbShowAtStartup->isChecked());
    // The tick still counts, however the dialog is closed.
    dialog.chbShowAtStartup->setChecked(false);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!request.ShowTips);
    QCOMPARE(request.NextTip, 4);
  }
}

void TestTipsDialog::tipsKeepTheirFormatting() {
  QTemporaryDir dir;
  TTipRequest request{
      WriteTips(dir, "3000\tPress {\\b Ins} to add, {\\i caf\\'e9}\\par next \\{x\\}"), 0, false};
  TTipsDialog dialog(nullptr, request);
  QVERIFY(!dialog.chbShowAtStartup->isChecked());
  QCOMPARE(Shown(dialog), QString::fromUtf8("Press Ins to add, caf\u00E9\nnext {x}"));
  QCOMPARE(dialog.lblDidYouKnow->text(), "Did you know...");
  QCOMPARE(dialog.windowTitle(), "Tip of the Day");
  // The bold word carries its weight into the box.
  QTextCursor cursor(dialog.reTip->document());
  cursor.setPosition(8);  // inside "Ins"
  QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
  cursor.setPosition(3);
  QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Normal));
  cursor.setPosition(21);  // inside "café"
  QVERIFY(cursor.charFormat().fontItalic());
}

void TestTipsDialog::startUpShowsTipsBeforeTheStartUpDialog() {
  QTemporaryDir dir;
  TSettingsStore store(dir.filePath("settings.ini"));
  {
    TMainForm form(&store);
    QStringList order;
    TTipRequest asked{{}, -1, false};
    form.TipsDialogRunner = [&](TTipRequest& request) {
      order << "tips";
      asked = request;
      request.NextTip = 5;
      request.ShowTips = false;
      return true;
    };
    form.WelcomeDialogRunner = [&](TWelcomeData&) { return order << "welcome", false; };
    TMessageBoxes boxes;
    QVERIFY(form.Start({}));
    QCOMPARE(order, QStringList({"tips", "welcome"}));
    QVERIFY(asked.FileName.endsWith(".tip"));
    QCOMPARE(asked.NextTip, 0);
    QVERIFY(asked.ShowTips);
    QCOMPARE(boxes.Messages(),
             QStringList{"Tip of the Day can be turned on again via the Help menu."});
    QCOMPARE(boxes.Shown[0].Style, kMbNotice);
    QCOMPARE(boxes.Shown[0].Caption, "Dadezivu");
    QVERIFY(form.close());
  }
  // Both values are kept for the next run, which then shows no tip at start-up.
  TMainForm form(&store);
  QCOMPARE(form.Settings().NextTip, 5);
  QVERIFY(!form.Settings().ShowTips);
  int tips = 0;
  form.TipsDialogRunner = [&](TTipRequest&) { return ++tips, true; };
  form.WelcomeDialogRunner = [&](TWelcomeData&) { return false; };
  QVERIFY(form.Start({}));
  QCOMPARE(tips, 0);
  // Nor when a file is named on the command line.
  form.Settings().ShowTips = true;
  TMessageBoxes boxes;
  QVERIFY(!form.Start({dir.filePath("missing.doz")}));
  QCOMPARE(tips, 0);
}

void TestTipsDialog::theHelpMenuShowsTipsWithoutTheReminder() {
  QTemporaryDir dir;
  TSettingsStore store(dir.filePath("settings.ini"));
  TMainForm form(&store);
  QVERIFY(FindAction(&form, "miHelpTips"));
  QCOMPARE(FindAction(&form, "miHelpTips")->text(), "&Tip of the Day");
  form.Settings().NextTip = 3;
  QList<int> asked;
  form.TipsDialogRunner = [&](TTipRequest& request) {
    asked << request.NextTip;
    ++request.NextTip;
    request.ShowTips = false;
    return true;
  };
  TMessageBoxes boxes;
  TRIGGER_ACTION(&form, "miHelpTips");
  TRIGGER_ACTION(&form, "miHelpTips");
  QCOMPARE(boxes.Shown.size(), 0);
  QCOMPARE(asked, QList<int>({3, 4}));
  QCOMPARE(form.Settings().NextTip, 5);
  QVERIFY(!form.Settings().ShowTips);
}

// Writes the dialog as shown at start-up, with the shipped tips, to the screenshot folder.
void TestTipsDialog::screenshot() {
  const QString folder = qEnvironmentVariable("DADEZIVU_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("DADEZIVU_SCREENSHOTS not set");
  TTipRequest request{QStringLiteral(DADEZIVU_SOURCE_DIR "/resources/dadezivu.tip"), 8, true};
  TTipsDialog dialog(nullptr, request);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QVERIFY(dialog.grab().save(folder + "/tip-of-the-day.png"));
  dialog.reject();
}

QTEST_MAIN(TestTipsDialog)
#include "tst_tipsdlg.moc"
