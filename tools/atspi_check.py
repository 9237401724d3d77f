#!/usr/bin/python3
"""Checks the tool as a screen reader meets it: through AT-SPI, on the real binary.

Runs qx-zenk-rx under Xvfb in a private D-Bus session with the Linux accessibility bridge on,
against qx-zenk-sim on a pseudo-terminal, and checks with the accessibility tree alone:

  - on each page, every shown list, button, text box, option button and check box has a
    non-empty name that no other such control on that page has, also once the lists show
    values read back from the receiver;
  - the page titles are option buttons, only the shown page's one checked;
  - the page keys Ctrl+1/2/3 switch pages and focus the page's title, and a receiver option
    can be chosen with Tab and the arrow keys alone (the simulator receives the command);
  - a read-back value (firmware version) and a failure notice reach the screen reader as events.

Usage: atspi_check.py <qx-zenk-rx> <qx-zenk-sim>
Exit status 0 when every check holds, 1 when one fails, 77 when AT-SPI, Xvfb or D-Bus are not
available here (the test is then skipped).
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import warnings

SKIP = 77
PAGES = [("1", "Projector page", "Projector Command Settings"),
         ("2", "ZENK Receiver page", "ZENK Receiver Controls"),
         ("3", "Control Panel page", "Menu key")]
INTERACTIVE = {"push button", "combo box", "text", "entry", "radio button", "check box",
               "toggle button", "spin button", "password text"}
# X keysyms of the keys the check presses.
KEYSYM = {"1": 0x31, "2": 0x32, "3": 0x33, "Tab": 0xFF09, "Down": 0xFF54}
CONTROL_MASK = 1 << 2


def skip(why):
    print("SKIP:", why)
    sys.exit(SKIP)


def load_atspi():
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, GLib
        return Atspi, GLib
    except (ImportError, ValueError) as e:
        skip(f"python3-gi with gir1.2-atspi-2.0 is needed ({e})")


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    load_atspi()
    for tool in ("Xvfb", "dbus-run-session", "dbus-update-activation-environment"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed")
    dirs = os.environ.get("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(":")
    if not any(os.path.exists(os.path.join(d, "dbus-1/services/org.a11y.Bus.service"))
               for d in dirs):
        skip("the accessibility bus (at-spi2-core) is not installed")
    if os.environ.get("QX_ATSPI_SESSION") != "1":
        # A private session bus: the accessibility bus is started on it on demand.
        env = dict(os.environ, QX_ATSPI_SESSION="1")
        return subprocess.call(["dbus-run-session", "--", sys.executable, *sys.argv], env=env)
    return Session(sys.argv[1], sys.argv[2]).run()


class Session:
    def __init__(self, app, sim):
        self.Atspi, self.GLib = load_atspi()
        self.app_path = os.path.abspath(app)
        self.sim_path = os.path.abspath(sim)
        self.failures = []
        self.events = []
        self.procs = []

    # ---- processes

    def start(self, args, **kw):
        p = subprocess.Popen(args, **kw)
        self.procs.append(p)
        return p

    def prepare(self, tmp):
        # The program directory is the executable's: the binary and its data files side by side.
        prog = os.path.join(tmp, "prog")
        os.mkdir(prog)
        src = os.path.dirname(self.app_path)
        for f in os.listdir(src):
            if os.path.splitext(f)[1] in (".png", ".gif", ".bmp", ".txt"):
                shutil.copy(os.path.join(src, f), prog)
        shutil.copy(self.app_path, prog)
        self.record = os.path.join(tmp, "rx.hex")
        # The projector port settings are never answered, so reading them ends in a failure
        # notice.
        sim = self.start([self.sim_path, "--quiet", "--link", os.path.join(prog, "COM1"),
                          "--record", self.record, "--silent-word", "DisplaySet"],
                         stdout=subprocess.PIPE, text=True)
        if not sim.stdout.readline():
            raise RuntimeError("qx-zenk-sim did not start")
        read_fd, write_fd = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                    "-nolisten", "tcp"], pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            display = f.readline().strip()
        if not display:
            skip("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + display
        # The accessibility bus and its registry start on demand from the session bus; they need
        # the display to synthesise key presses.
        subprocess.call(["dbus-update-activation-environment", "DISPLAY=:" + display],
                        stderr=subprocess.DEVNULL)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        self.app = self.start([os.path.join(prog, os.path.basename(self.app_path))], env=env,
                              stderr=subprocess.DEVNULL)

    def stop(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()

    # ---- waiting: the GLib loop delivers AT-SPI events while it sleeps

    def wait_until(self, done, bound=10.0):
        """Runs the event loop until done() holds; the bound only keeps a broken tool from
        hanging the check."""
        ctx = self.GLib.MainContext.default()
        timer = self.GLib.timeout_add(50, lambda: True)
        end = time.monotonic() + bound
        try:
            while True:
                result = done()
                if result or time.monotonic() > end:
                    return result
                ctx.iteration(True)
        finally:
            self.GLib.source_remove(timer)

    # ---- the tree

    def application(self):
        desktop = self.Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            a = desktop.get_child_at_index(i)
            if a is not None and a.get_name() == "QX-ZENK-RX":
                return a
        return None

    def showing(self, node):
        return node.get_state_set().contains(self.Atspi.StateType.SHOWING)

    def shown_nodes(self, node, out=None):
        """Every shown node below node; nothing below a node that is not shown."""
        out = [] if out is None else out
        for i in range(node.get_child_count()):
            c = node.get_child_at_index(i)
            if c is None or not self.showing(c):
                continue
            out.append(c)
            self.shown_nodes(c, out)
        return out

    def find(self, role, name):
        for n in self.shown_nodes(self.app_node):
            if n.get_role_name() == role and n.get_name() == name:
                return n
        return None

    def focused(self):
        for n in self.shown_nodes(self.app_node):
            if n.get_state_set().contains(self.Atspi.StateType.FOCUSED):
                return n
        return None

    def press_action(self, node):
        Action = self.Atspi.Action
        for i in range(Action.get_n_actions(node)):
            with warnings.catch_warnings():  # its successor clashes with Accessible.get_name
                warnings.simplefilter("ignore", DeprecationWarning)
                name = Action.get_action_name(node, i)
            if name.lower() in ("press", "click"):
                return Action.do_action(node, i)
        return False

    # ---- the keyboard (XTest through the accessibility registry)

    def key(self, name, ctrl=False):
        A = self.Atspi
        if ctrl:
            A.generate_keyboard_event(CONTROL_MASK, None, A.KeySynthType.LOCKMODIFIERS)
        A.generate_keyboard_event(KEYSYM[name], None, A.KeySynthType.SYM)
        if ctrl:
            A.generate_keyboard_event(CONTROL_MASK, None, A.KeySynthType.UNLOCKMODIFIERS)
        self.wait_until(lambda: False, 0.3)  # let the tool take the key

    # ---- checks

    def check(self, ok, what):
        print(("ok   " if ok else "FAIL ") + what)
        if not ok:
            self.failures.append(what)

    def check_names(self, page):
        seen = {}
        bad = []
        for n in self.shown_nodes(self.app_node):
            role = n.get_role_name()
            if role not in INTERACTIVE:
                continue
            name = (n.get_name() or "").strip()
            if not name:
                bad.append(f"a {role} without a name")
            elif name in seen:
                bad.append(f"a {role} and a {seen[name]} both called {name!r}")
            seen.setdefault(name, role)
        self.check(seen and not bad,
                   f"{page}: {len(seen)} controls, each with a name of its own"
                   + "".join("\n     " + b for b in bad))

    def received(self):
        try:
            with open(self.record) as f:
                return [bytes.fromhex(line.strip()).decode("latin-1") for line in f if line.strip()]
        except OSError:
            return []

    def run(self):
        A = self.Atspi
        tmp = tempfile.mkdtemp(prefix="qx-atspi-")
        try:
            self.prepare(tmp)
            self.app_node = self.wait_until(self.application, 20)
            if not self.app_node:
                self.check(False, "the tool shows up on the accessibility bus")
                return 1
            listener = A.EventListener.new(self.on_event)
            for ev in ("object:property-change:accessible-name", "object:state-changed:showing"):
                listener.register(ev)
            window = self.wait_until(lambda: self.find("radio button", "Projector page"), 10)
            self.check(window is not None, "the window is up")

            # The receiver page.
            self.show_page(*PAGES[1])
            # A read-back value: Get fills the firmware labels, status text whose name changes.
            self.events.clear()
            self.press("Get firmware versions", "WP_BaudrateTx[?]$\r")
            fw = self.wait_until(lambda: any(
                e[0] == "object:property-change:accessible-name" and e[1] == "status bar"
                and e[2].startswith("TX firmware version: ") for e in self.events), 5)
            self.check(fw, "the firmware version is announced as it changes")
            # Every list showing a value read back: lists showing the same entry keep their names.
            self.press("Read receiver settings", "WP_BaudrateTx[?]$\r")
            self.press("Read picture adjustments", "WP_PictureSha[?]$\r")
            self.check_names(PAGES[1][1])
            # A receiver option with the keyboard alone: Tab to Aspect, Down picks an entry.
            for _ in range(30):
                f = self.focused()
                if f is not None and f.get_name() == "Aspect":
                    break
                self.key("Tab")
            self.check(f is not None and f.get_name() == "Aspect", "Tab reaches the Aspect list")
            before = len(self.received())
            self.key("Down")
            sent = lambda: [l for l in self.received()[before:]
                            if l.startswith("WP_Aspect[") and "?" not in l]
            self.check(self.wait_until(sent, 5), f"Down on Aspect sends the choice ({sent()})")

            # The projector page: its lists hold values read back too.
            self.show_page(*PAGES[0])
            self.check_names(PAGES[0][1])
            # The receiver leaves the projector port query unanswered: the failure notice
            # appears and is announced.
            self.events.clear()
            self.press("Read projector commands", None)
            notice = self.wait_until(lambda: any(
                e[0] == "object:state-changed:showing" and e[1] == "notification" and e[3] == 1
                and e[2] == "Read fail !" for e in self.events), 5)
            self.check(notice, "the failure notice is announced as it appears")

            self.show_page(*PAGES[2])
            self.check_names(PAGES[2][1])
            listener.deregister("object:property-change:accessible-name")
            listener.deregister("object:state-changed:showing")
        finally:
            self.stop()
            shutil.rmtree(tmp, ignore_errors=True)
        print("FAILED: %d check(s)" % len(self.failures) if self.failures else "all checks hold")
        return 1 if self.failures else 0

    def show_page(self, digit, title, marker):
        self.key(digit, ctrl=True)
        shown = self.wait_until(
            lambda: any(n.get_name() == marker for n in self.shown_nodes(self.app_node)), 5)
        self.check(shown, f"Ctrl+{digit} shows the {title}")
        f = self.focused()
        self.check(f is not None and f.get_name() == title,
                   f"Ctrl+{digit} puts the focus on {title!r} ({f.get_name() if f else None!r})")
        checked = [t for _, t, _ in PAGES if (n := self.find("radio button", t)) is not None
                   and n.get_state_set().contains(self.Atspi.StateType.CHECKED)]
        self.check(checked == [title], f"only {title!r} is checked ({checked})")

    def press(self, name, last_line):
        """Presses a button through its action and, when last_line is given, waits until the
        receiver has got that line once more and the button is enabled again: its work is done.
        (Qt presses a button a moment later, so one press must not overlap the next.)"""
        button = self.find("push button", name)
        before = self.received().count(last_line)
        self.check(button is not None and self.press_action(button), f"press {name!r}")
        if button is None or last_line is None:
            return
        enabled = lambda: button.get_state_set().contains(self.Atspi.StateType.ENABLED)
        self.check(self.wait_until(
            lambda: self.received().count(last_line) > before and enabled(), 15),
            f"{name!r} is done")

    def on_event(self, e):
        try:
            src = e.source
            self.events.append((e.type, src.get_role_name(), src.get_name() or "", e.detail1))
        except Exception:  # a source gone meanwhile tells nothing
            pass


if __name__ == "__main__":
    sys.exit(main())
