"""Runs LilyPond on one of the .ly files beside this script."""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def lilypond(name, workdir, resolution):
    """Engrave <name>.ly to PNG in `workdir`; returns the output path prefix.

    A single book gives <prefix>.png, books with an output suffix give
    <prefix>-<suffix>.png.
    """
    src = os.path.join(HERE, name + ".ly")
    out = os.path.join(workdir, name)
    cmd = ["lilypond", "-s", "-I", HERE, "--png", "-dresolution=%d" % resolution, "-o", out, src]
    result = subprocess.run(cmd, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("lilypond failed on %s: %s" % (src, (result.stderr or "exit %d" % result.returncode).strip()))
    return out
