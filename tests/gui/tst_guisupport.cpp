// SPDX-License-Identifier: MIT
// The GUI test support itself: fakes put back what they replaced, the modal guard catches what
// no fake answered, and commands are triggered only where a user could choose them.
#include <QAction>
#include <QDialog>
#include <QMainWindow>
#include <QtTest>

#include "GuiTestSupport.h"
#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"

class TestGuiSupport : public QObject {
  Q_OBJECT
private slots:
  void fakesRestoreTheSeamsInReverseOrder();
  void fileDialogAnswersRecordTheRequest();
  void theModalGuardAnswersAndReportsWhatNobodyExpected();
  void triggerActionFindsEnabledCommandsByName();
};

void TestGuiSupport::fakesRestoreTheSeamsInReverseOrder() {
  int outerCalls = 0;
  {
    const TScopedSeam outer(MessageBoxHandler, [&](const QString&, const QString&, uint32_t) {
      ++outerCalls;
      return kIdNo;
    });
    {
      TMessageBoxes boxes({kIdYes});
      QCOMPARE(ShowMessageBox("first", {}, kMbQuestion), kIdYes);
      // Out of answers: OK.
      QCOMPARE(ShowMessageBox("second", "Caption", kMbError), kIdOk);
      QCOMPARE(boxes.Messages(), (QStringList{"first", "second"}));
      QCOMPARE(boxes.Shown[0].Caption, QString("Dadezivu"));
      QCOMPARE(boxes.Shown[1].Style, kMbError);
    }
    QCOMPARE(ShowMessageBox("third"), kIdNo);
    QCOMPARE(outerCalls, 1);
  }
  // The real handlers are back.
  const auto* real = MessageBoxHandler.target<decltype(&ShowQtMessageBox)>();
  QVERIFY(real && *real == &ShowQtMessageBox);
  QVERIFY(!MessageBoxKeyboardHook);
}

void TestGuiSupport::fileDialogAnswersRecordTheRequest() {
  TFileDialogRequest request;
  request.Title = "Save As";
  request.FilterIndex = 1;
  {
    TFileDialogAnswer cancel(SaveFileDialog, QString());
    QVERIFY(!SaveFileDialog(nullptr, request));
    QCOMPARE(cancel.Calls, 1);
    QCOMPARE(cancel.Request.Title, QString("Save As"));
    TFileDialogAnswer nested(SaveFileDialog, "/tmp/x.rtf", 2);
    QVERIFY(SaveFileDialog(nullptr, request));
    QCOMPARE(request.FileName, QString("/tmp/x.rtf"));
    QCOMPARE(request.FilterIndex, 2);
    QCOMPARE(cancel.Calls, 1);
  }
  TFileDialogAnswer open(OpenFileDialog, "/tmp/a.doz");
  TFileDialogRequest asked;
  asked.FilterIndex = 3;
  QVERIFY(OpenFileDialog(nullptr, asked));
  QCOMPARE(asked.FilterIndex, 3);
}

void TestGuiSupport::theModalGuardAnswersAndReportsWhatNobodyExpected() {
  TUnexpectedModals guard;
  QCOMPARE(ShowMessageBox("Really?", {}, kMbQuestion), kIdOk);
  TFileDialogRequest request;
  request.Title = "Open";
  QVERIFY(!OpenFileDialog(nullptr, request));
  {
    // A nearer fake answers first and is no surprise.
    TMessageBoxes boxes;
    ShowMessageBox("expected");
  }
  // A real modal window is closed instead of waiting for ever.
  QDialog dialog;
  dialog.setObjectName("StrayDialog");
  dialog.setWindowTitle("Stray");
  QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  const QStringList seen = guard.Take();
  QCOMPARE(seen, (QStringList{"message box: Really?", "Open dialog: Open",
                              "modal window: StrayDialog \"Stray\""}));
  QVERIFY(guard.Take().isEmpty());
  // A window shown without modality is left alone.
  QWidget plain;
  plain.show();
  QVERIFY(QTest::qWaitForWindowExposed(&plain));
  QVERIFY(plain.isVisible());
  guard.Verify();
}

void TestGuiSupport::triggerActionFindsEnabledCommandsByName() {
  QMainWindow window;
  auto* save = new QAction("Save", &window);
  save->setObjectName("miFileSave");
  int triggered = 0;
  connect(save, &QAction::triggered, this, [&] { ++triggered; });
  QString why;
  QVERIFY(TriggerAction(&window, "miFileSave", &why));
  QCOMPARE(triggered, 1);
  save->setEnabled(false);
  QVERIFY(!TriggerAction(&window, "miFileSave", &why));
  QCOMPARE(why, QString("miFileSave is disabled"));
  QVERIFY(!TriggerAction(&window, "miFileSaveAll", &why));
  QCOMPARE(why, QString("no action named miFileSaveAll"));
  QCOMPARE(triggered, 1);
  QCOMPARE(FindAction(&window, "miFileSave"), save);
}

QTEST_MAIN(TestGuiSupport)
#include "tst_guisupport.moc"
