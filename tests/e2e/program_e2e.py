#!/usr/bin/python3
"""End-to-end test of the built calculator, started as a user starts it (no arguments, no
variables of its own), on a private X server with no window manager.

It is driven with real X key and button events (xdotool) and read back the way a screen reader
reads it: through the accessibility bus (AT-SPI; Qt serves its widgets there when
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1, a variable Qt reads, not the program). Windows appearing and
going, and the X bell, are seen by xprobe, a small X client of ours that stamps every event with
the monotonic clock.

Five runs:
  1. the splash hands over by its timer; then a computation, Clear, a refused key, the message for
     an empty form, Help pressed three times, and Ctrl+Q;
  2. the splash hands over at a key press; the timer firing later changes nothing; then the main
     window's close button (a WM_DELETE_WINDOW message, as a window manager sends it) with the
     help window open;
  3. Ctrl+Q while the splash shows ends the program, and no other window is ever mapped;
  4. the Edit menu, reached by moving from File, by Alt+F and Right, by Alt+E, and left with
     Escape before Ctrl+C, copies the selection of the field, which keeps it throughout;
  5. Ctrl+Z after a paste (by Ctrl+V and by Edit > Paste) takes back the paste alone; the Menu
     key in an input field rings one bell and opens nothing, where the result field opens its
     menu; a result wider than its field shows its sign after Compute, after Tab has passed
     through it and after Compute again; and after Alt alone, the help window and back, the
     keyboard is in the field it was in.
A step that fails prints what was on the screen: the X window list, the accessibility tree, the
X events seen, and the program's output. The last line counts the checks: "N passed, N failed".
"""

import argparse
import contextlib
import os
import struct
import subprocess
import sys
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession  # noqa: E402
from xsession import Failure, wait_until  # noqa: E402

SPLASH_SIZE = (447, 218)
CONTENT_SIZE = (550, 500)
SPLASH_PERIOD = 4.0
# Frames in the main window's content coordinates (left, top, width, height).
RXX, RYY, RXY, RD = (112, 190, 80, 22), (235, 190, 80, 22), (358, 190, 80, 22), (235, 265, 80, 22)
COMPUTE, CLEAR, HELP = (20, 442, 106, 38), (424, 441, 106, 39), (235, 410, 72, 70)
HELP_TITLE = "Tolvane Info"
ENTER_RXX = "Please enter the Reliability of the first test"


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def ok(self, what):
        self.passed += 1
        print(f"ok - {what}", flush=True)

    def check(self, condition, what, seen=""):
        if condition:
            self.ok(what)
        else:
            raise Failure(f"{what}: {seen}")


def png(path, ppm_path):
    """Writes the binary PPM at ppm_path as a PNG (RGB, no filter) to path."""
    with open(ppm_path, "rb") as f:
        data = f.read()
    fields, offset = [], 0
    while len(fields) < 4:  # P6, width, height, maxval, each followed by one blank
        end = offset
        while data[end:end + 1] not in (b" ", b"\n", b"\t", b"\r"):
            end += 1
        fields.append(data[offset:end])
        offset = end + 1
    width, height = int(fields[1]), int(fields[2])
    pixels = data[offset:]
    rows = b"".join(b"\x00" + pixels[y * width * 3:(y + 1) * width * 3] for y in range(height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 6)))
        f.write(chunk(b"IEND", b""))


