// SPDX-License-Identifier: MIT
// The help window over the compiled help collection, and the viewer that owns it.
#include "platform/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "platform/Icons.h"
#include "platform/Shell.h"

namespace {

// The help engine writes into its collection (settings, search index), and an installed one is
// read-only: it works on a copy in the user's cache, renewed whenever the shipped one is another
// (an update, another copy of the program). The engine changes the copy itself, so what was
// copied is remembered in a stamp beside it.
QString WritableCollection(const QString& shipped) {
  const QDir folder(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                    QStringLiteral("/help"));
  if (!QDir().mkpath(folder.path())) return shipped;
  const QFileInfo source(shipped);
  const QString names[] = {source.fileName(), source.completeBaseName() + QStringLiteral(".qch")};
  QString stamp = source.absoluteFilePath();
  for (const QString& name : names) {
    const QFileInfo from(source.dir().filePath(name));
    stamp +=
        QStringLiteral("\n%1 %2").arg(from.size()).arg(from.lastModified().toMSecsSinceEpoch());
  }
  QFile stampFile(folder.filePath(QStringLiteral("stamp")));
  const bool current =
      stampFile.open(QIODevice::ReadOnly) && QString::fromUtf8(stampFile.readAll()) == stamp &&
      QFileInfo::exists(folder.filePath(names[0])) && QFileInfo::exists(folder.filePath(names[1]));
  stampFile.close();
  if (!current) {
    stampFile.remove();
    for (const QString& name : names) {
      QFile::remove(folder.filePath(name));
      if (!QFile::copy(source.dir().filePath(name), folder.filePath(name))) return shipped;
      // An installed file is read-only, and so would be its copy.
      QFile(folder.filePath(name)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    // A renewed collection needs a fresh search index.
    QDir(folder.filePath(QStringLiteral(".") + source.completeBaseName())).removeRecursively();
    if (stampFile.open(QIODevice::WriteOnly)) stampFile.write(stamp.toUtf8());
  }
  return folder.filePath(source.fileName());
}

}  // namespace

THelpBrowser::THelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), m_Engine(engine) {
  setObjectName(QStringLiteral("hbPage"));
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() == QLatin1String("qthelp")) {
      setSource(target);
    } else {
      OpenUrl(target);
    }
  });
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
  if (m_Engine && name.scheme() == QLatin1String("qthelp")) return m_Engine->fileData(name);
  return QTextBrowser::loadResource(type, name);
}

