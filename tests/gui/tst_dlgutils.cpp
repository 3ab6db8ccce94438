// SPDX-License-Identifier: MIT
// Tests of the dialog helpers: message boxes, number checks, placement, paths, fonts.
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <optional>

#include "GuiTestSupport.h"
#include "platform/DlgUtils.h"

class TestDlgUtils : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void messageBoxGoesThroughTheSeam();
  void messageBoxStylesMapToIconsAndButtons_data();
  void messageBoxStylesMapToIconsAndButtons();
  void messageBoxComesUpOverTheProgramsWindow();
  void validateIntRange();
  void validateFloatRange();
  void numericOnlyFieldsTakeDigits();
  void centreOverOwnerStaysInTheWorkArea();
  void shortenPathFitsTheWidth();
  void fileTitles();
  void versionHasFourParts();
  void fontExistsUsesAtMost31Characters();

private:
  std::optional<TMessageBoxes> m_Boxes;
};

void TestDlgUtils::init() {
  m_Boxes.emplace();
}

void TestDlgUtils::cleanup() {
  m_Boxes.reset();
}

void TestDlgUtils::messageBoxGoesThroughTheSeam() {
  QStringList events;
  const TScopedSeam hook(MessageBoxKeyboardHook,
                         [&](bool useDefault) { events << (useDefault ? "default" : "focus"); });
  TMessageBoxes boxes({kIdYes, kIdNo});
  const TMessageBoxFunc answer = MessageBoxHandler;
  const TScopedSeam order(MessageBoxHandler,
                          [&](const QString& message, const QString& caption, uint32_t style) {
                            events << "box";
                            return answer(message, caption, style);
                          });
  QCOMPARE(ShowMessageBox("Save changes?", {}, kMbQuestion), 6);
  // The box gets the start-up keyboard layout, the focused field its own afterwards.
  QCOMPARE(events, (QStringList{"default", "box", "focus"}));
  QCOMPARE(ShowMessageBox("Really?", "Other", 0x134), 7);
  QCOMPARE(boxes.Shown.size(), 2);
  QCOMPARE(boxes.Shown[0].Message, QString("Save changes?"));
  QCOMPARE(boxes.Shown[0].Caption, QString("Dadezivu"));
  QCOMPARE(boxes.Shown[0].Style, 0x134u);
  QCOMPARE(boxes.Shown[1].Caption, QString("Other"));
}

void TestDlgUtils::messageBoxStylesMapToIconsAndButtons_data() {
  QTest::addColumn<uint>("style");
  QTest::addColumn<int>("icon");
  QTest::addColumn<QList<int>>("buttons");
  QTest::addColumn<int>("defaultButton");
  QTest::addColumn<int>("press");  // a button, or -1 for Escape
  QTest::addColumn<int>("result");
  using B = QMessageBox;
  QTest::newRow("error") << 0x30u << int(B::Warning) << QList<int>{B::Ok} << int(B::Ok)
                         << int(B::Ok) << 1;
  QTest::newRow("notice, closed") << 0x40u << int(B::Information) << QList<int>{B::Ok} << int(B::Ok)
                                  << -1 << 1;
  QTest::newRow("question, yes") << 0x134u << int(B::Warning) << QList<int>{B::Yes, B::No}
                                 << int(B::No) << int(B::Yes) << 6;
  QTest::newRow("question, closed")
      << 0x134u << int(B::Warning) << QList<int>{B::Yes, B::No} << int(B::No) << -1 << 7;
  QTest::newRow("warning, ok") << 0x31u << int(B::Warning) << QList<int>{B::Ok, B::Cancel}
                               << int(B::Ok) << int(B::Ok) << 1;
  QTest::newRow("warning, closed")
      << 0x31u << int(B::Warning) << QList<int>{B::Ok, B::Cancel} << int(B::Ok) << -1 << 2;
  QTest::newRow("save question, no")
      << 0x33u << int(B::Warning) << QList<int>{B::Yes, B::No, B::Cancel} << int(B::Yes)
      << int(B::No) << 7;
  QTest::newRow("stop") << 0x10u << int(B::Critical) << QList<int>{B::Ok} << int(B::Ok)
                        << int(B::Ok) << 1;
}

