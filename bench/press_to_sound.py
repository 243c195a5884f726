#!/usr/bin/python3
"""Press to first sound of the real game: the time from the mouse-button press reaching the X
server to the first non-silent sample leaving the game in SDL's disk audio output.

The output goes into a named pipe read by a thread that stamps every piece on arrival. SDL
writes one mixing period (256 frames, MIX_FRAMES) per call through a buffered file, so a piece may hold
several periods; each period is dated by how many periods follow it in the piece, at the
measured period length. The press is sent with XTest straight from here. Between presses the
mouse moves beside the table so that the loop fades the sound out at its full step rate.

Half of the presses come while the mixer still mixes the silence after the last sound, the
other half once it rests (a second after the last sound nothing more arrives): a press must
wake it at once. The period is measured over pieces that follow each other without a rest.

Usage: press_to_sound.py GAME [presses]   (under an X display)
"""

import ctypes
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import numpy as np

PERIOD_BYTES = 256 * 4
CARD_PIXEL = (400, 525)  # card 5; the same first card again only replays its sound
REST_PIXEL = (110, 720)


class Xtest:
    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            sys.exit("press_to_sound: no X display")

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XSync(self.display, 0)

    def button(self, down):
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1 if down else 0, 0)
        # XSync returns once the server has handled the request, that is sent the event on.
        self.x11.XSync(self.display, 0)
        return time.monotonic()


class Tap(threading.Thread):
    """Reads the sound output as it is written; keeps (arrival time, end offset) per piece."""

    def __init__(self, path):
        super().__init__(daemon=True)
        self.path = path
        self.data = bytearray()
        self.pieces = []
        self.lock = threading.Lock()

    def run(self):
        fd = os.open(self.path, os.O_RDONLY)
        while True:
            chunk = os.read(fd, 1 << 16)
            now = time.monotonic()
            if not chunk:
                return
            with self.lock:
                self.data += chunk
                self.pieces.append((now, len(self.data)))

    def size(self):
        with self.lock:
            return len(self.data)

    def period_seconds(self):
        """The median over neighbouring pieces of the time per period: a rest between two
        pieces is a rare outlier."""
        with self.lock:
            pieces = list(self.pieces[len(self.pieces) // 4:])
        rates = [(t1 - t0) / ((b1 - b0) / PERIOD_BYTES)
                 for (t0, b0), (t1, b1) in zip(pieces, pieces[1:]) if b1 > b0]
        return statistics.median(rates)

    def last_arrival(self):
        with self.lock:
            return self.pieces[-1][0] if self.pieces else 0.0

    def written_at(self, offset):
        """When the mixing period holding byte `offset` was handed to the output."""
        period = self.period_seconds()
        with self.lock:
            start = 0
            for arrival, end in self.pieces:
                if offset < end:
                    period_end = (offset // PERIOD_BYTES + 1) * PERIOD_BYTES
                    return arrival - (end - period_end) / PERIOD_BYTES * period
                start = end
        return None

    def onset(self, first):
        with self.lock:
            samples = np.frombuffer(bytes(self.data[first - first % 4:]), dtype="<i2")
        loud = np.nonzero(samples)[0]
        return first - first % 4 + int(loud[0]) * 2 if len(loud) else None

    def silent_tail(self, seconds):
        n = int(seconds * 44100) * 4
        with self.lock:
            if len(self.data) < n:
                return False
            return not any(self.data[-n:])


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    game = sys.argv[1]
    presses = int(sys.argv[2]) if len(sys.argv) == 3 else 15
    work = tempfile.mkdtemp(prefix="tonvella-press-")
    pipe = os.path.join(work, "audio.fifo")
    os.mkfifo(pipe)
    tap = Tap(pipe)
    tap.start()
    env = dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=pipe)
    process = subprocess.Popen([game], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=env)
    try:
        window = subprocess.run(["timeout", "30", "xdotool", "search", "--sync", "--onlyvisible",
                                 "--pid", str(process.pid)], capture_output=True,
                                text=True).stdout.split()
        if not window:
            sys.exit("press_to_sound: no window")
        geometry = subprocess.run(["xdotool", "getwindowgeometry", window[0]],
                                  capture_output=True, text=True).stdout
        ox, oy = [int(v) for v in geometry.split("Position: ")[1].split()[0].split(",")]
        x = Xtest()
        time.sleep(2)
        latencies = {"mixing": [], "resting": []}
        for i in range(presses):
            kind = "resting" if i % 2 == 0 else "mixing"
            x.move(ox + CARD_PIXEL[0], oy + CARD_PIXEL[1])
            time.sleep(0.1)
            if kind == "resting":
                # Nothing has arrived for 0.4 s while periods come every 6 ms or so: at rest.
                end = time.monotonic() + 10
                while time.monotonic() - tap.last_arrival() < 0.4 and time.monotonic() < end:
                    time.sleep(0.05)
            before = tap.size()
            pressed = x.button(True)
            end = time.monotonic() + 2
            onset = None
            while onset is None and time.monotonic() < end:
                time.sleep(0.02)
                onset = tap.onset(before)
            time.sleep(0.1)
            x.button(False)
            if onset is None:
                sys.exit("press_to_sound: the card played no sound")
            latencies[kind].append(1000 * (tap.written_at(onset) - pressed))
            # Fade the sound out: the loop steps every 10 ms while the mouse moves.
            end = time.monotonic() + 6
            i = 0
            while not tap.silent_tail(0.1) and time.monotonic() < end:
                i += 1
                x.move(ox + REST_PIXEL[0] + i % 2 * 4, oy + REST_PIXEL[1])
                time.sleep(0.008)
        every = latencies["mixing"] + latencies["resting"]
        print("press to first sound: median %.1f ms, max %.1f ms, min %.1f ms over %d presses "
              "(mixing period %.1f ms; median %.1f ms while mixing silence, %.1f ms from rest)" %
              (statistics.median(every), max(every), min(every), len(every),
               1000 * tap.period_seconds(), statistics.median(latencies["mixing"]),
               statistics.median(latencies["resting"])))
    finally:
        process.kill()
        process.wait()
        os.unlink(pipe)
        os.rmdir(work)


if __name__ == "__main__":
    main()
