#!/usr/bin/env bash
# Builds Vexlo and runs the whole test suite: the headless tests, the window
# tests one at a time under Xvfb, the browser build played in headless
# chromium, the reference (no warning allowed), the
# guide's code against the examples, the Debian packages (unpacked, built
# against and linted), every fuzz target for a bounded time, then the tests
# again in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
# Exits non-zero when anything fails.
set -uo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
JOBS="$(nproc)"
XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")
failures=()

step() { echo; echo "==== $*"; }

configure_and_build() { # build-dir, extra cmake arguments...
  local dir="$1"
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null && ninja -C "$dir" -j "$JOBS"
}

run_suite() { # build-dir, name
  local dir="$1" name="$2"
  step "$name: headless tests"
  ctest --test-dir "$dir" -L headless -j "$JOBS" --output-on-failure --no-tests=error \
    || failures+=("$name headless tests")
  step "$name: window tests (Xvfb, one at a time)"
  "${XVFB[@]}" ctest --test-dir "$dir" -L window -j 1 --output-on-failure --no-tests=error \
    || failures+=("$name window tests")
}

step "Installing missing packages"
"$ROOT/scripts/install-deps.sh" || exit 1

step "Building"
configure_and_build "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
run_suite "$ROOT/build" "build"

step "Browser build and its tests (headless chromium)"
# The game and the examples built for the browser; the game played in
# Debian's chromium, the kept replay replayed there, and its figures.
export NODE_PATH=/usr/share/nodejs
if emcmake cmake -S "$ROOT" -B "$ROOT/build-web/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
     >/dev/null && ninja -C "$ROOT/build-web/cmake" -j "$JOBS"; then
  /usr/bin/python3 "$ROOT/tests/web/browser_test.py" "$ROOT/build-web" "$ROOT/build-web/cmake" \
    || failures+=("browser tests")
else
  failures+=("browser build")
fi
step "Reference and guide (an undocumented public name fails the reference)"
ninja -C "$ROOT/build" docs || failures+=("reference")
"$ROOT/scripts/check-guide.py" || failures+=("guide")

step "Debian packages"
(cd "$ROOT/build" && cpack -G DEB >/dev/null) && "$ROOT/scripts/package-test.sh" "$ROOT/build" \
  || failures+=("packages")

if [ -x "$ROOT/scripts/fuzz.sh" ]; then
  step "Fuzzing"
  "$ROOT/scripts/fuzz.sh" "${VEXLO_FUZZ_SECONDS:-30}" || failures+=("fuzzing")
fi

step "Building with sanitizers"
# intercept_tls_get_addr=0: the leak checker's bookkeeping of dynamically
# allocated thread-local blocks misreads glibc's blocks now and then (seen as a
# range starting near address 0 in the OpenGL driver's thread-local storage),
# and the check itself then crashes at exit ("Tracer caught signal 11") in about
# one window test process in 150 on a cold shader cache. Only libraries loaded
# with dlopen have such blocks; our code's thread-locals are static and are
# still scanned.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$ROOT/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if configure_and_build "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVEXLO_SANITIZE=ON -DVEXLO_BENCH=OFF; then
  run_suite "$ROOT/build-asan" "sanitizers"
else
  failures+=("sanitizer build")
fi

echo
if [ ${#failures[@]} -ne 0 ]; then
  echo "FAILED: ${failures[*]}"
  exit 1
fi
echo "All test runs passed."
