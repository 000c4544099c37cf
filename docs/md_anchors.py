"""Doxygen input filter for the Markdown pages.

Pages link to their own sections the way a code host renders them,
[Polygons](#polygons), an anchor derived from the heading text. Doxygen makes
no such anchors, so this filter appends {#anchor} to every heading that some
link in the same file targets. Lines are neither added nor removed.
"""

import re
import sys


def slug(title):
    title = re.sub(r"[^\w\- ]", "", title.strip().lower())
    return title.replace(" ", "-")


def main(path):
    with open(path, encoding="utf-8") as page:
        lines = page.read().split("\n")
    targets = set(re.findall(r"\]\(#([\w\-]+)\)", "\n".join(lines)))
    heading = re.compile(r"^(#{2,6})\s+(.*?)\s*$")
    for number, line in enumerate(lines):
        match = heading.match(line)
        if match and slug(match.group(2)) in targets:
            lines[number] = f"{line.rstrip()} {{#{slug(match.group(2))}}}"
    sys.stdout.write("\n".join(lines))


if __name__ == "__main__":
    main(sys.argv[1])
