#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what .clang-format makes of it; lists those files.
set -euo pipefail
cd "$(dirname "$0")/.."
fmt=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$fmt" ]; then
  echo "check-format: clang-format is not installed" >&2
  exit 1
fi
bad=()
while IFS= read -r f; do
  [ -f "$f" ] || continue
  "$fmt" --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h'; git ls-files --others --exclude-standard '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  echo "These files are not formatted (run: clang-format -i FILE):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
