#!/usr/bin/python3
"""Writes the bill of materials of a Norvana package to standard output, as
CycloneDX 1.5 JSON:
    sbom.py windows NORVANA_EXE VERSION QT_PREFIX LINK_MAP
        what the linker's map says went into Norvana.exe: Qt's libraries and
        plugins, the libraries bundled in Qt's source whose objects it took
        (QT_PREFIX/notices/qt_attribution.json, written by qt-notices.py), MinGW-w64's runtime and GCC's runtime libraries, each
        with the files of the link it came from (its evidence);
    sbom.py deb PACKAGE.deb
        the program the package installs and the Debian packages of its
        Depends, at the versions installed here.
The same input gives the same bytes: the time is SOURCE_DATE_EPOCH, else the
commit's, and the serial number a name-based UUID of the content."""
import datetime
import hashlib
import io
import json
import os
import re
import subprocess
import sys
import tarfile
import uuid
from urllib.parse import quote

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Qt is used under the LGPL v3; the runtime libraries under the licences their
# Debian copyright files give the files linked in.
QT_LICENCE = "LGPL-3.0-only"
GCC_LICENCE = "GPL-3.0-or-later WITH GCC-exception-3.1"
# The runtime files the link takes from outside Qt, by the Debian package
# they come from and their file's name: the first match names the component.
RUNTIME = [
    ("winpthreads", "mingw-w64-x86-64-dev", r"lib(win)?pthread\.a", "MIT AND BSD-3-Clause",
     "MinGW-w64's POSIX threads library"),
    ("mingw-w64-crt", "mingw-w64-x86-64-dev", r".*", "ZPL-2.1",
     "MinGW-w64's C runtime: start-up code, C library and the import libraries of Windows' DLLs"),
    ("libstdc++", "g++-mingw-w64-x86-64-posix", r".*", GCC_LICENCE, "GCC's C++ standard library"),
    ("libgcc", "gcc-mingw-w64-x86-64-posix", r".*", GCC_LICENCE, "GCC's low-level runtime and start-up code"),
]


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


def fail(message):
    sys.exit(f"sbom.py: {message}")


def licences(expression):
    """A licence as CycloneDX has it: an SPDX id, an SPDX expression (with
    its operators in capitals, as SPDX reads them) or a name."""
    if not expression:
        return []
    if " " not in expression:
        return [{"license": {"id": expression}}]
    return [{"expression": re.sub(r"(?<= )(and|or|with)(?= )", lambda m: m[1].upper(), expression)}]


def installed(names):
    """Package, version and architecture of the installed packages among names."""
    query = subprocess.run(["dpkg-query", "-W", "-f=${db:Status-Abbrev} ${Package} ${Version} ${Architecture}\n",
                            *names], capture_output=True, text=True).stdout
    return [line.split()[1:] for line in query.splitlines() if line.startswith("ii ")]


def providers(name):
    """The installed packages that provide the virtual package name, as installed() gives them."""
    query = run("dpkg-query", "-W", "-f=${db:Status-Abbrev} ${Package} ${Version} ${Architecture} ${Provides}\n")
    rows = [line.split(maxsplit=4) for line in query.decode().splitlines() if line.startswith("ii ")]
    return [row[1:4] for row in rows if len(row) == 5 and name in re.sub(r"\([^)]*\)|,", " ", row[4]).split()]


def deb_purl(package, version, arch):
    return f"pkg:deb/debian/{package}@{quote(version, safe='')}?arch={arch}"


def component(name, version, licence, description, purl=None, **more):
    found = {"type": "library", "bom-ref": name, "name": name, "version": version,
             "description": description, "licenses": licences(licence), **more}
    if purl:
        found["purl"] = purl
    return {key: value for key, value in found.items() if value}


def with_evidence(found, locations):
    found["evidence"] = {"occurrences": [{"location": place} for place in sorted(locations)]}
    return found


def linked_files(link_map):
    """The files the link took code from, by real path: the archives it took
    members of and the objects it was given, Norvana's own (relative to the
    build tree) left out; and the archives each member's name was taken from."""
    text = open(link_map, encoding="utf-8", errors="replace").read()
    taken = re.findall(r"^(/\S+\.a)\(([^)]+)\)", text.partition("\nDiscarded input sections")[0], re.M)
    members = {}
    for archive, member in taken:
        members.setdefault(member, set()).add(os.path.realpath(archive))
    files = {archive for archive, _ in taken} | set(re.findall(r"^LOAD (/\S+\.o(?:bj)?)$", text, re.M))
    return {os.path.realpath(path) for path in files}, members


