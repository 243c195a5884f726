"""Writes Standard MIDI files (format 0) from note lists.

Times are given in seconds; the file uses a fixed tempo of one quarter note
per second at 1000 ticks per quarter, so one tick is one millisecond and the
renderer sees exactly the timing the score asks for.
"""

import struct

TICKS_PER_SECOND = 1000
DRUM_CHANNEL = 9


def _vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def write_midi(path, notes, programs):
    """notes: iterable of (start_s, duration_s, channel, key, velocity).
    programs: {channel: General MIDI program 0..127} for melodic channels."""
    events = []  # (tick, order, bytes): note-offs sort before note-ons at one tick
    for channel, program in sorted(programs.items()):
        events.append((0, 0, bytes([0xC0 | channel, program])))
        # Full volume and expression so that loudness depends on velocity only.
        events.append((0, 0, bytes([0xB0 | channel, 7, 127])))
        events.append((0, 0, bytes([0xB0 | channel, 11, 127])))
    for start, duration, channel, key, velocity in notes:
        on = round(start * TICKS_PER_SECOND)
        off = max(on + 1, round((start + duration) * TICKS_PER_SECOND))
        events.append((on, 2, bytes([0x90 | channel, key, velocity])))
        events.append((off, 1, bytes([0x80 | channel, key, 0])))
    events.sort(key=lambda e: (e[0], e[1]))

    track = bytearray(b"\x00\xff\x51\x03" + (1000000).to_bytes(3, "big"))
    now = 0
    for tick, _, data in events:
        track += _vlq(tick - now) + data
        now = tick
    track += b"\x00\xff\x2f\x00"
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS_PER_SECOND)
    with open(path, "wb") as f:
        f.write(header + b"MTrk" + struct.pack(">I", len(track)) + bytes(track))
