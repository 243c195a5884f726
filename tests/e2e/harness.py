"""The real game under the test display, seen from outside: its window through xdotool and
screenshots, its sound through SDL's disk audio driver (raw signed 16-bit stereo at 44100 Hz,
written as the device would play it), its diagnostics on standard output.

The output is what the game mixed, not a clock: once nothing has sounded for a second
(REST_AFTER) the mixer rests and the file stops growing until the next sound. So a test waits for
what was mixed (a sound's onset, so many frames after it, a silence shorter than REST_AFTER at
the end), never for the output to grow while the game is silent, and frames measure time only
from an onset on while something sounds.

Usage of a test script: script.py GAME XCLOSE XSHOT ARTIFACTS_DIR
Screenshots, output and sound are kept in ARTIFACTS_DIR/<test> when the test fails, or always
when TONVELLA_E2E_KEEP is set.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

import numpy as np

RATE = 44100
FRAME_BYTES = 4  # two 16-bit channels
# The silence the mixer mixes after the last sound before it rests (MIX_REST_AFTER_MS); less of
# it may be in the file, as SDL writes through a buffered file.
REST_AFTER = 1.0


def card_pixel(i):
    """Window pixel over card i: the inverse of the mapping CursorX = x/50 - 10,
    CursorZ = -y/35 + 18, with card i at x = 3 (i mod 4) - 5, z = 3 (i div 4)."""
    return int((3 * (i % 4) - 5 + 10) * 50), int((18 - 3 * (i // 4)) * 35)


# Over the table's near left corner, outside every card and the drawer: a place to move the
# mouse to so that the loop keeps stepping without picking anything.
REST_PIXEL = (110, 720)


# How long a test waits for a state before it gives up: generous, so that a busy machine only
# makes the tests slower, never failing.
DEADLINE = 60


class Failure(Exception):
    pass


def changed(a, b):
    """Share of pixels that differ clearly between two screenshots of one region."""
    return float((np.abs(a.astype(np.int16) - b.astype(np.int16)).max(axis=2) > 40).mean())


class Screen:
    """The game's window as screenshots, and waits for what they show."""

    def __init__(self, xshot, window, work):
        self.xshot, self.window, self.work = xshot, window, work
        self.shots = []

    def wait_still(self, rect=None, label="still"):
        """Waits until the picture stops changing (three equal screenshots 0.2 s apart), which is
        when the camera has arrived and nothing moves; returns that picture."""
        seen = {"last": None, "equal": 0}

        def still():
            now = self.pixels(label + "?", rect)
            if seen["last"] is not None and np.array_equal(now, seen["last"]):
                seen["equal"] += 1
            else:
                seen["equal"] = 0
            seen["last"] = now
            return seen["equal"] >= 2

        self.wait_until(still, DEADLINE, "the picture never came to rest", step=0.2)
        return seen["last"]

    def wait_changed(self, before, rect, message, share=0.02, label="changed"):
        """Waits until the region differs clearly from `before`; returns the new picture."""
        result = {}

        def differs():
            result["now"] = self.pixels(label + "?", rect)
            return changed(result["now"], before) > share

        self.wait_until(differs, DEADLINE, message, step=0.1)
        return result["now"]

    @staticmethod
    def wait_until(condition, seconds, message, step=0.05):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if condition():
                return
            time.sleep(step)
        raise Failure(message)

    def screenshot(self, label, rect=None):
        """A label ending in "?" is a probe taken again and again while waiting: only its
        latest picture is kept."""
        probe = label.endswith("?")
        name = "probe-%s.png" % label[:-1] if probe else "%02d-%s.png" % (len(self.shots), label)
        path = os.path.join(self.work, name)
        args = [self.xshot, self.window, path] + ([str(v) for v in rect] if rect else [])
        subprocess.run(args, check=True)
        if path not in self.shots:
            self.shots.append(path)
        return path

    def pixels(self, label, rect=None):
        from PIL import Image
        with Image.open(self.screenshot(label, rect)) as image:
            return np.asarray(image.convert("RGB"), dtype=np.int16)

    def writing_in(self, label, rect):
        """Whether dark writing stands in the region, such as the "->" that marks a page's
        choice on the open book."""
        return (self.pixels(label, rect).mean(axis=2) < 110).sum() > 15

    def wait_first_picture(self):
        """Waits until the window shows more than a blank: the game draws its first frame as it
        enters its loop."""
        self.wait_until(lambda: len(np.unique(self.pixels("first?")[::8, ::8].reshape(-1, 3),
                                              axis=0)) > 100,
                        DEADLINE, "the window never showed the game")


