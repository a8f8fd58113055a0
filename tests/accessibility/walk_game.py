#!/usr/bin/python3
"""The game as a screen reader finds it.

Starts the real program under a private X server and a private session bus
with the accessibility bus of at-spi2-core, switched on as a screen reader
switches it on, and walks what the program shows there with pyatspi, in
German and in English: the language question, the main window with the
board, the messages, the high-score table, the information window and the
options, in which the language is switched.

It fails on a control or window without a name (and says which), on a button
that cannot take the focus, on a window whose place on the screen is not
where the window is, on names that do not follow the language, and on a
board whose description does not change when a key moves the tile in hand
or when a lay is refused.

Run by CTest:  walk_game.py --game build/bin/tangrix --artifacts DIR
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SCREEN = "1280x1024x24"
PATIENCE = 30.0  # seconds; polls end as soon as the answer is there

# Roles that are only containers or decoration and need no name of their own.
UNNAMED_ROLES = {"filler", "panel", "unknown", "redundant object"}
WINDOW_ROLES = {"frame", "dialog", "window"}
PRESSABLE_ROLES = {"push button", "check box", "toggle button"}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def poll(condition, what, timeout=PATIENCE):
    """Asks until the answer is true, letting events in meanwhile; gives it."""
    from gi.repository import GLib
    end = time.monotonic() + timeout
    context = GLib.MainContext.default()
    while True:
        while context.pending():
            context.iteration(False)
        answer = condition()
        if answer:
            return answer
        if time.monotonic() > end:
            raise Failure("waited in vain for " + what)
        time.sleep(0.1)


# --- the private X server and session bus ------------------------------------------

def start_window_manager(env, log_path):
    """openbox, as a desktop has one: it frames the windows and hands out the
    focus, so that the keyboard is where a player's would be."""
    log = open(log_path, "w")
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=log, stderr=subprocess.STDOUT)
    end = time.monotonic() + PATIENCE
    while time.monotonic() < end and wm.poll() is None:
        root = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                              capture_output=True, text=True).stdout
        if "#" in root:
            return wm
        time.sleep(0.1)
    wm.kill()
    raise Failure("openbox does not come up")


def run_in_private_session(args, artifacts):
    """Starts Xvfb with a window manager, then this script again inside a
    fresh session bus on it."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN,
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as display_number:
            number = display_number.readline().strip()
        if not number:
            print("Xvfb gave no display number", file=sys.stderr)
            return 1
        home = tempfile.mkdtemp(prefix="tangrix-a11y-home-")
        env = dict(os.environ)
        # Nothing of the user's: no desktop settings, no other sound or session.
        env.update({"DISPLAY": ":" + number, "HOME": home, "XDG_CONFIG_HOME": home + "/config",
                    "XDG_CACHE_HOME": home + "/cache", "XDG_DATA_HOME": home + "/data",
                    "XDG_RUNTIME_DIR": home, "GSETTINGS_BACKEND": "memory",
                    "TANGRIX_A11Y_INSIDE": "1"})
        for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "PULSE_SERVER",
                     "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "WAYLAND_DISPLAY"):
            env.pop(name, None)
        os.chmod(home, 0o700)
        os.makedirs(artifacts, exist_ok=True)
        wm = start_window_manager(env, os.path.join(artifacts, "openbox.txt"))
        try:
            return subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv[0:1] + args, env=env)
        finally:
            wm.terminate()
            wm.wait(10)
            shutil.rmtree(home, ignore_errors=True)
    finally:
        xvfb.terminate()
        try:
            xvfb.wait(10)
        except subprocess.TimeoutExpired:
            xvfb.kill()


def switch_accessibility_on():
    """What a screen reader does: the session's accessibility status goes on.
    The call also starts the accessibility bus."""
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, 20000, None)


def registered_events():
    """The events that listeners have registered with the accessibility registry."""
    from gi.repository import Gio, GLib
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 10000, None).unpack()[0]
    a11y = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
        None, None)
    try:
        reply = a11y.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/registry", "org.a11y.atspi.Registry",
                               "GetRegisteredEvents", None, None, Gio.DBusCallFlags.NONE, 10000, None)
        return [entry[1] for entry in reply.unpack()[0]]
    finally:
        a11y.close_sync(None)


# --- X windows, keys ------------------------------------------------------------------

def x_windows():
    """The named windows: name -> [(x, y, width, height) on the screen]."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    windows = {}
    for line in tree.splitlines():
        m = re.match(r'\s+0x[0-9a-f]+ "(.*)": \(.*\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
        if m:
            windows.setdefault(m.group(1), []).append(
                (int(m.group(4)), int(m.group(5)), int(m.group(2)), int(m.group(3))))
    return windows


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), check=True)


