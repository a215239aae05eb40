#!/usr/bin/python3
"""The match report of a German session, opened in LibreOffice Calc, splits into its columns
with the umlauts of the team names intact.

Usage: report_spreadsheet_check.py SCORVEX SEED_JOURNAL

A copy of the seed journal gets a names line with umlauts; `scorvex --report` writes its CSV,
and headless LibreOffice converts it to HTML with the import options a German user's import
dialog offers for it (';' between fields, UTF-8). Every row must have the header's columns.
"""
import html
import json
import os
import re
import subprocess
import sys
import tempfile
import zlib

NAMES = {"home": "Füchse Süd", "guest": "Bären Öhringen", "title": "Großer Preis"}


def journal_line(obj):
    body = json.dumps(obj, ensure_ascii=False, separators=(",", ":")).encode()
    return b"%08x " % zlib.crc32(body) + body + b"\n"


def table_rows(html_text):
    rows = []
    for row in re.findall(r"<tr.*?</tr>", html_text, re.S):
        cells = re.findall(r"<td.*?</td>", row, re.S)
        rows.append([html.unescape(re.sub(r"<[^>]+>", "", c)).strip() for c in cells])
    return rows


def main(scorvex, seed):
    with tempfile.TemporaryDirectory() as work:
        lines = open(seed, "rb").read().splitlines(keepends=True)
        journal = os.path.join(work, "match.journal")
        with open(journal, "wb") as f:
            f.write(lines[0] + journal_line({"k": "names", **NAMES}) + b"".join(lines[1:]))
        env = dict(os.environ, LANG="de_DE.UTF-8", LANGUAGE="de", TZ="Europe/Berlin",
                   QT_QPA_PLATFORM="offscreen", HOME=work)
        env.pop("LC_ALL", None)
        report = subprocess.run([scorvex, "--report", journal, "--format", "csv"], env=env,
                                check=True, capture_output=True).stdout
        csv_path = os.path.join(work, "bericht.csv")
        open(csv_path, "wb").write(report)
        subprocess.run(["soffice", "--headless", "--infilter=CSV:59,34,76,1", "--convert-to",
                        "html", "--outdir", work, csv_path], env=env, check=True,
                       capture_output=True, timeout=120)
        rows = table_rows(open(os.path.join(work, "bericht.html"), encoding="utf-8").read())

    header = next((r for r in rows if r and r[0] == "Uhrzeit"), None)
    failures = []
    if not header or len(header) < 8:
        failures.append(f"no header row of the events split into columns: {rows}")
    else:
        events = rows[rows.index(header) + 1:]
        failures += [f"row not split like the header: {r}" for r in events
                     if len([c for c in r if c]) < 4]
        if not any(NAMES["home"] in r for r in events):
            failures.append(f"no event names the home team {NAMES['home']!r}: {events}")
    for key, caption in (("title", "Titel"), ("home", "Heim"), ("guest", "Gast")):
        if [caption, NAMES[key]] not in [r[:2] for r in rows]:
            failures.append(f"{caption!r} row is not {NAMES[key]!r} in two cells: {rows[:4]}")
    for failure in failures:
        print(failure, file=sys.stderr)
    if not failures:
        print(f"{len(rows)} rows, {len(header)} columns, umlauts intact")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
