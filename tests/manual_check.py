#!/usr/bin/env python3
"""Checks the built user's manual against the program's key table.

Usage: manual_check.py MANUAL_FOLDER README.md
Every page's pictures exist and its links inside the page lead somewhere; every key of the
README's key table is named on the English page and, in German, on the German one.
"""
import html.parser
import pathlib
import re
import sys

# How the German page names keys that the README names in English.
GERMAN = {"Shift": "Umschalt", "Ctrl": "Strg", "Space": "Leertaste", "End": "Ende", "Down": "↓", "Del": "Entf",
          "PgUp": "Bild↑", "PgDown": "Bild↓", "Backspace": "Rücktaste"}


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.images, self.anchors, self.ids, self.text = [], [], set(), []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        if tag == "img":
            self.images.append(a.get("src", ""))
        if tag == "a" and a.get("href", "").startswith("#"):
            self.anchors.append(a["href"][1:])

    def handle_data(self, data):
        self.text.append(data)


def readme_keys(readme: str) -> list[str]:
    table = readme.split("| Key | Command |", 1)[1].split("\n\n", 1)[0]
    keys = set()
    for row in table.splitlines()[2:]:
        cell = row.split("|")[1]
        keys.update(re.findall(r"(?:(?:Shift|Ctrl|Alt)\+)+\w+|\bF\d{1,2}\b", cell))
    return sorted(keys)


def main() -> int:
    folder, readme = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]).read_text("utf-8")
    keys = readme_keys(readme)
    problems = []
    if len(keys) < 20:
        problems.append(f"README key table: only {len(keys)} keys found")
    for name, german in (("handbuch.html", True), ("manual.html", False)):
        path = folder / name
        if not path.is_file():
            problems.append(f"{name}: missing")
            continue
        page = Page()
        page.feed(path.read_text("utf-8"))
        text = re.sub(r"\s+", "", "".join(page.text))
        problems += [f"{name}: no picture {src}" for src in page.images
                     if not (folder / src).is_file()]
        problems += [f"{name}: link to #{a} leads nowhere" for a in page.anchors
                     if a not in page.ids]
        for key in keys:
            named = "+".join(GERMAN.get(part, part) if german else part
                             for part in key.split("+"))
            if named not in text:
                problems.append(f"{name}: key {named} not described")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
