#!/usr/bin/python3
"""Plays the match's signals through the real sound module into a PulseAudio null sink of its
own, records the sink's monitor and checks that each signal came out as a tone of its length,
with silence around it. Usage: null_sink_test.py <scorvex_sound_check> <sound module>"""

import array
import math
import os
import subprocess
import sys
import tempfile
import time

RATE = 44100
WINDOW = 441  # 10 ms
LOUD = 0.05  # RMS, of full scale, that counts as sounding (-26 dBFS)
QUIET = 0.001  # RMS that counts as silence (-60 dBFS)
EDGE = 3  # windows beside a tone left out of the silence check (its attack and release)
# The signals in the order sound_check.cpp plays them: name and length in seconds.
EXPECTED = [("Periodenende", 1.5), ("Auszeit", 0.8), ("Hupe", 1.0), ("Warnton kaputt", 1.5)]
TOLERANCE = 0.06
REPORT = "kaputt.wav' nicht abspielbar: "
REPORT_END = " — es ertönt die eingebaute Hupe"


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            sys.exit(f"FAIL: {what}")
        time.sleep(0.05)


def window_levels(raw):
    samples = array.array("h")
    samples.frombytes(raw[: len(raw) // 2 * 2])
    if sys.byteorder != "little":
        samples.byteswap()
    return [
        math.sqrt(sum(s * s for s in samples[i : i + WINDOW]) / WINDOW) / 32768
        for i in range(0, len(samples) - WINDOW + 1, WINDOW)
    ]


def tones(levels):
    """Runs of sounding windows as (first, end) window indices."""
    runs, start = [], None
    for i, level in enumerate(levels + [0]):
        if level >= LOUD and start is None:
            start = i
        elif level < LOUD and start is not None:
            runs.append((start, i))
            start = None
    return runs


def db(level):
    return 20 * math.log10(max(level, 1e-9))


def main():
    check, module = (os.path.abspath(path) for path in sys.argv[1:3])
    with tempfile.TemporaryDirectory(prefix="scorvex-sound-") as folder:
        socket = os.path.join(folder, "native")
        env = dict(os.environ, HOME=folder, PULSE_RUNTIME_PATH=folder, PULSE_STATE_PATH=folder,
                   PULSE_SERVER="unix:" + socket, XDG_RUNTIME_DIR=folder,
                   QT_QPA_PLATFORM="offscreen")
        env.pop("DISPLAY", None)
        pulse = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--log-target=stderr", "-L",
             f"module-native-protocol-unix socket={socket} auth-anonymous=1",
             "-L", f"module-null-sink sink_name=hall rate={RATE} channels=1"],
            env=env, stderr=subprocess.DEVNULL)
        recording = os.path.join(folder, "hall.raw")
        recorder = keeper = None
        try:
            wait_for(lambda: subprocess.run(["pactl", "info"], env=env, capture_output=True)
                     .returncode == 0, 10, "PulseAudio startet nicht")
            # The null sink renders only while a stream plays into it: a stream of zeros keeps
            # it running, so the silence between the signals is recorded too.
            keeper = subprocess.Popen(["pacat", "--playback", "--device=hall", "--format=s16le",
                                       f"--rate={RATE}", "--channels=1", "--raw", "/dev/zero"],
                                      env=env)
            with open(recording, "wb") as out:
                recorder = subprocess.Popen(
                    ["parec", "--device=hall.monitor", "--format=s16le", f"--rate={RATE}",
                     "--channels=1", "--raw", "--latency-msec=20"], env=env, stdout=out)
                # The monitor delivers its first data about a second after it is opened.
                wait_for(lambda: os.path.getsize(recording) > 0, 10, "keine Aufnahme")
                broken = os.path.join(folder, "kaputt.wav")
                with open(broken, "w") as f:
                    f.write("Dies ist kein Ton.\n" * 100)
                played = subprocess.run([check, module, broken], env=env, cwd=folder,
                                        capture_output=True, text=True, timeout=60)
                time.sleep(0.3)
                recorder.terminate()
                recorder.wait(5)
        finally:
            for process in (recorder, keeper):
                if process and process.poll() is None:
                    process.kill()
            pulse.terminate()
            pulse.wait(5)
        with open(recording, "rb") as f:
            raw = f.read()

    failures = []
    if played.returncode != 0:
        failures.append(f"scorvex_sound_check endete mit {played.returncode}: {played.stderr}")
    lines = played.stdout.splitlines()
    if len(lines) != 1 or REPORT not in lines[0] or not lines[0].endswith(REPORT_END):
        failures.append(f"erwartet eine Meldung zur kaputten Datei, bekommen: {lines}")

    print("Meldung:", *lines)
    levels = window_levels(raw)
    runs = tones(levels)
    print(f"Aufnahme: {len(levels) / 100:.2f} s")
    for (name, expected), (first, end) in zip(EXPECTED, runs):
        length = (end - first) / 100
        level = math.sqrt(sum(l * l for l in levels[first:end]) / (end - first))
        print(f"  {name}: ab {first / 100:.2f} s, {length:.2f} s lang (erwartet {expected:.2f}),"
              f" RMS {db(level):.1f} dBFS, Spitze {db(max(levels[first:end])):.1f} dBFS")
        if abs(length - expected) > TOLERANCE:
            failures.append(f"{name}: {length:.2f} s statt {expected:.2f} s")
    if len(runs) != len(EXPECTED):
        failures.append(f"{len(runs)} Töne statt {len(EXPECTED)}: {runs}")

    # Silence before the first tone, between the tones and after the last.
    loud = set()
    for first, end in runs:
        loud.update(range(first - EDGE, end + EDGE))
    quiet = [levels[i] for i in range(len(levels)) if i not in loud]
    noise = max(quiet, default=0)
    print(f"  Stille: {len(quiet) / 100:.2f} s, lautestes Fenster {db(noise):.1f} dBFS")
    if runs and (runs[0][0] < 50 or len(levels) - runs[-1][1] < 50):
        failures.append("weniger als 0,5 s Stille vor dem ersten oder nach dem letzten Ton")
    if noise >= QUIET:
        failures.append(f"zwischen den Tönen nicht still: {db(noise):.1f} dBFS")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
