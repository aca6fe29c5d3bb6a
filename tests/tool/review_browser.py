#!/usr/bin/env python3
"""Opens a review page in headless Chromium through ChromeDriver and checks
what a reviewer sees: no console error, the lines in order of confidence,
and, while a line plays, the mouth drawing of the row under the clip's
position (within a frame), from the line's own project as convert times
it, not from the page's data.

    review_browser.py PAGE REPORT.json CLIP TIMING.json

REPORT is the batch's report, whose lines the page must list failed ones
first, then by confidence, lowest first; CLIP names the line to play, and
TIMING is its project converted to timing JSON (each row's times and
drawing). Exit status 0 when all holds, 1 otherwise, 77 without Chromium."""

import json
import os
import shutil
import socket
import subprocess
import sys
import time
import urllib.request

failures = []


def fail(text):
    print("FAIL: " + text)
    failures.append(text)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Driver:
    def __init__(self, port):
        self.base = "http://127.0.0.1:%d" % port
        self.session = None

    def call(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=60) as answer:
            return json.loads(answer.read().decode())["value"]

    def start(self):
        options = {
            "binary": shutil.which("chromium"),
            "args": ["--headless=new", "--no-sandbox", "--disable-gpu",
                     "--autoplay-policy=no-user-gesture-required", "--window-size=1200,900"],
        }
        capabilities = {"alwaysMatch": {"browserName": "chrome", "goog:chromeOptions": options,
                                        "goog:loggingPrefs": {"browser": "ALL"}}}
        self.session = self.call("POST", "/session", {"capabilities": capabilities})["sessionId"]

    def run(self, script, *args):
        return self.call("POST", "/session/%s/execute/sync" % self.session,
                         {"script": script, "args": list(args)})

    def key(self, value):
        action = {"type": "key", "id": "keyboard",
                  "actions": [{"type": "keyDown", "value": value}, {"type": "keyUp", "value": value}]}
        self.call("POST", "/session/%s/actions" % self.session, {"actions": [action]})

    def open(self, url):
        self.call("POST", "/session/%s/url" % self.session, {"url": url})

    def console(self):
        return self.call("POST", "/session/%s/se/log" % self.session, {"type": "browser"})

    def stop(self):
        if self.session:
            try:
                self.call("DELETE", "/session/" + self.session)
            except OSError:
                pass


def drawings_near(rows, ms, frame):
    """The drawings of the rows under [ms - frame, ms + frame]; a row with no
    drawing leaves the previous one."""
    near, last = set(), ""
    for row in rows:
        if row.get("drawing"):
            last = row["drawing"]
        if row["startMs"] <= ms + frame and row["endMs"] >= ms - frame and last:
            near.add(last)
    if ms >= rows[-1]["endMs"] and last:
        near.add(last)
    return near


def main():
    page, report_path, clip, timing_path = sys.argv[1:5]
    if not shutil.which("chromium") or not shutil.which("chromedriver"):
        print("chromium or chromedriver is not installed")
        return 77
    with open(report_path) as file:
        report = json.load(file)
    with open(timing_path) as file:
        timing = json.load(file)

    def rank(line):
        confidence = line.get("confidence")
        return ({"failed": 0, "needs a look": 1}.get(line["status"], 2),
                2.0 if confidence is None else confidence, line["clip"])
    order = [line["clip"] for line in sorted(report, key=rank)]
    expected = {"order": order, "line": order.index(clip), "rows": timing["rows"],
                "frameMs": 1000.0 / int(timing["fps"])}
    port = free_port()
    server = subprocess.Popen(["chromedriver", "--port=%d" % port],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    driver = Driver(port)
    try:
        for _ in range(100):
            try:
                driver.call("GET", "/status")
                break
            except OSError:
                time.sleep(0.1)
        driver.start()
        driver.open("file://" + os.path.abspath(page))
        loaded = driver.run("const t = performance.getEntriesByType('navigation')[0];"
                            "return t ? t.loadEventEnd : -1;")
        print("the page loaded in %.0f ms" % loaded)

        names = driver.run("return Array.from(document.querySelectorAll('li.line .name'))"
                           ".map(n => n.textContent);")
        listed = [name.split(". ", 1)[1].split(" ")[0] for name in names]
        if listed != expected["order"]:
            fail("the lines are listed as %s, not %s" % (listed, expected["order"]))

        # Choose the line with the arrow keys, play it with space.
        for _ in range(expected["line"]):
            driver.key("\ue015")  # arrow down
        chosen = driver.run("return document.querySelector('li.chosen').id;")
        if chosen != "line-%d" % expected["line"]:
            fail("the arrow keys chose %s" % chosen)
        driver.key(" ")
        rows, frame = expected["rows"], expected["frameMs"]
        seen = []
        deadline = time.time() + 15
        while time.time() < deadline and len(seen) < 8:
            time.sleep(0.2)
            state = driver.run(
                "const a = document.querySelector('li.chosen'); const m = a.querySelector('.mouth');"
                "return [Number(m.dataset.ms || -1), m.dataset.drawing || '', a.classList.contains('playing')];")
            ms, drawing, playing = state
            if ms < 0:
                continue
            seen.append(ms)
            near = drawings_near(rows, ms, frame)
            if drawing not in near:
                fail("at %.0f ms the page shows %s, where the project holds %s" %
                     (ms, drawing, sorted(near)))
            if not playing:
                break
        if len(seen) < 3 or max(seen) <= 0:
            fail("the clip did not play: positions seen %s" % seen)
        else:
            print("drawings checked at %s ms" % ", ".join("%.0f" % ms for ms in seen))

        playing = "return document.querySelector('li.chosen').classList.contains('playing');"
        if not driver.run(playing):  # it ended: space plays it again
            driver.key(" ")
            time.sleep(0.3)
        driver.key(" ")
        time.sleep(0.1)
        if driver.run(playing):
            fail("space did not stop the line")

        errors = [entry for entry in driver.console() if entry.get("level") == "SEVERE"]
        for entry in errors:
            fail("console: " + entry.get("message", ""))
    finally:
        driver.stop()
        server.terminate()
        server.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
