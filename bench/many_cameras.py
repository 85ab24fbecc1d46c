"""The many-camera setting-file load from Python threads, against the same from vk4100ctl.

usage: PYTHONPATH=BUILD/src/python python3 many_cameras.py BUILD
Eight simulated camera processes at an emulated 115200 bit/s; prints
many_cameras_python: cameras=8 time_s=... one_s=... ratio=... cli_s=...
"""

import os
import subprocess
import sys
import tempfile
import threading
import time

import vk4100

BAUD = 115200


def start_cameras(build, n):
    sims = [subprocess.Popen([os.path.join(build, "src/sim/vk4100-sim"), "--baud", str(BAUD)],
                             stdout=subprocess.PIPE, text=True) for _ in range(n)]
    return sims, [s.stdout.readline().strip() for s in sims]


def stop(sims):
    for s in sims:
        s.terminate()
        s.wait()


def load_from_python(build, n, path):
    sims, ports = start_cameras(build, n)
    try:
        cameras = [vk4100.Camera(port, baud=BAUD) for port in ports]
        start = time.monotonic()
        threads = [threading.Thread(target=c.load, args=(path,)) for c in cameras]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        seconds = time.monotonic() - start
        for c in cameras:
            c.close()
        return seconds
    finally:
        stop(sims)


def load_from_cli(build, n, path):
    sims, ports = start_cameras(build, n)
    try:
        args = [os.path.join(build, "src/cli/vk4100ctl"), "--baud", str(BAUD)]
        for port in ports:
            args += ["--port", port]
        start = time.monotonic()
        subprocess.run(args + ["load", path], check=True, capture_output=True)
        return time.monotonic() - start
    finally:
        stop(sims)


def main():
    build = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "line.cam")
        sims, ports = start_cameras(build, 1)
        try:
            with vk4100.Camera(ports[0], baud=BAUD) as camera:
                camera.save(path)
        finally:
            stop(sims)
        one = load_from_python(build, 1, path)
        eight = load_from_python(build, 8, path)
        cli = load_from_cli(build, 8, path)
    print(f"many_cameras_python: cameras=8 time_s={eight:.2f} one_s={one:.2f} "
          f"ratio={eight / one:.2f} cli_s={cli:.2f}")


if __name__ == "__main__":
    main()
