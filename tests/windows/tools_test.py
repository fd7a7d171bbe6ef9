"""The Windows zip's console tools under Wine against the native ones: each
answers --help on its own console (none is a windowed program whose output
would go to stdout.txt); leveltool.exe builds the demo source to the same
bytes, checks levels with the same findings, dumps the same JSON and draws
the level as the native tool does; oggplay.exe plays a file into OpenAL
Soft's null device. Files that are no files (NUL, CON, a folder, a Unix
named pipe as Wine shows it) or too large are refused by the game and the
tools at once, in one line naming them; written, NUL and a folder are
refused and a Unix symbolic link is written through. Files named outside the
code page Windows gives a program are read and written.

usage: tools_test.py ZIP_FOLDER NATIVE_LEVELTOOL SOURCE_DIR WINE_PREFIX OUT_DIR
  ZIP_FOLDER: the unpacked zip; SOURCE_DIR: the checkout (levels/, tests/)
"""

import os
import shutil
import subprocess
import sys
import time

from PIL import Image, ImageChops

sys.dont_write_bytecode = True  # leave no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine import check, run_checks  # noqa: E402

FOLDER, NATIVE_LEVELTOOL, SOURCE, PREFIX, OUT = sys.argv[1:6]
# Levels whose check finds something, besides the demo's source.
CHECKED = ["levels/demo.json", "tests/fuzz/corpus/level/bad_codes.map",
           "tests/fuzz/corpus/level/blob_inside_terrain.map", "tests/fuzz/corpus/level/forty_one.map"]

def exe(name):
    return os.path.join(FOLDER, name + ".exe")


def native(argv):
    return subprocess.run(argv, cwd=SOURCE, capture_output=True, text=True, timeout=120)


def same_output(a, b):
    """Windows' C library ends lines with CR LF."""
    return (a.returncode, a.stdout, a.stderr) == (b.returncode, b.stdout.replace("\r\n", "\n"),
                                                 b.stderr.replace("\r\n", "\n"))


def check_help(wine):
    for tool in ("leveltool", "blobrun", "oggplay"):
        done = wine.run([exe(tool), "--help"], cwd=OUT, timeout=60)
        check(done.returncode == 0 and "usage" in done.stdout.lower()
              and not os.path.exists(os.path.join(OUT, "stdout.txt")),
              "%s.exe --help prints its usage on the console (%d)" % (tool, done.returncode))


def check_leveltool(wine):
    ours, theirs = os.path.join(OUT, "native.map"), os.path.join(OUT, "windows.map")
    built = native([NATIVE_LEVELTOOL, "build", "levels/demo.json", ours])
    done = wine.run([exe("leveltool"), "build", "levels/demo.json", theirs], cwd=SOURCE)
    same = (built.returncode == done.returncode == 0 and
            open(ours, "rb").read() == open(theirs, "rb").read())
    size = os.path.getsize(theirs) if os.path.exists(theirs) else 0
    check(same, "leveltool.exe build levels/demo.json gives the native tool's bytes (%d bytes)"
          % size)

    for level in CHECKED:
        a = native([NATIVE_LEVELTOOL, "check", level])
        b = wine.run([exe("leveltool"), "check", level], cwd=SOURCE)
        check(same_output(a, b), "leveltool.exe check %s gives the native findings (status %d, "
              "%d lines)" % (level, b.returncode, len((a.stdout + a.stderr).splitlines())))
        if not same_output(a, b):
            print("      native: %r\n      Windows: %r" % (a.stdout + a.stderr, b.stdout + b.stderr))

    a = native([NATIVE_LEVELTOOL, "dump", "data/level.map"])
    b = wine.run([exe("leveltool"), "dump", "data/level.map"], cwd=SOURCE)
    check(same_output(a, b), "leveltool.exe dump data/level.map gives the native JSON")


