"""The user reference (docs/reference.md) against the type library source (server/Ombrisk.idl):
the same members, each with the parameters, optional markers and defaults of the IDL, a read
form for every property get, a write form for every let and nothing more, and an example in
both script languages; each member's labelled parts (Parameters with the IDL's names and types,
Returns, Errors, Without the file manager, Remarks, Related) and the member table at the top.
Runs without Wine."""

import re
import unittest
from pathlib import Path

ROOT = Path(__file__).absolute().parents[2]

# An attribute list (whose help string may hold brackets) and the declaration after it.
_MEMBER_RE = re.compile(r'\[(?P<attrs>id\((?:[^]"]|"[^"]*")*)\]\s*HRESULT\s+(?P<name>\w+)\((?P<params>[^;]*)\);', re.S)


def split_top(text: str) -> list[str]:
    """Splits at commas outside brackets and parentheses."""
    parts, depth, cur = [], 0, ""
    for ch in text:
        if ch in "([":
            depth += 1
        elif ch in ")]":
            depth -= 1
        if ch == "," and depth == 0:
            parts.append(cur.strip())
            cur = ""
        else:
            cur += ch
    if cur.strip():
        parts.append(cur.strip())
    return parts


def idl_default(value: str, type_name: str) -> str:
    """A defaultvalue as the reference writes it: Booleans as True/False, texts in quotes."""
    if type_name == "VARIANT_BOOL":
        return "True" if int(value) != 0 else "False"
    return value


# How the reference names the IDL's parameter types.
TYPE_WORDS = {"BSTR": "Text", "VARIANT_BOOL": "Boolean", "long": "Long", "VARIANT": "Variant"}

# The labelled parts of a member section, in this order, each once.
LABELS = ("Parameters", "Returns", "Errors", "Without the file manager", "Remarks", "Related")


def parse_idl(text: str) -> dict[str, dict]:
    """name -> {"kinds": {"get", "put", "call"}, "params": [(name, optional, default or None)]}.
    The parameters are those of the get or the method; a let's value is not listed."""
    members: dict[str, dict] = {}
    for m in _MEMBER_RE.finditer(text):
        attrs = m.group("attrs")
        kind = "get" if "propget" in attrs else "put" if "propput" in attrs else "call"
        entry = members.setdefault(m.group("name"), {"kinds": set(), "params": None, "types": None})
        entry["kinds"].add(kind)
        if kind == "put":
            continue
        params, types = [], []
        for p in split_top(m.group("params")):
            pm = re.match(r"\[(?P<flags>[^]]*)\]\s*(?P<type>\w+)\s*\*?\s*(?P<name>\w+)$", p)
            assert pm, f"cannot read parameter {p!r} of {m.group('name')}"
            flags = pm.group("flags")
            if "retval" in flags:
                continue
            default = re.search(r'defaultvalue\(("[^"]*"|[-\w]+)\)', flags)
            params.append((pm.group("name"), "optional" in flags,
                           idl_default(default.group(1), pm.group("type")) if default else None))
            types.append(TYPE_WORDS[pm.group("type")])
        entry["params"] = params
        entry["types"] = types
    return members


def parse_reference(text: str) -> dict[str, list[str]]:
    """Member heading ("### Name") -> the lines of its section, in order of appearance."""
    sections: dict[str, list[str]] = {}
    current = None
    for line in text.splitlines():
        if line.startswith("#"):
            m = re.match(r"### (\w+)\s*$", line)
            current = m.group(1) if m else None
            if current:
                if current in sections:
                    raise ValueError(f"### {current} appears twice")
                sections[current] = []
            continue
        if current:
            sections[current].append(line)
    return sections


