// SPDX-License-Identifier: MIT
// Keyboard layouts switched for real on an X server with the layouts us, de and ru: the groups
// read and locked through the keyboard extension, and the main window's idle pass following the
// fields of the item edit dialog of a German-Russian vocabulary. Run under an X server (the test
// command starts one with xvfb-run); needs setxkbmap to set the layouts.
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "controls/SblEdit.h"
#include "dialogs/EditDlg.h"
#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"
#include "platform/KbdLayouts.h"
#include "settings/RegUtils.h"
#include "vocab/VocFile.h"

namespace {
constexpr uint16_t kGerman = 0x0407, kRussian = 0x0419;
constexpr int kUs = 0, kDe = 1, kRu = 2;

QStringList Names(const std::vector<std::string>& layouts) {
  QStringList names;
  for (const std::string& name : layouts) names << QString::fromStdString(name);
  return names;
}

// Lets the event loop wait for events, as it does between the user's actions: the idle pass runs
// just before that. (QTest's own waiting never lets the loop block.)
void Idle() {
  QEventLoop loop;
  QTimer::singleShot(20, &loop, &QEventLoop::quit);
  loop.exec();
}

int GroupAfterIdle(TKeyboardLayouts& keyboard) {
  Idle();
  return keyboard.CurrentGroup();
}

void Activate(QWidget* window) {
  window->show();
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
}
}  // namespace

class TestXkbLayout : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != "xcb") QSKIP("needs an X server");
    QProcess setxkbmap;
    setxkbmap.start("setxkbmap", {"-layout", "us,de,ru"});
    if (!setxkbmap.waitForFinished(10000) || setxkbmap.exitStatus() != QProcess::NormalExit ||
        setxkbmap.exitCode() != 0) {
      QSKIP("setxkbmap (package x11-xkb-utils) could not set the layouts us,de,ru");
    }
  }

  void backendReadsAndLocksTheGroups() {
    const std::unique_ptr<TKeyboardLayouts> layouts = SystemKeyboardLayouts();
    QCOMPARE(Names(layouts->Layouts()), (QStringList{"us", "de", "ru"}));
    for (const int group : {kRu, kDe, kUs}) {
      layouts->LockGroup(group);
      QTRY_COMPARE(layouts->CurrentGroup(), group);
    }
  }

  void layoutFollowsTheFocusedField() {
    const std::unique_ptr<TKeyboardLayouts> keyboard = SystemKeyboardLayouts();
    keyboard->LockGroup(kUs);
    QTRY_COMPARE(keyboard->CurrentGroup(), kUs);

    QTemporaryDir dir;
    TSettingsStore store(dir.filePath("settings.ini"));
    TMainForm form(&store);
    Activate(&form);
    TVocabFile words;
    words.SetForeignLangID(kGerman);
    words.SetNativeLangID(kRussian);
    words.EditItem().Values[0] = "Haus";
    words.AddItem(2);
    const QString path = dir.filePath("German-Russian.doz");
    words.SaveToFile(QFile::encodeName(path).toStdString());
    {
      TMessageBoxes boxes;
      TFileDialogAnswer open(OpenFileDialog, path);
      TRIGGER_ACTION(&form, "miFileOpen");
      QVERIFY2(boxes.Shown.isEmpty(), qPrintable(boxes.Messages().join('\n')));
    }
    // The list holds the foreign language.
    QTRY_COMPARE(GroupAfterIdle(*keyboard), kDe);

    TEditData data;
    TEditDialog dialog(&form, data, words, form.Settings().Options, form.font());
    Activate(&dialog);
    QTest::mouseClick(dialog.edtNative, Qt::LeftButton);
    QTRY_COMPARE(GroupAfterIdle(*keyboard), kRu);
    QTest::mouseClick(dialog.edtForeign, Qt::LeftButton);
    QTRY_COMPARE(GroupAfterIdle(*keyboard), kDe);

    // A message box gets the start-up layout; the field gets its own back afterwards.
    {
      int during = -1;
      const TScopedSeam box(MessageBoxHandler, [&](const QString&, const QString&, uint32_t) {
        during = keyboard->CurrentGroup();
        return kIdOk;
      });
      ShowMessageBox("Text");
      QCOMPARE(during, kUs);
      QCOMPARE(keyboard->CurrentGroup(), kDe);
    }

    // A field of no particular language returns to the start-up layout.
    QLineEdit other;
    Activate(&other);
    QTest::mouseClick(&other, Qt::LeftButton);
    QTRY_COMPARE(GroupAfterIdle(*keyboard), kUs);

    // Switched off, the program leaves the layout to the user.
    form.Settings().Options.KeyboardSwitching = false;
    Activate(&dialog);
    QTest::mouseClick(dialog.edtForeign, Qt::LeftButton);
    QTRY_VERIFY(dialog.edtForeign->hasFocus());
    Idle();
    QCOMPARE(keyboard->CurrentGroup(), kUs);
    keyboard->LockGroup(kRu);
    Idle();
    QCOMPARE(keyboard->CurrentGroup(), kRu);
    dialog.close();
  }
};

QTEST_MAIN(TestXkbLayout)
#include "tst_xkblayout.moc"
