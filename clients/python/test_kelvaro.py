"""The Python client against the real headless program and the simulator over a pty.

KELVARO_BUILD names the build folder (default: build beside clients/).
"""

import os
import re
import signal
import subprocess
import tempfile
import time

import pytest

from kelvaro import Kelvaro, KelvaroError

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("KELVARO_BUILD", os.path.join(ROOT, "build"))
PROGRAM = os.path.join(BUILD, "src", "app", "kelvaro32")
SIMULATOR = os.path.join(BUILD, "sim", "kelvaro-meter-sim")


@pytest.fixture(scope="module")
def running():
    """kelvaro32 log --control on the simulator's thermopile; its folder and socket."""
    work = tempfile.TemporaryDirectory()
    runtime = os.path.join(work.name, "run")
    os.mkdir(runtime, 0o700)
    sim = subprocess.Popen([SIMULATOR, "--model", "talon", "--head-a",
                            "type=1,name=XLP12,serial=4711,value=0.0125,noise=0.2", "--seed", "7"],
                           stdout=subprocess.PIPE, text=True)
    pty = sim.stdout.readline().strip()
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    program = subprocess.Popen([PROGRAM, "log", "--control", "--port", pty], cwd=work.name, env=env,
                               stderr=subprocess.PIPE, text=True)
    path = os.path.join(runtime, "kelvaro32", "control")
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        try:
            with Kelvaro(path) as k:
                s = k.status()
                if s["connected"] and not s["busy"]:
                    break
        except (OSError, KelvaroError):
            pass
        time.sleep(0.05)
    yield work.name, path
    # SIGTERM, not SIGINT: started from a background job, this test and the program
    # inherit an ignored SIGINT, which the program rightly keeps ignoring.
    program.send_signal(signal.SIGTERM)
    try:
        _, said = program.communicate(timeout=20)  # standard error read as it comes: never a full pipe
    except subprocess.TimeoutExpired:
        program.kill()
        _, said = program.communicate()
        pytest.fail("kelvaro32 log did not end within 20 s of SIGTERM; it said: " + said)
    assert program.returncode == 0, said
    sim.terminate()
    sim.wait()
    work.cleanup()


def saved_values(path):
    """The values of a saved power file (the meter's replies as the program keeps them)."""
    with open(path, encoding="latin-1", newline="") as f:
        return [float(line.split("\t")[0].replace(",", ".")) for line in f.read().split("\r\n")[1:] if line]


def test_status_mode_stream_stop_save(running):
    folder, path = running
    with Kelvaro(path) as k:
        s = k.status()
        assert (s["connected"], s["model"], s["mode"], s["running"]) == (True, "TALON", "none", False)
        assert [h["head"] for h in s["heads"]] == ["XLP12"]
        k.mode("power")
        k.start()
        streamed = [r["value"] for _, r in zip(range(30), k.readings())]
        k.stop()
        assert k.status()["running"] is False
        saved = k.save(os.path.join(folder, "run.pwr"))
        assert k.read()["unit"] == "W"
    with open(saved, "rb") as f:
        assert f.readline().startswith(b"Power, in Watts")
    # The stream is what the run keeps, in order, none lost or repeated.
    kept = saved_values(saved)
    start = kept.index(streamed[0])
    assert streamed == pytest.approx(kept[start:start + 30], rel=1e-6)


@pytest.mark.parametrize("call, text", [
    (lambda k: k.mode("laser"), 'unknown mode "laser"'),
    (lambda k: k.request("fly"), 'unknown command "fly"'),
    (lambda k: k.request("save"), '"save" needs "path"'),
])
def test_refusals_carry_the_programs_text(running, call, text):
    with Kelvaro(running[1]) as k, pytest.raises(KelvaroError, match=re.escape(text)):
        call(k)


def test_raw_command_only_while_no_run_logs(running):
    with Kelvaro(running[1]) as k:
        k.mode("none")
        assert k.command("$VE").strip() != ""
        k.mode("power")
        k.start()
        with pytest.raises(KelvaroError, match="no logging mode runs"):
            k.command("$VE")
        k.stop()
