"""Headless Chromium and a static web server for the browser tests, each a
process of its own that is bounded in time and stopped by its PID, and a
small client of Chromium's DevTools protocol over its WebSocket."""

import base64
import io
import json
import os
import signal
import socket
import subprocess
import tempfile
import time
import urllib.request

import websocket
from PIL import Image


class Process:
    """A child process in a session of its own. `timeout` runs it under
    coreutils' timeout, so it ends even if this program dies first; stop()
    ends it and the helpers it started (its process group, whose id is the
    child's PID)."""

    def __init__(self, argv, seconds, log_path):
        self.log = open(log_path, "wb")
        self.proc = subprocess.Popen(
            ["timeout", "-k", "5", str(seconds)] + argv,
            stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
            start_new_session=True)
        self.pid = self.proc.pid

    def running(self):
        return self.proc.poll() is None

    def stop(self):
        if self.running():
            try:
                os.killpg(self.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(self.pid, signal.SIGKILL)
                self.proc.wait(5)
        self.log.close()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_until(what, seconds, check, step=0.05):
    """Polls check() until it returns a true value, which is returned; fails
    with `what` after `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %gs waiting for %s" % (seconds, what))
        time.sleep(step)


class Server:
    """The page's own server, `scripts/web.sh --serve PORT`, on a free port.
    It brings the build up to date first (a moment when it is), then
    serves; `printed` is what it said."""

    def __init__(self, web_sh, log_dir, seconds):
        self.port = free_port()
        self.log_path = os.path.join(log_dir, "server.log")
        self.process = Process([web_sh, "--serve", str(self.port)], seconds, self.log_path)
        self.url = "http://127.0.0.1:%d/" % self.port
        wait_until("the web server", 120, self._answers, step=0.2)

    def printed(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def _answers(self):
        if not self.process.running():
            raise AssertionError("scripts/web.sh --serve ended: " + self.printed()[-2000:])
        try:
            with urllib.request.urlopen(self.url, timeout=1) as reply:
                return reply.status == 200
        except OSError:
            return False

    def stop(self):
        self.process.stop()


# Flags for a quiet, self-contained headless browser: software WebGL, no
# background connections (the machine has no network), a fresh profile.
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-quic", "--no-first-run", "--no-default-browser-check", "--mute-audio",
    "--autoplay-policy=no-user-gesture-required", "--remote-debugging-port=0",
    "--remote-allow-origins=*",
]


class Chromium:
    def __init__(self, log_dir, seconds):
        self.profile = tempfile.mkdtemp(prefix="blob-chromium-")
        self.process = Process(
            ["chromium"] + CHROMIUM_FLAGS + ["--user-data-dir=" + self.profile, "about:blank"],
            seconds, os.path.join(log_dir, "chromium.log"))
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        lines = wait_until("Chromium's DevTools port", 30, lambda: self._read(port_file))
        self.port = int(lines[0])

    @staticmethod
    def _read(path):
        try:
            with open(path) as f:
                lines = f.read().split()
            return lines if len(lines) >= 2 else None
        except OSError:
            return None

    def page(self):
        with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % self.port, timeout=5) as r:
            targets = json.load(r)
        page = next(t for t in targets if t["type"] == "page")
        return Page(page["webSocketDebuggerUrl"])

    def stop(self):
        self.process.stop()
        subprocess.run(["rm", "-rf", self.profile], check=False)


class Checks:
    """Checks, each printed as it is made; summary() prints the closing count
    and returns the exit status."""

    def __init__(self):
        self.made = 0
        self.failures = []

    def __call__(self, ok, what):
        self.made += 1
        print(("ok    " if ok else "FAIL  ") + what, flush=True)
        if not ok:
            self.failures.append(what)

    def summary(self):
        print("%d passed, %d failed" % (self.made - len(self.failures), len(self.failures)))
        return 1 if self.failures else 0


def with_served_page(web_sh, out_dir, seconds, play):
    """Serves the page with `scripts/web.sh --serve`, opens it in headless
    Chromium and calls play(page, server); then stops both, whatever
    happened."""
    os.makedirs(out_dir, exist_ok=True)
    server = Server(web_sh, out_dir, seconds)
    browser = None
    try:
        browser = Chromium(out_dir, seconds)
        page = browser.page()
        play(page, server)
        page.close()
    finally:
        if browser:
            browser.stop()
        server.stop()


class Page:
    """One page, driven over the DevTools protocol."""

    def __init__(self, ws_url):
        self.ws = websocket.create_connection(ws_url, timeout=60, suppress_origin=True)
        self.next_id = 0
        self.console = []  # (level, text) of every console message and exception
        self.send("Runtime.enable")
        self.send("Page.enable")
        self.send("Log.enable")  # the browser's own messages: WebGL errors, failed loads

    def send(self, method, **params):
        self.next_id += 1
        my_id = self.next_id
        self.ws.send(json.dumps({"id": my_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == my_id:
                if "error" in message:
                    raise AssertionError("%s failed: %s" % (method, message["error"]))
                return message.get("result", {})
            self._event(message)

    def _event(self, message):
        method = message.get("method")
        params = message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
        elif method == "Log.entryAdded":
            entry = params["entry"]
            self.console.append((entry["level"], entry.get("text", "")))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            text = details.get("exception", {}).get("description", details.get("text", ""))
            self.console.append(("exception", text))

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise AssertionError("page script failed: %s: %s" %
                                 (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, what, expression, seconds):
        return wait_until(what, seconds, lambda: self.evaluate(expression), step=0.1)

    def set_viewport(self, width, height):
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=False)

    def navigate(self, url):
        self.send("Page.navigate", url=url)

    def screenshot(self, clip=None):
        params = {"format": "png"}
        if clip:
            params["clip"] = dict(clip, scale=1)
        data = self.send("Page.captureScreenshot", **params)["data"]
        return Image.open(io.BytesIO(base64.b64decode(data))).convert("RGB")

    def element_box(self, selector):
        return self.evaluate(
            "(() => { const r = document.querySelector(%s).getBoundingClientRect();"
            " return {x: r.x + scrollX, y: r.y + scrollY, width: r.width, height: r.height}; })()"
            % json.dumps(selector))

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    KEYS = {"Right": (39, "ArrowRight"), "Left": (37, "ArrowLeft"), "Up": (38, "ArrowUp"),
            "Down": (40, "ArrowDown"), "Tab": (9, "Tab"), "Escape": (27, "Escape")}

    def key(self, name, kind, repeat=False):
        code, key = self.KEYS[name]
        self.send("Input.dispatchKeyEvent", type=kind, windowsVirtualKeyCode=code,
                  nativeVirtualKeyCode=code, key=key, code=key, autoRepeat=repeat)

    def tap(self, name):
        self.key(name, "rawKeyDown")
        self.key(name, "keyUp")

    def drop_file(self, path, at):
        """Drops the file onto the page at `at` as a player does, through the
        browser's own drag and drop, and returns the line in the page's
        status that answers it (emptied first). A level source is first said
        to be building; the answer comes after that."""
        self.evaluate("document.getElementById('status').textContent = ''")
        for kind in ("dragEnter", "dragOver", "drop"):
            self.send("Input.dispatchDragEvent", type=kind, x=at[0], y=at[1],
                      data={"items": [], "files": [path], "dragOperationsMask": 1})
        return self.wait_for("the page's answer to " + os.path.basename(path),
                             "(t => !t.endsWith('building the level\\u2026') && t)"
                             "(document.getElementById('status').textContent)", 30)

    def status_is_error(self):
        return self.evaluate("document.getElementById('status').classList.contains('error')")

    def touch(self, kind, x=0, y=0):
        """A finger put down at (x, y) ("touchStart") or lifted ("touchEnd"),
        as a touch screen reports it; needs touch emulation switched on."""
        points = [{"x": x, "y": y}] if kind == "touchStart" else []
        self.send("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def choose_file(self, selector, path):
        """Chooses a file in the file input, as a player does in its dialog."""
        root = self.send("DOM.getDocument")["root"]["nodeId"]
        node = self.send("DOM.querySelector", nodeId=root, selector=selector)["nodeId"]
        self.send("DOM.setFileInputFiles", nodeId=node, files=[path])

    def close(self):
        self.ws.close()
