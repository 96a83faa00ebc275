#!/usr/bin/python3
"""The editor started without a display serves its window on a private display: VNC on a
socket that only its account may open (on a loopback port too when asked), with the
printed password; X only with the cookie. Closed or killed, it leaves no process and no
file behind, and the next start removes what killed displays left.

usage: headless_test.py PERMORA_PROGRAM [SCREENSHOT_DIR]
"""

import fcntl
import os
import random
import re
import select
import shutil
import signal
import socket
import stat
import struct
import subprocess
import sys
import tempfile
import time
import zlib

from Cryptodome.Cipher import DES
from Xlib import X, Xatom
from Xlib import error as XError
from Xlib import display as xdisplay
from Xlib.protocol import event as xevent

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
import xserver  # noqa: E402
from xserver import Failure, check  # noqa: E402

TIMEOUT = 40  # seconds for anything to happen; the machine may be busy
SKIP = 77


def wait_for(probe, what, timeout=TIMEOUT):
    return xserver.wait_for(probe, what, timeout)


# --- processes --------------------------------------------------------------------------

def process_stat(pid):
    """(state, ppid, session, start time) of a process, None when it is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            text = f.read()
    except OSError:
        return None
    fields = text[text.rindex(")") + 2:].split()
    return fields[0], int(fields[1]), int(fields[3]), int(fields[19])


def all_pids():
    return [int(name) for name in os.listdir("/proc") if name.isdigit()]


def process_name(pid):
    try:
        with open(f"/proc/{pid}/comm") as f:
            return f.read().strip()
    except OSError:
        return ""


def alive(process):
    pid, start = process
    stat = process_stat(pid)
    return stat is not None and stat[0] != "Z" and stat[3] == start


def server_display_number(pid):
    """The display number of an X server, from the socket it listens on."""
    inodes = set()
    for fd in os.listdir(f"/proc/{pid}/fd"):
        target = os.readlink(f"/proc/{pid}/fd/{fd}")
        if target.startswith("socket:["):
            inodes.add(target[8:-1])
    with open("/proc/net/unix") as f:
        for line in f.readlines()[1:]:
            fields = line.split()
            if len(fields) >= 8 and fields[6] in inodes:
                found = re.fullmatch(r"@?/tmp/\.X11-unix/X(\d+)", fields[7])
                if found:
                    return found.group(1)
    raise Failure("the X server listens on no display socket")


def read_proc_file(pid, name):
    try:
        with open(f"/proc/{pid}/{name}", "rb") as f:
            return f.read()
    except OSError:
        return b""


# --- the editor -------------------------------------------------------------------------

class Editor:
    """The program started with no display, and what it shows of its private display."""

    def __init__(self, program, runtime_dir, path=None, tmpdir=None, args=()):
        """Without runtime_dir, the display's folder goes to tmpdir, as TMPDIR asks."""
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY",
                            "XDG_RUNTIME_DIR", "TMPDIR")}
        if runtime_dir is not None:
            env["XDG_RUNTIME_DIR"] = runtime_dir
        if tmpdir is not None:
            env["TMPDIR"] = tmpdir
        if path is not None:
            env["PATH"] = path
        self.stderr = tempfile.TemporaryFile()
        self.tcp = "--vnc-tcp" in args
        self.proc = subprocess.Popen([program, *args], env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE, stderr=self.stderr)
        self.display_processes = []

    def read_output(self):
        """Everything printed on standard output up to its last line, or until it ends."""
        last = b"only to this one.\n" if self.tcp else b"localhost:5900 there.\n"
        output = b""
        deadline = time.monotonic() + TIMEOUT
        fd = self.proc.stdout.fileno()
        while not output.endswith(last):
            left = deadline - time.monotonic()
            check(left > 0, "no connection details within the time; printed: %r" % output)
            ready, _, _ = select.select([fd], [], [], left)
            if ready:
                chunk = os.read(fd, 4096)
                if not chunk:
                    break
                output += chunk
        return output.decode()

    def start(self):
        """Waits for the connection details and notes the display's processes and files."""
        text = self.read_output()
        vnc_socket = re.search(r"socket:\s+(\S+)", text)
        password = re.search(r"password:\s+(\S+)", text)
        check(vnc_socket and password, "no socket or password printed: %r" % text)
        self.vnc_socket, self.password = vnc_socket.group(1), password.group(1)
        for hint in (f"xtigervncviewer {self.vnc_socket}\n",
                     f"ssh -L 5900:{self.vnc_socket} host\n"):
            check(hint in text, "no hint %r in %r" % (hint, text))
        port = re.search(r"port:\s+(\d+)", text)
        check(bool(port) == self.tcp, "a port printed %s --vnc-tcp: %r"
              % ("without" if port else "not even with", text))
        self.port = int(port.group(1)) if port else None
        check(not self.tcp or "address:  127.0.0.1\n" in text, "no address printed: %r" % text)

        watchers = [pid for pid in all_pids() if (process_stat(pid) or (0, 0))[1] == self.proc.pid]
        check(len(watchers) == 1, "expected one watcher process, found %r" % watchers)
        session = self.watcher = watchers[0]
        members = [pid for pid in all_pids() if (process_stat(pid) or (0, 0, 0))[2] == session]
        self.display_processes = [(pid, process_stat(pid)[3]) for pid in members]
        names = {process_name(pid): pid for pid in members}
        for expected in ("Xtigervnc", "openbox"):
            check(expected in names, f"no {expected} among the display's processes: {names}")
        self.server, self.window_manager = names["Xtigervnc"], names["openbox"]
        server = self.server
        arguments = read_proc_file(server, "cmdline").decode().split("\0")
        self.authority = arguments[arguments.index("-auth") + 1]
        self.display = ":" + server_display_number(server)
        number = self.display[1:]
        self.x_files = [f"/tmp/.X11-unix/X{number}", f"/tmp/.X{number}-lock"]
        self.x_file_ids = {path: os.stat(path).st_ino for path in self.x_files
                           if os.path.exists(path)}
        self.folder = os.path.dirname(self.authority)
        check(os.path.dirname(self.vnc_socket) == self.folder,
              "the VNC socket is not in the display's folder: " + self.vnc_socket)

        return text

    def stderr_text(self):
        self.stderr.seek(0)
        return self.stderr.read().decode(errors="replace")

    def kill_everything(self):
        """After a failure: nothing of ours may outlive the test."""
        if self.proc.poll() is None:
            self.proc.kill()
        for pid, _ in [p for p in self.display_processes if alive(p)]:
            os.kill(pid, signal.SIGKILL)
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass


    def server_files_left(self):
        """The server's X socket and lock and its VNC socket that are still there (another
        server may have taken the same number since; only ours count)."""
        left = [path for path in self.x_files
                if os.path.exists(path) and os.stat(path).st_ino == self.x_file_ids.get(path)]
        return left + [self.vnc_socket] * os.path.lexists(self.vnc_socket)


