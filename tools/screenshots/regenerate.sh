#!/usr/bin/env bash
# Regenerates the pictures of the report dialog and of the progress window in this folder, from
# the real widgets on Qt's offscreen platform. Usage: tools/screenshots/regenerate.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build}"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target test_dialog -j2
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TARNO_SCREENSHOT_DIR="$here" \
  "$build/bin/test_dialog" --gtest_filter='Screenshot.*'
ls -l "$here"/*.png
