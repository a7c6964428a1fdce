#!/usr/bin/python3
"""Smoke test of the web build in Debian's headless Chromium, through its
WebDriver (chromium-driver with python3-selenium).

    page_smoke.py DIST_DIR OUT_DIR

Serves DIST_DIR on 127.0.0.1 and plays the show as a visitor would: the
page loads with no error; a click starts the show; its console lines arrive;
a Web Audio context runs and the show's callback fills it with music at the
rate its buffer implies; at two show times, held through performance.now()
(where the browser build's SDL_GetTicks reads the time), the canvas shows
the heart, with no text and with a greeting; the canvas's drawing buffer is
its size on the screen in device pixels (within a bound) and follows a
denser screen and a smaller window; Escape stops the picture and
the sound, and starting again works. Screenshots of the canvas go to
OUT_DIR; the frame rate is printed. Ends with "browser: 1 passed, 0 failed"
(or "0 passed, 1 failed", exit 1).
"""
import importlib.util
import io
import os
import sys
import threading
import time

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

HERE = os.path.dirname(os.path.abspath(__file__))
MUSIC_RATE = 44100
CALLBACK_FRAMES = 1024  # the buffer the show asks SDL for
# WebGL reports a program's empty link log as one character long (the
# terminator), and the loader prints such a log as an empty line.
EXPECTED_SHOW_LINES = [
    "Compiling shader : //vert.vsh",
    "Compiling shader : //frag.fsh",
    "Linking program",
    "",
    "Compiling shader : //heart.vsh",
    "Compiling shader : //heart.fsh",
    "Linking program",
    "",
]
# Show clock t = ticks / 4000 - 1: no text at exactly t = 10, the second
# greeting at t = 11.5.
TICKS_WITHOUT_TEXT = 44000
TICKS_WITH_GREETING = 50000
WAIT_SECONDS = 90  # start-up compiles the WebAssembly; the machine may be busy

# Runs in the page before its own scripts: holds the clock where the test
# says, counts animation frames, keeps the console lines and watches the
# Web Audio node that SDL creates.
PROBE = r"""
(() => {
  const realNow = performance.now.bind(performance);
  const probe = window.velmoraProbe = {
    heldAt: null, offset: 0, frames: 0, lines: [],
    audioEvents: 0, audioSquares: 0, audioSamples: 0, audioNode: null,
  };
  probe.realNow = realNow;
  performance.now = () => probe.heldAt !== null ? probe.heldAt : realNow() + probe.offset;
  probe.hold = (at) => { probe.heldAt = at; return at; };
  probe.release = () => { probe.offset = probe.heldAt - realNow(); probe.heldAt = null; };

  const requestFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => { probe.frames++; return requestFrame(callback); };

  for (const level of ['log', 'warn', 'error']) {
    const original = console[level].bind(console);
    console[level] = (...args) => { probe.lines.push([level, args.join(' ')]); original(...args); };
  }

  const handlerProperty = Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype,
                                                          'onaudioprocess');
  const createScriptProcessor = AudioContext.prototype.createScriptProcessor;
  AudioContext.prototype.createScriptProcessor = function (...args) {
    const node = createScriptProcessor.apply(this, args);
    probe.audioNode = node;
    probe.audioContext = this;
    Object.defineProperty(node, 'onaudioprocess', {
      get: () => handlerProperty.get.call(node),
      set: (handler) => handlerProperty.set.call(node, (event) => {
        handler(event);
        probe.audioEvents++;
        const samples = event.outputBuffer.getChannelData(0);
        for (const s of samples) probe.audioSquares += s * s;
        probe.audioSamples += samples.length;
      }),
    });
    return node;
  };
})();
"""


class Checks:
    def __init__(self):
        self.failures = []

    def expect(self, condition, what):
        print(("ok      " if condition else "FAILED  ") + what, flush=True)
        if not condition:
            self.failures.append(what)