def check_left_nothing(editor, runtime_dir, keep=()):
    wait_for(lambda: not any(alive(p) for p in editor.display_processes),
             "the display's processes to end")
    left = [p for p in editor.display_processes if alive(p)]
    check(not left, "processes left: %r" % left)
    check(not editor.server_files_left(), "left behind: %r" % editor.server_files_left())
    # Qt makes a runtime folder of its own in TMPDIR when XDG_RUNTIME_DIR is not set.
    files = sorted(set(os.listdir(runtime_dir)) - set(keep) - {"runtime-root"})
    check(files == [], "files left in the runtime folder: %r" % files)


# --- VNC --------------------------------------------------------------------------------

def receive(sock, count):
    data = b""
    while len(data) < count:
        chunk = sock.recv(count - len(data))
        if not chunk:
            break
        data += chunk
    return data


def rfb_connect(route):
    """Connects to a socket path or a loopback port and agrees on protocol 3.8; returns the
    connection and the offered security types."""
    if isinstance(route, str):
        sock = socket.socket(socket.AF_UNIX)
        sock.settimeout(TIMEOUT)
        sock.connect(route)
    else:
        sock = socket.create_connection(("127.0.0.1", route), timeout=TIMEOUT)
    version = receive(sock, 12)
    check(version.startswith(b"RFB 003."), "not an RFB server: %r" % version)
    sock.sendall(b"RFB 003.008\n")
    count = receive(sock, 1)
    check(count and count[0] > 0, "the server offers no security type on %r" % route)
    return sock, list(receive(sock, count[0]))


