#!/usr/bin/env bash
# Writes the default phrase file chat.ini in GBK with CRLF line ends: [Phrase1] the text phrases,
# [Phrase2] the captions of the voice phrases (the a1, a2, … lines of spoken.txt, in order).
# Usage: make_chat_ini.sh OUT_FILE TEXT_PHRASES_TXT SPOKEN_TXT
set -euo pipefail

out="$1" texts="$2" spoken="$3"
mkdir -p "$(dirname "$out")"

phrases=()
while IFS= read -r line; do
  case "$line" in '' | '#'*) continue ;; esac
  phrases+=("$line")
done <"$texts"

voices=()
while IFS='|' read -r ending words _; do
  case "$ending" in
    a[0-9]*)
      if [ "$ending" != "a$((${#voices[@]} + 1))" ]; then
        echo "make_chat_ini.sh: voice phrase $ending out of order" >&2
        exit 1
      fi
      voices+=("$words")
      ;;
  esac
done <"$spoken"

{
  echo "[Phrase1]"
  echo "num=${#phrases[@]}"
  for i in "${!phrases[@]}"; do echo "$((i + 1))=${phrases[$i]}"; done
  echo
  echo "[Phrase2]"
  echo "num=${#voices[@]}"
  for i in "${!voices[@]}"; do echo "$((i + 1))=${voices[$i]}"; done
} | sed 's/$/\r/' | iconv -f UTF-8 -t GBK >"$out.tmp"
mv -f "$out.tmp" "$out"
