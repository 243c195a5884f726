#!/usr/bin/env bash
# Builds every benchmark and runs them one after the other against the real game, then prints
# one table (Markdown) with the goals and the machine it ran on.
# Usage: bench/run-all.sh [build dir]   (default: build; without a display it starts a virtual
# one). The figures of one run on a busy machine are not worth much: run it on a quiet one.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${1:-$repo/build}")"

if [ -z "${DISPLAY:-}" ]; then
    TONVELLA_BENCH_DISPLAY="Xvfb 24-bit" exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target tonvella idle_bench session_bench cardset_bench render_bench \
    empty_window first_picture -- -j2 >/dev/null

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
busy_before=$(ps -eo pcpu= --sort=-pcpu | awk '$1 > 5 { n++ } END { print n + 0 }')
log="$(mktemp -d)"
trap 'rm -rf "$log"' EXIT
cd "$build"
echo "running the benchmarks (about three minutes)..." >&2
# The game beside the floor, an empty window, in turns, watched from outside: five starts each
# for the first picture, then one of each left idle for 30 s.
for i in 1 2 3 4 5; do
    SDL_AUDIODRIVER=dummy ./bench/first_picture ./tonvella >>"$log/picture-game" 2>&1
    SDL_AUDIODRIVER=dummy ./bench/first_picture ./bench/empty_window >>"$log/picture-floor" 2>&1
done
SDL_AUDIODRIVER=dummy ./bench/first_picture --idle ./tonvella >"$log/idle-game" 2>&1
SDL_AUDIODRIVER=dummy ./bench/first_picture --idle ./bench/empty_window >"$log/idle-floor" 2>&1
SDL_AUDIODRIVER=dummy ./bench/idle_bench >"$log/idle" 2>&1
SDL_AUDIODRIVER=dummy ./bench/session_bench >"$log/session" 2>&1
SDL_AUDIODRIVER=dummy ./bench/cardset_bench >"$log/cardset" 2>&1
./bench/render_bench >"$log/render" 2>&1
/usr/bin/python3 "$repo/bench/press_to_sound.py" ./tonvella 20 >"$log/press" 2>&1

# The value after "label:" in a benchmark's output.
value() { sed -n "s/^$2: //p" "$log/$1" | head -n 1; }
number() { value "$@" | grep -oE '[0-9]+(\.[0-9]+)?' | head -n 1; }
verdict() { awk -v v="$1" -v g="$2" 'BEGIN { print (v <= g) ? "yes" : "no" }'; }