def check_render(wine):
    """Both draw with the same Mesa on the test's X server; the crate and
    faces are decoded by another library (stb_image), so a few pixels may
    differ by some levels."""
    ours, theirs = os.path.join(OUT, "native.png"), os.path.join(OUT, "windows.png")
    native([NATIVE_LEVELTOOL, "render", "data/level.map", ours])
    done = wine.run([exe("leveltool"), "render", "data/level.map", theirs], cwd=SOURCE)
    if done.returncode != 0 or not os.path.exists(theirs):
        check(False, "leveltool.exe render draws the level (%d: %s)" % (done.returncode,
                                                                       done.stderr.strip()))
        return
    a, b = Image.open(ours).convert("RGB"), Image.open(theirs).convert("RGB")
    bad = -1
    if a.size == b.size:
        bad = sum(1 for p in ImageChops.difference(a, b).getdata() if max(p) > 24)
    check(a.size == b.size and bad <= a.size[0] * a.size[1] // 100,
          "leveltool.exe render draws the native picture (%dx%d; %d pixels differ by more than "
          "24 levels)" % (b.size + (bad,)))


def check_oggplay(wine):
    wav, ogg = os.path.join(OUT, "tone.wav"), os.path.join(OUT, "tone.ogg")
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "0.5",
                    "sine", "440"], check=True, timeout=60)
    subprocess.run(["oggenc", "-Q", "-c", "TITLE=tone", wav, "-o", ogg], check=True, timeout=60)
    done = wine.run([exe("oggplay"), "tone.ogg"], cwd=OUT, extra_env={"ALSOFT_DRIVERS": "null"})
    check(done.returncode == 0 and "TITLE=tone" in done.stdout and "played" in done.stdout,
          "oggplay.exe plays an Ogg file into the null device (%d: %s)"
          % (done.returncode, done.stderr.strip()))


def check_refusals(wine):
    """Each run refuses the path in one line and ends at once: the reader
    opens without waiting and asks the handle what it is; a name Windows
    keeps for a device (CON, like NUL) is named a device without opening
    it. oggplay reads through the same rules."""
    os.makedirs(os.path.join(OUT, "a folder"), exist_ok=True)
    fifo = os.path.join(OUT, "pipe.map")
    if not os.path.exists(fifo):
        os.mkfifo(fifo)
    with open(os.path.join(OUT, "huge.map"), "wb") as f:
        f.truncate((128 << 20) + 1)  # sparse: one byte over the limit, no disk used
    device, folder, pipe = ("it is a device, not a file", "it is a folder, not a file",
                            "it is a pipe, not a file")
    # (program and arguments, the path refused, exit status, the reason; None:
    # Wine's own words)
    runs = [(["leveltool", "check", "NUL"], "NUL", 1, device),
            (["leveltool", "build", "NUL", "out.map"], "NUL", 1, device),
            (["leveltool", "check", "a folder"], "a folder", 1, folder),
            (["leveltool", "check", "pipe.map"], "pipe.map", 1, pipe),
            (["leveltool", "check", "CON"], "CON", 1, device),
            (["oggplay", "CON"], "CON", 1, device),
            (["oggplay", "pipe.map"], "pipe.map", 1, pipe),
            (["oggplay", "a folder"], "a folder", 1, folder),
            (["leveltool", "check", "huge.map"], "huge.map", 1,
             "it holds more than 128 MB, the most a file may hold to be read"),
            (["blobrun", "NUL", "NUL", "60"], "NUL", 2, device),
            (["blobrun", "CON", "NUL", "60"], "CON", 2, device),
            (["blobrun", "a folder", "NUL", "60"], "a folder", 2, folder),
            (["blobdemo", "NUL"], "NUL", 1, device),
            (["blobdemo", "a folder"], "a folder", 1, folder)]
    for argv, path, status, reason in runs:
        started = time.monotonic()
        done = wine.run([exe(argv[0])] + argv[1:], cwd=OUT, timeout=120,
                        extra_env={"ALSOFT_DRIVERS": "null"})
        took = time.monotonic() - started
        said = done.stderr
        if argv[0] == "blobdemo":  # a windowed program: its words go beside it
            said = read_and_remove(os.path.join(FOLDER, "stderr.txt"))
        if argv[0] == "blobrun":
            head, tail = "blobrun: cannot read the level: ", " (%s)\n" % path
        else:
            verb = "open" if argv[0] == "oggplay" else "read"
            head, tail = "%s: %s: cannot %s it: " % (argv[0], path, verb), "\n"
        words = said.startswith(head) and said.endswith(tail) and (
            reason is None or said == head + reason + tail)
        check(done.returncode == status and said.count("\n") == 1 and words
              and not done.stdout,
              "%s.exe %s refuses in one line naming it, status %d, in %.1f s (%d: %r)"
              % (argv[0], " ".join(argv[1:]), status, took, done.returncode, said))
    os.remove(os.path.join(OUT, "huge.map"))


