// SPDX-License-Identifier: MIT
// The system clipboard carrying the vocabulary's private entry block.
#include "platform/SystemClipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

namespace {
QString MimeType() {
  return QString::fromLatin1(kVocabularyItemMimeType);
}

#ifdef Q_OS_WIN
// Other programs on Windows know the format by its registered name.
QString WindowsMimeType() {
  return QStringLiteral("application/x-qt-windows-mime;value=\"Dadezivu Vocabulary Item\"");
}
#endif

const QMimeData* ClipboardData() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? clipboard->mimeData() : nullptr;
}
}  // namespace

void TSystemClipboard::PutBlock(const std::string& block) {
  auto* data = new QMimeData;
  const QByteArray bytes(block.data(), static_cast<qsizetype>(block.size()));
  data->setData(MimeType(), bytes);
#ifdef Q_OS_WIN
  data->setData(WindowsMimeType(), bytes);
#endif
  // The clipboard takes the data and drops whatever formats it held before.
  QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<std::string> TSystemClipboard::GetBlock() const {
  const QMimeData* data = ClipboardData();
  if (!data) return std::nullopt;
  QString type = MimeType();
#ifdef Q_OS_WIN
  if (!data->hasFormat(type)) type = WindowsMimeType();
#endif
  if (!data->hasFormat(type)) return std::nullopt;
  const QByteArray bytes = data->data(type);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool TSystemClipboard::HasBlock() const {
  const QMimeData* data = ClipboardData();
  if (!data) return false;
#ifdef Q_OS_WIN
  if (data->hasFormat(WindowsMimeType())) return true;
#endif
  return data->hasFormat(MimeType());
}
