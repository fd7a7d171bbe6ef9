"""Replays on the page, in headless Chromium over the DevTools protocol.

A session is played with keys and ended with Escape: the page offers its
replay for download. That replay is checked by blobrun built for Node and by
the native blobrun: every build computes the same bits, so both must match.
Dropped back onto the page, the replay plays and the page says it matched. A
desktop replay dropped after its level plays too, matching at every
checkpoint until Escape stops it; a replay of a level the page does not have
is refused in one line.

usage: replay_page_test.py WEB_SH BLOBRUN BLOBRUN_JS REPLAY_DIR OTHER_REPLAY OUT_DIR
"""

import os
import re
import subprocess
import sys

sys.dont_write_bytecode = True  # leave no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Checks, with_served_page  # noqa: E402

WEB_SH, BLOBRUN, BLOBRUN_JS, STORED, OTHER_REPLAY, OUT = sys.argv[1:7]
SECONDS = 240

# The ticks the game has run (it draws only the last of those a frame runs).
TICK_HOOK = """
Object.defineProperty(window, '__ticks', {get: () =>
  window.Module && Module.calledRun ? Module._blob_ticks_run() : 0});
"""

check = Checks()


def drop(page, name, data, at):
    path = os.path.join(OUT, name)
    with open(path, "wb") as f:
        f.write(data)
    return page.drop_file(path, at)


def run(argv):
    done = subprocess.run(argv, capture_output=True, text=True, timeout=120,
                          env=dict(os.environ, NODE_PATH="/usr/share/nodejs"))
    return done.returncode, (done.stdout.strip() or done.stderr.strip())


def start(page, url):
    page.navigate(url)
    page.wait_for("the game", "document.getElementById('overlay')?.dataset.state === 'click'", 30)
    box = page.element_box("#canvas")
    middle = (box["x"] + 400, box["y"] + 300)
    page.click(*middle)
    page.wait_for("focus", "document.activeElement.id === 'canvas'", 5)
    return middle


def wait_ticks(page, n, seconds=30):
    page.wait_for("tick %d" % n, "window.__ticks >= %d" % n, seconds)


def stopped_text(page, seconds=10):
    """What the page says once the game has stopped: the verdict on a replay
    played (in the status line) and the replay offered, if any."""
    page.wait_for("the stopped game", "document.getElementById('overlay').dataset.state === "
                  "'stopped'", seconds)
    return page.evaluate("document.getElementById('status').innerText + ' ' + "
                         "(document.getElementById('replay-offer')?.innerText || '')").strip()


def record_session(page, url):
    """About four seconds of play, then Escape: the replay the page offers."""
    start(page, url)
    page.key("Right", "rawKeyDown")
    wait_ticks(page, 80)
    page.tap("Up")
    wait_ticks(page, 140)
    page.key("Right", "keyUp")
    page.tap("Tab")
    page.tap("Down")
    wait_ticks(page, 230)
    page.tap("Escape")
    offer = stopped_text(page)
    page.screenshot().save(os.path.join(OUT, "replay_offered.png"))
    check("Download the replay of this session" in offer,
          "after Escape the page offers the session's replay: %r" % offer)
    name = page.evaluate("document.getElementById('replay-download').download")
    check(re.fullmatch(r"blobdemo-\d{8}-\d{4}\.replay", name or "") is not None,
          "the download is named for the day and time: %r" % name)
    text = page.evaluate("fetch(document.getElementById('replay-download').href)"
                         ".then(r => r.text())")
    path = os.path.join(OUT, "page.replay")
    with open(path, "w") as f:
        f.write(text)
    return path, text


def check_on_both_builds(path, ticks):
    for name, runner in (("blobrun for Node", ["node", "--no-experimental-fetch", BLOBRUN_JS]),
                         ("the desktop's blobrun", [BLOBRUN])):
        status, said = run(runner + ["--replay", path, os.path.join(STORED, "demo_level.map")])
        check(status == 0 and said.endswith("replay matches: %d ticks" % ticks),
              "%s matches the page's replay: %s" % (name, said))


def main():
    def played(page, server):
        page.set_viewport(1000, 900)
        page.send("Page.addScriptToEvaluateOnNewDocument", source=TICK_HOOK)
        play(page, server.url)
    with_served_page(WEB_SH, OUT, SECONDS, played)
    return check.summary()


def play(page, url):
    path, text = record_session(page, url)
    ticks = int(re.search(r"^# ticks: (\d+)$", text, re.M).group(1))
    check(ticks >= 230 and "# program: blobdemo " in text and "(browser)" in text
          and "down Tab" in text and "# state 100: " in text,
          "the page's replay names the browser build, holds the keys and state hashes "
          "(%d ticks)" % ticks)
    check_on_both_builds(path, ticks)

    # The page's own replay, dropped back onto it: played to its end.
    middle = start(page, url)
    message = drop(page, "page.replay", text.encode(), middle)
    check(not page.status_is_error() and message.startswith("Replaying page.replay: %d ticks"
                                                           % ticks),
          "a dropped replay plays: %r" % message)
    verdict = stopped_text(page, ticks / 30 + 10)
    page.screenshot().save(os.path.join(OUT, "replay_verdict.png"))
    check(verdict == "replay matches: %d ticks" % ticks and not page.status_is_error(),
          "the game ends with the replay, which matched: %r" % verdict)

    # A desktop replay, after its level: played, matching, until Escape past
    # tick 100.
    middle = start(page, url)
    with open(os.path.join(STORED, "demo_level.map"), "rb") as f:
        drop(page, "demo_level.map", f.read(), middle)
    with open(os.path.join(STORED, "demo_minute.replay"), "rb") as f:
        message = drop(page, "demo_minute.replay", f.read(), middle)
    check(message.startswith("Replaying demo_minute.replay: 4233 ticks, recorded by blobdemo"),
          "a desktop replay dropped after its level plays: %r" % message)
    base = page.evaluate("window.__ticks")
    wait_ticks(page, base + 130)
    page.tap("Escape")
    verdict = stopped_text(page)
    print("      the page on the desktop's replay: %s" % verdict)
    check(not page.status_is_error() and verdict.startswith("replay stopped at tick")
          and "it matched so far (checkpoints up to tick 100" in verdict,
          "Escape stops the desktop's replay, which matched on the page up to then: %r" % verdict)
    check("Download" not in verdict, "a replay watched is not offered as a session")

    # A replay of a level the page does not have: one line, and play goes on.
    middle = start(page, url)
    with open(OTHER_REPLAY, "rb") as f:
        message = drop(page, "other.replay", f.read(), middle)
    check(page.status_is_error() and "a level this page does not have" in message
          and "\n" not in message, "a replay of another level is refused in one line: %r"
          % message)
    check(page.evaluate("document.getElementById('overlay').dataset.state") == "playing",
          "and the game plays on")

    errors = [text for level, text in page.console if level in ("error", "exception")]
    check(not errors, "no errors in the console %s" % errors[:3])


if __name__ == "__main__":
    sys.exit(main())
