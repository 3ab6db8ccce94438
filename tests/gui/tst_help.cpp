// SPDX-License-Identifier: MIT
// Tests of help: the Help menu, F1 and the Help buttons, pop-ups of controls, the help window
// and its pages, and the about box.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>
#include <functional>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/WelcDlg.h"
#include "platform/AppHelp.h"
#include "platform/HelpWindow.h"
#include "settings/RegUtils.h"
#include "testing/Tips.h"

namespace {

const QString kHelpSource = QStringLiteral(DADEZIVU_SOURCE_DIR "/resources/help");

QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A main window with its settings in a file of its own and a small vocabulary open.
struct TForm {
  QTemporaryDir dir;
  TSettingsStore store{dir.filePath("settings.ini")};
  TMainForm form{&store};

  TForm() {
    const QString path = dir.filePath("words.doz");
    WriteVocabulary(
        path, {{"Haus", "", "", "house"}, {"Baum", "", "", "house"}, {"Katze", "", "", "house"}});
    form.OpenFile(path);
    form.SetViewMode(vmList);
  }
};

// Calls inspect with every modal dialog of the program that comes up while it lives, once its
// own loop runs, then closes that dialog.
class TModalInspector : public QObject {
public:
  explicit TModalInspector(std::function<void(TDialog*)> inspect) : m_Inspect(std::move(inspect)) {
    qApp->installEventFilter(this);
  }
  ~TModalInspector() override { qApp->removeEventFilter(this); }
  int Count = 0;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<TDialog*>(watched);
    if (event->type() == QEvent::Show && dialog && dialog->isModal()) {
      QTimer::singleShot(0, dialog, [this, dialog] {
        ++Count;
        m_Inspect(dialog);
        if (dialog->isVisible()) dialog->reject();
      });
    }
    return QObject::eventFilter(watched, event);
  }

private:
  std::function<void(TDialog*)> m_Inspect;
};

// What's This on widget, as the title-bar button followed by a click sends it.
void WhatsThisClick(QWidget* widget) {
  const QPoint centre = widget->rect().center();
  QHelpEvent event(QEvent::WhatsThis, centre, widget->mapToGlobal(centre));
  QApplication::sendEvent(widget, &event);
}

}  // namespace

class TestHelp : public QObject {
  Q_OBJECT
private slots:
  void init() { m_Unexpected.Take(); }
  void cleanup() { m_Unexpected.Verify(); }
  // The dialogs a TModalInspector looked at were expected; anything else was not.
  void TakeInspected() {
    for (const QString& seen : m_Unexpected.Take()) {
      QVERIFY2(seen.startsWith("modal window: "), qPrintable(seen));
    }
  }

  void routerHandsEachCommandToTheViewer();
  void helpMenuOffersItsCommands();
  void f1ShowsContentsAndTheHighlightedItemsTopic();
  void dialogHelpButtonsAskForTheirTopics();
  void popUpsFollowTheNearestControlWithANumber();
  void everyNumberInUseHasHelp();
  void closingTheMainWindowClosesHelp();
  void helpWindowShowsCompiledPages();
  void helpWindowTakesInputWhileADialogRuns();
  void pagesAndTheirLinksResolve();
  void downloadAndFeedbackOpenTheMakersAddresses();
  void aboutBoxShowsVersionAndLinks();

private:
  TUnexpectedModals m_Unexpected;
};

