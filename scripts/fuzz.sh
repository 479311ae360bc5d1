#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (seconds per target, default 60). With a target name as the second argument,
# builds and runs that one only. Exits non-zero when any target finds a crash.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-60}"
ONLY="${2:-}"
BUILD="$ROOT/build-fuzz"

CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DVEXLO_FUZZ=ON -DVEXLO_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
read -r -a TARGETS < <(tr ";" " " < "$BUILD/fuzz-targets.txt"; echo)
if [ -n "$ONLY" ]; then
  TARGETS=("$ONLY")
fi
ninja -C "$BUILD" "${TARGETS[@]}"

status=0
for target in "${TARGETS[@]}"; do
  echo "== fuzzing $target for $SECONDS_TO_RUN s"
  corpus="$BUILD/fuzz-corpus/$target"
  artifacts="$BUILD/fuzz-artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  dict=()
  if [ -f "$ROOT/tests/fuzz/$target.dict" ]; then
    dict=(-dict="$ROOT/tests/fuzz/$target.dict")
  fi
  "$BUILD/tests/fuzz/$target" -max_total_time="$SECONDS_TO_RUN" "${dict[@]}" \
    -artifact_prefix="$artifacts" "$corpus" "$ROOT/tests/fuzz/corpus/$target" || status=1
done
exit $status