def syntax_forms(name: str, lines: list[str]) -> list[tuple[str, list[tuple[str, bool, str | None]] | None]]:
    """The forms in the section's "Syntax:" line: ("put", None) for `h.Name = value`, otherwise
    ("call", params) for `[x =] h.Name(params)` or ("get", None) for `x = h.Name` without parentheses."""
    syntax = [l for l in lines if l.startswith("Syntax:")]
    if len(syntax) != 1:
        raise ValueError(f"{name}: one Syntax: line expected, found {len(syntax)}")
    forms = []
    for code in re.findall(r"`([^`]+)`", syntax[0]):
        m = re.search(r"\bh\.(\w+)(.*)$", code)
        if not m or m.group(1) != name:
            raise ValueError(f"{name}: {code!r} does not call h.{name}")
        rest = m.group(2).strip()
        if rest.startswith("="):
            forms.append(("put", None))
        elif rest == "":
            forms.append(("get", None))
        else:
            pm = re.fullmatch(r"\((.*)\)", rest)
            if not pm:
                raise ValueError(f"{name}: cannot read the arguments of {code!r}")
            params = []
            for p in split_top(pm.group(1)):
                om = re.fullmatch(r"\[(\w+)(?:\s*=\s*(.+))?\]", p)
                if om:
                    params.append((om.group(1), True, om.group(2)))
                elif re.fullmatch(r"\w+", p):
                    params.append((p, False, None))
                else:
                    raise ValueError(f"{name}: cannot read the argument {p!r}")
            forms.append(("call", params))
    return forms


def labelled_parts(name: str, lines: list[str]) -> dict[str, str]:
    """Label -> the text from "**Label:**" up to the next label or code fence. Raises ValueError
    when a label is missing, repeated or out of order."""
    found: list[tuple[str, list[str]]] = []
    in_code = False
    for line in lines:
        if line.startswith("```"):
            in_code = not in_code
            found.append(("", []))
            continue
        m = None if in_code else re.match(r"\*\*([A-Z][\w ]*):\*\*\s*(.*)$", line)
        if m:
            if m.group(1) not in LABELS:
                raise ValueError(f"{name}: unknown label {m.group(1)!r}")
            found.append((m.group(1), [m.group(2)]))
        elif found and not in_code:
            found[-1][1].append(line)
    labels = [label for label, _ in found if label]
    if labels != list(LABELS):
        raise ValueError(f"{name}: labels {labels}, expected {list(LABELS)}")
    return {label: "\n".join(text).strip() for label, text in found if label}


def parameter_items(text: str) -> list[tuple[str, str, bool]]:
    """The "- `Name` (Type[, optional]): ..." items of a Parameters part: (name, type, optional)."""
    items = []
    for line in text.splitlines():
        if not line.startswith("- "):
            continue
        m = re.match(r"- `(\w+)` \((\w+)(, optional)?\):", line)
        if not m:
            raise ValueError(f"cannot read the parameter item {line!r}")
        items.append((m.group(1), m.group(2), bool(m.group(3))))
    return items


def member_links(text: str) -> list[tuple[str, str]]:
    """(text, anchor) of every in-page link [Text](#anchor)."""
    return re.findall(r"\[(\w+)\]\(#([\w-]+)\)", text)


