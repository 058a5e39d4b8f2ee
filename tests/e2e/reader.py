"""Reads the game's windows through the accessibility tree, as a screen reader does."""

import time

from desktop import Failure, wait_for

_pyatspi = None


def atspi():
    # Imported late: libatspi finds the buses from the environment that the
    # desktop has just set up.
    global _pyatspi
    if _pyatspi is None:
        try:
            import pyatspi
            from gi.repository import Atspi
        except ImportError as error:
            raise Failure(f"cannot read the accessibility tree ({error}):"
                          " run this with Debian's /usr/bin/python3 and python3-pyatspi")
        # Without this, libatspi keeps names it has read and the values of
        # the labels would go stale.
        pyatspi.Registry.getDesktop(0).set_cache_mask(Atspi.Cache.NONE)
        _pyatspi = pyatspi
    return _pyatspi


class Node:
    """One accessible object as read at one moment."""

    def __init__(self, obj, depth=0):
        pyatspi = atspi()
        self.obj = obj
        self.role = obj.getRoleName()
        self.name = obj.name or ""
        self.description = obj.description or ""
        state = obj.getState()
        self.states = {s for s in ("active", "focused", "enabled", "showing", "visible")
                       if state.contains(getattr(pyatspi, "STATE_" + s.upper()))}
        self.children = []
        if depth < 40:
            for i in range(obj.childCount):
                child = obj.getChildAtIndex(i)
                if child is not None:
                    self.children.append(Node(child, depth + 1))

    def walk(self):
        yield self
        for child in self.children:
            yield from child.walk()

    def find(self, role=None, name=None, description=None):
        return [n for n in self.walk()
                if (role is None or n.role == role)
                and (name is None or n.name == name)
                and (description is None or n.description == description)]

    def one(self, **criteria):
        found = self.find(**criteria)
        if len(found) != 1:
            raise Failure(f"expected one control {criteria}, found {len(found)}")
        return found[0]

    def texts(self):
        """Everything a screen reader can say in this subtree."""
        return [t for n in self.walk() for t in (n.name, n.description) if t]

    def extents(self):
        box = self.obj.queryComponent().getExtents(atspi().DESKTOP_COORDS)
        return (box.x, box.y, box.width, box.height)

    def centre(self):
        x, y, w, h = self.extents()
        return (x + w // 2, y + h // 2)

    def focused(self):
        return [n for n in self.walk() if "focused" in n.states]

    def __repr__(self):
        return f"<{self.role} {self.name!r} {self.description!r} {sorted(self.states)}>"

    def dump(self, indent=0):
        lines = ["  " * indent + repr(self)]
        for child in self.children:
            lines.append(child.dump(indent + 1))
        return "\n".join(lines)


class Reader:
    """The game as its accessibility tree shows it."""

    def __init__(self, desktop):
        self.desktop = desktop

    def application(self):
        pyatspi = atspi()
        pid = self.desktop.game.pid

        def probe():
            if self.desktop.game.poll() is not None:
                raise Failure(f"the game ended with {self.desktop.game.returncode}"
                              " before it showed a window")
            root = pyatspi.Registry.getDesktop(0)
            for i in range(root.childCount):
                app = root.getChildAtIndex(i)
                if app is not None and app.get_process_id() == pid:
                    return app
            return None

        return wait_for("the game in the accessibility tree", probe, timeout=30)

    def windows(self):
        """The game's top-level windows that are on screen, read afresh."""
        app = self.application()
        tops = []
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is None:
                continue
            node = Node(child)
            if "showing" in node.states or "visible" in node.states:
                node.box = node.extents()
                tops.append(node)
        return tops

    def window_with(self, what, predicate, timeout=15):
        def probe():
            for top in self.windows():
                if predicate(top):
                    return top
            return None
        return wait_for(what, probe, timeout=timeout)

    def dialog_saying(self, text, timeout=15):
        """The open window (other than the game's main one) one of whose texts contains text."""
        return self.window_with(
            f"a window saying {text!r}",
            lambda top: any(text in t for t in top.texts()), timeout=timeout)

    def gone(self, top, timeout=10):
        """Waits until the window read as top is no longer on screen."""
        key = (top.role, top.name, top.box)

        def probe():
            try:
                return all((o.role, o.name, o.box) != key for o in self.windows())
            except Failure:
                # The game may end, closing every window, while they are read.
                if self.desktop.game.poll() is not None:
                    return True
                raise
        wait_for(f"{top!r} to close", probe, timeout=timeout)

    def activate(self, top):
        """Gives top the keyboard focus, as clicking on it would, unless it has it."""
        if "active" in top.states:
            return top
        self.desktop.focus_window_at(top.box)
        key = (top.role, top.name)
        return self.window_with(f"{top!r} to become active",
                                lambda t: (t.role, t.name) == key and "active" in t.states)

    def settle(self, read, quiet=0.4, timeout=10):
        """Reads with read() until two readings quiet seconds apart agree."""
        deadline = time.monotonic() + timeout
        last = read()
        while True:
            time.sleep(quiet)
            now = read()
            if now == last:
                return now
            if time.monotonic() > deadline:
                raise Failure(f"the window kept changing: {last!r} then {now!r}")
            last = now


class NameChanges:
    """The name changes that the game announces, as a screen reader hears them."""

    def __init__(self):
        self.heard = []
        atspi().Registry.registerEventListener(self._heard,
                                               "object:property-change:accessible-name")

    def _heard(self, event):
        try:
            new_name = event.any_data if isinstance(event.any_data, str) else event.source.name
            self.heard.append((event.source.description, new_name))
        except Exception:  # the source may be gone already
            pass

    def wait_for(self, description, name, timeout=5):
        from gi.repository import GLib
        context = GLib.MainContext.default()

        def probe():
            while context.pending():
                context.iteration(False)
            return (description, name) in self.heard
        wait_for(f"the announcement {name!r} of {description!r}", probe, timeout=timeout)
