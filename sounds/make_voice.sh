#!/usr/bin/env bash
# Speaks every line of spoken.txt in one voice, into OUT_DIR/PREFIX<ending>.wav (16-bit PCM mono
# WAV at 22050 Hz, silence at both ends trimmed, peaks at -3 dB).
# Usage: make_voice.sh OUT_DIR PREFIX COLUMN ESPEAK_VOICE PITCH SPEED SPOKEN_TXT
#   COLUMN 3 speaks the pinyin column, 4 the Cantonese column.
set -euo pipefail

out="$1" prefix="$2" column="$3" voice="$4" pitch="$5" speed="$6" spoken="$7"
mkdir -p "$out"
work="$(mktemp -d "$out/.work.XXXXXX")"
trap 'rm -rf "$work"' EXIT

while IFS='|' read -r ending words pinyin cantonese; do
  case "$ending" in '' | '#'*) continue ;; esac
  text="$pinyin"
  [ "$column" = 4 ] && text="$cantonese"
  if [ -z "$text" ]; then
    echo "make_voice.sh: nothing to say for $ending ($words)" >&2
    exit 1
  fi
  espeak-ng -v "$voice" -p "$pitch" -s "$speed" -w "$work/raw.wav" "$text"
  sox -V1 "$work/raw.wav" -r 22050 -c 1 -b 16 "$work/out.wav" \
    silence 1 0.01 0.2% reverse silence 1 0.01 0.2% reverse gain -n -3 pad 0.02 0.06
  mv -f "$work/out.wav" "$out/$prefix$ending.wav"
done <"$spoken"
