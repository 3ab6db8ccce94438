// SPDX-License-Identifier: MIT
// The recent-file list and the File menu items that show it.
#include "settings/RecFile.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>

#include <algorithm>
#include <cassert>

#include "platform/Dialog.h"
#include "platform/DlgUtils.h"

namespace {
constexpr int kRecentMenuWidth = 200;

qsizetype IndexOf(const QStringList& files, const QString& path) {
  for (qsizetype i = 0; i < files.size(); ++i)
    if (files[i].compare(path, Qt::CaseInsensitive) == 0) return i;
  return -1;
}
}  // namespace

TRecentFileList::TRecentFileList(int32_t maxCount) : m_MaxCount(maxCount) {
  assert(maxCount > 0);
}

void TRecentFileList::AddFile(const QString& path) {
  if (path.isEmpty()) return;
  const qsizetype found = IndexOf(m_Files, path);
  if (found >= 0)
    m_Files.removeAt(found);
  else if (Count() >= m_MaxCount)
    m_Files.removeLast();
  m_Files.prepend(path);
  const qsizetype added = IndexOf(m_Added, path);
  if (added >= 0) m_Added.removeAt(added);
  m_Added.prepend(path);
}

void TRecentFileList::MergeStored(const TRecentFileList& stored) {
  QStringList merged;
  for (const QString& file : m_Files) {
    if (IndexOf(m_Added, file) >= 0) merged.append(file);
  }
  for (const QString& file : stored.m_Files) {
    if (IndexOf(merged, file) < 0) merged.append(file);
  }
  m_MaxCount = std::max(m_MaxCount, stored.m_MaxCount);
  if (merged.size() > m_MaxCount) merged.resize(m_MaxCount);
  m_Files = merged;
}

void TRecentFileList::AppendFile(const QString& path) {
  if (path.isEmpty() || IndexOf(m_Files, path) >= 0) return;
  m_Files.append(path);
  m_MaxCount = std::max(m_MaxCount, Count());
}

QString TRecentFileList::GetFile(int32_t index) const {
  return index >= 0 && index < Count() ? m_Files[index] : QString();
}

TRecentFileMenu::TRecentFileMenu(QMenu* menu, QAction* before,
                                 std::function<void(int index)> onClick)
    : QObject(menu) {
  for (int i = 0; i < kItemCount; ++i) {
    auto* item = new QAction(menu);
    item->setObjectName(QStringLiteral("miFileRecent%1").arg(i + 1));
    item->setData(i);
    item->setStatusTip(tr("Opens a recently used file"));
    SetHelpContext(item, 2008);
    item->setVisible(false);
    connect(item, &QAction::triggered, this, [onClick, i] {
      if (onClick) onClick(i);
    });
    menu->insertAction(before, item);
    m_Items[i] = item;
  }
  m_Bar = new QAction(menu);
  m_Bar->setObjectName(QStringLiteral("miFileRecentBar"));
  m_Bar->setSeparator(true);
  m_Bar->setVisible(false);
  menu->insertAction(before, m_Bar);
}

void TRecentFileMenu::UpdateRecentMenu(const TRecentFileList& files, const QFontMetrics& metrics) {
  for (int i = 0; i < kItemCount; ++i) {
    QAction* item = m_Items[i];
    if (i >= files.Count()) {
      item->setVisible(false);
      continue;
    }
    // A "&" in the path would turn into a mnemonic; doubled, it shows as itself.
    const QString shown = ShortenPath(FileTitlePath(files.GetFile(i)), metrics, kRecentMenuWidth);
    const QString caption = QStringLiteral("&%1 ").arg(i + 1) +
                            QString(shown).replace(QStringLiteral("&"), QStringLiteral("&&"));
    if (item->text() != caption) item->setText(caption);
    item->setVisible(true);
  }
  m_Bar->setVisible(m_Items[0]->isVisible());
}
