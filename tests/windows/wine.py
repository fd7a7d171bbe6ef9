"""Running the Windows build's programs under Wine for the tests: one Wine
prefix of the tests' own (made on first use, kept in the build folder),
every program bounded in time, and Wine's server ended afterwards; and the
tests' checks, one line each, with the summary line CTest reads.

As a module: `Wine(prefix)`, `check`, `run_checks`. As a program:
    wine.py PREFIX init   makes the prefix if it is missing
    wine.py PREFIX stop   ends the prefix's server
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINE = "/usr/lib/wine/wine64"  # not on the PATH in Debian 12
WINESERVER = "/usr/lib/wine/wineserver"
BOOT_SECONDS = 180  # a loaded machine makes the prefix in 12 to 30 s


class Wine:
    def __init__(self, prefix):
        self.prefix = os.path.abspath(prefix)

    def env(self, extra=None):
        """The environment, less the SDL drivers that Linux's tests choose:
        Windows' SDL has its own."""
        env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all")
        for name in ("SDL_VIDEODRIVER", "SDL_AUDIODRIVER"):
            env.pop(name, None)
        env.update(extra or {})
        return env

    def init(self):
        """Makes the prefix, once; True when it is there."""
        if os.path.exists(os.path.join(self.prefix, "system.reg")):
            return True
        # wineboot without a display: no window, no question asked.
        env = self.env({"DISPLAY": ""})
        done = subprocess.run([WINE, "wineboot", "--init"], env=env, capture_output=True,
                              text=True, timeout=BOOT_SECONDS)
        self.stop()
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            print("wine.py: cannot make the prefix %s: %s" % (self.prefix, done.stderr[-500:]),
                  file=sys.stderr)
            return False
        return True

    def run(self, argv, cwd=None, extra_env=None, timeout=120):
        """Runs a Windows program to its end: a CompletedProcess, text. Its
        output goes through files, not pipes: Wine's helper processes keep
        a pipe open until Wine's server lets them go, some 3 seconds after
        the program ended, and reading to the pipe's end waited for that."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run([WINE] + argv, cwd=cwd, env=self.env(extra_env),
                                  stdout=out, stderr=err, timeout=timeout)
            return subprocess.CompletedProcess(done.args, done.returncode, text_of(out),
                                               text_of(err))

    def start(self, argv, cwd=None, extra_env=None):
        """Starts a Windows program; Wine runs it in the process it starts,
        so the Popen's pid is the program's. What Wine itself prints is
        dropped (a windowed program's own output goes to its files)."""
        return subprocess.Popen([WINE] + argv, cwd=cwd, env=self.env(extra_env),
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def stop(self):
        """Ends the prefix's server and every program still running in it."""
        subprocess.run([WINESERVER, "-k"], env=self.env(), capture_output=True, timeout=60)


def windows_path(path):
    """How Wine names a path of this side: Z: is the root."""
    return "Z:" + path.replace("/", "\\")


def pids_named(name):
    """The processes whose program, as Wine names it, is `name`."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                program = f.read().split(b"\0")[0].decode("utf-8", "replace")
        except OSError:
            continue
        if program.replace("/", "\\").split("\\")[-1].lower() == name:
            found.append(int(pid))
    return found


class Windowed:
    """A windowed program started under Wine through cmd, which writes the
    program's exit code to a file when it ends. The Unix status cannot
    tell it: Wine's server kills a program whose Unix side is still there
    half a second after its last thread ended, as on a busy machine, and
    that status is then -9 whatever the program returned.

    Like a Popen: poll(), wait(timeout) (the program's code), kill(), and
    `pid`, the program's own process (Wine starts it apart from cmd)."""

    def __init__(self, wine, argv, cwd=None, extra_env=None):
        program = windows_path(argv[0]) if argv[0].startswith("/") else argv[0]
        line = " ".join([program] + list(argv[1:]))
        if " " in "".join(argv):
            raise ValueError("cmd would split a path or argument with a space: %r" % argv)
        self.name = program.split("\\")[-1].lower()
        self.before = set(pids_named(self.name))
        self.folder = tempfile.mkdtemp(prefix="windowed-")
        os.chmod(self.folder, 0o777)  # a player who is not root writes there too
        status = windows_path(os.path.join(self.folder, "status"))
        self.cmd = wine.start(["cmd", "/v:on", "/c", "%s & echo !errorlevel!> %s" % (line, status)],
                              cwd=cwd, extra_env=extra_env)
        self._pid = None

    @property
    def pid(self):
        """The program's process, once Wine has started it (up to 60 s)."""
        deadline = time.monotonic() + 60
        while self._pid is None and time.monotonic() < deadline and self.cmd.poll() is None:
            fresh = [p for p in pids_named(self.name) if p not in self.before]
            self._pid = fresh[0] if fresh else None
            time.sleep(0.05)
        if self._pid is None:
            raise RuntimeError("no process of %s appeared" % self.name)
        return self._pid

    def code(self):
        try:
            with open(os.path.join(self.folder, "status")) as f:
                return int(f.read().strip())
        except (OSError, ValueError):
            return self.cmd.returncode  # cmd itself did not get to write it

    def poll(self):
        return None if self.cmd.poll() is None else self.code()

    def wait(self, timeout=None):
        self.cmd.wait(timeout=timeout)
        return self.code()

    def kill(self):
        if self._pid is not None:
            try:
                os.kill(self._pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.cmd.kill()

    def __del__(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def wait_said(path, text, times=1, seconds=60):
    """Waits until the file at `path` (a program's stderr.txt) holds `text`
    `times` times: the seconds it took, or None when it never did."""
    started = time.monotonic()
    while True:
        try:
            with open(path, encoding="utf-8", errors="replace") as f:
                if f.read().count(text) >= times:
                    return time.monotonic() - started
        except FileNotFoundError:
            pass
        if time.monotonic() - started >= seconds:
            return None
        time.sleep(0.05)


def text_of(file):
    """A file's bytes as text, line ends made "\\n", as text=True reads a pipe."""
    file.seek(0)
    return file.read().decode("utf-8", "replace").replace("\r\n", "\n").replace("\r", "\n")


def end(process, seconds=10):
    """Waits up to `seconds` for a started program, then kills it by its pid;
    returns its exit status, or None when it had to be killed."""
    try:
        return process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        os.kill(process.pid, signal.SIGCONT)
        process.kill()
        process.wait(timeout=30)
        return None


failures = []
checks_run = [0]


def check(ok, what):
    checks_run[0] += 1
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)


def run_checks(prefix, out, steps):
    """Runs each step(wine) in turn, with Wine's prefix made and its server
    ended afterwards; prints the summary and exits 1 if a check failed."""
    os.makedirs(out, exist_ok=True)
    wine = Wine(prefix)
    if not wine.init():
        sys.exit(1)
    try:
        for step in steps:
            step(wine)
    except Exception as error:  # one line, then the summary
        check(False, "the test ran to its end (%s)" % error)
    finally:
        wine.stop()
    print("%d passed, %d failed" % (checks_run[0] - len(failures), len(failures)))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    wine = Wine(sys.argv[1])
    if sys.argv[2] == "init":
        sys.exit(0 if wine.init() else 1)
    wine.stop()
