"""The Windows game's start-up as players meet it, under Wine on the test's
Xvfb, with the lines the game says on screen: started from another folder
(a shortcut's "Start in"), from one where neither that folder nor the
program's holds the level, twice from the same folder, and from a read-only
folder by a user who is not root (root writes anywhere), whose prefix of
Wine is made for that user. Screenshots are left in the output folder.

usage: startup_test.py ZIP WINE_PREFIX OUT_DIR
"""

import os
import pwd
import shutil
import subprocess
import sys
import time
import zipfile

from PIL import ImageGrab

sys.dont_write_bytecode = True  # leave no caches in the source tree
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
sys.path.insert(0, os.path.join(here, "..", "web"))
from levels import count, is_snow  # noqa: E402
from wine import (WINE, Wine, Windowed, check, end, run_checks, wait_said,  # noqa: E402
                  windows_path)

ZIP, PREFIX, OUT = (os.path.abspath(a) for a in sys.argv[1:4])
PLAYER = "blobplayer"  # the user who is not root
SHOWN = {"BLOB_TEST_NO_SCREEN_MESSAGES": "", "ALSOFT_DRIVERS": "null"}
PROGRAM_FILES = ["blobdemo.exe", "SDL.dll", "OpenAL32.dll", "libalut-0.dll"]


def unpack(folder, only=None):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with zipfile.ZipFile(ZIP) as z:
        z.extractall(folder, members=only)


def read(path):
    if not os.path.exists(path):
        return ""
    with open(path, "rb") as f:
        return f.read().decode("utf-8", errors="replace")


def game_windows():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Blob demo$"],
                           capture_output=True, text=True, timeout=10).stdout.split()
    return found


class Game:
    """blobdemo.exe started by `wine` in `cwd`; its window, titled "Blob
    demo", found among those there before."""

    def __init__(self, wine, program, cwd, args=(), before=()):
        self.process = Windowed(wine, [program] + list(args), cwd=cwd, extra_env=SHOWN)
        deadline = time.monotonic() + 60
        self.window = None
        while time.monotonic() < deadline and self.process.poll() is None and not self.window:
            fresh = [w for w in game_windows() if w not in before]
            self.window = fresh[-1] if fresh else None
            time.sleep(0.1)
        if not self.window:
            raise RuntimeError("no window titled \"Blob demo\" (status %s)" % self.process.poll())

    def shot(self, name=None):
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.window],
                                  capture_output=True, text=True, timeout=10, check=True).stdout
        g = dict(line.split("=") for line in geometry.split())
        x, y = int(g["X"]), int(g["Y"])
        img = ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).crop((x, y, x + 800, y + 600))
        if name:
            img.convert("RGB").save(os.path.join(OUT, name + ".png"))
        return img.convert("RGB")

    def wait_for(self, test, seconds):
        started = time.monotonic()
        while time.monotonic() - started < seconds:
            if test(self.shot()):
                return True
            time.sleep(0.05)
        return False

    def quit(self):
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], timeout=10, check=True)
        subprocess.run(["xdotool", "key", "Escape"], timeout=10, check=True)
        return end(self.process, 60)


def band(shot):
    """White ink in the dark band of lines at the bottom of the window."""
    return count(shot, (0, 520, 800, 600), lambda p: min(p) > 200)


def demo_level(shot):
    return count(shot, (0, 300, 800, 520), is_snow) > 30000


def from_another_folder(wine):
    """Started from a folder with no level and no pictures, the game plays
    the ones beside it and says so, once each; when the program's folder has
    none either, the line names both folders."""
    game_folder, elsewhere = os.path.join(OUT, "game"), os.path.join(OUT, "elsewhere")
    unpack(game_folder)
    os.makedirs(elsewhere, exist_ok=True)
    game = Game(wine, os.path.join(game_folder, "blobdemo.exe"), elsewhere)
    shown = game.wait_for(lambda s: demo_level(s) and band(s) > 1000, 30)
    game.shot("from_another_folder")
    said = read(os.path.join(game_folder, "stderr.txt"))
    check(shown and said.count("is not in %s, the folder the game was started in"
                               % windows_path(elsewhere)) == 2 and "level.map" in said
          and "images\\" in said, "started from another folder it plays the level and the "
          "pictures beside it, says so once each, on screen too (%r)" % said)
    check(game.quit() == 0, "Escape ends it with status 0")

    bare = os.path.join(OUT, "bare")
    unpack(bare, PROGRAM_FILES)
    game = Game(wine, os.path.join(bare, "blobdemo.exe"), elsewhere)
    shown = game.wait_for(lambda s: band(s) > 1000, 30)
    game.shot("missing_from_both")
    said = read(os.path.join(bare, "stderr.txt"))
    named = "(level.map in %s or in %s)" % (windows_path(elsewhere), windows_path(bare))
    check(shown and named in said,
          "missing from both folders, the level's line names both (%r)" % said)
    game.quit()


