#!/usr/bin/env bash
# Builds the package, installs it, and drives the installed program in a real
# X server the way a user and a window manager would:
#   real_window.sh BUILD_DIR OUTPUT_DIR
# Needs root (it installs the package). Leaves its screenshots in OUTPUT_DIR.
set -euo pipefail

build=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/lib/xsession.sh
source "$here/../../scripts/lib/xsession.sh"
title="Variation de Frequences d'Allèles"
mkdir -p "$out"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The package, installed as a teacher would install it.
cmake --build "$build" --target package >/dev/null
deb=$(ls -t "$build"/bocavo_*_amd64.deb | head -1)
DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$deb" >/dev/null
[[ -x /usr/bin/bocavo ]] || fail "the package did not install /usr/bin/bocavo"

app=
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_xvfb

QT_QPA_PLATFORM=xcb LANG=C.UTF-8 /usr/bin/bocavo &
app=$!
windows=$(wait_windows "$app")
[[ $(wc -l <<<"$windows") -eq 1 ]] || fail "expected one window, found: '$windows'"
read -r wid width height name <<<"$windows"
echo "window $wid: ${width}x${height} \"$name\""
[[ $name == "$title" ]] || fail "title is '$name'"
[[ $width -eq 576 ]] || fail "client width is $width, not 576"
menubar=$((height - 568))
((menubar >= 15 && menubar <= 40)) || fail "no 568 px client area below a menu bar (height $height)"

shot() { # name
    sleep 0.5
    import -window "$wid" "$out/$1.png"
}
# How many pixels of a region (x y w h in client-area pixels) differ between two shots.
changed() { # before after x y w h
    local crop="$5x$6+$3+$(($4 + menubar))"
    convert "$out/$1.png" -crop "$crop" +repage "$out/crop-a.png"
    convert "$out/$2.png" -crop "$crop" +repage "$out/crop-b.png"
    compare -metric AE "$out/crop-a.png" "$out/crop-b.png" null: 2>&1 || true
}

xdotool windowfocus --sync "$wid"
shot start
xdotool key --window "$wid" alt+s
shot simulation
xdotool key --window "$wid" alt+g
shot generation

# Alt+S fills the parent grid and enables "Génération suivante"; Alt+G then
# rewrites the parent panel with the first generation's child frequencies.
parent_grid=$(changed start simulation 10 28 273 358)
next_button=$(changed start simulation 232 528 121 33)
parent_panel=$(changed simulation generation 10 396 273 120)
echo "pixels changed: parent grid $parent_grid, next button $next_button, parent panel $parent_panel"
((parent_grid > 200)) || fail "Alt+S did not fill the parent grid"
((next_button > 20)) || fail "Alt+S did not enable the next-generation button"
((parent_panel > 50)) || fail "Alt+G did not change the parent panel"

# Closed as a window manager closes it: the program must end, and end well.
close_window "$wid"
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end within 5 s of WM_DELETE_WINDOW"
status=0
wait "$app" || status=$?
app=
[[ $status -eq 0 ]] || fail "the program ended with status $status"
echo "closed by WM_DELETE_WINDOW, exit status 0; screenshots in $out"
