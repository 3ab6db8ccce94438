#!/bin/sh
# SPDX-License-Identifier: MIT
# Synthesises the default right/wrong sounds into resources/sounds with sox (Debian: apt-get
# install sox). The WAV files are committed, so building the program does not need sox; run this
# only to change them. -R keeps the noise the same on every run, so the output is reproducible.
set -eu

out="$(cd "$(dirname "$0")/.." && pwd)/resources/sounds"
mkdir -p "$out"
command -v sox >/dev/null || { echo "make-sounds.sh: sox is missing (apt-get install sox)" >&2; exit 1; }

# make_wav FILE EFFECT...: generated at 22050 Hz mono, written as 16-bit PCM.
make_wav() {
  file=$1
  shift
  sox -R -r 22050 -c 1 -n -b 16 -e signed-integer "$file" "$@"
}

# Right: a clap, noise chopped into bursts 14 ms apart, band-limited to the bright middle and
# dying away within a fifth of a second.
make_wav "$out/Clap.wav" \
  synth 0.22 whitenoise \
  synth 0.22 square amod 70 \
  bandpass 1300 1.1o highpass 400 \
  fade l 0.001 0.22 0.2 \
  gain -n -1

# Wrong: a "pow", a low sine falling from 150 to 45 Hz under a little rumble, struck at once and
# dying away within a third of a second.
make_wav "$out/Pow.wav" \
  synth 0.35 sine 150:45 \
  synth 0.35 brownnoise mix \
  lowpass 500 \
  fade l 0.004 0.35 0.33 \
  gain -n -1

ls -l "$out"/Clap.wav "$out"/Pow.wav
