#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under a virtual display.
. "$(dirname "$0")/cmake/setup.sh"
install_missing "$repo"/deps/build*.txt "$repo"/deps/test*.txt
configure_and_build

# The sanitized build (AddressSanitizer with leaks, and UBSan) is made at the lowest priority
# while the tests of the normal build run: most of their time goes on games played in real
# time, which leave the processor idle, and the build only takes what they leave. -O1 with line
# tables keeps it short.
# It runs in a process group of its own, so that a failed pass ends all of it.
mkdir -p "$repo/build-asan"
sanitized_log="$repo/build-asan/background-build.log"
setsid nice -n 19 bash -c '. "$1/cmake/setup.sh"; shift; configure_and_build "$@"' _ "$repo" \
    "$repo/build-asan" -DTONVELLA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS_DEBUG="-O1 -g1" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" >"$sanitized_log" 2>&1 &
sanitized_build=$!
trap 'kill -- "-$sanitized_build" 2>/dev/null || true' EXIT

# SDL must not try a real sound card in tests: the disk and dummy drivers stand in.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# Twice as many tests as cores run at once, for the same reason; every test waits for what it
# needs, so a busy processor only makes it slower.
jobs=$(($(nproc) * 2))

cd "$repo/build"
# The broken-asset games run once, in the sanitized pass below, where their error paths are
# checked for memory faults as well.
"$repo"/tests/own_display.sh ctest --output-on-failure -j"$jobs" -E '^broken_asset_' "$@"

if ! wait "$sanitized_build"; then
    cat "$sanitized_log"
    exit 1
fi

# The tests once more in the sanitized build, each stopping at its first report; the end-to-end
# scripts check the game's exit status, so a report inside the game fails them too. The asset
# checks are Python and run no C++ of ours.
cd "$repo/build-asan"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$repo/cmake/lsan.supp"
# The random games run four batches of 500 above; a batch of 100 each here finds the memory
# faults of the same paths in a fraction of the time.
export TONVELLA_RANDOM_GAMES=100
# Likewise 60 of the 300 seeds of the test that swaps the sounds of cards the computer has not heard.
export TONVELLA_SWAP_SEEDS=60
# The whole games played through the real window (against a person and against the computer)
# take a minute or more in real time; their in-process twins (WholeGame) cover the same code
# under the sanitizers. The Debian package is made of the normal build only.
"$repo"/tests/own_display.sh ctest --output-on-failure -j"$jobs" \
    -E '^(assets_|e2e_whole_game$|e2e_opponent_|install_deb$)' "$@"
