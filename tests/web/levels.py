"""Levels the browser test drops onto the page, and how their terrain looks
on screen: the snow picture multiplied by the corner colours. The Windows
game test reads the demo level's first frame with the same checks."""

from PIL import Image


def encode_number(value):
    """A level file's number triple: sign, then base-255 high and low bytes,
    the low byte skipping the stored value 128."""
    magnitude = abs(value)
    low = magnitude % 255
    return bytes([0 if value < 0 else 1, magnitude // 255, low + 1 if low >= 128 else low])


def encode(level):
    """A level file from {"triangles": [[(x, y, (r, g, b)) * 3], ...],
    "objects": [(type, x, y), ...]}."""
    out = bytearray([0]) + encode_number(3 * len(level["triangles"]))
    for triangle in level["triangles"]:
        for x, y, colour in triangle:
            out += encode_number(x) + encode_number(y) + bytes(colour)
    out += encode_number(len(level["objects"]))
    for kind, x, y in level["objects"]:
        out += bytes([kind & 0xFF]) + encode_number(x) + encode_number(y)
    return bytes(out)


GREEN = (90, 160, 90)


def green_meadow():
    """Flat green ground at y 100 from x -3000 to 3000, the first blob
    dropped above it and a crate beside it."""
    corner = lambda x, y: (x, y, GREEN)  # noqa: E731
    return {"triangles": [[corner(-3000, 100), corner(3000, 100), corner(3000, 700)],
                          [corner(-3000, 100), corner(3000, 700), corner(-3000, 700)]],
            "objects": [(1, 0, -100), (0, -250, 0)]}


def red_valley_source():
    """The project's JSON: one concave red polygon, a valley the tessellator
    has to split, and the first blob above it."""
    return {"terrain": [{"name": "valley",
                         "points": [[-3000, 100], [-200, 100], [0, 220], [200, 100],
                                    [3000, 100], [3000, 700], [-3000, 700]],
                         "color": "#d04040"}],
            "objects": [{"type": "blob", "style": 1, "x": 0, "y": -100}]}


def ridge_source(points=10881):
    """The project's JSON: one red ring of `points` points, the most a level
    file holds, a saw-tooth ridge along the top of a block, and the first
    blob above it. It takes the page a moment to build."""
    teeth = points - 2
    step = max(1, 64000 // teeth)
    ring = [[-32000 + k * step, 60 if k % 2 else 100] for k in range(teeth)]
    ring += [[ring[-1][0], 700], [-32000, 700]]
    return {"terrain": [{"name": "ridge", "points": ring, "color": "#d04040"}],
            "objects": [{"type": "blob", "style": 1, "x": 0, "y": -100}]}


def crossed_source():
    """A level source whose only polygon crosses itself."""
    return {"terrain": [{"points": [[0, 0], [100, 100], [100, 0], [0, 100]], "color": "#ffffff"}],
            "objects": []}


def is_green(p):
    return p[1] > p[0] + 30 and p[1] > p[2] + 30


def is_red(p):
    return p[0] > p[1] + 40 and p[0] > p[2] + 40


def is_snow(p):
    """The demo level's terrain: grey with a little more blue."""
    return p[0] > 60 and abs(p[0] - p[1]) < 25 and 3 <= p[2] - p[0] <= 70


def count(img, box, test, every=1):
    """Pixels in the box that pass the test; every=2 looks at one pixel in
    four, for checks repeated while the game runs (and counts each for four)."""
    part = img.crop(box)
    if every > 1:
        part = part.resize((part.width // every, part.height // every), Image.NEAREST)
    return every * every * sum(1 for p in part.getdata() if test(p))


def check_demo_first_frame(shot, check):
    """The demo level's first frame: the backdrop, the caption, the portrait
    and the snow, each checked with check(condition, what)."""
    sky = shot.getpixel((780, 75))
    check(sky[0] < 10 and sky[1] < 10 and 90 < sky[2] < 130, "dark blue backdrop at the top "
          "%s" % (sky,))
    check(count(shot, (64, 2, 300, 34), lambda p: min(p) > 200) > 300, "white caption")
    check(count(shot, (4, 4, 60, 60), lambda p: p[0] > 60 or p[1] > 60) > 1500,
          "portrait in the top-left corner")
    snow = count(shot, (0, 300, 800, 600), is_snow)
    check(snow > 50000, "snowy terrain across the lower half (%d pixels)" % snow)
