#!/usr/bin/python3
"""The editor as a screen reader meets it: started on an X server of its own, read from
outside the process through AT-SPI, driven by the keyboard. Checks the main window, the
security page and the advanced sheet: names, roles, the focus order, the list's rows and
the check boxes' states; and, in German, that the names are translated.

Run inside a session bus of its own:
    dbus-run-session -- a11y_test.py PERMORA_PROGRAM FIXTURE_FILE
"""

import os
import subprocess
import sys
import tempfile

import pyatspi

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
import xserver  # noqa: E402
from xserver import Failure, check  # noqa: E402

TIMEOUT = 30  # seconds for anything to appear; the machine may be busy


def wait_for(probe, what, timeout=TIMEOUT):
    # An object that went away while it was read counts as nothing yet.
    return xserver.wait_for(probe, what, timeout, tolerate=(Exception,))


def has(node, state):
    return node.getState().contains(state)


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def shown(node):
    """The controls of a window a user can see, as (role, name, node)."""
    return [(n.getRoleName(), n.name, n) for n in descendants(node)
            if has(n, pyatspi.STATE_SHOWING)]


def find(node, role, name):
    for n in descendants(node):
        if n.getRoleName() == role and n.name == name and has(n, pyatspi.STATE_SHOWING):
            return n
    return None


class Editor:
    def __init__(self, program, fixture, display, work, language):
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_STATE_HOME=work,
                   LANG=language, LANGUAGE="", LC_ALL="", LC_MESSAGES="")
        env.pop("QT_QPA_FONTDIR", None)
        self.process = subprocess.Popen([program, fixture], env=env)
        self.display = display
        self.app = wait_for(self.find_app, "the editor on the accessibility bus")

    def find_app(self):
        if self.process.poll() is not None:
            raise Failure(f"the editor ended with {self.process.returncode}")
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Permora" and app.get_process_id() == \
                    self.process.pid:
                return app
        return None

    def window(self, title):
        def probe():
            for window in descendants_once(self.app):
                if window.name == title and has(window, pyatspi.STATE_SHOWING):
                    return window
            return None
        return wait_for(probe, f"the window \"{title}\"")

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True,
                       env=dict(os.environ, DISPLAY=self.display))

    def focus_window(self, title):
        subprocess.run(["xdotool", "search", "--sync", "--name", "^" + title + "$",
                        "windowfocus", "--sync"], check=True, timeout=TIMEOUT,
                       env=dict(os.environ, DISPLAY=self.display))

    def focused(self, window):
        def probe():
            for n in descendants(window):
                if has(n, pyatspi.STATE_FOCUSED) and n.getRoleName() != "table cell":
                    return n
            return None
        return wait_for(probe, "a focused control")

    def close(self):
        try:
            self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise Failure("the editor did not end when its window closed")


def descendants_once(app):
    return [app.getChildAtIndex(i) for i in range(app.childCount)]


def check_main_window(editor):
    main = editor.window("Vendra Storage Security")
    controls = shown(main)
    buttons = [name for role, name, _ in controls if role == "push button"]
    check(buttons == ["New", "Add", "Edit", "Remove", "Import", "Save UTF8", "Save Unicode",
                      "Close", "Move Up", "Move Down"], f"main window buttons: {buttons}")
    labels = [name for role, name, _ in controls if role == "label"]
    check(labels[0] == "File:" and labels[1].endswith("main-window-unicode.conf"),
          f"main window labels: {labels}")
    targets = find(main, "table", "Targets")
    check(targets is not None, "no table named Targets")
    table = targets.queryTable()
    check(table.nRows == 3 and table.nColumns == 3, f"{table.nRows} rows, {table.nColumns} columns")
    headings = [table.getColumnDescription(c) or table.getColumnHeader(c).name for c in range(3)]
    check(headings == ["Target Object", "Security Style", "Security Level"], f"headings {headings}")
    rows = [[table.getAccessibleAt(r, c).name for c in range(3)] for r in range(3)]
    check(rows == [["/vol/vol1/qt1", "NTFS", "File/Directory"],
                   ["/vol/vol2", "NTFS", "Storage"],
                   ["/vol/vol3/nfs", "NFSV3 ACL", "File/Directory"]], f"rows {rows}")
    check([table.isRowSelected(r) for r in range(3)] == [True, False, False],
          "the first row is not the one selected")

    # Tab goes once round the controls in the order they stand.
    editor.focus_window("Vendra Storage Security")
    order = [editor.focused(main).name]
    for _ in range(11):
        before = order[-1]
        editor.keys("Tab")
        order.append(wait_for(lambda: (lambda n: n if n != before else None)(
            editor.focused(main).name), "the focus to move on"))
    # The list has the focus at start, as the window opens with rows.
    check(order == ["Targets", "New", "Add", "Edit", "Remove", "Import", "Save UTF8",
                    "Save Unicode", "Close", "Move Up", "Move Down", "Targets"],
          f"focus order {order}")
    return main


