# Shared by the scripts that drive Bocavo in a real X server: a private Xvfb,
# optionally a window manager on it, and a way to find a program's windows
# from outside. Source it; it sets DISPLAY. The caller stops the server
# (kill "$xvfb_pid") and the window manager (kill "$wm_pid") when done.

xsession_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
xwin=$xsession_dir/../../tests/system/xwin.py

# Xvfb picks a free display itself and names it once it accepts clients, so
# two sessions started at once never share a server.
start_xvfb() {
    local ready
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$ready" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [[ -s $ready ]]; then
            export DISPLAY=:$(head -1 "$ready")
            rm -f "$ready"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$ready"
    echo "Xvfb did not start" >&2
    return 1
}

# Openbox, as a desktop would run one; ready once it announces itself on the
# root window (_NET_SUPPORTING_WM_CHECK).
start_wm() {
    openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    echo "the window manager did not start" >&2
    return 1
}

# Prints "id width height title" for each window of PID, waiting up to 10 s.
wait_windows() { # pid
    local found=
    for _ in $(seq 100); do
        found=$("$xwin" find "$1")
        [[ -n $found ]] && break
        sleep 0.1
    done
    echo "$found"
}

close_window() { # window id
    "$xwin" close "$1"
}
