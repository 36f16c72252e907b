#!/usr/bin/env bash
# Installs what is missing, builds Vexaline and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh build-essential cmake qt6-base-dev qt6-svg-dev libgl-dev fonts-noto-cjk qt6-translations-l10n \
  libcli11-dev nlohmann-json3-dev libpugixml-dev libdxflib-dev libproj-dev proj-data libcgal-dev libcairo2-dev pkg-config libgtest-dev libbenchmark-dev
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target vexaline
exec build/vexaline "$@"
