"""The page in headless Chromium, played with keys over the DevTools protocol.

One browser loads the page from a local server and checks, in order: the
first frames against the native game's frame of the same tick, the frame
rate, focus on the first click, Right moving the view (and the page staying
put), Tab dimming the old blob, levels dropped onto the page (a level file,
a level source, and two files that cannot be played), Escape stopping the
game, Start again playing the dropped level again, a level chosen while the
game is stopped, a narrow window, the touch keys of a touch screen, and the
message shown when WebGL is missing; and that a second server on the same
port says so in one line. Frames, differences and pictures of the page are
left in the output folder.

The page draws once for each frame the browser shows, after the ticks owed
by then, so where frames come slower than ticks (headless, the software GPU
sets their pace) some ticks are never drawn. The test asks the game how
many ticks it has run. To look at one exact tick it drives the game's clock
until then, one tick a frame, so that each tick is drawn, and turns WebGL's
clear and draw calls into no-ops after it, so the canvas keeps showing that
tick while the game runs on.

usage: browser_test.py WEB_SH DATA_DIR NATIVE_FRAME_EXE OUT_DIR
"""

import json
import os
import subprocess
import sys
import time

from PIL import Image, ImageChops

sys.dont_write_bytecode = True  # leave no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Checks, with_served_page  # noqa: E402
import levels  # noqa: E402
from levels import count  # noqa: E402

WEB_SH, DATA, NATIVE_FRAME, OUT = sys.argv[1:5]
FIRST_TICK = 30  # the blobs are still falling: each tick's frame differs
SECONDS = 240    # life of the server and the browser

# Freezes the picture at the first frame drawn of tick `freezeAfter` or a
# later one, keeping the tick it shows. Until the first freeze the game's
# clock (SDL's, which reads Date.now) moves on 17.5 ms with each of the
# browser's frames, which come every 5 ms: one tick a frame, each drawn.
TICK_HOOK = """
let blobModule;  // the lines the game says stay off the frames compared
Object.defineProperty(window, 'Module', {configurable: true, get: () => blobModule, set: (m) => {
  m.preRun = [].concat(m.preRun || [], () => { ENV.BLOB_TEST_NO_SCREEN_MESSAGES = '1'; });
  blobModule = m;
}});
window.__blob = {shown: 0, freezeAfter: %d, last: false, frozen: false, started: false};
const realFrame = window.requestAnimationFrame.bind(window);
const realNow = Date.now, clockStart = realNow();
let frames = 0;
Date.now = () => window.__blob.started ? realNow() : clockStart + 17.5 * frames;
window.requestAnimationFrame = (draw) => window.__blob.started ? realFrame(draw)
    : setTimeout(() => { frames++; draw(performance.now()); }, 5);
const P = WebGLRenderingContext.prototype;
for (const name of ['clear', 'drawElements', 'drawArrays']) {
  const real = P[name];
  P[name] = function () {
    const b = window.__blob;
    if (name === 'clear' && !b.frozen) {
      const tick = Module._blob_ticks_run();
      if (b.last) b.frozen = b.started = true; else b.shown = tick;
      b.last = tick >= b.freezeAfter;
    }
    if (b.frozen) return;
    return real.apply(this, arguments);
  };
}
""" % FIRST_TICK

check = Checks()


# Pictures ---------------------------------------------------------------------

def near(p, colour, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(p, colour))


WORLD = (0, 70, 800, 600)  # below the portrait and the caption
BRIGHT_BLUE = (128, 200, 255)  # the first blob under control
DIM_BLUE = (64, 100, 127)      # the same blob, not under control
BRIGHT_RED = (200, 0, 0)       # the second blob under control