# --- the accessible tree ----------------------------------------------------------------

class Walker:
    def __init__(self, game_pid):
        import pyatspi
        self.atspi = pyatspi
        self.pid = game_pid
        self.description_events = []
        pyatspi.Registry.registerEventListener(self._on_description,
                                               "object:property-change:accessible-description")
        # A screen reader listens long before a game starts; here the game
        # starts at once, so it must find the listener registered already.
        poll(lambda: any("accessibledescription" in name.lower().replace("-", "")
                         for name in registered_events()),
             "the description listener at the registry", timeout=10)

    def _on_description(self, event):
        try:
            if event.source.getRoleName() == "canvas":
                self.description_events.append(event.source.description)
        except Exception:  # the object may be gone meanwhile
            pass

    def app(self):
        desktop = self.atspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.pid:
                    return app
            except Exception:
                continue
        return None

    def showing(self, acc):
        return acc.getState().contains(self.atspi.STATE_SHOWING)

    def windows(self):
        app = self.app()
        if app is None:
            return []
        found = []
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and self.showing(w):
                found.append(w)
        return found

    def window(self, role, name=None):
        def find():
            for w in self.windows():
                if w.getRoleName() == role and (name is None or w.name == name):
                    return w
            return None
        shown = lambda: ", ".join(f"{w.getRoleName()} '{w.name}'" for w in self.windows())
        try:
            return poll(find, f"a {role} named '{name}'")
        except Failure as f:
            raise Failure(f"{f}; showing: {shown() or 'nothing'}")

    def descendants(self, acc, path=""):
        """Every showing object under acc, with a path that names where it is."""
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child is None or not self.showing(child):
                continue
            where = f"{path}/{child.getRoleName()}[{i}]"
            yield child, where
            yield from self.descendants(child, where)

    def extents(self, acc):
        e = acc.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        return (e.x, e.y, e.width, e.height)

    def find(self, root, role, name=None):
        for acc, _ in self.descendants(root):
            if acc.getRoleName() == role and (name is None or acc.name == name):
                return acc
        names = [f"{a.getRoleName()} '{a.name}'" for a, _ in self.descendants(root)]
        raise Failure(f"no {role} named '{name}' in '{root.name}'; there are: {names}")

    def press(self, acc):
        """Presses by the accessible action; the caller waits for what it does
        (a press that ends the game may end it before the answer arrives)."""
        action = acc.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        for i, name in enumerate(names):
            if name.lower() in ("press", "toggle"):
                try:
                    action.doAction(i)
                except Exception:
                    pass
                return
        raise Failure(f"'{acc.name}' has no press action, only {names}")

    # --- the checks that apply to every window ---------------------------------------

    def check_window(self, window, expected_name):
        check(window.name == expected_name, f"{window.getRoleName()} named '{window.name}', not '{expected_name}'")
        # The place it reports must be the X window's own, once the window
        # manager has put the window on the screen.
        def placed():
            where = tuple(self.extents(window))
            return where if where in (x_windows().get(window.name) or []) else None
        try:
            poll(placed, f"'{window.name}' to report its place on the screen", timeout=10)
        except Failure:
            where = tuple(self.extents(window))
            check(where[:2] != (0, 0), f"'{window.name}' says it is at 0,0 ({where})")
            raise Failure(f"'{window.name}' says it is at {where}, the screen shows it at "
                          f"{x_windows().get(window.name)}")
        unnamed = []
        for acc, path in self.descendants(window):
            role = acc.getRoleName()
            if role not in UNNAMED_ROLES and not acc.name.strip():
                unnamed.append(f"{path} at {self.extents(acc)}")
            if role in PRESSABLE_ROLES:
                state = acc.getState()
                check(state.contains(self.atspi.STATE_FOCUSABLE) or not state.contains(self.atspi.STATE_ENABLED),
                      f"'{acc.name}' ({role}) in '{window.name}' cannot take the focus")
        check(not unnamed, f"unnamed in '{window.name}': " + "; ".join(unnamed))

    def dump(self, out):
        """The whole tree of the game as it stands, for the artefacts of a failed run."""
        def one(acc, depth):
            try:
                state = acc.getState()
                flags = [n for n, s in (("showing", self.atspi.STATE_SHOWING), ("focused", self.atspi.STATE_FOCUSED),
                                        ("focusable", self.atspi.STATE_FOCUSABLE), ("checked", self.atspi.STATE_CHECKED))
                         if state.contains(s)]
                try:
                    where = self.extents(acc)
                except Exception:
                    where = None
                print("  " * depth + f"{acc.getRoleName()} '{acc.name}' {flags} {where} "
                      f"description '{acc.description}'", file=out)
                for i in range(acc.childCount):
                    child = acc.getChildAtIndex(i)
                    if child is not None:
                        one(child, depth + 1)
            except Exception as e:
                print("  " * depth + f"(gone: {e})", file=out)
        app = self.app()
        if app is not None:
            one(app, 0)

    def names(self, root, role):
        return [acc.name for acc, _ in self.descendants(root) if acc.getRoleName() == role]


