#!/bin/sh
# The play figures of the sample jigsaws on a 1920 x 1080 screen, measured
# with orvel-tool solve: the new game at level 0 (rotation, relief 1, wood
# 2), a drag step at about 100, 1000 and 4000 pieces, the full composition
# of about 4000 pieces, and a solve of every shape style at a middle level.
# Wall times on a busy machine say little; the *_cpu_* figures say what the
# work costs. Usage: bench/solve_figures.sh [BUILD_DIR]
set -eu
build=${1:-build}
tool="$build/orvel-tool"
jigsaws="$build/jigsaws"
[ -x "$tool" ] && [ -d "$jigsaws" ] || { echo "build orvel-tool and orvel_sample_jigsaws first" >&2; exit 2; }

# Prints the named values of one run on one line.
run() {
    label=$1
    shift
    "$tool" solve "$@" --screen 1920x1080 | awk -v label="$label" -v keys="$KEYS" '
        BEGIN { n = split(keys, want, " ") }
        { value[$1] = $3 }
        END {
            line = label
            for (i = 1; i <= n; i++) line = line "  " want[i] "=" value[want[i]]
            print line
        }'
}

echo "# new game, level 0, rotation, relief 1, wood 2"
KEYS="TotalTileNum newgame_ms newgame_cpu_ms compose_ms_median compose_cpu_ms_median"
for j in "$jigsaws"/*.orv; do
    run "$(basename "$j" .orv)" "$j" --level 0 --rotate --emboss 1 --wood 2 --seed 1 --moves 0
done
run "storm shape 0" "$jigsaws/storm.orv" --level 0 --shape 0 --rotate --emboss 1 --wood 2 --seed 1 --moves 0

echo "# drag steps (20 drags) and composition, rotation, relief 1, wood 2"
KEYS="TotalTileNum drag_steps drag_step_us_median drag_step_cpu_us_median compose_ms_median compose_cpu_ms_median"
for level in 9 3 0; do
    run "storm shape 0 level $level" "$jigsaws/storm.orv" --level $level --shape 0 --rotate \
        --emboss 1 --wood 2 --seed 1 --moves 20
done

echo "# every shape style solved at a middle level, rotation on"
KEYS="TotalTileNum moves joins solved iSolvedPercent sent_away fetched play_ms play_cpu_ms"
set -- aqua dune freshflower ladybird raindrops storm twowings
for shape in 0 1 2 3 4 5 6; do
    j=$1
    shift
    run "shape $shape $j level $((8 + shape % 3)) border $((shape % 2))" "$jigsaws/$j.orv" \
        --level $((8 + shape % 3)) --shape $shape --border $((shape % 2)) --rotate --seed $((shape + 1))
done
