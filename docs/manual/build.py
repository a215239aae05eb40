#!/usr/bin/env python3
"""Turns the user's manual from Markdown into HTML pages for the browser.

Usage: build.py OUTPUT_DIR PAGE.md...
Each PAGE.md becomes OUTPUT_DIR/PAGE.html, one self-standing page with its table of contents
(where the text says [TOC]) and the stylesheet inside; the pictures of images/ beside the pages
are copied to OUTPUT_DIR/images. The first heading is the page's title. A page links to the
other language with a line "<!-- other: NAME.html LABEL -->".
"""
import html
import pathlib
import re
import shutil
import sys

import markdown

STYLE = """
body { font-family: "Liberation Sans", Arial, sans-serif; max-width: 56em; margin: 0 auto;
       padding: 1em 2em 4em; line-height: 1.5; color: #1a1a1a; }
h1 { border-bottom: 3px solid #2070d0; padding-bottom: .2em; }
h2 { margin-top: 2em; border-bottom: 1px solid #ccc; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #bbb; padding: .3em .6em; text-align: left; vertical-align: top; }
th { background: #eef3fb; }
kbd { border: 1px solid #999; border-radius: 3px; padding: 0 .3em; background: #f6f6f6;
      font-family: inherit; font-size: .9em; white-space: nowrap; }
img { max-width: 100%; border: 1px solid #ccc; }
figure { margin: 1em 0; }
figcaption { font-size: .9em; color: #555; }
.toc { background: #f6f8fb; border: 1px solid #dde; padding: .5em 1.5em; }
.language { float: right; }
.placeholder { border-left: 4px solid #e0a000; background: #fff8e5; padding: .3em 1em; }
code { background: #f3f3f3; padding: 0 .2em; }
"""

PAGE = """<!DOCTYPE html>
<html lang="{lang}">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>{style}</style>
</head>
<body>
{other}
{body}
</body>
</html>
"""


def build(source: pathlib.Path, output: pathlib.Path) -> None:
    text = source.read_text(encoding="utf-8")
    title = re.search(r"^# (.+)$", text, re.MULTILINE).group(1)
    other = ""
    link = re.search(r"<!-- other: (\S+) (.+?) -->", text)
    if link:
        other = '<p class="language"><a href="{}">{}</a></p>'.format(
            html.escape(link.group(1)), html.escape(link.group(2)))
    lang = "de" if source.stem == "handbuch" else "en"
    body = markdown.markdown(
        text, extensions=["tables", "toc", "attr_list", "md_in_html", "sane_lists"],
        extension_configs={"toc": {"title": "", "toc_class": "toc", "toc_depth": "2-3"}}, output_format="html5")
    output.write_text(PAGE.format(lang=lang, title=html.escape(title), style=STYLE,
                                  other=other, body=body), encoding="utf-8")


def main() -> int:
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    pages = [pathlib.Path(p) for p in sys.argv[2:]]
    for page in pages:
        build(page, out / (page.stem + ".html"))
    images = pages[0].parent / "images"
    if images.is_dir():
        shutil.copytree(images, out / "images", dirs_exist_ok=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
