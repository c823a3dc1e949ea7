"""A private desktop for driving a real program: its own Xvfb, its own D-Bus session with the
accessibility bus of at-spi2-core, and an X watcher (xprobe) that reports windows being mapped
and unmapped, key presses reaching them and the X bell, each with the monotonic clock.

Used by the end-to-end test and by the bench. Everything started here is ended by close(), by
its own process id.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time


class Failure(Exception):
    """A step of a run saw something other than what it waited for."""


def wait_until(what, predicate, timeout, interval=0.02):
    """Polls predicate() until it gives a true value, which is returned; Failure after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


def _stop(proc, grace=3.0):
    if proc is None or proc.poll() is not None:
        return
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


class Event:
    __slots__ = ("kind", "window", "t", "rest")

    def __init__(self, kind, window, t, rest):
        self.kind, self.window, self.t, self.rest = kind, window, t, rest

    def __repr__(self):
        win = f" {self.window:#x}" if self.window is not None else ""
        return f"{self.kind}{win} @{self.t:.3f} {' '.join(map(str, self.rest))}".rstrip()


class Watcher:
    """Runs `xprobe watch` and keeps every event it reports."""

    def __init__(self, probe, env):
        self.events = []
        self._cond = threading.Condition()
        self._proc = subprocess.Popen([probe, "watch"], env=env, stdin=subprocess.PIPE,
                                      stdout=subprocess.PIPE, text=True, bufsize=1)
        self._syncs = 0
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        self.wait_for("the X watcher to start", lambda: self._ready, 10)

    _ready = False

    def _read(self):
        for line in self._proc.stdout:
            parts = line.split()
            if not parts:
                continue
            with self._cond:
                kind = parts[0]
                if kind == "ready":
                    self._ready = True
                elif kind == "synced":
                    self._syncs += 1
                elif kind in ("map", "unmap", "key"):
                    rest = [int(p) for p in parts[3:]]
                    self.events.append(Event(kind, int(parts[1], 16), float(parts[2]), rest))
                elif kind == "bell":
                    self.events.append(Event(kind, None, float(parts[1]), []))
                self._cond.notify_all()

    def wait_for(self, what, predicate, timeout):
        """Waits until predicate() (called under the lock) is true and returns its value."""
        deadline = time.monotonic() + timeout
        with self._cond:
            while True:
                value = predicate()
                if value:
                    return value
                left = deadline - time.monotonic()
                if left <= 0 or self._proc.poll() is not None:
                    raise Failure(f"timed out after {timeout:.1f} s waiting for {what}; "
                                  f"X events so far: {self.events}")
                self._cond.wait(min(left, 0.1))

    def sync(self, timeout=5):
        """Returns once every event the X server had produced by now has been read."""
        with self._cond:
            target = self._syncs + 1
        self._proc.stdin.write("sync\n")
        self._proc.stdin.flush()
        self.wait_for("the X watcher's sync", lambda: self._syncs >= target, timeout)

    def mark(self):
        """An index into the event list, to look only at what comes after it."""
        with self._cond:
            return len(self.events)

    def since(self, mark, kind=None):
        with self._cond:
            return [e for e in self.events[mark:] if kind is None or e.kind == kind]

    def wait_map(self, what, mark, timeout, where=lambda e: True):
        """The first map event after mark that satisfies where()."""
        def found():
            for e in self.events[mark:]:
                if e.kind == "map" and where(e):
                    return e
            return None
        return self.wait_for(what, found, timeout)

    def wait_unmap(self, what, window, mark, timeout):
        def found():
            for e in self.events[mark:]:
                if e.kind == "unmap" and e.window == window:
                    return e
            return None
        return self.wait_for(what, found, timeout)

    def close(self):
        if self._proc.poll() is None:
            try:
                self._proc.stdin.close()
                self._proc.wait(3)
            except (OSError, subprocess.TimeoutExpired):
                pass
        _stop(self._proc)


