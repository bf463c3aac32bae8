# a11y_tree.py PID WINDOW...: once PID shows every window named on the accessibility bus (up to
# 10 s), prints each object but list entries as "role|name|the names of its labels", one a line.
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


def lines(acc, out):
    labels = [r.getTarget(i).name for r in acc.getRelationSet()
              if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
              for i in range(r.getNTargets())]
    if acc.getRoleName() != "list item":
        out.append("%s|%s|%s" % (acc.getRoleName(), acc.name, ",".join(labels)))
    for child in acc:
        if child is not None:
            lines(child, out)
    return out


pid, wanted = int(sys.argv[1]), set(sys.argv[2:])
deadline = time.time() + 10
while True:
    app = app_of(pid)
    if (app and wanted <= {w.name for w in app if w is not None}) or time.time() > deadline:
        break
    time.sleep(0.2)
if app is None:
    sys.exit("no application with pid %d on the accessibility bus" % pid)
print("\n".join(lines(app, [])))