class Game(Screen):
    def __init__(self, name):
        if len(sys.argv) != 5:
            sys.exit("usage: %s GAME XCLOSE XSHOT ARTIFACTS_DIR" % sys.argv[0])
        self.name = name
        self.exe, self.xclose, xshot, artifacts = sys.argv[1:5]
        super().__init__(xshot, None, tempfile.mkdtemp(prefix="tonvella-e2e-"))
        self.artifacts = os.path.join(artifacts, name)
        self.process = None
        self.audio_path = os.path.join(self.work, "audio.raw")
        self.opened_log = os.path.join(self.work, "opened.log")
        self.temp_dir = os.path.join(self.work, "tmp")
        os.makedirs(self.temp_dir)
        # The desktop's opener is a stand-in that records the address it was given.
        bin_dir = os.path.join(self.work, "bin")
        os.makedirs(bin_dir)
        opener = os.path.join(bin_dir, "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' % self.opened_log)
        os.chmod(opener, 0o755)
        self.env = dict(os.environ)
        self.env.update(
            PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""),
            TEMP=self.temp_dir,
            SDL_AUDIODRIVER="disk",
            SDL_DISKAUDIOFILE=self.audio_path,
            # No teacher's set of this machine joins the game's list; a test makes its own.
            XDG_DATA_HOME=os.path.join(self.work, "no-xdg-data"),
            XDG_DATA_DIRS=os.path.join(self.work, "no-xdg-data"),
        )

    # ---- life cycle ----

    def start(self):
        """Starts the game and returns once it shows its first picture, that is once it runs its
        loop, and its sound device is running."""
        self.out = open(os.path.join(self.work, "out"), "wb")
        self.err = open(os.path.join(self.work, "err"), "wb")
        self.process = subprocess.Popen([self.exe], stdout=self.out, stderr=self.err, env=self.env)
        found = subprocess.run(
            ["timeout", "60", "xdotool", "search", "--sync", "--onlyvisible", "--pid",
             str(self.process.pid)], capture_output=True, text=True)
        ids = found.stdout.split()
        if not ids:
            raise Failure("no window appeared")
        self.window = ids[0]
        # A second of silence comes first, mixed before the mixer rests.
        self.wait_until(lambda: self.audio_frames() > 0, DEADLINE, "the sound device never started")
        self.wait_first_picture()

    def quit_with_escape(self):
        """Escape ends the game, with status 0."""
        self.keys("Escape")
        status = self.wait_exit()
        if status != 0:
            raise Failure("Escape ended the game with status %d" % status)

    def wait_exit(self, seconds=DEADLINE):
        try:
            status = self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end within %s s" % seconds)
        self.process = None
        return status

    def run(self, body):
        """Runs the test body; on failure keeps the screenshots and the game's output."""
        try:
            body(self)
        except Failure as failure:
            self.keep_artifacts("FAIL: %s\n" % failure)
            print("FAIL:", failure)
            self.dump_output()
            return 1
        except Exception:
            self.keep_artifacts(traceback.format_exc())
            self.dump_output()
            raise
        finally:
            if self.process is not None:
                self.process.send_signal(signal.SIGKILL)
                self.process.wait()
        if os.environ.get("TONVELLA_E2E_KEEP"):
            self.keep_artifacts()
        shutil.rmtree(self.work, ignore_errors=True)
        print("PASS")
        return 0

    def keep_artifacts(self, failure=None):
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts, exist_ok=True)
        if failure:
            with open(os.path.join(self.artifacts, "failure.txt"), "w") as f:
                f.write(failure)
        for shot in self.shots:
            if os.path.exists(shot):
                shutil.copy(shot, self.artifacts)
        for name in ("out", "err", "opened.log"):
            path = os.path.join(self.work, name)
            if os.path.exists(path):
                shutil.copy(path, self.artifacts)
        if os.path.exists(self.audio_path):
            shutil.copy(self.audio_path, self.artifacts)
        print("artefacts kept in", self.artifacts)

    def dump_output(self):
        for name in ("out", "err"):
            path = os.path.join(self.work, name)
            if os.path.exists(path):
                with open(path, errors="replace") as f:
                    lines = f.read().splitlines()
                print("--- %s (last lines)" % name)
                print("\n".join(lines[-20:]))

    def stdout_lines(self):
        self.out.flush()
        with open(os.path.join(self.work, "out"), encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()

    def opened(self):
        if not os.path.exists(self.opened_log):
            return []
        with open(self.opened_log) as f:
            return f.read().splitlines()

    # ---- input ----

    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True)

    def move(self, x, y):
        self.xdo("mousemove", "--window", self.window, x, y)

    def click(self, x, y):
        """A click as quick as xdotool makes it: the game counts it however short it is."""
        self.move(x, y)
        self.xdo("click", 1)

    def hold(self, x, y, until, message):
        """Holds the button down over (x, y) until `until()` is true (a sound heard, a picture
        changed), then lets go: the press lasts as long as the test needs, however slowly the
        game reacts."""
        self.move(x, y)
        self.xdo("mousedown", 1)
        try:
            self.wait_until(until, DEADLINE, message, step=0.02)
        finally:
            self.xdo("mouseup", 1)

    def keys(self, *names):
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], capture_output=True)
        self.xdo("key", "--delay", 80, *names)

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def jiggle(self, seconds):
        """Moves the mouse to and fro beside the table so that the loop steps every 10 ms."""
        x, y = REST_PIXEL
        moves = []
        for _ in range(max(1, int(seconds / 0.02))):
            moves += ["mousemove", "--window", self.window, x, y, "sleep", "0.008",
                      "mousemove", "--window", self.window, x + 4, y, "sleep", "0.008"]
        return subprocess.Popen(["xdotool"] + [str(m) for m in moves])

    # ---- screen ----

    # ---- sound ----

    def audio_frames(self):
        try:
            return os.path.getsize(self.audio_path) // FRAME_BYTES
        except OSError:
            return 0

    def audio(self, first=0, count=None):
        """Frames from `first` on as an (n, 2) int16 array."""
        with open(self.audio_path, "rb") as f:
            f.seek(first * FRAME_BYTES)
            data = f.read(-1 if count is None else count * FRAME_BYTES)
        data = data[: len(data) // FRAME_BYTES * FRAME_BYTES]
        return np.frombuffer(data, dtype="<i2").reshape(-1, 2)

    def onset(self, first):
        """Index of the first non-silent frame at or after `first`, or None."""
        loud = np.nonzero(np.abs(self.audio(first).astype(np.int32)).max(axis=1))[0]
        return first + int(loud[0]) if len(loud) else None

    def silent_for(self, seconds):
        """The output ends with `seconds` of silence; longer than about REST_AFTER less a
        file buffer would never be seen, as the mixer rests then."""
        if seconds > REST_AFTER * 0.8:
            raise ValueError("a silence of %s s may never be in the output" % seconds)
        n = int(seconds * RATE)
        total = self.audio_frames()
        if total < n:
            return False
        return not np.any(self.audio(total - n, n))