void TestHelp::routerHandsEachCommandToTheViewer() {
  THelpRecorder help;
  bool passOn = true;
  QVERIFY(AppHelp(kHelpContext, 2003, passOn));
  QVERIFY(!passOn);
  AppHelp(kHelpContext, 0);     // no topic: nothing
  AppHelp(kHelpContext, 4242);  // a number without a topic: nothing
  AppHelp(kHelpContents);
  ShowHelpPopup(1001, QPoint(300, 200));
  AppHelp(kHelpContextPopup, 9999);  // no text: nothing
  AppHelp(kHelpQuit, 0, passOn);
  QVERIFY(!passOn);
  QCOMPARE(help.Requests.size(), 4);
  QCOMPARE(help.Requests[0].Kind, THelpRequest::Topic);
  QCOMPARE(help.Requests[0].Context, 2003);
  QCOMPARE(help.Requests[0].Page, QString("file.html#save"));
  QCOMPARE(help.Requests[1].Kind, THelpRequest::Contents);
  QCOMPARE(help.Requests[2].Kind, THelpRequest::Popup);
  QCOMPARE(help.Requests[2].Context, 1001);
  QCOMPARE(help.Requests[2].Pos, QPoint(300, 200));
  QVERIFY(!help.Requests[2].Page.isEmpty());
  QCOMPARE(help.Requests[3].Kind, THelpRequest::CloseAll);
}

void TestHelp::helpMenuOffersItsCommands() {
  TForm f;
  auto* menu = f.form.findChild<QMenu*>("miHelp");
  QVERIFY(menu);
  QCOMPARE(menu->title(), QString("&Help"));
  QCOMPARE(menu->statusTip(), QString("Help and information commands"));
  QStringList shape;
  for (QAction* a : menu->actions()) shape << (a->isSeparator() ? "-" : a->objectName());
  QCOMPARE(shape, QStringList({"miHelpContents", "miHelpTips", "-", "miHelpDownload",
                               "miHelpFeedback", "-", "miHelpAbout"}));
  struct TItem {
    const char* name;
    const char* caption;
    const char* hint;
    bool image;
  };
  const TItem items[] = {
      {"miHelpContents", "&Help Topics", "Displays Help topics, contents and index", true},
      {"miHelpTips", "&Tip of the Day", "Provides useful information for new users", true},
      {"miHelpDownload", "&Download Vocabulary",
       "Displays vocabulary files available on the Internet", false},
      {"miHelpFeedback", "&Send Feedback", "Creates an e-mail to the author of this program",
       false},
      {"miHelpAbout", "&About Dadezivu", "Displays information about this program", false},
  };
  for (const TItem& item : items) {
    QAction* action = FindAction(&f.form, item.name);
    QVERIFY2(action, item.name);
    QCOMPARE(action->text(), QString(item.caption));
    QCOMPARE(action->statusTip(), QString(item.hint));
    QCOMPARE(!action->icon().isNull(), item.image);
    QVERIFY(action->isEnabled());
  }
  QCOMPARE(FindAction(&f.form, "miHelpContents")->shortcut(), QKeySequence(Qt::Key_F1));
}