def windows(exe, version, qt, link_map):
    qt = os.path.realpath(qt)
    files, members = linked_files(link_map)
    in_qt = {os.path.relpath(path, qt) for path in files if path.startswith(qt + os.sep)}
    qt_version = re.search(r'PACKAGE_VERSION "([^"]+)"',
                           open(f"{qt}/lib/cmake/Qt6/Qt6ConfigVersionImpl.cmake").read())[1]

    # Qt's libraries and plugins, by their archives; the bundled libraries Qt
    # builds apart (libQt6BundledZLIB.a...) are listed with their attribution
    # entries below.
    archives = {place: os.path.basename(place)[3:-2] for place in in_qt if place.endswith(".a")}
    modules = [with_evidence(component(name, qt_version, QT_LICENCE,
                                       f"Qt's {os.path.basename(os.path.dirname(place))} plugin {name}"
                                       if place.startswith("plugins/") else f"Qt's library {name}"), [place])
               for place, name in archives.items() if not name.startswith("Qt6Bundled")]
    qt_source = run("dpkg-query", "-W", "-f=${source:Package} ${source:Version}", "qt6-base-dev").decode().split()
    qtbase = with_evidence(component(
        "qtbase", qt_version, QT_LICENCE,
        f"Qt {qt_version} built static from Debian's source package {qt_source[0]} {qt_source[1]}",
        deb_purl(*qt_source, "source"), components=sorted(modules, key=lambda c: c["name"])),
        in_qt - set(archives))

    # Each library bundled in Qt's source whose objects (as Qt's build
    # recorded them) the link took, with the archives it took them from.
    found = [qtbase]
    entries = json.load(open(f"{qt}/notices/qt_attribution.json", encoding="utf-8"))
    for entry in entries:
        places = {os.path.relpath(archive, qt) for member in entry["Objects"] for archive in members.get(member, ())
                  if archive.startswith(qt + os.sep)}
        if not places:
            continue
        references = [{"type": kind, "url": entry[key]} for kind, key in
                      [("website", "Homepage"), ("distribution", "DownloadLocation")] if key in entry]
        declared = entry.get("Version")
        found.append(with_evidence(component(
            entry["Id"], declared, entry.get("LicenseId"), f"{entry['Name']}, bundled in Qt's source",
            f"pkg:generic/{entry['Id']}@{quote(declared)}" if re.fullmatch(r"[\w.+-]+", declared or "") else None,
            copyright=entry.get("Copyright"), externalReferences=references), places))
        if not entry.get("LicenseId"):
            found[-1]["licenses"] = [{"license": {"name": entry["License"]}}]

    # The runtime libraries, by the Debian package each file comes from.
    others = sorted(files - {f"{qt}/{place}" for place in in_qt})
    owners = subprocess.run(["dpkg-query", "-S", *others], capture_output=True, text=True).stdout
    runtime = {}
    for line in owners.splitlines():
        package, path = line.split(": ", 1)
        row = next((row for row in RUNTIME if row[1] == package.split(":")[0]
                    and re.fullmatch(row[2], os.path.basename(path))), None)
        if row and path in others:
            runtime.setdefault(row, set()).add(path)
    missing = set(others) - set().union(*runtime.values())
    if missing:
        fail(f"linked into Norvana.exe, but in no component: {', '.join(sorted(missing))}")
    for (name, package, _, licence, description), paths in runtime.items():
        package, package_version, arch = installed([package])[0]
        found.append(with_evidence(component(name, package_version.split("-")[0], licence, description,
                                             deb_purl(package, package_version, arch)), paths))
    return bom(open(exe, "rb").read(), version, "Norvana.exe for 64-bit Windows", found)


def deb(package):
    field = lambda name: run("dpkg-deb", "-f", package, name).decode().strip()
    data = tarfile.open(fileobj=io.BytesIO(run("dpkg-deb", "--fsys-tarfile", package)))
    program = data.extractfile("./usr/bin/norvana").read()
    arch = field("Architecture")
    found = []
    for relation in field("Depends").split(","):
        names = [re.sub(r"\(.*\)", "", name).strip() for name in relation.split("|")]
        # A virtual package (Qt's private ABI, say) stands for the package that provides it.
        present = [row for row in installed(names) or sum(map(providers, names), []) if row[2] in (arch, "all")]
        if not present:
            fail(f"{relation.strip()}, in the package's Depends, is not installed here")
        found += [component(name, version, None, f"Debian package {name}", deb_purl(name, version, row_arch))
                  for name, version, row_arch in present if name not in (known["name"] for known in found)]
    return bom(program, field("Version"), f"/usr/bin/norvana of {os.path.basename(package)}", found)


def bom(program, version, description, components):
    norvana = {"type": "application", "bom-ref": "norvana", "name": "Norvana", "version": version,
               "description": description, "hashes": [{"alg": "SHA-256", "content": hashlib.sha256(program).hexdigest()}],
               "licenses": [{"license": {"id": "MIT"}}], "purl": f"pkg:generic/norvana@{quote(version)}"}
    metadata = {"component": norvana}
    epoch = os.environ.get("SOURCE_DATE_EPOCH") or subprocess.run(
        ["git", "-C", ROOT, "log", "-1", "--format=%ct"], capture_output=True, text=True).stdout.strip()
    if epoch:
        metadata["timestamp"] = datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc).strftime(
            "%Y-%m-%dT%H:%M:%SZ")
    document = {"bomFormat": "CycloneDX", "specVersion": "1.5", "version": 1, "metadata": metadata,
                "components": sorted(components, key=lambda c: c["bom-ref"])}
    content = json.dumps(document, sort_keys=True, ensure_ascii=False)
    document["serialNumber"] = f"urn:uuid:{uuid.uuid5(uuid.NAMESPACE_URL, content)}"
    return document


if __name__ == "__main__":
    kind = sys.argv[1] if len(sys.argv) > 1 else None
    if {"windows": 4, "deb": 1}.get(kind) != len(sys.argv) - 2:
        sys.exit(__doc__)
    print(json.dumps({"windows": windows, "deb": deb}[kind](*sys.argv[2:]), indent=2, ensure_ascii=False))
