#!/usr/bin/python3
"""The editor as its users drive it: the real program started with the command line a user
gives, keys and clicks sent through the X server (xdotool), and what it shows read from
outside the process: the windows through AT-SPI, the files it writes on disk.

Covers a file read in part or whole at start, the line that offers recovered work, a save
that fails, and the file label's tooltip. Every wait is bounded; a failure says what the
window showed instead.

Run on a display with a window manager, inside a session bus of its own:
    dbus-run-session -- editor_test.py PERMORA_PROGRAM FIXTURES_DIR
"""

import fcntl
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

TIMEOUT = 30  # seconds for anything to appear; the machine may be busy
MAIN_TITLE = "Vendra Storage Security"
HEADER = "cb56f6f4\r\n"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(probe, what, timeout=TIMEOUT):
    """Polls probe until it returns a true value; on timeout names what it last returned."""
    deadline = time.monotonic() + timeout
    seen = None
    while True:
        try:
            seen = probe()
            if seen:
                return seen
        except Failure:
            raise
        except Exception as error:  # an object that went away while it was read
            seen = f"<{error.__class__.__name__}: {error}>"
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}; last saw {seen!r}")
        time.sleep(0.1)


def wait_equal(read, expected, what, timeout=TIMEOUT):
    """Waits until read() gives expected, and fails with the last value read."""
    seen = []

    def probe():
        seen[:] = [read()]
        return seen[0] == expected

    try:
        wait_for(probe, what, timeout)
    except Failure:
        raise Failure(f"{what}: expected {expected!r}, saw {seen[0] if seen else None!r}")


def has(node, state):
    return node.getState().contains(state)


def children(node):
    return [c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c is not None]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def find(node, role, name=None):
    for n in descendants(node):
        if n.getRoleName() == role and (name is None or n.name == name) and \
                has(n, pyatspi.STATE_SHOWING):
            return n
    return None


def table_rows(table_node):
    table = table_node.queryTable()
    return [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
            for r in range(table.nRows)]


def utf16_template(*lines):
    return ("\ufeff" + HEADER + "".join(line + "\r\n" for line in lines)).encode("utf-16-le")


def target_line(path):
    return f'1,0,"{path}",0,"D:(A;CIOI;0x1200a9;;;Everyone)"'


def read_bytes(path):
    with open(path, "rb") as file:
        return file.read()


def name_time(name):
    """The time in a recovery file's name as the offer shows it: "2026-12-02 09:30"."""
    date, clock = name.split("-")[1:3]
    return f"{date[:4]}-{date[4:6]}-{date[6:]} {clock[:2]}:{clock[2:4]}"


