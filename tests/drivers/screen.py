"""What the game's window shows, read back from the X server, and the places of its
controls in client-area pixels."""

from collections import Counter

from Xlib import X, display as xdisplay
from Xlib.protocol import event as xevent

# Client-area rectangles (x, y, w, h) of the controls the tests look at.
CMD_GO = (256, 56, 89, 41)
CMD_ICO = (352, 56, 97, 41)
CMD_QUIT = (456, 56, 41, 25)
LST_SPEED = (24, 16, 105, 76)
LBL_TIMER = (216, 24, 33, 33)
LBL_CLICKS = (216, 64, 33, 33)
LBL_FEEDBACK = (16, 120, 153, 113)
LABEL1 = (144, 24, 73, 33)
LABLE2 = (144, 64, 73, 33)
PIC_START = (232, 168, 52, 52)
CLIENT_SIZE = (711, 501)


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


def overlaps(a, b, margin=0):
    return (a[0] - margin < b[0] + b[2] and b[0] - margin < a[0] + a[2]
            and a[1] - margin < b[1] + b[3] and b[1] - margin < a[1] + a[3])


class Shot:
    """One screenshot of the client area, 4 bytes a pixel."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self.data = data

    def pixel(self, x, y):
        i = (y * self.width + x) * 4
        return self.data[i:i + 3]

    def row(self, x, y, w):
        i = (y * self.width + x) * 4
        return self.data[i:i + 4 * w]

    def block(self, rect):
        x, y, w, h = rect
        return [self.row(x, y + j, w) for j in range(h)]

    def background(self):
        counts = Counter(self.data[i:i + 3] for i in range(0, len(self.data), 4 * 7))
        return counts.most_common(1)[0][0]

    def plain(self, rect, colour, hole=None):
        """True when every pixel of `rect` outside `hole` has `colour`."""
        x, y, w, h = rect
        for j in range(y, y + h):
            for i in range(x, x + w):
                if hole and hole[0] <= i < hole[0] + hole[2] and hole[1] <= j < hole[1] + hole[3]:
                    continue
                if self.pixel(i, j) != colour:
                    return False
        return True

    def find(self, template):
        """Every top-left corner where `template` (rows of pixels) appears exactly."""
        first = template[0]
        hits = []
        stride = self.width * 4
        for y in range(self.height - len(template) + 1):
            line = self.data[y * stride:(y + 1) * stride]
            start = line.find(first)
            while start >= 0:
                if start % 4 == 0:
                    x = start // 4
                    if all(self.row(x, y + j, len(first) // 4) == template[j]
                           for j in range(1, len(template))):
                        hits.append((x, y))
                start = line.find(first, start + 1)
        return hits

    def save_ppm(self, path):
        with open(path, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (self.width, self.height))
            for i in range(0, len(self.data), 4):
                b, g, r = self.data[i:i + 3]
                f.write(bytes((r, g, b)))


class Screen:
    def __init__(self, display_name, window_id):
        self.conn = xdisplay.Display(display_name)
        self.window = self.conn.create_resource_object("window", window_id)

    def close(self):
        self.conn.close()

    def geometry(self):
        g = self.window.get_geometry()
        return g.width, g.height

    def origin(self):
        """Where the client area's top left lies on the screen."""
        root = self.conn.screen().root
        at = root.translate_coords(self.window, 0, 0)
        return at.x, at.y

    def shot(self):
        width, height = self.geometry()
        image = self.window.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF)
        return Shot(width, height, image.data)

    def send_delete_window(self):
        """What a window manager sends when the player closes the window by its frame."""
        protocols = self.conn.intern_atom("WM_PROTOCOLS")
        delete = self.conn.intern_atom("WM_DELETE_WINDOW")
        offered = self.window.get_wm_protocols() or []
        if delete not in offered:
            raise AssertionError("the window does not take WM_DELETE_WINDOW")
        message = xevent.ClientMessage(window=self.window, client_type=protocols,
                                       data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        self.window.send_event(message, event_mask=X.NoEventMask)
        self.conn.flush()
