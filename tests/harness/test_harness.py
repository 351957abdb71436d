"""Checks of the harness's own logic that need no Wine: building scripts, judging their output,
and never stopping a process that is not the one a state file recorded."""

import json
import subprocess
import tempfile
import time
import unittest
from pathlib import Path
from types import SimpleNamespace

import clienttest
import scripttest
import wineenv


class TimeoutLine(unittest.TestCase):
    def test_forms(self):
        cases = [
            ("' timeout: 300", 300),
            ("// timeout: 45", 45),
            ("  '   TIMEOUT:7  ", 7),
            ("REM timeout: 9", 9),
            ("' time-out: 300", 120),
            ("Dim x ' timeout: 300", 120),
            ("", 120),
        ]
        for line, want in cases:
            with self.subTest(line=line):
                self.assertEqual(scripttest.parse_timeout(line), want)


class LocaleLine(unittest.TestCase):
    def test_forms(self):
        cases = [
            (["' timeout: 60", "' locale: de_DE.UTF-8"], "de_DE.UTF-8"),
            (["// locale: fr_FR.UTF-8"], "fr_FR.UTF-8"),
            (["' a", "' b", "' c", "' locale: de_DE.UTF-8"], None),  # only the first three lines
            (["Dim x ' locale: de_DE.UTF-8"], None),
            (["' locale: de_DE.UTF-8; rm -rf"], None),
            ([], None),
        ]
        for lines, want in cases:
            with self.subTest(lines=lines):
                self.assertEqual(scripttest.parse_locale(lines), want)

    def test_keyboard_forms(self):
        cases = [(["' timeout: 60", "' keyboard: DE"], "de"), (["// keyboard: fr"], "fr"),
                 (["' keyboard: de -option x"], None), (["' a", "' b", "' c", "' keyboard: de"], None)]
        for lines, want in cases:
            with self.subTest(lines=lines):
                self.assertEqual(scripttest.parse_keyboard(lines), want)


class BuildScript(unittest.TestCase):
    consts = {"TEST_DIR": 'Z:\\a "b"\\', "FLAG": True, "NAME": "t.vbs"}

    def test_vbscript_prologue_quotes_and_order(self):
        text = scripttest.build_script("vbs", self.consts, "' lib\n", "Finish\n").decode("cp1252")
        lines = text.split("\r\n")
        self.assertEqual(lines[0], "Option Explicit")
        self.assertIn('Const TEST_DIR = "Z:\\a ""b""\\"', lines)
        self.assertIn("Const FLAG = True", lines)
        self.assertLess(lines.index("' lib"), lines.index("Finish"))
        self.assertNotIn("\n", text.replace("\r\n", ""), "every line ends in CR LF")

    def test_option_explicit_of_the_test_is_left_to_the_prologue(self):
        test = "' header\nOption Explicit\n  option  explicit ' again\nDim x\nx = \"Option Explicit\"\n"
        for eol in ("\n", "\r\n"):
            with self.subTest(eol=repr(eol)):
                built = scripttest.build_script("vbs", {}, "Sub Lib()\nEnd Sub\n", test.replace("\n", eol))
                lines = built.decode("cp1252").split("\r\n")
                self.assertEqual(lines[0], "Option Explicit")
                self.assertEqual(sum(1 for l in lines if l.strip().lower().startswith("option")), 1)
                self.assertIn('x = "Option Explicit"', lines, "text inside a statement is kept")
                self.assertEqual(lines.index("Dim x") - lines.index("' header"), 3, "line count of the test kept")

    def test_jscript_prologue_escapes(self):
        text = scripttest.build_script("js", {"P": 'C:\\x "q" \u00e4', "F": False}, "", "").decode("cp1252")
        self.assertIn('var P = "C:\\\\x \\"q\\" \\u00e4";', text)
        self.assertIn("var F = false;", text)
        self.assertNotIn("Option Explicit", text)

    def test_ansi_encoding_and_unencodable_text(self):
        built = scripttest.build_script("vbs", {}, "", 's = "caf\u00e9"\n')
        self.assertIn(b'"caf\xe9"', built)
        with self.assertRaisesRegex(ValueError, r"line 2 of the test file .*'\\u263a'"):
            scripttest.build_script("vbs", {}, "a\nb", "ok\nsmile \u263a\n")

    def test_language_from_extension(self):
        self.assertEqual(scripttest.script_language(Path("x.VBS")), "vbs")
        self.assertEqual(scripttest.script_language(Path("x.js")), "js")
        with self.assertRaises(ValueError):
            scripttest.script_language(Path("x.txt"))


