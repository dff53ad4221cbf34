#!/usr/bin/python3
"""Reads what is inside Norvana.exe with pefile, wrestool and icotool: a
64-bit GUI program that imports only DLLs that come with Windows, its
Italian version information with its maker and copyright, its DPI-aware
manifest and its icon group (16 to 48 pixels in 16 colours, 256 pixels in
full colour). Prints every fault and exits 1 on any.
    check_winexe.py NORVANA.EXE VERSION MAKER"""
import re
import subprocess
import sys
import tempfile

import pefile

exe, version, maker = sys.argv[1], sys.argv[2], sys.argv[3]
faults = []


def expect(what, got, wanted):
    if got != wanted:
        faults.append(f"{what}: {got!r}, expected {wanted!r}")


pe = pefile.PE(exe)
expect("machine", pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"])
expect("subsystem", pe.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])

# Windows' own DLLs; the C runtime msvcrt.dll comes with every Windows too.
system_dlls = {"advapi32", "comdlg32", "d3d11", "d3d9", "dwmapi", "dwrite", "dxgi", "gdi32", "imm32",
               "kernel32", "msvcrt", "netapi32", "ole32", "oleaut32", "setupapi", "shell32", "shlwapi",
               "user32", "userenv", "uxtheme", "version", "winmm", "ws2_32", "wtsapi32", "authz", "mpr",
               "comctl32", "crypt32", "bcrypt", "cfgmgr32", "secur32", "rpcrt4", "ntdll", "shcore"}
imports = [entry.dll.decode().lower().removesuffix(".dll") for entry in pe.DIRECTORY_ENTRY_IMPORT]
for dll in imports:
    if dll not in system_dlls and not dll.startswith("api-ms-win-"):
        faults.append(f"imports {dll}.dll, which does not come with Windows")

strings = {}
translations = []
for info in pe.FileInfo[0]:
    for table in getattr(info, "StringTable", []):
        expect("string table", table.LangID, b"041004B0")
        strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for var in getattr(info, "Var", []):
        translations += [var.entry.get(b"Translation", var.entry.get("Translation"))]
for name, wanted in [("FileVersion", version), ("ProductVersion", version), ("ProductName", "Norvana"),
                     ("InternalName", "Norvana"), ("OriginalFilename", "Norvana.exe"), ("CompanyName", maker)]:
    expect(name, strings.get(name), wanted)
if not re.fullmatch(r"Copyright \(c\) 20\d\d " + re.escape(maker), strings.get("LegalCopyright", "")):
    faults.append(f"LegalCopyright: {strings.get('LegalCopyright')!r}, expected the year and {maker!r}")
expect("translation", translations, ["0x0410 0x04b0"])
expect("file type", pe.VS_FIXEDFILEINFO[0].FileType, 1)  # VFT_APP

manifest = b""
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if kind.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]:
        data = kind.directory.entries[0].directory.entries[0].data.struct
        manifest = pe.get_data(data.OffsetToData, data.Size)
if not re.search(rb"<dpiAwareness[^>]*>\s*PerMonitorV2", manifest):
    faults.append("the manifest declares no per-monitor DPI awareness")

with tempfile.TemporaryDirectory() as scratch:
    subprocess.run(["wrestool", "-x", "--type=14", "-o", scratch, exe], check=True)
    listing = subprocess.run(f"icotool -l {scratch}/*", shell=True, check=True, capture_output=True, text=True)
icons = sorted(re.findall(r"--width=(\d+) --height=(\d+) --bit-depth=(\d+) --palette-size=(\d+)", listing.stdout))
expect("icons (width, height, bits, colours)", icons,
       [("16", "16", "4", "16"), ("24", "24", "4", "16"), ("256", "256", "32", "0"), ("32", "32", "4", "16"),
        ("48", "48", "4", "16")])

print("\n".join(faults) or f"{exe}: as expected")
sys.exit(1 if faults else 0)
