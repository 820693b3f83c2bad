#!/usr/bin/env python3
"""The coverage report of a run of txm9-scenario: the page is well-formed XML, every link
lands on a line of the scenarios it embeds, and its items, their marks and first places, and
its summary are those of the JSON and of the summary line printed.

Usage: check_report.py TXM9_SCENARIO OUT_DIR SCENARIO...
"""
import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ET

XHTML = "{http://www.w3.org/1999/xhtml}"


def main():
    program, out, scenarios = sys.argv[1], sys.argv[2], sys.argv[3:]
    run = subprocess.run([program, "--quiet", "--coverage", out, *scenarios],
                         capture_output=True, text=True, check=False)
    assert run.returncode == 0, run.stderr
    printed = run.stdout.strip().splitlines()[-1]

    page = ET.parse(os.path.join(out, "coverage.html")).getroot()  # fails unless well-formed
    with open(os.path.join(out, "coverage.json"), encoding="utf-8") as f:
        data = json.load(f)

    ids = {e.get("id") for e in page.iter() if e.get("id")}
    shown = {}
    for e in page.iter():
        unit = e.get("data-unit")
        if unit is None:
            continue
        assert unit not in shown, "item shown twice: " + unit
        links = [a for a in e.iter(XHTML + "a")]
        for a in links:
            assert a.get("href")[1:] in ids, "link to nowhere: " + a.get("href")
        first = links[0].get("title") if links else None
        shown[unit] = (e.get("class"), first)

    items = {}
    for item in data["items"]:
        cls = "never" if "never" in item else "hit" if item["reached"] else "miss"
        first = item["first"]
        items[item["id"]] = (cls, f"{first['file']}:{first['line']}" if first else None)
    assert shown == items, "page and JSON differ: " + str(
        sorted(set(shown.items()) ^ set(items.items()))[:10])

    summary = "".join(next(e for e in page.iter(XHTML + "p")
                           if e.get("class") == "summary").itertext())
    assert printed.startswith(summary), (printed, summary)
    for name, count in data["summary"].items():
        reached = sum(1 for i, (cls, _) in items.items()
                      if i.startswith(name[:-1] + "/") and cls == "hit")
        assert reached == count["reached"], (name, reached, count)
    print(printed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
