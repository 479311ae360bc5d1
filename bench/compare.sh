#!/bin/bash
# Runs the benchmarks of two builds side by side and prints, for each figure,
# the median of both and their ratio (old / new: above 1 means the new build
# is faster). The pacing figures should stay as they were, and the particle
# figure "same run" is itself a ratio of two times of one build.
#
#   bench/compare.sh OLD_BUILD NEW_BUILD [ROUNDS] [BENCHMARKS...]
#
# OLD_BUILD and NEW_BUILD are build directories with the benchmarks built
# (ninja world_update particle_step loop_pacing draw_screen many_objects),
# preferably in Release. BENCHMARKS picks among world_update, particle_step,
# loop_pacing, draw_screen and many_objects (default: all but many_objects,
# which takes long on a build whose costs grow with the square of the count;
# draw_screen runs under xvfb-run). Each round
# runs every benchmark once with each build, the two builds taking turns and
# changing who goes first from round to round, so that other load on the
# machine falls on both alike. 5 rounds unless ROUNDS says otherwise.
set -u

if [ $# -lt 2 ]; then
  sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
OLD=$(cd "$1" && pwd) || exit 2
NEW=$(cd "$2" && pwd) || exit 2
ROUNDS=${3:-5}
shift $(($# < 3 ? $# : 3))
BENCHMARKS=${*:-world_update particle_step loop_pacing draw_screen}
HEADLESS=$(cd "$(dirname "$0")/../tests/support" && pwd)/headless-config.txt
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# record SIDE FIGURE VALUE: keeps one measurement.
record() { [ -n "$3" ] && echo "$3" >>"$OUT/$1.$2"; }

# run SIDE BUILD BENCHMARK: runs one benchmark of one build from its run
# directory and records its figures.
run() {
  local side=$1 build=$2 bench=$3 log="$OUT/last.log"
  (cd "$build/run" || exit 1
   case $bench in
   world_update) "$build/bench/world_update" ;;
   particle_step) VEXLO_CONFIG=$HEADLESS "$build/bench/particle_step" \
                    --benchmark_filter='Step/8000$' --benchmark_format=csv 2>/dev/null ;;
   loop_pacing) VEXLO_CONFIG=$HEADLESS "$build/bench/loop_pacing" ;;
   draw_screen) xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$build/bench/draw_screen" ;;
   many_objects) "$build/bench/many_objects" ;;
   esac) >"$log" 2>&1
  case $bench in
  world_update)
    # "  800 x 240    10000 objects | update     2.5 ms ... same results"
    record "$side" "world update 800x240 10000 objects (ms cpu)" \
      "$(awk '$1 == 800 && $4 == 10000 { print $8 }' "$log")"
    record "$side" "grid queries 800x240 10000 objects (ms cpu)" \
      "$(awk '$1 == 800 && $4 == 10000 { for (i = 1; i < NF; i++) if ($i == "queries") print $(i + 1) }' "$log")"
    record "$side" "world update 80x24 1000 objects (ms cpu)" \
      "$(awk '$1 == 80 && $4 == 1000 { print $8 }' "$log")"
    grep -q "RESULTS DIFFER" "$log" && echo "$side: grid and brute force differ" >>"$OUT/problems"
    ;;
  particle_step)
    # CSV: name,iterations,real_time,cpu_time,time_unit,...
    record "$side" "step with 8000 particles (ms cpu)" \
      "$(awk -F, '$1 ~ /BM_ParticleStep\/8000/ { print $4 }' "$log")"
    record "$side" "step with 8000 plain objects (ms cpu)" \
      "$(awk -F, '$1 ~ /BM_PlainObjectStep\/8000/ { print $4 }' "$log")"
    # Particles against plain objects within the same run: a ratio, not a time.
    record "$side" "8000 particles per 8000 plain objects (same run)" \
      "$(awk -F, '$1 ~ /BM_ParticleStep\/8000/ { p = $4 } $1 ~ /BM_PlainObjectStep\/8000/ { o = $4 }
                  END { if (o > 0) printf "%.3f", p / o }' "$log")"
    ;;
  loop_pacing)
    record "$side" "loop mean period (ms)" "$(awk '/^mean period/ { print $3 }' "$log")"
    record "$side" "loop std deviation (ms)" "$(awk '/^std deviation/ { print $3 }' "$log")"
    record "$side" "loop cpu per second (ms)" "$(awk '/^CPU time/ { print $3 }' "$log")"
    ;;
  draw_screen)
    # "  80 x 24 characters  ref-median ref-fastest ref-cpu  median fastest cpu  speed-up"
    awk '/characters|particles|sliding/ && NF >= 8 {
           name = ""; for (i = 1; i <= NF - 7; i++) name = name (i > 1 ? " " : "") $i
           print name "\t" $(NF - 3) "\t" $(NF - 2) }' "$log" |
      while IFS=$'\t' read -r scene median fastest; do
        record "$side" "draw: $scene (ms median)" "$median"
        record "$side" "draw: $scene (ms fastest)" "$fastest"
      done
    ;;
  many_objects)
    # "  10000 objects in 2000 x 600  | create  10.3 ms (...) | step + update  3.78 ms (...) | ..."
    awk '$2 == "objects" { for (i = 3; i < NF; i++) v[$i] = $(i + 1)
                           print $1 "\t" v["in"] "x" v["x"] "\t" v["create"] "\t" v["update"] "\t" v["all"] }' "$log" |
      while IFS=$'\t' read -r count world create step delete; do
        record "$side" "$(printf '%6d objects %s: create (ms cpu)' "$count" "$world")" "$create"
        record "$side" "$(printf '%6d objects %s: step + update (ms cpu)' "$count" "$world")" "$step"
        record "$side" "$(printf '%6d objects %s: delete all (ms cpu)' "$count" "$world")" "$delete"
      done
    record "$side" "100000 particles: addParticles (ms cpu)" \
      "$(awk '$2 == "particles" { for (i = 3; i < NF; i++) if ($i == "addParticles") print $(i + 1) }' "$log")"
    record "$side" "100000 particles: longest step (ms cpu)" \
      "$(awk '$2 == "particles" { for (i = 3; i < NF; i++) if ($i == "step") print $(i + 1) }' "$log")"
    grep -q "WRONG COUNT\|PARTICLES LEFT" "$log" && echo "$side: many_objects counts wrong" >>"$OUT/problems"
    ;;
  esac
  if [ ! -s "$log" ] || grep -q "did not start" "$log"; then
    echo "$side: $bench did not run:" >>"$OUT/problems"
    head -5 "$log" >>"$OUT/problems"
  fi
}

for round in $(seq 1 "$ROUNDS"); do
  for bench in $BENCHMARKS; do
    if [ $((round % 2)) -eq 1 ]; then
      run old "$OLD" "$bench"; run new "$NEW" "$bench"
    else
      run new "$NEW" "$bench"; run old "$OLD" "$bench"
    fi
  done
  echo "round $round of $ROUNDS done" >&2
done

median() { sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-50s %12s %12s %9s   %s\n' "figure (median of $ROUNDS rounds)" old new old/new "all old | all new"
for file in "$OUT"/old.*; do
  [ -e "$file" ] || continue
  figure=${file#"$OUT"/old.}
  [ -e "$OUT/new.$figure" ] || continue
  old=$(median "$file")
  new=$(median "$OUT/new.$figure")
  printf '%-50s %12s %12s %9s   %s | %s\n' "$figure" "$old" "$new" \
    "$(awk -v a="$old" -v b="$new" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')" \
    "$(tr '\n' ' ' <"$file")" "$(tr '\n' ' ' <"$OUT/new.$figure")"
done
if [ -e "$OUT/problems" ]; then
  cat "$OUT/problems"
  exit 1
fi
