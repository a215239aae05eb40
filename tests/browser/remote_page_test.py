#!/usr/bin/python3
"""The phone page and the overlay in a real browser, against the real program.

Starts scorvex with --remote on a free port (offscreen, in a scratch home whose settings name
the teams "TV Adlerhorst" and "HSG Falkenberg"), pairs the phone page in headless Chromium with
the PIN the program prints, taps +1 for the home team, and expects the new score in the match
(GET /api/state) and on the overlay in a second window, and that the phone shows the journal's
red line only while a state carries it. Then it gives a penalty that waits for
the clock and opens the overlay at three placements: each time the whole bug lies on the
1920 x 1080 page, no name wraps, the clock and the waiting penalty show, and the teams differ
in colour. Then the phone gives the guests a penalty of a kind for player 12, and the match
has it. Last the phone page in Chromium's phone emulation at 360 CSS px, with a 40-character
team name: no text cut off, nothing outside the page, and a tap at each button's middle lands
on that button. With SCORVEX_SCREENSHOTS set to a folder, it leaves a screenshot of each there.
Usage: remote_page_test.py PATH_TO_SCORVEX
"""
import json
import os
import re
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions as seen
from selenium.webdriver.support.ui import WebDriverWait

WAIT_S = 20
NAMES = ("TV Adlerhorst", "HSG Falkenberg")
PROBLEM = "Spieljournal: Datenträger voll — das Spiel wird nicht gesichert"
# The README's example, the bottom right corner at twice the size, and larger than the page.
PLACEMENTS = ("x=1400&y=960&scale=0.8", "x=1900&y=1070&scale=2", "x=0&y=0&scale=4")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def write_team_names(home):
    folder = os.path.join(home, "config", "Merrowtide")
    os.makedirs(folder)
    with open(os.path.join(folder, "Scorvex.reg"), "w", encoding="utf-8") as f:
        f.write("Windows Registry Editor Version 5.00\n\n"
                "[HKEY_CURRENT_USER\\Software\\Merrowtide\\Scorvex]\n"
                # The program reads values in order up to the first missing one.
                '"CountDown"=dword:00000001\n"Time"=dword:00000a8c\n"Monitor"=dword:00000000\n'
                f'"Comanda1"="{NAMES[0]}"\n"Comanda2"="{NAMES[1]}"\n')


LONG_NAME = "Turn- und Sportverein Großbottwar-Süd 1898"[:40]
# What a phone's screen would show cut off or covered: every shown control of the board,
# scrolled into view, inside the page and not wider than its box; a tap at a button's middle
# (the element the browser hits there) lands on that button.
CUT_OR_COVERED = """
const width = document.documentElement.clientWidth;
const faults = [];
if (document.documentElement.scrollWidth > width)
  faults.push("the page is " + document.documentElement.scrollWidth + " px wide");
for (const e of document.querySelectorAll(
         "#board button, #board .name, #board .score, #board input, #clock")) {
  if (!e.offsetParent) continue;
  e.scrollIntoView({block: "center"});
  const r = e.getBoundingClientRect();
  const what = (e.id || e.className) + " '" + e.textContent.trim().slice(0, 24) + "'";
  if (r.left < 0 || r.right > width) faults.push(what + " reaches outside the page");
  if (e.scrollWidth > e.clientWidth + 1) faults.push(what + " is cut off");
  if (e.tagName !== "BUTTON") continue;
  const hit = document.elementFromPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  if (!e.contains(hit)) faults.push(what + " lies under " + (hit ? hit.id || hit.className || hit.tagName : "nothing"));
}
return faults;
"""


# Where the bug and its parts lie on the page, as the browser laid them out.
GEOMETRY = """
const box = (e) => { const r = e.getBoundingClientRect();
                     return [r.left, r.top, r.right, r.bottom]; };
const names = [1, 2].map((i) => document.querySelector("#name" + i + " span"));
return { bug: box(document.getElementById("bug")), clock: box(document.getElementById("clock")),
         bar: box(document.querySelector(".bar")),
         names: names.map((n) => ({ box: box(n), text: n.textContent })),
         colors: [1, 2].map((i) => getComputedStyle(document.getElementById("name" + i))
                                   .backgroundColor),
         armed: document.querySelectorAll(".penalty.armed").length };
"""


def check_overlay(driver, base, wait, placement, shots):
    driver.get(base + "/overlay?" + placement)
    wait.until(seen.text_to_be_present_in_element((By.CSS_SELECTOR, "#name2 span"), NAMES[1]))
    wait.until(lambda d: d.execute_script(GEOMETRY)["armed"] == 1)
    g = driver.execute_script(GEOMETRY)
    left, top, right, bottom = g["bug"]
    assert left >= 0 and top >= 0 and right <= 1920.5 and bottom <= 1080.5, \
        f"{placement}: the bug lies at {g['bug']}, outside the page"
    for part in [g["clock"]] + [n["box"] for n in g["names"]]:
        assert part[0] >= g["bar"][0] - 0.5 and part[2] <= g["bar"][2] + 0.5 and \
            part[1] >= g["bar"][1] - 0.5 and part[3] <= g["bar"][3] + 0.5, \
            f"{placement}: {part} leaves the bar {g['bar']}"
    assert [n["text"] for n in g["names"]] == list(NAMES), g["names"]
    assert g["colors"][0] != g["colors"][1], f"{placement}: both teams in {g['colors'][0]}"
    if shots:
        name = placement.replace("&", "_").replace("=", "")
        driver.save_screenshot(os.path.join(shots, f"overlay_{name}.png"))


