// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Writes a file without ever damaging the one already there: write() fills a temporary file
// beside the target, which replaces the target only when everything was written and is on the
// disk. A link is followed, so the file it points to is replaced. Raises "Cannot create file
// <path>" when the file cannot be created (or the target is read-only) and "Stream write error"
// when writing fails; exceptions from write() pass on. In every failure the target is untouched
// and the temporary file removed.
void WriteFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write);