void TestHelp::f1ShowsContentsAndTheHighlightedItemsTopic() {
  THelpRecorder help;
  TForm f;
  f.form.show();
  QVERIFY(QTest::qWaitForWindowActive(&f.form));
  QTest::keyClick(&f.form, Qt::Key_F1);
  QCOMPARE(help.Requests.size(), 1);
  QCOMPARE(help.Requests[0].Kind, THelpRequest::Contents);

  // F1 in an open menu: the topic of the highlighted item, and the menu closes.
  const std::pair<const char*, const char*> cases[] = {
      {"miFile", "miFileSave"}, {"miEdit", "miEditFindNext"}, {"miView", "miViewOptions"}};
  const int topics[] = {2003, 2113, 2303};
  for (int i = 0; i < 3; ++i) {
    help.Requests.clear();
    auto* menu = f.form.findChild<QMenu*>(cases[i].first);
    menu->popup(f.form.mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(FindAction(&f.form, cases[i].second));
    QTest::keyClick(menu, Qt::Key_F1);
    QCOMPARE(help.Requests.size(), 1);
    QCOMPARE(help.Requests[0].Kind, THelpRequest::Topic);
    QCOMPARE(help.Requests[0].Context, topics[i]);
    QTRY_VERIFY(!menu->isVisible());
  }
  // The Help menu's items have no topic of their own: the contents.
  help.Requests.clear();
  auto* menu = f.form.findChild<QMenu*>("miHelp");
  menu->popup(f.form.mapToGlobal(QPoint(10, 10)));
  QVERIFY(QTest::qWaitForWindowExposed(menu));
  menu->setActiveAction(FindAction(&f.form, "miHelpAbout"));
  QTest::keyClick(menu, Qt::Key_F1);
  QCOMPARE(help.Requests.size(), 1);
  QCOMPARE(help.Requests[0].Kind, THelpRequest::Contents);
}

void TestHelp::dialogHelpButtonsAskForTheirTopics() {
  THelpRecorder help;
  TForm f;
  // The options dialog asks by the page shown: the third page is 3043.
  {
    TModalInspector inspector([](TDialog* dialog) {
      auto* pages = dialog->findChild<QTabWidget*>("pcOptions");
      QVERIFY(pages);
      pages->setCurrentIndex(2);
      dialog->btnHelp->click();
    });
    TRIGGER_ACTION(&f.form, "miViewOptions");
    QCOMPARE(inspector.Count, 1);
  }
  TakeInspected();
  QCOMPARE(help.Requests.size(), 1);
  QCOMPARE(help.Requests[0].Context, 3043);
  QCOMPARE(help.Requests[0].Page, QString("dlg-options.html#evaluation"));

  // Dialogs of other commands reach the help the same way.
  const std::pair<const char*, int> commands[] = {
      {"miEditSort", 3090}, {"miViewFont", 3080}, {"miEditEdit", 3000}, {"miTestStatistics", 3101}};
  for (const auto& [command, topic] : commands) {
    help.Requests.clear();
    {
      TModalInspector inspector([](TDialog* dialog) { dialog->btnHelp->click(); });
      TRIGGER_ACTION(&f.form, command);
      QCOMPARE(inspector.Count, 1);
    }
    TakeInspected();
    QCOMPARE(help.Requests.size(), 1);
    QCOMPARE(help.Requests[0].Context, topic);
  }
  // The modeless Find window too.
  help.Requests.clear();
  TRIGGER_ACTION(&f.form, "miEditFind");
  auto* find = f.form.findChild<TDialog*>("SearchDialog");
  QVERIFY(find);
  QTRY_VERIFY(find->isVisible());
  find->btnHelp->click();
  QCOMPARE(help.Requests.size(), 1);
  QCOMPARE(help.Requests[0].Context, 3020);
}

void TestHelp::popUpsFollowTheNearestControlWithANumber() {
  THelpRecorder help;
  TRecentFileList recent(9);
  TWelcomeData data{recent, false, {}};
  TWelcomeDialog dialog(nullptr, data);
  QVERIFY(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));

  WhatsThisClick(dialog.btnOK);
  WhatsThisClick(dialog.rbNew);
  WhatsThisClick(dialog.imgNew);  // no number of its own: the dialog's
  QCOMPARE(help.Requests.size(), 3);
  QCOMPARE(help.Requests[0].Context, 1000);
  QCOMPARE(help.Requests[0].Pos, dialog.btnOK->mapToGlobal(QPoint(0, 0)));
  QCOMPARE(help.Requests[1].Context, 1100);
  QCOMPARE(help.Requests[2].Context, 1103);
  QCOMPARE(help.Requests[2].Pos, dialog.mapToGlobal(QPoint(0, 0)));

  // F1 explains the control with the focus; Shift+F1 starts What's This.
  help.Requests.clear();
  auto* list = dialog.findChild<QWidget*>("lbFileName");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_F1);
  QCOMPARE(help.Requests.size(), 1);
  QCOMPARE(help.Requests[0].Kind, THelpRequest::Popup);
  QCOMPARE(help.Requests[0].Context, 1102);
  QTest::keyClick(list, Qt::Key_F1, Qt::ShiftModifier);
  QVERIFY(QWhatsThis::inWhatsThisMode());
  QWhatsThis::leaveWhatsThisMode();

  // The about box has neither the button nor pop-ups.
  help.Requests.clear();
  TAboutDialog about(nullptr);
  QVERIFY(!(about.windowFlags() & Qt::WindowContextHelpButtonHint));
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  WhatsThisClick(about.btnOK);
  QVERIFY(help.Requests.isEmpty());
}

