#!/usr/bin/python3
"""Checks the shipped manuals: two to six A4 pages each, written in their own
language, naming the eight exercises and the menu commands as the game shows
them in that language, illustrated with screenshots of the game, with the
chapter on teachers' own card sets (where they go, the file's sections, the
checker).

Usage: check_manual.py ASSETS_DIR TRANSLATION_TXT
"""

import re
import subprocess
import sys

# Words that only a text in that language has.
OWN_WORDS = {
    "Deutsch": ["Karten", "Spieler", "Übungen", "hören", "Einstellungen"],
    "English": ["cards", "player", "exercises", "listen", "settings"],
    "Czech": ["karet", "hráč", "cvičení", "poslouchat", "Nabídka"],
}
# Translation-table keys the manual must quote: the menu commands and the names of the sets.
QUOTED_KEYS = [13, 14, 15, 16, 17, 18, 25] + list(range(26, 34)) + [50, 51, 52]
MIN_SCREENSHOTS = 6
# The chapter on teachers' own sets: its heading, and what it must name.
OWN_SETS = {
    "Deutsch": "Eigene Kartensätze",
    "English": "Your own card sets",
    "Czech": "Vlastní sady karet",
}
OWN_SETS_TERMS = ["~/.local/share/tonvella/sets", "/usr/share/tonvella/sets", "[Text]",
                  "[Sounds]", "[Connect]", "Paarungen=", "Frage_en=", "Frage_cs=",
                  "tonvella-check-set", "share/tonvella/examples/sets"]


def table_sections(path):
    sections, current = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            m = re.fullmatch(r"\[(.+)\]", line)
            if m:
                current = sections.setdefault(m.group(1), {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                if key.isdigit():
                    current[int(key)] = value.strip()
    return sections


def run(*cmd):
    return subprocess.run(cmd, check=True, capture_output=True, text=True).stdout


def check(language, pdf, table):
    problems = []
    info = run("pdfinfo", pdf)
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    if not 2 <= pages <= 6:
        problems.append(f"{pages} pages, not 2 to 6")
    if "(A4)" not in info:
        problems.append("the pages are not A4")

    text = " ".join(run("pdftotext", "-enc", "UTF-8", pdf, "-").split())
    for word in OWN_WORDS[language]:
        if word not in text:
            problems.append(f"the word {word!r} of its language is missing")
    for other, words in OWN_WORDS.items():
        if other != language and sum(w in text for w in words) > 1:
            problems.append(f"reads like the {other} manual")
    for key in QUOTED_KEYS:
        label = table[language].get(key)
        if label and label.strip() not in text:
            problems.append(f"the game's text {label.strip()!r} is not quoted")
    if OWN_SETS[language] not in text:
        problems.append(f"no chapter {OWN_SETS[language]!r}")
    for term in OWN_SETS_TERMS:
        if term not in text:
            problems.append(f"the chapter on own sets does not name {term!r}")
    for key in [f"F{i}" for i in range(1, 8)] + ["ESC"]:
        if key not in text:
            problems.append(f"the key {key} is not explained")

    rows = [line.split() for line in run("pdfimages", "-list", pdf).splitlines()[2:]]
    shots = [r for r in rows
             if len(r) > 4 and r[2] == "image" and int(r[3]) >= 800 and int(r[4]) >= 500]
    if len(shots) < MIN_SCREENSHOTS:
        problems.append(f"{len(shots)} screenshots, at least {MIN_SCREENSHOTS} wanted")
    return problems


def main():
    assets, translation = sys.argv[1], sys.argv[2]
    table = table_sections(translation)
    table["Deutsch"] = table.get("Deutsch", {})
    failed = False
    for language in OWN_WORDS:
        pdf = f"{assets}/{language}.pdf"
        problems = check(language, pdf, table)
        for p in problems:
            print(f"{pdf}: {p}")
        failed = failed or bool(problems)
    if failed:
        sys.exit(1)
    print("manuals: 3 checked")


if __name__ == "__main__":
    main()
