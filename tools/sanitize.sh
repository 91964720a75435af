#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/ and runs
# every test there. Any report fails the run: UBSan does not recover, ASan halts on the first error,
# LeakSanitizer reports leaks at exit (tools/lsan.supp lists the system libraries' own).
# usage: tools/sanitize.sh [CTEST ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -O1"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DQD_BUILD_BENCH=OFF
cmake --build build-sanitize

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
# The package test builds and inspects a release package: ./test runs it, a sanitized build adds nothing.
ctest --test-dir build-sanitize --output-on-failure -E '^packaging\.' "$@"
