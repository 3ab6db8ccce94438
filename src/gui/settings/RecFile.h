// SPDX-License-Identifier: MIT
// The recently used files and their items in the File menu.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QFontMetrics;
class QMenu;

// The recently used files, most recent first. Paths are compared ignoring letter case, so the
// list never holds two paths that differ only in case.
class TRecentFileList {
public:
  explicit TRecentFileList(int32_t maxCount = 9);

  // Puts path at the front: an entry equal to it is removed first, otherwise the last entry
  // goes when the list is full. Empty paths are ignored.
  void AddFile(const QString& path);
  // Adds path at the end (reading the stored list, oldest last); the maximum grows when the
  // list outgrows it. Empty paths and paths already in the list are ignored.
  void AppendFile(const QString& path);
  // What to store when another copy of the program may have stored its list meanwhile: the
  // files this list put in front since it was read, in their order, then the stored files not
  // among them, up to the larger maximum. A list that added nothing stores the other's as it is.
  void MergeStored(const TRecentFileList& stored);
  int32_t Count() const { return static_cast<int32_t>(m_Files.size()); }
  // The path at the 0-based index; empty outside the list.
  QString GetFile(int32_t index) const;
  int32_t MaxCount() const { return m_MaxCount; }
  const QStringList& Files() const { return m_Files; }

private:
  QStringList m_Files;
  QStringList m_Added;  // the files AddFile put in front, most recent first
  int32_t m_MaxCount;
};

// The File menu's four recent-file items miFileRecent1..miFileRecent4 (tags 0..3 as their data)
// and the separator miFileRecentBar after them. The items start hidden.
class TRecentFileMenu : public QObject {
  Q_OBJECT
public:
  static constexpr int kItemCount = 4;
  // Inserts the items into menu before `before` (at the end when null). onClick gets the index
  // into the recent list of the item chosen.
  TRecentFileMenu(QMenu* menu, QAction* before, std::function<void(int index)> onClick);

  // Item n shows "&n " and the shortened path of entry n-1, or is hidden when the list is
  // shorter; the separator is visible exactly when the first item is.
  void UpdateRecentMenu(const TRecentFileList& files, const QFontMetrics& metrics);

  QAction* Item(int index) const { return m_Items[index]; }
  QAction* Bar() const { return m_Bar; }

private:
  std::array<QAction*, kItemCount> m_Items{};
  QAction* m_Bar = nullptr;
};
