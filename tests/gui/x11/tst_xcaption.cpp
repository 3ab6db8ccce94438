// SPDX-License-Identifier: MIT
// Captions as the window manager reads them (_NET_WM_NAME): the main window after New, Open and
// Save As, a dialog and a message box. Run under an X server (the test command starts one with
// xvfb-run).
#include <QtGui/qguiapplication_platform.h>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "dialogs/PropsDlg.h"
#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"
#include "settings/RegUtils.h"

namespace {
xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window's title as the window manager reads it.
QString WmName(QWidget* window) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return "<no X connection>";
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, static_cast<xcb_window_t>(window->winId()),
                       Atom(connection, "_NET_WM_NAME"), Atom(connection, "UTF8_STRING"), 0, 1024);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  if (!reply) return "<no reply>";
  return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           xcb_get_property_value_length(reply.get()));
}

// Lets the event loop wait for events, as it does between the user's actions: the program
// brings its caption up to date just before that.
QString WmNameAfterIdle(QWidget* window) {
  QEventLoop loop;
  QTimer::singleShot(20, &loop, &QEventLoop::quit);
  loop.exec();
  return WmName(window);
}

void WriteVocabulary(const QString& path) {
  TVocabFile v;
  v.SetForeignLangID(0x0407);
  v.SetNativeLangID(0x0409);
  v.EditItem().Values[0] = "Haus";
  v.AddItem(2);
  v.SaveToFile(QFile::encodeName(path).toStdString());
}
}  // namespace

class TestXCaption : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != "xcb") QSKIP("needs an X server");
    // As the program sets it up.
    QApplication::setApplicationName("Dadezivu");
  }

  void mainWindowDialogAndMessageBox() {
    QTemporaryDir dir;
    TSettingsStore store(dir.filePath("settings.ini"));
    TMainForm form(&store);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(WmNameAfterIdle(&form), QString("Dadezivu"));

    form.PropertiesDialogRunner = [](TPropertiesData&) { return true; };
    TRIGGER_ACTION(&form, "miFileNew");
    QTRY_COMPARE(WmNameAfterIdle(&form), QString("Dadezivu - Untitled"));

    const QString words = dir.filePath("German-English.doz");
    WriteVocabulary(words);
    {
      TMessageBoxes boxes({kIdNo});  // the new vocabulary is not saved
      TFileDialogAnswer open(OpenFileDialog, words);
      TRIGGER_ACTION(&form, "miFileOpen");
    }
    QTRY_COMPARE(WmNameAfterIdle(&form), QString("Dadezivu - German-English.doz"));
    {
      TFileDialogAnswer save(SaveFileDialog, dir.filePath("copy"), 1);
      TRIGGER_ACTION(&form, "miFileSaveAs");
    }
    QTRY_COMPARE(WmNameAfterIdle(&form), QString("Dadezivu - copy.doz"));
    {
      TFileDialogAnswer save(SaveFileDialog, dir.filePath("copy"), 2);
      TRIGGER_ACTION(&form, "miFileSaveAs");
    }
    QVERIFY(QFileInfo::exists(dir.filePath("copy.rtf")));
    QCOMPARE(WmNameAfterIdle(&form), QString("Dadezivu - copy.doz"));

    // A dialog carries exactly its own caption.
    TPropertiesData data;
    data.NativeLangID = 0x0409;
    TPropertiesDialog dialog(&form, data);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE(WmName(&dialog), QString("Properties"));
    dialog.close();

    // And so does a message box: "Dadezivu" unless it is given another.
    const TScopedSeam real(MessageBoxHandler, ShowQtMessageBox);
    for (const QString& caption : {QString(), QString("Import")}) {
      QString seen;
      QTimer timer;
      connect(&timer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        const QString name = WmName(box);
        if (name.isEmpty()) return;  // not yet set on the X window
        timer.stop();
        seen = name;
        box->button(QMessageBox::Ok)->click();
      });
      timer.start(20);
      ShowMessageBox("Text", caption, kMbNotice);
      QCOMPARE(seen, caption.isEmpty() ? QString("Dadezivu") : caption);
    }
    // The main window's caption did not change meanwhile.
    QCOMPARE(WmNameAfterIdle(&form), QString("Dadezivu - copy.doz"));
  }
};

QTEST_MAIN(TestXCaption)
#include "tst_xcaption.moc"