class Program:
    """One run of the calculator on the desktop, seen through X and AT-SPI."""

    def __init__(self, desktop, binary, out_dir, name):
        self.d = desktop
        self.w = desktop.watcher
        self.log_path = os.path.join(out_dir, f"{name}.log")
        self.start_mark = self.w.mark()
        env = dict(desktop.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.t_exec = time.monotonic()
        self.proc = subprocess.Popen([binary], env=env, stdin=subprocess.DEVNULL,
                                     stdout=open(self.log_path, "w"), stderr=subprocess.STDOUT)
        self._app = None

    # ---- X --------------------------------------------------------------------------------
    def wait_window(self, what, mark, timeout, name=None, size=None):
        """The first window mapped after mark (with that name and size, when given)."""
        def fits(e):
            if size and (e.rest[2], e.rest[3]) != size:
                return False
            if name is None:
                return True
            try:
                return self.d.window_info(e.window)["name"] == name
            except Failure:
                return False
        return self.w.wait_map(what, mark, timeout, fits)

    def mapped_named(self, name):
        """The program's mapped top-level windows of that name, from the X server's own list."""
        found = []
        for line in self.d.window_tree().splitlines():
            line = line.strip()
            if line.startswith("0x") and f'"{name}"' in line.split(":")[0]:
                window = int(line.split()[0], 16)
                try:
                    if self.d.window_info(window)["mapped"]:
                        found.append(window)
                except Failure:
                    pass
        return found

    def click(self, window, frame, dx=None, dy=None):
        """A real button press and release inside frame (content coordinates) of window."""
        left, top, width, height = frame
        x = window["content_x"] + left + (width // 2 if dx is None else dx)
        y = window["content_y"] + top + (height // 2 if dy is None else dy)
        self.d.xdotool("mousemove", str(x), str(y), "click", "1")

    def type(self, text):
        # "--": a text may start with a minus sign, which xdotool would take for an option.
        self.d.xdotool("type", "--delay", "30", "--", text)

    def key(self, *keys):
        self.d.xdotool("key", "--delay", "30", *keys)

    def bells_since(self, mark):
        self.w.sync()
        return len(self.w.since(mark, "bell"))

    # ---- AT-SPI ---------------------------------------------------------------------------
    def app(self):
        import pyatspi
        if self._app is None:
            def find():
                desktop = pyatspi.Registry.getDesktop(0)
                for i in range(desktop.childCount):
                    app = desktop.getChildAtIndex(i)
                    try:
                        if app is not None and app.get_process_id() == self.proc.pid:
                            return app
                    except Exception:  # an application that just went away
                        continue
                return None
            self._app = wait_until("the program on the accessibility bus", find, 20, 0.1)
        return self._app

    def frames(self, name=None):
        """The program's top-level accessibles that are showing (with that name, when given)."""
        import pyatspi
        app = self.app()
        found = []
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is None:
                continue
            if child.getState().contains(pyatspi.STATE_SHOWING) and (name is None or child.name == name):
                found.append(child)
        return found

    def main_parts(self):
        """The main window's menu bar, content and its single-line text fields (in creation order:
        RdFld, RxxFld, RyyFld, RxyFld) and picture buttons, from the accessibility tree."""
        import pyatspi
        for frame in self.frames("Mobrigan"):
            bar = content = None
            for child in frame:
                if child.getRole() == pyatspi.ROLE_MENU_BAR:
                    bar = child
                elif child.getRole() == pyatspi.ROLE_FILLER:
                    content = child
            if bar is not None and content is not None:
                fields = [c for c in content if c.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
                          and not c.getState().contains(pyatspi.STATE_MULTI_LINE)]
                return {"frame": frame, "bar": bar, "content": content, "fields": fields}
        return None

    @staticmethod
    def extents(acc):
        import pyatspi
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (e.x, e.y, e.width, e.height)

    @staticmethod
    def text(acc):
        t = acc.queryText()
        return t.getText(0, t.characterCount)

    @staticmethod
    def texts_in(acc, depth=0):
        """The text accessibles under acc."""
        import pyatspi
        found = []
        for child in acc:
            if child is None:
                continue
            if child.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY):
                found.append(child)
            elif depth < 4:
                found.extend(Program.texts_in(child, depth + 1))
        return found

    @staticmethod
    def has(acc, state):
        return acc.getState().contains(state)

    def dump_tree(self):
        import pyatspi
        lines = []

        def walk(acc, depth):
            if acc is None or depth > 8:
                return
            try:
                ext = self.extents(acc)
            except Exception:
                ext = ""
            try:
                value = repr(self.text(acc)) if acc.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY) else ""
            except Exception:
                value = ""
            states = ",".join(pyatspi.stateToString(s) for s in acc.getState().getStates())
            lines.append(f"{'  ' * depth}{acc.getRoleName()} {acc.name!r} {value} {ext} [{states}]")
            for child in acc:
                walk(child, depth + 1)
        try:
            walk(self.app(), 0)
        except Exception as error:  # the tree is for the log only
            lines.append(f"(accessibility tree unavailable: {error})")
        return "\n".join(lines)

    def diagnose(self):
        print("---- X windows ----")
        print(self.d.window_tree())
        print("---- X events of this run ----")
        for e in self.w.since(self.start_mark):
            print(f"  {e}  (+{e.t - self.t_exec:.3f} s after exec)")
        print("---- accessibility tree ----")
        print(self.dump_tree() if self.proc.poll() is None else "(program has ended)")
        print("---- program output ----")
        try:
            with open(self.log_path) as f:
                print(f.read()[-4000:])
        except OSError:
            pass
        sys.stdout.flush()

    def end(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def main_window(program, checks, handover_mark):
    """Waits for the main window after the hand-over; checks its title and its 550 x 500 content
    below the menu bar. Returns its geometry with the content's screen origin."""
    main = program.wait_window("the main window", handover_mark, 15, name="Mobrigan")
    info = program.d.window_info(main.window)
    checks.check(info["name"] == "Mobrigan", 'the main window is titled "Mobrigan"', info)

    # The X window holds the menu bar and the content below it; AT-SPI gives both frames, and the
    # content must be exactly 550 x 500 with the menu bar taking the rest of the window's height.
    parts = wait_until("the main window's menu bar and content on the accessibility bus",
                       program.main_parts, 15, 0.1)
    bar = program.extents(parts["bar"])
    content = program.extents(parts["content"])
    checks.check(content[2:] == CONTENT_SIZE, "the content area is 550 x 500", f"content {content}, menu bar {bar}")
    checks.check(bar[0] == info["x"] and bar[1] == info["y"] and bar[2] == CONTENT_SIZE[0]
                 and content[1] == bar[1] + bar[3] and content[0] == info["x"],
                 "the menu bar runs along the window's top, the content directly below it",
                 f"window {info}, menu bar {bar}, content {content}")
    checks.check((info["width"], info["height"]) == (CONTENT_SIZE[0], CONTENT_SIZE[1] + bar[3]),
                 f"the X window is 550 x (500 + the menu bar's {bar[3]})", info)
    info["content_x"], info["content_y"] = content[0], content[1]
    info["window"] = main.window
    info["map"] = main
    return info, parts


def field_texts(program, parts):
    return [program.text(f) for f in parts["fields"]]


@contextlib.contextmanager
def run_of(desktop, binary, out_dir, name, checks):
    """The program started for one run. A failed check or a tool that broke counts as one failure
    and prints what was seen; the program is ended whatever happened."""
    p = Program(desktop, binary, out_dir, name)
    try:
        yield p
    except Exception as error:
        checks.failed += 1
        print(f"FAIL - {error}", flush=True)
        p.diagnose()
    finally:
        p.end()


def key_on_splash(desktop, p, key):
    """A second into the splash, presses `key` with the pointer over it. Returns the splash's map
    event, the mark taken before the press, and the key event the splash got."""
    splash = p.wait_window("the splash", p.start_mark, 15)
    wait_until("a second of splash", lambda: time.monotonic() >= splash.t + 1.0, 5)
    mark = p.w.mark()
    desktop.xdotool("mousemove", str(splash.rest[0] + 20), str(splash.rest[1] + 20), "key", key)
    press = p.w.wait_for("the key press on the splash",
                         lambda: next((e for e in p.w.since(mark, "key") if e.window == splash.window), None), 5)
    return splash, mark, press


def run_timer_handover(desktop, binary, out_dir, checks):
    import pyatspi
    with run_of(desktop, binary, out_dir, "run-timer", checks) as p:
        # ---- splash ----
        splash = p.wait_window("the first window", p.start_mark, 15)
        info = desktop.window_info(splash.window)
        checks.check(p.w.since(p.start_mark, "map")[0].window == splash.window, "the splash is the first window mapped")
        checks.check((info["width"], info["height"]) == SPLASH_SIZE, "the splash maps at 447 x 218",
                     f"xwininfo says {info['width']} x {info['height']} at {info['x']},{info['y']}")
        print(f"# splash mapped {splash.t - p.t_exec:.3f} s after exec")

        # ---- hand-over by the timer ----
        after_splash = p.w.mark()
        main, parts = main_window(p, checks, after_splash)
        gone = p.w.wait_unmap("the splash to hide", splash.window, after_splash, 5)
        shown_for = gone.t - splash.t
        since_exec = main["map"].t - p.t_exec
        print(f"# splash shown {shown_for:.3f} s; main window mapped {since_exec:.3f} s after exec")
        checks.check(gone.t <= main["map"].t, "the splash hides before the main window shows")
        # The period runs from the splash's creation, which lies between exec and its map: exec
        # is the bound the program cannot beat, whatever its start-up costs.
        checks.check(gone.t - p.t_exec >= SPLASH_PERIOD - 0.1, "the splash hands over no earlier than 3.9 s",
                     f"splash hidden {gone.t - p.t_exec:.3f} s after exec, main window mapped "
                     f"{since_exec:.3f} s after exec")
        checks.check(since_exec <= SPLASH_PERIOD + 3.0, "the splash hands over within 7 s of exec",
                     f"{since_exec:.3f} s")

        rd, rxx, ryy, rxy = parts["fields"][:4]
        for acc, frame, name in ((rxx, RXX, "RxxFld"), (ryy, RYY, "RyyFld"), (rxy, RXY, "RxyFld")):
            where = p.extents(acc)
            expected = (main["content_x"] + frame[0], main["content_y"] + frame[1], frame[2], frame[3])
            checks.check(where == expected, f"{name} sits at {frame[0]},{frame[1]} in the content",
                         f"at {where}, expected {expected}")
        checks.check(not p.has(rd, pyatspi.STATE_SHOWING), "no result is shown at first")

        # ---- a computation ----
        mark = p.w.mark()
        for frame, value in ((RXX, "0.8"), (RYY, "0.7"), (RXY, "0.5")):
            p.click(main, frame)
            p.type(value)
        wait_until("the typed coefficients", lambda: field_texts(p, parts)[1:4] == ["0.8", "0.7", "0.5"], 10)
        checks.ok("0.8, 0.7 and 0.5 typed into the three fields")
        checks.check(p.bells_since(mark) == 0, "digits and the point type without a bell")
        p.click(main, COMPUTE, 5, 5)
        wait_until('".5000" in the result field',
                   lambda: p.has(rd, pyatspi.STATE_SHOWING) and p.text(rd) == ".5000", 10)
        checks.ok('Compute shows ".5000" for 0.8, 0.7, 0.5')
        checks.check(len(p.frames()) == 1, "no message box after a successful Compute",
                     [f.name for f in p.frames()])

        ppm = os.path.join(out_dir, "main-window.ppm")
        desktop.run(desktop.probe, "shot", hex(main["window"]), ppm)
        png(os.path.join(out_dir, "main-window.png"), ppm)
        os.remove(ppm)
        print(f"# screenshot: {os.path.join(out_dir, 'main-window.png')}")

        # ---- Clear ----
        p.click(main, CLEAR)
        wait_until("an empty form", lambda: field_texts(p, parts) == ["", "", "", ""]
                   and not p.has(rd, pyatspi.STATE_SHOWING), 10)
        checks.ok("Clear empties the three fields and hides the result")
        wait_until("the focus in RxxFld after Clear", lambda: p.has(rxx, pyatspi.STATE_FOCUSED), 5)
        checks.ok("Clear puts the focus into RxxFld")

        # ---- a refused key ----
        mark = p.w.mark()
        p.type("a5")  # the digit after the letter shows when the letter has been dealt with
        wait_until('"5" in RxxFld', lambda: p.text(rxx) == "5", 10)
        bells = p.bells_since(mark)
        checks.check(bells == 1 and p.text(rxx) == "5", "a letter is refused with exactly one bell",
                     f"{bells} bells, RxxFld holds {p.text(rxx)!r}")
        p.key("BackSpace")
        wait_until("RxxFld empty again", lambda: p.text(rxx) == "", 10)

        # ---- the message for an empty form ----
        mark = p.w.mark()
        p.click(main, COMPUTE)
        box = p.wait_window("the message box", mark, 10)

        def box_text():
            for frame in p.frames():
                if frame.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
                    texts = [c.name for c in frame if c.getRole() == pyatspi.ROLE_LABEL and c.name]
                    if texts:
                        return texts
            return None
        texts = wait_until("the message box on the accessibility bus", box_text, 10, 0.1)
        checks.check(ENTER_RXX in texts, f'an empty form is answered with "{ENTER_RXX}"', texts)
        p.key("Return")
        p.w.wait_unmap("the message box to close", box.window, mark, 10)
        wait_until("the focus back in RxxFld", lambda: p.has(rxx, pyatspi.STATE_FOCUSED), 5)
        checks.ok("Return dismisses the message and the focus is back in RxxFld")
        checks.check(p.bells_since(mark) == 0, "the message box rings no bell")

        # ---- Help, three times ----
        mark = p.w.mark()
        p.click(main, HELP)
        help_map = p.wait_window("the help window", mark, 10, name=HELP_TITLE)
        # It opens over the main window; move it aside as the user would, so that the next
        # presses reach the Help picture.
        desktop.xdotool("windowmove", "--sync", hex(help_map.window), "0", "0")
        p.click(main, HELP, 10, 10)
        p.click(main, HELP, 60, 60)
        # The help window has the focus after each press; text typed now lands in it once the
        # presses before it have been dealt with.
        p.type("Zq7")

        def help_text():
            return any("Zq7" in p.text(t) for frame in p.frames(HELP_TITLE) for t in p.texts_in(frame))
        wait_until("the typed marker in the help text", help_text, 10, 0.1)
        help_maps = [e for e in p.w.since(mark, "map") if desktop.window_info(e.window)["name"] == HELP_TITLE]
        checks.check(len(help_maps) == 1 and len(p.mapped_named(HELP_TITLE)) == 1
                     and len(p.frames(HELP_TITLE)) == 1,
                     "three presses on Help open exactly one help window",
                     f"{len(help_maps)} mapped, {len(p.mapped_named(HELP_TITLE))} on screen, "
                     f"{len(p.frames(HELP_TITLE))} on the accessibility bus")

        # ---- Ctrl+Q ----
        p.click(main, RXX)  # back to the main window, whose menu holds Quit
        wait_until("the focus in RxxFld", lambda: p.has(rxx, pyatspi.STATE_FOCUSED), 5)
        p.key("ctrl+q")
        try:
            status = p.proc.wait(15)
        except subprocess.TimeoutExpired:
            raise Failure("Ctrl+Q did not end the program within 15 s")
        checks.check(status == 0, "Ctrl+Q ends the program with status 0", f"status {status}")


def run_key_handover(desktop, binary, out_dir, checks):
    import pyatspi
    with run_of(desktop, binary, out_dir, "run-key", checks) as p:
        splash, mark, press = key_on_splash(desktop, p, "space")
        main, parts = main_window(p, checks, mark)
        waited = main["map"].t - press.t
        print(f"# main window mapped {waited:.3f} s after the key press, {main['map'].t - p.t_exec:.3f} s after exec")
        checks.check(main["map"].t - p.t_exec < SPLASH_PERIOD - 0.5 and waited < 2.0,
                     "a key press on the splash hands over at once",
                     f"{waited:.3f} s after the press, {main['map'].t - p.t_exec:.3f} s after exec")
        checks.check(not desktop.window_info(splash.window)["mapped"], "the splash is hidden after the key press")

        # The timer fires later all the same; what the user typed by then stays, and no window
        # comes or goes.
        rxx = parts["fields"][1]
        p.click(main, RXX)
        p.type("0.3")
        wait_until("0.3 in RxxFld", lambda: p.text(rxx) == "0.3", 10)
        settled = p.w.mark()
        wait_until("the splash timer to have fired", lambda: time.monotonic() >= p.t_exec + SPLASH_PERIOD + 0.7, 10)
        p.w.sync()
        changes = [e for e in p.w.since(settled) if e.kind in ("map", "unmap")]
        checks.check(not changes and p.text(rxx) == "0.3" and desktop.window_info(main["window"])["mapped"],
                     "the timer's later hand-over leaves the main window as it was",
                     f"window changes {changes}, RxxFld {p.text(rxx)!r}")

        # The close button, with the help window open: the program ends, with status 0.
        mark = p.w.mark()
        p.click(main, HELP)
        p.wait_window("the help window", mark, 10, name=HELP_TITLE)
        desktop.run(desktop.probe, "close", hex(main["window"]))
        try:
            status = p.proc.wait(15)
        except subprocess.TimeoutExpired:
            raise Failure("WM_DELETE_WINDOW on the main window did not end the program within 15 s")
        checks.check(status == 0, "the main window's close button ends the program with status 0, "
                                  "help window open", f"status {status}")


def run_edit_menu(desktop, binary, out_dir, checks):
    """The Edit menu acts on the field's selection however it is reached, and the field keeps its
    selection while a menu is in use. Each case copies a value of its own from RxxFld, so that a
    copy that did nothing shows as the value of the case before; the clipboard is read back by
    pasting it into RyyFld."""
    import pyatspi
    with run_of(desktop, binary, out_dir, "run-edit-menu", checks) as p:
        _, mark, _ = key_on_splash(desktop, p, "space")
        main, parts = main_window(p, checks, mark)
        _, rxx, ryy, _ = parts["fields"][:4]
        bar = {c.name.replace("&", ""): c for c in parts["bar"]}

        def centre(acc):
            x, y, w, h = p.extents(acc)
            return str(x + w // 2), str(y + h // 2)

        def open_items():
            """The items of the open menus (not the bar's own File and Edit), by name: each with
            whether it is enabled."""
            found = {}
            for menu in parts["bar"]:
                for popup in menu or ():
                    for item in popup or ():
                        if item is not None and item.getRole() == pyatspi.ROLE_MENU_ITEM \
                                and p.has(item, pyatspi.STATE_SHOWING):
                            found[item.name] = (item, p.has(item, pyatspi.STATE_ENABLED))
            return found

        def edit_menu_open():
            items = open_items()
            return items if "Copy" in items else None

        def selection(acc):
            t = acc.queryText()
            return [t.getSelection(i) for i in range(t.getNSelections())]

        def selected_whole(value):
            return lambda: p.text(rxx) == value and selection(rxx) == [(0, len(value))]

        def check_edit_items(how, value):
            items = wait_until(f"the Edit menu open by {how}", edit_menu_open, 5)
            enabled = {name for name, (_, on) in items.items() if on}
            checks.check({"Undo", "Cut", "Copy", "Clear", "Select All"} <= enabled,
                         f"the Edit menu reached by {how} offers Undo, Cut, Copy, Clear and Select All",
                         f"enabled: {sorted(enabled)}")
            checks.check(selected_whole(value)(), f"RxxFld keeps its selection in the Edit menu reached by {how}",
                         f"{p.text(rxx)!r}, selection {selection(rxx)}")
            return items

        def by_moving_from_file(value):
            desktop.xdotool("mousemove", *centre(bar["File"]), "click", "1")
            wait_until("the File menu open", lambda: "Quit" in open_items(), 5)
            desktop.xdotool("mousemove", *centre(bar["Edit"]))
            items = check_edit_items("moving from File", value)
            desktop.xdotool("mousemove", *centre(items["Copy"][0]), "click", "1")

        def by_alt_f_right(value):
            p.key("alt+f", "Right")
            check_edit_items("Alt+F, Right", value)
            p.key("c")

        def by_alt_e(value):
            p.key("alt+e")
            check_edit_items("Alt+E", value)
            p.key("c")

        def by_ctrl_c_after_escape(value):
            p.key("alt+e")
            wait_until("the Edit menu open by Alt+E", edit_menu_open, 5)
            p.key("Escape")
            wait_until("the Edit menu closed", lambda: not edit_menu_open(), 5)
            checks.check(selected_whole(value)(), "RxxFld keeps its selection after Alt+E, Escape",
                         f"{p.text(rxx)!r}, selection {selection(rxx)}")
            p.key("ctrl+c", "Escape")
            wait_until("the focus back in RxxFld", lambda: p.has(rxx, pyatspi.STATE_FOCUSED), 5)
            checks.check(selected_whole(value)(), "RxxFld has its selection when the menu bar gives the focus back",
                         f"{p.text(rxx)!r}, selection {selection(rxx)}")

        cases = (("Copy in the Edit menu reached by moving from File", ".81", by_moving_from_file),
                 ("Alt+F, Right, C", ".82", by_alt_f_right),
                 ("Alt+E, C", ".83", by_alt_e),
                 ("Alt+E, Escape, Ctrl+C", ".84", by_ctrl_c_after_escape))
        for what, value, steps in cases:
            p.click(main, RXX)
            p.key("ctrl+a", "BackSpace")
            p.type(value)
            p.key("ctrl+a")
            wait_until(f"{value} typed and selected in RxxFld", selected_whole(value), 5)
            steps(value)
            wait_until("every menu closed", lambda: not open_items(), 5)
            checks.check(selected_whole(value)(), f"RxxFld still holds {value}, selected, after {what}",
                         f"{p.text(rxx)!r}, selection {selection(rxx)}")
            p.click(main, RYY)
            p.key("ctrl+a", "BackSpace", "ctrl+v")
            try:
                wait_until(f"{value} pasted into RyyFld", lambda: p.text(ryy) == value, 5)
            except Failure:
                raise Failure(f"{what} did not copy {value}: pasting gives {p.text(ryy)!r}")
            checks.ok(f"{what} copies the selection")


def run_keyboard_and_clipboard(desktop, binary, out_dir, checks):
    """What the keyboard and the clipboard do at the edges of the main window's fields: Ctrl+Z after
    a paste, the Menu key, a result too wide for its field passed through by Tab, and the way back
    to a field after Alt alone and a visit to the help window."""
    import pyatspi
    with run_of(desktop, binary, out_dir, "run-keyboard", checks) as p:
        _, mark, _ = key_on_splash(desktop, p, "space")
        main, parts = main_window(p, checks, mark)
        rd, rxx, ryy, rxy = parts["fields"][:4]
        bar = {c.name.replace("&", ""): c for c in parts["bar"]}

        def soon(predicate, timeout=2.0):
            """Whether predicate() comes true within timeout; for the checks, which report what
            they saw instead of a time-out."""
            try:
                return wait_until("", predicate, timeout)
            except Failure:
                return False

        def states(acc):
            return ",".join(pyatspi.stateToString(s) for s in acc.getState().getStates())

        def selected_text(acc):
            t = acc.queryText()
            return [t.getText(*t.getSelection(i)) for i in range(t.getNSelections())]

        def fill(name, frame, acc, value):
            """Clicks into the field, empties it and types value."""
            p.click(main, frame)
            p.key("ctrl+a", "BackSpace")
            p.type(value)
            wait_until(f"{value} typed into {name}", lambda: p.text(acc) == value, 5)

        def active(window, frame):
            """True once window has the X input focus and frame (its accessible) is the active one."""
            # (while the focus is on no window at all, as between a window's close and the next
            # activation, xdotool fails and prints nothing)
            focus = desktop.run("xdotool", "getwindowfocus", check=False).strip()
            return focus == str(window) and p.has(frame, pyatspi.STATE_ACTIVE)

        def activate(window, frame, what):
            # With no window manager nobody hands the activation over: the X input focus is set
            # directly, as a window manager does on a click; Qt activates the window on its
            # focus-in. (xdotool windowactivate needs a window manager's _NET_ACTIVE_WINDOW.)
            desktop.xdotool("windowfocus", "--sync", str(window))
            wait_until(f"{what} active", lambda: active(window, frame), 5)

        def paste_then_undo(how, name, acc, typed, paste, pasted):
            """With `typed` in the field, `paste` puts the clipboard after it, cut to the field's
            seven characters: `pasted`. One Ctrl+Z then takes back the paste and no more."""
            paste()
            if not soon(lambda: p.text(acc) == pasted, 5):
                raise Failure(f"{how} after {typed!r} in {name} gives {p.text(acc)!r}, not {pasted!r}")
            checks.ok(f"{how} after {typed!r} in {name} gives {pasted!r}")
            wait_until(f"the focus in {name}", lambda: p.has(acc, pyatspi.STATE_FOCUSED), 5)
            p.key("ctrl+z")
            wait_until(f"Ctrl+Z to change {name}", lambda: p.text(acc) != pasted, 5)
            checks.check(p.text(acc) == typed, f"Ctrl+Z after {how} in {name} takes back the paste alone",
                         f"{name} holds {p.text(acc)!r}, {typed!r} was typed before the paste")

        # ---- Ctrl+Z after Ctrl+V ----
        # The clipboard is filled from the program itself: a value typed into RyyFld and copied.
        fill("RyyFld", RYY, ryy, "34")
        p.key("ctrl+a", "ctrl+c")
        p.click(main, CLEAR)
        wait_until("an empty form", lambda: field_texts(p, parts) == ["", "", "", ""], 5)
        p.click(main, RXX)
        p.type("12")
        wait_until("12 typed into RxxFld", lambda: p.text(rxx) == "12", 5)
        paste_then_undo("Ctrl+V", "RxxFld", rxx, "12", lambda: p.key("ctrl+v"), "1234")

        # ---- a result wider than its field ----
        def left_edge():
            """The offset of the character RdFld shows at its left edge, just inside its frame."""
            x, y, _, height = p.extents(rd)
            return rd.queryText().getOffsetAtPoint(x + 4, y + height // 2, pyatspi.DESKTOP_COORDS)

        fill("RxxFld", RXX, rxx, "0")
        fill("RyyFld", RYY, ryy, "0")
        fill("RxyFld", RXY, rxy, ".999999")
        p.click(main, COMPUTE)
        wait_until('"-999999.0000" in the result field',
                   lambda: p.has(rd, pyatspi.STATE_SHOWING) and p.text(rd) == "-999999.0000", 5)
        checks.check(soon(lambda: left_edge() == 0), "Compute shows -999999.0000 from its sign",
                     f"character {left_edge()} at RdFld's left edge")
        # Once a result shows, RdFld follows RxxFld in the Tab chain; Tab selects all of it, which
        # scrolls it to its end.
        p.click(main, RXX)
        p.key("Tab")
        wait_until("the focus in RdFld", lambda: p.has(rd, pyatspi.STATE_FOCUSED), 5)
        checks.check(soon(lambda: left_edge() > 0), "RdFld entered by Tab shows the end of -999999.0000",
                     f"character {left_edge()} at its left edge, selection {selected_text(rd)}")
        p.key("Tab")
        wait_until("the focus in RyyFld", lambda: p.has(ryy, pyatspi.STATE_FOCUSED), 5)
        checks.check(soon(lambda: left_edge() == 0), "RdFld left by Tab shows -999999.0000 from its sign again",
                     f"character {left_edge()} at its left edge")
        # The same result again changes no text: a key RyyFld refuses after the click rings once
        # the click has been dealt with. The presses on Compute from here on land apart, so that
        # none is taken for the second half of a double click.
        mark = p.w.mark()
        p.click(main, COMPUTE, 20)
        p.type("x")
        p.w.wait_for("the bell of the key after Compute", lambda: p.w.since(mark, "bell"), 5)
        checks.check(left_edge() == 0 and p.text(rd) == "-999999.0000",
                     "Compute again with the same values leaves the sign in view",
                     f"RdFld holds {p.text(rd)!r}, character {left_edge()} at its left edge")
        p.key("shift+Tab")
        wait_until("RdFld entered by Shift+Tab, scrolled to its end",
                   lambda: p.has(rd, pyatspi.STATE_FOCUSED) and left_edge() > 0, 5)
        p.click(main, COMPUTE, 85)
        checks.check(soon(lambda: left_edge() == 0), "Compute while RdFld has the focus shows the result from its sign",
                     f"character {left_edge()} at its left edge, selection {selected_text(rd)}")

        # The splash's timer, which fires whatever ended the splash, shows and activates the main
        # window once more: the window switches below come after it.
        wait_until("the splash timer to have fired", lambda: time.monotonic() >= p.t_exec + SPLASH_PERIOD + 0.7, 10)

        # ---- Ctrl+Z after Edit > Paste ----
        # Nine characters are more than a field holds: they are put on the clipboard from a line
        # of their own in the help window's text, which the user may edit.
        mark = p.w.mark()
        p.click(main, HELP)
        help_map = p.wait_window("the help window", mark, 10, name=HELP_TITLE)
        help_frame = wait_until("the help window on the accessibility bus", lambda: p.frames(HELP_TITLE), 5)[0]
        help_text = p.texts_in(help_frame)[0]
        wait_until("the help window active", lambda: active(help_map.window, help_frame), 5)
        p.key("ctrl+End", "Return")
        p.type("123456789")
        p.key("shift+Home")
        wait_until("123456789 selected in the help text", lambda: selected_text(help_text) == ["123456789"], 5)
        p.key("ctrl+c")
        desktop.run(desktop.probe, "close", hex(help_map.window))
        p.w.wait_unmap("the help window to close", help_map.window, mark, 5)
        activate(main["window"], parts["frame"], "the main window")

        def edit_paste():
            p.key("alt+e")
            wait_until("the Edit menu open", lambda: any(
                item is not None and item.name == "Paste" and p.has(item, pyatspi.STATE_SHOWING)
                for popup in bar["Edit"] for item in popup or ()), 5)
            p.key("p")

        fill("RxyFld", RXY, rxy, "-.2")
        paste_then_undo("Edit > Paste by Alt+E, P", "RxyFld", rxy, "-.2", edit_paste, "-.21234")

        # ---- the Menu key ----
        # The result field has no key filter: there the Menu key opens the field's menu, which shows
        # as a window of its own; that is what an input field must not do.
        p.click(main, RD)
        wait_until("the focus in RdFld", lambda: p.has(rd, pyatspi.STATE_FOCUSED), 5)
        mark = p.w.mark()
        p.key("Menu")
        menu = p.w.wait_map("RdFld's menu", mark, 5)
        checks.check(p.bells_since(mark) == 0, "the Menu key on RdFld opens its menu, without a bell",
                     f"{p.bells_since(mark)} bells")
        p.key("Escape")
        p.w.wait_unmap("RdFld's menu to close", menu.window, mark, 5)

        fill("RxxFld", RXX, rxx, ".5")
        mark = p.w.mark()
        p.key("Menu")
        # The digit after it goes in once the Menu key has been dealt with, unless a menu took it.
        p.type("5")
        wait_until("the key after Menu in RxxFld, or a menu",
                   lambda: p.text(rxx) == ".55" or p.w.since(mark, "map"), 5)
        p.w.sync()
        checks.check(not p.w.since(mark, "map"), "the Menu key in RxxFld opens no menu",
                     f"windows mapped: {p.w.since(mark, 'map')}, RxxFld holds {p.text(rxx)!r}")
        bells = p.bells_since(mark)
        checks.check(bells == 1, "the Menu key in RxxFld rings exactly one bell", f"{bells} bells")
        checks.check(p.text(rxx) == ".55", "the Menu key leaves RxxFld's text and keyboard as they were",
                     f"RxxFld holds {p.text(rxx)!r} after Menu, 5")

        # ---- Alt, another window, and back ----
        fill("RxxFld", RXX, rxx, ".85")
        p.key("ctrl+a")
        wait_until(".85 selected in RxxFld", lambda: selected_text(rxx) == [".85"], 5)
        p.key("alt")
        wait_until("the menu bar to take the keyboard", lambda: p.has(bar["File"], pyatspi.STATE_FOCUSED)
                   and not p.has(rxx, pyatspi.STATE_FOCUSED), 5)
        mark = p.w.mark()
        p.click(main, HELP)
        help_map = p.wait_window("the help window", mark, 10, name=HELP_TITLE)
        help_frame = wait_until("the help window on the accessibility bus", lambda: p.frames(HELP_TITLE), 5)[0]
        wait_until("the help window active", lambda: active(help_map.window, help_frame), 5)
        activate(main["window"], parts["frame"], "the main window")
        checks.check(soon(lambda: p.has(rxx, pyatspi.STATE_FOCUSED)),
                     "RxxFld has the keyboard again when its window comes back after Alt and the help window",
                     f"RxxFld [{states(rxx)}], File [{states(bar['File'])}]")
        p.type("5")
        checks.check(soon(lambda: p.text(rxx) == "5"), "a digit typed then replaces the selected .85 in RxxFld",
                     f"RxxFld holds {p.text(rxx)!r}")


def run_quit_on_splash(desktop, binary, out_dir, checks):
    with run_of(desktop, binary, out_dir, "run-quit", checks) as p:
        splash, _, press = key_on_splash(desktop, p, "ctrl+q")
        # Well before the timer: a hand-over now could only come from the key.
        checks.check(press.t - p.t_exec < SPLASH_PERIOD - 1.0, "Ctrl+Q reaches the splash before its timer",
                     f"{press.t - p.t_exec:.3f} s after exec")
        try:
            status = p.proc.wait(5)
        except subprocess.TimeoutExpired:
            raise Failure("Ctrl+Q on the splash did not end the program within 5 s")
        checks.check(status == 0, "Ctrl+Q on the splash ends the program with status 0", f"status {status}")
        p.w.sync()
        others = [e for e in p.w.since(p.start_mark, "map") if e.window != splash.window]
        checks.check(not others, "no window but the splash was ever mapped (no main window)", others)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", required=True, help="folder for the logs and the screenshot")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    started = time.monotonic()
    checks = Checks()
    desktop = xsession.Desktop(args.probe)
    try:
        # pyatspi finds the buses through the environment when it is first imported.
        os.environ.update(desktop.env)
        import pyatspi  # noqa: F401
        run_timer_handover(desktop, args.program, args.out, checks)
        run_key_handover(desktop, args.program, args.out, checks)
        run_quit_on_splash(desktop, args.program, args.out, checks)
        run_edit_menu(desktop, args.program, args.out, checks)
        run_keyboard_and_clipboard(desktop, args.program, args.out, checks)
    finally:
        desktop.close()
    print(f"# end-to-end took {time.monotonic() - started:.1f} s")
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 0 if checks.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
