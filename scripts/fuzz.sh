#!/usr/bin/env bash
# Builds the sprite-file fuzz target with clang's libFuzzer and runs it for a
# bounded time (seconds, default 60). Exits non-zero when it finds a crash.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-60}"
BUILD="$ROOT/build-fuzz"

CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DVEXLO_FUZZ=ON -DVEXLO_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$BUILD" SpriteFileFuzz

mkdir -p "$BUILD/fuzz-corpus" "$BUILD/fuzz-artifacts"
"$BUILD/tests/fuzz/SpriteFileFuzz" -max_total_time="$SECONDS_TO_RUN" \
  -dict="$ROOT/tests/fuzz/sprite.dict" -artifact_prefix="$BUILD/fuzz-artifacts/" \
  "$BUILD/fuzz-corpus" "$ROOT/tests/fuzz/corpus"
