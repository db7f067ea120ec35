# Shared by the scripts that drive Bocavo in a real X server: a bare Xvfb
# (no window manager) and a way to find a program's one window from outside.
# Source it; it sets DISPLAY and stops the server when the script exits.

xsession_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
xwin=$xsession_dir/../../tests/system/xwin.py

start_xvfb() {
    local display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp &
    xvfb_pid=$!
    export DISPLAY=$display
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
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
