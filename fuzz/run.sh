#!/usr/bin/env bash
# Runs each fuzz target for the given number of seconds, one after the other (one process, one
# core), and prints executions per second and total executions per target.
# Usage: fuzz/run.sh <seconds> [target...]   (default: every target built in build-fuzz/fuzz)
# Build first:
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTONVELLA_FUZZ=ON
#   cmake --build build-fuzz --target fuzzers -- -j2
# A crash, sanitizer report, leak, timeout or out-of-memory stops that target and leaves the
# input in build-fuzz/artifacts/<target>/; the script then exits non-zero.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
repo="$(dirname "$here")"
bin="$repo/build-fuzz/fuzz"
seconds="${1:?usage: fuzz/run.sh <seconds> [target...]}"
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for exe in "$bin"/fuzz_*; do targets+=("$(basename "$exe" | sed 's/^fuzz_//')"); done
fi

export LSAN_OPTIONS="suppressions=$repo/cmake/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:allocator_may_return_null=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export SDL_AUDIODRIVER=dummy

failed=0
printf '%-12s %12s %8s %10s %s\n' target executions seconds exec/s result
for t in "${targets[@]}"; do
    # New inputs go to a scratch corpus; the committed seeds stay as they are.
    work="$repo/build-fuzz/corpus/$t"
    artifacts="$repo/build-fuzz/artifacts/$t"
    log="$repo/build-fuzz/logs/$t.log"
    mkdir -p "$work" "$artifacts" "$(dirname "$log")"
    # -close_fd_mask=1 silences the game's diagnostic lines on stdout; reports go to stderr.
    "$bin/fuzz_$t" "$work" "$here/corpus/$t" -max_total_time="$seconds" -rss_limit_mb=2560 \
        -timeout=25 -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$artifacts/" \
        >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    result=clean
    if [ $rc -ne 0 ]; then
        result="FAILED (rc $rc, log $log)"
        failed=1
    fi
    printf '%-12s %12s %8s %10s %s\n' "$t" "${runs:-?}" "${took:-?}" "${rate:-?}" "$result"
done
exit $failed
