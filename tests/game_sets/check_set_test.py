#!/usr/bin/python3
"""tonvella-check-set as a teacher runs it: the sample set passes; a set with every fault at
once gets one line per fault, each with its kind and, where it has one, the line of the set
file, then a summary, and exit status 1; a missing file and a call without files are refused.

Usage: check_set_test.py CHECKER EXAMPLE_SETS_DIR
"""

import os
import re
import subprocess
import sys
import tempfile
import wave

import numpy as np

RATE = 8000


def tone(path, hz, seconds=0.5, peak=0.3, silence=0.0):
    t = np.arange(int(seconds * RATE)) / RATE
    x = np.concatenate([np.zeros(int(silence * RATE)), peak * np.sin(2 * np.pi * hz * t)])
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes((x * 32767).astype("<i2").tobytes())


def run(checker, *files):
    return subprocess.run([checker, *files], capture_output=True, text=True)


def broken_set(folder):
    """Nine pairs of tones with every fault the checker knows, one each."""
    names = []
    for k in range(1, 10):
        for side in "ab":
            name = "T%d-%s.wav" % (k, side)
            tone(os.path.join(folder, name), 220 * (1 + 0.25 * k))
            names.append(name)
    names[2] = "fehlt.wav"                                           # missing sound
    with open(os.path.join(folder, "kaputt.wav"), "w") as f:        # unreadable sound
        f.write("kein Klang\n")
    names[4] = "kaputt.wav"
    tone(os.path.join(folder, names[6]), 220 * 2, peak=0.07)         # 12.6 dB too soft
    tone(os.path.join(folder, names[8]), 220 * 2.5, silence=0.2)     # 200 ms before it
    tone(os.path.join(folder, names[10]), 220 * 3, seconds=11)       # too long
    pairs = ["%dx%d" % (2 * k - 1, 2 * k) for k in range(1, 9)]
    pairs.append("17x17")                                            # one file twice
    pairs.append("19-20")                                            # format: no "x"
    lines = ["[Text]", "Frage =Suche den gleichen Ton", "", "[Sounds]"]
    lines += ["%d=%s" % (i + 1, n) for i, n in enumerate(names)]
    lines += ["", "[Connect]", "Paarungen=%d" % len(pairs)]
    lines += ["%d=%s" % (i + 1, p) for i, p in enumerate(pairs)]
    path = os.path.join(folder, "Alles falsch.Set")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    return path


def main():
    checker, examples = sys.argv[1], sys.argv[2]
    failures = []

    def expect(condition, message):
        if not condition:
            failures.append(message)

    sample = os.path.join(examples, "Beispiel Gleicher Ton.Set")
    result = run(checker, sample)
    expect(result.returncode == 0, "the sample set: exit %d\n%s" % (result.returncode,
                                                                     result.stdout))
    expect(result.stdout == sample + ": no faults, 10 of 10 pairs usable, playable\n",
           "the sample set: %r" % result.stdout)

    with tempfile.TemporaryDirectory() as folder:
        broken = broken_set(folder)
        result = run(checker, broken)
        lines = result.stdout.splitlines()
        expect(result.returncode == 1, "the broken set: exit %d" % result.returncode)
        faults = {}
        for line in lines[:-1]:
            m = re.fullmatch(re.escape(broken) + r"(:\d+)?: ([a-z ]+): (.*)", line)
            expect(m is not None, "not a fault line: %r" % line)
            if m:
                faults.setdefault(m.group(2), []).append((m.group(1), m.group(3)))
        wanted = {
            "format": 3,            # the blank before "=", no question, pair 10 without "x"
            "missing sound": 1,
            "unreadable sound": 1,
            "too few pairs": 1,     # pairs 2 and 3 lost: 7 of 10 left
            "same file twice": 1,
            "loudness": 1,
            "silence before": 1,
            "too long": 1,
        }
        for kind, count in wanted.items():
            got = faults.get(kind, [])
            expect(len(got) == count, "%d %r lines, expected %d: %s" % (len(got), kind, count,
                                                                         got))
        expect(set(faults) == set(wanted), "unexpected kinds: %s" % sorted(set(faults) - set(wanted)))
        # The faults of a sound or a pair name the set file's line that holds it.
        for kind in ("missing sound", "unreadable sound", "same file twice", "loudness",
                     "silence before", "too long"):
            for where, text in faults.get(kind, []):
                expect(where is not None, "%r without its line: %s" % (kind, text))
        expect("\"fehlt.wav\": missing" in str(faults.get("missing sound")), str(faults))
        expect(lines and lines[-1] == broken + ": 10 faults, 7 of 10 pairs usable, NOT playable",
               "summary: %r" % (lines[-1] if lines else None))

        # Several sets at once: each its own lines; one bad one fails the call.
        missing = os.path.join(folder, "Weg.Set")
        result = run(checker, sample, missing)
        expect(result.returncode == 1, "sample and missing: exit %d" % result.returncode)
        expect(result.stdout.splitlines() == [
            sample + ": no faults, 10 of 10 pairs usable, playable",
            missing + ": format: the file is missing",
            missing + ": 1 fault, 0 of 0 pairs usable, NOT playable"], result.stdout)

    result = run(checker)
    expect(result.returncode == 2 and result.stderr.startswith("usage: tonvella-check-set"),
           "no files: exit %d, %r" % (result.returncode, result.stderr))

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("check-set: passed")


if __name__ == "__main__":
    main()
