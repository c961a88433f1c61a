#!/usr/bin/env bash
# The main job in one command: installs the dependencies, builds the default preset, lists the
# bundled demo disc through the CD plug-in and rips its first track to a WAV file.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default

build="$(pwd)/build/default"
vantor_cd="$build/bin/vantor-cd"

echo
echo "\$ vantor-cd list"
"$vantor_cd" list

# With no arguments, rip writes the demo disc's first track to track01.wav in the current directory.
echo
echo "\$ vantor-cd rip"
(cd "$build" && "$vantor_cd" rip)

echo
echo "Ripped file: $build/track01.wav"
