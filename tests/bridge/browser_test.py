# SPDX-License-Identifier: Apache-2.0
"""End to end in a real browser: headless Chromium (Selenium, chromium-driver)
opens the demo page served by vantix-bridge --sim, signs through the sim.*
messages, and checks the live preview and the returned SVG. Saves a
screenshot, then measures the latency of pen samples from the virtual pad
to the page's event handler (p50, p99; no sample may be lost). ctest runs
these checks in web_app_test.py's browser (bridge_browser); alone:

    VANTIX_BRIDGE=build/tools/vantix-bridge/vantix-bridge python3 browser_test.py [--out DIR]
"""
import argparse
import os
import re
import shutil
import statistics
import tempfile
import time
import xml.etree.ElementTree as ET

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

from bridge_process import Bridge, program_from_env, run_main

# Three strokes in display pixels (240 x 64; the buttons are the bottom 16 rows).
STROKES = [
    [[20, 30], [28, 18], [34, 30], [40, 20], [48, 34], [56, 22], [62, 30]],
    [[75, 38], [80, 22], [86, 12], [92, 28], [98, 40], [104, 24]],
    [[120, 30], [140, 28], [160, 27], [180, 26], [200, 25], [220, 24]],
]
LATENCY_SAMPLES = 600
LATENCY_RATE = 200


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=900,1000", f"--user-data-dir={profile}", "--no-first-run"):
        options.add_argument(arg)
    service = Service(executable_path=shutil.which("chromedriver") or "/usr/bin/chromedriver")
    return webdriver.Chrome(service=service, options=options)


def run_async(driver, body, timeout=60):
    """Runs an async JS function body in the page; returns its value, raises its error."""
    driver.set_script_timeout(timeout)
    result = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        f"(async () => {{ {body} }})().then((v) => done({{ok: v}}), (e) => done({{error: String(e) + ' ' + (e.code || '')}}));")
    if "error" in result:
        raise AssertionError(result["error"])
    return result["ok"]


def wait_for(driver, what, check, timeout=20):
    return WebDriverWait(driver, timeout).until(lambda d: check(d), message=what)


def svg_paths(svg_text):
    """The strokes of an SVG export and every coordinate in them."""
    root = ET.fromstring(svg_text)
    shapes = [e for e in root.iter() if e.tag.split("}")[-1] in ("path", "polyline", "line", "circle")]
    xs, ys = [], []
    for e in shapes:
        tag = e.tag.split("}")[-1]
        if tag == "path":
            numbers = [float(n) for n in re.findall(r"-?\d+(?:\.\d+)?", e.get("d", ""))]
        elif tag == "polyline":
            numbers = [float(n) for n in re.findall(r"-?\d+(?:\.\d+)?", e.get("points", ""))]
        elif tag == "circle":
            numbers = [float(e.get("cx")), float(e.get("cy"))]
        else:
            numbers = [float(e.get(k)) for k in ("x1", "y1", "x2", "y2")]
        xs += numbers[0::2]
        ys += numbers[1::2]
    return shapes, xs, ys


