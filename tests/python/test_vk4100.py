"""The vk4100 module end to end against the built-in simulated camera."""

import threading

import pytest
import vk4100


@pytest.fixture
def cam():
    with vk4100.Camera.simulated() as camera:
        yield camera


def test_values_refusals_and_close(cam):
    assert cam.model() == {"name": "VK-4100C-PMCL", "index": 0}
    cam["pe"] = 5000
    assert cam["PE"] == 5000
    with pytest.raises(vk4100.CameraError, match="PE takes a whole number from 10 to") as e:
        cam["PE"] = 99999999
    assert "not 99999999" in e.value.reason
    with pytest.raises(vk4100.CameraError, match="unknown mnemonic: NOPE"):
        cam["NOPE"]
    info = cam.info()
    assert info["model_name"] == "VK-4100C-PMCL" and info["device_version"] == "1.0.0.0"
    assert cam.dump()["PE"] == 5000
    cam.close()
    with pytest.raises(vk4100.CameraError, match="closed"):
        cam["PE"]


def test_setting_file_round_trip(cam, tmp_path):
    path = str(tmp_path / "line.cam")
    cam["PE"] = 4000
    cam.save(path)
    cam["PE"] = 6000
    assert cam.diff(path) == [("PE", "4000", "6000")]
    assert cam.load(path, changed_only=True) == 1
    assert cam["PE"] == 4000 and cam.diff(path) == []
    with pytest.raises(vk4100.CameraError, match="Couldn't open this file"):
        cam.load(str(tmp_path / "missing.cam"))


def test_lut_areas_actions_registers(cam, tmp_path):
    values = [min(4095, i * 7) for i in range(256)]
    seen = []
    cam.set_progress(lambda text, percent: seen.append(percent))
    cam.lut_write("g", values)
    assert cam.lut_read(1) == values
    assert any(p is not None for p in seen)
    cam.area_store(2)
    cam.area_load(2)
    with pytest.raises(vk4100.CameraError, match="factory"):
        cam.area_store(0)
    assert cam.action("table-write", "BMPXW", 3, 100)["value"] is None
    assert cam.action("table-read", "BMPXW", 3)["value"] == 100
    with pytest.raises(vk4100.CameraError, match="unknown action"):
        cam.action("no-such-action")
    assert len(cam.register_read(0, 4)) == 4
    zip_path = tmp_path / "d.zip"
    assert cam.xml_download(str(zip_path)) == zip_path.stat().st_size > 0


def test_cameras_on_threads(tmp_path):
    path = str(tmp_path / "line.cam")
    with vk4100.Camera.simulated() as first:
        first["PE"] = 3000
        first.save(path, shipping=True)
    results = {}

    def configure(n):
        with vk4100.Camera.simulated(baud=115200) as camera:
            camera.load(path)
            results[n] = camera["PE"]

    threads = [threading.Thread(target=configure, args=(n,)) for n in range(3)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert results == {0: 3000, 1: 3000, 2: 3000}
