"""Lists what a screen reader finds in the running program over AT-SPI, and checks that the
names given on the command line are there. Run by scripts/check-accessibility."""

import sys

import pyatspi


def names_under(node, found):
    try:
        found.add((node.getRoleName(), node.name))
        for index in range(node.childCount):
            names_under(node.getChildAtIndex(index), found)
    except Exception:  # a node may vanish while it is read
        pass


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    found = set()
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "ZEL Calculation":
            names_under(app, found)
    names = {name for _, name in found}
    missing = [name for name in sys.argv[1:] if name not in names]
    for role, name in sorted(found):
        if name:
            print(f"{role:12} {name}")
    print(f"{len(sys.argv) - 1 - len(missing)} of {len(sys.argv) - 1} names found")
    for name in missing:
        print(f"missing: {name}")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