def sign_and_check(driver, bridge, out_dir):
    driver.get(bridge.url)
    wait_for(driver, "the page connects and lists pads",
             lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-ready") == "1")
    options = [o.get_attribute("value") for o in driver.find_elements(By.CSS_SELECTOR, "#pads option")]
    assert "sim:0" in options, options
    driver.execute_script("document.getElementById('pads').value = 'sim:0'")
    driver.find_element(By.ID, "open").click()
    wait_for(driver, "the pad opens", lambda d: "virtual pad" in d.find_element(By.ID, "identity").text)
    driver.find_element(By.ID, "start").click()
    wait_for(driver, "signing starts", lambda d: "sign on the pad" in d.find_element(By.ID, "status").text)

    # Sign through sim.* (the client's bridge.sim), as the pad's pen would.
    strokes_js = repr(STROKES)
    run_async(driver, f"for (const s of {strokes_js}) await window.vantixDemo.bridge.sim.stroke(s, {{rate: 200}});")
    expected_samples = sum(len(s) + 1 for s in STROKES)
    wait_for(driver, "every sample reaches the preview",
             lambda d: d.find_element(By.ID, "samples").text == str(expected_samples)
             and d.find_element(By.ID, "strokes").text == str(len(STROKES)))

    # The live preview: ink on the canvas where the strokes go, none elsewhere.
    ink = driver.execute_script("""
        const c = document.getElementById('preview'), g = c.getContext('2d');
        const s = c.width / 240, data = g.getImageData(0, 0, c.width, c.height).data;
        const inked = (x, y) => { const i = (Math.round(y * s) * c.width + Math.round(x * s)) * 4;
                                  return data[i] < 100 && data[i + 2] > 100; };
        let count = 0;
        for (let i = 0; i < data.length; i += 4) if (data[i] < 100 && data[i + 2] > 100) count++;
        return {count, points: arguments[0].flat().map(([x, y]) => inked(x, y)), corner: inked(235, 3)};
    """, STROKES)
    assert all(ink["points"]), f"the preview lacks ink at some stroke points: {ink['points']}"
    assert not ink["corner"], "ink where no stroke went"
    assert ink["count"] > 1000, ink["count"]

    # OK on the virtual pad: the page finishes and shows the SVG.
    run_async(driver, "await window.vantixDemo.bridge.sim.button(0);")
    wait_for(driver, "the signature arrives", lambda d: d.find_elements(By.ID, "signature-svg"))
    signature = driver.execute_script(
        "const s = window.vantixDemo.signature; return {svg: s.svg, strokes: s.strokes, bounds: s.bounds, "
        "png: s.png.length, links: [...document.querySelectorAll('#downloads a')].map((a) => a.download)};")
    assert signature["strokes"] == len(STROKES), signature["strokes"]
    assert signature["links"] == ["signature.svg", "signature.png", "signature.inkml", "signature.json"], signature["links"]
    shapes, xs, ys = svg_paths(signature["svg"])
    assert len(shapes) == len(STROKES), f"{len(shapes)} shapes in the SVG"
    want = [p for s in STROKES for p in s]
    want_x = (min(p[0] for p in want), max(p[0] for p in want))
    want_y = (min(p[1] for p in want), max(p[1] for p in want))
    got_x, got_y = (min(xs), max(xs)), (min(ys), max(ys))
    for got, wanted in ((got_x, want_x), (got_y, want_y)):
        assert abs(got[0] - wanted[0]) <= 1.5 and abs(got[1] - wanted[1]) <= 1.5, (got, wanted)
    b = signature["bounds"]
    assert abs(b["left"] - want_x[0]) <= 1.5 and abs(b["bottom"] - want_y[1]) <= 1.5, b
    screenshot = os.path.join(out_dir, "bridge-demo.png")
    driver.save_screenshot(screenshot)
    print(f"signed in the browser: {len(shapes)} strokes, SVG x {got_x[0]:.1f}-{got_x[1]:.1f}, "
          f"y {got_y[0]:.1f}-{got_y[1]:.1f}; screenshot {screenshot}")


def measure_latency(driver):
    """600 samples at 200 a second from the virtual pad to a page handler."""
    driver.find_element(By.ID, "start").click()
    wait_for(driver, "signing starts again", lambda d: d.find_element(By.ID, "samples").text == "0")
    points = [[10 + (i * 220) / LATENCY_SAMPLES, 25 + 10 * ((i // 20) % 2)] for i in range(LATENCY_SAMPLES - 1)]
    result = run_async(driver, f"""
        const bridge = window.vantixDemo.bridge;
        const arrived = [], seqs = [];
        let overflow = 0;
        const want = {LATENCY_SAMPLES};
        let finished;
        const all = new Promise((resolve) => (finished = resolve));
        const off = bridge.on('sample', (s) => {{
            arrived.push((performance.timeOrigin + performance.now()) * 1000);
            seqs.push(s.seq);
            if (arrived.length === want) finished();
        }});
        const offOverflow = bridge.on('overflow', (o) => (overflow += o.dropped));
        const done = await bridge.sim.stroke({points!r}, {{rate: {LATENCY_RATE}}});
        await Promise.race([all, new Promise((r) => setTimeout(r, 5000))]);
        off(); offOverflow();
        return {{sent: done.sent, arrived, seqs, overflow}};
    """, timeout=90)
    sent, arrived, seqs = result["sent"], result["arrived"], result["seqs"]
    assert len(sent) == LATENCY_SAMPLES, len(sent)
    assert result["overflow"] == 0, f"{result['overflow']} samples lost to overflow"
    assert len(arrived) == len(sent), f"{len(sent) - len(arrived)} of {len(sent)} samples lost"
    assert seqs == list(range(seqs[0], seqs[0] + len(seqs))), "samples out of order or missing"
    latencies = sorted((a - s) / 1000.0 for a, s in zip(arrived, sent))
    p50 = statistics.median(latencies)
    p99 = latencies[min(len(latencies) - 1, int(round(0.99 * len(latencies))) - 1)]
    span = (sent[-1] - sent[0]) / 1e6
    print(f"latency, virtual pad to page handler: {len(latencies)} samples at "
          f"{(len(sent) - 1) / span:.0f}/s, none lost: p50 {p50:.2f} ms, p99 {p99:.2f} ms, "
          f"max {latencies[-1]:.2f} ms")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", default=".", help="where the screenshot goes")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    profile = tempfile.mkdtemp(prefix="vantix-bridge-chromium-")
    try:
        with Bridge(program_from_env(), "--sim") as bridge:
            driver = browser(profile)
            try:
                sign_and_check(driver, bridge, args.out)
                measure_latency(driver)
                errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
                assert not errors, errors
            except Exception:
                driver.save_screenshot(os.path.join(args.out, "bridge-demo-failed.png"))
                raise
            finally:
                driver.quit()
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    run_main(main)