median_of() { sed -n "s/^first picture: \([0-9]*\) ms/\1/p" "$log/$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
picture_game=$(median_of picture-game)
picture_floor=$(median_of picture-floor)
picture_runs_game=$(sed -n "s/^first picture: \([0-9]*\) ms/\1/p" "$log/picture-game" | sort -n | paste -sd, -)
picture_runs_floor=$(sed -n "s/^first picture: \([0-9]*\) ms/\1/p" "$log/picture-floor" | sort -n | paste -sd, -)
picture_diff=$((picture_game - picture_floor))
idle_game=$(number idle-game "idle CPU 10-30 s")
idle_floor=$(number idle-floor "idle CPU 10-30 s")
idle_wakeups=$(value idle-game "idle CPU 10-30 s" | grep -oE '[0-9]+ wake-ups' | grep -oE '[0-9]+')
idle_threads=$(sed -n 's/^idle thread \([^:]*\): \([0-9.]*\) %, \([0-9.]*\) wake-ups per second/\1 \2 % (\3\/s)/p' "$log/idle-game" | paste -sd';' - | sed 's/;/; /g')
pss_game=$(value idle-game "proportional memory at 30 s")
pss_floor=$(value idle-floor "proportional memory at 30 s")
first_frame=$(number idle "start to first frame")
idle_cpu=$(number idle "idle CPU over 10 s")
idle_drawn=$(value idle "frames drawn while idle")
press=$(value press "press to first sound")
press_median=$(echo "$press" | grep -oE 'median [0-9.]+' | head -n 1 | grep -oE '[0-9.]+$')
switch=$(value session "set switch")
switch_median=$(echo "$switch" | grep -oE "median [0-9.]+" | grep -oE "[0-9.]+$")
rss_start=$(number session "resident memory after start")
rss_parts=$(value session "resident memory after start" | sed 's/^[^(]*//')
heap=$(value session "heap in use after start, after 8 and after 100 set switches")
same_set=$(value session "heap in use with the same set loaded, after 8 and after 96 set switches")
rss_8=$(number session "resident memory after 8 set switches")
own=$(value session "resident memory after start without the GL driver's code files")
own_mb=$(echo "$own" | grep -oE '^[0-9.]+')
rss_100=$(number session "resident memory after 100 set switches")
fps=$(number session "frames per second while notes rise")
steps=$(number session "logic steps per second while notes rise")
frame=$(sed -n 's/^whole frame (3D, 2D, swap) *//p' "$log/render" | tr -s ' ')
slowest_set=$(awk '/\.Set/ { if ($(NF-1) > m) m = $(NF-1) } END { print m }' "$log/cardset")
growth=$(awk -v a="$rss_8" -v b="$rss_100" 'BEGIN { printf "%.1f", b - a }')

echo "| Measure | Result | Goal | Met |"
echo "|---|---|---|---|"
echo "| first picture, fork to window content with > 100 colours (median of 5; game $picture_runs_game, floor $picture_runs_floor) | game $picture_game ms, floor $picture_floor ms, difference $picture_diff ms | <= floor + 100 ms | $(verdict "$picture_diff" 100) |"
echo "| idle CPU 10-30 s after start, every thread | game $idle_game % of one core ($idle_wakeups wake-ups/s: $idle_threads), floor $idle_floor % | <= 0.3 % | $(verdict "$idle_game" 0.3) |"
echo "| proportional memory (PSS) at 30 s | game $pss_game, floor $pss_floor | - | - |"
echo "| start to first frame | $first_frame ms | <= 300 ms | $(verdict "$first_frame" 300) |"
echo "| press to first sound | $press | <= 15 ms (median) | $(verdict "$press_median" 15) |"
echo "| idle CPU over 10 s (after the opening camera travel; $idle_drawn) | $idle_cpu % of one core | <= 2 % | $(verdict "$idle_cpu" 2) |"
echo "| set switch (100 switches) | $switch | <= 60 ms (median) | $(verdict "$switch_median" 60) |"
echo "| resident memory after start | $rss_start MB $rss_parts | < 80 MB | $(verdict "$rss_start" 79.99) |"
echo "| resident memory after start without the GL driver's code files (libLLVM, dri) | $own | < 80 MB | $(verdict "$own_mb" 79.99) |"
echo "| resident memory after 100 set switches | $rss_100 MB ($rss_8 MB after the first 8, one per set: $growth MB more over the next 92) | flat, < 80 MB | $(verdict "$rss_100" 79.99) |"
echo "| heap in use after start, 8 and 100 set switches | $heap (with the same set loaded after 8 and 96: $same_set) | flat | $(awk -v h="$same_set" 'BEGIN { split(h, v, ", "); print (v[2] - v[1] < 1) ? "yes" : "no" }') |"
echo "| frames per second while notes rise | $fps (logic steps $steps per s) | 10 (the loop's cap) | $(verdict 9.5 "$fps") |"
echo "| render time of a game frame (render_bench) | $frame | - | - |"
echo "| slowest card-set load (cardset_bench) | $slowest_set ms | - | - |"
echo
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
renderer=$(sed -n 's/^renderer: \([^;]*\);.*/\1/p' "$log/render")
echo "Machine: $cpu, $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo)," \
    "$(. /etc/os-release && echo "$PRETTY_NAME"), display ${TONVELLA_BENCH_DISPLAY:-$DISPLAY}," \
    "OpenGL renderer $renderer, load average $load_before before the run" \
    "($busy_before other processes above 5 % of a core), $(cut -d' ' -f1-3 /proc/loadavg) after it."