def check_writes(wine):
    """The whole-file writer replaces a regular file only: NUL and a folder are
    refused in one line (renaming over them would put a file in their place),
    and a symbolic link, which Wine shows as the file it leads to, is written
    through, the link kept and its target replaced."""
    os.makedirs(os.path.join(OUT, "written", "a folder"), exist_ok=True)
    level = os.path.join(SOURCE, "data", "level.map")
    folder = os.path.join(OUT, "written")
    target, link = os.path.join(folder, "real.json"), os.path.join(folder, "link.json")
    with open(target, "w") as f:
        f.write("old")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink("real.json", link)
    for out, says in (("NUL", "it is a device, not a file"),
                      ("a folder", "it is a folder, not a file")):
        done = wine.run([exe("leveltool"), "dump", level, out], cwd=folder)
        said = done.stderr.replace("\r\n", "\n")
        check(done.returncode == 1 and said == "leveltool: %s: cannot write it: %s\n" % (out, says),
              "leveltool.exe dump LEVEL %s refuses it in one line (%d: %r)"
              % (out, done.returncode, said))
    done = wine.run([exe("leveltool"), "dump", level, "link.json"], cwd=folder)
    with open(target) as f:
        dumped = f.read()
    check(done.returncode == 0 and os.path.islink(link) and dumped.startswith("{"),
          "leveltool.exe dump LEVEL link.json writes where the link leads, and keeps it (%d: %s)"
          % (done.returncode, done.stderr.strip()))


def check_unicode_names(wine):
    """Arguments come from the UTF-16 command line, and files are named in
    UTF-16: a name outside the code page (Wine's is 1252 here; Wine reads
    this side's arguments as UTF-8) builds and runs as any other."""
    source, level = "επίπεδο.json", "επίπεδο.map"
    with open(os.path.join(SOURCE, "levels", "demo.json"), "rb") as f:
        text = f.read()
    with open(os.path.join(OUT, source), "wb") as f:
        f.write(text)
    utf8 = {"LC_ALL": "C.UTF-8"}
    built = wine.run([exe("leveltool"), "build", source, level], cwd=OUT, extra_env=utf8)
    made = os.path.join(OUT, level)
    same = os.path.exists(made) and open(made, "rb").read() == open(
        os.path.join(OUT, "native.map"), "rb").read()
    check(built.returncode == 0 and same, "leveltool.exe build %s %s gives the native tool's "
          "bytes (%d: %s)" % (source, level, built.returncode, built.stderr.strip()))
    ran = wine.run([exe("blobrun"), level, "NUL", "60", "--final"], cwd=OUT, extra_env=utf8)
    check(ran.returncode == 0 and ran.stdout.startswith("tick 60 "), "blobrun.exe %s NUL 60 "
          "runs it (%d: %s)" % (level, ran.returncode, ran.stderr.strip()))
    music = os.path.join(OUT, "μουσική")
    os.makedirs(music, exist_ok=True)
    shutil.copy(os.path.join(OUT, "tone.ogg"), os.path.join(music, "plain.ogg"))
    played = wine.run([exe("oggplay"), "μουσική\\plain.ogg"], cwd=OUT,
                      extra_env=dict(utf8, ALSOFT_DRIVERS="null"))
    check(played.returncode == 0 and "TITLE=tone" in played.stdout, "oggplay.exe "
          "μουσική\\plain.ogg plays it (%d: %s)" % (played.returncode, played.stderr.strip()))
    missing = wine.run([exe("oggplay"), "μουσική\\absent.ogg"], cwd=OUT, extra_env=utf8)
    check(missing.stderr.startswith("oggplay: μουσική\\absent.ogg: "), "and names a file "
          "beyond the code page in UTF-8 (%r)" % missing.stderr)


def read_and_remove(path):
    if not os.path.exists(path):
        return ""
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read().replace("\r\n", "\n")
    os.remove(path)
    return text


def main():
    run_checks(PREFIX, OUT, [check_help, check_leveltool, check_render, check_oggplay,
                             check_refusals, check_writes, check_unicode_names])


if __name__ == "__main__":
    main()
