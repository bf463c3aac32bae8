# a11y_tree.py PID WINDOW...: once the program PID shows every named window on the accessibility
# bus (up to 10 s), prints each object of its tree as "role|name|the names of its labels", one a
# line; the entries of the lists are left out.
import sys
import time

import pyatspi


def app_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            pass
    return None


def lines(acc, out):
    labels = []
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            labels += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    role = acc.getRoleName()
    if role != "list item":
        out.append("%s|%s|%s" % (role, acc.name, ",".join(labels)))
    for child in acc:
        if child is not None:
            lines(child, out)
    return out


def main():
    pid, wanted = int(sys.argv[1]), set(sys.argv[2:])
    deadline = time.time() + 10
    while True:
        app = app_of(pid)
        windows = {w.name for w in app if w is not None} if app else set()
        if wanted <= windows or time.time() > deadline:
            break
        time.sleep(0.2)
    if app is None:
        print("no application with pid %d on the accessibility bus" % pid)
        return 1
    print("\n".join(lines(app, [])))
    return 0


sys.exit(main())
