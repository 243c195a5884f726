#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game.
. "$(dirname "$0")/cmake/setup.sh"
install_missing "$repo"/deps/build*.txt
configure_and_build
exec "$repo/build/tonvella"
