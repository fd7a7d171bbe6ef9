"""Running the Windows build's programs under Wine for the tests: one Wine
prefix of the tests' own (made on first use, kept in the build folder),
every program bounded in time, and Wine's server ended afterwards; and the
tests' checks, one line each, with the summary line CTest reads.

As a module: `Wine(prefix)`, `check`, `run_checks`. As a program:
    wine.py PREFIX init   makes the prefix if it is missing
    wine.py PREFIX stop   ends the prefix's server
"""

import os
import signal
import subprocess
import sys
import tempfile

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