void TestHelp::everyNumberInUseHasHelp() {
  THelpRecorder help;
  TMessageBoxes boxes(QList<int>(40, kIdNo));
  TFileDialogAnswer open(OpenFileDialog, {});
  TFileDialogAnswer save(SaveFileDialog, {});
  TForm f;
  f.form.TipsDialogRunner = [](TTipRequest&) { return false; };
  f.form.AboutDialogRunner = [] {};

  QSet<int> topics, popups;
  QStringList dialogs;
  auto walk = [&](TDialog* dialog) {
    dialogs << dialog->objectName();
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
      if (HelpContextOf(w) != 0) popups << HelpContextOf(w);
    }
    if (HelpContextOf(dialog) != 0) popups << HelpContextOf(dialog);
    if (dialog->HelpTopic() == 0) return;
    // A dialog with pages asks by the page: every page's topic counts.
    const auto pageSets = dialog->findChildren<QTabWidget*>();
    if (pageSets.isEmpty()) topics << dialog->HelpTopic();
    for (QTabWidget* pages : pageSets) {
      for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        topics << dialog->HelpTopic();
      }
    }
    // What's This on OK is pop-up 1000 in every dialog that offers pop-ups.
    if (dialog->btnOK && (dialog->windowFlags() & Qt::WindowContextHelpButtonHint)) {
      help.Requests.clear();
      WhatsThisClick(dialog->btnOK);
      QVERIFY2(help.Requests.size() == 1 && help.Requests[0].Context == 1000,
               qPrintable(dialog->objectName()));
    }
  };
  {
    TModalInspector inspector(walk);
    for (QAction* action : f.form.findChildren<QAction*>()) {
      if (HelpContextOf(action) != 0) topics << HelpContextOf(action);
      if (action->objectName() == "miFileExit" || !action->isEnabled() || action->isSeparator())
        continue;
      action->trigger();
      // A window that stays open beside the main window (Find).
      for (TDialog* modeless : f.form.findChildren<TDialog*>()) {
        if (modeless->isVisible() && !modeless->isModal()) walk(modeless);
      }
      f.form.SetViewMode(vmList);
    }
  }
  TakeInspected();

  // The start-up dialog comes up only at start.
  TRecentFileList recent(9);
  TWelcomeData data{recent, false, {}};
  TWelcomeDialog welcome(&f.form, data);
  welcome.show();
  QVERIFY(QTest::qWaitForWindowExposed(&welcome));
  walk(&welcome);
  // The tips point into the help with their own numbers.
  const QString tips = ReadText(QStringLiteral(DADEZIVU_SOURCE_DIR "/resources/dadezivu.tip"));
  for (const QString& line : tips.split('\n')) {
    const int tab = line.indexOf('\t');
    if (tab > 0 && line.left(tab).toInt() != 0) topics << line.left(tab).toInt();
  }

  // The commands and dialogs that must have been seen, whatever else joins them.
  for (const char* name : {"OptionsDialog", "SelectFontDialog", "SortDialog", "EditDialog",
                           "StatisticsDialog", "PropertiesDialog", "SearchDialog"}) {
    QVERIFY2(dialogs.contains(name), name);
  }
  for (int menuTopic : {2000, 2003, 2008, 2100, 2113, 2200, 2205, 2300, 2303}) {
    QVERIFY2(topics.contains(menuTopic), qPrintable(QString::number(menuTopic)));
  }
  for (int topic : topics) {
    QVERIFY2(!HelpTopicPage(topic).isEmpty(), qPrintable(QString("topic %1").arg(topic)));
  }
  for (int popup : popups) {
    QVERIFY2(!HelpPopupText(popup).isEmpty(), qPrintable(QString("pop-up %1").arg(popup)));
  }
  QVERIFY(popups.contains(1001) && popups.contains(1002) && popups.contains(2101));
}

