// SPDX-License-Identifier: MIT
// Tests of copying and pasting entries through the system clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtTest>

#include "platform/SystemClipboard.h"
#include "vocab/VocFile.h"

namespace {
void Add(TVocabFile& v, const TFieldValues& values) {
  v.EditItem().Values = values;
  v.AddItem(2);
}

QString PasteError(TVocabFile& v, TClipboard& clipboard) {
  try {
    v.PasteFromClipboard(clipboard, 2);
  } catch (const EVocabFileError& e) {
    return QString::fromLatin1(e.what());
  }
  return {};
}
}  // namespace

class TestClipboard : public QObject {
  Q_OBJECT

private slots:
  // The entry goes to the system clipboard as the private block and nothing else.
  void copyReplacesTheClipboardWithTheBlock() {
    QGuiApplication::clipboard()->setText(QStringLiteral("earlier text"));
    TVocabFile v;
    v.SetForeignLangID(0x0407);
    v.SetNativeLangID(0x0409);
    Add(v, {"Haus", "n", "", "house"});
    TSystemClipboard clipboard;
    v.CopyToClipboard(clipboard);

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(!data->hasText());
    QVERIFY(data->hasFormat(QStringLiteral("application/x-dadezivu-vocabulary-item")));
    const QByteArray block = data->data(QStringLiteral("application/x-dadezivu-vocabulary-item"));
    QCOMPARE(block.toHex(' '),
             QByteArray("07 04 09 04 00 00 00 00 48 61 75 73 09 6e 09 09 68 6f 75 73 65 00"));
    QVERIFY(clipboard.HasBlock());
    QVERIFY(v.CanPaste(clipboard));
  }

  void pasteAddsTheEntryFromTheClipboard() {
    TVocabFile source;
    source.SetForeignLangID(0x0409);
    source.SetNativeLangID(0x0407);
    Add(source, {"tree", "", "oak", "Baum"});
    source.CurrentItem().SortPos = 2;
    TSystemClipboard clipboard;
    source.CopyToClipboard(clipboard);

    TVocabFile target;
    target.SetForeignLangID(0x0809);
    target.SetNativeLangID(0x0C07);
    target.PasteFromClipboard(clipboard, 2);
    QCOMPARE(target.Count(), 1);
    QCOMPARE(QByteArray::fromStdString(target.CurrentItem().Values[2]), QByteArray("oak"));
    QCOMPARE(target.CurrentItem().SortPos, 2);

    TVocabFile french;
    french.SetForeignLangID(0x040C);
    french.SetNativeLangID(0x0407);
    QCOMPARE(PasteError(french, clipboard), QStringLiteral("Languages are different."));
    QCOMPARE(french.Count(), 0);
  }

  // Text from other programs, or a damaged block, is no vocabulary entry.
  void otherContentIsNotPasted() {
    TVocabFile v;
    TSystemClipboard clipboard;
    QGuiApplication::clipboard()->setText(QStringLiteral("Haus\tn\t\thouse"));
    QVERIFY(!clipboard.HasBlock());
    QVERIFY(!v.CanPaste(clipboard));
    QCOMPARE(PasteError(v, clipboard), QStringLiteral("No valid data on clipboard."));

    for (const QByteArray& bad : {QByteArray(), QByteArray("\0\0\0\0\0\0\0\0", 8),
                                  QByteArray("\0\0\0\0\0\0\0\0a\tb\tc\td", 15)}) {
      auto* data = new QMimeData;
      data->setData(QStringLiteral("application/x-dadezivu-vocabulary-item"), bad);
      QGuiApplication::clipboard()->setMimeData(data);
      QVERIFY(v.CanPaste(clipboard));
      QCOMPARE(PasteError(v, clipboard), QStringLiteral("No valid data on clipboard."));
    }
    QCOMPARE(v.Count(), 0);
  }

  void cleanupTestCase() { QVERIFY(CheckLiveObjects()); }
};

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
