// SPDX-License-Identifier: MIT#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

// File access shared by saving, exporting and importing.

// The file library's messages: "Cannot create file <path>", "Cannot open file <path>". With the
// system's error number, the system's reason follows: "Cannot create file <path>: Permission
// denied".
[[noreturn]] void RaiseCannotCreate(const std::string& path, int error = 0);
[[noreturn]] void RaiseCannotOpen(const std::string& path);

// Writes the file at path through write(stream) into a temporary file beside it, and replaces
// the target (keeping its permissions; the file a link points to, not the link) only once
// everything was written and flushed. On any failure the temporary file is removed, the target
// is left as it was and the error passes on: "Cannot create file <path>" when the target cannot
// be created or replaced, otherwise what write raised, or "Stream write error". After a
// successful save, temporary files that earlier saves of the same target left behind (killed
// part-way) and that were last written before this save began are removed.
void WriteFileReplacing(const std::string& path, const std::function<void(std::ostream&)>& write);

// Raises "Cannot open file <path>" unless path names a regular file (or a link to one): a
// folder, a device or a pipe could block a reader or feed it without end.
void CheckRegularFile(const std::string& path);

// The first maxBytes bytes of the file (all of it by default). "Cannot open file <path>" when
// it cannot be opened or is not a regular file, "Stream read error" when reading fails.
std::string ReadFileBytes(const std::string& path, size_t maxBytes = static_cast<size_t>(-1));
