#!/usr/bin/env python3
"""Fails when an include runs against the layers: program -> fw -> core.

core/ includes no windows.h and nothing outside core/; fw/ includes only fw/ and core/. Among
the program folders, includes run downward (app, then view, then list, grid and options, then
store); app/mapp.h, the home of the global papp, and the resource ids in res/ may be included
from any program folder.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
RANK = {"core": 0, "fw": 1, "store": 2, "list": 3, "grid": 3, "options": 3, "view": 4, "app": 5}
ANYWHERE_IN_PROGRAM = {"app/mapp.h"}
WINDOWS_HEADERS = re.compile(r"^(windows|winuser|wingdi|winbase|winreg|commctrl|commdlg|shellapi|shlobj|objbase|ole2|mmsystem|winhttp|wincred|xmllite)\.h$", re.I)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def violation(folder, quoted, target):
    if folder == "core":
        if not quoted:
            return "a Windows header in portable code" if WINDOWS_HEADERS.match(target) else None
        return None if target.startswith("core/") else "portable code includes " + target.split("/")[0] + "/"
    if not quoted:
        return None
    top = target.split("/")[0]
    if folder == "fw":
        return None if top in ("fw", "core") else "the framework includes a program header"
    if top == "res" or target in ANYWHERE_IN_PROGRAM or top not in RANK:
        return None
    if top != folder and RANK[top] >= RANK[folder]:
        return "runs up the layers"
    return None


def main():
    found = []
    for folder in RANK:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                why = violation(folder, m.group(1) == '"', m.group(2))
                if why:
                    found.append(f"{path.relative_to(ROOT)}:{number}: {m.group(2)}: {why}")
    for line in found:
        print(line)
    print(f"layer check: {len(found)} include(s) against the layers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
