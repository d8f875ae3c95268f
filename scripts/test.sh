#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
export LANG=${LANG:-C.UTF-8}
case "$LANG" in *UTF-8*|*utf8*) ;; *) export LANG=C.UTF-8 ;; esac
export QT_QPA_PLATFORM=offscreen
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build-tests" -DCMAKE_BUILD_TYPE=Debug -DZORVAN_SANITIZE=ON -DZORVAN_TESTS=ON -DZORVAN_BENCH=ON
cd "$root/build-tests"
ctest --output-on-failure -j"$(nproc)"
