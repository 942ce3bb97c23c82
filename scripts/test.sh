#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite twice: once plain and once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Each run starts and stops its own
# PostgreSQL server on loopback (CTest fixture).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
scripts/build.sh build
(cd build && ctest --output-on-failure -j 2)
scripts/build.sh build-asan -DMORVEL_SANITIZE=ON -DMORVEL_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
(cd build-asan && ctest --output-on-failure -j 2)
