// SPDX-License-Identifier: MIT
// The font dialog, which chooses the display font.
#pragma once

#include "platform/Dialog.h"
#include "settings/RegUtils.h"

class QComboBox;
class QLabel;
class QPushButton;

// Chooses a font face and a size from 8 to 24 points, with a preview. Edits the record it is
// given, and only on OK.
class TSelectFontDialog : public TDialog {
  Q_OBJECT
public:
  TSelectFontDialog(QWidget* owner, TFontSetting& font);

  // The faces the dialog offers, each family once, sorted.
  static QStringList FontFaces();
  // A family name without the foundry Qt adds where several supply it: "C059 [urw]" is "C059".
  static QString FamilyName(const QString& family);

  QLabel* lblFontName = nullptr;
  QComboBox* cbFontName = nullptr;
  QLabel* lblFontSize = nullptr;
  QComboBox* cbFontSize = nullptr;
  QLabel* pnlPreview = nullptr;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FontChange();
  void OkClick() override;

  TFontSetting& m_Font;
};
