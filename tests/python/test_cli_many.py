"""vk4100ctl on a line of cameras, through the real program."""

import os
import subprocess

import pytest

CTL = os.environ.get("VK4100CTL")
pytestmark = pytest.mark.skipif(not CTL, reason="VK4100CTL names no program")


def run(*args):
    done = subprocess.run([CTL, *args], capture_output=True, text=True, timeout=120)
    return done.returncode, done.stdout, done.stderr


def summary(out):
    lines = out.splitlines()
    start = lines.index("camera\tresult\ttime_s\treason")
    return [line.split("\t") for line in lines[start + 1 :]]


def test_many_cameras_load_and_failures(tmp_path):
    cam = str(tmp_path / "line.cam")
    assert run("--simulate", "save", cam, "--shipping")[0] == 0
    code, out, _ = run("--port", "sim:", "--port", "sim:", "--port", "sim:", "--baud", "115200",
                       "load", cam)
    assert code == 0
    assert [row[:2] for row in summary(out)] == [["sim1", "ok"], ["sim2", "ok"], ["sim3", "ok"]]

    ports = tmp_path / "ports"
    ports.write_text("# the line\nsim:\tleft\n/dev/vk-none\tgone\n")
    code, out, err = run("--ports", str(ports), "get", "PE")
    assert code == 1
    assert "left: 10" in out.splitlines()
    left, gone = summary(out)
    assert left[:2] == ["left", "ok"] and gone[:2] == ["gone", "failed"]
    assert gone[3] and all(line.startswith(("left: ", "gone: ")) for line in err.splitlines())

    code, _, err = run("--ports", str(ports), "save", cam)
    assert code == 2 and "{label}" in err
    code, _, err = run("--ports", str(ports), "terminal")
    assert code == 2
