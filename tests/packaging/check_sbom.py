#!/usr/bin/python3
"""Checks a bill of materials of scripts/sbom.py: valid against CycloneDX 1.5's
JSON schema (CycloneDX's npm package, fetched once into ~/.cache/norvana,
pinned, read offline), Norvana VERSION with PROGRAM's SHA-256, true to what
went in: the link, its Debian packages and Qt's build (QT_PREFIX/../build),
or the .deb's Depends as installed.
    check_sbom.py windows|deb SBOM PROGRAM VERSION LINK_MAP QT_PREFIX|PACKAGE.deb"""
import base64, hashlib, json, os, pathlib, re, subprocess, sys, tarfile
from urllib.parse import unquote
from jsonschema import Draft7Validator, FormatChecker, RefResolver

PACKAGE = "https://registry.npmjs.org/@cyclonedx/cyclonedx-library/-/cyclonedx-library-10.3.0.tgz"
SHA512 = "RIT28sp1U0PCHaaeF3yNRwk6Jig/XJ8UsYAVOMYaHQ+0VVOvsjcp0PTWQFLUqJFF8XMud+Kdq6G+wtDAh+QJFA=="
out = lambda *command: subprocess.run(command, capture_output=True, text=True).stdout


def check(ok, message):
    ok or sys.exit(f"FAIL: {message}")


def validate(bom):
    tarball = pathlib.Path(os.environ.get("XDG_CACHE_HOME") or pathlib.Path.home() / ".cache", "norvana",
                           os.path.basename(PACKAGE))
    if not tarball.exists():
        tarball.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["curl", "-fsSL", "-o", f"{tarball}.part", PACKAGE], check=True)
        os.replace(f"{tarball}.part", tarball)
    check(base64.b64encode(hashlib.sha512(tarball.read_bytes()).digest()).decode() == SHA512, f"{tarball}: not pinned")
    with tarfile.open(tarball) as package:  # the bom schema first; its $refs name the others by file
        schemas = {f"http://cyclonedx.org/schema/{name}.SNAPSHOT.schema.json": json.load(
            package.extractfile(f"package/res/schema/{name}.SNAPSHOT.schema.json")) for name in ["bom-1.5", "spdx", "jsf-0.82"]}
    offline = lambda uri: check(False, f"the schema refers to {uri}, outside the package")
    schema = next(iter(schemas.values()))
    resolver = RefResolver.from_schema(schema, store=schemas, handlers={"http": offline, "https": offline})
    for error in Draft7Validator(schema, resolver=resolver, format_checker=FormatChecker()).iter_errors(bom):
        check(False, f"not CycloneDX 1.5: {'/'.join(map(str, error.absolute_path))}: {error.message}")
    print(f"valid against CycloneDX 1.5's JSON schema ({os.path.basename(PACKAGE)})")


