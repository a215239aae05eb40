#!/usr/bin/python3
"""The phone page and the overlay in a real browser, against the real program.

Starts scorvex with --remote on a free port (offscreen, in a scratch home), pairs the phone
page in headless Chromium with the PIN the program prints, taps +1 for the home team, and
expects the new score in the match (GET /api/state) and on the overlay in a second window.
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


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


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
        finally:
            driver.quit()
            program.terminate()
            program.wait(WAIT_S)


if __name__ == "__main__":
    main()