# --- the walk --------------------------------------------------------------------------

TEXTS = {
    "de": {"frame": "Tangrix V2.1", "board": "Spielfeld", "time": "Restzeit",
           "tools": ["Neues Spiel", "Pause", "Bestenliste", "Einstellungen", "Über Tangrix", "Spielregeln", "Beenden"],
           "level": "Stufe 1,", "place": "Spalte {}, Reihe {}:", "refused": "Passt hier nicht.",
           "next": "Nächster Stein:", "pause": "Spiel angehalten. Weitermachen?",
           "give up": "Willst Du die Partie wirklich aufgeben?", "yes": "Ja", "no": "Nein",
           "table": "Tangrix - Bestenliste", "clear": "alle Einträge löschen", "info": "Über Tangrix",
           "options": "Einstellungen", "sound": "Geräusche", "music": "Musik", "language": "Sprache ändern"},
    "en": {"frame": "Tangrix V2.1", "board": "Board", "time": "Time left",
           "tools": ["New game", "Pause", "High scores", "Options", "About Tangrix", "Rules", "Quit"],
           "level": "Level 1,", "place": "column {}, row {}:", "refused": "Does not fit here.",
           "next": "Next tile:", "pause": "Game paused. Continue?",
           "give up": "Do you really want to give up the game?", "yes": "Yes", "no": "No",
           "table": "Tangrix - Highscore", "clear": "remove all entries", "info": "About Tangrix",
           "options": "Options", "sound": "Sound effects", "music": "Music", "language": "Change language"},
}