def world_shift(before, after):
    """How far the world moved left on screen between two frames, in pixels
    (up to 300): the horizontal offset, searched together with a small
    vertical one, that best lines up the lower half of the two frames (the
    textured terrain), measured at quarter size."""
    small = [f.convert("L").resize((200, 150), Image.BILINEAR) for f in (before, after)]
    best = None  # (mean difference, dx); at least 125 of the 200 columns overlap
    for dx in range(-75, 76):
        for dy in range(-12, 13):
            x0, x1 = max(0, dx), min(200, 200 + dx)
            y0, y1 = max(75, 75 + dy), min(150, 150 + dy)
            a = small[0].crop((x0, y0, x1, y1))
            b = small[1].crop((x0 - dx, y0 - dy, x1 - dx, y1 - dy))
            diff = ImageChops.difference(a, b)
            score = sum(diff.histogram()[i] * i for i in range(256)) / ((x1 - x0) * (y1 - y0))
            if best is None or score < best[0]:
                best = (score, dx)
    return best[1] * 4


def native_frames(ticks, wide=False):
    prefix = os.path.join(OUT, "native_wide_" if wide else "native_")
    argv = [NATIVE_FRAME] + (["--wide-lines"] if wide else []) + [DATA, prefix]
    subprocess.run(argv + [str(t) for t in ticks], check=True, timeout=60)
    return {t: Image.open("%s%d.ppm" % (prefix, t)).convert("RGB") for t in ticks}


def compare_with_native(web, tick):
    """The page's frame of `tick` against the native frames. Lines are
    drawn 1 pixel wide and unsmoothed in the browser and smoothed natively,
    so pixels near lines may differ freely; they are found as the pixels
    that change when the native game draws its lines 5 pixels wide.
    Elsewhere both draw the same triangles and textures, and measured
    differences stay within a few levels: texture filtering rounds
    differently, and the browser's picture decoder passes pictures through
    a canvas with premultiplied alpha, which shifts translucent texels of
    the faces and the font by up to 9 levels. The tolerance: every channel
    within 12 levels, and 99% of pixels within 1."""
    ticks = [tick - 1, tick, tick + 1]
    native = native_frames(ticks)
    wide = native_frames([tick], wide=True)[tick]
    plain = native[tick]
    lines = ImageChops.difference(plain, wide).convert("L").point(lambda v: 255 if v else 0)
    diff = ImageChops.difference(web, plain)
    diff.point(lambda v: min(255, v * 8)).save(os.path.join(OUT, "difference_x8.png"))
    worst, within_one, counted = 0, 0, 0
    for p, line in zip(diff.getdata(), lines.getdata()):
        if line:
            continue
        counted += 1
        worst = max(worst, max(p))
        within_one += max(p) <= 1
    check(worst <= 12, "away from lines every channel within 12 of the native frame "
          "(worst %d)" % worst)
    check(within_one >= 0.99 * counted, "away from lines 99%% of pixels within 1 of the native "
          "frame (%.2f%%; %d pixels near lines)" % (100.0 * within_one / counted,
                                                   counted and 480000 - counted))

    def mean_difference(a, b):
        h = ImageChops.difference(a, b).convert("L").histogram()
        return sum(i * n for i, n in enumerate(h)) / 480000.0

    same = mean_difference(web, plain)
    others = [mean_difference(web, native[t]) for t in (tick - 1, tick + 1)]
    check(same * 3 < min(others), "it is the frame of tick %d, not of its neighbours (mean "
          "difference %.3f against %.3f and %.3f)" % (tick, same, others[0], others[1]))


def check_first_frame(web):
    levels.check_demo_first_frame(web, check)
    check(count(web, WORLD, lambda p: near(p, BRIGHT_BLUE, 25)) > 200, "the first blob, bright")


# Levels dropped onto the page ---------------------------------------------------

def drop(page, name, data, at):
    """Drops a file onto the game as a player does, through the browser's
    own drag and drop, and returns the line the page answers with."""
    path = os.path.join(OUT, name)
    with open(path, "wb") as f:
        f.write(data)
    return page.drop_file(path, at)


def status_is_error(page):
    return page.status_is_error()


def ticks(page):
    return page.evaluate("Module._blob_ticks_run()")


def run_ticks(page, n):
    """Waits while the game runs n more ticks."""
    target = ticks(page) + n
    page.wait_for("%d ticks" % n, "Module._blob_ticks_run() >= %d" % target, 30)


def freeze_soon(page):
    """Freezes the picture at the first frame two ticks from now or later."""
    page.evaluate("window.__blob.freezeAfter = Module._blob_ticks_run() + 2")
    page.wait_for("the freeze", "window.__blob.frozen", 5)


