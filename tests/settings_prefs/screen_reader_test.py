#!/usr/bin/python3
"""The Options sheet read by a screen reader, in the real program.

Starts the program in a private D-Bus session with the accessibility bus and
reads its windows as a screen reader does (AT-SPI: each object's name, role,
states, relations, text and actions, on every walk and for every event):
cancels the Connect dialog, opens Edit > Options by keyboard, shows both
pages, cancels the sheet and ends the program by File > Exit. Passes when the
program wrote no GTK, GDK, GLib or ATK warning or critical message.

    screen_reader_test.py TARNWELL

Exits 77 (skipped) when a part is missing: a display, xdotool,
dbus-run-session, the AT-SPI bus or its introspection data (Debian:
dbus-bin, dbus-daemon, at-spi2-core, python3-gi, gir1.2-atspi-2.0).
"""

import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import warnings

DEADLINE = 30  # seconds for any one step
PR_SET_CHILD_SUBREAPER = 36
TOOLKIT_MESSAGE = re.compile(r"\b(Gtk|Gdk|GLib|GLib-GObject|GLib-GIO|Atk|atk-bridge)-(CRITICAL|WARNING)\b")


def missing_part():
    if not os.environ.get("DISPLAY"):
        return "no display (run under Xvfb)"
    for tool in ("xdotool", "dbus-run-session"):
        if shutil.which(tool) is None:
            return tool + " is not installed"
    if not os.path.exists("/usr/share/dbus-1/services/org.a11y.Bus.service"):
        return "the AT-SPI bus (at-spi2-core) is not installed"
    try:
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi  # noqa: F401
    except (ImportError, ValueError) as error:
        return "no AT-SPI for Python (python3-gi, gir1.2-atspi-2.0): %s" % error
    return None


class Reader:
    """What a screen reader asks of the program's accessible objects."""

    def __init__(self, program):
        from gi.repository import Atspi, GLib

        self.Atspi = Atspi
        self.context = GLib.MainContext.default()
        self.program = program
        self.listener = Atspi.EventListener.new(lambda event: self.describe_up(event.source))
        for event in ("focus:", "object:state-changed", "object:children-changed", "object:property-change",
                      "object:text-changed", "object:selection-changed", "window:"):
            self.listener.register(event)
        name = os.path.basename(program.args[0])
        self.app = self.wait_for(lambda: self.child(Atspi.get_desktop(0), name), "the program on the bus")

    def wait_for(self, condition, what):
        end = time.monotonic() + DEADLINE
        while True:
            self.context.iteration(False)  # delivers the events
            result = condition()
            if result:
                return result
            if self.program.poll() is not None:
                raise AssertionError("the program ended with %d before %s" % (self.program.returncode, what))
            if time.monotonic() > end:
                raise AssertionError("timed out waiting for " + what)
            time.sleep(0.02)

    @staticmethod
    def children(node):
        return [c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c is not None]

    def child(self, node, name):
        return next((c for c in self.children(node) if c.get_name() == name), None)

    def window(self, title):
        return self.child(self.app, title)

    def describe(self, node):
        for call in (node.get_name, node.get_role_name, node.get_description, node.get_state_set,
                     node.get_attributes, node.get_index_in_parent, node.get_interfaces):
            call()
        for relation in node.get_relation_set():
            for k in range(relation.get_n_targets()):
                relation.get_target(k).get_name()
        if node.get_text_iface():
            node.get_text_iface().get_text(0, -1)
        if node.get_component_iface():
            node.get_component_iface().get_extents(self.Atspi.CoordType.SCREEN)
        if node.get_selection_iface():
            node.get_selection_iface().get_n_selected_children()
        action = node.get_action_iface()
        for k in range(action.get_n_actions() if action else 0):
            action.get_action_name(k)
            action.get_key_binding(k)

    def describe_up(self, node):
        try:
            while node is not None:
                self.describe(node)
                node = node.get_parent()
        except Exception:  # an object that went away meanwhile
            pass

    def read(self, node=None):
        """Walks the tree below node, the whole program by default."""
        try:
            self.describe(node or self.app)
            for child in self.children(node or self.app):
                self.read(child)
        except Exception:  # an object that went away meanwhile
            pass

    def find(self, node, role, name):
        if node.get_role_name() == role and node.get_name() == name:
            return node
        return next(filter(None, (self.find(c, role, name) for c in self.children(node))), None)

    def press(self, window, button):
        self.find(window, "push button", button).get_action_iface().do_action(0)

    def keys(self, *sequence):
        """Types keys into the main window."""
        def xdotool(*arguments):
            return subprocess.run(("xdotool",) + arguments, capture_output=True, text=True, check=True,
                                  timeout=DEADLINE).stdout
        window = xdotool("search", "--sync", "--onlyvisible", "--name", " - Tarnwell").split()[0]
        xdotool("windowfocus", "--sync", window)
        for key in sequence:
            xdotool("key", key)


