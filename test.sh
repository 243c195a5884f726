#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under a virtual display.
. "$(dirname "$0")/cmake/setup.sh"
install_missing "$repo"/deps/build*.txt "$repo"/deps/test*.txt
configure_and_build
cd "$repo/build"
# SDL must not try a real sound card in tests: the disk and dummy drivers stand in.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$(nproc)" "$@"