class Walk:
    def __init__(self, walker, log):
        self.w = walker
        self.log = log

    def say(self, text):
        print(text, file=self.log, flush=True)

    def language_question(self):
        dialog = self.w.window("dialog", "Sprache – Language")
        self.w.check_window(dialog, "Sprache – Language")
        german = self.w.find(dialog, "push button", "Ich spreche deutsch")
        self.w.find(dialog, "push button", "I speak English")
        self.w.press(german)
        poll(lambda: not self.w.showing(dialog), "the language question to close")
        self.say("language question: named, German chosen by its press action")

    def main_window(self, t):
        frame = self.w.window("frame", t["frame"])
        self.w.check_window(frame, t["frame"])
        buttons = self.w.names(frame, "push button")
        check(buttons == t["tools"], f"tool strip buttons named {buttons}, not {t['tools']}")
        board = self.w.find(frame, "canvas", t["board"])
        check(board.getState().contains(self.w.atspi.STATE_FOCUSED), "the board does not have the keyboard")
        check(t["level"] in board.description, f"the board's description '{board.description}' names no level")
        bar = self.w.find(board, "progress bar", t["time"])
        value = bar.queryValue()
        check((value.minimumValue, value.maximumValue) == (0, 100),
              f"the time bar goes from {value.minimumValue} to {value.maximumValue}")
        first = value.currentValue
        check(0 < first <= 100, f"the time bar shows {first}")
        poll(lambda: value.currentValue < first, "the time bar to follow the clock", timeout=10)
        self.say(f"main window: named, board '{board.name}': {board.description}")
        return frame, board

    def board_follows_keys(self, t, board):
        """Each key that moves the tile in hand, and a refused lay, must change
        the description, and a screen reader must be told."""
        events_before = len(self.w.description_events)
        changes = 0

        def after(keys, expected, what):
            nonlocal changes
            before = board.description
            key(*keys)
            text = poll(lambda: board.description if (board.description != before and expected in board.description)
                        else None, f"'{expected}' in the board's description after {what} (it reads '{board.description}')")
            changes += 1
            self.say(f"  {what}: {text}")

        # The tile appears where the keys last put one: at first the centre.
        pattern = re.escape(t["place"]).replace(re.escape("{}"), r"(\d)")
        key("space")
        place = poll(lambda: re.search(pattern, board.description), "a tile in hand on a place after Space")
        column, row = int(place.group(1)), int(place.group(2))
        changes += 1
        self.say(f"  Space (take the next tile): {board.description}")
        if column < 7:
            after(["Right"], t["place"].format(column + 1, row), "Right")
            column += 1
        while column > 1:
            column -= 1
            after(["Left"], t["place"].format(column, row), "Left")
        while row > 1:
            row -= 1
            after(["Up"], t["place"].format(column, row), "Up")
        # Nothing touches the corner: the lay is refused, and the tile stays in hand.
        after(["space"], t["refused"], "Space (a lay where nothing touches)")
        check(t["place"].format(1, 1) in board.description, "the refused tile is no longer in hand on the corner")
        after(["Down"], t["place"].format(1, 2), "Down after the refusal")
        check(t["refused"] not in board.description, "the refusal is still told after the tile moved")
        after(["Delete"], t["next"], "Delete (throw the tile away)")
        poll(lambda: len(self.w.description_events) - events_before >= changes,
             f"{changes} description-changed events from the board "
             f"(got {len(self.w.description_events) - events_before})")

    def message(self, t, keys, name, answer):
        key(*keys)
        dialog = self.w.window("dialog", name)
        self.w.check_window(dialog, name)
        buttons = self.w.names(dialog, "push button")
        self.say(f"message '{name}': buttons {buttons}")
        self.w.press(self.w.find(dialog, "push button", answer))
        poll(lambda: not self.w.showing(dialog), f"'{name}' to close when '{answer}' is pressed")
        return buttons

    def table(self, t):
        key("ctrl+h")
        dialog = self.w.window("dialog", t["table"])
        self.w.check_window(dialog, t["table"])
        self.w.find(dialog, "check box", t["clear"])
        self.w.find(dialog, "push button", "OK")
        key("Escape")
        poll(lambda: not self.w.showing(dialog), "the high-score table to close")
        self.say("high-score table: named")

    def info(self, t):
        key("i")
        dialog = self.w.window("dialog", t["info"])
        self.w.check_window(dialog, t["info"])
        key("Escape")
        poll(lambda: not self.w.showing(dialog), "the information window to close")
        self.say("information window: named")

    def options(self, t, switch_to=None):
        key("o")
        dialog = self.w.window("dialog", t["options"])
        self.w.check_window(dialog, t["options"])
        sound = self.w.find(dialog, "check box", t["sound"])
        self.w.find(dialog, "check box", t["music"])
        checked = lambda: sound.getState().contains(self.w.atspi.STATE_CHECKED)
        was = checked()
        for _ in range(2):
            state, label = checked(), sound.description
            self.w.press(sound)
            # The setting itself changes: the label beside the switch, its description, says so.
            poll(lambda: checked() != state and sound.description != label,
                 f"'{t['sound']}' to change from checked={state}, '{label}'")
            self.say(f"  sound switch pressed: checked={checked()}, '{sound.description}'")
        check(checked() == was, "the sound switch is not back where it was")
        if switch_to:
            self.w.press(self.w.find(dialog, "push button", t["language"]))
            u = TEXTS[switch_to]
            poll(lambda: dialog.name == u["options"], f"the options window to be renamed '{u['options']}'")
            self.w.check_window(dialog, u["options"])
            self.w.find(dialog, "check box", u["sound"])
            frame = self.w.window("frame", u["frame"])
            buttons = self.w.names(frame, "push button")
            check(buttons == u["tools"], f"after the switch the tool strip is named {buttons}")
            self.w.find(frame, "canvas", u["board"])
            self.say("options: the language switch renamed the options and the main window")
        key("Escape")
        poll(lambda: not self.w.showing(dialog), "the options window to close")

    def everything(self, t, switch_to):
        frame, board = self.main_window(t)
        self.board_follows_keys(t, board)
        check(self.message(t, ["p"], t["pause"], "OK") == ["OK"], "the pause message shows more than OK")
        buttons = self.message(t, ["ctrl+q"], t["give up"], t["no"])
        check(buttons == [t["no"], t["yes"]], f"the question's buttons are {buttons}")
        self.table(t)
        self.info(t)
        self.options(t, switch_to)