def vnc_response(password, challenge):
    # VNC authentication uses the password (8 bytes, zero padded) as a DES key whose
    # bytes have their bits in reverse order.
    key = bytes(int(f"{b:08b}"[::-1], 2) for b in password.encode()[:8].ljust(8, b"\0"))
    return DES.new(key, DES.MODE_ECB).encrypt(challenge)


def rfb_security_result(sock):
    """0 on success; anything else (or a closed connection) is a refusal."""
    result = receive(sock, 4)
    return struct.unpack(">I", result)[0] if len(result) == 4 else -1


def rfb_login(route, password):
    sock, _ = rfb_connect(route)
    sock.sendall(b"\x02")
    challenge = receive(sock, 16)
    check(len(challenge) == 16, "no VNC challenge")
    sock.sendall(vnc_response(password, challenge))
    return sock, rfb_security_result(sock)


def check_vnc(editor):
    """Served on the socket with the password only, and on no TCP port unless asked."""
    status = os.lstat(editor.vnc_socket)
    check(stat.S_ISSOCK(status.st_mode) and status.st_uid == os.geteuid()
          and stat.S_IMODE(status.st_mode) == 0o600,
          "the VNC socket is not this account's alone: %o" % status.st_mode)
    listeners = tcp_listeners(editor.server)
    if editor.port is None:
        check(listeners == [], "the server listens on TCP: %r" % listeners)
    else:
        check(listeners and all(address in ("127.0.0.1", "::1") and port == editor.port
                                for address, port in listeners),
              "the server listens on %r, not on loopback port %d only" % (listeners, editor.port))

    sock, types = rfb_connect(editor.vnc_socket)
    check(1 not in types, "the server offers security type None: %r" % types)
    check(2 in types, "the server offers no VNC password authentication: %r" % types)
    sock.sendall(b"\x01")
    check(rfb_security_result(sock) != 0, "a client choosing None was let in")
    sock.close()

    sock, result = rfb_login(editor.vnc_socket,
                             "wrong" if editor.password != "wrong" else "other")
    check(result != 0, "a wrong password was let in")
    sock.close()

    sock, result = rfb_login(editor.vnc_socket, editor.password)
    check(result == 0, "the printed password was refused")
    sock.sendall(b"\x01")  # ClientInit, shared
    header = receive(sock, 24)
    check(len(header) == 24, "no ServerInit after the password")
    width, height = struct.unpack(">HH", header[:4])
    name = receive(sock, struct.unpack(">I", header[20:24])[0])
    check((width, height) == (1280, 800), "odd screen size %dx%d" % (width, height))
    check(name == b"Permora", "odd desktop name %r" % name)
    return sock, width, height


def tcp_listeners(pid):
    """(address, port) of each TCP socket the process listens on (IPv4 and IPv6)."""
    inodes = set()
    for fd in os.listdir(f"/proc/{pid}/fd"):
        target = os.readlink(f"/proc/{pid}/fd/{fd}")
        if target.startswith("socket:["):
            inodes.add(target[8:-1])
    listeners = []
    for table, size in (("/proc/net/tcp", 4), ("/proc/net/tcp6", 16)):
        try:
            with open(table) as f:
                lines = f.readlines()[1:]
        except OSError:
            continue
        for line in lines:
            fields = line.split()
            if fields[3] != "0A" or fields[9] not in inodes:
                continue
            address, hex_port = fields[1].split(":")
            raw = bytes.fromhex(address)
            # The kernel prints each 32-bit word in host (little-endian) order.
            raw = b"".join(raw[i:i + 4][::-1] for i in range(0, size, 4))
            family = socket.AF_INET if size == 4 else socket.AF_INET6
            listeners.append((socket.inet_ntop(family, raw), int(hex_port, 16)))
    return listeners