// The real box, answered as soon as it is up.
void TestDlgUtils::messageBoxStylesMapToIconsAndButtons() {
  QFETCH(uint, style);
  QFETCH(int, icon);
  QFETCH(QList<int>, buttons);
  QFETCH(int, defaultButton);
  QFETCH(int, press);
  QFETCH(int, result);
  const TScopedSeam real(MessageBoxHandler, ShowQtMessageBox);
  bool checked = false;
  QTimer timer;
  connect(&timer, &QTimer::timeout, this, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    timer.stop();
    checked = true;
    QCOMPARE(box->windowTitle(), QString("Dadezivu"));
    QCOMPARE(box->text(), QString("Text"));
    QCOMPARE(int(box->icon()), icon);
    QList<int> shown;
    for (QAbstractButton* b : box->buttons()) shown << int(box->standardButton(b));
    std::sort(shown.begin(), shown.end());
    std::sort(buttons.begin(), buttons.end());
    QCOMPARE(shown, buttons);
    QCOMPARE(int(box->standardButton(box->defaultButton())), defaultButton);
    if (press < 0)
      QTest::keyClick(box, Qt::Key_Escape);
    else
      box->button(QMessageBox::StandardButton(press))->click();
  });
  timer.start(10);
  QCOMPARE(ShowMessageBox("Text", {}, style), result);
  QVERIFY(checked);
}

// The real box belongs to the window the user works in (the open dialog, else the active
// window, else the main window), is centred over it, carries the program's icon and exactly
// its caption.
void TestDlgUtils::messageBoxComesUpOverTheProgramsWindow() {
  const TScopedSeam real(MessageBoxHandler, ShowQtMessageBox);
  QMainWindow main;
  main.setWindowTitle("Dadezivu - words.doz");
  main.setGeometry(40, 60, 500, 400);
  main.show();
  QVERIFY(QTest::qWaitForWindowExposed(&main));
  QDialog dialog(&main);
  dialog.setWindowTitle("Properties");
  dialog.setGeometry(300, 300, 300, 200);

  struct TSeen {
    QWidget* Owner = nullptr;
    QString Title;
    bool HasIcon = false;
    QPoint Centre, OwnerCentre;
  };
  const auto show = [&](const QString& caption) {
    TSeen seen;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      timer.stop();
      seen = {box->parentWidget(), box->windowTitle(), !box->windowIcon().isNull(),
              box->frameGeometry().center(),
              box->parentWidget() ? box->parentWidget()->frameGeometry().center() : QPoint()};
      box->button(QMessageBox::Ok)->click();
    });
    timer.start(10);
    ShowMessageBox("Text", caption, kMbError);
    return seen;
  };
  const auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 2; };

  // No window of the program is active: the main window.
  QApplication::setActiveWindow(nullptr);
  TSeen seen = show({});
  QCOMPARE(seen.Owner, &main);
  QCOMPARE(seen.Title, QString("Dadezivu"));
  QVERIFY(seen.HasIcon);
  QVERIFY2(near(seen.Centre, seen.OwnerCentre),
           qPrintable(QString("%1,%2").arg(seen.Centre.x()).arg(seen.Centre.y())));

  // Over an open dialog: the dialog, and a caption given is taken as it is.
  QTimer::singleShot(0, &dialog, [&] {
    seen = show("Import");
    dialog.accept();
  });
  dialog.exec();
  QCOMPARE(seen.Owner, &dialog);
  QCOMPARE(seen.Title, QString("Import"));
  QVERIFY(near(seen.Centre, seen.OwnerCentre));
}

