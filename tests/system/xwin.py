#!/usr/bin/python3
"""Looks at a program's windows from outside, as a window manager would.

  xwin.py find PID          prints "id width height title" for each mapped
                            top-level window of process PID
  xwin.py close ID          asks window ID to close (WM_DELETE_WINDOW)
"""
import sys

from Xlib import X, display, protocol


def windows_of(d, pid):
    net_pid = d.intern_atom("_NET_WM_PID")
    net_name = d.intern_atom("_NET_WM_NAME")
    utf8 = d.intern_atom("UTF8_STRING")
    for w in d.screen().root.query_tree().children:
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


def main():
    d = display.Display()
    if sys.argv[1] == "find":
        for wid, width, height, title in windows_of(d, int(sys.argv[2])):
            print(wid, width, height, title)
    elif sys.argv[1] == "close":
        close(d, int(sys.argv[2]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