class Judge(unittest.TestCase):
    def test_verdicts(self):
        good = "ok 1 - a\nok 2 - b\nDONE passed=2 failed=0\n"
        cases = [
            (good, 0, False, True),
            (good, 1, False, False),                                      # exit code
            (good, None, True, False),                                    # time-out
            ("ok 1 - a\n", 0, False, False),                              # died before Finish
            ("not ok 1 - a\nDONE passed=0 failed=1\n", 0, False, False),
            ("not ok 1 - a\nok 2 - b\nDONE passed=5 failed=0\n", 0, False, False),  # stray not ok
            ("DONE passed=0 failed=0\n", 0, False, False),                # asserted nothing
            ("# not ok in a comment\nok 1 - x\nDONE passed=1 failed=0\n", 0, False, True),
            ("DONE passed=1 failed=0 trailing\n", 0, False, False),
        ]
        for output, code, timed_out, want in cases:
            with self.subTest(output=output, code=code):
                self.assertEqual(scripttest.judge(output, code, timed_out)[0], want)


class LoaderStart(unittest.TestCase):
    """A failed run is started again only when its program provably never ran: a run that wrote
    anything (output, its report, a line in a stand-in log) counts as it is."""

    def test_only_a_quick_failure_that_left_nothing_counts_as_never_started(self):
        same = {"stdout.txt": 0, "host.log": 120}
        self.assertTrue(scripttest.never_started(1, 0.01, same, dict(same)))
        for code, elapsed, after in ((0, 0.01, same), (None, 0.01, same), (1, 2.0, same), (1, 0.01, {"x.log": 0})):
            self.assertFalse(scripttest.never_started(code, elapsed, same, after), (code, elapsed, after))

    def test_a_program_that_fails_at_once_is_run_again_only_when_it_wrote_nothing(self):
        env = SimpleNamespace(loader=lambda: "/bin/sh")
        cases = [("exit 1", 2), ("echo 'not ok 1 - x' > report.txt; exit 1", 1), (": > report.txt; exit 1", 1),
                 ("echo 'CMD sent 1' >> host.log; exit 1", 1), ("echo oops >&2; exit 1", 1), ("exit 0", 1)]
        for program, want_runs in cases:
            with self.subTest(program=program), tempfile.TemporaryDirectory() as tmp:
                folder = Path(tmp)
                (folder / "host.log").write_text("READY hwnd=1\r\n")  # the host started before the program
                code, timed_out, _ = scripttest.run_program(
                    env, ["-c", "echo run >> runs; " + program], folder, folder / "stdout.txt", folder / "debug.txt",
                    30, {"PATH": "/usr/bin:/bin"}, folder / "report.txt")
                self.assertEqual(len((folder / "runs").read_text().split()), want_runs)
                self.assertEqual(code, 0 if program == "exit 0" else 1)
                self.assertEqual((folder / scripttest.RETRIES_NAME).exists(), want_runs == 2)


class ClientRun(unittest.TestCase):
    def test_places_and_host_configuration(self):
        places = {"TEST_DIR": "Z:\\t", "HOST_LOG": "Z:\\t\\host.log"}
        self.assertEqual(clienttest.substitute(["{TEST_DIR}\\a.txt", "host", "{HOST_LOG}", "{OTHER}"], places),
                         ["Z:\\t\\a.txt", "host", "Z:\\t\\host.log", "{OTHER}"])
        lines = clienttest.host_config(Path("/w/t"), ["strict=0", "answer.SP=C:\\x"]).split("\r\n")
        self.assertEqual(lines, ["log=Z:\\w\\t\\host.log", "strict=1", "strict=0", "answer.SP=C:\\x", ""])