void TestDlgUtils::validateIntRange() {
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* other = new QLineEdit(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  struct TCase {
    const char* text;
    bool ok;
  };
  for (const TCase& c : {TCase{"abc", false}, TCase{"5", true}, TCase{" 7 ", true},
                         TCase{"1", true}, TCase{"10", true}, TCase{"0", false}, TCase{"11", false},
                         TCase{"", false}, TCase{"5.0", false}, TCase{"99999999999", false}}) {
    m_Boxes->Shown.clear();
    edit->setText(c.text);
    other->setFocus();
    QCOMPARE(ValidateIntRange(edit, 1, 10), c.ok);
    if (c.ok) {
      QVERIFY2(m_Boxes->Shown.isEmpty(), c.text);
      continue;
    }
    QCOMPARE(m_Boxes->Shown.size(), 1);
    QCOMPARE(m_Boxes->Shown[0].Message, QString("Number must be between 1 and 10."));
    QCOMPARE(m_Boxes->Shown[0].Caption, QString("Dadezivu"));
    QCOMPARE(m_Boxes->Shown[0].Style, 0x30u);
    QCOMPARE(edit->selectedText(), edit->text());
    QTRY_VERIFY(edit->hasFocus());
  }
  // An editable combo box is checked the same way.
  auto* combo = new QComboBox(&window);
  combo->setEditable(true);
  combo->setEditText("12");
  QVERIFY(!ValidateIntRange(combo, 3, 10));
  QCOMPARE(m_Boxes->Shown.last().Message, QString("Number must be between 3 and 10."));
  combo->setEditText("4");
  QVERIFY(ValidateIntRange(combo, 3, 10));
}

void TestDlgUtils::validateFloatRange() {
  QLineEdit edit;
  const QString decimal = QLocale().decimalPoint();
  for (const QString& text : QStringList{"0", "99", "2.5", "2" + decimal + "54", " 1 "}) {
    edit.setText(text);
    QVERIFY2(ValidateFloatRange(&edit, 0, 99), qPrintable(text));
  }
  QVERIFY(m_Boxes->Shown.isEmpty());
  for (const QString& text : QStringList{"99.5", "-1", "x", "", "nan", "1,000"}) {
    edit.setText(text);
    QVERIFY2(!ValidateFloatRange(&edit, 0, 99), qPrintable(text));
  }
  QCOMPARE(m_Boxes->Shown.size(), 6);
  QCOMPARE(m_Boxes->Shown[0].Message, QString("Number must be between 0 and 99."));
  edit.setText("0.1");
  QVERIFY(!ValidateFloatRange(&edit, 0.5, 1.5));
  QCOMPARE(m_Boxes->Shown.last().Message, QString("Number must be between 0.5 and 1.5."));

  // Where the comma is the decimal sign, a point still works, but no group separator does.
  const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const auto read = [](const char* text) { return ReadFloat(QString::fromLatin1(text)); };
  QCOMPARE(read(" 2,5 "), std::optional<double>(2.5));
  QCOMPARE(read("2.5"), std::optional<double>(2.5));
  QCOMPARE(read("1.000,5"), std::nullopt);
  QCOMPARE(read("1,000.5"), std::nullopt);
  QCOMPARE(read(""), std::nullopt);
}

void TestDlgUtils::numericOnlyFieldsTakeDigits() {
  QLineEdit edit;
  SetNumericOnly(&edit);
  QTest::keyClicks(&edit, "a1-b2 3");
  QCOMPARE(edit.text(), QString("123"));
  QComboBox combo;
  combo.setEditable(true);
  SetNumericOnly(&combo);
  QTest::keyClicks(combo.lineEdit(), "x4y");
  QCOMPARE(combo.currentText(), QString("4"));
}

void TestDlgUtils::centreOverOwnerStaysInTheWorkArea() {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget owner;
  QDialog dialog(&owner);
  dialog.resize(200, 100);
  struct TCase {
    QRect owner;
    QPoint expected;
  };
  const int right = area.right() + 1, bottom = area.bottom() + 1;
  const TCase cases[] = {
      {QRect(area.left() + 100, area.top() + 100, 401, 301),
       QPoint(area.left() + 100 + 100, area.top() + 100 + 100)},  // halves toward zero
      {QRect(area.left() - 300, area.top() - 200, 300, 200), area.topLeft()},
      {QRect(right - 100, bottom - 50, 400, 300), QPoint(right - 200, bottom - 100)},
      {QRect(area.left() + 300, area.top() + 10, 100, 50),
       QPoint(area.left() + 250, area.top())},  // a small owner: not above the edge
  };
  for (const TCase& c : cases) {
    owner.setGeometry(c.owner);
    CentreOverOwner(&dialog, &owner);
    QCOMPARE(dialog.pos(), c.expected);
  }
}

void TestDlgUtils::shortenPathFitsTheWidth() {
  const QFontMetrics metrics(QApplication::font());
  const auto w = [&](const QString& s) { return metrics.horizontalAdvance(s); };
  const QString path = R"(C:\Users\me\Documents\Words\french.doz)";
  QCOMPARE(ShortenPath(path, metrics, w(path)), path);
  QCOMPARE(ShortenPath(path, metrics, w(R"(C:\...\Words\french.doz)")),
           QString(R"(C:\...\Words\french.doz)"));
  QCOMPARE(ShortenPath(path, metrics, w(R"(C:\...\french.doz)")), QString(R"(C:\...\french.doz)"));
  QCOMPARE(ShortenPath(path, metrics, w("french.doz")), QString("french.doz"));
  QCOMPARE(ShortenPath(path, metrics, w("fren...")), QString("fren..."));
  QCOMPARE(ShortenPath(path, metrics, 0), QString());

  // At every width the result fits and is the path, a shortened path or a cut name.
  const QStringList paths = {path, "/home/me/Vocabulary/Chapter 1/words.doz",
                             R"(\\server\share\lists\words.doz)", "plain.doz"};
  for (const QString& p : paths) {
    for (int width = 0; width <= w(p) + 5; ++width) {
      const QString s = ShortenPath(p, metrics, width);
      QVERIFY2(w(s) <= width, qPrintable(QString("%1 at %2: %3").arg(p).arg(width).arg(s)));
      const QString name = p.mid(p.lastIndexOf(QRegularExpression(R"([\\/])")) + 1);
      const bool keepsName = s.endsWith(name) && (s == p || s == name || s.contains("..."));
      const bool cutName = s.endsWith("...") && name.startsWith(s.chopped(3)) && s.size() >= 5;
      QVERIFY2(s.isEmpty() || keepsName || cutName, qPrintable(s));
    }
  }
  QCOMPARE(ShortenPath("/home/me/Vocabulary/words.doz", metrics, w("/.../words.doz")),
           QString("/.../words.doz"));
  QCOMPARE(ShortenPath(R"(\\server\share\lists\words.doz)", metrics,
                       w(R"(\\server\share\...\words.doz)")),
           QString(R"(\\server\share\...\words.doz)"));
}

void TestDlgUtils::fileTitles() {
  QCOMPARE(FileTitle(""), QString("Untitled"));
  QCOMPARE(FileTitle("/a/b/words.doz"), QString("words.doz"));
  QCOMPARE(FileTitle("words.doz"), QString("words.doz"));
  QCOMPARE(FileTitlePath(""), QString("Untitled"));
  QCOMPARE(FileTitlePath("/a/b/words.doz"), QString("/a/b/words.doz"));
}

void TestDlgUtils::versionHasFourParts() {
  QVERIFY(QRegularExpression(R"(^\d+\.\d+\.\d+\.\d+$)").match(FileVersionString()).hasMatch());
}

void TestDlgUtils::fontExistsUsesAtMost31Characters() {
  QStringList asked;
  {
    const TScopedSeam fake(FontExistsHandler, [&](const QString& name, int charset) {
      asked << QString("%1/%2").arg(name).arg(charset);
      return true;
    });
    QVERIFY(FontExists(QString(40, 'x'), 204));
    QCOMPARE(asked, QStringList{QString(31, 'x') + "/204"});
  }
  // The real seam again.
  const QStringList families = QFontDatabase::families(QFontDatabase::Latin);
  if (!families.isEmpty()) QVERIFY(FontExists(families.first().toUpper(), 0));
  QVERIFY(!FontExists("No Such Font Family 4711", 0));
}

QTEST_MAIN(TestDlgUtils)
#include "tst_dlgutils.moc"