class Editor:
    """One run of the editor, with its own recovery folder under state."""

    def __init__(self, program, args, state):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_STATE_HOME=state, LANG="C.UTF-8", LANGUAGE="", LC_ALL="",
                   LC_MESSAGES="")
        env.pop("QT_QPA_FONTDIR", None)
        self.process = subprocess.Popen([program, *args], env=env)
        self.app = wait_for(self.find_app, "the editor on the accessibility bus")

    def find_app(self):
        if self.process.poll() is not None:
            raise Failure(f"the editor ended with {self.process.returncode}")
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def windows(self):
        return [w for w in children(self.app) if has(w, pyatspi.STATE_SHOWING)]

    def window(self, title):
        try:
            return wait_for(lambda: next((w for w in self.windows() if w.name == title), None),
                            f'the window "{title}"')
        except Failure as failure:
            raise Failure(f"{failure}; showing {self.titles()}")

    def titles(self):
        try:
            return [w.name for w in self.windows()]
        except Exception:  # the application went away
            return []

    def gone(self, window):
        title = window.name

        def closed():
            try:
                return not has(window, pyatspi.STATE_SHOWING)
            except Exception:  # the window's object went with it
                return True

        wait_for(closed, f'"{title}" to close')

    def main(self):
        return self.window(MAIN_TITLE)

    def file_label(self):
        """The label after "File:": its text (the whole path and mark) and its tooltip."""
        labels = [n for n in children(self.main()) if n.getRoleName() == "label"]
        names = [n.name for n in labels]
        check("File:" in names and names.index("File:") + 1 < len(names),
              f"no file label after File: in {names}")
        return labels[names.index("File:") + 1]

    def label_text(self):
        return self.file_label().name

    def activate(self, window):
        """Gives the window the keyboard, as a click on its title bar would."""
        if has(window, pyatspi.STATE_ACTIVE):
            return
        try:
            wait_for(lambda: has(window, pyatspi.STATE_ACTIVE), "", timeout=3)
            return
        except Failure:
            pass
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{window.name}$",
                        "windowactivate", "--sync"], timeout=TIMEOUT, check=False)
        wait_for(lambda: has(window, pyatspi.STATE_ACTIVE),
                 f'"{window.name}" to get the keyboard')

    def keys(self, window, *keys):
        self.activate(window)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "--delay", "50", *keys],
                       check=True, timeout=TIMEOUT)

    def type(self, window, text):
        self.activate(window)
        subprocess.run(["xdotool", "type", "--delay", "5", text], check=True, timeout=TIMEOUT)

    def x_windows(self):
        """The ids of the program's windows that the X server shows."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                str(self.process.pid)], capture_output=True, text=True,
                               timeout=TIMEOUT, check=False)
        return set(found.stdout.split())

    @staticmethod
    def center(node):
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        check(box.width > 0 and box.height > 0, f"{node.getRoleName()} {node.name!r} has no place")
        return str(box.x + box.width // 2), str(box.y + box.height // 2)

    def click(self, node, button="1"):
        x, y = self.center(node)
        subprocess.run(["xdotool", "mousemove", "--sync", x, y, "click", button], check=True,
                       timeout=TIMEOUT)

    def message(self, title):
        """The box of that title, the text it shows and the informative text under it ("" when
        there is none)."""
        box = self.window(title)
        texts = wait_for(lambda: [n.name for n in descendants(box)
                                  if n.getRoleName() == "label" and n.name], f'the text of "{title}"')
        return box, texts[0], (texts[1] if len(texts) > 1 else "")

    def answer(self, title, expected_text, *keys, informative=None):
        """Checks the box's text (and its informative text, where given: a prefix) and
        answers it with the keys."""
        box, text, more = self.message(title)
        check(text == expected_text, f'"{title}" says {text!r}, expected {expected_text!r}')
        check(informative is None or more.startswith(informative),
              f'"{title}" {text!r} says under it {more!r}, expected {informative!r}...')
        self.keys(box, *keys)
        self.gone(box)

    def close(self):
        """Closes the window with Escape and waits for the program to end."""
        self.keys(self.main(), "Escape")
        try:
            self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure(f"the editor did not end when its window closed; showing {self.titles()}")
        check(self.process.returncode == 0, f"the editor ended with {self.process.returncode}")

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def recovery_folder(state):
    return os.path.join(state, "permora", "recovery")


def recovery_files(state):
    folder = recovery_folder(state)
    if not os.path.isdir(folder):
        return []
    return sorted(n for n in os.listdir(folder) if n.endswith(".conf"))


class Run:
    """What every case needs: the program, the fixtures, a fresh folder, the editors started."""

    def __init__(self, program, fixtures, work):
        self.program = program
        self.fixtures = fixtures
        self.work = work
        self.editors = []
        self.count = 0

    def folder(self, name):
        self.count += 1
        path = os.path.join(self.work, f"{self.count:02}-{name}")
        os.makedirs(path, mode=0o700)
        return path

    def start(self, args, state):
        editor = Editor(self.program, args, state)
        self.editors.append(editor)
        return editor

    def each_case(self, cases, body):
        """Runs body on every case (its first field names it); fails naming each that failed."""
        failed = []
        for case in cases:
            try:
                body(*case)
            except Exception as failure:  # a Failure, or the editor stopped answering
                failed.append(f"{case[0]}: {failure}")
                self.end_all()  # nothing of a failed case stays on the screen
        check(not failed, "\n    ".join(["cases failed:", *failed]))

    def end_all(self):
        for editor in self.editors:
            editor.end()


def save_confirm(path):
    return f"Do you want to overwrite  {path}?"


def test_start_with_one_file(run):
    """A file read whole is the saved template; one read in part stays Untitled."""
    failing = ["Cannot parse this Mask.", "Invalid Account Name", "   Invalid File"]
    cases = [
        # name, fixture, messages in order, label, recovery files after closing
        ("read in part", "main-window-third-line-fails.conf", failing, "Untitled*", 1),
        ("read whole", "main-window-unicode.conf", [], None, 0),
    ]

    def case(name, fixture, messages, label, kept):
        where = run.folder("start-" + name.replace(" ", "-"))
        file = os.path.join(where, fixture)
        shutil.copyfile(os.path.join(run.fixtures, fixture), file)
        before = read_bytes(file)
        state = os.path.join(where, "state")
        os.mkdir(state, 0o700)
        editor = run.start([file], state)
        for text in messages:
            # Which file and line the message is about.
            editor.answer("Error", text, "Return", informative=f"{file}, line 3")
        expected_label = label or file
        wait_equal(editor.label_text, expected_label, "the file label")
        # The next save goes to the file the label names.
        editor.keys(editor.main(), "alt+s")
        editor.answer("Confirm", save_confirm(expected_label.rstrip("*")), "Escape")
        check(editor.label_text() == expected_label, "the label changed on a cancelled save")
        editor.close()
        check(read_bytes(file) == before, "the file on disk changed")
        files = recovery_files(state)
        check(len(files) == kept, f"{len(files)} recovery files after closing, expected {kept}: "
                                  f"{files}")

    run.each_case(cases, case)


def offer_line(editor):
    """The recovery line's text while it shows, else None."""
    frame = find(editor.main(), "frame")
    return frame.name if frame is not None else None


