#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what a desktop finds there:
# the program, its menu entry, the icon in every size and as SVG, the AppStream metainfo; and
# what a teacher finds: the set checker beside the game, and the sample set, which it passes.
# Usage: install_test.sh BUILD_DIR APP_ID EXAMPLE_SETS_DIR
set -u
build="$1"
id="$2"
examples="$3"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"
    rm -f "$prefix.log"
    echo "FAIL: cmake --install failed"
    exit 1
fi
rm -f "$prefix.log"

[ -x "$prefix/bin/tonvella" ] || fail "no program bin/tonvella"
cmp -s "$prefix/bin/tonvella" "$build/tonvella" || fail "bin/tonvella is not the program built"
checker="$prefix/bin/tonvella-check-set"
[ -x "$checker" ] || fail "no set checker bin/tonvella-check-set"
sample="$prefix/share/tonvella/examples/sets"
for file in "$examples"/*; do
    cmp -s "$file" "$sample/$(basename "$file")" || fail "$sample lacks $(basename "$file")"
done
if [ -x "$checker" ]; then
    for set in "$sample"/*.Set; do
        out="$("$checker" "$set" 2>&1)" || fail "the checker refuses the installed sample: $out"
    done
fi
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
[ -f "$desktop" ] || fail "no menu entry $desktop"
[ -f "$metainfo" ] || fail "no metainfo $metainfo"
[ -f "$prefix/share/doc/tonvella/copyright" ] || fail "no share/doc/tonvella/copyright"

# Every icon size the desktop asks for, each a PNG of exactly that size.
for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon"
        continue
    fi
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
    header="$(od -An -tx1 -N24 "$png" | tr -d ' \n')"
    [ "${header:0:16}" = "89504e470d0a1a0a" ] || fail "$png is not a PNG"
    width=$((16#${header:32:8}))
    height=$((16#${header:40:8}))
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x${height}"
done
svg="$prefix/share/icons/hicolor/scalable/apps/$id.svg"
grep -q "<svg " "$svg" 2>/dev/null || fail "no scalable icon $svg"

# The entry starts the installed program by name and names the installed icon.
if [ -f "$desktop" ]; then
    exec_line="$(sed -n 's/^Exec=//p' "$desktop")"
    [ -x "$prefix/bin/${exec_line%% *}" ] || fail "Exec=$exec_line is not an installed program"
    [ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon= does not name $id"
fi
if [ -f "$metainfo" ]; then
    grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $id.desktop"
fi

if command -v desktop-file-validate >/dev/null; then
    out="$(desktop-file-validate "$desktop" 2>&1)" || fail "desktop-file-validate: $out"
    [ -z "$out" ] || echo "$out"
else
    echo "desktop-file-validate not available: skipped"
fi
if command -v appstreamcli >/dev/null; then
    out="$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1)" || fail "appstreamcli: $out"
else
    echo "appstreamcli not available: skipped"
fi

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
