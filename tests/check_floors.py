#!/usr/bin/env python3
"""Holds every folder's includes to floors.txt; prints each include that breaks it."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
NOT_CODE = {"tests", "help", "packaging", "docs", "samples", "scripts", "build"}
QT = re.compile(r'^\s*#\s*include\s*<Q', re.M)
GDAL = re.compile(r'^\s*#\s*include\s*<(gdal|ogr|cpl_|ogrsf_)', re.M)
OURS = re.compile(r'^\s*#\s*include\s*"([^"/]+)/([^"]+)"', re.M)


def read_table():
    floors, allowed = {}, {}
    for line in (root / "floors.txt").read_text().splitlines():
        words = line.split("#", 1)[0].split()
        if words:
            floors[words[0]] = int(words[1])
            allowed[words[0]] = set(words[2:]) | {words[0]}
    return floors, allowed


def widget_stems(folder):
    """The files a folder builds into the widget library, by name without extension."""
    cmake = folder / "CMakeLists.txt"
    if not cmake.exists():
        return set()
    text = cmake.read_text()
    stems = set()
    for block in re.findall(r'target_sources\(\s*velkor_ui\b([^)]*)\)', text):
        stems |= {pathlib.Path(w).stem for w in block.split() if w.endswith(".cpp")}
    return stems


def code_folders():
    def is_code(d):
        return (d.is_dir() and d.name not in NOT_CODE and not d.name.startswith((".", "build"))
                and any(p.suffix in (".h", ".cpp") for p in d.rglob("*")))
    return sorted(d.name for d in root.iterdir() if is_code(d))


def main():
    floors, allowed = read_table()
    faults = []
    folders = code_folders()
    widgets = {f: widget_stems(root / f) for f in folders}

    def unit_of(folder, path):
        if floors.get(folder, 99) <= 6 and path.stem in widgets.get(folder, set()):
            return "widgets"
        return folder

    for folder in folders:
        if folder not in floors:
            faults.append(f"{folder}/: no row in floors.txt")
            continue
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            text = path.read_text(errors="replace")
            rel = path.relative_to(root)
            unit = unit_of(folder, path)
            if floors.get(unit, 99) <= 6 and QT.search(text):
                faults.append(f"{rel}: includes Qt below the widget floor")
            if folder != "geo" and floors.get(unit, 99) <= 6 and GDAL.search(text):
                faults.append(f"{rel}: includes GDAL outside geo/")
            for target_folder, name in OURS.findall(text):
                target = unit_of(target_folder, pathlib.Path(name))
                if target not in allowed[unit]:
                    faults.append(f"{rel} ({unit}, floor {floors[unit]}) includes "
                                  f"{target_folder}/{name} ({target})")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
