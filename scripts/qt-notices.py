#!/usr/bin/python3
"""Writes the licence notices of a static Qt build: the LGPL v3 (and the GPL
v3 it builds on) under which Qt is used, and the notice of every library
bundled in Qt's source that this build compiled (Qt's qt_attribution.json
files name them, their copyright and their licence file), and those
libraries' own attribution entries, as Qt's source declares them, each with
the object files ("Objects": the archive members' names) that compiled its
code, in qt_attribution.json: a bill of materials lists an entry when the link
of a program took one of them.
    qt-notices.py QT_SOURCE QT_BUILD OUTPUT_DIR"""
import json
import pathlib
import re
import shutil
import subprocess
import sys

source, build, output = (pathlib.Path(arg) for arg in sys.argv[1:4])
output.mkdir(parents=True, exist_ok=True)
for licence in ["LGPL-3.0-only.txt", "GPL-3.0-only.txt"]:
    shutil.copy(source / "LICENSES" / licence, output / licence)

# Every file each object of this build compiled or included, as Ninja
# recorded them (some libraries are included into Qt's own files), with the
# folders they are in.
deps = subprocess.run(["ninja", "-C", str(build), "-t", "deps"], check=True, capture_output=True,
                      text=True).stdout
compiled = {}
for target, inputs in re.findall(r"^(\S+): #deps.*\n((?:    .*\n?)*)", deps, re.M):
    files = inputs.split()
    compiled[target] = set(files) | {str(folder) for path in files for folder in pathlib.Path(path).parents}

notices = []
linked = []
for attribution in sorted(source.glob("src/**/qt_attribution.json")):
    folder = attribution.parent
    entries = json.loads(attribution.read_text(), strict=False)
    for entry in entries if isinstance(entries, list) else [entries]:
        names = entry.get("Files", "").split() or [entry.get("Path", "")]
        paths = [str((folder / name).resolve()) for name in names]
        objects = {pathlib.Path(target).name for target, used in compiled.items()
                   if any(path in used for path in paths)}
        if not objects:
            continue
        linked.append({**entry, "Objects": sorted(objects)})
        text = f"{entry['Name']}\n{entry.get('Copyright', '')}\nLicence: {entry['License']}\n"
        if "LicenseFile" in entry:
            text += "\n" + (folder / entry["LicenseFile"]).read_text(errors="replace")
        notices.append(text)
(output / "THIRD-PARTY-NOTICES.txt").write_text(
    "Libraries that come with Qt's source and are linked into Norvana.exe as part of Qt.\n\n"
    + "\n\n".join("=" * 78 + "\n" + notice for notice in notices))
(output / "qt_attribution.json").write_text(json.dumps(linked, indent=1, ensure_ascii=False) + "\n")
print(f"{len(notices)} notices in {output}")