# What another account does: connects and answers the challenge wrongly, again and again.
WRONG_PASSWORDS = r"""
import errno, socket, sys
kind, where, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
for attempt in range(count):
    try:
        if kind == "unix":
            sock = socket.socket(socket.AF_UNIX)
            sock.settimeout(10)
            sock.connect(where)
        else:
            sock = socket.create_connection(("127.0.0.1", int(where)), timeout=10)
        sock.recv(12)
        sock.sendall(b"RFB 003.008\n")
        sock.recv(64)
        sock.sendall(b"\x02")
        sock.recv(16)
        sock.sendall(bytes(16))
        print("answered", flush=True)
        sock.close()
    except OSError as failure:
        print(errno.errorcode.get(failure.errno, str(failure)), flush=True)
"""

NOBODY = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]


def wrong_passwords_from_nobody(kind, where, count):
    """What each attempt of another account came to: "answered" or the error's name."""
    result = subprocess.run(NOBODY + ["/usr/bin/python3", "-c", WRONG_PASSWORDS, kind,
                                      str(where), str(count)],
                            capture_output=True, text=True, timeout=TIMEOUT,
                            env={"PATH": "/usr/bin:/bin"})
    return result.stdout.split()


def check_other_account_kept_out(editor):
    """Another account cannot open the socket: not where it lies, nor through a hard link
    in a folder open to all (which leaves only the socket's own mode to keep it out)."""
    open_folder = tempfile.mkdtemp(prefix="permora-headless-open-")
    try:
        os.chmod(open_folder, 0o755)
        link = os.path.join(open_folder, "vnc")
        os.link(editor.vnc_socket, link)
        for where in (editor.vnc_socket, link):
            tried = wrong_passwords_from_nobody("unix", where, 1)
            check(tried == ["EACCES"], "another account opening %s: %r" % (where, tried))
    finally:
        shutil.rmtree(open_folder, ignore_errors=True)


def check_viewer(editor):
    """The printed command for this machine shows the display, given the password."""
    work = tempfile.mkdtemp(prefix="permora-headless-viewer-")
    processes = []
    try:
        password_file = os.path.join(work, "passwd")
        with open(password_file, "wb") as f:
            subprocess.run(["vncpasswd", "-f"], input=editor.password.encode() + b"\n",
                           stdout=f, check=True, timeout=TIMEOUT)
        os.chmod(password_file, 0o600)
        server, display = xserver.start_xvfb(TIMEOUT, screen="1024x768x24")
        processes.append(server)
        env = dict(os.environ, DISPLAY=display, HOME=work)
        env.pop("XAUTHORITY", None)
        command = ["xtigervncviewer", "-passwd", password_file, editor.vnc_socket]
        messages = tempfile.TemporaryFile()
        processes.append(subprocess.Popen(command, env=env, stdout=messages, stderr=messages))
        connection = xdisplay.Display(display)

        def titles():
            names = []
            for window in connection.screen().root.query_tree().children:
                try:
                    names.append(window.get_wm_name() or "")
                except XError.XError:
                    pass  # the window went meanwhile
            return [name for name in names if "Permora" in str(name)]

        try:
            wait_for(titles, "the viewer's window showing the display")
        except Failure as failure:
            messages.seek(0)
            raise Failure("%s; the viewer said:\n%s"
                          % (failure, messages.read().decode(errors="replace"))) from None
        connection.close()
    finally:
        for process in reversed(processes):
            process.terminate()
            try:
                process.wait(timeout=TIMEOUT)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(work, ignore_errors=True)