def read_options_sheet(reader):
    reader.wait_for(lambda: reader.window("Connect"), "the Connect dialog")
    reader.read()
    reader.press(reader.window("Connect"), "Cancel")
    reader.wait_for(lambda: not reader.window("Connect"), "the Connect dialog to close")
    reader.read()

    reader.keys("alt+e", "o")
    sheet = reader.wait_for(lambda: reader.window("Options"), "the Options sheet")
    reader.read()
    font = reader.find(sheet, "page tab", "Font")
    font.get_parent().get_selection_iface().select_child(font.get_index_in_parent())
    reader.wait_for(lambda: font.get_state_set().contains(reader.Atspi.StateType.SELECTED), "the Font page")
    reader.read()
    reader.press(sheet, "Cancel")
    reader.wait_for(lambda: not reader.window("Options"), "the Options sheet to close")
    reader.read()
    reader.keys("alt+f", "x")


def run_in_session(tarnwell):
    # The session's daemons write to the session's discarded output; this
    # script reports to the caller's.
    report = int(os.environ["TARNWELL_A11Y_SESSION"])
    os.dup2(report, sys.stdout.fileno())
    os.dup2(report, sys.stderr.fileno())
    warnings.simplefilter("ignore", DeprecationWarning)
    import gi

    gi.require_version("Atspi", "2.0")

    env = {k: v for k, v in os.environ.items() if k != "NO_AT_BRIDGE"}
    env.update(TARNWELL_NO_RECOVERY="1", ASAN_OPTIONS=env.get("ASAN_OPTIONS", "") + ":detect_leaks=0")
    with tempfile.TemporaryFile("w+", errors="replace") as log:
        program = subprocess.Popen([tarnwell], env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        try:
            read_options_sheet(Reader(program))
            status = program.wait(timeout=DEADLINE)
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
            log.seek(0)
            output = log.read()
            print("The program wrote:\n" + output)

    messages = [line for line in output.splitlines() if TOOLKIT_MESSAGE.search(line)]
    if messages or status != 0:
        sys.exit("FAILED: exit status %d, %d toolkit messages" % (status, len(messages)))


def hold_display():
    """Keeps a connection to the display open until this process ends.

    An X server that loses its last client resets and turns away whoever
    connects meanwhile. Held open, the display does not reset while the
    program, xdotool and the accessibility daemons come and go; the first
    connection waits out a reset that whatever ran before began.
    """
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    end = time.monotonic() + DEADLINE
    while not x11.XOpenDisplay(None):
        if time.monotonic() > end:
            sys.exit("cannot open the display " + os.environ["DISPLAY"])
        time.sleep(0.05)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    tarnwell = os.path.abspath(sys.argv[1])
    if "TARNWELL_A11Y_SESSION" in os.environ:
        run_in_session(tarnwell)
        return
    reason = missing_part()
    if reason:
        print("SKIP: " + reason)
        sys.exit(77)
    # A private session bus, from which the program starts its own
    # accessibility bus. Their daemons are clients of the display too and
    # end a moment after the session: they become this process's children
    # then, and it waits for them, holding the display meanwhile.
    hold_display()
    ctypes.CDLL(None).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    report = os.dup(sys.stdout.fileno())
    with tempfile.TemporaryDirectory() as folder:
        # The daemons' sockets and the program's settings, history and
        # desktop files go into this folder.
        env = dict(os.environ, TARNWELL_A11Y_SESSION=str(report))
        env.setdefault("XAUTHORITY", os.path.expanduser("~/.Xauthority"))
        for name in ("HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME",
                     "XDG_CACHE_HOME"):
            env[name] = os.path.join(folder, name.lower())
            os.mkdir(env[name], 0o700)
        command = ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), tarnwell]
        status = subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                pass_fds=(report,)).returncode
        end = time.monotonic() + DEADLINE
        while time.monotonic() < end:
            try:
                if os.waitpid(-1, os.WNOHANG)[0] == 0:
                    time.sleep(0.02)
            except ChildProcessError:  # none left
                break
    sys.exit(status)


if __name__ == "__main__":
    main()
