#!/usr/bin/python3
"""Looks at a program's windows from outside, as a window manager would.

  xwin.py find PID          prints "id width height title" for each mapped
                            top-level window of process PID
  xwin.py close ID          asks window ID to close (WM_DELETE_WINDOW)
  xwin.py wmclose ID        asks the window manager to close window ID, as
                            its close button does (_NET_CLOSE_WINDOW)
  xwin.py stacking          prints the window manager's windows, bottom to top
  xwin.py caption ID        prints the title the window manager shows for ID
  xwin.py asks ID           prints the functions window ID asks the window
                            manager for (_MOTIF_WM_HINTS): move resize minimize
                            maximize close, or "all"
"""
import sys

from Xlib import X, display, protocol

# _MOTIF_WM_HINTS: flags, then functions.
MWM_HINTS_FUNCTIONS = 1
MWM_FUNCTIONS = [(1, "all"), (2, "resize"), (4, "move"), (8, "minimize"), (16, "maximize"),
                 (32, "close")]


def top_levels(d):
    """The window manager's client windows if one runs, else the root's children."""
    root = d.screen().root
    clients = root.get_full_property(d.intern_atom("_NET_CLIENT_LIST"), X.AnyPropertyType)
    if clients:
        return [d.create_resource_object("window", wid) for wid in clients.value]
    return root.query_tree().children


def windows_of(d, pid):
    net_pid = d.intern_atom("_NET_WM_PID")
    net_name = d.intern_atom("_NET_WM_NAME")
    utf8 = d.intern_atom("UTF8_STRING")
    for w in top_levels(d):
        prop = w.get_full_property(net_pid, X.AnyPropertyType)
        if not prop or prop.value[0] != pid:
            continue
        if w.get_attributes().map_state != X.IsViewable:
            continue
        name = w.get_full_property(net_name, utf8)
        title = name.value.decode("utf-8") if name else ""
        g = w.get_geometry()
        yield w.id, g.width, g.height, title


def close(d, wid):
    w = d.create_resource_object("window", wid)
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(
        window=w, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    w.send_event(event, event_mask=X.NoEventMask)
    d.flush()


def wm_close(d, wid):
    root = d.screen().root
    event = protocol.event.ClientMessage(
        window=d.create_resource_object("window", wid),
        client_type=d.intern_atom("_NET_CLOSE_WINDOW"),
        data=(32, [X.CurrentTime, 2, 0, 0, 0]))  # 2: sent on behalf of the user
    root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    d.flush()


def stacking(d):
    prop = d.screen().root.get_full_property(d.intern_atom("_NET_CLIENT_LIST_STACKING"),
                                             X.AnyPropertyType)
    return list(prop.value) if prop else []


def caption(d, wid):
    prop = d.create_resource_object("window", wid).get_full_property(
        d.intern_atom("_NET_WM_VISIBLE_NAME"), d.intern_atom("UTF8_STRING"))
    return prop.value.decode("utf-8") if prop else ""


def asks(d, wid):
    hints = d.intern_atom("_MOTIF_WM_HINTS")
    prop = d.create_resource_object("window", wid).get_full_property(hints, X.AnyPropertyType)
    if not prop or not prop.value[0] & MWM_HINTS_FUNCTIONS:
        return ["all"]
    return [name for bit, name in MWM_FUNCTIONS if prop.value[1] & bit]


def main():
    d = display.Display()
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "find":
        for wid, width, height, title in windows_of(d, int(sys.argv[2])):
            print(wid, width, height, title)
    elif command == "close":
        close(d, int(sys.argv[2]))
    elif command == "wmclose":
        wm_close(d, int(sys.argv[2]))
    elif command == "stacking":
        print(*stacking(d))
    elif command == "caption":
        print(caption(d, int(sys.argv[2])))
    elif command == "asks":
        print(*asks(d, int(sys.argv[2])))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
