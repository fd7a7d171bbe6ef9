"""The Windows zip's game under Wine, on the test's Xvfb, played as a player
would: unpacked into an empty folder, started there, driven with real key
presses (xdotool) and read through screenshots of the screen.

It checks, in order: --help; the first frames (backdrop, caption, portrait,
terrain) against the native game's frame of the same tick; holding Right
moving the view; Tab dimming the old blob; Escape ending the game with
status 0 and leaving neither stdout.txt nor stderr.txt; a session recorded
with --record, checked by blobrun.exe --replay and by the native blobrun
(the same bits on both systems) and watched with --replay;
then live reload of a level named on the command line, saved in place and
by renaming, each shown within a second, and saved again after its folder
was renamed away and back, and after it was removed and made again, with
stderr.txt kept for what the game said.
Screenshots and differences are left in the output folder.

To look at one tick, the test stops the game's process (SIGSTOP) once its
window is up, takes the screenshot, and finds the native frame that matches
it best among the first ticks: that is the tick the game had reached.

usage: game_test.py ZIP NATIVE_FRAME DATA_DIR WINE_PREFIX OUT_DIR NATIVE_BLOBRUN
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import time
import zipfile

from PIL import Image, ImageChops, ImageGrab

sys.dont_write_bytecode = True  # leave no caches in the source tree
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
sys.path.insert(0, os.path.join(here, "..", "web"))
import levels  # noqa: E402
from levels import count  # noqa: E402
from wine import Windowed, check, end, run_checks, wait_said  # noqa: E402

ZIP, NATIVE_FRAME, DATA, PREFIX, OUT, NATIVE_BLOBRUN = sys.argv[1:7]
NATIVE_TICKS = 150  # native frames made to find the tick the game was stopped at
WORLD = (0, 70, 800, 600)  # below the portrait and the caption
# Names outside the code page Windows gives a program (Wine's is 1252 here),
# which the programs must take from the UTF-16 command line; Wine reads
# this side's names and arguments as UTF-8.
UNICODE = {"LC_ALL": "C.UTF-8"}
REPLAY = "παιχνίδι.replay"
LEVELS, LEVEL = "τοπία", "επίπεδο.json"
BRIGHT_BLUE = (128, 200, 255)  # the first blob under control
DIM_BLUE = (64, 100, 127)  # the same blob, not under control

def near(p, colour, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(p, colour))


def is_magenta(p):
    return p[0] > p[1] + 60 and p[2] > p[1] + 60


# The game's window ---------------------------------------------------------------

class Game:
    """blobdemo.exe (`program`, relative to `folder`) started under Wine in
    `folder`, its window found."""

    def __init__(self, wine, folder, args=(), extra_env=None, program="blobdemo.exe"):
        # The lines the game says stay off the frames this test reads.
        env = dict({"BLOB_TEST_NO_SCREEN_MESSAGES": "1"}, **(extra_env or {}))
        self.process = Windowed(wine, [program] + list(args), cwd=folder, extra_env=env)
        self.started = time.monotonic()
        self.window = self.find_window()
        self.box = self.window_box()
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], timeout=10, check=True)

    def find_window(self):
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and self.process.poll() is None:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Blob demo$"],
                                   capture_output=True, text=True, timeout=10).stdout.split()
            if found:
                return found[-1]
            time.sleep(0.1)
        raise RuntimeError("the game's window did not appear (status %s)" % self.process.poll())

    def window_box(self):
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.window],
                                  capture_output=True, text=True, timeout=10, check=True).stdout
        g = dict(line.split("=") for line in geometry.split())
        x, y = int(g["X"]), int(g["Y"])
        if (int(g["WIDTH"]), int(g["HEIGHT"])) != (800, 600):
            raise RuntimeError("the window is %sx%s, not 800x600" % (g["WIDTH"], g["HEIGHT"]))
        return (x, y, x + 800, y + 600)

    def shot(self, name=None):
        img = ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).crop(self.box).convert("RGB")
        if name:
            img.save(os.path.join(OUT, name + ".png"))
        return img

    def frozen_shot(self, name):
        """A screenshot of one whole frame, taken while the game is stopped."""
        os.kill(self.process.pid, signal.SIGSTOP)
        try:
            time.sleep(0.2)  # the X server draws what was sent before the stop
            return self.shot(name)
        finally:
            os.kill(self.process.pid, signal.SIGCONT)

    def key(self, name, action="key"):
        """A real key press through XTEST to the focused window: Wine takes
        the keyboard's state from the X server, which sent events (xdotool
        --window) leave unpressed."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], timeout=10, check=True)
        subprocess.run(["xdotool", action, name], timeout=10, check=True)

    def wait_for(self, what, test, seconds):
        """Screenshots until test(shot) holds; the seconds it took, or None."""
        started = time.monotonic()
        while time.monotonic() - started < seconds:
            if test(self.shot()):
                return time.monotonic() - started
            time.sleep(0.02)
        self.shot("timed_out_" + what.replace(" ", "_"))
        return None

    def quit(self):
        """Escape; the exit status (None when it had to be killed)."""
        self.key("Escape")
        return end(self.process, 15)


