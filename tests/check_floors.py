#!/usr/bin/env python3
"""Holds floors.txt to the code: every folder with code has a row, each row names exactly
the floors its code includes, a floor links only floors below it (or beside it, on a row above), and the outside
libraries are included only where their row names them. (The build itself refuses an
include of a floor the row does not link; this keeps the table from allowing more.)"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
NOT_CODE = {"tests", "help", "packaging", "docs", "samples", "scripts", "cmake"}
SOURCE = (".h", ".hpp", ".cpp", ".cc", ".cxx")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)
OUTSIDE = {
    "Qt": re.compile(r"^Q[A-Za-z]*$|^Qt[A-Za-z]+/"),
    "GDAL": re.compile(r"^(gdal|ogr|cpl_)"),
    "json": re.compile(r"^nlohmann/"),
    "CLI11": re.compile(r"^CLI/"),
    "kissfft": re.compile(r"^kissfft/"),
    "benchmark": re.compile(r"^benchmark/"),
}


def read_table():
    rows = {}
    for number, line in enumerate((root / "floors.txt").read_text().splitlines(), 1):
        words = line.split("#", 1)[0].split()
        if not words:
            continue
        links, outside = words[2:], []
        if "|" in links:
            at = links.index("|")
            links, outside = links[:at], links[at + 1:]
        rows[words[0]] = {"floor": int(words[1]), "links": set(links),
                          "outside": {name.rstrip("?") for name in outside}, "line": number,
                          "order": len(rows)}
    return rows


def code_folders():
    """Folders holding code directly, by their path from the root (widgets/day, ...)."""
    found = set()
    for path in root.rglob("*"):
        rel = path.relative_to(root)
        if (path.suffix in SOURCE and rel.parts[0] not in NOT_CODE
                and not rel.parts[0].startswith((".", "build"))):
            found.add(str(rel.parent))
    return found


def floor_of(include, rows):
    """The row an include of ours names: the longest folder it starts with."""
    best = None
    for folder in rows:
        if include.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def check(rows):
    faults = []
    folders = code_folders()
    for folder in sorted(folders - set(rows)):
        faults.append(f"{folder}/: no row in floors.txt")
    rooms = {folder: {r for r in rows if r.startswith(folder + "/")} for folder in rows}
    for folder in sorted(set(rows) - folders):
        if rooms[folder] and rows[folder]["links"] == rooms[folder]:
            continue  # a folder of rooms: its row links exactly its rooms
        faults.append(f"floors.txt line {rows[folder]['line']}: no code in {folder}/"
                      + (" and its row does not link exactly its rooms" if rooms[folder] else ""))
    for folder, row in sorted(rows.items()):
        for link in sorted(row["links"]):
            if link not in rows:
                faults.append(f"{folder}: links {link}, which has no row")
            elif (rows[link]["floor"] > row["floor"] or
                  (rows[link]["floor"] == row["floor"] and rows[link]["order"] >= row["order"])):
                faults.append(f"{folder} (floor {row['floor']}) links {link} "
                              f"(floor {rows[link]['floor']}), neither below it nor beside it "
                              f"on a row above")
    used = {folder: set() for folder in rows}
    outside_used = {folder: set() for folder in rows}
    for folder in sorted(folders & set(rows)):
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in SOURCE:
                continue
            rel = path.relative_to(root)
            for include in INCLUDE.findall(path.read_text(errors="replace")):
                if ".." in pathlib.PurePosixPath(include).parts:
                    faults.append(f"{rel}: includes {include}, past its include root")
                    continue
                target = floor_of(include, rows)
                if target is not None and target != folder:
                    used[folder].add(target)
                    if target not in rows[folder]["links"]:
                        faults.append(f"{rel} ({folder}) includes {include}: "
                                      f"floors.txt does not let {folder} use {target}")
                for name, pattern in OUTSIDE.items():
                    if pattern.search(include):
                        outside_used[folder].add(name)
                        if name not in rows[folder]["outside"]:
                            faults.append(f"{rel} ({folder}) includes {include}: "
                                          f"floors.txt does not let {folder} use {name}")
    for folder, row in sorted(rows.items()):
        if folder not in folders:
            continue  # a folder of rooms includes nothing itself
        for link in sorted(row["links"] - used[folder]):
            faults.append(f"floors.txt line {row['line']}: {folder} links {link} "
                          f"but includes nothing of it")
        for name in sorted((row["outside"] & set(OUTSIDE)) - outside_used[folder]):
            faults.append(f"floors.txt line {row['line']}: {folder} uses {name} "
                          f"but includes nothing of it")
    return faults


def main():
    faults = check(read_table())
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
