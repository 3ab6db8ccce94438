// SPDX-License-Identifier: MIT
// The scoped seam fakes, the modal-window guard and the command trigger of the GUI tests.
#include "GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include "vocab/VocFile.h"

TMessageBoxes::TMessageBoxes(QList<int> answers)
    : m_Answers(std::move(answers)),
      m_Seam(MessageBoxHandler,
             [this](const QString& message, const QString& caption, uint32_t style) {
               Shown.append({message, caption, style});
               return m_Answers.isEmpty() ? kIdOk : m_Answers.takeFirst();
             }) {}

QStringList TMessageBoxes::Messages() const {
  QStringList messages;
  for (const TShownBox& box : Shown) messages << box.Message;
  return messages;
}

TFileDialogAnswer::TFileDialogAnswer(TFileDialogFunction& seam, QString path, int filterIndex)
    : Path(std::move(path)),
      FilterIndex(filterIndex),
      m_Seam(seam, [this](QWidget*, TFileDialogRequest& request) {
        ++Calls;
        Request = request;
        if (Path.isEmpty()) return false;
        request.FileName = Path;
        if (FilterIndex > 0) request.FilterIndex = FilterIndex;
        return true;
      }) {}

TUnexpectedModals::TUnexpectedModals()
    : m_Boxes(MessageBoxHandler,
              [this](const QString& message, const QString&, uint32_t) {
                m_Seen << "message box: " + message;
                return kIdOk;
              }),
      m_Open(OpenFileDialog,
             [this](QWidget*, TFileDialogRequest& request) {
               m_Seen << "Open dialog: " + request.Title;
               return false;
             }),
      m_Save(SaveFileDialog, [this](QWidget*, TFileDialogRequest& request) {
        m_Seen << "Save dialog: " + request.Title;
        return false;
      }) {
  qApp->installEventFilter(this);
}

TUnexpectedModals::~TUnexpectedModals() {
  qApp->removeEventFilter(this);
  if (!m_Seen.isEmpty()) qWarning("unexpected modal windows: %s", qPrintable(m_Seen.join("; ")));
}

QStringList TUnexpectedModals::Take() {
  return std::exchange(m_Seen, {});
}

void TUnexpectedModals::Verify() {
  const QStringList seen = Take();
  QVERIFY2(seen.isEmpty(), qPrintable(seen.join("; ")));
}

bool TUnexpectedModals::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* window = static_cast<QWidget*>(watched);
    if (window->isWindow() && window->isModal()) {
      m_Seen << QString("modal window: %1 \"%2\"")
                    .arg(window->objectName().isEmpty() ? window->metaObject()->className()
                                                        : window->objectName(),
                         window->windowTitle());
      // Closed once its own loop runs, so that exec() returns.
      QTimer::singleShot(0, window, [window] {
        if (auto* dialog = qobject_cast<QDialog*>(window)) {
          dialog->reject();
        } else {
          window->close();
        }
      });
    }
  }
  return QObject::eventFilter(watched, event);
}

QAction* FindAction(const QWidget* window, const QString& name) {
  return window->findChild<QAction*>(name);
}

bool TriggerAction(QWidget* window, const QString& name, QString* why) {
  QAction* action = FindAction(window, name);
  QString failure;
  if (!action) {
    failure = QString("no action named %1").arg(name);
  } else if (!action->isEnabled()) {
    failure = QString("%1 is disabled").arg(name);
  }
  if (!failure.isEmpty()) {
    if (why) *why = failure;
    return false;
  }
  action->trigger();
  return true;
}

void WriteVocabulary(const QString& path, const std::vector<TEntryTexts>& entries,
                     int32_t penaltyPoints) {
  TVocabFile v;
  v.SetForeignLangID(0x0407);
  v.SetNativeLangID(0x0409);
  for (const TEntryTexts& texts : entries) {
    TVocabItem& item = v.EditItem();
    item.Values = texts;
    item.PenaltyPoints = penaltyPoints;
    v.AddItem(2);
  }
  v.SaveToFile(QFile::encodeName(path).toStdString());
}
