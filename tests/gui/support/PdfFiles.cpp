// SPDX-License-Identifier: MIT
// Reading back the PDF files printing tests write.
#include "PdfFiles.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

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
