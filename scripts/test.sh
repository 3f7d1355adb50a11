#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: the core
# and database tests against the SQLite ODBC driver and a private PostgreSQL
# server, and the window tests under Xvfb; first the fuzz targets run for a
# while each. With --sanitize the build uses
# AddressSanitizer and UndefinedBehaviorSanitizer (in build-sanitize/).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
cmake_args=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  cmake_args+=(-DTARNWELL_SANITIZE=ON)
fi

scripts/install-deps.sh
scripts/build.sh "$dir" "${cmake_args[@]}"

# The libFuzzer targets, 20 s each from a fixed seed (clang, in build-fuzz/);
# before the tests, so that CTest's summary stays the last thing printed.
scripts/fuzz.sh --seed 1 20

# The Debian package, built from this build and checked as installed (not for
# a sanitizer build, which is never packaged).
if [ "$dir" = build ]; then scripts/package-check.sh "$dir"; fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
scripts/with-test-db.sh \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
