#!/usr/bin/env python3
"""Checks that every link in README.md and docs/*.md resolves inside the
repository: a relative path to a file that exists under the repository's root
and, with a #fragment, to a heading of that page. A link with a scheme
(https:, mailto:, ...) or an absolute path leads outside and fails too.

    check_doc_links.py REPOSITORY_ROOT
"""
import pathlib
import re
import sys

INLINE_LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE_DEFINITION = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s|$)")
AUTOLINK_OR_URL = re.compile(r"<([a-zA-Z][a-zA-Z0-9+.-]*:[^>\s]+)>|\b(https?://\S+)")
SCHEME = re.compile(r"^[a-zA-Z][a-zA-Z0-9+.-]*:")
INLINE_CODE = re.compile(r"(`+).*?\1")


def prose_lines(path):
    """The page's lines outside fenced code blocks, inline code removed."""
    fenced = False
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if line.lstrip().startswith("```"):
            fenced = not fenced
            continue
        if not fenced:
            yield number, INLINE_CODE.sub("", line), line


def heading_anchors(path):
    """The anchors a Markdown renderer gives the page's headings: lower case,
    punctuation dropped, spaces as hyphens, repeats numbered."""
    anchors, seen = set(), {}
    for _, _, line in prose_lines(path):
        match = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line)
        if not match:
            continue
        slug = re.sub(r"[^\w\- ]", "", match.group(1).lower()).replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        anchors.add(slug if count == 0 else f"{slug}-{count}")
    return anchors


def link_targets(path):
    for number, prose, _ in prose_lines(path):
        for match in INLINE_LINK.finditer(prose):
            yield number, match.group(1)
        definition = REFERENCE_DEFINITION.match(prose)
        if definition:
            yield number, definition.group(1)
        for match in AUTOLINK_OR_URL.finditer(INLINE_LINK.sub("", prose)):
            yield number, match.group(1) or match.group(2)


def problem(root, page, target):
    """Why target, linked from page, does not resolve inside root; None if it does."""
    if SCHEME.match(target) or target.startswith("/"):
        return "leads outside the repository"
    file_part, _, fragment = target.partition("#")
    linked = (page.parent / file_part).resolve() if file_part else page
    if root not in linked.parents and linked != root:
        return "leads outside the repository"
    if not linked.exists():
        return "names no file in the repository"
    if fragment and (linked.suffix != ".md" or fragment not in heading_anchors(linked)):
        return f"names no heading '#{fragment}' in {linked.relative_to(root)}"
    return None


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    pages = [root / "README.md", *sorted((root / "docs").glob("*.md"))]
    checked, broken = 0, 0
    for page in pages:
        for number, target in link_targets(page):
            checked += 1
            why = problem(root, page, target)
            if why:
                broken += 1
                print(f"{page.relative_to(root)}:{number}: {target}: {why}")
    print(f"{checked} links in {len(pages)} pages, {broken} broken")
    return 1 if broken or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