def offer_button(editor, name):
    frame = wait_for(lambda: find(editor.main(), "frame"), "the recovery line")
    return wait_for(lambda: find(frame, "push button", name), f'the button "{name}"')


def open_recover_dialog(editor, how):
    if how == "Choose...":
        editor.click(offer_button(editor, "Choose..."))
    else:
        # A menu is not in the accessibility tree; the X server shows it as a new window.
        before = editor.x_windows()
        editor.click(find(editor.main(), "table", "Targets"), "3")
        wait_for(lambda: editor.x_windows() - before, "the list's context menu")
        subprocess.run(["xdotool", "key", "v"], check=True, timeout=TIMEOUT)  # Reco&ver...
    return editor.window("Recover")


def test_recovery_offer(run):
    """Recovery files found at start are offered in a line above the list."""
    where = run.folder("recovery")
    state = os.path.join(where, "state")
    folder = recovery_folder(state)
    os.makedirs(folder, mode=0o700)
    os.chmod(os.path.join(state, "permora"), 0o700)
    older = "permora-20261201-101500-111.conf"
    newest = "permora-20261202-093000-222.conf"
    # Newer still, but others may write it: never offered, never listed.
    untrusted = "permora-20261203-080000-333.conf"
    for name, path, mode in ((older, "/vol/recovered/older", 0o600),
                             (newest, "/vol/recovered/newest", 0o600),
                             (untrusted, "/vol/recovered/planted", 0o622)):
        with open(os.path.join(folder, name), "wb") as file:
            file.write(utf16_template(target_line(path)))
        os.chmod(os.path.join(folder, name), mode)

    def handled():
        return sorted(n[:-len(".handled")] for n in os.listdir(folder) if n.endswith(".handled"))

    editor = run.start([], state)
    main = editor.main()
    wait_equal(lambda: offer_line(editor), "Recovered: 2 templates, newest 2026-12-02 09:30",
               "the recovery line at start")
    for name in ("Import newest", "Choose...", "Dismiss"):
        offer_button(editor, name)

    editor.click(offer_button(editor, "Import newest"))
    targets = find(main, "table", "Targets")
    wait_equal(lambda: table_rows(targets), [["/vol/recovered/newest", "NTFS", "File/Directory"]],
               "the targets after Import newest")
    wait_equal(handled, [newest], "the files marked as handled after Import newest")
    wait_equal(lambda: offer_line(editor), "Recovered: 1 template, 2026-12-01 10:15",
               "the recovery line after Import newest")

    editor.click(offer_button(editor, "Dismiss"))
    wait_equal(lambda: offer_line(editor), None, "the recovery line after Dismiss")
    wait_equal(handled, [older, newest], "the files marked as handled after Dismiss")
    check(recovery_files(state) == [older, newest, untrusted], "Dismiss removed a recovery file")
    # Closing keeps the imported work, as a recovery file of its own.
    editor.close()
    files = recovery_files(state)
    check(len(files) == 4, f"closing with unsaved work left {files}")
    kept = next(n for n in files if n not in (older, newest, untrusted))

    # At the next start only the file never handled is offered; both ways to the Recover
    # dialog list them all, newest first.
    editor = run.start([], state)
    wait_equal(lambda: offer_line(editor), f"Recovered: 1 template, {name_time(kept)}",
               "the recovery line at the next start")
    for how in ("Choose...", "Recover... in the context menu"):
        dialog = open_recover_dialog(editor, how)
        rows = wait_for(lambda: table_rows(find(dialog, "table")), f"the files listed by {how}")
        check([row[1] for row in rows] == [kept, newest, older], f"{how} lists {rows}")
        editor.keys(dialog, "Escape")
        editor.gone(dialog)
    editor.click(offer_button(editor, "Dismiss"))
    wait_equal(lambda: offer_line(editor), None, "the recovery line after Dismiss")
    editor.close()
    check(recovery_files(state) == files, f"nothing changed, yet closing left {recovery_files(state)}")

    editor = run.start([], state)
    editor.main()
    targets = find(editor.main(), "table", "Targets")
    # The window is up and shows its list: a line would show by now.
    check(targets is not None and offer_line(editor) is None,
          f"handled files offered again: {offer_line(editor)!r}")
    editor.close()