def load_server_module():
    path = os.path.join(HERE, "..", "..", "scripts", "lib", "serve-web.py")
    spec = importlib.util.spec_from_file_location("serve_web", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def start_browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in [
        "--headless", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
        "--ignore-gpu-blocklist", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--window-size=1200,900",
    ]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    # A fresh profile: chromedriver makes a temporary one when none is named.
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_until(what, condition, seconds=WAIT_SECONDS):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise TimeoutError(f"timed out waiting for {what}")


def probe(driver, expression):
    return driver.execute_script(f"return {expression};")


def status_text(driver):
    return driver.find_element(By.ID, "status").text


def show_lines(driver, level):
    return [text for lvl, text in probe(driver, "velmoraProbe.lines") if lvl == level]


def click_to_start(driver, linked_programs):
    ActionChains(driver).click(driver.find_element(By.ID, "message")).perform()
    wait_until("the show's start-up lines",
               lambda: show_lines(driver, "log").count("Linking program") >= linked_programs)


def press_escape(driver):
    ActionChains(driver).send_keys(Keys.ESCAPE).perform()
    wait_until("the end message", lambda: "ended" in status_text(driver))


def wait_for_frames(driver, count):
    first = probe(driver, "velmoraProbe.frames")
    wait_until(f"{count} frames", lambda: probe(driver, "velmoraProbe.frames") >= first + count)


def canvas_picture(driver, out_dir, name, scale=1):
    """Screenshot of the canvas as an RGB image, also saved as OUT_DIR/NAME.png;
    `scale` device pixels per CSS pixel."""
    r = driver.find_element(By.ID, "canvas").rect
    page = Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert("RGB")
    picture = page.crop((round(r["x"] * scale), round(r["y"] * scale),
                         round((r["x"] + r["width"]) * scale),
                         round((r["y"] + r["height"]) * scale)))
    picture.save(os.path.join(out_dir, name + ".png"))
    return picture


def canvas_buffer(driver):
    return probe(driver, "[document.getElementById('canvas').width, "
                 "document.getElementById('canvas').height]")


def count_pixels(picture, test):
    return sum(1 for pixel in picture.getdata() if test(*pixel))


def is_heart_red(r, g, b):
    return r > 140 and g < 90 and b < 120


def is_text_white(r, g, b):
    # The glyphs' warm white, opaque in their cores.
    return r > 225 and g > 210 and b > 180


def play_show(driver, checks, out_dir):
    wait_until("the page to be ready", lambda: status_text(driver).startswith("Click"))
    # Start with the clock held, so the show's ticks count from a known moment.
    start = probe(driver, "velmoraProbe.hold(performance.now())")
    click_to_start(driver, 2)
    probe(driver, "velmoraProbe.release()")
    checks.expect(show_lines(driver, "log") == EXPECTED_SHOW_LINES,
                  "the show's console lines arrive, exactly: " + repr(show_lines(driver, "log")))

    # Let it play, then measure the picture's and the sound's rates.
    rates = ("[velmoraProbe.frames, velmoraProbe.audioEvents, "
             "velmoraProbe.audioContext.currentTime, velmoraProbe.realNow()]")
    time.sleep(3)
    before = probe(driver, rates)
    time.sleep(3)
    after = probe(driver, rates)
    seconds = (after[3] - before[3]) / 1000
    print(f"frame rate: {(after[0] - before[0]) / seconds:.1f} frames per second", flush=True)
    context = probe(driver, "[velmoraProbe.audioContext.state, "
                    "velmoraProbe.audioContext.sampleRate, velmoraProbe.audioNode.bufferSize]")
    checks.expect(context == ["running", MUSIC_RATE, CALLBACK_FRAMES],
                  f"a Web Audio context runs at {MUSIC_RATE} Hz with {CALLBACK_FRAMES}-frame "
                  f"buffers: {context}")
    audio_seconds = after[2] - before[2]
    callbacks = after[1] - before[1]
    expected = audio_seconds * MUSIC_RATE / CALLBACK_FRAMES
    print(f"audio callbacks: {callbacks} in {audio_seconds:.2f} s of audio "
          f"({callbacks / audio_seconds:.2f} a second, {MUSIC_RATE / CALLBACK_FRAMES:.2f} "
          f"implied)", flush=True)
    checks.expect(expected > 0 and abs(callbacks - expected) <= 0.15 * expected + 2,
                  "the callback is called at the rate its buffer implies")
    loudness = probe(driver, "Math.sqrt(velmoraProbe.audioSquares / velmoraProbe.audioSamples)")
    print(f"music level: {loudness:.3f} RMS", flush=True)
    checks.expect(loudness > 0.02, "the callback fills the buffers with music, not silence")

    # The picture at two known show times.
    pictures = {}
    for name, ticks in [("no-text", TICKS_WITHOUT_TEXT), ("greeting", TICKS_WITH_GREETING)]:
        probe(driver, f"velmoraProbe.hold({start} + {ticks})")
        wait_for_frames(driver, 3)
        pictures[name] = canvas_picture(driver, out_dir, name)
    viewport = probe(driver, "[innerWidth, innerHeight]")
    width, height = pictures["greeting"].size
    checks.expect(abs(width * 3 - height * 4) <= 4 and (width == viewport[0] or height == viewport[1]),
                  f"the picture fills the {viewport} window at 4:3: {width}x{height}")
    checks.expect(canvas_buffer(driver) == [width, height],
                  f"the drawing buffer is the canvas's size on the screen: {canvas_buffer(driver)}")
    for name, picture in pictures.items():
        red = count_pixels(picture, is_heart_red)
        checks.expect(red > picture.size[0] * picture.size[1] // 50,
                      f"{name}: the heart is drawn ({red} red pixels)")
    text_without = count_pixels(pictures["no-text"], is_text_white)
    text_with = count_pixels(pictures["greeting"], is_text_white)
    checks.expect(text_without < 50 < text_with,
                  f"text only where the show has some ({text_without} and {text_with} "
                  "text-white pixels)")

    # A denser screen and a smaller window: the drawing buffer follows, in
    # device pixels, up to its bound; the picture is drawn at that size.
    for scale, window, expected in [(2, [1000, 600], [1600, 1200]), (4, [900, 600], [2560, 1920])]:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": window[0], "height": window[1], "deviceScaleFactor": scale, "mobile": False})
        wait_until(f"the drawing buffer at {scale}x",
                   lambda: canvas_buffer(driver) == expected, seconds=20)
        wait_for_frames(driver, 2)
        # The heart in the middle of the canvas: the picture fills the buffer.
        picture = canvas_picture(driver, out_dir, f"greeting-{scale}x", scale)
        w, h = picture.size
        middle = picture.crop((w // 4, h // 4, 3 * w // 4, 3 * h // 4))
        red = count_pixels(middle, is_heart_red)
        checks.expect(red > middle.size[0] * middle.size[1] // 4,
                      f"{window} at {scale}x: a {expected[0]}x{expected[1]} drawing buffer, the "
                      f"heart in its middle ({red} red pixels of {middle.size[0] * middle.size[1]})")
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    wait_until("the drawing buffer back at 1x", lambda: canvas_buffer(driver) == [width, height],
               seconds=20)

    # Escape ends it: the loop stops, the sound stops, the page says so.
    press_escape(driver)
    frames = probe(driver, "[velmoraProbe.frames, velmoraProbe.audioEvents]")
    time.sleep(1)
    checks.expect(probe(driver, "[velmoraProbe.frames, velmoraProbe.audioEvents]") == frames,
                  "after Escape no frame is drawn and no sound is asked for")
    checks.expect(probe(driver, "velmoraProbe.audioContext.state") == "closed",
                  "after Escape the audio context is closed")
    canvas_picture(driver, out_dir, "ended")
    checks.expect("start it again" in status_text(driver),
                  "the page offers to start again: " + repr(status_text(driver)))

    # And starting again works.
    click_to_start(driver, 4)
    wait_for_frames(driver, 3)
    checks.expect(probe(driver, "velmoraProbe.audioContext.state") == "running",
                  "a second show starts with its sound running")
    press_escape(driver)

    errors = show_lines(driver, "error")
    severe = [entry["message"] for entry in driver.get_log("browser")
              if entry["level"] == "SEVERE"]
    checks.expect(not errors and not severe, f"no errors in the console: {errors + severe}")


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    dist_dir, out_dir = argv[1], argv[2]
    os.makedirs(out_dir, exist_ok=True)
    server = load_server_module().make_server(dist_dir, 0)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    checks = Checks()
    driver = start_browser()
    try:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
        driver.get(url)
        play_show(driver, checks, out_dir)
    except Exception as error:  # a time-out or a lost browser is a failure too
        checks.expect(False, f"{type(error).__name__}: {error}")
    finally:
        driver.quit()
        server.shutdown()
    print(f"screenshots: {out_dir}")
    passed = not checks.failures
    print(f"browser: {int(passed)} passed, {int(not passed)} failed")
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