def save_framebuffer(sock, width, height, path):
    """Reads the whole screen through VNC and writes it as a PNG, to be looked at."""
    pixel_format = struct.pack(">BBBBHHHBBB3x", 32, 24, 0, 1, 255, 255, 255, 16, 8, 0)
    sock.sendall(b"\x00\x00\x00\x00" + pixel_format)
    sock.sendall(struct.pack(">BxHi", 2, 1, 0))  # raw encoding only
    sock.sendall(struct.pack(">BBHHHH", 3, 0, 0, 0, width, height))
    kind = receive(sock, 1)
    check(kind == b"\x00", "no framebuffer update: %r" % kind)
    rectangles = struct.unpack(">xH", receive(sock, 3))[0]
    screen = bytearray(width * height * 3)
    for _ in range(rectangles):
        x, y, w, h, encoding = struct.unpack(">HHHHi", receive(sock, 12))
        check(encoding == 0, "unexpected encoding %d" % encoding)
        data = receive(sock, w * h * 4)
        for row in range(h):
            for column in range(w):
                b, g, r = data[(row * w + column) * 4:(row * w + column) * 4 + 3]
                at = ((y + row) * width + x + column) * 3
                screen[at:at + 3] = bytes((r, g, b))
    rows = b"".join(b"\0" + bytes(screen[r * width * 3:(r + 1) * width * 3])
                    for r in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


# --- X ----------------------------------------------------------------------------------

def check_x_access(editor):
    """Only the holder of the cookie opens the display; the X client libraries decide."""
    cases = [
        ("the editor's account with the cookie", [], editor.authority, True),
        ("the editor's account without the cookie", [], "/dev/null", False),
        ("another account (nobody)", NOBODY, editor.authority, False),
        ("another account (nobody) without the cookie", NOBODY, "/dev/null", False),
    ]
    for who, prefix, authority, may_open in cases:
        env = {"PATH": "/usr/bin:/bin", "XAUTHORITY": authority, "HOME": "/nonexistent"}
        result = subprocess.run(prefix + ["xdpyinfo", "-display", editor.display], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                timeout=TIMEOUT)
        opened = result.returncode == 0
        check(opened == may_open, "%s %s the display: %s" % (
            who, "opened" if opened else "could not open", result.stderr.decode().strip()))


def secrets_on_command_lines(editor):
    cookie = subprocess.run(["xauth", "-f", editor.authority, "nlist"], capture_output=True,
                            timeout=TIMEOUT, check=True).stdout.split()[-1].lower()
    check(len(cookie) == 32, "no cookie in the authority file")
    found = []
    for pid in all_pids():
        for name in ("cmdline", "environ"):
            text = read_proc_file(pid, name).lower()
            for secret in (editor.password.encode().lower(), cookie):
                if secret in text:
                    found.append((pid, process_name(pid), name))
    return found


def find_editor_window(editor):
    """The editor's window once the window manager manages it (framed, in its client list)."""
    os.environ["XAUTHORITY"] = editor.authority
    connection = xdisplay.Display(editor.display)
    root = connection.screen().root
    client_list = connection.intern_atom("_NET_CLIENT_LIST")

    def managed():
        prop = root.get_full_property(client_list, Xatom.WINDOW)
        return prop.value[0] if prop is not None and len(prop.value) > 0 else None

    try:
        found = wait_for(managed, "a managed window")
    except Failure as failure:
        tree = subprocess.run(["xwininfo", "-display", editor.display, "-root", "-tree"],
                              capture_output=True, text=True, timeout=TIMEOUT).stdout
        with open(os.path.join(os.path.dirname(editor.authority), "server.log")) as log:
            raise Failure("%s\nwindows:\n%s\nthe servers' log:\n%s"
                          % (failure, tree, log.read()[-3000:])) from None
    window = connection.create_resource_object("window", found)
    parent = window.query_tree().parent
    check(parent.id != root.id, "the window has no frame from the window manager")
    return connection, window


def close_window(connection, window):
    protocols = connection.intern_atom("WM_PROTOCOLS")
    delete = connection.intern_atom("WM_DELETE_WINDOW")
    message = xevent.ClientMessage(window=window, client_type=protocols,
                                   data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message, event_mask=X.NoEventMask)
    connection.flush()


# --- the runs ---------------------------------------------------------------------------

def run_closed(program, runtime_dir, screenshot_dir):
    editor = Editor(program, runtime_dir)
    try:
        editor.start()
        folder = os.path.dirname(editor.authority)
        check(os.path.dirname(folder) == runtime_dir, "secrets outside the runtime folder")
        check(os.stat(folder).st_mode & 0o777 == 0o700, "the private folder is not 0700")
        for name in os.listdir(folder):
            mode = os.stat(os.path.join(folder, name)).st_mode & 0o777
            check(mode == 0o600, f"{name} has mode {mode:o}, not 600")
        found = secrets_on_command_lines(editor)
        check(not found, "the password or cookie shows in: %r" % found)

        check_x_access(editor)
        connection, window = find_editor_window(editor)
        check_other_account_kept_out(editor)
        # Another account trying wrong passwords again and again at whatever the display
        # serves must not lock the owner out.
        for kind, where in [("unix", editor.vnc_socket)] + [
                ("tcp", port) for _, port in tcp_listeners(editor.server)]:
            wrong_passwords_from_nobody(kind, where, 10)
        sock, width, height = check_vnc(editor)
        if screenshot_dir:
            time.sleep(1)  # let the window paint
            save_framebuffer(sock, width, height, os.path.join(screenshot_dir, "headless.png"))
        sock.close()
        check_viewer(editor)

        close_window(connection, window)
        code = editor.proc.wait(timeout=TIMEOUT)
        check(code == 0, "the editor ended with %d: %s" % (code, editor.stderr_text()))
        try:
            connection.close()
        except XError.ConnectionClosedError:
            pass  # the display went away with the editor, as it should
        check_left_nothing(editor, runtime_dir)
    except Failure as failure:
        raise Failure("%s\nthe editor's messages:\n%s" % (failure, editor.stderr_text()))
    finally:
        editor.kill_everything()


def held_port():
    """A loopback port from 5900 on, held so that the editor has to pass over it."""
    for port in range(5900, 6000):
        holder = socket.socket()
        try:
            holder.bind(("127.0.0.1", port))
        except OSError:
            holder.close()
            continue
        holder.listen(1)
        return holder, port
    raise Failure("no free port from 5900 on")


def run_tcp_then_killed(program, runtime_dir):
    """Asked for, a free loopback port too. Another account can lock the port with wrong
    passwords, but not the socket; killed, the editor leaves nothing."""
    holder, taken = held_port()
    editor = Editor(program, runtime_dir, args=["--vnc-tcp"])
    try:
        editor.start()
        check(editor.port != taken, "the printed port %d is taken" % taken)
        check_vnc(editor)[0].close()
        sock, result = rfb_login(editor.port, editor.password)
        check(result == 0, "the printed password was refused on the port")
        sock.close()
        tried = wrong_passwords_from_nobody("tcp", editor.port, 10)
        sock, result = rfb_login(editor.vnc_socket, editor.password)
        check(result == 0, "after another account's wrong passwords on the port (%r) the "
              "owner was refused on the socket" % tried)
        sock.close()
        editor.proc.kill()
        editor.proc.wait(timeout=TIMEOUT)
        check_left_nothing(editor, runtime_dir)
    except Failure as failure:
        raise Failure("%s\nthe editor's messages:\n%s" % (failure, editor.stderr_text()))
    finally:
        holder.close()
        editor.kill_everything()


def run_without_server(program, runtime_dir):
    empty = tempfile.mkdtemp()
    try:
        editor = Editor(program, runtime_dir, path=empty)
        try:
            code = editor.proc.wait(timeout=TIMEOUT)
            printed = editor.proc.stdout.read()
            check(code != 0, "started without its display server")
            check(printed == b"", "printed %r on standard output" % printed)
            message = editor.stderr_text()
            check("tigervnc-standalone-server" in message, "the message names no package: "
                  + message)
            check(os.listdir(runtime_dir) == [], "files left in the runtime folder")
        finally:
            editor.kill_everything()
    finally:
        os.rmdir(empty)


# --- leftovers ------------------------------------------------------------------------

def run_killed_parts(program, base):
    """A killed window manager is reaped at once; a killed server's sockets and lock go as
    soon as it has, and the editor that lost its display leaves nothing either."""
    editor = Editor(program, None, tmpdir=base)
    try:
        editor.start()
        check(os.path.dirname(editor.folder) == base, "the display's folder is not in TMPDIR")
        os.kill(editor.window_manager, signal.SIGKILL)
        wait_for(lambda: process_stat(editor.window_manager) is None,
                 "the killed window manager to be reaped")
        check(editor.proc.poll() is None, "the editor ended with its window manager")
        os.kill(editor.server, signal.SIGKILL)
        wait_for(lambda: not editor.server_files_left(),
                 "the killed server's socket and lock to be removed")
        editor.proc.wait(timeout=TIMEOUT)  # it lost its display
        check_left_nothing(editor, base)
    except Failure as failure:
        raise Failure("%s\nthe editor's messages:\n%s" % (failure, editor.stderr_text()))
    finally:
        editor.kill_everything()


def dead_pid():
    child = subprocess.Popen(["true"])
    child.wait()
    return child.pid


def start_time(pid):
    return process_stat(pid)[3]


def free_display_numbers(count):
    """Display numbers no X server uses, from a wide range, so that two runs of this test
    at once are unlikely to meet."""
    numbers = []
    for number in random.sample(range(1000, 30000), 300):
        if not any(os.path.lexists(path) for path in
                   (f"/tmp/.X{number}-lock", f"/tmp/.X11-unix/X{number}")):
            numbers.append(number)
        if len(numbers) == count:
            return numbers
    raise Failure("no free display numbers for the test")


class Leftovers:
    """What killed displays of this account and of others leave, and what live ones hold:
    private folders, X display locks and X sockets. Each is (path, expected to stay)."""

    def __init__(self, base):
        self.items = []
        self.listeners = []
        nobody = (65534, 65534)
        dead, me = dead_pid(), os.getpid()
        # A watcher holds a lock on watcher.lock in its folder for its whole life: a folder
        # goes only when that lock is free, whatever its name says of the process.
        self.held = []
        for name, pid, stamp, owner, lock, stays in (
                ("ours, of a process gone", dead, 12345, None, "free", False),
                ("ours, of a process gone after a long uptime", dead, 98765432101, None, "free",
                 False),
                ("another account's, of a process gone", dead, 12345, nobody, "free", True),
                ("ours, of a live process", me, start_time(me), None, "held", True),
                ("ours, of a process of that id started later", me, 12345, None, "free", False),
                ("ours, of a watcher still running elsewhere", dead, 12345, None, "held", True),
                ("ours, without a watcher's lock", dead, 12345, None, None, True)):
            folder = os.path.join(base, f"permora-display-{pid}-{stamp}-{len(self.items):06}")
            os.mkdir(folder, 0o700)
            with open(os.path.join(folder, "passwd"), "w"):
                pass
            if lock:
                fd = os.open(os.path.join(folder, "watcher.lock"), os.O_RDWR | os.O_CREAT, 0o600)
                if lock == "held":
                    fcntl.flock(fd, fcntl.LOCK_EX)
                    self.held.append(fd)
                else:
                    os.close(fd)
            if owner:
                for path in (folder, os.path.join(folder, "passwd")):
                    os.chown(path, *owner)
            self.items.append((name + " (folder)", folder, stays))
        # A link is never followed, and what it leads to stays.
        target = os.path.join(base, "linked")
        os.mkdir(target)
        with open(os.path.join(target, "keep"), "w"):
            pass
        link = os.path.join(base, f"permora-display-{dead}-12345-link00")
        os.symlink(target, link)
        self.items += [("a link (folder)", link, True), ("a link's target", target, True)]

        os.makedirs("/tmp/.X11-unix", mode=0o1777, exist_ok=True)
        # An X socket just made may belong to a server about to listen on it: it stays
        # until it is older than a few seconds.
        hour_ago = time.time() - 3600
        rows = (("ours, of a server gone", dead, False, None, hour_ago, False),
                ("another account's, of a server gone", dead, False, nobody, hour_ago, True),
                ("ours, of a live server", me, True, None, hour_ago, True),
                ("ours without a lock, nothing listening", None, False, None, hour_ago, False),
                ("ours without a lock, listening", None, True, None, hour_ago, True),
                ("ours without a lock, just made", None, False, None, None, True))
        for number, (name, lock_pid, listening, owner, made, stays) in zip(
                free_display_numbers(len(rows)), rows):
            sock_path = f"/tmp/.X11-unix/X{number}"
            sock = socket.socket(socket.AF_UNIX)
            sock.bind(sock_path)
            if listening:
                sock.listen(1)
                self.listeners.append(sock)
            else:
                sock.close()
            paths = [sock_path]
            if lock_pid is not None:
                lock = f"/tmp/.X{number}-lock"
                with open(lock, "w") as f:
                    f.write("%10d\n" % lock_pid)
                paths.append(lock)
            for path in paths:
                if owner:
                    os.chown(path, *owner)
                if made:
                    os.utime(path, (made, made))
                self.items.append((f"{name} ({os.path.basename(path)})", path, stays))

    def check(self):
        wrong = [f"{name}: {'removed' if stays else 'left'}"
                 for name, path, stays in self.items if os.path.lexists(path) != stays]
        check(not wrong, "at start, leftovers were handled wrongly: %r" % wrong)

    def remove(self):
        for sock in self.listeners:
            sock.close()
        for _, path, _ in self.items:
            if os.path.islink(path) or not os.path.isdir(path):
                if os.path.lexists(path):
                    os.unlink(path)
            else:
                shutil.rmtree(path, ignore_errors=True)


def run_killed_watcher(program, base):
    """A watcher killed outright leaves its folder; the next start removes it, and every
    other leftover of this account whose process is gone, and nothing else."""
    editor = Editor(program, None, tmpdir=base)
    try:
        editor.start()
        os.kill(editor.watcher, signal.SIGKILL)
        editor.proc.wait(timeout=TIMEOUT)  # it lost its display
        wait_for(lambda: not any(alive(p) for p in editor.display_processes),
                 "the display's processes to end with their watcher")
    finally:
        editor.kill_everything()
    check(os.path.isdir(editor.folder),
          "the killed watcher left no folder for the next start to remove")

    leftovers = Leftovers(base)
    following = Editor(program, None, tmpdir=base)
    try:
        following.start()
        check(not os.path.lexists(editor.folder), "the killed watcher's folder stayed: "
              + editor.folder)
        leftovers.check()
        following.proc.kill()
        following.proc.wait(timeout=TIMEOUT)
        check_left_nothing(following, base,
                           keep=[os.path.basename(p) for _, p, stays in leftovers.items
                                 if stays and os.path.dirname(p) == base])
    except Failure as failure:
        raise Failure("%s\nthe editor's messages:\n%s" % (failure, following.stderr_text()))
    finally:
        following.kill_everything()
        leftovers.remove()


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    if os.geteuid() != 0:
        print("skipped: needs root to try the display as another account")
        return SKIP
    program = os.path.abspath(sys.argv[1])
    screenshot_dir = sys.argv[2] if len(sys.argv) > 2 else None
    runtime_dir = tempfile.mkdtemp(prefix="permora-headless-test-")
    try:
        run_closed(program, runtime_dir, screenshot_dir)
        run_tcp_then_killed(program, runtime_dir)
        run_without_server(program, runtime_dir)
        tmpdir = tempfile.mkdtemp(prefix="permora-headless-tmp-")
        try:
            run_killed_parts(program, tmpdir)
            run_killed_watcher(program, tmpdir)
        finally:
            shutil.rmtree(tmpdir, ignore_errors=True)
    except (Failure, subprocess.TimeoutExpired, OSError) as failure:
        print("FAILED:", failure)
        return 1
    finally:
        shutil.rmtree(runtime_dir, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