class HeldLock:
    """An exclusive lock on a file or folder, held as another program holds it."""

    def __init__(self, path):
        self.fd = os.open(path, os.O_RDONLY)
        fcntl.flock(self.fd, fcntl.LOCK_EX)

    def release(self):
        if self.fd is not None:
            os.close(self.fd)
            self.fd = None


def test_failed_save_keeps_current_file(run):
    """A save that fails leaves the label, the next save's target and the old file alone."""
    cases = [
        # name, where the save goes ("" for the current file), what locks it, message
        ("a new name in a folder nobody may write", "/sys/permora-x11-test.conf", None,
         "There is problem in creating this file."),
        ("a new name in a folder another program holds", "held/new.conf", "held",
         "The file is being written by another program."),
        ("the current file held by another program", "", "current.conf",
         "The file is being written by another program."),
    ]

    def case(_, target, locked, message):
        where = run.folder("save")
        current = os.path.join(where, "current.conf")
        shutil.copyfile(os.path.join(run.fixtures, "main-window-unicode.conf"), current)
        os.mkdir(os.path.join(where, "held"))
        before = read_bytes(current)
        state = os.path.join(where, "state")
        os.mkdir(state, 0o700)
        target = os.path.join(where, target) if target else ""
        lock = HeldLock(os.path.join(where, locked)) if locked else None
        try:
            editor = run.start([current], state)
            main = editor.main()
            wait_equal(editor.label_text, current, "the file label at start")
            editor.keys(main, "alt+d")  # moves the first target down: a change
            wait_equal(editor.label_text, current + "*", "the file label after a change")
            editor.keys(main, "alt+s")
            if target:
                editor.answer("Confirm", save_confirm(current), "alt+n")
                chooser = editor.window("Save As")
                editor.keys(chooser, "ctrl+a")
                editor.type(chooser, target)
                editor.keys(chooser, "Return")
                editor.gone(chooser)
            else:
                editor.answer("Confirm", save_confirm(current), "alt+y")
            editor.answer("Error", message, "Return")
            check(editor.label_text() == current + "*", f"the label after the failed save: "
                                                        f"{editor.label_text()!r}")
            check(main.name == MAIN_TITLE, f"the title after the failed save: {main.name!r}")
            check(read_bytes(current) == before, "the failed save changed the current file")
            check(not target or not os.path.exists(target), "the failed save left its file")
            # The next save still goes to the current file.
            editor.keys(main, "alt+s")
            editor.answer("Confirm", save_confirm(current), "Escape")
            editor.close()
        finally:
            if lock:
                lock.release()

    run.each_case(cases, case)


