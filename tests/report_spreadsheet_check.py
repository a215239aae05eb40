#!/usr/bin/python3
"""The match report of a German session, opened in LibreOffice Calc, splits into its columns
with the umlauts of the team names intact, and its time played reads as a duration (11 minutes
40 seconds, never 11 hours 40): with the import dialog's first choices, with "detect special
numbers" ticked, and in the file Calc saves again as CSV.

Usage: report_spreadsheet_check.py SCORVEX SEED_JOURNAL

A copy of the seed journal gets a names line with umlauts; `scorvex --report` writes its CSV,
and headless LibreOffice converts it to HTML with the import options a German user's import
dialog offers for it (';' between fields, UTF-8). Every row must have the header's columns.
"""
import csv
import html
import json
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
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


# The import dialog's first choices for the German report, and the same with "detect special
# numbers" ticked (German language, 1031); Calc's own CSV export with ';'.
DIALOG_IMPORT = "CSV:59,34,76,1"
SPECIAL_NUMBERS_IMPORT = "CSV:59,34,76,1,,1031,false,true"
CSV_EXPORT = "csv:Text - txt - csv (StarCalc):59,34,76"
# The seed's goal at 11:40 played, as Calc holds a time value.
PLAYED = "PT00H11M40S"
NS = {"table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
      "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0"}


def convert(source, infilter, target, work, env):
    command = ["soffice", "--headless", "--convert-to", target, "--outdir", work, source]
    if infilter:
        command[2:2] = [f"--infilter={infilter}"]
    subprocess.run(command, env=env, check=True, capture_output=True, timeout=120)


def played_cell(fods):
    """The value type, time value and text of the goal row's time played (third column)."""
    def text(cell):
        return "".join(cell.itertext()).strip()
    for row in ElementTree.parse(fods).getroot().iter(f"{{{NS['table']}}}table-row"):
        cells = row.findall("table:table-cell", NS)
        if cells and text(cells[0]).startswith("2026-"):
            cell = cells[2]
            return (cell.get(f"{{{NS['office']}}}value-type"),
                    cell.get(f"{{{NS['office']}}}time-value"), text(cell))
    return None


def duration_failures(csv_path, work, env):
    failures = []
    fods = os.path.join(work, "bericht.fods")
    for name, infilter in (("the dialog's first choices", DIALOG_IMPORT),
                           ("special numbers detected", SPECIAL_NUMBERS_IMPORT)):
        convert(csv_path, infilter, "fods", work, env)
        cell = played_cell(fods)
        # Text is fine as long as it says the duration; a time value must be 11 min 40 s.
        if cell not in (("string", None, "0:11:40"), ("time", PLAYED, "00:11:40")):
            failures.append(f"{name}: time played read as {cell}")
    # Saved again as CSV by Calc, the time played still says 11 minutes 40 seconds.
    saved = os.path.join(work, "again")
    os.makedirs(saved, exist_ok=True)
    convert(fods, None, CSV_EXPORT, saved, env)
    with open(os.path.join(saved, "bericht.csv"), encoding="utf-8-sig") as f:
        goal = next((r for r in csv.reader(f, delimiter=";") if r and r[0].startswith("2026-")),
                    None)
    if not goal or goal[2] not in ("0:11:40", "00:11:40"):
        failures.append(f"saved again as CSV, the goal row is {goal}")
    return failures


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
        convert(csv_path, DIALOG_IMPORT, "html", work, env)
        rows = table_rows(open(os.path.join(work, "bericht.html"), encoding="utf-8").read())
        failures = duration_failures(csv_path, work, env)

    header = next((r for r in rows if r and r[0] == "Uhrzeit"), None)
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
        print(f"{len(rows)} rows, {len(header)} columns, umlauts intact, time played 0:11:40")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
