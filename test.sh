#!/usr/bin/env bash
# Installs what is missing, builds Velmora with AddressSanitizer and UBSan,
# and runs every test (windows offscreen).
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
install_deps
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=ON
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j "$(nproc)" --timeout 300
