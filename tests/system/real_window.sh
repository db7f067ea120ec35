#!/usr/bin/env bash
# Builds the package, installs it, and drives the installed program in a real
# X server under a window manager (openbox), the way a user would:
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
wm_pid=
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null || true
    kill $wm_pid "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_xvfb
start_wm

# Qt's own options must change nothing: the program takes no arguments.
echo '* { background-color: rgb(255, 0, 0); color: rgb(255, 0, 0); }' >"$out/red.qss"
QT_QPA_PLATFORM=xcb LANG=C.UTF-8 /usr/bin/bocavo -reverse -stylesheet "$out/red.qss" &
app=$!
windows=$(wait_windows "$app")
[[ $(wc -l <<<"$windows") -eq 1 ]] || fail "expected one window, found: '$windows'"
read -r wid width height name <<<"$windows"
echo "window $wid: ${width}x${height} \"$name\""
[[ $name == "$title" ]] || fail "title is '$name'"
[[ $width -eq 576 ]] || fail "client width is $width, not 576"
menubar=$((height - 568))
((menubar >= 15 && menubar <= 40)) || fail "no 568 px client area below a menu bar (height $height)"

# --- Looking at a window as the window manager keeps it ---------------------

atoms() { # window property: the atom names it holds, one a line
    xprop -id "$1" "$2" | sed -n 's/^[^=]*= //p' | tr -d ' ' | tr ',' '\n'
}
has() { # window property atom
    atoms "$1" "$2" | grep -qx "$3"
}
# The height of the caption bar the window manager draws above the window.
caption_height() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | cut -d, -f3 | tr -d ' '
}
on_top() { # window: whether it is the top of the window manager's stacking
    [[ $("$xwin" stacking | awk '{ print $NF }') == "$1" ]]
}
viewable() { # window
    "$xwin" find "$app" | grep -q "^$1 "
}
window_titled() { # title: the id of the program's window of that title, waiting up to 10 s
    local id w h name
    for _ in $(seq 100); do
        while read -r id w h name; do
            [[ $name == "$1" ]] && { echo "$id"; return 0; }
        done < <("$xwin" find "$app")
        sleep 0.1
    done
    fail "no window titled '$1'"
}

