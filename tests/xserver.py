"""What the Python tests that run the editor on X servers of their own share: their
failure, bounded waits, and an Xvfb that picks a free display itself.

A test script in a folder beside this one imports it with
    sys.dont_write_bytecode = True
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
"""

import os
import select
import subprocess
import time


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(probe, what, timeout, tolerate=()):
    """The first true value probe gives, asked every 0.1 s for at most timeout seconds. An
    exception of a kind in tolerate counts as no value yet; a Failure always ends the wait."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = probe()
        except Failure:
            raise
        except tolerate:
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.1)


def start_xvfb(timeout, screen="1280x1024x24", noreset=False):
    """An Xvfb on a display it picks itself (-displayfd), without TCP: (process, ":N"). The
    caller ends the process. Fails within timeout when no display number comes, and then
    leaves no server behind."""
    read, write = os.pipe()
    command = ["Xvfb", "-displayfd", str(write), "-screen", "0", screen, "-nolisten", "tcp"]
    if noreset:
        command.append("-noreset")
    server = subprocess.Popen(command, pass_fds=(write,), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    try:
        deadline = time.monotonic() + timeout
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            ready, _, _ = select.select([read], [], [], max(0.0, left))
            check(ready, f"Xvfb named no display within {timeout} seconds")
            chunk = os.read(read, 16)
            check(chunk, "Xvfb ended before it named its display")
            number += chunk
        check(number.strip().isdigit(), f"Xvfb named no display: {number!r}")
    except BaseException:
        server.kill()
        server.wait()
        raise
    finally:
        os.close(read)
    return server, ":" + number.decode().strip()