def twice_from_one_folder(wine):
    """Two games in one folder: the second writes stderr-2.txt, and the
    first's stderr.txt keeps its lines, without a NUL byte. A folder of
    their own: an earlier game's files there may still be held by Wine for
    a moment after its exit, and the names would move on."""
    folder = os.path.join(OUT, "twice")
    unpack(folder)
    level = os.path.join(folder, "mine.json")
    source = '{"terrain": [{"points": [[-3000, 100], [3000, 100], [3000, 700], [-3000, 700]], ' \
             '"color": "%s"}], "objects": [{"type": "blob", "style": 1, "x": 0, "y": -100}]}'
    with open(level, "w") as f:
        f.write(source % "#5aa05a")
    first = Game(wine, os.path.join(folder, "blobdemo.exe"), folder, ["mine.json"])
    wait_said(os.path.join(folder, "stderr.txt"), "mine.json: problem")
    second = Game(wine, os.path.join(folder, "blobdemo.exe"), folder, ["mine.json"],
                  before=[first.window])
    wait_said(os.path.join(folder, "stderr-2.txt"), "mine.json: problem")
    time.sleep(0.5)
    with open(level, "w") as f:
        f.write(source % "#d040d0")
    # The reloaded level's findings come from a thread of their own, after
    # the reload's line.
    both = all(wait_said(os.path.join(folder, name), "mine.json: problem", times=2) is not None
               for name in ("stderr.txt", "stderr-2.txt"))
    statuses = tuple(reversed((second.quit(), first.quit())))  # the window on top first
    mine, theirs = (open(os.path.join(folder, n), "rb").read() if os.path.exists(
        os.path.join(folder, n)) else b"" for n in ("stderr.txt", "stderr-2.txt"))
    check(both and b"\0" not in mine and mine.count(b"mine.json: ") == 3
          and theirs.count(b"mine.json: ") == 3 and statuses == (0, 0),
          "two games in one folder each keep their own file, whole (%r | %r, %s)"
          % (mine, theirs, statuses))


def player_wine():
    """The player who is not root, and a prefix of Wine of theirs (Wine
    takes no prefix another user owns); None when this test runs as such a
    user already."""
    if os.geteuid() != 0:
        return None
    try:
        pwd.getpwnam(PLAYER)
    except KeyError:
        subprocess.run(["useradd", "--create-home", "--shell", "/bin/sh", PLAYER], check=True,
                       timeout=60)
    user = pwd.getpwnam(PLAYER)
    prefix = os.path.join(OUT, "player-prefix")
    os.makedirs(prefix, exist_ok=True)
    os.chown(prefix, user.pw_uid, user.pw_gid)
    as_player = ["setpriv", "--reuid=%d" % user.pw_uid, "--regid=%d" % user.pw_gid,
                 "--init-groups", "--", "env", "HOME=" + user.pw_dir, "USER=" + PLAYER]
    return PlayerWine(prefix, as_player), os.path.join(
        prefix, "drive_c", "users", PLAYER, "AppData", "Local", "blobdemo")


class PlayerWine(Wine):
    """Wine run as the player, through setpriv."""

    def __init__(self, prefix, as_player):
        super().__init__(prefix)
        self.as_player = as_player

    def run(self, argv, cwd=None, extra_env=None, timeout=120):
        return subprocess.run(self.as_player + [WINE] + argv, cwd=cwd, env=self.env(extra_env),
                              capture_output=True, text=True, timeout=timeout)

    def start(self, argv, cwd=None, extra_env=None):
        return subprocess.Popen(self.as_player + [WINE] + argv, cwd=cwd, env=self.env(extra_env),
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def boot(self):
        done = self.run(["wineboot", "--init"], extra_env={"DISPLAY": ""}, timeout=240)
        self.stop()
        return os.path.exists(os.path.join(self.prefix, "system.reg")) or print(done.stderr[-500:])

    def stop(self):
        subprocess.run(self.as_player + ["/usr/lib/wine/wineserver", "-k"], env=self.env(),
                       capture_output=True, timeout=60)


def from_a_read_only_folder(wine):
    """In a folder the player cannot write, --help, a replay that cannot be
    recorded and the game itself all say what they have to, in the player's
    own folder, and the game says on screen where that is."""
    player = player_wine()
    if player:
        wine, local = player
        check(wine.boot(), "Wine's prefix is made for the player who is not root")
    else:
        local = os.path.join(Wine(PREFIX).prefix, "drive_c", "users", pwd.getpwuid(
            os.geteuid()).pw_name, "AppData", "Local", "blobdemo")
    folder = os.path.join(OUT, "read-only")
    unpack(folder)
    for root, folders, files in os.walk(folder):
        for name in folders:
            os.chmod(os.path.join(root, name), 0o555)
        for name in files:
            os.chmod(os.path.join(root, name), 0o444)
    os.chmod(folder, 0o555)
    try:
        exe = os.path.join(folder, "blobdemo.exe")
        done = wine.run([exe, "--help"], cwd=folder, timeout=60)
        check(done.returncode == 0 and read(os.path.join(local, "stdout.txt")).startswith(
            "usage: blobdemo") and not os.path.exists(os.path.join(folder, "stdout.txt")),
            "--help in a read-only folder writes its usage to %%LOCALAPPDATA%%\\blobdemo\\stdout.txt"
            " (%d)" % done.returncode)
        done = wine.run([exe, "--record", "x.replay"], cwd=folder, timeout=60)
        said = read(os.path.join(local, "stderr.txt"))
        check(done.returncode == 1 and "cannot record to x.replay" in said,
              "--record there is refused, in a line the player can find (%r)" % said)
        game = Game(wine, exe, folder)
        shown = game.wait_for(lambda s: demo_level(s) and band(s) > 1000, 30)
        game.shot("read_only_folder")
        said = read(os.path.join(local, "stderr.txt"))
        check(shown and "the program's folder cannot be written; what the game says is kept in "
              "C:\\users\\" in said, "the game plays there and says on screen where its lines "
              "are kept (%r)" % said)
        check(game.quit() == 0, "Escape ends it with status 0")
    finally:
        wine.stop()
        for root, folders, files in os.walk(folder):
            os.chmod(root, 0o755)


def main():
    run_checks(PREFIX, OUT, [from_another_folder, twice_from_one_folder, from_a_read_only_folder])


if __name__ == "__main__":
    main()
