#!/usr/bin/python3
"""Writes the seed corpora under fuzz/corpus/: small files cut from our own assets and tiny
hand-made ones. Run from anywhere; it overwrites the seeds it makes and leaves others (kept
regression inputs) alone. Needs the translation table built once (pass the build directory,
build-fuzz/ by default) and fontTools (deps/tools-fuzz.txt)."""
import io, os, struct, subprocess, sys, tempfile, wave, zipfile, zlib

here = os.path.dirname(os.path.abspath(__file__))
repo = os.path.dirname(here)
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(repo, "build-fuzz")


def put(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def asset(name):
    with open(os.path.join(repo, "assets", name), "rb") as f:
        return f.read()


# zip_entry: deflated and stored entries, an empty archive.
def zipped(entries, method):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", method) as z:
        for name, data in entries:
            # A fixed date keeps the seeds the same on every run.
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = method
            z.writestr(info, data)
    return out.getvalue()

put("zip_entry", "sets.zip", zipped([("Dir.lst", asset("Dir.lst")),
                                     ("Gleiches Tempo.Set", asset("Gleiches Tempo.Set"))],
                                    zipfile.ZIP_DEFLATED))
put("zip_entry", "stored.zip", zipped([("Dir.lst", b"A.Set\r\nB.Set\r\n"), ("e", b"")],
                                      zipfile.ZIP_STORED))
put("zip_entry", "empty.zip", zipped([], zipfile.ZIP_STORED))

# set_file: two shipped sets and the list.
for name in ("Gleiches Tempo.Set", "Intervalle Leicht.Set", "Dir.lst"):
    put("set_file", name.replace(" ", "_"), asset(name))
put("set_file", "tiny.Set", b"[Text]\r\nFrage=F\r\n[Sounds]\r\n1=a.ogg\r\n2=b.ogg\r\n"
    b"[Connect]\r\nPaarungen=8\r\n1=1x2\r\n'2=2x1\r\n")

# translation: the built table and a small Latin-1 one.
with open(os.path.join(build, "streams", "translation.ini"), "rb") as f:
    put("translation", "translation.ini", f.read())
put("translation", "tiny.ini", "[Deutsch]\r\n1=Sprache\r\n12=Einstellungen\r\n[English]\r\n"
    "1=Language\r\n[Czech]\r\n1=Jazyk\r\n".encode("latin-1"))

# text_bom: each byte-order mark, none, and a cut-off character.
text = "Kurz-Anleitung\r\nZur\u00fcck\n\u266a\U0001D11E\r\n"
put("text_bom", "utf8", b"\xef\xbb\xbf" + text.encode("utf-8"))
put("text_bom", "utf16le", b"\xff\xfe" + text.encode("utf-16-le"))
put("text_bom", "utf16be", b"\xfe\xff" + text.encode("utf-16-be"))
put("text_bom", "latin1", "Zur\u00fcck\r\nEnde\x00x".encode("latin-1"))
put("text_bom", "cut", b"\xef\xbb\xbf" + "\u266a".encode("utf-8")[:2])


# wav: 8-bit mono, 16-bit stereo, and one with a chunk before the data.
def wav(channels, width, rate, frames):
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(width)
        w.setframerate(rate)
        w.writeframes(bytes((i * 37) & 0xFF for i in range(frames * channels * width)))
    return out.getvalue()

put("wav", "mono8.wav", wav(1, 1, 8000, 40))
put("wav", "stereo16.wav", wav(2, 2, 44100, 20))
plain = wav(1, 2, 22050, 16)
listed = plain[:36] + b"LIST" + struct.pack("<I", 5) + b"INFOx\0" + plain[36:]
put("wav", "list.wav", listed[:4] + struct.pack("<I", len(listed) - 8) + listed[8:])

# ogg: the two smallest shipped sounds, and the first with its last page claiming ten minutes.
for name in ("SchlagClaves1.ogg", "Beat4Claves.ogg"):
    put("ogg", name, asset(name))


def ogg_crc(data):
    crc = 0
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7 if crc & 0x80000000 else crc << 1) & 0xFFFFFFFF
    return crc


def with_last_granule(ogg, seconds):
    pages, at = [], 0
    while at + 27 <= len(ogg):
        header = 27 + ogg[at + 26]
        pages.append((at, header + sum(ogg[at + 27:at + header])))
        at += pages[-1][1]
    first, _ = pages[0]
    rate = struct.unpack("<I", ogg[first + 27 + ogg[first + 26] + 12:][:4])[0]
    last, length = pages[-1]
    page = bytearray(ogg[last:last + length])
    page[6:14] = struct.pack("<q", seconds * rate)
    page[22:26] = b"\0\0\0\0"
    page[22:26] = struct.pack("<I", ogg_crc(page))
    return ogg[:last] + bytes(page) + ogg[last + length:]

put("ogg", "claims-ten-minutes.ogg", with_last_granule(asset("SchlagClaves1.ogg"), 600))


# png: a shipped picture and tiny hand-made ones in the layouts the decoder handles.
def png(width, height, bit_depth, color_type, rows, interlace=0, extra=b""):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    ihdr = struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, interlace)
    raw = b"".join(b"\0" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))

put("png", "NotenAnti.png", asset("NotenAnti.png"))
put("png", "gray1.png", png(9, 3, 1, 0, [b"\xaa\x80"] * 3))
plte = bytes(range(9))
plte_chunk = (struct.pack(">I", len(plte)) + b"PLTE" + plte +
              struct.pack(">I", zlib.crc32(b"PLTE" + plte) & 0xFFFFFFFF))
put("png", "palette.png", png(3, 2, 8, 3, [b"\0\1\2"] * 2, extra=plte_chunk))
put("png", "rgba16.png", png(2, 2, 16, 6, [bytes(range(16))] * 2))
put("png", "graya.png", png(5, 3, 8, 4, [bytes(range(10))] * 3, interlace=1))

# font: the shipped faces cut down to a few glyphs (fontTools from deps/tools-fuzz.txt), and the
# unit tests' faces: embedded bitmaps of 1, 2, 4 and 8 bits at the fuzzer's sizes, and glyphs
# thousands of pixels large.
test_fonts = os.path.join(repo, "tests", "media_draw", "fonts")
for name in ("strike1.ttf", "strike2.ttf", "strike4.ttf", "strike8.ttf", "huge.ttf"):
    with open(os.path.join(test_fonts, name), "rb") as f:
        put("font", name, f.read())

for source, text, name in (("Digital Readout Upright.ttf", "0123", "digits.ttf"),
                           ("Comic.ttf", "Sieger \u00e4\u010d", "comic.ttf")):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, name)
        subprocess.run(["/usr/bin/python3", "-m", "fontTools.subset",
                        os.path.join(repo, "assets", source), "--text=" + text,
                        "--output-file=" + out], check=True, stderr=subprocess.DEVNULL)
        with open(out, "rb") as f:
            put("font", name, f.read())
