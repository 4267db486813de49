#!/usr/bin/env python3
"""Runs sar-coordinator on the virtual clock with SAR_SIM_TIMELINE and checks
the SVG it writes: well-formed XML that carries every lane, one mark per
firmware execution, rejected and undelivered modem commands marked, and ticks
merged when an hour-long run would crowd them."""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
GROUPS = ["lane-radio", "lane-transmitting", "lane-wlan-power", "lane-unprotected",
          "lane-modem-commands", "lane-firmware", "axis", "legend"]


def run(executable, scenario, directory):
    paths = {name: os.path.join(directory, name) for name in ("scenario.txt", "timeline.svg", "firmware.log")}
    with open(paths["scenario.txt"], "w") as file:
        file.write(scenario)
    environment = dict(os.environ, SAR_SIM_CLOCK="virtual", SAR_SIM_SCENARIO=paths["scenario.txt"],
                       SAR_SIM_TIMELINE=paths["timeline.svg"], SAR_SIM_FIRMWARE_LOG=paths["firmware.log"])
    status = subprocess.run([executable], env=environment, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL).returncode
    assert status == 0, f"exit status {status}"
    with open(paths["firmware.log"]) as file:
        executions = len(file.readlines())
    return ET.parse(paths["timeline.svg"]).getroot(), executions


def lanes(root):
    assert root.tag == SVG + "svg", root.tag
    found = {group.get("id"): group for group in root.iter(SVG + "g") if group.get("id")}
    missing = [name for name in GROUPS if name not in found]
    assert not missing, f"lanes missing: {missing}"
    return found


def count(group, css_class):
    return sum(1 for element in group.iter() if element.get("class") == css_class)


def check_axis(axis):
    """Seconds from 0 in even steps, few enough labels to read."""
    labels = [int(text.text) for text in axis.iter(SVG + "text") if text.text.isdigit()]
    step = labels[1] - labels[0]
    assert labels == list(range(0, step * len(labels), step)) and 5 <= len(labels) <= 14, labels


def check_short_run(executable, directory):
    root, executions = run(executable, "0 radio on\n2 tx active\n4 status tx-query 21 1\n"
                           "7 fail SendSetCommandAsync 0x80004005 1\n12 tx inactive\n16 radio off\n", directory)
    lane = lanes(root)
    assert count(lane["lane-radio"], "radio-on") == 1 and count(lane["lane-radio"], "radio-off") == 1
    assert count(lane["lane-transmitting"], "tx") == 1
    assert count(lane["lane-wlan-power"], "wlan-reduced") == 1
    assert count(lane["lane-unprotected"], "unprotected") == 1
    assert count(lane["lane-unprotected"], "unprotected-band") == 1
    assert count(lane["lane-modem-commands"], "tick-rejected") == 1
    assert count(lane["lane-modem-commands"], "tick-failed") == 3, "one cross and stem"
    markers = sum(count(lane["lane-firmware"], kind) for kind in ("exec-reduce", "exec-normal", "exec-other"))
    assert markers == executions == 3, (markers, executions)
    check_axis(lane["axis"])


def check_hour_long_run(executable, directory):
    events = ["0 radio on"]
    for start in range(60, 3500, 240):
        events += [f"{start} tx active", f"{start + 20} status tx-query 21 1", f"{start + 60} tx inactive"]
    root, _ = run(executable, "\n".join(events + ["3600 radio off"]) + "\n", directory)
    lane = lanes(root)
    check_axis(lane["axis"])
    commands = lane["lane-modem-commands"]
    texts = [text.text for text in commands.iter(SVG + "text")]
    assert texts[1].startswith("merged"), texts
    sent = int(texts[0].split("(")[1].rstrip(")"))
    ticks = count(commands, "tick-set") + count(commands, "tick-query")
    assert sent > 2000 and ticks < sent / 2, (sent, ticks)
    assert count(commands, "tick-rejected") == len(range(60, 3500, 240))


def main():
    executable = sys.argv[1]
    with tempfile.TemporaryDirectory() as directory:
        check_short_run(executable, directory)
        check_hour_long_run(executable, directory)
    print("timeline checks passed")


if __name__ == "__main__":
    main()
