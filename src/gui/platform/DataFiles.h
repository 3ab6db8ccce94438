// SPDX-License-Identifier: MIT
// Finding the files the program ships: samples, sounds, the tip file and help.
#pragma once

#include <QString>

// The path of a shipped file or folder given relative to the program's data folder
// ("Sounds/Clap.wav", "samples"): beside the executable when it is there (a build tree, a copied
// folder), else in the data folder of the installed tree the program is in (../share/dadezivu),
// else in the configured installed data folder, else wherever the standard data folders hold it.
// Empty when it is nowhere.
QString FindDataFile(const QString& relative);

// The installed data folder this build was configured for, as share/dadezivu under the prefix.
QString InstalledDataFolder();