def walk(args):
    os.makedirs(args.artifacts, exist_ok=True)
    log = open(os.path.join(args.artifacts, "walk.txt"), "w")
    switch_accessibility_on()
    store = tempfile.mkdtemp(prefix="tangrix-a11y-store-")
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_CONFIG_HOME=store, TANGRIX_NO_SHOW_EFFECT="1",
               TANGRIX_SEED="7")
    output = open(os.path.join(args.artifacts, "game-output.txt"), "w")
    game = subprocess.Popen([args.game], env=env, stdout=output, stderr=subprocess.STDOUT)
    walker = None
    try:
        walker = Walker(game.pid)
        poll(lambda: walker.app() is not None or game.poll() is not None, "the game on the accessibility bus")
        check(game.poll() is None, "the game ended at once")
        steps = Walk(walker, log)
        steps.language_question()
        steps.everything(TEXTS["de"], "en")
        key("ctrl+n")  # a full clock for the second round
        steps.everything(TEXTS["en"], None)
        steps.message(TEXTS["en"], ["ctrl+q"], TEXTS["en"]["give up"], TEXTS["en"]["yes"])
        check(game.wait(PATIENCE) == 0, f"the game ended with {game.returncode}")
        print("the game's windows are named in German and in English, and its board follows the keys")
        return 0
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr)
        if shutil.which("import"):
            subprocess.run(["import", "-window", "root", os.path.join(args.artifacts, "failure.png")])
        if walker is not None:
            with open(os.path.join(args.artifacts, "tree-at-failure.txt"), "w") as tree:
                walker.dump(tree)
        return 1
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
        shutil.rmtree(store, ignore_errors=True)
        log.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--game", required=True)
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()
    if os.environ.get("TANGRIX_A11Y_INSIDE") != "1":
        try:
            return run_in_private_session(sys.argv[1:], args.artifacts)
        except Failure as failure:
            print("FAIL:", failure, file=sys.stderr)
            return 1
    return walk(args)


if __name__ == "__main__":
    sys.exit(main())