THelpWindow::THelpWindow(const QString& collection) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(tr("Dadezivu Help"));
  setWindowIcon(ProgramIcon());
  setAttribute(Qt::WA_DeleteOnClose);
  resize(860, 600);

  if (!collection.isEmpty()) {
    m_Engine = new QHelpEngine(WritableCollection(collection), this);
    if (!m_Engine->setupData()) {
      delete m_Engine;
      m_Engine = nullptr;
    }
  }

  auto* pages = new QTabWidget;
  pages->setObjectName(QStringLiteral("pcNavigation"));
  hbPage = new THelpBrowser(m_Engine, nullptr);
  if (m_Engine) {
    QHelpContentWidget* contents = m_Engine->contentWidget();
    contents->setObjectName(QStringLiteral("tvContents"));
    pages->addTab(contents, tr("Contents"));
    // The tree follows the page shown, wherever it was reached from. It is built in the
    // background, so the first page may be shown before the tree can mark it.
    const auto followPage = [this, contents] {
      QUrl page = hbPage->source();
      page.setFragment(QString());
      const QModelIndex item = contents->indexOf(page);
      if (item.isValid()) contents->setCurrentIndex(item);
    };
    connect(m_Engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents, followPage] {
              contents->expandToDepth(1);
              followPage();
            });
    connect(hbPage, &QTextBrowser::sourceChanged, contents, followPage);
    connect(contents, &QHelpContentWidget::linkActivated, hbPage,
            [this](const QUrl& url) { hbPage->setSource(url); });

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* edtIndex = new QLineEdit;
    edtIndex->setObjectName(QStringLiteral("edtIndex"));
    edtIndex->setPlaceholderText(tr("Type a word to look for"));
    QHelpIndexWidget* index = m_Engine->indexWidget();
    index->setObjectName(QStringLiteral("lbIndex"));
    indexLayout->addWidget(edtIndex);
    indexLayout->addWidget(index);
    connect(edtIndex, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(edtIndex, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, hbPage,
            [this](const QHelpLink& link, const QString&) { hbPage->setSource(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, hbPage,
            [this](const QList<QHelpLink>& links, const QString&) {
              if (!links.isEmpty()) hbPage->setSource(links.first().url);
            });
    pages->addTab(indexPage, tr("Index"));

    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    QHelpSearchEngine* search = m_Engine->searchEngine();
    QHelpSearchQueryWidget* query = search->queryWidget();
    QHelpSearchResultWidget* results = search->resultWidget();
    searchLayout->addWidget(query);
    searchLayout->addWidget(results, 1);
    connect(query, &QHelpSearchQueryWidget::search, search,
            [search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, hbPage,
            [this](const QUrl& url) { hbPage->setSource(url); });
    connect(pages, &QTabWidget::currentChanged, this, [this, pages, searchPage] {
      // The full-text index is built the first time someone searches, not at every start.
      if (pages->currentWidget() == searchPage && !m_Indexed) {
        m_Indexed = true;
        m_Engine->searchEngine()->reindexDocumentation();
      }
    });
    pages->addTab(searchPage, tr("Search"));
  } else {
    hbPage->setHtml(
        tr("<p>The help files of Dadezivu were not found. They belong in the "
           "<tt>help</tt> folder beside the program or in the installed data "
           "folder.</p>"));
  }

  auto* bar = new QToolBar;
  bar->setObjectName(QStringLiteral("tbrHelp"));
  QAction* back = bar->addAction(tr("&Back"), hbPage, &QTextBrowser::backward);
  back->setObjectName(QStringLiteral("actBack"));
  back->setShortcut(QKeySequence::Back);
  back->setEnabled(false);
  QAction* forward = bar->addAction(tr("&Forward"), hbPage, &QTextBrowser::forward);
  forward->setObjectName(QStringLiteral("actForward"));
  forward->setShortcut(QKeySequence::Forward);
  forward->setEnabled(false);
  QAction* home =
      bar->addAction(tr("&Contents"), this, [this] { ShowPage(QStringLiteral("index.html")); });
  home->setObjectName(QStringLiteral("actContents"));
  connect(hbPage, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(hbPage, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(bar);
  rightLayout->addWidget(hbPage);
  auto* splitter = new QSplitter;
  splitter->addWidget(pages);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 620});
  if (!m_Engine) pages->hide();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);
}

void THelpWindow::ShowPage(const QString& page) {
  if (!m_Engine) return;
  hbPage->setSource(HelpPageUrl(page));
}

namespace {
// Moves window under owner (null: on its own), where it stays a window of its own in the same
// place.
void Reparent(QWidget* window, QWidget* owner) {
  const bool visible = window->isVisible();
  // Where the frame stands; a window not shown yet is placed by the window manager.
  const QPoint place = window->pos();
  window->setParent(owner, window->windowFlags() | Qt::Window);
  if (visible) {
    window->move(place);
    window->show();
  }
}
}  // namespace

void THelpWindowViewer::FollowModalDialog() {
  // A modal dialog blocks every window but its own, and help is mostly asked for from dialogs:
  // while one runs, the help window belongs to it, and it is given back before the dialog goes.
  auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (!m_Window || !modal || modal == m_Window->parentWidget()) return;
  Reparent(m_Window, modal);
  QObject::connect(
      modal, &QDialog::finished, m_Window,
      [this] {
        Reparent(m_Window, nullptr);
        // A dialog that opened this one may still run.
        QTimer::singleShot(0, m_Window, [this] { FollowModalDialog(); });
      },
      Qt::SingleShotConnection);
}

THelpWindow* THelpWindowViewer::Show(const QString& page) {
  if (!m_Window)
    m_Window = new THelpWindow(m_Collection.isEmpty() ? HelpCollectionFile() : m_Collection);
  FollowModalDialog();
  m_Window->ShowPage(page);
  m_Window->show();
  m_Window->raise();
  m_Window->activateWindow();
  return m_Window;
}

void THelpWindowViewer::ShowTopic(int, const QString& page) {
  Show(page);
}

void THelpWindowViewer::ShowContents() {
  Show(QStringLiteral("index.html"));
}

void THelpWindowViewer::CloseAll() {
  if (m_Window) m_Window->close();
}

void THelpWindowViewer::ShowPopup(int, const QString& text, const QPoint& pos) {
  QWhatsThis::showText(pos, text);
}