# Every window: a caption bar showing its title and a close button, no
# minimise or maximise asked for. Openbox keeps a minimise function whatever
# a window asks (and a maximise function for a resizable one), so only what
# the program asks is checked for those.
check_caption() { # window title
    local height
    height=$(caption_height "$1")
    ((${height:-0} >= 10)) || fail "'$2' has no caption bar (frame top ${height:-none})"
    [[ $("$xwin" caption "$1") == "$2" ]] || fail "'$2' shows '$("$xwin" caption "$1")' as its title"
    has "$1" _NET_WM_ALLOWED_ACTIONS _NET_WM_ACTION_CLOSE || fail "'$2' cannot be closed"
    local asked
    asked=$("$xwin" asks "$1")
    [[ $asked != *minimize* && $asked != *maximize* && $asked != all ]] ||
        fail "'$2' asks for: $asked"
}
check_fixed() { # window title
    ! has "$1" _NET_WM_ALLOWED_ACTIONS _NET_WM_ACTION_RESIZE || fail "'$2' can be resized"
    ! has "$1" _NET_WM_ALLOWED_ACTIONS _NET_WM_ACTION_MAXIMIZE_HORZ || fail "'$2' can be maximised"
}
# An auxiliary window: no task-bar entry and no owner window.
check_auxiliary() { # window title
    has "$1" _NET_WM_STATE _NET_WM_STATE_SKIP_TASKBAR || fail "'$2' has a task-bar entry"
    [[ -z $(xprop -id "$1" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*') ]] ||
        fail "'$2' has an owner window"
}

check_caption "$wid" "$title"
check_fixed "$wid" "$title"
! has "$wid" _NET_WM_STATE _NET_WM_STATE_SKIP_TASKBAR || fail "the main window has no task-bar entry"
echo "main window: caption bar, close only, fixed size, in the task bar"

# --- The main window's commands ---------------------------------------------

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
# How many pixels of a region (x y w h in window pixels) are dark, or pure red.
dark() { # shot x y w h
    convert "$out/$1.png" -crop "$4x$5+$2+$3" +repage -colorspace Gray -threshold 40% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}
red() { # shot
    convert "$out/$1.png" -fuzz 10% -fill black +opaque red -fill white -opaque red \
        -format '%[fx:round(mean*w*h)]' info:
}

xdotool windowfocus --sync "$wid"
shot start
# Neither -stylesheet (red everywhere) nor -reverse ("Quitter" at the right).
reds=$(red start)
menu_left=$(dark start 0 0 100 "$menubar")
menu_right=$(dark start 476 0 100 "$menubar")
echo "red pixels $reds; menu bar text: left $menu_left, right $menu_right"
((reds == 0)) || fail "the program read the style sheet it was given"
((menu_left > 20 && menu_right == 0)) || fail "the menu bar is mirrored"

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

# --- The auxiliary windows --------------------------------------------------

menu() { # access key of an entry of the "?" menu
    xdotool windowactivate --sync "$wid"
    xdotool key --window "$wid" alt+question
    sleep 0.3
    xdotool key "$1"
}

menu p
protocol=$(window_titled "Protocole")
check_caption "$protocol" "Protocole"
check_fixed "$protocol" "Protocole"
check_auxiliary "$protocol" "Protocole"

# Over the child grid, as a pupil would leave it; a click on the main window
# then brings that window above it, and the protocol window stays open.
eval "$(xdotool getwindowgeometry --shell "$wid" | grep -E '^[XY]=')"
xdotool windowmove --sync "$protocol" $((X + 300)) $((Y + 60))
sleep 0.3
on_top "$protocol" || fail "the protocol window did not open on top"
xdotool mousemove --window "$wid" 40 $((menubar + 8)) click 1
sleep 0.5
on_top "$wid" || fail "clicking the main window left it under the protocol window"
viewable "$protocol" || fail "clicking the main window hid the protocol window"
echo "stacking after a click on the main window: $("$xwin" stacking)"

# The gift, through the protocol window's hidden corner.
xdotool mousemove --window "$protocol" 470 475 click 1
gift=$(window_titled "Bravo ta gagné une photo de Mr. Brastel !!!")
check_caption "$gift" "Bravo ta gagné une photo de Mr. Brastel !!!"
check_fixed "$gift" "Bravo ta gagné une photo de Mr. Brastel !!!"
check_auxiliary "$gift" "Bravo ta gagné une photo de Mr. Brastel !!!"

xdotool windowactivate --sync "$wid"
xdotool key --window "$wid" alt+l
legend=$(window_titled "Légende")
check_caption "$legend" "Légende"
check_fixed "$legend" "Légende"
check_auxiliary "$legend" "Légende"

menu a
about=$(window_titled "A propos ...")
check_caption "$about" "A propos ..."
check_auxiliary "$about" "A propos ..."
has "$about" _NET_WM_ALLOWED_ACTIONS _NET_WM_ACTION_RESIZE || fail "About cannot be resized"
# From the text to OK, and Enter hides the window; shown again, it still
# stays out of the task bar (the window manager forgets a hidden window's state).
xdotool windowactivate --sync "$about"
xdotool key Tab Return
sleep 0.5
! viewable "$about" || fail "Enter on OK did not hide About"
menu a
[[ $(window_titled "A propos ...") == "$about" ]] || fail "About came back as another window"
check_auxiliary "$about" "A propos ..."
# Back with the focus still on OK: Enter hides it again, until the end.
xdotool windowactivate --sync "$about"
xdotool key Return
sleep 0.5
! viewable "$about" || fail "Enter on OK did not hide About the second time"
echo "legend, protocol and gift fixed, About resizable; none in the task bar, none owned"
import -window root "$out/desktop.png"

# --- Closed by the window manager's close button ----------------------------

# With the protocol, gift and legend windows open and About hidden, the
# program must end, and end well.
"$xwin" wmclose "$wid"
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end within 5 s of its close button"
status=0
wait "$app" || status=$?
app=
[[ $status -eq 0 ]] || fail "the program ended with status $status"
[[ -z $("$xwin" stacking) ]] || fail "windows left behind: $("$xwin" stacking)"
echo "closed by the window manager, exit status 0; screenshots in $out"