def unfreeze(page):
    page.evaluate("window.__blob.freezeAfter = Infinity; window.__blob.frozen = false;"
                  "window.__blob.last = false")


def check_narrow_window(page):
    """A phone's narrow window: the game scales down to it, whole, keeping
    its shape, and nothing scrolls sideways."""
    page.set_viewport(400, 760)
    box = page.wait_for("the narrow layout", "(() => { const r = document.getElementById('canvas')"
                        ".getBoundingClientRect(); return r.width < 400 && {left: r.left, right: "
                        "r.right, width: r.width, height: r.height}; })()", 5)
    wide = page.evaluate("document.documentElement.scrollWidth")
    page.screenshot().save(os.path.join(OUT, "page_narrow.png"))
    check(box["left"] >= 0 and box["right"] <= 400 and abs(box["height"] * 4 - box["width"] * 3) < 4
          and box["width"] > 300 and wide <= 400,
          "in a 400-pixel window the whole game shows at 4:3 and nothing scrolls sideways "
          "(canvas %.0f x %.0f from x %.0f, page %d wide)"
          % (box["width"], box["height"], box["left"], wide))
    page.set_viewport(1000, 760)


def check_touch_keys(page, url):
    """On a phone's touch screen the page shows the game's keys as buttons
    and speaks of tapping; holding the one for Right moves the view as the
    key does, and Esc stops the game, which the page then offers to start
    again, with the session's replay."""
    page.set_viewport(412, 900)
    page.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
    page.navigate(url)
    page.wait_for("the game on a touch screen", "window.__blob?.frozen", 30)
    unfreeze(page)
    shown = page.evaluate("!document.getElementById('touch-keys').hidden")
    right = page.element_box("#touch-keys [data-key=ArrowRight]")
    canvas = page.element_box("#canvas")
    check(shown and right["width"] >= 44 and right["height"] >= 44
          and right["y"] >= canvas["y"] + canvas["height"],
          "touch keys shown under the game, thumb-sized (%dx%d)" % (right["width"], right["height"]))
    run_ticks(page, 60)  # the blob lands
    frame = lambda: page.screenshot(clip=canvas).resize((800, 600))  # noqa: E731
    before = frame()
    page.touch("touchStart", right["x"] + right["width"] / 2, right["y"] + right["height"] / 2)
    run_ticks(page, 60)
    page.touch("touchEnd")
    after = frame()
    after.save(os.path.join(OUT, "web_after_touch_right.png"))
    page.screenshot().save(os.path.join(OUT, "page_touch.png"))
    moved = world_shift(before, after)
    check(moved > 60, "a touch held on Right moves the view right (the world moved %d pixels "
          "left, in the game's own pixels)" % moved)
    words = " ".join(page.evaluate("document.getElementById('click-to-play').textContent + ' / '"
                                   " + document.querySelector('.help p').textContent").split())
    check(words.startswith("Tap the game") and "tap it first" in words,
          "a touch screen is told to tap, not to click: %r" % words[:60])
    escape = page.element_box("#touch-keys [data-key=Escape]")
    page.touch("touchStart", escape["x"] + escape["width"] / 2, escape["y"] + escape["height"] / 2)
    page.touch("touchEnd")
    page.wait_for("the game stopped by Esc", "document.getElementById('overlay').dataset.state "
                  "=== 'stopped' && !!document.getElementById('replay-download')", 10)
    again = page.element_box("#start-again")
    page.screenshot().save(os.path.join(OUT, "page_touch_stopped.png"))
    check(escape["width"] >= 44 and again["width"] > 0 and again["y"] + again["height"] <= 900,
          "the Esc button (%dx%d) stops the game, and Start again and the replay are in reach"
          % (escape["width"], escape["height"]))
    page.send("Emulation.setTouchEmulationEnabled", enabled=False)
    page.set_viewport(1000, 760)


def check_busy_port(port):
    """web.sh --serve on a port in use: one line that suggests another."""
    done = subprocess.run([WEB_SH, "--serve", str(port)], capture_output=True, text=True,
                          timeout=300)
    last = done.stderr.strip().splitlines()[-1:] or [""]
    check(done.returncode == 1 and "--serve" in last[0] and "Traceback" not in done.stderr
          and ("serving the game" not in done.stdout),
          "web.sh --serve on a busy port says so in one line: %r (status %d)"
          % (last[0], done.returncode))


