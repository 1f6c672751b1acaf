#!/usr/bin/python3
"""The calendar of the example host as a screen reader gets it, through the real accessibility
bus: the program runs on a display of its own (Xvfb) with a session bus and the AT-SPI bus, and
this script, as an assistive technology would, finds the calendar, reads the appointments of the
shown week, compares their names with what the new database was seeded with, selects one by its
action and opens it by another.

    screenreader.py PATH-TO-TERMINPLANER

Exit code 0 passed, 1 failed, 77 skipped (only when Xvfb, the AT-SPI bus or pyatspi are not
installed; scripts/setup installs them). Every wait is bounded; everything started is stopped.
"""
import datetime
import importlib.util
import os
import re
import select
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
XVFB = "/usr/bin/Xvfb"
DBUS_DAEMON = "/usr/bin/dbus-daemon"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
WAIT = 15  # seconds for the program to show up on the bus

WEEKDAYS = ["Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"]
MONTHS = ["Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
          "Oktober", "November", "Dezember"]
# What every name starts with: the day, then the times or "ganztägig".
NAME_START = re.compile(r"^(%s), \d{1,2}\. (%s) \d{4}(, \d\d:\d\d bis| bis|, ganztägig)"
                        % ("|".join(WEEKDAYS), "|".join(MONTHS)))


def read_line(stream, timeout):
    ready, _, _ = select.select([stream], [], [], timeout)
    if not ready:
        raise RuntimeError("no answer within %d s" % timeout)
    return stream.readline().strip()


def start(processes, command, **options):
    # A group of its own, so that what it starts in turn (the buses' helpers) stops with it.
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, start_new_session=True, **options)
    processes.append(process)
    return process


def stop(processes):
    for process in reversed(processes):
        try:
            os.killpg(process.pid, signal.SIGTERM)
            process.wait(timeout=3)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        except ProcessLookupError:
            process.wait()


def run(program):
    missing = [tool for tool in (XVFB, DBUS_DAEMON, BUS_LAUNCHER) if not os.access(tool, os.X_OK)]
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("pyatspi (python3-pyatspi)")
    if missing:
        print("skipped: not installed: " + ", ".join(missing))
        return SKIPPED
    began = time.monotonic()
    processes = []
    with tempfile.TemporaryDirectory() as folder:
        try:
            # Xvfb picks a free display itself and writes its number into the pipe.
            read_end, write_end = os.pipe()
            start(processes, [XVFB, "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                              "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
            os.close(write_end)
            with os.fdopen(read_end) as numbers:
                display = ":" + read_line(numbers, 10)
            bus = start(processes, [DBUS_DAEMON, "--session", "--nofork", "--print-address"],
                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            env = dict(os.environ, DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=read_line(bus.stdout, 10),
                       XDG_RUNTIME_DIR=folder, QT_QPA_PLATFORM="xcb",
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
            start(processes, [BUS_LAUNCHER, "--launch-immediately"], env=env,
                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            database = os.path.join(folder, "termine.sqlite")
            start(processes, [program, "--db", database], env=env, stderr=subprocess.DEVNULL)
            check = subprocess.run([sys.executable, __file__, "--check", database], env=env,
                                   timeout=WAIT + 20)
            print("took %.1f s" % (time.monotonic() - began))
            return check.returncode
        finally:
            stop(processes)


# From here on the assistive technology, on the buses of the program.

def wait_for(what, find, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    raise RuntimeError("not found within %d s: %s" % (seconds, what))


def find_node(node, role, name, depth=0):
    """The first node of the role and name below node; tables are not searched inside."""
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        if child.getRole() == role and child.name == name:
            return child
        if depth < 12 and child.getRole() != role:
            found = find_node(child, role, name, depth + 1)
            if found:
                return found
    return None


def program_on_bus(pyatspi):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "terminplaner":
            return app
    return None


def appointments(pyatspi, table):
    """The appointment children, which come after the headers and cells."""
    items = []
    for index in range(table.childCount - 1, -1, -1):
        child = table.getChildAtIndex(index)
        if child.getRole() != pyatspi.ROLE_LIST_ITEM:
            break
        items.insert(0, child)
    return items


def seeded_names(database):
    """The names of the seeded same-day appointments, as the calendar must say them."""
    names = set()
    with sqlite3.connect(database) as db:
        people = dict(db.execute("SELECT id, name FROM participants"))
        rows = db.execute('SELECT text, start, "end", done, read_only, participant_id FROM appointments'
                          " WHERE all_day = 0")
        for text, start, end, done, read_only, participant in rows:
            start = datetime.datetime.fromisoformat(start)
            end = datetime.datetime.fromisoformat(end)
            if start.date() != end.date():
                continue
            name = "%s, %d. %s %d, %s bis %s, %s: %s" % (
                WEEKDAYS[start.weekday()], start.day, MONTHS[start.month - 1], start.year,
                start.strftime("%H:%M"), end.strftime("%H:%M"), people[participant], text)
            names.add(name + (", erledigt" if done else "") + (", schreibgeschützt" if read_only else ""))
    return names


def do_action(item, name):
    action = item.queryAction()
    for index in range(action.nActions):
        if action.getName(index) == name:
            return action.doAction(index)
    raise RuntimeError("no action %s on %s" % (name, item.name))


def check(database):
    import pyatspi

    app = wait_for("the program on the bus", lambda: program_on_bus(pyatspi), WAIT)
    calendar = wait_for("the calendar", lambda: find_node(app, pyatspi.ROLE_TABLE, "Kalender"), WAIT)
    items = wait_for("appointments", lambda: appointments(pyatspi, calendar), 5)
    names = [item.name for item in items]
    print("%d appointments shown, for example: %s" % (len(names), names[0]))
    odd = [name for name in names if not NAME_START.match(name)]
    if odd:
        raise RuntimeError("names not in the German form: %s" % odd)
    matched = set(names) & seeded_names(database)
    if len(matched) < 3:
        raise RuntimeError("fewer than 3 names match the database: %s" % names)

    item = next(item for item in items if item.getState().contains(pyatspi.STATE_SELECTABLE))
    do_action(item, "Press")
    wait_for("the selected state", lambda: item.getState().contains(pyatspi.STATE_SELECTED), 5)
    do_action(item, "Open")
    wait_for("the appointment's form", lambda: find_node(app, pyatspi.ROLE_DIALOG, "Termin bearbeiten"), 5)
    print("selected and opened: %s" % item.name)
    return 0


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        if sys.argv[1:2] == ["--check"]:
            sys.exit(check(sys.argv[2]))
        sys.exit(run(sys.argv[1]))
    except (RuntimeError, subprocess.TimeoutExpired) as error:
        print("failed: %s" % error)
        sys.exit(1)