def test_label_tooltip(run):
    """A long path: the label's text holds it whole with its mark, its tooltip (shown on a
    hover) the whole path."""
    where = run.folder("long")
    folder = os.path.join(where, *(["a-folder-with-a-rather-long-name-for-the-label"] * 6))
    os.makedirs(folder)
    file = os.path.join(folder, "template-with-a-long-name.conf")
    shutil.copyfile(os.path.join(run.fixtures, "main-window-unicode.conf"), file)
    state = os.path.join(where, "state")
    os.mkdir(state, 0o700)
    editor = run.start([file], state)
    main = editor.main()
    wait_equal(editor.label_text, file, "the file label at start")
    editor.keys(main, "alt+d")
    wait_equal(editor.label_text, file + "*", "the file label after a change")
    label = editor.file_label()
    check(label.description == file, f"the label's tooltip: {label.description!r}")
    # A hover through the X server shows the tooltip with the whole path.
    x, y = editor.center(label)
    subprocess.run(["xdotool", "mousemove", "--sync", "0", "0", "mousemove", "--sync", x, y],
                   check=True, timeout=TIMEOUT)
    tip = wait_for(lambda: next((w for w in editor.windows() if w.getRoleName() == "tool tip"),
                                None) or find(main, "tool tip"), "the tooltip over the label")
    wait_equal(lambda: tip.name or "".join(n.name for n in descendants(tip)), file,
               "the tooltip's text")
    editor.close()


def test_file_that_cannot_be_opened(run):
    """A file that cannot be read is named under the message, with the reason."""
    where = run.folder("unreadable")
    folder = os.path.join(where, "a-folder.conf")
    os.mkdir(folder)
    state = os.path.join(where, "state")
    os.mkdir(state, 0o700)
    editor = run.start([folder], state)
    editor.answer("Error", "There is problem in opening this file.", "Return",
                  informative=f"{folder}: ")
    wait_equal(editor.label_text, "Untitled", "the file label")
    editor.close()


