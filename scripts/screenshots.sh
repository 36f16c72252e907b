#!/usr/bin/env bash
# Remakes the README's pictures: runs the walkthrough on the sample files in
# the real window on Xvfb and saves what it shows into docs/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh xvfb xauth fonts-noto-cjk qt6-translations-l10n
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target ui_tests
VEXALINE_SCREENSHOTS="$PWD/docs" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x900x24" build/tests/ui_tests --gtest_filter='Walkthrough.*:SectionDlg*:GridDlg*'
# The window as it opens on a small laptop screen.
VEXALINE_SCREENSHOTS="$PWD/docs" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x700x24" build/tests/ui_tests --gtest_filter='SmallScreen.EveryControl*'
ls docs/*.png
