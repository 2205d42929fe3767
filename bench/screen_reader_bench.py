#!/usr/bin/python3
"""A screen reader's side of screen_reader_bench.sh: listens to every event
of the program over AT-SPI, asks each event's source for its role and name
(as a reader does before it speaks), drives the program through its
accessible actions and prints the program's CPU for each phase.

Usage: screen_reader_bench.py PID    (the program's process)
"""
import collections
import os
import sys
import time

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, GLib  # noqa: E402

APP = 'Corvalen-Pro'
pid = int(sys.argv[1])
events = collections.Counter()
names = []          # (name, monotonic time, program CPU) announced since the phase began
loop = GLib.MainLoop()


def program_cpu():
    """Seconds of CPU of every thread of the program."""
    total = 0
    for tid in os.listdir(f'/proc/{pid}/task'):
        try:
            with open(f'/proc/{pid}/task/{tid}/schedstat') as f:
                total += int(f.read().split()[0])
        except OSError:
            pass
    return total / 1e9


def find(node, role, name, depth=0):
    """The first object of this role and name under node; grids are not
    searched (their cells are thousands of objects)."""
    try:
        r, n = node.get_role_name(), node.get_name()
    except GLib.Error:
        return None
    if r == role and n == name:
        return node
    if r in ('table', 'tree table', 'list') or depth > 30:
        return None
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        hit = child and find(child, role, name, depth + 1)
        if hit:
            return hit
    return None


def press(node):
    Atspi.Action.do_action(node, 0)


def answer(dialog):
    """Log-on dialog: the PIN, then Ok. A question: Yes. A message: Ok."""
    pin = find(dialog, 'password text', 'PIN')
    if pin:
        Atspi.EditableText.set_text_contents(pin, '1234')
    for caption in ('Yes', 'Ok', 'OK'):
        button = find(dialog, 'push button', caption)
        if button:
            press(button)
            return


def on_event(event):
    events[event.type] += 1
    source = event.source
    try:
        role, name = source.get_role_name(), source.get_name()
    except GLib.Error:
        return
    if event.type == 'object:property-change:accessible-name' and name:
        names.append((name, time.monotonic(), program_cpu()))
    elif event.type == 'window:activate' and role in ('dialog', 'alert'):
        GLib.idle_add(lambda: answer(source) and False)


def announced(sequence):
    """The announcements of the names in sequence, in that order, as far as
    they came."""
    found = []
    for entry in names:
        if len(found) < len(sequence) and entry[0] == sequence[len(found)]:
            found.append(entry)
    return found


def wait_for(sequence, seconds):
    """Runs until the names in sequence were announced in that order."""
    deadline = time.monotonic() + seconds

    def check():
        if len(announced(sequence)) == len(sequence) or time.monotonic() > deadline:
            loop.quit()
            return False
        return True
    GLib.timeout_add(50, check)
    loop.run()
    return len(announced(sequence)) == len(sequence)


def line(what, wall, cpu, counted=True):
    text = f'{what}: wall {wall:.3f} s; program CPU {cpu:.3f} s ({100 * cpu / wall:.2f}% of a core)'
    if counted:
        top = ', '.join(f'{n} {t}' for t, n in events.most_common(3))
        text += f'; {sum(events.values())} events to the reader (most: {top})'
    print(text, flush=True)


def phase(what, button, sequence, seconds):
    names.clear()
    events.clear()
    cpu0, t0 = program_cpu(), time.monotonic()
    press(button)
    if not wait_for(sequence, seconds):
        print(f'{what}: did not finish within {seconds} s (last announced: {[n[0] for n in names[-5:]]})',
              flush=True)
        sys.exit(1)
    line(what, time.monotonic() - t0, program_cpu() - cpu0)


def main():
    listener = Atspi.EventListener.new(on_event)
    for kind in ('object:', 'window:', 'focus:'):
        listener.register(kind)

    app = None
    for _ in range(200):
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            child = desktop.get_child_at_index(i)
            if child and child.get_name() == APP:
                app = child
        if app:
            break
        time.sleep(0.1)
    if not app:
        print('the program did not appear on the accessibility bus', file=sys.stderr)
        sys.exit(1)
    time.sleep(1)

    lamp = find(app, 'check box', 'Log On')
    phase('log-on through the lamp and the PIN dialog', lamp, ['Connected'], 30)
    phase('download of 1,024 residents', find(app, 'push button', 'GetData'), ['DownLoading.', 'Done'], 60)
    rewrite = ['Rewriting Phone List', 'Done']
    phase('upload of 1,024 residents, with the backup read before it', find(app, 'push button', 'WriteAllData'),
          rewrite, 300)
    (_, t1, c1), (_, t2, c2) = announced(rewrite)
    line('  of which the rewrite', t2 - t1, c2 - c1, counted=False)

    events.clear()
    cpu0, t0 = program_cpu(), time.monotonic()
    GLib.timeout_add(5000, loop.quit)
    loop.run()
    line('idle online', time.monotonic() - t0, program_cpu() - cpu0)


main()