def test_usage_error(run):
    """A mistake on the command line ends with status 2 and a message, before any window."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", LANG="C.UTF-8")
    done = subprocess.run([run.program, "--bogus"], env=env, capture_output=True, text=True,
                          timeout=TIMEOUT, check=False)
    check(done.returncode == 2, f"permora --bogus ended with {done.returncode}")
    check("--bogus" in done.stderr, f"permora --bogus said {done.stderr!r}")


def test_snapshot_survives_kill(run):
    """Unsaved work is kept in a snapshot while the editor runs: never offered to another
    running editor, offered after kill -KILL, deleted when the work is back as saved."""
    where = run.folder("snapshot")
    file = os.path.join(where, "current.conf")
    shutil.copyfile(os.path.join(run.fixtures, "main-window-unicode.conf"), file)
    state = os.path.join(where, "state")
    os.mkdir(state, 0o700)
    moved = [["/vol/vol2", "NTFS", "Storage"], ["/vol/vol1/qt1", "NTFS", "File/Directory"],
             ["/vol/vol3/nfs", "NFSV3 ACL", "File/Directory"]]

    editor = run.start([file], state)
    main = editor.main()
    wait_equal(editor.label_text, file, "the file label at start")
    # Undone back to the file as saved: the snapshot goes.
    editor.keys(main, "alt+d")
    wait_for(lambda: len(recovery_files(state)) == 1, "a snapshot of the change")
    editor.keys(main, "ctrl+z")
    wait_equal(editor.label_text, file, "the file label after Undo")
    wait_equal(lambda: recovery_files(state), [], "the recovery files after Undo")

    editor.keys(main, "alt+d")
    wait_equal(editor.label_text, file + "*", "the file label after a change")
    snapshot = wait_for(lambda: recovery_files(state), "a snapshot of the change")
    check(len(snapshot) == 1, f"snapshots: {snapshot}")

    # Another editor started meanwhile: the snapshot of a running one is not offered.
    other = run.start([], state)
    other_main = other.main()
    check(find(other_main, "table", "Targets") is not None and offer_line(other) is None,
          f"a running editor's snapshot was offered: {offer_line(other)!r}")
    other.close()

    editor.process.kill()
    editor.process.wait()
    check(recovery_files(state) == snapshot, f"after kill -KILL: {recovery_files(state)}")
    editor = run.start([], state)
    wait_equal(lambda: offer_line(editor), f"Recovered: 1 template, {name_time(snapshot[0])}",
               "the recovery line after kill -KILL")
    editor.click(offer_button(editor, "Import newest"))
    targets = find(editor.main(), "table", "Targets")
    wait_equal(lambda: table_rows(targets), moved, "the targets recovered")
    editor.end()


def test_recovered_work_keeps_its_file(run):
    """Work recovered goes back to the file it was of: the label names it with "*", the Recover
    dialog lists it with the number of targets, and the first save asks whether the file
    changed on disk meanwhile."""
    where = run.folder("origin")
    file = os.path.join(where, "current.conf")
    shutil.copyfile(os.path.join(run.fixtures, "main-window-unicode.conf"), file)
    state = os.path.join(where, "state")
    os.mkdir(state, 0o700)
    editor = run.start([file], state)
    main = editor.main()
    wait_equal(editor.label_text, file, "the file label at start")
    editor.keys(main, "alt+d")
    wait_equal(editor.label_text, file + "*", "the file label after a change")
    editor.close()
    kept = recovery_files(state)
    check(len(kept) == 1, f"recovery files after closing: {kept}")

    editor = run.start([], state)
    editor.click(offer_button(editor, "Import newest"))
    wait_equal(editor.label_text, file + "*", "the file label after Import newest")
    dialog = open_recover_dialog(editor, "Recover... in the context menu")
    rows = wait_for(lambda: table_rows(find(dialog, "table")), "the files listed")
    check([row[1:] for row in rows] == [[kept[0], file, "3"]], f"Recover lists {rows}")
    editor.keys(dialog, "Escape")
    editor.gone(dialog)
    # Another program rewrites the file meanwhile.
    with open(file, "ab") as changed:
        changed.write(utf16_template(target_line("/vol/elsewhere"))[2:])
    editor.keys(editor.main(), "alt+s")
    editor.answer("Confirm", f"{file} has changed on disk since it was last read or saved. "
                  "Overwrite it?", "alt+n")
    editor.end()


TESTS = [test_usage_error, test_file_that_cannot_be_opened, test_snapshot_survives_kill, test_recovered_work_keeps_its_file, test_start_with_one_file, test_recovery_offer, test_failed_save_keeps_current_file,
         test_label_tooltip]


def main():
    program, fixtures = sys.argv[1], sys.argv[2]
    chosen = sys.argv[3:]
    failed = []
    for test in TESTS:
        if chosen and test.__name__ not in chosen:
            continue
        with tempfile.TemporaryDirectory() as work:
            run = Run(program, fixtures, work)
            try:
                test(run)
                print(f"editor: {test.__name__}: passed")
            except Exception as failure:  # a Failure, or the editor stopped answering
                print(f"editor: {test.__name__}: FAILED: {failure}", file=sys.stderr)
                failed.append(test.__name__)
            finally:
                run.end_all()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
