#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in a normal
# build and once under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh build-essential cmake qt6-base-dev qt6-svg-dev libgl-dev fonts-noto-cjk qt6-translations-l10n \
  libcli11-dev nlohmann-json3-dev libpugixml-dev libdxflib-dev libproj-dev proj-data libcgal-dev libcairo2-dev pkg-config \
  libgtest-dev libbenchmark-dev xvfb xauth x11-utils nodejs
# The IFC tests read the files with web-ifc (pinned in tests/ifc/package-lock.json).
# Debian's nodejs comes without npm; a nodejs that brings its own conflicts with it.
command -v npm >/dev/null || scripts/deps.sh npm
[ -d tests/ifc/node_modules ] || (cd tests/ifc && npm ci --no-audit --no-fund)
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PWD/build/stage"
cmake --build build -j"$jobs"
cmake --install build >/dev/null   # the smoke test starts the installed program
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVEXALINE_SANITIZE=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
echo "All tests passed."
