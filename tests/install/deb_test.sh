#!/usr/bin/env bash
# Makes the Debian package and checks it as a user's machine would take it: its dependencies are
# packages this machine has in the versions asked for, it names the libraries the program uses,
# and the program it carries starts from its menu entry, opens its window and closes with 0.
# Usage: deb_test.sh BUILD_DIR APP_ID XCLOSE   (under an X display)
set -u
build="$1"
id="$2"
xclose="$3"
work="$(mktemp -d)"
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack failed"
    exit 1
fi
deb="$(ls "$work"/pkg/*.deb 2>/dev/null | head -n 1)"
[ -f "$deb" ] || { echo "FAIL: cpack made no .deb"; exit 1; }
echo "package: $(basename "$deb")"

# Every dependency (one of its alternatives) is installed here in a version it accepts.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
IFS=',' read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
    met=""
    IFS='|' read -ra alternatives <<<"$group"
    for alternative in "${alternatives[@]}"; do
        read -r name relation <<<"$alternative"
        version="$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null)" || continue
        [ -n "$version" ] || continue
        if [ -n "${relation:-}" ]; then
            relation="${relation#(}"
            relation="${relation%)}"
            read -r op wanted <<<"$relation"
            dpkg --compare-versions "$version" "$op" "$wanted" || continue
        fi
        met=yes
    done
    [ -n "$met" ] || fail "dependency not satisfiable here:$group"
done
for library in libsdl2 libglew libminizip libpng16 libfreetype libvorbisfile libc6; do
    grep -q "\b$library" <<<"$depends" || fail "Depends does not name $library"
done

# Unpacked into a scratch root, started the way the desktop does: the entry's Exec line with
# the package's bin folder on the PATH.
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x failed"
entry="$work/root/usr/share/applications/$id.desktop"
exec_line="$(sed -n 's/^Exec=//p' "$entry" 2>/dev/null)"
[ -n "$exec_line" ] || { fail "no Exec line in $entry"; exit 1; }
PATH="$work/root/usr/bin:$PATH" SDL_AUDIODRIVER=dummy TEMP="$work" \
    sh -c "exec $exec_line" >"$work/out" 2>&1 &
pid=$!
window="$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)"
if [ -z "$window" ]; then
    cat "$work/out"
    fail "the program of the package opened no window"
else
    [ "$(readlink "/proc/$pid/exe")" = "$work/root/usr/bin/tonvella" ] ||
        fail "the entry started $(readlink "/proc/$pid/exe"), not the packaged program"
    /usr/bin/python3 "$(dirname "$0")/../e2e/screen.py" "$window" first ||
        fail "the program of the package never showed its first picture"
    "$xclose" "$window"
    for _ in $(seq 600); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "the program did not end after its window was closed"
    else
        wait "$pid"
        status=$?
        [ "$status" -eq 0 ] || { cat "$work/out"; fail "the program ended with status $status"; }
    fi
    pid=""
fi

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