def check_security_page(editor):
    editor.keys("alt+e")
    sheet = editor.window("NTFS Security for /vol/vol1/qt1")
    check(find(sheet, "page tab", "NTFS Security") is not None, "no page tab NTFS Security")
    accounts = find(sheet, "list", "Group or user names (Domain\\NTAccount):")
    check(accounts is not None, "no list of accounts")
    items = [n for n in descendants(accounts) if n.getRoleName() == "list item"]
    check([i.name for i in items] == ["Everyone"], f"accounts {[i.name for i in items]}")
    check(has(items[0], pyatspi.STATE_SELECTED), "Everyone is not selected")
    rows = ["Full Control", "Modify", "Read and Execute", "List Folder Contents", "Read",
            "Write", "Special Permissions"]
    checked = {"Read and Execute Allow", "List Folder Contents Allow", "Read Allow"}
    for row in rows:
        for column in ("Allow", "Deny"):
            name = f"{row} {column}"
            box = find(sheet, "check box", name)
            check(box is not None, f"no check box {name}")
            check(has(box, pyatspi.STATE_CHECKED) == (name in checked),
                  f"{name} is {'not ' if name in checked else ''}checked")
    check(not has(find(sheet, "check box", "Special Permissions Allow"), pyatspi.STATE_ENABLED),
          "Special Permissions Allow is enabled")
    for name in ("Add", "Remove", "Advanced", "OK", "Cancel"):
        check(find(sheet, "push button", name) is not None, f"no button {name}")
    return sheet


def check_advanced_sheet(editor):
    editor.keys("alt+v")
    sheet = editor.window("Advanced Security Settings for /vol/vol1/qt1")
    tabs = [name for role, name, _ in shown(sheet) if role == "page tab"]
    check(tabs == ["Permissions", "Auditing", "Effective Access"], f"tabs {tabs}")
    entries = find(sheet, "table", "Permission entries:")
    check(entries is not None, "no table of permission entries")
    table = entries.queryTable()
    rows = [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
            for r in range(table.nRows)]
    check(rows == [["Allow", "Everyone", "Read and Execute",
                    "This folder, subfolders and files"]], f"entries {rows}")
    inherit = [n for role, _, n in shown(sheet) if role == "check box"]
    check(len(inherit) == 1 and inherit[0].name.startswith("Allow inheritable permissions")
          and has(inherit[0], pyatspi.STATE_CHECKED), "the inheritance box")
    for name in ("Add...", "Edit...", "Remove"):
        check(find(sheet, "push button", name) is not None, f"no button {name}")


def check_add_dialog(editor):
    """Radio buttons read as radio buttons, never as check boxes."""
    editor.focus_window("Vendra Storage Security")
    editor.keys("alt+a")
    dialog = editor.window("Add a File or Folder to the template")
    roles = {name: role for role, name, _ in shown(dialog)}
    for name in ("NTFS", "File/Directory", "Storage"):
        check(roles.get(name) == "radio button", f"{name} reads as {roles.get(name)!r}")
    check(has(find(dialog, "radio button", "File/Directory"), pyatspi.STATE_CHECKED),
          "File/Directory is not checked")
    editor.keys("Escape")
    def closed():
        try:
            return not has(dialog, pyatspi.STATE_SHOWING)
        except Exception:  # the window's object went with it
            return True
    wait_for(closed, "the Add dialog to close")
    editor.focus_window("Vendra Storage Security")


def check_german(editor):
    main = editor.window("Vendra Storage Security")
    check(find(main, "table", "Ziele") is not None, "no table named Ziele")
    for name in ("Neu", "Nach oben", "Nach unten", "Schließen"):
        check(find(main, "push button", name) is not None, f"no button {name}")
    editor.focus_window("Vendra Storage Security")
    editor.keys("alt+b")  # Bearbeiten
    sheet = editor.window("NTFS-Sicherheit für /vol/vol1/qt1")
    for name in ("Vollzugriff Zulassen", "Lesen Sperren"):
        check(find(sheet, "check box", name) is not None, f"no check box {name}")

    # The Effective Access page: its fields, tables and cells in German too.
    editor.keys("alt+w")  # Erweitert
    advanced = editor.window("Erweiterte Sicherheitseinstellungen für /vol/vol1/qt1")
    editor.keys("ctrl+Tab", "ctrl+Tab")
    wait_for(lambda: find(advanced, "combo box", "Konto"), "the field Konto")
    editor.keys("alt+k")
    editor.keys(*"Everyone", "Return")
    standard = wait_for(lambda: find(advanced, "table", "Standardberechtigungen"),
                        "the table Standardberechtigungen")

    def rows():
        table = standard.queryTable()
        cells = [[table.getAccessibleAt(r, c).name for c in range(3)] for r in (0, 2)]
        return cells if all(cells[0]) else None
    cells = wait_for(rows, "the cells of Standardberechtigungen")
    check(cells == [["Nicht zugelassen"] * 3, ["Zugelassen"] * 3], f"cells {cells}")


def main():
    program, fixture = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as work:
        try:
            server, display = xserver.start_xvfb(TIMEOUT, noreset=True)
        except Failure as failure:
            print("a11y: " + str(failure), file=sys.stderr)
            return 1
        editors = []
        try:
            editor = Editor(program, fixture, display, work, "C.UTF-8")
            editors.append(editor)
            check_main_window(editor)
            check_add_dialog(editor)
            check_security_page(editor)
            check_advanced_sheet(editor)
            editor.keys("Escape", "Escape", "Escape")
            editor.close()
            editor = Editor(program, fixture, display, work, "de_DE.UTF-8")
            editors.append(editor)
            check_german(editor)
            editor.keys("Escape", "Escape", "Escape")
            editor.close()
        except Failure as failure:
            print("a11y: " + str(failure), file=sys.stderr)
            return 1
        finally:
            for editor in editors:
                if editor.process.poll() is None:
                    editor.process.kill()
                    editor.process.wait()
            server.terminate()
            server.wait()
    print("a11y: the main window, the security page and the advanced sheet read as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
