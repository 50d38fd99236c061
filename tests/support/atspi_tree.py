#!/usr/bin/python3
"""Prints the accessibility tree of a running application, one node a line:
depth, role, name and states separated by '|'. Usage: atspi_tree.py APPLICATION-NAME

Runs with Debian's python3 and python3-pyatspi; the application must have been started
with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on the same D-Bus session."""
import sys

import pyatspi


def walk(node, depth, out):
    try:
        states = sorted(pyatspi.stateToString(s) for s in node.getState().getStates())
        out.append(f"{depth}|{node.getRoleName()}|{node.name}|{','.join(states)}")
    except Exception:  # a node that went away while being read
        return
    for child in node:
        if child is not None:
            walk(child, depth + 1, out)


def main():
    wanted = sys.argv[1]
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == wanted:
            out = []
            walk(app, 0, out)
            print("\n".join(out))
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