void TestHelp::closingTheMainWindowClosesHelp() {
  THelpRecorder help;
  TForm f;
  f.form.show();
  QVERIFY(f.form.close());
  QCOMPARE(help.Requests.size(), 1);
  QCOMPARE(help.Requests[0].Kind, THelpRequest::CloseAll);

  // The real window goes when asked to.
  THelpWindowViewer viewer;
  viewer.SetCollection(QStringLiteral(DADEZIVU_HELP_DIR "/dadezivu.qhc"));
  viewer.ShowContents();
  QPointer<THelpWindow> window = viewer.Window();
  QVERIFY(window && window->isVisible());
  QCOMPARE(window->parentWidget(), nullptr);
  viewer.CloseAll();
  QTRY_VERIFY(!window);
}

void TestHelp::helpWindowShowsCompiledPages() {
  TUrlRecorder urls;
  THelpWindowViewer viewer;
  viewer.SetCollection(QStringLiteral(DADEZIVU_HELP_DIR "/dadezivu.qhc"));
  viewer.ShowTopic(2003, HelpTopicPage(2003));
  THelpBrowser* page = viewer.Window()->Browser();
  QCOMPARE(page->source().fileName(), QString("file.html"));
  QCOMPARE(page->source().fragment(), QString("save"));
  QVERIFY(page->toPlainText().contains("Save As"));
  // The contents tree is built in the background after the first page is shown; it still marks
  // that page once it is there.
  auto* tree = viewer.Window()->findChild<QHelpContentWidget*>("tvContents");
  QVERIFY(tree);
  QTRY_COMPARE(tree->currentIndex().data().toString(), QString("File menu"));
  viewer.ShowContents();
  QVERIFY(page->toPlainText().contains("Getting started"));
  QVERIFY(page->isBackwardAvailable());
  page->backward();
  QCOMPARE(page->source().fileName(), QString("file.html"));
  // Every topic's page is in the compiled collection.
  for (int topic : HelpTopicNumbers()) {
    viewer.ShowTopic(topic, HelpTopicPage(topic));
    QVERIFY2(page->toPlainText().size() > 100, qPrintable(HelpTopicPage(topic)));
  }
  // Links to other sites go to the desktop.
  emit page->anchorClicked(QUrl("https://dadezivu.example.org/"));
  QCOMPARE(urls.Urls, QList<QUrl>({QUrl("https://dadezivu.example.org/")}));
  viewer.CloseAll();
}

void TestHelp::helpWindowTakesInputWhileADialogRuns() {
  THelpWindowViewer viewer;
  viewer.SetCollection(QStringLiteral(DADEZIVU_HELP_DIR "/dadezivu.qhc"));
  QDialog dialog;
  QString pageAfterClick;
  QTimer::singleShot(0, &dialog, [&] {
    viewer.ShowTopic(3040, HelpTopicPage(3040));
    THelpWindow* window = viewer.Window();
    auto* bar = window->findChild<QToolBar*>("tbrHelp");
    auto* home = window->findChild<QAction*>("actContents");
    if (bar && home) {
      // A window that the running dialog blocks would drop this click.
      // Sent to the window as the window system would, so that blocking applies.
      QWidget* button = bar->widgetForAction(home);
      QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                        button->mapTo(window, button->rect().center()));
      pageAfterClick = window->Browser()->source().fileName();
    }
    dialog.accept();
  });
  dialog.exec();
  QCOMPARE(m_Unexpected.Take().size(), 1);  // the dialog run here
  QCOMPARE(pageAfterClick, QString("index.html"));
  // The window outlives the dialog, on its own again.
  QVERIFY(viewer.Window());
  QVERIFY(!viewer.Window()->parentWidget());
  QVERIFY(viewer.Window()->isVisible());
  viewer.CloseAll();
}

