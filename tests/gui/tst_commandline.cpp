// SPDX-License-Identifier: MIT
// Tests of the command line: the file to open or print, help, version and usage errors.
#include <QtTest>

#include "app/CommandLine.h"
#include "app/MainFrm.h"

class TestCommandLine : public QObject {
  Q_OBJECT
private slots:
  void fileArgumentsReachStartAsTyped();
  void helpAndVersionNeedNoWindow();
  void usageErrorsSayWhatWasWrong();
  void printingNeedsNoDisplay();
};

namespace {
TCommandLine Read(const QStringList& arguments) {
  return ReadCommandLine(QStringList{QStringLiteral("/usr/bin/dadezivu")} + arguments);
}
}  // namespace

// "/p" keeps its old spelling and meaning; "-p FILE" is the same request; the toolkit's own
// options neither count as the file nor as errors.
void TestCommandLine::fileArgumentsReachStartAsTyped() {
  struct Case {
    QStringList arguments;
    QStringList forStart;
    QString path;
    bool print;
  } cases[] = {
      {{}, {}, "", false},
      {{"words.doz"}, {"words.doz"}, "words.doz", false},
      {{"/p", "words.doz"}, {"/p", "words.doz"}, "words.doz", true},
      {{"/P", "words.doz"}, {"/P", "words.doz"}, "words.doz", true},
      {{"/p"}, {"/p"}, "/p", true},
      {{"-p", "words.doz"}, {"/p", "words.doz"}, "words.doz", true},
      {{"--print", "my words.doz"}, {"/p", "my words.doz"}, "my words.doz", true},
      {{"--print=words.doz"}, {"/p", "words.doz"}, "words.doz", true},
      {{"-platform", "offscreen", "words.doz"}, {"words.doz"}, "words.doz", false},
      {{"-style", "fusion", "-reverse", "-p", "w.doz"}, {"/p", "w.doz"}, "w.doz", true},
      {{"--", "-dash.doz"}, {"-dash.doz"}, "-dash.doz", false},
      {{"words.doz", "other.doz"}, {"words.doz", "other.doz"}, "words.doz", false},
  };
  for (const Case& c : cases) {
    const TCommandLine line = Read(c.arguments);
    QCOMPARE(line.Action, TCommandLine::caRun);
    QCOMPARE(line.Arguments, c.forStart);
    QCOMPARE(line.Windowless, c.print);
    QString path;
    bool print = false;
    TMainForm::ParseCommandLine(line.Arguments, path, print);
    QCOMPARE(path, c.path);
    QCOMPARE(print, c.print);
  }
}

void TestCommandLine::helpAndVersionNeedNoWindow() {
  for (const char* option : {"--help", "-h"}) {
    const TCommandLine line = Read({option, "words.doz"});
    QCOMPARE(line.Action, TCommandLine::caHelp);
    QVERIFY2(line.Message.startsWith("Usage: dadezivu [options] [file]"), qPrintable(line.Message));
    for (const char* shown : {"--help", "--version", "-p, --print <FILE>", "/p FILE"}) {
      QVERIFY2(line.Message.contains(QLatin1String(shown)), shown);
    }
    // The toolkit's options are accepted but not advertised.
    QVERIFY(!line.Message.contains("platform"));
  }
  for (const char* option : {"--version", "-v"}) {
    const TCommandLine line = Read({option});
    QCOMPARE(line.Action, TCommandLine::caVersion);
    QVERIFY2(QRegularExpression(R"(^Dadezivu \d+\.\d+\.\d+\n$)").match(line.Message).hasMatch(),
             qPrintable(line.Message));
  }
}

// Printing takes the offscreen platform only where there is no display and none was named.
void TestCommandLine::printingNeedsNoDisplay() {
  const struct {
    QStringList Arguments;
    QByteArray Display;
    QByteArray Platform;
  } cases[] = {
      {{"-p", "w.doz"}, "", "offscreen"},
      {{"/p", "w.doz"}, ":0", ""},
      {{"w.doz"}, "", ""},
      {{"-platform", "xcb", "-p", "w.doz"}, "", ""},
  };
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const QByteArray display = qgetenv("DISPLAY");
  const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  for (const auto& c : cases) {
    qunsetenv("QT_QPA_PLATFORM");
    qputenv("DISPLAY", c.Display);
    ChooseWindowlessPlatform(Read(c.Arguments));
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), c.Platform);
  }
  qputenv("QT_QPA_PLATFORM", platform);
  qputenv("DISPLAY", display);
  if (!wayland.isEmpty()) qputenv("WAYLAND_DISPLAY", wayland);
}

void TestCommandLine::usageErrorsSayWhatWasWrong() {
  const struct {
    QStringList arguments;
    const char* named;
  } cases[] = {
      {{"--bogus"}, "bogus"},
      {{"-x", "words.doz"}, "'x'"},
      {{"words.doz", "--print"}, "print"},
      {{"-p"}, "-p"},
      {{"-platform"}, "platform"},
      // -p prints one file, and neither file may be dropped silently.
      {{"-p", "a.doz", "b.doz"}, "'b.doz' is one too many"},
      {{"words.doz", "-p", "x.doz"}, "'words.doz' is one too many"},
  };
  for (const auto& c : cases) {
    const TCommandLine line = Read(c.arguments);
    QCOMPARE(line.Action, TCommandLine::caError);
    QVERIFY2(line.Message.startsWith("dadezivu: "), qPrintable(line.Message));
    QVERIFY2(line.Message.contains(QLatin1String(c.named)), qPrintable(line.Message));
    QVERIFY(line.Message.contains("Try 'dadezivu --help'"));
    QVERIFY(line.Arguments.isEmpty());
  }
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