def windows(components, link_map, qt):
    qt, text = os.path.realpath(qt), open(link_map, errors="replace").read()
    taken = {(os.path.realpath(archive), member) for archive, member in
             re.findall(r"^(/\S+?\.a)\(([^)]+)\)", text.partition("Discarded input sections")[0], re.M)}
    linked = {a for a, _ in taken} | {os.path.realpath(o) for o in re.findall(r"^LOAD (/\S+\.o(?:bj)?)$", text, re.M)}
    place = {os.path.relpath(path, qt) if path.startswith(qt + "/") else path for path in linked}
    claimed = set()
    for name, component in components.items():
        where = {occurrence["location"] for occurrence in component.get("evidence", {}).get("occurrences", [])}
        check(where and where <= place, f"{name}: {sorted(where)} not all in the link")
        claimed |= where
        deb = re.fullmatch(r"pkg:deb/debian/([^@]+)@([^?]+)\?arch=(?!source).*", component.get("purl", ""))
        check(not deb or {line.split(":")[0] for line in out("dpkg-query", "-S", *where).splitlines()} == {deb[1]}
              and out("dpkg-query", "-W", "-f=${Version}", deb[1]) == unquote(deb[2]), f"{name}: not {deb and deb[0]}")
    # Qt's own libraries and plugins by their names; those it bundles below.
    unnamed = {path for path in place if re.fullmatch(r"(lib|plugins/\w+)/lib(?!Qt6Bundled)\w+\.a", path)
               and os.path.basename(path)[3:-2] not in components}
    check(place <= claimed and not unnamed, f"linked, but no component's: {sorted(place - claimed | unnamed)}")
    print(f"{len(place)} files of the link, each a component's, from the package its purl names")

    # The libraries bundled in Qt's source whose files the linked members of
    # Qt's archives compiled, by the dependencies Ninja recorded.
    build = os.path.join(os.path.dirname(qt), "build")
    ninja = lambda *args: out("ninja", "-C", build, "-t", *args)
    objects = [obj for archive in {a for a, _ in taken if a.startswith(qt + "/")}
               for obj in ninja("query", os.path.relpath(archive, qt)).split()
               if obj.endswith(".obj") and (archive, os.path.basename(obj)) in taken]
    used = {word for word in ninja("deps", *objects).split() if word.startswith("/")}
    used |= {str(folder) for path in used for folder in pathlib.Path(path).parents}
    source = re.search(r"^CMAKE_HOME_DIRECTORY:INTERNAL=(.*)$", open(f"{build}/CMakeCache.txt").read(), re.M)[1]
    declared, bundled = set(), set()
    for attribution in pathlib.Path(source).glob("src/**/qt_attribution.json"):
        entries = json.loads(attribution.read_text(), strict=False)
        for entry in entries if isinstance(entries, list) else [entries]:
            declared.add(entry["Id"])
            if any(str((attribution.parent / name).resolve()) in used
                   for name in entry.get("Files", "").split() or [entry.get("Path", "")]):
                bundled.add(entry["Id"])
                listed, licence = components.get(entry["Id"], {}), entry.get("LicenseId", entry["License"]).lower()
                check(listed.get("version") == entry.get("Version") and licence in json.dumps(listed.get("licenses")).lower(),
                      f"{entry['Id']}: linked, but not listed as version {entry.get('Version')}, licence {licence}")
    check(declared & set(components) <= bundled, f"listed, but not linked: {sorted(declared & set(components) - bundled)}")
    print(f"{len(objects)} objects of Qt linked, compiled from {len(bundled)} libraries bundled in Qt: "
          "each listed, and no other")


def deb(components, package):
    names = re.sub(r"\([^)]*\)|[,|]", " ", out("dpkg-deb", "-f", package, "Depends")).split()
    # Installed packages only: a virtual one (Qt's private ABI) is its provider, itself in Depends.
    depends = {line[3:] for line in out("dpkg-query", "-W", "-f=${db:Status-Abbrev}pkg:deb/debian/${Package}@${Version}\n",
                                        *names).splitlines() if line.startswith("ii ")}
    listed = {unquote(component["purl"].split("?")[0]) for component in components.values()}
    check(listed == depends, f"Depends, as installed, and the components differ: {sorted(listed ^ depends)}")
    print(f"the components are the {len(depends)} packages of Depends, at their installed versions")


kind, sbom, program, version, *rest = sys.argv[1:]
bom = json.load(open(sbom))
validate(bom)
norvana = bom["metadata"]["component"]
check([norvana["name"], norvana["version"], norvana["hashes"][0]["content"]] == [
    "Norvana", version, hashlib.sha256(open(program, "rb").read()).hexdigest()], f"not Norvana {version}, {program}")
print(f"Norvana {version}, with the SHA-256 of {program}")
components = {c["name"]: c for top in bom["components"] for c in [top, *top.get("components", [])]}
{"windows": windows, "deb": deb}[kind](components, *rest)