void TestHelp::pagesAndTheirLinksResolve() {
  const QDir dir(kHelpSource);
  const QStringList pages = dir.entryList({"*.html"}, QDir::Files);
  QVERIFY(pages.size() >= 20);
  // A link's target, seen from page: the file exists, and so does the anchor in it.
  auto resolves = [&](const QString& link, const QString& from = {}) {
    QString file = link.section('#', 0, 0);
    const QString anchor = link.section('#', 1);
    if (file.isEmpty()) file = from;
    if (!pages.contains(file)) return false;
    return anchor.isEmpty() ||
           ReadText(dir.filePath(file)).contains(QString("id=\"%1\"").arg(anchor));
  };
  const QRegularExpression href("href=\"([^\"]+)\"");
  for (const QString& page : pages) {
    const QString text = ReadText(dir.filePath(page));
    for (const auto& m : href.globalMatch(text)) {
      const QString link = m.captured(1);
      if (link.startsWith("http") || link.startsWith("mailto:") || link.endsWith(".css")) continue;
      QVERIFY2(resolves(link, page), qPrintable(page + " -> " + link));
    }
  }
  for (int topic : HelpTopicNumbers()) {
    QVERIFY2(resolves(HelpTopicPage(topic)), qPrintable(HelpTopicPage(topic)));
  }
  // Every page is listed in the help project, and every entry of it exists.
  const QString project = ReadText(dir.filePath("dadezivu.qhp"));
  const QRegularExpression ref("ref=\"([^\"]+)\"");
  for (const auto& m : ref.globalMatch(project)) {
    QVERIFY2(resolves(m.captured(1)), qPrintable(m.captured(1)));
  }
  for (const QString& page : pages) {
    QVERIFY2(project.contains(QString("ref=\"%1\"").arg(page)), qPrintable(page));
  }
}

void TestHelp::downloadAndFeedbackOpenTheMakersAddresses() {
  TUrlRecorder urls;
  TForm f;
  TRIGGER_ACTION(&f.form, "miHelpDownload");
  TRIGGER_ACTION(&f.form, "miHelpFeedback");
  QCOMPARE(urls.Urls, QList<QUrl>({QUrl("https://dadezivu.example.org/sharevoc.htm"),
                                   QUrl("mailto:feedback@dadezivu.example.org?Subject=Dadezivu")}));
}

void TestHelp::aboutBoxShowsVersionAndLinks() {
  TUrlRecorder urls;
  TAboutDialog about(nullptr);
  QCOMPARE(about.windowTitle(), QString("About Dadezivu"));
  QCOMPARE(about.lblTitle->text(), QString("Dadezivu"));
  QVERIFY(about.lblTitle->font().bold());
  QVERIFY(about.lblVersion->text().startsWith("Version "));
  QCOMPARE(about.lblVersion->text(), "Version " + FileVersionString());
  QVERIFY(!FileVersionString().isEmpty());
  QVERIFY(about.lblHomePage->font().underline());
  QCOMPARE(about.lblHomePage->text(), QString("https://dadezivu.example.org/"));
  QCOMPARE(about.lblEmail->text(), QString("feedback@dadezivu.example.org"));
  QCOMPARE(about.lblLicence->text(), QString());
  QVERIFY(!about.imgIcon->pixmap().isNull());
  QVERIFY(!about.btnCancel && !about.btnHelp);
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  QTest::mouseClick(about.lblHomePage, Qt::LeftButton);
  QTest::mouseClick(about.lblEmail, Qt::LeftButton);
  QCOMPARE(urls.Urls, QList<QUrl>({QUrl("https://dadezivu.example.org/"),
                                   QUrl("mailto:feedback@dadezivu.example.org?Subject=Dadezivu")}));
  // Escape closes the box as OK does.
  QTest::keyClick(&about, Qt::Key_Escape);
  QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