class SkipsAndStrictHost(unittest.TestCase):
    """A skip off the allow-list and an UNEXPECTED stand-in line fail a script that passed its checks."""

    GOOD = "ok 1 - a\n# skip: this platform lets the read-only file be written (Wine run as root)\nDONE passed=1 failed=0\n"

    def test_skips_are_found_and_judged_against_the_allow_list(self):
        self.assertEqual(scripttest.skips_in(self.GOOD),
                         ["this platform lets the read-only file be written (Wine run as root)"])
        reason = scripttest.skips_in(self.GOOD)[0]
        self.assertIsNotNone(scripttest.allowed_skip("win32", "iniread_iniwrite.vbs", reason))
        self.assertIsNone(scripttest.allowed_skip("win32", "iniread_iniwrite.js", reason))        # another script
        self.assertIsNone(scripttest.allowed_skip("win32", "iniread_iniwrite.vbs", "DLL not built"))  # another reason
        self.assertTrue(scripttest.judge(self.GOOD, 0, False, [], [])[0])
        passed, why = scripttest.judge(self.GOOD, 0, False, ["DLL not built"], [])
        self.assertFalse(passed)
        self.assertIn("DLL not built", why)

    def test_unexpected_lines_of_any_log_fail(self):
        logs = {"host.log": "READY hwnd=1\r\nCMD sent 2016 lparam=0\r\nUNEXPECTED CMD 2016\r\n",
                "second.log": "READY hwnd=2\r\n", "notes.log": "an UNEXPECTED word mid-line\r\n"}
        found = scripttest.unexpected_lines(logs)
        self.assertEqual(found, ["host.log: UNEXPECTED CMD 2016"])
        self.assertFalse(scripttest.judge(self.GOOD, 0, False, [], found)[0])
        # The companion file counts even when the test emptied the log, and only once.
        logs = {"host.log": "UNEXPECTED GW LP\r\n", "host.log.unexpected": "UNEXPECTED CMD 7\r\nUNEXPECTED GW LP\r\n"}
        self.assertEqual(scripttest.unexpected_lines(logs),
                         ["host.log.unexpected: UNEXPECTED CMD 7", "host.log.unexpected: UNEXPECTED GW LP"])

    def test_soak_scale(self):
        self.assertEqual(scripttest.soak_scale({}), 0.1)
        self.assertEqual(scripttest.soak_scale({"OMBRISK_SOAK_SCALE": "1"}), 1)
        for bad in ("0", "2", "x"):
            with self.assertRaises(ValueError):
                scripttest.soak_scale({"OMBRISK_SOAK_SCALE": bad})

    def test_time_scale(self):
        self.assertEqual(scripttest.time_scale({}), 1)
        self.assertEqual(scripttest.time_scale({"OMBRISK_TIME_SCALE": "3"}), 3)
        self.assertEqual(scripttest.time_scale({"OMBRISK_TIME_SCALE": "2.5"}), 2.5)
        for bad in ("0.5", "fast", "-2"):
            with self.assertRaises(ValueError):
                scripttest.time_scale({"OMBRISK_TIME_SCALE": bad})
        self.assertIn("Const TIME_SCALE = 2.5", scripttest.prologue("vbs", {"TIME_SCALE": 2.5}))

    def test_skip_and_retry_summary(self):
        import skipsummary
        with tempfile.TemporaryDirectory() as tmp:
            folder = Path(tmp) / "wine" / "tests" / "iniread_iniwrite.vbs"
            folder.mkdir(parents=True)
            (folder / "skips.txt").write_text("win32\tiniread_iniwrite.vbs\tread-only\troot ignores it\n", encoding="utf-8")
            (folder / scripttest.RETRIES_NAME).write_text("1\t0.01\n", encoding="utf-8")
            client = Path(tmp) / "wine64" / "clients" / "TypeLibrary_Dispatch"
            client.mkdir(parents=True)
            (client / scripttest.RETRIES_NAME).write_text("1\t0.02\n1\t0.01\n", encoding="utf-8")
            text = skipsummary.summary(skipsummary.collect(Path(tmp)), skipsummary.collect_retries(Path(tmp)))
        self.assertIn("1 skip(s)", text)
        self.assertIn("iniread_iniwrite.vbs: read-only -- root ignores it", text)
        self.assertIn("started again (the loader failed before the program ran): 3\n", text)
        self.assertIn("  wine iniread_iniwrite.vbs: exit code 1 after 0.01 s", text)
        self.assertIn("  wine64 TypeLibrary_Dispatch: exit code 1 after 0.02 s", text)
        self.assertEqual(skipsummary.summary([], []).splitlines()[0], "Script tests: 0 skips")


