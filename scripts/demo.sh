#!/usr/bin/env bash
# The project's main job from a fresh clone: installs what the build needs,
# builds everything in build/ (Release), then renders the demo through the four
# plug-ins with the command-line host. Results go to out/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

build=${STELLORIA_BUILD_DIR:-build}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs" >/dev/null

# Only this build's plug-ins, not whatever else the machine has installed.
VST_PATH="$PWD/$build/vst" "$build/bin/stelloria" demo --out out/demo "$@"
echo
echo "Listen to out/demo/*.wav and look at out/demo/*.png (input beside output)."
echo "Try next: $build/bin/stelloria --help"
