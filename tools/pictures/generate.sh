#!/usr/bin/env bash
# Regenerates every picture and font in assets/ that tools/pictures makes:
# room textures, posters, note sprites, the menu book, the two fonts and
# their licence texts; and the desktop icon in desktop/icons/. Installs its
# own tools (deps/tools-pictures.txt) when they are missing. The output is
# the same on every run and machine.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"

missing=()
while read -r pkg; do
  [ -z "$pkg" ] && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < <(grep -v '^#' "$root/deps/tools-pictures.txt")
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Fixed time stamps inside the generated font; no byte-code files beside the scripts.
export SOURCE_DATE_EPOCH=1700000000
export PYTHONDONTWRITEBYTECODE=1
cd "$here"
py=/usr/bin/python3
$py textures.py
$py sprites.py
$py posters.py
$py book.py
$py icon.py
$py fonts.py 2> >(grep -v '^Program root:' >&2)

$py "$root/tests/assets/pictures/check_pictures.py" "$root/assets"
$py "$root/tests/assets/pictures/check_fonts.py" "$root/assets" "$root/Translator"
