#!/usr/bin/env bash
# Makes the six table sounds with sox, as 16-bit PCM mono WAV at 22050 Hz:
#   majiang.wav  a calm pentatonic tune on a plucked string over a soft drone, seamless as a loop
#   dapai.wav    a tile put down hard on the table
#   qupai.wav    tiles taken from the wall: two soft knocks
#   xipai.wav    tiles shuffled on the cloth
#   zhise.wav    two dice rolling and settling
#   tishi.wav    the tick of the last seconds of a turn: a short bell
# Usage: make_table_sounds.sh OUT_DIR
set -euo pipefail

out="$1"
mkdir -p "$out"
work="$(mktemp -d "$out/.work.XXXXXX")"
trap 'rm -rf "$work"' EXIT

FMT=(-r 22050 -c 1 -b 16)
make() { sox -n "${FMT[@]}" "$@"; }
# Moves a finished sound into place, so that a reader never sees half a file.
publish() { mv -f "$1" "$out/$2"; }

# --- majiang.wav -------------------------------------------------------------------------------
# Notes as semitones from A4 (%0 = 440 Hz) in the G major pentatonic scale; "-" holds the note
# before it for one more step, "r" is a rest. 32 steps of 0.375 s make a 12-second loop.
step=0.375
melody=(7 5 2 5 7 - 10 7 5 2 0 2 5 - - -
        2 0 -2 0 2 5 2 0 -2 -5 -2 0 -2 - - r)
parts=()
i=0
while [ $i -lt ${#melody[@]} ]; do
  note=${melody[$i]}
  steps=1
  while [ $((i + steps)) -lt ${#melody[@]} ] && [ "${melody[$((i + steps))]}" = "-" ]; do
    steps=$((steps + 1))
  done
  length=$(awk "BEGIN { print $step * $steps }")
  part="$work/note$i.wav"
  if [ "$note" = "r" ]; then
    make "$part" trim 0 "$length"
  else
    # A plucked string with a quiet octave above it, fading out within its steps.
    make "$part" synth "$length" pluck "%$note" synth "$length" sine mix "%$((note + 12))" \
      fade l 0.005 "$length" "$length" gain -6
  fi
  parts+=("$part")
  i=$((i + steps))
done
sox "${parts[@]}" "$work/melody.wav"
# The echo of the end must sound over the start when the loop comes round: play the tune twice
# through the reverb and keep the second time.
loop=$(awk "BEGIN { print $step * ${#melody[@]} }")
sox "$work/melody.wav" "$work/melody.wav" "$work/twice.wav"
sox "$work/twice.wav" "$work/tune.wav" reverb 40 50 70 trim "$loop"
# A drone of G3 and D4 breathing once every four seconds (three breaths per loop).
make "$work/drone.wav" synth "$loop" sine %-14 synth "$loop" sine mix %-7 tremolo 0.25 40 gain -18
sox -m "$work/tune.wav" "$work/drone.wav" "$work/majiang.wav" gain -n -4
publish "$work/majiang.wav" majiang.wav

# --- dapai.wav ---------------------------------------------------------------------------------
# A hard knock: a short tone and a burst of noise, both dying away at once.
make "$work/dapai.wav" synth 0.14 sine 1250 synth 0.14 whitenoise mix fade l 0.001 0.14 0.135 \
  band 1500 1500 gain -n -2
publish "$work/dapai.wav" dapai.wav

# --- qupai.wav ---------------------------------------------------------------------------------
make "$work/knock.wav" synth 0.07 sine 700 synth 0.07 brownnoise mix fade l 0.001 0.07 0.065 \
  band 900 800 gain -n -6
make "$work/gap.wav" trim 0 0.09
sox "$work/knock.wav" "$work/gap.wav" -v 0.8 "$work/knock.wav" "$work/qupai.wav" pad 0 0.05
publish "$work/qupai.wav" qupai.wav

# --- xipai.wav ---------------------------------------------------------------------------------
# Tiles rattling against each other: noise beaten into quick clicks, swelling and fading.
make "$work/xipai.wav" synth 1.6 brownnoise synth 1.6 whitenoise mix tremolo 23 90 \
  tremolo 7 40 band 2200 1600 fade q 0.15 1.6 0.5 gain -n -5
publish "$work/xipai.wav" xipai.wav

# --- zhise.wav ---------------------------------------------------------------------------------
# Clicks that come closer together and softer as the dice settle.
make "$work/click.wav" synth 0.03 sine 2100 synth 0.03 whitenoise mix fade l 0.001 0.03 0.028 \
  band 2400 1500 gain -n -3
dice=()
volume=1.0
for gap in 0.13 0.11 0.09 0.08 0.06 0.05 0.04 0.035 0.03; do
  make "$work/gap$gap.wav" trim 0 "$gap"
  dice+=(-v "$volume" "$work/click.wav" "$work/gap$gap.wav")
  volume=$(awk "BEGIN { print $volume * 0.85 }")
done
sox "${dice[@]}" "$work/zhise.wav" pad 0 0.1
publish "$work/zhise.wav" zhise.wav

# --- tishi.wav ---------------------------------------------------------------------------------
# A small bell: a tone with its fifth and octave, ringing out in a quarter of a second.
make "$work/tishi.wav" synth 0.25 sine 1320 synth 0.25 sine mix 1980 synth 0.25 sine mix 2640 \
  fade l 0.002 0.25 0.24 gain -n -4
publish "$work/tishi.wav" tishi.wav
