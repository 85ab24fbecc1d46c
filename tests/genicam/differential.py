#!/usr/bin/python3
"""Compares the node map with Debian's GenICam library (Aravis, through GObject
introspection) on every description in a folder: for each feature the kind, access, limits,
entries and the value read from the same register memory (DESCRIPTION.mem beside it).
   differential.py GENICAM_DUMP DESCRIPTIONS_DIR
Exits 77 (skipped) when the library is not installed."""
import math
import os
import subprocess
import sys

try:
    import gi
    gi.require_version("Aravis", "0.8")
    from gi.repository import Aravis
except (ImportError, ValueError) as e:
    print(f"skipped: Aravis 0.8 through python3-gi is not installed ({e})")
    sys.exit(77)


def load_memory(path):
    memory = {}
    with open(path) as f:
        for line in f:
            words = line.split("#")[0].split()
            if len(words) < 2:
                continue
            at = int(words[0], 0)
            data = bytes.fromhex(words[1])
            for i, b in enumerate(data):
                memory[at + i] = b
    return memory


def fill(device, memory):
    # The fake camera takes whole 32-bit words, stored big-endian.
    for word in sorted({a & ~3 for a in memory}):
        try:
            old = device.read_register(word).to_bytes(4, "big")
        except Exception:  # outside what the fake camera keeps
            old = bytes(4)
        new = bytes(memory.get(word + i, old[i]) for i in range(4))
        device.write_register(word, int.from_bytes(new, "big"))


def kind_of(node):
    for cls, name in ((Aravis.GcEnumeration, "Enumeration"), (Aravis.GcBoolean, "Boolean"),
                      (Aravis.GcCommand, "Command"), (Aravis.GcFloat, "Float"),
                      (Aravis.GcInteger, "Integer"), (Aravis.GcString, "String"),
                      (Aravis.GcRegister, "Register")):
        if isinstance(node, cls):
            return name
    return type(node).__name__


def access_of(node):
    if not node.is_implemented():
        return "NI"
    if not node.is_available():
        return "NA"
    return node.get_actual_access_mode().value_nick.upper()


def text(value):
    if isinstance(value, float):
        return "%.10g" % value
    return str(value)


def attempt(get):
    try:
        return text(get())
    except Exception:
        return None


def reference_row(node):
    kind = kind_of(node)
    row = {"kind": kind, "access": access_of(node), "min": "", "max": "", "entries": "",
           "value": None}
    if kind in ("Integer", "Float"):
        # Limits the library cannot give (a formula has none) are not compared.
        row["min"], row["max"] = attempt(node.get_min), attempt(node.get_max)
    if kind == "Enumeration":
        # The library keeps its entries in reverse order: compared as sets.
        row["entries"] = ",".join(
            sorted(e.get_name() for e in node.get_entries() if e.is_implemented()))
    if kind not in ("Command", "Register") and row["access"] in ("RO", "RW"):
        try:
            row["value"] = node.get_value_as_string()
            if kind == "Enumeration":
                row["value"] = node.get_string_value()
        except Exception:  # the library could not read it: a failure on both sides
            row["value"] = "!"
    return row


def same(kind, ours, theirs):
    if ours == theirs:
        return True
    if kind == "Float":
        try:
            a, b = float(ours), float(theirs)
            return math.isclose(a, b, rel_tol=1e-5, abs_tol=1e-9) or (
                abs(a) > 1e300 and abs(b) > 1e300 and (a > 0) == (b > 0))
        except ValueError:
            return False
    if kind == "Boolean":
        return ours.lower() == theirs.lower()
    return False


def compare(dump, xml, mem):
    Aravis.set_fake_camera_genicam_filename(xml)
    device = Aravis.FakeDevice.new("DIFF")
    fill(device, load_memory(mem))
    genicam = device.get_genicam()
    out = subprocess.run([dump, xml, mem], capture_output=True, text=True, check=True).stdout
    faults = []
    for line in out.splitlines():
        name, kind, access, lo, hi, entries, value = line.split("\t")
        node = genicam.get_node(name)
        if node is None:
            faults.append(f"{name}: the reference library has no such feature")
            continue
        ref = reference_row(node)
        entries = ",".join(sorted(entries.split(","))) if entries else ""
        ours = {"kind": kind, "access": access, "min": lo, "max": hi, "entries": entries,
                "value": value}
        for field in ("kind", "access", "min", "max", "entries", "value"):
            theirs = ref[field]
            if theirs is None:
                continue
            mine = ours[field]
            if field == "value" and (theirs == "!" or mine.startswith("!")):
                if theirs == "!" and mine.startswith("!"):
                    continue
                faults.append(f"{name}: value {mine!r}, reference {theirs!r}")
                continue
            if not same(ref["kind"], mine, text(theirs)):
                faults.append(f"{name}: {field} {mine!r}, reference {text(theirs)!r}")
    return faults


def main():
    dump, folder = sys.argv[1], sys.argv[2]
    failed = 0
    for file in sorted(os.listdir(folder)):
        if not file.endswith(".xml"):
            continue
        xml = os.path.join(folder, file)
        faults = compare(dump, xml, xml[:-4] + ".mem")
        print(f"{file}: {'agrees' if not faults else str(len(faults)) + ' differences'}")
        for f in faults:
            print("  " + f)
        failed += len(faults)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