def check_pacing(page):
    """Over 3 seconds the game draws at most once for each frame the browser
    shows (headless, the software GPU sets how many that is; where a frame
    comes more than a quarter of a second after the last, the ticks of the
    wait are dropped, so the tick rate is for the record only). Then the page
    is hidden behind another tab: no tick runs while it is hidden, and the
    time it was hidden is dropped, not run back to back after."""
    rate = page.evaluate("""new Promise(done => {
      const P = WebGLRenderingContext.prototype, real = P.clear; let clears = 0;
      P.clear = function () { clears++; return real.apply(this, arguments); };
      const t0 = performance.now(), c0 = Module._blob_ticks_run(); let frames = 0;
      const count = () => { frames++;
        if (performance.now() - t0 < 3000) { requestAnimationFrame(count); return; }
        P.clear = real;
        const s = (performance.now() - t0) / 1000;
        done([(Module._blob_ticks_run() - c0) / s, frames / s, clears / s]); };
      requestAnimationFrame(count); })""")
    print("frame rate: %.1f ticks a second, %.1f frames presented a second, %.1f drawn"
          % tuple(rate))
    check(rate[2] <= rate[1] + 2, "at most one drawing a frame shown (%.1f drawn, %.1f shown)"
          % (rate[2], rate[1]))
    other = page.send("Target.createTarget", url="about:blank")["targetId"]
    page.wait_for("the page hidden", "document.hidden", 5)
    before = ticks(page)
    time.sleep(2.0)
    hidden = ticks(page) - before
    page.send("Page.bringToFront")
    page.wait_for("the page shown again", "!document.hidden", 5)
    # The ticks after, against the page's own clock: on a busy machine the
    # half second asked for can last longer. Run back to back, the hidden
    # 2 s would add over a hundred ticks; dropped, at most one.
    back = page.evaluate("[Module._blob_ticks_run(), performance.now()]")
    time.sleep(0.5)
    now = page.evaluate("[Module._blob_ticks_run(), performance.now()]")
    after, took = now[0] - back[0], (now[1] - back[1]) / 1000
    page.send("Target.closeTarget", targetId=other)
    check(hidden <= 1, "no tick while the page is hidden (%d ticks in 2 s)" % hidden)
    check(after < took * 1000 / 17 + 15,
          "the 2 s it was hidden were dropped: %d ticks in the %.2f s after" % (after, took))


def main():
    def played(page, server):
        check(("serving the game at " + server.url) in server.printed(),
              "scripts/web.sh --serve prints the address it serves")
        check_busy_port(server.port)
        play(page, server.url)
    with_served_page(WEB_SH, OUT, SECONDS, played)
    return check.summary()


