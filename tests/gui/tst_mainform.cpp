// SPDX-License-Identifier: MIT
#include <QImage>
#include <QtTest>

#include "app/MainFrm.h"

class TestMainForm : public QObject {
  Q_OBJECT
private slots:
  void startsWithTheEmptyWorkspace();
};

void TestMainForm::startsWithTheEmptyWorkspace() {
  TMainForm form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(form.windowTitle(), QString("Dadezivu"));
  auto* workspace = form.findChild<QWidget*>("pbWorkSpace");
  QVERIFY(workspace);
  QVERIFY(workspace->isVisible());
  QCOMPARE(form.centralWidget(), workspace);

  // The inside shows the workspace colour; the border is drawn as a sunken edge.
  const QImage image = workspace->grab().toImage();
  const QColor inside = image.pixelColor(image.width() / 2, image.height() / 2);
  QCOMPARE(inside.rgb(), workspace->palette().color(QPalette::Dark).rgb());
  QVERIFY(image.pixelColor(image.width() - 1, image.height() - 1).rgb() != inside.rgb());
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
