# Shared by run.sh and test.sh: install what is missing, configure, build.
# Usage: . cmake/setup.sh <package list files...>

set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

install_missing() {
    local wanted=() missing=() pkg
    for list in "$@"; do
        [ -f "$list" ] || continue
        while read -r pkg; do
            pkg="${pkg%%#*}"
            pkg="${pkg//[[:space:]]/}"
            [ -n "$pkg" ] && wanted+=("$pkg")
        done <"$list"
    done
    for pkg in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Usage: configure_and_build [build dir] [extra cmake options...]; the default is build/.
configure_and_build() {
    local build="${1:-$repo/build}"
    [ $# -gt 0 ] && shift
    if [ ! -f "$build/build.ninja" ]; then
        cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
            "$@" >/dev/null
    fi
    # Quiet when all is well; the whole log when the build fails.
    if ! cmake --build "$build" -- -j"$(nproc)" >"$build/last-build.log" 2>&1; then
        cat "$build/last-build.log"
        echo "Build failed (log: $build/last-build.log)" >&2
        return 1
    fi
}
