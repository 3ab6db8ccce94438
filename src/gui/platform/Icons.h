// SPDX-License-Identifier: MIT
// The tool and menu images by name, and the program icon.
#pragma once

#include <QIcon>

// How many tool and menu images there are; their indexes run from 0 to kToolImageCount - 1.
inline constexpr int kToolImageCount = 29;

// The tool and menu images by index; tiNone: a command without one.
enum TToolImage : int {
  tiNone = -1,
  tiNew = 0,
  tiOpen,
  tiSave,
  tiProperties,
  tiPrint,
  tiUndo,
  tiRedo,
  tiCut,
  tiCopy,
  tiPaste,
  tiAdd,
  tiEdit,
  tiDelete,
  tiMoveUp,
  tiMoveDown,
  tiSort,
  tiFind,
  tiFindNext,
  tiStartTesting,
  tiIntoNative,
  tiIntoForeign,
  tiMultipleChoice,
  tiHint,
  tiStatistics,
  tiFont,
  tiOptions,
  tiHelpTopics,
  tiTipOfTheDay,
  tiSpeak,
};
static_assert(tiSpeak + 1 == kToolImageCount);

// The tool and menu image with the given index, drawn from its SVG so that it stays sharp at any
// size. The index must be in range.
QIcon ToolImage(int index);

// The program's own icon, scalable.
QIcon ProgramIcon();

// The shipped image at path; a warning on standard error when it cannot be drawn.
QIcon ShippedImage(const QString& path);
