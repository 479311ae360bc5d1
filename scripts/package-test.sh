#!/usr/bin/env bash
# Checks the Debian packages of a build (`make package`) without installing
# them: unpacks vexlo-dev and swat into a scratch folder, builds the guide's
# project (examples/hello.cpp and the game Catch) out of tree against the
# unpacked engine with find_package(Vexlo), and hello.cpp with pkg-config too;
# runs the unpacked `swat --help`, and the unpacked game on a kept replay from
# an empty folder (it must find its data where the package put it); runs
# lintian on both packages, which must report no error.
# Usage: scripts/package-test.sh [build-dir]
set -uo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
SCRATCH="$(mktemp -d)"
trap 'rm -rf "$SCRATCH"' EXIT
failures=()
fail() { echo "FAILED: $*"; failures+=("$*"); }

shopt -s nullglob
debs=("$BUILD"/vexlo-dev_*.deb "$BUILD"/swat_*.deb)
[ ${#debs[@]} -eq 2 ] || { echo "FAILED: no vexlo-dev and swat packages in $BUILD"; exit 1; }
for deb in "${debs[@]}"; do
  dpkg-deb -x "$deb" "$SCRATCH/root" || fail "unpacking $(basename "$deb")"
done
USR="$SCRATCH/root/usr"

# The guide's project, as a newcomer has it: the game's folder with hello.cpp.
cp -r "$ROOT/examples/catch" "$SCRATCH/game"
cp "$ROOT/examples/hello.cpp" "$SCRATCH/game/"
if cmake -S "$SCRATCH/game" -B "$SCRATCH/game/build" -G Ninja -DCMAKE_PREFIX_PATH="$USR" >/dev/null &&
   ninja -C "$SCRATCH/game/build"; then
  # The first program of the guide runs, without a display and without sleeping.
  printf 'headless:true,\nnetworking:false,\nframe_time:0,\n' >"$SCRATCH/game/build/vx-config.txt"
  (cd "$SCRATCH/game/build" && timeout 60 ./hello) || fail "the unpacked engine's hello did not run"
else
  fail "building the guide's project against the unpacked vexlo-dev"
fi
PKG_CONFIG_PATH="$USR/lib/pkgconfig" \
  c++ -std=c++17 "$ROOT/examples/hello.cpp" -o "$SCRATCH/hello-pc" $(PKG_CONFIG_PATH="$USR/lib/pkgconfig" pkg-config --cflags --libs vexlo) ||
  fail "building hello.cpp with pkg-config"
[ -f "$USR/share/doc/vexlo-dev/html/index.html" ] || fail "no reference in vexlo-dev"

"$USR/games/swat" --help | grep -q "^Usage: swat" || fail "the unpacked swat --help"

# From an empty folder, the unpacked game replays a kept game step for step:
# every sprite came from the package's data folder.
mkdir -p "$SCRATCH/elsewhere"
printf 'headless:true,\nnetworking:false,\n' >"$SCRATCH/elsewhere/vx-config.txt"
(cd "$SCRATCH/elsewhere" && VEXLO_DATA_DIR="$SCRATCH/data" timeout 120 "$USR/games/swat" \
   --replay "$ROOT/tests/game/data/swat-game.vxr" --fast) || fail "the unpacked swat's replay"

lintian_out="$(lintian "${debs[@]}" 2>&1 | grep -v 'running with root privileges')"
echo "$lintian_out"
if echo "$lintian_out" | grep -q '^E:'; then fail "lintian errors"; fi

if [ ${#failures[@]} -ne 0 ]; then
  echo "FAILED: ${failures[*]}"
  exit 1
fi
echo "Both packages passed."
