#!/usr/bin/env python3
"""The playground page in a real browser.

Builds the WebAssembly target (preset wasm), serves its site folder on a
free loopback port, starts headless Chromium and drives the page through the
remote debugging protocol (cdp.py):
  1. an example with arguments, highlighted in the editor by the editors'
     grammar: its standard output and exit status appear in the panes; a
     screenshot of the page is saved (playground.png);
  2. a failing program: the error banner shows in the standard error pane
     with its colour escapes turned into coloured spans, no escape byte left;
     and a file written and read back, in the worker's own file system;
  3. an endless loop: the page answers while it runs; Stop ends the run
     within a second (the page says so, and the next run works), and the
     loop's worker is gone within Chromium's grace for busy workers.
Exit status 77 (skipped) when emcc or chromium is missing.

Usage: playground_test.py --source DIR --artefacts DIR [--no-build]
"""
import argparse
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402

SKIP = 77
FAILURES = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        FAILURES.append(what)


def build(source):
    env = dict(os.environ, NODE_PATH="/usr/share/nodejs")
    for command in (["cmake", "--preset", "wasm"], ["cmake", "--build", "--preset", "wasm"]):
        print("+ " + " ".join(command), flush=True)
        subprocess.run(command, cwd=source, env=env, check=True)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_chromium(profile):
    """Headless Chromium and the address of its debugging endpoint."""
    flags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + profile, "--remote-debugging-port=0", "--window-size=1280,900",
             "about:blank"]
    process = subprocess.Popen(["chromium"] + flags, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    port_file = os.path.join(profile, "DevToolsActivePort")
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        if os.path.exists(port_file):
            lines = open(port_file).read().split()
            if len(lines) >= 2:
                return process, "ws://127.0.0.1:%s%s" % (lines[0], lines[1])
        if process.poll() is not None:
            break
        time.sleep(0.1)
    process.kill()
    raise RuntimeError("chromium did not open its debugging port")


def wait_for(browser, session, expression, seconds, step=0.05):
    """Polls a page expression until it is true; its last value."""
    deadline = time.monotonic() + seconds
    value = browser.evaluate(session, expression)
    while not value and time.monotonic() < deadline:
        time.sleep(step)
        value = browser.evaluate(session, expression)
    return value


STATE = "(document.body && document.body.dataset.state)"
STDOUT = "document.getElementById('stdout').textContent"
STDERR = "document.getElementById('stderr').textContent"
STATUS = "document.getElementById('status').textContent"


def start_program(browser, session, program, args):
    """Puts a program and its arguments in the page and clicks Run."""
    browser.evaluate(session, "document.getElementById('program').value = %s;"
                     "document.getElementById('args').value = %s;"
                     "document.getElementById('run').click()" % (js(program), js(args)))


def run_program(browser, session, program, args, seconds=60):
    """Runs a program and waits for its end."""
    start_program(browser, session, program, args)
    return wait_for(browser, session, STATE + " === 'ready'", seconds)


def js(text):
    return json.dumps(text)


def workers_alive(browser):
    """Dedicated workers attached and not yet detached, by the events so far."""
    alive = set()
    for e in browser.events:
        if e["method"] == "Target.attachedToTarget" and e["params"]["targetInfo"]["type"] == "worker":
            alive.add(e["params"]["sessionId"])
        elif e["method"] == "Target.detachedFromTarget":
            alive.discard(e["params"]["sessionId"])
    return alive


def drive(browser, site_url, source, artefacts):
    target = browser.call("Target.createTarget", {"url": "about:blank"})["targetId"]
    session = browser.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
    browser.call("Runtime.enable", session=session)
    browser.call("Page.enable", session=session)
    # Workers show up as targets of their own, and leave when they end.
    browser.call("Target.setAutoAttach", {"autoAttach": True, "waitForDebuggerOnStart": False, "flatten": True},
                 session=session)
    browser.call("Page.navigate", {"url": site_url}, session=session)
    check(wait_for(browser, session, STATE + " === 'ready'", 120), "the page loads its interpreter")

    # 1. An example from the menu, with its arguments.
    names = browser.evaluate(session, "MOX_EXAMPLES.map(function (e) { return e.name; })")
    check("arguments.mox" in names, "the menu offers arguments.mox (it has %s)" % names)
    browser.evaluate(session, "var menu = document.getElementById('examples');"
                     "menu.value = String(MOX_EXAMPLES.findIndex(function (e) { return e.name === 'arguments.mox'; }));"
                     "menu.dispatchEvent(new Event('change'));"
                     "document.getElementById('run').click()")
    shown = browser.evaluate(session, "document.getElementById('highlight').textContent")
    text = browser.evaluate(session, "document.getElementById('program').value")
    check(shown == text + "\n", "the editor shows the example's text highlighted under it")
    kinds = browser.evaluate(session, "Array.from(new Set(Array.from(document.querySelectorAll('#highlight span'))"
                             ".map(function (s) { return s.className; })))")
    check({"tm-string-quoted", "tm-support-function", "tm-constant-numeric", "tm-keyword-operator"} <= set(kinds),
          "texts, builtins, numbers and operators are spans of their own: %r" % kinds)
    check(wait_for(browser, session, STATE + " === 'ready'", 60), "the example's run ends")
    out = browser.evaluate(session, STDOUT)
    check(out == "first\ntwo words\nlast [one]\n", "the example's output is in the pane: %r" % out)
    status = browser.evaluate(session, STATUS)
    check(status.startswith("exit status 3 "), "its exit status is shown: %r" % status)
    shot = browser.call("Page.captureScreenshot", {"format": "png"}, session=session)["data"]
    os.makedirs(artefacts, exist_ok=True)
    path = os.path.join(artefacts, "playground.png")
    with open(path, "wb") as f:
        f.write(base64.b64decode(shot))
    print("screenshot: " + path, flush=True)

    # 2. A failing program: the banner, coloured.
    run_program(browser, session, "a\\[hello world]", "")
    err = browser.evaluate(session, STDERR)
    check("\\/\\oh [range]" in err, "the banner is in the standard error pane")
    check("\x1b" not in err, "no escape byte is shown")
    greens = browser.evaluate(session, "Array.from(document.querySelectorAll('#stderr span.fg-32'))"
                              ".map(function (s) { return s.textContent; })")
    check(len(greens) >= 2 and all(g.strip() in ("", ",") for g in greens),
          "the banner's symbolic bytes are green spans: %r" % greens[:6])
    check(browser.evaluate(session, STATUS).startswith("exit status 2 "), "a failed stage exits with 2")

    # A file written and read back: the worker's own file system.
    with open(os.path.join(source, "tests", "programs", "bridge", "file_roundtrip.mox")) as f:
        roundtrip = f.read()
    run_program(browser, session, roundtrip, "")
    check(browser.evaluate(session, STDOUT) == "written line\n", "a file is written and read back in the worker")
    check(browser.evaluate(session, STATUS).startswith("exit status 42 "), "with the status the program computes")

    # 3. An endless loop, and Stop. The worker that runs it was started
    # beforehand (the page keeps one loaded); it must be gone after Stop.
    start_program(browser, session, "a\\loop(1),loop\\n\\loop(n+1)", "")
    check(wait_for(browser, session, STATE + " === 'running'", 5), "the loop runs")
    time.sleep(1.0)
    started = time.monotonic()
    browser.evaluate(session, "1")
    check(time.monotonic() - started < 0.5, "the page answers while the loop runs")
    check(browser.evaluate(session, STATE) == "running", "the loop is still running after a second")
    loop_workers = workers_alive(browser)
    check(len(loop_workers) == 1, "one worker is alive during the loop (%d)" % len(loop_workers))
    stop_at = time.monotonic()
    browser.evaluate(session, "document.getElementById('stop').click()")
    check(wait_for(browser, session, STATE + " !== 'running'", 1.0, step=0.01)
          and browser.evaluate(session, STATUS).startswith("stopped"),
          "the page ends the run within a second of Stop (%.2f s)" % (time.monotonic() - stop_at))
    # Chromium lets a worker that is busy in a loop run on for up to two
    # seconds after terminate() before it ends it by force; the loop's worker
    # must be gone within that grace.
    while time.monotonic() - stop_at < 5.0 and loop_workers & workers_alive(browser):
        time.sleep(0.02)
        browser.evaluate(session, "1")  # takes in the events that came meanwhile
    ended = [e["received"] - stop_at for e in browser.events
             if e["method"] == "Target.detachedFromTarget" and e["params"]["sessionId"] in loop_workers]
    check(bool(ended) and ended[0] < 3.0,
          "the loop's worker is gone %s after Stop" % ("%.2f s" % ended[0] if ended else "not even 5 s"))
    check(run_program(browser, session, "a\\7", ""), "the page runs again after Stop")
    check(browser.evaluate(session, STATUS).startswith("exit status 7 "), "and the next run's status shows")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--artefacts", required=True)
    parser.add_argument("--no-build", action="store_true")
    a = parser.parse_args()
    missing = [tool for tool in ("emcc", "chromium") if shutil.which(tool) is None]
    if missing:
        print("SKIPPED: %s not found; tools/deps installs them" % " and ".join(missing))
        return SKIP
    if not a.no_build:
        build(a.source)
    site = os.path.join(a.source, "build", "wasm", "web", "site")
    server = serve(site)
    url = "http://127.0.0.1:%d/index.html" % server.server_address[1]
    profile = tempfile.mkdtemp(prefix="mox-chromium-")
    process, endpoint = start_chromium(profile)
    try:
        browser = cdp.Browser(endpoint)
        try:
            drive(browser, url, a.source, a.artefacts)
        finally:
            browser.close()
    finally:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)
    if FAILURES:
        print("%d check(s) failed" % len(FAILURES))
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
