#!/usr/bin/env python3
"""Checks that the getting-started guide shows the examples as they are.

Every code block of docs/getting-started.md that follows a line
`<!-- from: PATH -->` must appear, line for line, in that file of the
repository, so the guide cannot drift from the code the build compiles.
Exits 1 and names each block that does not."""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
GUIDE = ROOT / "docs" / "getting-started.md"

def blocks(text):
    """Yields (source path, code, guide line) for each marked code block."""
    lines = text.split("\n")
    source = None
    i = 0
    while i < len(lines):
        mark = re.match(r"<!-- from: (\S+) -->", lines[i])
        if mark:
            source = mark.group(1)
        elif lines[i].startswith("```") and source:
            end = lines.index("```", i + 1)
            yield source, "\n".join(lines[i + 1:end]), i + 1
            source = None
            i = end
        i += 1

def main():
    failures = 0
    count = 0
    for source, code, line in blocks(GUIDE.read_text()):
        count += 1
        path = ROOT / source
        if not path.is_file() or code not in path.read_text():
            print(f"{GUIDE.name}:{line}: the block is not in {source} as shown")
            failures += 1
    print(f"{count} blocks checked, {failures} out of date")
    return 1 if failures or count == 0 else 0

sys.exit(main())
