"""Lists what a screen reader finds in the running program over AT-SPI, and checks that the
names given on the command line are there. An argument "name=label" also checks that the control
of that name is labelled by the control called label. Run by scripts/check-accessibility."""

import sys

import pyatspi


def labels_of(node):
    labels = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            labels += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return labels


def names_under(node, found, labelled):
    try:
        found.add((node.getRoleName(), node.name))
        for label in labels_of(node):
            labelled.add(f"{node.name}={label}")
        for index in range(node.childCount):
            names_under(node.getChildAtIndex(index), found, labelled)
    except Exception:  # a node may vanish while it is read
        pass


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    found = set()
    labelled = set()
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "ZEL Calculation":
            names_under(app, found, labelled)
    names = {name for _, name in found} | labelled
    missing = [name for name in sys.argv[1:] if name not in names]
    for role, name in sorted(found):
        if name:
            print(f"{role:12} {name}")
    for pair in sorted(labelled):
        print(f"{'labelled':12} {pair}")
    print(f"{len(sys.argv) - 1 - len(missing)} of {len(sys.argv) - 1} names found")
    for name in missing:
        print(f"missing: {name}")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