class ReferenceMatchesIdl(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.idl = parse_idl((ROOT / "server" / "Ombrisk.idl").read_text(encoding="utf-8"))
        cls.ref = parse_reference((ROOT / "docs" / "reference.md").read_text(encoding="utf-8"))

    def test_idl_is_read_completely(self):
        slots = sum(len(e["kinds"]) for e in self.idl.values())
        self.assertEqual(slots, 43, "43 slots in the interface")

    def test_same_members(self):
        self.assertEqual(sorted(set(self.ref) - set(self.idl)), [], "documented but not in the IDL")
        self.assertEqual(sorted(set(self.idl) - set(self.ref)), [], "in the IDL but not documented")

    def test_signatures(self):
        for name, entry in sorted(self.idl.items()):
            if name not in self.ref:
                continue
            with self.subTest(member=name):
                forms = syntax_forms(name, self.ref[name])
                kinds = {k for k, _ in forms}
                self.assertEqual("put" in kinds, "put" in entry["kinds"], "a write form exactly for a let")
                calls = [p for k, p in forms if k == "call"]
                reads = [k for k, _ in forms if k == "get"]
                if "call" in entry["kinds"]:
                    self.assertEqual(len(calls), 1, "a method is shown with its argument list")
                    self.assertEqual(calls[0], entry["params"], "arguments, optional markers and defaults")
                if "get" in entry["kinds"]:
                    if entry["params"]:
                        self.assertEqual(calls, [entry["params"]], "a get with arguments as a call")
                    else:
                        self.assertEqual((len(reads), calls), (1, []), "a plain read form")

    def test_examples_in_both_languages(self):
        for name, lines in sorted(self.ref.items()):
            with self.subTest(member=name):
                fences = [l.strip() for l in lines if l.startswith("```")]
                self.assertIn("```vbscript", fences)
                self.assertIn("```js", fences)
                body = "\n".join(lines)
                self.assertRegex(body, rf"\bh\.{name}\b", "the examples use the member")


    def test_member_parts(self):
        for name, entry in sorted(self.idl.items()):
            if name not in self.ref:
                continue
            with self.subTest(member=name):
                parts = labelled_parts(name, self.ref[name])
                for label in LABELS:
                    self.assertTrue(parts[label], f"{label} is empty")
                items = parameter_items(parts["Parameters"])
                expected = [(p[0], t, p[1]) for p, t in zip(entry["params"], entry["types"])]
                self.assertEqual(items, expected, "parameter names, types and optional markers of the IDL")
                if not expected:
                    self.assertRegex(parts["Parameters"], r"^none\b", "a member without parameters says so")
                related = member_links(parts["Related"])
                self.assertTrue(related, "at least one related member")
                for text, anchor in related:
                    self.assertIn(text, self.idl, f"related {text} is a member")
                    self.assertNotEqual(text, name, "a member is not related to itself")
                    self.assertEqual(anchor, text.lower(), f"the link to {text} goes to its heading")

    def test_member_table(self):
        text = (ROOT / "docs" / "reference.md").read_text(encoding="utf-8")
        rows = re.findall(r"^\| \[(\w+)\]\(#([\w-]+)\) \|", text, re.MULTILINE)
        self.assertEqual(sorted(n for n, _ in rows), sorted(self.idl), "each member once in the table")
        for name, anchor in rows:
            self.assertEqual(anchor, name.lower(), f"the row of {name} links to its heading")


class SignatureReader(unittest.TestCase):
    """The readers above, on inputs where a slip would let drift through."""

    def test_idl_parameters(self):
        idl = parse_idl('[id(0x1), helpstring("a, [b]")]\n HRESULT M([in] BSTR A, [in, optional, defaultvalue(0)] '
                        'VARIANT_BOOL B, [in, optional] VARIANT C, [in, optional, defaultvalue("x.inc")] BSTR D, '
                        '[out, retval] VARIANT_BOOL* R);\n[id(0x2), propput]\n HRESULT P([in] VARIANT P);\n'
                        '[id(0x2), propget]\n HRESULT P([out, retval] VARIANT* P);')
        self.assertEqual(idl["M"]["params"], [("A", False, None), ("B", True, "False"), ("C", True, None),
                                              ("D", True, '"x.inc"')])
        self.assertEqual(idl["M"]["types"], ["Text", "Boolean", "Variant", "Text"])
        self.assertEqual(idl["P"], {"kinds": {"get", "put"}, "params": [], "types": []})

    def test_syntax_forms(self):
        lines = ["Syntax: `ok = h.M(A, [B = False], [C])` · `h.M = v`"]
        self.assertEqual(syntax_forms("M", lines),
                         [("call", [("A", False, None), ("B", True, "False"), ("C", True, None)]), ("put", None)])
        self.assertEqual(syntax_forms("P", ["Syntax: `x = h.P`"]), [("get", None)])
        with self.assertRaises(ValueError):
            syntax_forms("M", ["Syntax: `h.Other(A)`"])
        with self.assertRaises(ValueError):
            syntax_forms("M", ["no syntax line"])

    def test_labelled_parts(self):
        lines = ["**Parameters:**", "- `A` (Text, optional): x", "**Returns:** r", "**Errors:** none.",
                 "**Without the file manager:** w", "**Remarks:** m", "```js", "**Returns:** in code", "```",
                 "**Related:** [B](#b)"]
        parts = labelled_parts("M", lines)
        self.assertEqual(parameter_items(parts["Parameters"]), [("A", "Text", True)])
        self.assertEqual(parts["Remarks"], "m", "a code fence ends a part")
        self.assertEqual(member_links(parts["Related"]), [("B", "b")])
        for broken in (lines[:2] + lines[3:],                       # no Returns
                       lines[2:3] + lines[:2] + lines[3:],          # out of order
                       lines + ["**Errors:** again"],               # twice
                       lines + ["**Return:** unknown label"]):
            with self.assertRaises(ValueError):
                labelled_parts("M", broken)
        with self.assertRaises(ValueError):
            parameter_items("- A (Text): no backticks")

    def test_duplicate_heading_is_refused(self):
        with self.assertRaises(ValueError):
            parse_reference("### A\nx\n### A\n")


if __name__ == "__main__":
    unittest.main()
