// SPDX-License-Identifier: MIT
// Playing a feedback sound by file name.
#pragma once

#include <QString>
#include <functional>

// Starts playing the wave file at path and returns at once. A missing or unplayable file, or a
// machine without an audio device, plays nothing and reports nothing. An empty path plays
// nothing.
void PlaySoundFile(const QString& path);

// Where PlaySoundFile sends its request; tests put a recorder here. Empty: real playback.
using TSoundPlayer = std::function<void(const QString& path)>;
extern TSoundPlayer SoundPlayer;
