// SPDX-License-Identifier: MIT
// Copy in one running program, Paste in another: two processes share one X clipboard. Run under
// an X server (the test command starts one with xvfb-run).
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include "platform/SystemClipboard.h"
#include "vocab/VocFile.h"

namespace {
// The other program: puts one entry of a German-English vocabulary (or of the languages given)
// on the clipboard, says so, and keeps serving it until it is told to end.
int RunCopySide(uint16_t foreign, uint16_t native) {
  TVocabFile v;
  v.SetForeignLangID(foreign);
  v.SetNativeLangID(native);
  v.EditItem().Values = {"das Haus", "n", "building", "house"};
  v.EditItem().SortPos = 4;
  v.AddItem(2);
  TSystemClipboard clipboard;
  v.CopyToClipboard(clipboard);
  std::printf("ready\n");
  std::fflush(stdout);
  QTimer::singleShot(20000, QCoreApplication::instance(), &QCoreApplication::quit);
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                   QCoreApplication::instance(), &QCoreApplication::quit);
  return QCoreApplication::exec();
}

class TCopySide {
public:
  explicit TCopySide(const QString& languages) {
    // The same X display, whatever platform the environment asks for.
    m_Process.start(QCoreApplication::applicationFilePath(),
                    {"--copy", languages, "-platform", QGuiApplication::platformName()});
    m_Process.waitForReadyRead(10000);
    Ready = m_Process.readLine().trimmed() == "ready";
  }
  ~TCopySide() {
    // Taking the clipboard ends the other program.
    QGuiApplication::clipboard()->setText("done");
    if (!m_Process.waitForFinished(5000)) m_Process.kill();
  }
  bool Ready = false;

private:
  QProcess m_Process;
};
}  // namespace

class TestXClipboard : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != "xcb") QSKIP("needs an X server");
  }

  void entryArrivesInTheOtherProgram() {
    TCopySide other("0407:0409");
    QVERIFY(other.Ready);
    TSystemClipboard clipboard;
    TVocabFile v;
    v.SetForeignLangID(0x0807);  // another sublanguage of the same languages
    v.SetNativeLangID(0x0809);
    QTRY_VERIFY_WITH_TIMEOUT(v.CanPaste(clipboard), 10000);
    v.PasteFromClipboard(clipboard, 2);
    QCOMPARE(v.Count(), 1);
    const TVocabItem& e = v.GetItem(0);
    QCOMPARE(e.Values[0], std::string("das Haus"));
    QCOMPARE(e.Values[3], std::string("house"));
    QCOMPARE(e.SortPos, 4);
    QCOMPARE(v.UndoKind(), uint8_t(jkAdd));
  }

  void otherLanguagesAreRefused() {
    TCopySide other("040C:0409");
    QVERIFY(other.Ready);
    TSystemClipboard clipboard;
    TVocabFile v;
    v.SetForeignLangID(0x0407);
    v.SetNativeLangID(0x0409);
    // The other program's block, once the X server hands it over in full.
    QTRY_VERIFY_WITH_TIMEOUT(!clipboard.GetBlock().value_or("").empty(), 10000);
    try {
      v.PasteFromClipboard(clipboard, 2);
      QFAIL("pasted an entry of other languages");
    } catch (const EVocabFileError& e) {
      QCOMPARE(QString(e.what()), QString("Languages are different."));
    }
    QCOMPARE(v.Count(), 0);
  }
};

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList arguments = app.arguments();
  if (arguments.size() >= 3 && arguments[1] == "--copy") {
    const QStringList ids = arguments[2].split(':');
    return RunCopySide(static_cast<uint16_t>(ids[0].toUInt(nullptr, 16)),
                       static_cast<uint16_t>(ids[1].toUInt(nullptr, 16)));
  }
  TestXClipboard test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_xclipboard.moc"