def start_program(binary, port, home):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=home,
               XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_STATE_HOME=os.path.join(home, "state"),
               XDG_DATA_HOME=os.path.join(home, "data"))
    program = subprocess.Popen([binary, f"--remote={port}"], cwd=home, env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    deadline = time.time() + WAIT_S
    while time.time() < deadline:
        line = program.stdout.readline()
        found = re.search(r"PIN (\d{6})", line)
        if found:
            return program, found.group(1)
        if not line and program.poll() is not None:
            break
    program.kill()
    sys.exit("the program printed no PIN")


def browser(user_data):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", f"--user-data-dir={user_data}",
                 "--window-size=360,740"):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def main():
    port = free_port()
    base = f"http://127.0.0.1:{port}"
    with tempfile.TemporaryDirectory() as home:
        write_team_names(home)
        program, pin = start_program(os.path.abspath(sys.argv[1]), port, home)
        driver = browser(os.path.join(home, "chromium"))
        try:
            wait = WebDriverWait(driver, WAIT_S)
            driver.get(base + "/")
            wait.until(seen.visibility_of_element_located((By.ID, "pin"))).send_keys(pin)
            driver.find_element(By.ID, "pair").click()
            wait.until(seen.visibility_of_element_located((By.ID, "board")))
            phone = driver.current_window_handle

            driver.switch_to.new_window("window")
            driver.set_window_size(1920, 1080)
            driver.get(base + "/overlay")
            wait.until(seen.text_to_be_present_in_element((By.ID, "score1"), "0"))

            driver.switch_to.window(phone)
            driver.find_element(By.CSS_SELECTOR, "#team1 .plus").click()
            wait.until(seen.text_to_be_present_in_element((By.CSS_SELECTOR, "#team1 .score"), "1"))

            state = json.load(urllib.request.urlopen(base + "/api/state", timeout=WAIT_S))
            scores = [team["score"] for team in state["teams"]]
            assert scores == [1, 0], f"the match has {scores}"

            driver.switch_to.window(driver.window_handles[1])
            wait.until(seen.text_to_be_present_in_element((By.ID, "score1"), "1"))
            print("phone tap reached the match and the overlay")

            # The journal's red line: absent while the program writes its journal, shown while a
            # state carries one, gone with the next state that does not.
            driver.switch_to.window(phone)
            assert not driver.find_element(By.ID, "journal").is_displayed()
            driver.execute_script(
                "render(Object.assign({}, state, {journal: {problem: arguments[0]}}))", PROBLEM)
            line = driver.find_element(By.ID, "journal")
            assert line.is_displayed() and line.text == PROBLEM, line.text

            # A penalty given while the clock stands waits for it, and the overlay shows it so.
            driver.find_element(By.ID, "pen11").click()
            wait.until(seen.invisibility_of_element_located((By.ID, "journal")))
            print("the journal's red line comes and goes with the state")
            driver.switch_to.window(driver.window_handles[1])
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": 1920, "height": 1080, "deviceScaleFactor": 1, "mobile": False})
            shots = os.environ.get("SCORVEX_SCREENSHOTS")
            for placement in PLACEMENTS:
                check_overlay(driver, base, wait, placement, shots)
            print("the overlay fits the page at", len(PLACEMENTS), "placements")

            # A penalty of a kind for a player, given on the phone: in the match and the list.
            driver.switch_to.window(phone)
            give = wait.until(seen.element_to_be_clickable(
                (By.CSS_SELECTOR, '#give2 button[data-give-kind="2"]')))
            driver.find_element(By.ID, "penaltyPlayer").send_keys("12")
            give.click()
            # The guests' list comes from the match's state.
            wait.until(seen.text_to_be_present_in_element((By.ID, "list2"), "2 Min #12"))
            assert driver.find_element(By.ID, "penaltyPlayer").get_attribute("value") == ""

            # The phone page on a phone 360 CSS px wide, the home team with a long name.
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": 360, "height": 740, "deviceScaleFactor": 3, "mobile": True})
            driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
            driver.execute_script(
                "render(Object.assign({}, state, {teams: state.teams.map((t, i) =>"
                " Object.assign({}, t, i ? {} : {name: arguments[0]}))}))", LONG_NAME)
            faults = driver.execute_script(CUT_OR_COVERED)
            if shots:
                driver.save_screenshot(os.path.join(shots, "phone-360.png"))
            assert not faults, "at 360 px: " + "; ".join(faults)
            print("the phone page fits 360 px with a", len(LONG_NAME), "character team name")
        finally:
            driver.quit()
            program.terminate()
            program.wait(WAIT_S)


if __name__ == "__main__":
    main()