class ProcessIdentity(unittest.TestCase):
    """Tear-down must stop only the processes it recorded, never a recycled pid."""

    def setUp(self):
        self.proc = subprocess.Popen(["sleep", "30"])
        time.sleep(0.05)

    def tearDown(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()

    def test_recognises_only_the_recorded_program_and_start(self):
        self.assertTrue(wineenv.ProcRecord.of(self.proc.pid, "sleep").is_ours())
        self.assertFalse(wineenv.ProcRecord.of(self.proc.pid, "Xvfb").is_ours())
        rec = wineenv.ProcRecord.of(self.proc.pid, "sleep")
        rec.start -= 1
        self.assertFalse(rec.is_ours(), "another start time means another process")

    def test_kill_spares_a_foreign_process_and_stops_ours(self):
        wineenv.kill_pid(wineenv.ProcRecord.of(self.proc.pid, "Xvfb"))
        self.assertIsNone(self.proc.poll())
        wineenv.kill_pid(wineenv.ProcRecord.of(self.proc.pid, "sleep"))
        self.assertIsNotNone(self.proc.wait(5))

    def test_stale_state_with_foreign_pids_is_dropped_without_killing(self):
        with tempfile.TemporaryDirectory() as d:
            env = wineenv.WineEnv(d)
            foreign = wineenv.ProcRecord.of(self.proc.pid, "sleep")
            state = wineenv.State(display=":99", xvfb=wineenv.ProcRecord(foreign.pid, foreign.start, "Xvfb"),
                                  wineserver=wineenv.ProcRecord(foreign.pid, foreign.start, "wineserver"))
            state.save(env.state_path)
            env.stop_stale()
            self.assertIsNone(self.proc.poll(), "a process that is not our Xvfb/wineserver survives")
            self.assertFalse(env.state_path.exists())

    def test_a_live_ctest_owner_blocks_the_clean_up(self):
        with tempfile.TemporaryDirectory() as d:
            fake_ctest = Path(d) / "ctest"
            fake_ctest.symlink_to("/bin/sleep")
            owner = subprocess.Popen([str(fake_ctest), "30"])
            try:
                time.sleep(0.05)
                env = wineenv.WineEnv(d)
                mine = wineenv.ProcRecord.of(self.proc.pid, "sleep")
                wineenv.State(display=":9", xvfb=mine, owner=wineenv.ProcRecord.of(owner.pid, "ctest")).save(
                    env.state_path)
                with self.assertRaisesRegex(wineenv.SetupError, "another ctest run"):
                    env.stop_stale()
                self.assertIsNone(self.proc.poll(), "the other run's processes are left alone")
                self.assertTrue(env.state_path.exists())
                owner.kill()
                owner.wait()
                env.stop_stale()
                self.assertIsNotNone(self.proc.wait(5), "once the owner is gone its processes are stale")
            finally:
                if owner.poll() is None:
                    owner.kill()
                    owner.wait()

    def test_unreadable_state_file_is_ignored(self):
        with tempfile.TemporaryDirectory() as d:
            env = wineenv.WineEnv(d)
            env.state_path.write_text("{not json")
            env.stop_stale()
            self.assertFalse(env.state_path.exists())

    def test_load_refuses_a_state_whose_processes_are_gone(self):
        with tempfile.TemporaryDirectory() as d:
            env = wineenv.WineEnv(d)
            with self.assertRaisesRegex(wineenv.SetupError, "has not run"):
                env.load()
            dead = wineenv.ProcRecord(self.proc.pid, 1, "Xvfb")
            wineenv.State(display=":5", xvfb=dead, wineserver=dead).save(env.state_path)
            with self.assertRaisesRegex(wineenv.SetupError, "Xvfb"):
                env.load()
            self.assertEqual(json.loads(env.state_path.read_text())["display"], ":5")


class DebugStrings(unittest.TestCase):
    def test_wine_debugstr_lines(self):
        stderr = ("0024:warn:debugstr:OutputDebugStringA \"hello world\\n\"\n"
                  "0088:fixme:hid:handle_IRP_MN_QUERY_ID Unhandled type 00000005\n"
                  "0024:warn:debugstr:OutputDebugStringA \"q \\\"x\\\" tab\\there \\\\n \\xe4\\x80\"\r\n"
                  "0030:warn:debugstr:OutputDebugStringA \"\"\n"
                  "0024:warn:debugstr:OutputDebugStringA \"yyyy\"...\n")
        self.assertEqual(wineenv.debug_strings(stderr),
                         ["hello world\n", 'q "x" tab\there \\n \u00e4\u20ac', "", "yyyy..."])


class Paths(unittest.TestCase):
    def test_winpath(self):
        self.assertEqual(wineenv.winpath("/work/main/build/x.vbs"), "Z:\\work\\main\\build\\x.vbs")


class Architectures(unittest.TestCase):
    """The win64 environment starts the 64-bit programs with the 64-bit loader: Debian's `wine`
    would start cscript and regsvr32 as 32-bit programs even in a win64 prefix."""

    def test_loader_and_script_host_per_architecture(self):
        self.assertEqual(wineenv.wine_loader("win32"), "wine")
        self.assertEqual(wineenv.cscript_program("win32"), "cscript")
        self.assertEqual(wineenv.cscript_program("win64"), r"C:\windows\system32\cscript.exe")
        with self.assertRaises(wineenv.SetupError):
            wineenv.wine_loader("win16")
        with self.assertRaises(wineenv.SetupError):
            wineenv.WineEnv("/tmp/x", "amd64")

    def test_win64_loader_is_the_64_bit_one_or_a_clear_error(self):
        try:
            loader = wineenv.wine_loader("win64")
        except wineenv.SetupError as exc:
            self.assertIn("wine64", str(exc))
            return
        self.assertTrue(Path(loader).name.startswith("wine64"), loader)

    def test_environment_names_its_architecture(self):
        with tempfile.TemporaryDirectory() as d:
            env = wineenv.WineEnv(d, "win64")
            env.state = wineenv.State(display=":7")
            self.assertEqual(env.env()["WINEARCH"], "win64")
            self.assertEqual(wineenv.WineEnv(d).arch, "win32")

    def test_load_takes_the_architecture_from_the_state(self):
        proc = subprocess.Popen(["sleep", "30"])
        try:
            time.sleep(0.05)
            with tempfile.TemporaryDirectory() as d:
                mine = wineenv.ProcRecord.of(proc.pid, "sleep")
                wineenv.State(display=":5", arch="win64", xvfb=wineenv.ProcRecord(mine.pid, mine.start, "sleep"),
                              wineserver=wineenv.ProcRecord(mine.pid, mine.start, "sleep")).save(
                    Path(d) / wineenv.STATE_NAME)
                env = wineenv.WineEnv(d)
                env.load()
                self.assertEqual(env.arch, "win64")
        finally:
            proc.kill()
            proc.wait()

    def test_a_prefix_of_the_other_architecture_is_not_complete(self):
        with tempfile.TemporaryDirectory() as d:
            prefix = Path(d) / wineenv.PREFIX_NAME
            for name in (wineenv.COMPLETE_MARK, "system.reg", "user.reg"):
                (prefix / name).parent.mkdir(parents=True, exist_ok=True)
                (prefix / name).write_text("")
            (prefix / "drive_c" / "windows").mkdir(parents=True)
            self.assertTrue(wineenv.WineEnv(d, "win32")._prefix_complete())
            self.assertFalse(wineenv.WineEnv(d, "win64")._prefix_complete())
            (prefix / "drive_c" / "windows" / "syswow64").mkdir()
            self.assertTrue(wineenv.WineEnv(d, "win64")._prefix_complete())
            self.assertFalse(wineenv.WineEnv(d, "win32")._prefix_complete())

    def test_numbers_in_the_prologue(self):
        vbs = scripttest.prologue("vbs", {"CSCRIPT_BITS": 64, "F": True})
        self.assertIn("Const CSCRIPT_BITS = 64", vbs)
        self.assertIn("Const F = True", vbs)
        self.assertIn("var CSCRIPT_BITS = 32;", scripttest.prologue("js", {"CSCRIPT_BITS": 32}))


class BenchReport(unittest.TestCase):
    """bench.py reads the clients' reports into one table; a misread figure would pass silently."""

    REPORT = ("ok 1 - the host runs\n"
              "BENCH\tcall.property_get\t0.688\t1.1\tratio\t2.7 us\t4.0 us\tNoArrayReturn against Count\n"
              "BENCH\toverhead.GetInfo\t2.000\t2\tms\t2.00 ms\twaits 0 ms\tGetInfo\n"
              "BENCH\tmemory.per_object\t64.000\t64\tKiB\t1 KiB\t1 KiB\tper object\n"
              "BENCH\tkeys.SendKeystroke\t2.5\t-\tms\t72 ms\twaits 70 ms\tkeys\n"
              "BENCH\tbroken\t1.0\tratio\n"
              "not ok 2 - the plain loop worked\n"
              "DONE passed=1 failed=1\n")

    def test_figures_and_verdicts(self):
        import bench
        figures = {f.ident: f for f in bench.parse_figures(self.REPORT)}
        self.assertEqual(sorted(figures), ["call.property_get", "keys.SendKeystroke", "memory.per_object", "overhead.GetInfo"])
        self.assertAlmostEqual(figures["call.property_get"].value, 0.688)
        self.assertEqual(figures["call.property_get"].verdict, "met")
        self.assertEqual(figures["overhead.GetInfo"].verdict, "met")  # at most 2 ms
        self.assertEqual(figures["memory.per_object"].verdict, "MISSED")  # under 64 KiB
        self.assertEqual(figures["keys.SendKeystroke"].verdict, "-")
        self.assertEqual(bench.failed_checks(self.REPORT), ["the plain loop worked"])

    def test_getinfo_line_and_table(self):
        import bench
        line = ('BENCH GetInfo("SP") VBScript/plain: median ratio 1.066 over 7 rounds of 5000 calls each '
                "(VBScript 943.3 us, plain 873.9 us per call overall)\n")
        (figure,) = bench.parse_getinfo(line)
        self.assertEqual((figure.ident, figure.value, figure.goal), ("getinfo.vs_plain_cpp", 1.066, "1.3"))
        self.assertEqual(bench.parse_getinfo("BENCH round 1: ratio 1.0\n"), [])
        rows = bench.table([figure]).splitlines()
        self.assertEqual(len(rows), 3)
        self.assertIn("| getinfo.vs_plain_cpp | 1.066 ratio | <= 1.3 | met |", rows[2])


if __name__ == "__main__":
    unittest.main()
