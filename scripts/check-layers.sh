#!/usr/bin/env bash
# Fails when an #include in src/ breaks the client's layer order (docs/client.md, "Layers").
# Usage: scripts/check-layers.sh [SRC_DIR]
set -uo pipefail
src="${1:-$(dirname "$0")/../src}"
cd "$src" || exit 1

# The folders from the bottom up; a folder may include its own headers and those of the folders
# below it. platform/qt renders the platform and sits beside the logic; app is the top.
order=(protocol platform base sound chat table hand forms shell play spectator session app)
# Headers of the session every subsystem may call: the packet builder and the hall procedures.
services=(session/outgoing.h session/hall.h)

declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done
rank[platform/qt]=${rank[platform]}

folder_of() {  # sets $folder: the folder in the order of a src-relative path ("" for none)
  case "$1" in
    platform/qt/*) folder=platform/qt ;;
    */*) folder="${1%%/*}" ;;
    *) folder="" ;;
  esac
}
is_state_header() {  # data only: state groups, form models and the Client itself
  case "$1" in
    *_state.h | *_form.h | session/client.h) return 0 ;;
    *) return 1 ;;
  esac
}
is_service() {
  local s
  for s in "${services[@]}"; do [ "$1" = "$s" ] && return 0; done
  return 1
}

failures=0
fail() {
  echo "$1:$2: #include $3: $4" >&2
  failures=$((failures + 1))
}

while IFS= read -r file; do
  folder_of "$file"
  from=$folder
  if [ -z "${rank[$from]+x}" ]; then
    fail "src/$file" 1 "-" "folder '$from' has no place in the layer order (add it to docs/client.md and scripts/check-layers.sh)"
    continue
  fi
  logic=1
  case "$from" in platform/qt | app) logic=0 ;; esac

  while IFS=: read -r line text; do
    if [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*|qt[^>]*)\> ]]; then
      [ $logic -eq 1 ] && fail "src/$file" "$line" "<${BASH_REMATCH[1]}>" \
        "the client's logic never includes Qt; it reaches the outside through src/platform"
      continue
    fi
    [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
    target="${BASH_REMATCH[1]}"
    folder_of "$target"
    to=$folder
    if [ -z "$to" ]; then
      # Only the programs include headers of other targets (the artwork) by bare name.
      [ "$from" = app ] || fail "src/$file" "$line" "\"$target\"" "include paths are rooted at src/ (folder/name.h)"
      continue
    fi
    if [ -z "${rank[$to]+x}" ]; then
      fail "src/$file" "$line" "\"$target\"" "folder '$to' has no place in the layer order"
      continue
    fi
    if is_state_header "$file"; then
      if [ "$to" = platform/qt ] || { ! is_state_header "$target" && [ "$to" != protocol ] && [ "$to" != platform ]; }; then
        fail "src/$file" "$line" "\"$target\"" \
          "a state header includes only protocol/, platform/ and other state headers"
      fi
      continue
    fi
    if [ "$to" = platform/qt ] && [ "$from" != platform/qt ] && [ "$from" != app ]; then
      fail "src/$file" "$line" "\"$target\"" "only platform/qt and app include the Qt platform"
      continue
    fi
    if [ "$from" = platform/qt ] && [ "${rank[$to]}" -gt "${rank[platform]}" ]; then
      fail "src/$file" "$line" "\"$target\"" "platform/qt includes only protocol/ and platform/"
      continue
    fi
    (( ${rank[$to]} <= ${rank[$from]} )) && continue
    if is_state_header "$target" && (( ${rank[$from]} >= ${rank[base]} )); then continue; fi
    if is_service "$target" && (( ${rank[$from]} > ${rank[base]} )); then continue; fi
    below=$(printf '%s ' "${order[@]:0:$((${rank[$from]} + 1))}")
    also="state headers"
    (( ${rank[$from]} > ${rank[base]} )) && also="state headers and ${services[*]}"
    fail "src/$file" "$line" "\"$target\"" \
      "$from may include only ${below% }, $also ($to lies above $from)"
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

if [ $failures -gt 0 ]; then
  echo "check-layers: $failures include(s) break the layer order (see docs/client.md, \"Layers\")" >&2
  exit 1
fi
echo "check-layers: the includes of src/ keep the layer order"
