#!/usr/bin/env python3
"""Fails when an include or a link goes against the layers, lowest first:
shell/types <- */rules <- assets <- shell/services <- subsystem windows <- the shell's top.
A file may use its own layer or lower ones, a subsystem's windows no other subsystem's windows,
types and rules Qt Core alone; every include of our own names its folder, and every file
under src/ lies in a folder with a layer.

usage: check_layers.py SRC_DIR LIBRARY_LAYERS_FILE"""
import os
import re
import sys

SUBSYSTEMS = {"convert", "rates", "calculator", "about"}
RANK = {"types": 0, "rules": 1, "assets": 1.5, "services": 2, "windows": 3, "top": 4}
INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')
CORE_ONLY = {"types", "rules"}


def place(path):
    """(layer, subsystem) of a file or folder under src/."""
    parts = path.split("/")
    if parts[0] == "shell":
        if len(parts) > 2 and parts[1] in ("types", "services"):
            return parts[1], "shell"
        return "top", "shell"
    if parts[0] == "assets":
        return "assets", "assets"
    if parts[0] in SUBSYSTEMS:
        return ("rules" if len(parts) > 2 and parts[1] == "rules" else "windows"), parts[0]
    return None, None


def unknown(rel):
    """Why a file outside every known folder is wrong: no layer can be told for it."""
    folder = rel.split("/")[0] if "/" in rel else "."
    return f"the folder src/{folder}/ is in no layer; give it one in check_layers.py"


def against(mine, theirs):
    (my_layer, my_sub), (their_layer, their_sub) = mine, theirs
    if RANK[their_layer] > RANK[my_layer]:
        return True
    return my_layer == their_layer == "windows" and my_sub != their_sub


def check_includes(src):
    headers = set()
    sources = []
    for root, _, names in os.walk(src):
        for name in names:
            rel = os.path.relpath(os.path.join(root, name), src).replace(os.sep, "/")
            if name.endswith((".h", ".cpp")):
                headers.add(rel)
                sources.append(rel)
    wrong = []
    for rel in sorted(sources):
        mine = place(rel)
        if mine[0] is None:
            wrong.append(f"src/{rel}: {unknown(rel)}")
            continue
        with open(os.path.join(src, rel), encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                match = INCLUDE.match(line)
                if not match or match.group(1).endswith(".moc"):
                    continue
                inc = match.group(1)
                if inc not in headers:
                    wrong.append(f"src/{rel}:{number}: \"{inc}\" does not name its folder under src/")
                elif place(inc)[0] is None:
                    wrong.append(f"src/{rel}:{number} includes {inc}: {unknown(inc)}")
                elif against(mine, place(inc)):
                    wrong.append(f"src/{rel}:{number} ({mine[0]}) includes {inc} ({place(inc)[0]})")
    return wrong


def check_links(layers_file):
    libraries = {}
    with open(layers_file, encoding="utf-8") as f:
        for line in f:
            head, _, links = line.partition(":")
            name, layer = head.split()
            libraries[name] = (layer, links.split())
    wrong = []
    for name, (layer, links) in sorted(libraries.items()):
        subsystem = name.removeprefix("varnek_").split("_")[0]
        for link in links:
            if link.startswith("Qt6::") and layer in CORE_ONLY and link != "Qt6::Core":
                wrong.append(f"{name} ({layer}) links {link}; its layer is Qt Core only")
            if link not in libraries:
                continue
            their_layer = libraries[link][0]
            their_sub = link.removeprefix("varnek_").split("_")[0]
            if against((layer, subsystem), (their_layer, their_sub)):
                wrong.append(f"{name} ({layer}) links {link} ({their_layer})")
    if not libraries:
        wrong.append(f"{layers_file} names no library")
    return wrong


def main():
    src, layers_file = sys.argv[1:3]
    wrong = check_includes(src) + check_links(layers_file)
    for line in wrong:
        print(line)
    print(f"{len(wrong)} against the layers")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
