"""The HTML pages tools/dist.py renders from docs/*.md for the package: whole UTF-8 documents that
declare their charset and load nothing from elsewhere, an anchor on the reference's heading of
every member of the IDL, a table of contents that reaches each member, and every link between
the pages (and into them) pointing at a page and an anchor that exist. Runs without Wine, with
Debian's python3 and its python3-markdown."""

import re
import sys
import unittest
from html.parser import HTMLParser
from pathlib import Path

ROOT = Path(__file__).absolute().parents[2]
sys.path.insert(0, str(ROOT / "tools"))
sys.path.insert(0, str(Path(__file__).absolute().parent))

import dist  # noqa: E402
from test_docs import parse_idl  # noqa: E402


class PageFacts(HTMLParser):
    """What a page holds: ids, links, headings with their ids, charset, resources it loads."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids: set[str] = set()
        self.links: list[str] = []
        self.loads: list[str] = []
        self.charset: str | None = None
        self.headings: dict[str, str] = {}  # id -> text of h1..h6
        self.toc_links: list[str] = []
        self._heading: tuple[str, list[str]] | None = None
        self._in_toc = 0

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        if tag == "meta" and "charset" in a:
            self.charset = a["charset"]
        if tag == "a" and "href" in a:
            self.links.append(a["href"])
            if self._in_toc:
                self.toc_links.append(a["href"])
        if "src" in a or (tag == "link" and "href" in a):
            self.loads.append(a.get("src") or a["href"])
        if tag == "nav" and "toc" in (a.get("class") or "").split():
            self._in_toc += 1
        if re.fullmatch(r"h[1-6]", tag):
            self._heading = (a.get("id", ""), [])

    def handle_endtag(self, tag):
        if tag == "nav" and self._in_toc:
            self._in_toc -= 1
        if re.fullmatch(r"h[1-6]", tag) and self._heading:
            self.headings[self._heading[0]] = "".join(self._heading[1]).strip()
            self._heading = None

    def handle_data(self, data):
        if self._heading:
            self._heading[1].append(data)


def read_page(data: bytes) -> PageFacts:
    facts = PageFacts()
    facts.feed(data.decode("utf-8"))  # raises on anything but UTF-8
    facts.close()
    return facts


def broken_links(pages: dict[str, PageFacts], package_folders: set[str]) -> list[str]:
    """Every link of every page that does not lead to an existing page and anchor: 'page: href'.
    Links out of docs\\ may only name a folder of the package ("../examples/"); a link with a
    scheme or to another host does not work offline and counts as broken."""
    bad = []
    for name, facts in sorted(pages.items()):
        for href in facts.links:
            target, _, fragment = href.partition("#")
            if re.match(r"[a-z][a-z0-9+.-]*:|//", target, re.I):
                bad.append(f"{name}: {href} (not offline)")
            elif target.startswith("../"):
                if target.rstrip("/")[3:] not in package_folders or fragment:
                    bad.append(f"{name}: {href} (no such folder in the package)")
            elif target and target not in pages:
                bad.append(f"{name}: {href} (no such page)")
            elif fragment and fragment not in pages[target or name].ids:
                bad.append(f"{name}: {href} (no such anchor)")
    return bad


class RenderedDocs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.raw = dict(dist.render_docs("1.2.3.4"))
        cls.pages = {name: read_page(data) for name, data in cls.raw.items()}
        cls.idl = parse_idl((ROOT / "server" / "Ombrisk.idl").read_text(encoding="utf-8"))

    def test_every_source_page_is_rendered(self):
        self.assertEqual(sorted(self.pages), sorted(Path(n).stem + ".html" for n in dist.DOCS))

    def test_whole_utf8_documents(self):
        for name, data in self.raw.items():
            with self.subTest(page=name):
                self.assertTrue(data.startswith(b"<!DOCTYPE html>"), "a standards-mode document")
                self.assertEqual((self.pages[name].charset or "").lower(), "utf-8", "declares its charset")
                self.assertEqual(self.pages[name].loads, [], "loads nothing: styles are inside")

    def test_non_ascii_text_survives(self):
        # The Syntax lines' middle dot and the title's ellipsis, as characters, not as entities
        # of a wrongly decoded source.
        self.assertIn("\u00b7", self.raw["reference.html"].decode("utf-8"))
        self.assertIn("How do I\u2026", self.raw["how-do-i.html"].decode("utf-8"))

    def test_every_member_has_its_anchor(self):
        ref = self.pages["reference.html"]
        for name in sorted(self.idl):
            with self.subTest(member=name):
                self.assertEqual(ref.headings.get(name.lower()), name, "a heading with the member's anchor")
                self.assertIn(f"#{name.lower()}", ref.toc_links, "reached from the table of contents")

    def test_links_resolve(self):
        folders = {p.name for p in ROOT.iterdir() if p.is_dir()} & {"examples"}
        self.assertEqual(broken_links(self.pages, folders), [])
        self.assertTrue(any(".html#" in h for h in self.pages["how-do-i.html"].links), "pages link into each other")

    def test_index_lists_every_page(self):
        # Not only the navigation bar, which every page has: the contents page's own text.
        listed = set(re.findall(r"\]\(([\w-]+\.md)\)", (ROOT / "docs" / "index.md").read_text(encoding="utf-8")))
        self.assertEqual(sorted(set(dist.DOCS) - listed - {"index.md"}), [], "pages the contents page does not list")

    def test_lists_are_lists(self):
        # Python-Markdown needs a blank line before a list; without it the items run on as one
        # paragraph with "- " inside.
        for name, data in self.raw.items():
            with self.subTest(page=name):
                paragraphs = re.findall(r"<p>(.*?)</p>", data.decode("utf-8"), re.S)
                self.assertEqual([p[:60] for p in paragraphs if re.search(r"\n(- |\d+\. )", p)], [],
                                 "list items inside a paragraph")

    def test_markdown_links_point_at_html(self):
        for name, facts in self.pages.items():
            with self.subTest(page=name):
                self.assertEqual([h for h in facts.links if ".md" in h], [], "no link to a Markdown source")


class PackagedMarkdown(unittest.TestCase):
    def test_markdown_gets_a_byte_order_mark(self):
        # Without it older Notepad reads the UTF-8 of "\u00b7" as two ANSI characters.
        source = (ROOT / "docs" / "reference.md").read_bytes()
        data = dist.packaged(".md", source, "1.2.3.4")
        self.assertTrue(data.startswith(dist.UTF8_BOM))
        self.assertEqual(data.count(dist.UTF8_BOM), 1)
        self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), "CR LF line ends")
        self.assertEqual(data[3:].decode("utf-8").replace("\r\n", "\n"), source.decode("utf-8"))
        self.assertFalse(dist.packaged(".txt", b"Ombrisk @VERSION@\n", "1.2.3.4").startswith(dist.UTF8_BOM))


class LinkChecker(unittest.TestCase):
    """The checker above, on pages where a slip would let a broken link through."""

    def test_broken_links_are_found(self):
        a = read_page(b'<meta charset="utf-8"><h2 id="x">X</h2><a href="#x">ok</a><a href="#y">no anchor</a>'
                      b'<a href="b.html#z">ok</a><a href="b.html#x">no anchor there</a><a href="c.html">no page</a>'
                      b'<a href="http://example.invalid/">online</a><a href="../examples/">ok</a>'
                      b'<a href="../build/">not packaged</a>')
        b = read_page(b'<h3 id="z">Z</h3><a href="a.html">ok</a>')
        bad = broken_links({"a.html": a, "b.html": b}, {"examples"})
        self.assertEqual(bad, ["a.html: #y (no such anchor)", "a.html: b.html#x (no such anchor)",
                               "a.html: c.html (no such page)", "a.html: http://example.invalid/ (not offline)",
                               "a.html: ../build/ (no such folder in the package)"])
        self.assertEqual(a.headings, {"x": "X"})

    def test_non_utf8_is_refused(self):
        with self.assertRaises(UnicodeDecodeError):
            read_page("<p>caf\u00e9</p>".encode("cp1252"))


if __name__ == "__main__":
    unittest.main()
