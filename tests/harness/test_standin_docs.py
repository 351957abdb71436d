"""The stand-in host's documentation (tests/harness/README.md) against its source
(tests/standin/*.cpp): every configuration key, `ctl` verb and first word of a log line the
stand-in knows is named in the README, so a test author can find what a key does and a new key
cannot go in undocumented. Runs without Wine."""

import re
import unittest
from pathlib import Path

ROOT = Path(__file__).absolute().parents[2]
STANDIN = ROOT / "tests" / "standin"
README = Path(__file__).absolute().parent / "README.md"

# config.number(L"key" ...), config.text(L"answer." + ...), config.get(std::wstring(L"path.") + ...),
# listed(host, L"expect_cmd", ...)
_KEY_RE = re.compile(r'(?:config\.(?:number|text|get)\(\s*(?:std::wstring\()?|listed\(\s*\w+,\s*)L"([a-z_0-9]+\.?)"')
_VERB_RE = re.compile(r'verb == L"([a-z]+)"')
# log.line("WORD ...") or log.line(format("WORD ...")), also through a pointer (->log.line).
_LOG_RE = re.compile(r'log\.line\(\s*(?:format\(\s*)?"([A-Z][A-Z_]+)')


def standin_source() -> str:
    return "\n".join(p.read_text(encoding="utf-8") for p in sorted(STANDIN.glob("*.cpp")))


def keys(source: str) -> set[str]:
    return set(_KEY_RE.findall(source))


def verbs(source: str) -> set[str]:
    return set(_VERB_RE.findall(source))


def log_words(source: str) -> set[str]:
    return set(_LOG_RE.findall(source))


def undocumented(readme: str, source: str) -> list[str]:
    """What the source knows and the README does not name: a key as `key`, `key=...` or
    `key.<...>`, a verb as `verb ...`, a log line's first word at the start of a line of the
    log listing (indented) or in backquotes."""
    missing = []
    for key in sorted(keys(source)):
        if not re.search(r"`" + re.escape(key) + (r"<" if key.endswith(".") else r"[`=<\s]"), readme):
            missing.append(f"configuration key {key}")
    for verb in sorted(verbs(source)):
        if not re.search(r"`" + re.escape(verb) + r"[`\s]", readme):
            missing.append(f"ctl verb {verb}")
    for word in sorted(log_words(source)):
        if not re.search(r"(?m)(?:^\s+|`)" + re.escape(word) + r"\b", readme):
            missing.append(f"log line {word}")
    return missing


class StandInReadme(unittest.TestCase):
    def test_every_key_verb_and_log_line_is_documented(self):
        missing = undocumented(README.read_text(encoding="utf-8"), standin_source())
        self.assertEqual(missing, [], "add these to tests/harness/README.md")

    def test_the_source_is_read_at_all(self):
        # Guards the patterns: a change of the source's idioms must not make the check vacuous.
        source = standin_source()
        self.assertTrue({"log", "cmd_result", "cmd_result.", "answer.", "strict", "expect_cmd"} <= keys(source))
        self.assertTrue({"start", "stop", "send", "ask"} <= verbs(source))
        self.assertTrue({"READY", "CMD", "COPYDATA", "UNEXPECTED"} <= log_words(source))

    def test_a_missing_entry_is_found(self):
        source = 'config.number(L"fresh_key", 0); if (verb == L"newverb") log.line(format("NEWLINE %d"));'
        self.assertEqual(undocumented("`fresh_key=1`", source), ["ctl verb newverb", "log line NEWLINE"])
        self.assertEqual(undocumented("`newverb <x>`\n    NEWLINE x\n`fresh_key`", source), [])


if __name__ == "__main__":
    unittest.main()
