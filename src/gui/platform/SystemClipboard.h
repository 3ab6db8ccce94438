// SPDX-License-Identifier: MIT
// The system clipboard behind the core's clipboard interface.
#pragma once

#include "vocab/Clipboard.h"

// The MIME type under which an entry travels on the system clipboard.
inline constexpr char kVocabularyItemMimeType[] = "application/x-dadezivu-vocabulary-item";

// The application's clipboard (QGuiApplication::clipboard()) holding the vocabulary's private
// block. Needs a running QGuiApplication.
class TSystemClipboard : public TClipboard {
public:
  void PutBlock(const std::string& block) override;
  std::optional<std::string> GetBlock() const override;
  bool HasBlock() const override;
};
