"""The game as assistive technology sees it over AT-SPI. Import only after the test's
D-Bus session is up: libatspi finds the accessibility bus through it."""

import pyatspi

from drivers.xsession import CAPTION, WINDOW_TIMEOUT, wait_until

APP_NAME = "quorvel"


def fresh(obj):
    # Read from the game, not from what libatspi remembers of an earlier answer.
    obj.clear_cache()
    return obj


def states(obj):
    return {pyatspi.stateToString(s) for s in fresh(obj).getState().getStates()}


def name(obj):
    return fresh(obj).name


# The roles the tests look for, by pyatspi's constant. The role's number is part of the
# AT-SPI interface; its display name is not (libatspi 2.56 calls a push button "button").
ROLES = ("FRAME", "PUSH_BUTTON", "LABEL", "LIST", "LIST_ITEM", "IMAGE")


def role(obj):
    """The role as the name of its pyatspi constant without ROLE_ ("PUSH_BUTTON"), or
    "role N" for a role none of ROLES has."""
    number = int(obj.getRole())
    for name in ROLES:
        if int(getattr(pyatspi, "ROLE_" + name)) == number:
            return name
    return f"role {number} ({obj.getRoleName()})"


def action_names(obj):
    """The actions the control offers now, by their plain names ("Press", "SetFocus")."""
    try:
        action = fresh(obj).queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def extents(obj, on_screen=False):
    """(x, y, w, h) in the window's client area, or on the screen."""
    coords = pyatspi.DESKTOP_COORDS if on_screen else pyatspi.WINDOW_COORDS
    e = obj.queryComponent().getExtents(coords)
    return (e.x, e.y, e.width, e.height)


def require_states(obj, present=(), absent=(), what=""):
    have = states(obj)
    missing = set(present) - have
    extra = set(absent) & have
    if missing or extra:
        raise AssertionError(f"{what}: states {sorted(have)} lack {sorted(missing)} "
                             f"or have {sorted(extra)}")


def game_window():
    """The game's top-level window, once the game has joined the accessibility bus."""
    desktop = pyatspi.Registry.getDesktop(0)

    def find():
        for app in fresh(desktop):
            if app is not None and app.name == APP_NAME:
                for child in fresh(app):
                    if child is not None and child.name == CAPTION:
                        return child
        return None

    return wait_until(find, WINDOW_TIMEOUT, "the game on the accessibility bus", 0.1)


def controls_by_rect(window):
    """The window's children keyed by their rectangle in window coordinates."""
    return {extents(child): child for child in fresh(window)}


def press(control):
    """Presses a button the way a screen reader does: through its AT-SPI action."""
    action = control.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    lowered = [n.lower() for n in names]
    if "press" not in lowered:
        raise AssertionError(f"{name(control)!r} offers no press action, only {names}")
    return action.doAction(lowered.index("press"))
