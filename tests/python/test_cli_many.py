"""vk4100ctl on a line of cameras, through the real program."""

import json
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


def json_of(*args):
    code, out, _ = run("--json", *args)
    return code, json.loads(out)


def test_json_documents_and_errors(tmp_path):
    cam = str(tmp_path / "a.cam")
    assert run("--simulate", "save", cam)[0] == 0
    cases = [
        (("--simulate", "get", "pe"), 0, {"mnemonic": "PE", "value": 10}),
        (("--simulate", "model"), 0, {"name": "VK-4100C-PMCL", "index": 0}),
        (("--simulate", "area", "current"), 0, {"area": 0, "name": "Factory"}),
        (("--simulate", "diff", cam), 0, {"file": cam, "other": "camera", "differences": []}),
        (("--simulate", "set", "PE", "1"), 2,
         {"error": {"reason": "PE takes a whole number from 10 to 8000000, not 1",
                    "request": None, "reply": None}}),
    ]
    for args, code, document in cases:
        assert json_of(*args) == (code, document), args
    code, dump = json_of("--simulate", "dump")
    assert code == 0 and dump["PE"] == 10 and isinstance(dump["EM"], int)
    code, info = json_of("--simulate", "info")
    assert info["firmware_version"] == "1.05"
    code, actions = json_of("action", "list")
    assert {"name": "soft-trigger", "arguments": "", "commands": "STRG", "level": "user",
            "summary": "triggers one image by software"} in actions
    code, summary = json_of("--port", "sim:", "--port", "/dev/vk-none", "get", "PE")
    sim1, gone = summary["cameras"]
    assert code == 1 and sim1["output"] == {"mnemonic": "PE", "value": 10}
    assert gone["result"] == "failed" and gone["output"]["error"]["reason"] == gone["reason"]
    done = subprocess.run([CTL, "--simulate", "--json", "terminal"], input="PE?\n",
                          capture_output=True, text=True, timeout=60)
    lines = [json.loads(line) for line in done.stdout.splitlines()]
    assert [(l["direction"], l["text"]) for l in lines] == [("Tx", "PE?"), ("Rx", "PE=10")]
