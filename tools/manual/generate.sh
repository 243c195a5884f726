#!/usr/bin/env bash
# Remakes the manuals assets/Deutsch.pdf, assets/English.pdf and assets/Czech.pdf: builds the
# game, plays it under a virtual display for the screenshots, typesets texts/*.md with them and
# checks the result. Installs its tools (deps/tools-manual.txt) when they are missing.
# Usage: tools/manual/generate.sh [--game PATH-TO-TONVELLA]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
. "$root/cmake/setup.sh"
install_missing "$root"/deps/build*.txt "$root/deps/tools-manual.txt"

game=""
while [ $# -gt 0 ]; do
    case "$1" in
    --game) game="$(realpath "$2")"; shift 2 ;;
    *) echo "usage: $0 [--game PATH]" >&2; exit 2 ;;
    esac
done

work="$root/build-manual"
if [ -z "$game" ]; then
    [ -f "$work/build.ninja" ] || cmake -S "$root" -B "$work" -G Ninja >/dev/null
    cmake --build "$work" --target tonvella -- -j2 >"$work/last-build.log" 2>&1 ||
        { cat "$work/last-build.log"; exit 1; }
    game="$work/tonvella"
fi

mkdir -p "$work"
rm -rf "$work/shots"
bash "$here/screenshots.sh" "$game" "$work/shots"
export PYTHONDONTWRITEBYTECODE=1
/usr/bin/python3 "$here/make_manual.py" --shots "$work/shots" --out "$root/assets"
/usr/bin/python3 "$root/tests/assets/manual/check_manual.py" "$root/assets" \
    "$root/Translator/translation.txt"
