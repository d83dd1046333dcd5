#!/usr/bin/python3
# Reads the program's accessibility tree over AT-SPI and checks that its
# controls have names and places, and that the chart tells its forecast.
import sys
import time
import pyatspi

# What a list shows, by its name: a screen reader reads it as the list's text.
shown = {}

def walk(node, out, depth=0):
    if node.getRoleName() == "combo box":
        try:
            shown[node.name] = node.queryText().getText(0, -1)
        except Exception:
            shown[node.name] = None
    try:
        out.append((node.getRoleName(), node.name or "", node.description or "",
                    node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)))
    except Exception:
        out.append((node.getRoleName(), node.name or "", node.description or "", None))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None and depth < 30:
            walk(child, out, depth + 1)

def main():
    want = sys.argv[1]
    app = None
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None and a.name == want:
                app = a
        if app is not None:
            break
        time.sleep(0.1)
    if app is None:
        print("no application named", want)
        return 1
    nodes = []
    for _ in range(50):
        nodes = []
        walk(app, nodes)
        if any("degrees" in n for r, n, d, e in nodes):
            break
        time.sleep(0.1)
    for n in nodes:
        print(n)
    faults = []
    for name in ("Daily or hour-by-hour", "Update forecast", "View 1", "Scroll the chart"):
        found = [e for r, n, d, e in nodes if n == name]
        if not found or found[0] is None or found[0].width <= 0:
            faults.append("no control named %r with a place" % name)
        # Qt reports extents in device-independent pixels: at zoom 2 they are
        # the phone screen's own, inside 240 x 320.
        elif not (0 <= found[0].x and found[0].x + found[0].width <= 241 and found[0].y + found[0].height <= 321):
            faults.append("%r out of place: %r" % (name, found[0]))
    # Named for what it is, not for the station it shows, which is its text.
    if shown.get("Station") != "New York, NY":
        faults.append("no station list named 'Station' showing the station: %r" % shown)
    charts = [(r, n, d, e) for r, n, d, e in nodes if "forecast." in n]
    if not charts or "New York" not in charts[0][1] or "degrees" not in charts[0][1]:
        faults.append("no chart summary with the station and degrees: %r" % charts)
    elif charts[0][0] != "chart":
        faults.append("the chart's role is %r" % charts[0][0])
    for f in faults:
        print("FAULT:", f)
    return 1 if faults else 0

sys.exit(main())
