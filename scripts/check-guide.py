#!/usr/bin/env python3
"""Checks that the getting-started guide shows the examples as they are, and
that the README's and the docs pages' links lead somewhere.

Every code block of docs/getting-started.md that follows a line
`<!-- from: PATH -->` must appear, line for line, in that file of the
repository, so the guide cannot drift from the code the build compiles.
Every link `[text](target)` of README.md and docs/*.md outside code, other
than to a web address, must name an existing file, and its `#anchor`, if
any, a heading of that file: its label `{#anchor}` or the anchor GitHub
makes of its words (docs pages link to other pages whole: the reference's
HTML has no way to a heading of another page). Exits 1 and names each block and link that does not."""
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

def anchors(path):
    """The anchors of a Markdown file's headings: labels and GitHub's."""
    found = set()
    for heading in re.findall(r"^#+ (.*)$", path.read_text(), re.M):
        label = re.search(r"\{#([\w-]+)\}", heading)
        if label:
            found.add(label.group(1))
        words = re.sub(r"\{#[\w-]+\}", "", heading).strip().lower()
        found.add(re.sub(r"[^\w\- ]", "", words).replace(" ", "-"))
    return found

def broken_links():
    """Yields a line for each link of the README and the docs that leads nowhere."""
    for page in [ROOT / "README.md"] + sorted((ROOT / "docs").glob("*.md")):
        text = re.sub(r"^```.*?^```", "", page.read_text(), flags=re.M | re.S)
        text = re.sub(r"`[^`]*`", "", text)
        for target in re.findall(r"\]\(([^)\s]+)\)", text):
            if re.match(r"[a-z]+:", target):
                continue
            file, _, anchor = target.partition("#")
            path = (page.parent / file) if file else page
            if not path.is_file():
                yield f"{page.name}: {target}: no such file"
            elif anchor and (path.suffix != ".md" or anchor not in anchors(path)):
                yield f"{page.name}: {target}: no such heading"
            elif anchor and file and page.parent.name == "docs":
                # Doxygen turns a link to a page into the page's own, not a heading's.
                yield f"{page.name}: {target}: the reference cannot link to a heading of another page"

def main():
    broken = list(broken_links())
    for line in broken:
        print(line)
    failures = 0
    count = 0
    for source, code, line in blocks(GUIDE.read_text()):
        count += 1
        path = ROOT / source
        if not path.is_file() or code not in path.read_text():
            print(f"{GUIDE.name}:{line}: the block is not in {source} as shown")
            failures += 1
    print(f"{count} blocks checked, {failures} out of date; {len(broken)} broken links")
    return 1 if failures or broken or count == 0 else 0

sys.exit(main())