class Desktop:
    """Xvfb on a free display, an X watcher, a private D-Bus session bus as every desktop has
    one, and (with accessibility=True) at-spi2-core's accessibility bus on it."""

    def __init__(self, probe, accessibility=True, screen="1920x1080x24"):
        self._procs = []
        self.runtime_dir = tempfile.mkdtemp(prefix="mobrigan-desktop-")
        os.chmod(self.runtime_dir, 0o700)
        self.probe = probe
        try:
            self.display = self._start_xvfb(screen)
            self.env = self._base_env()
            self.watcher = Watcher(probe, self.env)
            self._start_session_bus()
            if accessibility:
                self._start_accessibility_bus()
        except BaseException:
            self.close()
            raise

    # ---- start-up ----------------------------------------------------------------------------
    def _start_xvfb(self, screen):
        read_end, write_end = os.pipe()
        proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                                 "-nolisten", "tcp", "-noreset"],
                                pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                stderr=open(os.path.join(self.runtime_dir, "xvfb.log"), "w"))
        self._procs.append(proc)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or proc.poll() is not None:
                raise Failure("Xvfb did not start: " + self._log("xvfb.log"))
            chunk = os.read(read_end, 16)
            if not chunk:
                raise Failure("Xvfb did not report its display: " + self._log("xvfb.log"))
            number += chunk
        os.close(read_end)
        return ":" + number.decode().strip()

    def _base_env(self):
        env = dict(os.environ)
        # Nothing of the caller's desktop may leak in: the program sees only this one.
        for name in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                     "QT_QPA_PLATFORM", "XAUTHORITY", "SESSION_MANAGER", "XDG_SESSION_TYPE",
                     "QT_ACCESSIBILITY", "NO_AT_BRIDGE"):
            env.pop(name, None)
        env["DISPLAY"] = self.display
        env["XDG_RUNTIME_DIR"] = self.runtime_dir
        return env

    def _start_session_bus(self):
        read_end, write_end = os.pipe()
        proc = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                 f"--print-address={write_end}"],
                                pass_fds=(write_end,), env=self.env, stdout=subprocess.DEVNULL,
                                stderr=open(os.path.join(self.runtime_dir, "dbus.log"), "w"))
        self._procs.append(proc)
        os.close(write_end)
        address = b""
        while not address.endswith(b"\n"):
            chunk = os.read(read_end, 256)
            if not chunk:
                raise Failure("dbus-daemon did not start: " + self._log("dbus.log"))
            address += chunk
        os.close(read_end)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address.decode().strip()

    def _start_accessibility_bus(self):
        launcher = _libexec("at-spi-bus-launcher")
        proc = subprocess.Popen([launcher, "--launch-immediately"], env=self.env,
                                stdout=subprocess.DEVNULL,
                                stderr=open(os.path.join(self.runtime_dir, "at-spi.log"), "w"))
        self._procs.append(proc)

        def address():
            out = subprocess.run(["dbus-send", "--session", "--print-reply=literal",
                                  "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                                 env=self.env, capture_output=True, text=True)
            return out.stdout.strip() if out.returncode == 0 else None

        a11y = wait_until("the accessibility bus", address, 20, 0.1)
        # The registry gathers the applications; start it now rather than on first use, so the
        # first program of a run registers at once.
        registry = subprocess.Popen([_libexec("at-spi2-registryd")], env=dict(self.env, AT_SPI_BUS_ADDRESS=a11y),
                                    stdout=subprocess.DEVNULL,
                                    stderr=open(os.path.join(self.runtime_dir, "registryd.log"), "w"))
        self._procs.append(registry)
        self.a11y_address = a11y

    def _log(self, name):
        try:
            with open(os.path.join(self.runtime_dir, name)) as f:
                return f.read()[-2000:]
        except OSError:
            return "(no log)"

    # ---- helpers -----------------------------------------------------------------------------
    def run(self, *argv, check=True, timeout=20):
        """Runs a tool (xdotool, xwininfo, xprobe ...) on this display; its standard output."""
        out = subprocess.run(list(argv), env=self.env, capture_output=True, text=True, timeout=timeout)
        if check and out.returncode != 0:
            raise Failure(f"{' '.join(argv)} failed ({out.returncode}): {out.stderr.strip()}")
        return out.stdout

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def window_info(self, window):
        """xwininfo of one window: its absolute position, size, map state and name."""
        out = self.run("xwininfo", "-id", hex(window))
        info = {"name": None}
        for line in out.splitlines():
            line = line.strip()
            if line.startswith("xwininfo: Window id:"):
                quote = line.find('"')
                info["name"] = line[quote + 1:line.rfind('"')] if quote >= 0 else None
            elif ":" in line:
                key, _, value = line.partition(":")
                info[key.strip()] = value.strip()
        return {
            "name": info["name"],
            "x": int(info["Absolute upper-left X"]),
            "y": int(info["Absolute upper-left Y"]),
            "width": int(info["Width"]),
            "height": int(info["Height"]),
            "mapped": info.get("Map State") == "IsViewable",
        }

    def window_tree(self):
        return self.run("xwininfo", "-root", "-children", check=False)

    def close(self):
        if getattr(self, "watcher", None):
            self.watcher.close()
        for proc in reversed(self._procs):
            _stop(proc)
        shutil.rmtree(self.runtime_dir, ignore_errors=True)


def _libexec(name):
    for folder in ("/usr/libexec", "/usr/lib/at-spi2-core", "/usr/lib/at-spi2"):
        path = os.path.join(folder, name)
        if os.access(path, os.X_OK):
            return path
    raise Failure(f"{name} not found (Debian's at-spi2-core ships it in /usr/libexec)")
