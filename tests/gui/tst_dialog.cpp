// SPDX-License-Identifier: MIT
// Tests of the dialog base: its buttons, the help topic of pages and the placement when shown.
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtTest>

#include "platform/Dialog.h"

namespace {
// A dialog as the program's dialogs use the base; OK is refused until Allowed is set.
class TProbeDialog : public TDialog {
public:
  TProbeDialog(QWidget* owner, int topic, unsigned buttons, bool pages = false)
      : TDialog(owner, topic) {
    CreateButtons(buttons);
    auto* layout = new QVBoxLayout(this);
    if (pages) {
      Pages = new QTabWidget;
      Pages->addTab(new QWidget, "One");
      Pages->addTab(new QWidget, "Two");
      SetHelpPages(Pages);
      layout->addWidget(Pages);
    }
    layout->addWidget(ButtonRow());
  }
  using TDialog::bnCancel;
  using TDialog::bnHelp;
  using TDialog::bnOK;
  using TDialog::SetCentreOnce;

  bool Allowed = false;
  int OkClicks = 0;
  QTabWidget* Pages = nullptr;

protected:
  void OkClick() override {
    ++OkClicks;
    if (Allowed) accept();
  }
};

constexpr unsigned kAll = TProbeDialog::bnOK | TProbeDialog::bnCancel | TProbeDialog::bnHelp;

// The owner's centre and the dialog's, which may differ by the halving.
bool CentredOver(const QWidget& dialog, const QWidget& owner) {
  const QPoint d = dialog.frameGeometry().center();
  const QPoint o = owner.frameGeometry().center();
  return qAbs(d.x() - o.x()) <= 1 && qAbs(d.y() - o.y()) <= 1;
}
}  // namespace

class TestDialog : public QObject {
  Q_OBJECT
private slots:
  void buttonsCarryTheirNamesAndJobs();
  void onlyTheButtonsAskedForExist();
  void helpNamesTheTopicAndThePage();
  void shownOverTheOwnerAndAModelessOneOnlyOnce();
};

void TestDialog::buttonsCarryTheirNamesAndJobs() {
  TProbeDialog dialog(nullptr, 3000, kAll);
  for (const char* name : {"btnOK", "btnCancel", "btnHelp"})
    QVERIFY2(dialog.findChild<QPushButton*>(name), name);
  QCOMPARE(dialog.btnOK->text(), QString("OK"));
  QCOMPARE(dialog.btnCancel->text(), QString("Cancel"));
  QCOMPARE(dialog.btnHelp->text(), QString("&Help"));
  QVERIFY(dialog.btnOK->isDefault());
  QCOMPARE(dialog.findChildren<QPushButton*>().size(), 3);

  dialog.show();
  // OK goes through the dialog's own check and closes only when it accepts.
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.OkClicks, 1);
  QVERIFY(dialog.isVisible());
  dialog.Allowed = true;
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.OkClicks, 2);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QVERIFY(!dialog.isVisible());

  dialog.show();
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(dialog.OkClicks, 2);
}

void TestDialog::onlyTheButtonsAskedForExist() {
  TProbeDialog dialog(nullptr, 0, TProbeDialog::bnOK | TProbeDialog::bnCancel);
  QVERIFY(dialog.btnOK && dialog.btnCancel);
  QVERIFY(!dialog.btnHelp);
  QVERIFY(!dialog.findChild<QPushButton*>("btnHelp"));
  QCOMPARE(dialog.HelpTopic(), 0);

  TProbeDialog find(nullptr, 3020, TProbeDialog::bnCancel | TProbeDialog::bnHelp);
  QVERIFY(!find.btnOK);
  QVERIFY(!find.findChild<QPushButton*>("btnOK"));
}

void TestDialog::helpNamesTheTopicAndThePage() {
  TProbeDialog plain(nullptr, 3090, kAll);
  QSignalSpy plainHelp(&plain, &TDialog::helpRequested);
  plain.show();
  QTest::mouseClick(plain.btnHelp, Qt::LeftButton);
  QCOMPARE(plainHelp.size(), 1);
  QCOMPARE(plainHelp[0][0].toInt(), 3090);
  QVERIFY2(plain.isVisible(), "Help leaves the dialog open");

  TProbeDialog paged(nullptr, 3101, kAll, true);
  QSignalSpy pagedHelp(&paged, &TDialog::helpRequested);
  paged.show();
  QTest::mouseClick(paged.btnHelp, Qt::LeftButton);
  paged.Pages->setCurrentIndex(1);
  QCOMPARE(paged.HelpTopic(), 3102);
  QTest::mouseClick(paged.btnHelp, Qt::LeftButton);
  QCOMPARE(pagedHelp.size(), 2);
  QCOMPARE(pagedHelp[0][0].toInt(), 3101);
  QCOMPARE(pagedHelp[1][0].toInt(), 3102);
}

void TestDialog::shownOverTheOwnerAndAModelessOneOnlyOnce() {
  QWidget owner;
  const QRect area = owner.screen()->availableGeometry();
  owner.setGeometry(area.left() + 40, area.top() + 40, 600, 400);
  owner.show();
  QVERIFY(QTest::qWaitForWindowExposed(&owner));

  TProbeDialog modal(&owner, 0, kAll);
  modal.show();
  QTRY_VERIFY(CentredOver(modal, owner));
  modal.hide();
  modal.move(area.left(), area.top());
  modal.show();
  QTRY_VERIFY2(CentredOver(modal, owner), "centred again at every show");
  modal.hide();

  TProbeDialog modeless(&owner, 0, kAll);
  modeless.SetCentreOnce(true);
  modeless.show();
  QTRY_VERIFY(CentredOver(modeless, owner));
  modeless.hide();
  const QPoint moved(area.left() + 5, area.top() + 7);
  modeless.move(moved);
  modeless.show();
  QVERIFY(QTest::qWaitForWindowExposed(&modeless));
  QCOMPARE(modeless.pos(), moved);
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
