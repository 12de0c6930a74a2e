#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted by the repository's .clang-format.
# The formatting is clang-format 14's (Debian bookworm); other versions format differently.
set -uo pipefail
cd "$(dirname "$0")/.."

tool=""
for candidate in clang-format-14 clang-format; do
  if command -v "$candidate" >/dev/null 2>&1; then
    tool="$candidate"
    break
  fi
done
if [ -z "$tool" ]; then
  echo "check-format: clang-format is not installed (scripts/deps.sh installs it)" >&2
  exit 1
fi
if ! "$tool" --version | grep -q 'version 14\.'; then
  echo "check-format: $("$tool" --version) is not clang-format 14" >&2
  exit 1
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find src server hall art tests bench fuzz -name '*.cpp' -o -name '*.h')
fi

present=()
for f in "${files[@]}"; do
  [ -f "$f" ] && present+=("$f")  # a file deleted in the work tree but still in the index
done
report=$(printf '%s\0' "${present[@]}" | xargs -0 "$tool" --dry-run -Werror 2>&1)
status=$?
if [ $status -ne 0 ]; then
  bad=$(printf '%s\n' "$report" | grep -oE '^[^ :]+:[0-9]+:[0-9]+: (warning|error)' | cut -d: -f1 |
        sort -u)
  [ -n "$bad" ] || bad="(clang-format failed: $report)"
  while read -r f; do echo "not clang-format clean: $f (run: $tool -i $f)" >&2; done <<<"$bad"
  exit 1
fi
echo "check-format: ${#present[@]} files clean"