def unpack(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with zipfile.ZipFile(ZIP) as z:
        z.extractall(folder)


def left_over(folder, name, seconds=0):
    """The file's text, or None once it is gone: waited for up to `seconds`,
    since a file deleted while another handle holds it goes when that
    handle is closed, which Wine may finish just after the exit."""
    path = os.path.join(folder, name)
    deadline = time.monotonic() + seconds
    while os.path.exists(path) and time.monotonic() < deadline:
        time.sleep(0.05)
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


# The first frames ----------------------------------------------------------------

def native_frames():
    """The native game's frames of ticks 1..NATIVE_TICKS, made in DATA."""
    prefix = os.path.join(OUT, "native_")
    subprocess.run([NATIVE_FRAME, DATA, prefix] + [str(t) for t in range(1, NATIVE_TICKS + 1)],
                   check=True, timeout=120)
    frames = {}
    for t in range(1, NATIVE_TICKS + 1):
        path = "%s%d.ppm" % (prefix, t)
        frames[t] = Image.open(path).convert("RGB")
        os.remove(path)
    return frames


def differing(a, b, tolerance):
    """Pixels where some channel differs by more than `tolerance`."""
    diff = ImageChops.difference(a, b).convert("RGB")
    return sum(1 for p in diff.getdata() if max(p) > tolerance)


def check_first_frame(shot, native):
    """Both draw the same triangles and textures with the same Mesa, so
    pixels agree but where the two builds differ: the crate and the faces'
    pictures are decoded by stb_image, not libjpeg and libpng (a few levels
    in the crate's JPEG), and the blob's rim points, whose sines and cosines
    round differently in the last bits (MinGW's maths library), can put an
    outline pixel one place over. The tolerance: at most 1% of the pixels
    differ by more than 24 levels in a channel, and the best tick must beat
    its neighbours."""
    levels.check_demo_first_frame(shot, check)

    # A quick measure finds the nearest ticks; the exact count decides.
    def mean_difference(a, b):
        h = ImageChops.difference(a, b).convert("L").histogram()
        return sum(i * n for i, n in enumerate(h)) / 480000.0

    means = {t: mean_difference(shot, frame) for t, frame in native.items()}
    tick = min(means, key=means.get)
    check(tick < NATIVE_TICKS, "the game was stopped within the first %d ticks (at tick %d)"
          % (NATIVE_TICKS, tick))
    bad = differing(shot, native[tick], 24)
    ImageChops.difference(shot, native[tick]).point(lambda v: min(255, v * 8)).save(
        os.path.join(OUT, "difference_x8.png"))
    native[tick].save(os.path.join(OUT, "native_tick_%d.png" % tick))
    check(bad <= 4800, "the frame is the native frame of tick %d but for %d pixels (at most "
          "4800 may differ by more than 24 levels)" % (tick, bad))
    others = [means[t] for t in (tick - 1, tick + 1) if t in means]
    check(all(means[tick] * 2 < m for m in others), "it is the frame of tick %d, not of its "
          "neighbours (mean difference %.3f against %s)"
          % (tick, means[tick], ", ".join("%.3f" % m for m in others)))


def world_shift(before, after):
    """How far the terrain moved left on screen between two frames, in
    pixels (0..300): the shift that best lines up the lower half of the
    window, measured at quarter size."""
    a, b = [f.convert("L").resize((200, 150), Image.BILINEAR).crop((0, 75, 200, 150))
            for f in (before, after)]
    scores = {}
    for dx in range(0, 76):
        diff = ImageChops.difference(a.crop((dx, 0, 200, 75)), b.crop((0, 0, 200 - dx, 75)))
        scores[dx] = sum(i * n for i, n in enumerate(diff.histogram())) / ((200 - dx) * 75)
    return min(scores, key=scores.get) * 4


def play_demo(wine, native):
    folder = os.path.join(OUT, "play")
    unpack(folder)
    done = wine.run(["blobdemo.exe", "--help"], cwd=folder, timeout=60)
    usage = left_over(folder, "stdout.txt") or ""
    check(done.returncode == 0 and usage.startswith("usage: blobdemo [LEVEL]"),
          "blobdemo --help exits 0 with the usage in stdout.txt (%d)" % done.returncode)
    for name in ("stdout.txt", "stderr.txt"):
        if os.path.exists(os.path.join(folder, name)):
            os.remove(os.path.join(folder, name))

    # The null sound device: the game has nothing to say.
    game = Game(wine, folder, extra_env={"ALSOFT_DRIVERS": "null"})
    print("      the window appeared %.1f s after the start" % (time.monotonic() - game.started))
    drawn = game.wait_for("the first frame", lambda s: s.getpixel((780, 75))[2] > 90, 30)
    check(drawn is not None, "the game draws in its window")
    check_first_frame(game.frozen_shot("first_frame"), native)

    landed = game.wait_for("the first blob", lambda s: count(
        s, WORLD, lambda p: near(p, BRIGHT_BLUE, 25), 2) > 400, 10)
    check(landed is not None, "the first blob is there")
    time.sleep(1.5)
    before = game.shot("before_right")
    # Held until the view has moved: the game counts ticks, not seconds, and
    # a loaded machine runs fewer of them a second.
    game.key("Right", "keydown")
    held, shift = time.monotonic(), 0
    while shift < 60 and time.monotonic() - held < 20:
        time.sleep(0.25)
        after = game.shot()
        shift = world_shift(before, after)
    game.key("Right", "keyup")
    after.save(os.path.join(OUT, "after_right.png"))
    check(shift >= 60, "holding Right moves the view right (the terrain moved %d pixels left "
          "in %.1f s)" % (shift, time.monotonic() - held))

    bright_before = count(game.shot(), WORLD, lambda p: near(p, BRIGHT_BLUE, 25))
    game.key("Tab")
    dimmed = game.wait_for("Tab", lambda s: count(s, WORLD, lambda p: near(p, DIM_BLUE, 12), 2)
                           > 300 and count(s, WORLD, lambda p: near(p, BRIGHT_BLUE, 25), 2) < 50, 5)
    game.shot("after_tab")
    check(bright_before > 300 and dimmed is not None, "Tab dims the first blob")

    status = game.quit()
    check(status == 0, "Escape ends the game with status 0 (%s)" % status)
    said = left_over(folder, "stderr.txt", 5)
    check(said is None, "no stderr.txt left, with nothing said (%r)" % said)
    check(left_over(folder, "stdout.txt", 5) is None, "no stdout.txt left")


def take_said(folder):
    """stderr.txt's lines, and the file removed for the next run."""
    said = left_over(folder, "stderr.txt") or ""
    if said:
        os.remove(os.path.join(folder, "stderr.txt"))
    return said.splitlines()


def record_and_replay(wine):
    """A short session recorded on Windows replays bit for bit there: the
    runner checks its state hashes, and the game shows it again."""
    folder = os.path.join(OUT, "play")
    game = Game(wine, folder, ["--record", REPLAY], dict(UNICODE, ALSOFT_DRIVERS="null"))
    game.wait_for("the first blob", lambda s: count(
        s, WORLD, lambda p: near(p, BRIGHT_BLUE, 25), 2) > 400, 20)
    game.key("Right", "keydown")
    time.sleep(1.0)
    game.key("Right", "keyup")
    game.key("Tab")
    time.sleep(0.5)
    status = game.quit()
    said = take_said(folder)
    check(status == 0 and len(said) == 2 and said[0].startswith("blobdemo: recording to " + REPLAY)
          and said[1].endswith("ticks recorded")
          and os.path.exists(os.path.join(folder, REPLAY)),
          "blobdemo --record %s writes the replay (%s, %r)" % (REPLAY, status, said))
    done = wine.run(["blobrun.exe", "--replay", REPLAY], cwd=folder, extra_env=UNICODE)
    check(done.returncode == 0 and done.stdout.startswith("replay matches:"),
          "blobrun.exe --replay finds every state as recorded (%d: %s)"
          % (done.returncode, (done.stdout + done.stderr).strip()))
    done = subprocess.run([NATIVE_BLOBRUN, "--replay", os.path.join(folder, REPLAY),
                           os.path.join(folder, "level.map")], capture_output=True, text=True,
                          timeout=60)
    check(done.returncode == 0 and done.stdout.startswith("replay matches:"),
          "the native blobrun --replay finds every state of the Windows session (%d: %s)"
          % (done.returncode, (done.stdout + done.stderr).strip()))
    watch = Game(wine, folder, ["--replay", REPLAY], dict(UNICODE, ALSOFT_DRIVERS="null"))
    status = end(watch.process, 60)
    said = take_said(folder)
    check(status == 0 and said and said[-1].startswith("blobdemo: replay matches:"),
          "blobdemo --replay shows it to its end, every state matching (%s, %r)" % (status, said))


# Live reload ---------------------------------------------------------------------

def green_source():
    """The project's JSON: flat green ground as one polygon, the first blob above it."""
    return {"terrain": [{"points": [[-3000, 100], [3000, 100], [3000, 700], [-3000, 700]],
                         "color": "#5aa05a"}],
            "objects": [{"type": "blob", "style": 1, "x": 0, "y": -100}]}


def magenta_source():
    level = green_source()
    level["terrain"][0]["color"] = "#d040d0"
    return level


def ground_is(shot, test):
    """Whether the bottom of the window, all ground in these levels, passes
    the colour test; quick, so that the screenshots come close together."""
    return count(shot, (0, 450, 800, 600), test, 4) > 60000


def save(path, level, by_rename):
    """Saves a level source as an editor would: in place, or by writing a
    new file and renaming it over the old."""
    target = path + ".new" if by_rename else path
    with open(target, "w") as f:
        json.dump(level, f)
    if by_rename:
        os.replace(target, path)


def seconds(took, bound):
    return "%.2f s" % took if took is not None else "not within %d s" % bound


def says_folder(folder, news, times, what):
    took = wait_said(os.path.join(folder, "stderr.txt"), "its folder is " + news, times, 15)
    check(took is not None, "the folder %s: the game says it is %s (%s)"
          % (what, news, seconds(took, 15)))


def shows(game, name, test, what):
    took = game.wait_for(name + " ground", lambda s: ground_is(s, test), 10)
    game.shot("folder_" + name)
    check(took is not None, "%s shows (%s)" % (what, seconds(took, 10)))


def follow_the_folder(game, folder, levels_dir, level):
    """The level's folder renamed away and back, then a save; removed, and
    made again with a new level in it: each save shows, and the game says
    each time, once, that the folder went and that it came back."""
    os.rename(levels_dir, levels_dir + ".away")
    says_folder(folder, "gone", 1, "renamed away")
    os.rename(levels_dir + ".away", levels_dir)
    says_folder(folder, "back", 1, "renamed back")
    save(level, green_source(), False)
    shows(game, "green", levels.is_green, "a save after the folder was renamed away and back")

    shutil.rmtree(levels_dir)
    says_folder(folder, "gone", 2, "removed")
    os.makedirs(levels_dir)
    save(level, magenta_source(), True)
    says_folder(folder, "back", 2, "made again")
    shows(game, "magenta", is_magenta, "a level saved into the folder made again")


def live_reload(wine):
    folder = os.path.join(OUT, "παιχνίδι")
    unpack(folder)
    mine = os.path.join(folder, "mine")
    levels_dir = os.path.join(mine, LEVELS)
    os.makedirs(levels_dir)
    level = os.path.join(levels_dir, LEVEL)
    save(level, levels.red_valley_source(), False)

    # Started in a folder with no pictures: they come from the game's own
    # folder. The level lies in a folder below, which can go away while the
    # game runs (a folder it runs in could not, on Windows). All three are
    # named outside the code page. Whatever sound device Wine offers: the
    # game may say it has none.
    game = Game(wine, mine, [LEVELS + "\\" + LEVEL], UNICODE, program="..\\blobdemo.exe")
    shown = game.wait_for("the red valley", lambda s: ground_is(s, levels.is_red), 10)
    check(shown is not None, "..\\blobdemo %s\\%s plays the level named" % (LEVELS, LEVEL))
    shades = len(set(game.shot().crop((0, 400, 800, 600)).getdata()))
    check(shades > 100, "with the pictures of the game's folder: the terrain is textured (%d "
          "shades)" % shades)
    for name, source, test, by_rename in (
            ("green", green_source(), levels.is_green, False),
            ("magenta", magenta_source(), is_magenta, True)):
        time.sleep(0.5)
        save(level, source, by_rename)
        # How soon it shows is the watcher's timing, tested with injected
        # clock readings; here the wait only bounds a failure.
        took = game.wait_for(name + " ground", lambda s: ground_is(s, test), 10)
        game.shot("reloaded_" + name)
        how = "renamed over it" if by_rename else "written in place"
        check(took is not None, "a save %s shows (%s)" % (how, seconds(took, 10)))
    follow_the_folder(game, folder, levels_dir, level)

    quitting = time.monotonic()
    status = game.quit()
    check(status == 0, "Escape ends the game with status 0 (%s, %.1f s)"
          % (status, time.monotonic() - quitting))
    said = left_over(folder, "stderr.txt") or ""
    lines = said.splitlines()
    strays = [line for line in lines if not line.startswith("blobdemo: ")]
    named = "blobdemo: %s\\%s: " % (LEVELS, LEVEL)  # in UTF-8, as given
    reloads = sum(1 for line in lines if line.startswith(named + "reloaded:"))
    check(not strays and reloads >= 4 and said.count("its folder is gone") == 2
          and said.count("its folder is back") == 2, "stderr.txt beside the game holds its "
          "lines about the level, naming it as given: at least four reloads (%d), and the folder "
          "gone and back once each time (%r)" % (reloads, strays or said))
    check(left_over(folder, "stdout.txt", 5) is None, "no stdout.txt left")


def main():
    run_checks(PREFIX, OUT, [lambda wine: play_demo(wine, native_frames()), record_and_replay,
                             live_reload])


if __name__ == "__main__":
    main()
