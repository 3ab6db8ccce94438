// SPDX-License-Identifier: MIT
// Reading back the PDF files printing tests write, and a full disk to write them on.
#include "PdfFiles.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>

#include <csignal>
#endif

int PdfPageCount(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  if (!bytes.startsWith("%PDF")) return -1;
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
  int count = 0;
  for (auto it = page.globalMatch(QString::fromLatin1(bytes)); it.hasNext(); it.next()) ++count;
  return count;
}

QString PdfText(const QString& fileName) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) return {};
  QProcess process;
  process.start(tool, {"-layout", fileName, "-"});
  if (!process.waitForFinished(30000)) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

#if defined(Q_OS_UNIX)
TFileSizeLimit::TFileSizeLimit(long long maxBytes) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return;
  m_Saved = static_cast<long long>(limit.rlim_cur);
  // Past the limit the system would also kill the process; the failed write is what counts.
  m_SavedSignal = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = static_cast<rlim_t>(maxBytes);
  m_Active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

TFileSizeLimit::~TFileSizeLimit() {
  if (m_Active) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(m_Saved);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  if (m_SavedSignal != SIG_ERR && m_SavedSignal) std::signal(SIGXFSZ, m_SavedSignal);
}
#else
TFileSizeLimit::TFileSizeLimit(long long) {}
TFileSizeLimit::~TFileSizeLimit() = default;
#endif
