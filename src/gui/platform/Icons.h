// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

// How many tool and menu images there are; their indexes run from 0 to kToolImageCount - 1.
inline constexpr int kToolImageCount = 28;

// The tool and menu image with the given index (0 New, 1 Open, ... 27 Tip of the Day), drawn from
// its SVG so that it stays sharp at any size. The index must be in range.
QIcon ToolImage(int index);

// The program's own icon, scalable.
QIcon ProgramIcon();