def play(page, url):
    # A viewport shorter than the page, so that keys which scroll would.
    page.set_viewport(1000, 760)
    page.send("Emulation.setScrollbarsHidden", hidden=True)
    page.send("Page.addScriptToEvaluateOnNewDocument", source=TICK_HOOK)
    page.navigate(url)
    page.wait_for("tick %d" % FIRST_TICK, "window.__blob && window.__blob.frozen", 30)
    canvas = page.element_box("#canvas")
    shot = lambda: page.screenshot(clip=canvas)  # noqa: E731

    # The first frames.
    check(page.evaluate("document.getElementById('overlay').dataset.state") == "click",
          "before a click the page asks for one")
    check(page.evaluate("(() => { const p = document.getElementById('progress');"
                        " return p.max > 1 && p.value === p.max; })()"),
          "the progress bar followed the data's download to its end")
    page.evaluate("document.getElementById('overlay').style.visibility = 'hidden'")
    first = shot()
    first.save(os.path.join(OUT, "web_first.png"))
    page.evaluate("document.getElementById('overlay').style.visibility = ''")
    check_first_frame(first)
    shown = page.evaluate("window.__blob.shown")
    check(shown == FIRST_TICK, "the frozen frame shows tick %d" % shown)
    compare_with_native(first, FIRST_TICK)
    unfreeze(page)
    check_pacing(page)

    # The first click gives the game the keys.
    middle = (canvas["x"] + 400, canvas["y"] + 300)
    page.click(*middle)
    page.wait_for("focus", "document.activeElement.id === 'canvas'", 5)
    check(page.evaluate("document.getElementById('overlay').dataset.state") == "playing",
          "a click on the game gives it focus and clears the prompt")

    # Right held: the view follows the blob, so the world slides left.
    run_ticks(page, 60)  # the blob lands
    before = shot()
    before.save(os.path.join(OUT, "web_before_right.png"))
    page.key("Right", "rawKeyDown")
    run_ticks(page, 60)
    page.key("Right", "keyUp")
    after = shot()
    after.save(os.path.join(OUT, "web_after_right.png"))
    moved = world_shift(before, after)
    check(moved > 60, "holding Right moves the view right (the world moved %d pixels left)"
          % moved)
    for name in ("Down", "Up", "Left"):  # keys that would scroll an ordinary page
        page.tap(name)
    check(page.evaluate("scrollY") == 0, "the arrow keys do not scroll the page")
    page.send("Page.captureScreenshot")  # a settled page for the picture of it
    page.screenshot().save(os.path.join(OUT, "page.png"))

    # Tab: the blob that had control is dimmed; focus stays on the game.
    run_ticks(page, 30)
    before = shot()
    # Held, as a player holds it: the keyboard repeats the key-down. The
    # game, as on the desktop, sees one press.
    page.key("Tab", "rawKeyDown")
    for _ in range(3):
        page.key("Tab", "rawKeyDown", repeat=True)
    page.key("Tab", "keyUp")
    freeze_soon(page)
    after = shot()
    unfreeze(page)
    after.save(os.path.join(OUT, "web_after_tab.png"))
    bright = [count(f, WORLD, lambda p: near(p, BRIGHT_BLUE, 25)) for f in (before, after)]
    dim = [count(f, WORLD, lambda p: near(p, DIM_BLUE, 12)) for f in (before, after)]
    check(bright[0] > 200 and dim[0] < 50 and bright[1] < 20 and dim[1] > 200,
          "Tab dims the blob that had control (bright %s, dim %s before and after)"
          % (bright, dim))
    red = count(after, WORLD, lambda p: near(p, BRIGHT_RED, 25))
    check(red > 200, "control passed once, to the red blob, however long Tab was held (%d bright "
          "red pixels)" % red)
    check(page.evaluate("document.activeElement.id") == "canvas", "Tab keeps the focus on the game")

    # A level file dropped onto the page replaces the world.
    text = drop(page, "meadow.map", levels.encode(levels.green_meadow()), middle)
    run_ticks(page, 30)
    meadow = shot()
    meadow.save(os.path.join(OUT, "web_dropped_level.png"))
    green = count(meadow, WORLD, levels.is_green)
    snow = count(meadow, WORLD, levels.is_snow)
    check(not status_is_error(page) and text.startswith("Playing meadow.map"),
          "a dropped level file plays: %r" % text)
    check(green > 50000 and snow < 500, "the dropped level replaced the world (%d green, %d "
          "snow pixels)" % (green, snow))

    # Files that cannot be played: one line each, and the level plays on.
    for name, data, expected in (
            ("crate.jpg", open(os.path.join(DATA, "images", "crate.jpg"), "rb").read(),
             "crate.jpg: not a level file"),
            ("knot.json", json.dumps(levels.crossed_source()).encode(),
             "knot.json: terrain item 1"),
            ("empty.json", b"", "empty.json: the file is empty; a level source is JSON"),
            ("list.json", b"[1, 2]", "list.json: the file holds [1,2], not a level object")):
        text = drop(page, name, data, middle)
        check(status_is_error(page) and text.startswith(expected) and "\n" not in text,
              "a file that cannot be played gives one line: %r" % text)
        run_ticks(page, 10)
        check(count(shot(), WORLD, levels.is_green) > 50000, "and the dropped level keeps running")

    # A large level source: the page says it is building it before the work
    # starts, then plays it.
    page.evaluate("""window.__said = []; new MutationObserver(() => window.__said.push(
      document.getElementById('status').textContent)).observe(document.getElementById('status'),
      {childList: true, characterData: true, subtree: true})""")
    text = drop(page, "ridge.json", json.dumps(levels.ridge_source()).encode(), middle)
    said = page.evaluate("window.__said")
    check(text.startswith("Playing ridge.json: 10879 triangles") and
          "ridge.json: building the level\u2026" in said,
          "a large source says it is being built, then plays: %r" % said)

    # A level source, split into triangles by the tessellator in the page.
    text = drop(page, "valley.json", json.dumps(levels.red_valley_source()).encode(), middle)
    run_ticks(page, 30)
    valley = shot()
    valley.save(os.path.join(OUT, "web_dropped_source.png"))
    check(not status_is_error(page) and text.startswith("Playing valley.json"),
          "a dropped level source plays: %r" % text)
    red = count(valley, WORLD, levels.is_red)
    check(red > 50000 and count(valley, WORLD, levels.is_green) < 500,
          "the level source replaced the world (%d red pixels)" % red)

    # Escape stops the game; the page says so and offers to start again.
    page.tap("Escape")
    page.wait_for("the stopped game", "document.getElementById('overlay').dataset.state === "
                  "'stopped'", 5)
    stopped = page.evaluate("document.getElementById('stopped').innerText")
    check("stopped" in stopped and "Start again" in stopped,
          "after Escape the page says the game stopped and offers to start again: %r"
          % stopped)
    text = page.evaluate("document.getElementById('status').textContent")
    check(not text.startswith("Playing") and "valley.json" in text,
          "after Escape the line under the game says what Start again plays: %r" % text)
    last = ticks(page)
    time.sleep(1.0)
    check(ticks(page) == last, "after Escape no tick runs")
    page.evaluate("document.getElementById('start-again').click()")
    page.wait_for("the game started again", "window.__blob?.frozen", 30)
    check(page.evaluate("document.getElementById('overlay').dataset.state") in ("click", "playing"),
          "Start again starts the game again")
    text = page.evaluate("document.getElementById('status').textContent")
    unfreeze(page)
    run_ticks(page, 10)
    again = shot()
    again.save(os.path.join(OUT, "web_started_again.png"))
    check(text.startswith("Playing valley.json") and count(again, WORLD, levels.is_red) > 50000,
          "Start again plays the dropped level again, not the demo: %r" % text)

    # A level chosen while the game is stopped starts it again with that level.
    page.click(*middle)
    page.tap("Escape")
    page.wait_for("the stopped game", "document.getElementById('overlay').dataset.state === "
                  "'stopped'", 5)
    page.choose_file("#level-file", os.path.join(OUT, "meadow.map"))
    page.wait_for("the game started with the chosen level",
                  "window.__blob?.shown > 0 && document.getElementById('status').textContent"
                  ".startsWith('Playing meadow.map')", 30)
    unfreeze(page)
    run_ticks(page, 10)
    check(count(shot(), WORLD, levels.is_green) > 50000,
          "a level chosen while the game is stopped starts it with that level")

    check_narrow_window(page)
    check_touch_keys(page, url)

    # Without WebGL the page says so instead of showing a dead canvas.
    page.send("Page.addScriptToEvaluateOnNewDocument",
              source="HTMLCanvasElement.prototype.getContext = () => null;")
    page.navigate(url)
    page.wait_for("the no-WebGL message", "document.getElementById('overlay')?.dataset.state "
                  "=== 'no-webgl'", 30)  # a page load, slow on a busy machine
    message = page.evaluate("document.getElementById('no-webgl').innerText")
    check("WebGL" in message, "without WebGL the page says the game needs it")

    errors = [text for level, text in page.console if level in ("error", "exception")]
    check(not errors, "no errors in the console %s" % errors[:3])
    noise = [text for level, text in page.console
             if any(k in text for k in ("INVALID_ENUM", "emscripten GL", "TODO: gl",
                                        "willReadFrequently"))]
    check(not noise, "no GL errors or warnings in the console (%d, such as %s)"
          % (len(noise), noise[:2]))


if __name__ == "__main__":
    sys.exit(main())
