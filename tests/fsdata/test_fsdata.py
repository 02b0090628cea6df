#!/usr/bin/env python3
"""fsdata as a user meets it: the real binary over a tree of hostile names,
every output format parsed back with a real parser, every error path with its
exit status and message, failed writes, and the man page against --help.

  test_fsdata.py FSDATA [--wine RUNNER]

With --wine, FSDATA is fsdata.exe run through RUNNER, and the cases that need
POSIX (names Windows forbids, /dev/full, signals) are skipped.
"""
import csv
import io
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
FSDATA = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else None
WINE = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 and sys.argv[2] == "--wine" else None

# Names a user may meet, as bytes; the second set only where POSIX allows it.
PORTABLE_NAMES = [b"a,b", b"-dash", b"sp ace", "漢字の名前.txt".encode(), "😀emoji".encode(),
                  "e\u0301t\u00e9".encode(), b"semi;colon"]
POSIX_NAMES = [b'q"uote', b"new\nline", b"tab\there", b"esc\x1b[31mred", b"cr\rX",
               b"bad\xff\xfe", b"back\\slash"]


def command(*args):
    return ([WINE, FSDATA] if WINE else [FSDATA]) + list(args)


def run(*args, **kwargs):
    return subprocess.run(command(*args), capture_output=True, timeout=300, **kwargs)


def native_path(path):
    """The path as fsdata is given it: Z:\\... under Wine."""
    return "Z:" + path.replace("/", "\\") if WINE else path


class Fixture(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="fsdata-cli-")
        cls.tree = os.path.join(cls.tmp, "tree")
        cls.names = PORTABLE_NAMES + ([] if WINE else POSIX_NAMES)
        os.makedirs(os.path.join(cls.tree, "sub"))
        for name in cls.names:
            with open(os.path.join(os.fsencode(cls.tree), name), "wb") as f:
                f.write(b"x" * 1536)
        with open(os.path.join(cls.tree, "sub", "inner.txt"), "wb") as f:
            f.write(b"inner")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def query(self, *args, directory=None):
        result = run("query", native_path(directory or self.tree), *args)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result


class OutputFormats(Fixture):
    def test_csv_parses_back_to_the_names_as_bytes(self):
        out = self.query("--fields", "File Name,File Size", "--format", "csv").stdout
        rows = list(csv.reader(io.StringIO(out.decode("utf-8", "surrogateescape"), newline="")))
        self.assertEqual(rows[0], ["File Name", "File Size"])
        names = {os.fsencode(row[0]) for row in rows[1:]}
        self.assertEqual(names, set(self.names) | {b"inner.txt"})
        self.assertTrue(all(row[1] in ("1536", "5") for row in rows[1:]))

    def test_jsonl_is_valid_utf8_json_and_gives_the_bytes_back(self):
        out = self.query("--fields", "File Name,File Size,Last Written,Is Hidden,Extension",
                         "--format", "jsonl").stdout
        out.decode("utf-8")  # strict: no raw bytes pass through
        rows = [json.loads(line) for line in out.decode().splitlines()]
        self.assertEqual({os.fsencode(r["File Name"]) for r in rows},
                         set(self.names) | {b"inner.txt"})
        for row in rows:
            self.assertIsInstance(row["File Size"], int)
            self.assertRegex(row["Last Written"], r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}$")
            self.assertIsInstance(row["Is Hidden"], bool)
        no_extension = [r for r in rows if "." not in r["File Name"]]
        self.assertTrue(no_extension and all(r["Extension"] is None for r in no_extension))

    def test_table_shows_controls_escaped_aligned_and_counts_rows(self):
        result = self.query("--fields", "File Name,File Size,Directory Name")
        text = result.stdout.decode("utf-8")
        self.assertNotRegex(text, "[\x00-\x09\x0b-\x1f\x7f]")
        lines = text.splitlines()
        self.assertEqual(len(lines), 2 + len(self.names) + 1)
        self.assertIn("1.5K", text)
        # Every size ends in the same terminal column, wide characters counting two.
        ends = {display_width(line[: m.end()]) for line in lines[2:]
                for m in [re.search(r"\s(\d+(\.\d)?K?)(?=\s)", line)] if m}
        self.assertEqual(len(ends), 1, lines)
        if not WINE:
            self.assertIn("esc\\e[31mred", text)
            self.assertIn("bad\\xFF\\xFE", text)
        self.assertEqual(result.stderr.decode().strip(), f"{len(self.names) + 1} rows")

    def test_long_cells_stay_in_their_column(self):
        deep = os.path.join(self.tmp, "long")
        os.makedirs(deep, exist_ok=True)
        for i in range(250):
            name = ("n%03d" % i) + ("x" * (i % 90))
            open(os.path.join(deep, name), "w").close()
        lines = self.query("--fields", "File Name,File Size", directory=deep).stdout.decode()
        widths = {display_width(line) for line in lines.splitlines()[2:]}
        self.assertEqual(len(widths), 1)
        self.assertIn("…", lines)


PLACES = "Directory,Directory Name,Parent Directory,Directory Level (Absolute),File Name"


class Directories(Fixture):
    def rows(self, directory):
        return self.query("--fields", PLACES, "--format", "csv", directory=directory).stdout

    def test_every_spelling_of_a_directory_gives_the_same_rows(self):
        expected = self.rows(self.tree)
        self.assertIn(("," + native_path(self.tree)).encode() if not WINE else b"tree", expected)
        for spelling in [self.tree + "/", self.tree + "/.", self.tree + "//",
                         self.tree + "/sub/..", os.path.join(self.tmp, ".", "tree")]:
            self.assertEqual(self.rows(spelling), expected, spelling)
        relative = subprocess.run(command("query", "tree/", "--fields", PLACES, "--format", "csv"),
                                  capture_output=True, cwd=self.tmp, timeout=300)
        self.assertEqual(relative.stdout, expected)

    @unittest.skipIf(WINE, "POSIX names")
    def test_a_directory_that_is_not_utf8_is_listed(self):
        odd = os.path.join(os.fsencode(self.tmp), b"dir\xff")
        os.makedirs(odd, exist_ok=True)
        open(os.path.join(odd, b"f"), "w").close()
        result = subprocess.run(command("query", odd, "--fields", "Directory", "--format",
                                        "jsonl"), capture_output=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(os.fsencode(json.loads(result.stdout)["Directory"]), odd)


class Errors(Fixture):
    def test_usage_errors_and_refusals(self):
        with open(os.path.join(HERE, "usage_errors.tsv"), encoding="utf-8") as f:
            rows = [line.rstrip("\n").split("\t") for line in f if not line.startswith("#")]
        for number, (args, status, message, *windows) in enumerate(rows[1:], start=2):
            if WINE and windows:
                message = windows[0]
            words = [native_path(self.tree) + w[3:] if w.startswith("DIR") else w
                     for w in args.split("|")] if args else []
            with self.subTest(row=f"usage_errors.tsv:{number}", args=words):
                result = run(*words)
                self.assertEqual(result.returncode, int(status), result.stderr)
                self.assertIn(message, result.stderr.decode("utf-8", "replace"))
                self.assertEqual(result.stdout, b"")

    def test_options_end_at_a_double_dash(self):
        dashed = os.path.join(self.tree, "-dir")
        os.makedirs(dashed, exist_ok=True)
        open(os.path.join(dashed, "x"), "w").close()
        result = subprocess.run(command("query", "--format", "csv", "--fields", "File Name",
                                        "--", "-dir"), capture_output=True, cwd=self.tree,
                                timeout=60)
        self.assertEqual((result.returncode, result.stdout), (0, b"File Name\r\nx\r\n"))

    @unittest.skipIf(WINE, "no /dev/full")
    def test_failed_writes_stop_with_status_4(self):
        for args in [["query", self.tree, "--format", "csv"], ["fields"], ["info"], ["dialog"],
                     ["--help"]]:
            with open("/dev/full", "wb") as full:
                result = subprocess.run(command(*args), stdout=full, stderr=subprocess.PIPE,
                                        timeout=60)
            self.assertEqual(result.returncode, 4, args)
            self.assertIn(b"No space left on device", result.stderr)
        closed = subprocess.run(command("query", self.tree), stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, timeout=60,
                                preexec_fn=lambda: os.close(1))
        self.assertEqual(closed.returncode, 4)

    @unittest.skipIf(WINE, "POSIX signals")
    def test_a_closed_pipe_ends_the_run_even_with_sigpipe_ignored(self):
        big = os.path.join(self.tmp, "big")
        for d in range(40):
            os.makedirs(os.path.join(big, "d%02d" % d), exist_ok=True)
            for i in range(100):
                open(os.path.join(big, "d%02d" % d, "f%03d" % i), "w").close()
        process = subprocess.Popen(
            command("query", big, "--format", "csv", "--fields", "all"), stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
            preexec_fn=lambda: signal.signal(signal.SIGPIPE, signal.SIG_IGN))
        process.stdout.readline()
        process.stdout.close()
        stderr = process.communicate(timeout=60)[1]
        self.assertEqual(process.returncode, 4)
        self.assertIn(b"Broken pipe", stderr)


class Documentation(unittest.TestCase):
    def test_help_goes_to_standard_output_and_the_man_page_has_all_of_it(self):
        with open(os.path.join(ROOT, "tools", "fsdata", "fsdata.1"), encoding="utf-8") as f:
            page = f.read().replace("\\-", "-")
        helps = ""
        for args in [["--help"], ["query", "-h"], ["sql", "-h"], ["fields", "--help"],
                     ["dialog", "--help"], ["info", "-h"]]:
            result = run(*args)
            self.assertEqual((result.returncode, result.stderr), (0, b""), args)
            self.assertTrue(result.stdout.startswith(b"usage: fsdata"), args)
            helps += result.stdout.decode()
        options = set(re.findall(r"(?<![\w-])--?[a-z][a-z-]*", helps))
        self.assertEqual(options - set(re.findall(r"(?<![\w-])--?[a-z][a-z-]*", page)), set())
        for name in ["query", "sql", "fields", "dialog", "info"]:
            self.assertIn(".B " + name, page)
        version = run("--version").stdout.decode()
        self.assertRegex(version, r"^fsdata \d+\.\d+\.\d+\r?\n$")
        info = run("info").stdout.decode().splitlines()
        self.assertEqual(info[0].split(), version.split())
        self.assertIn(f'"{version.strip()}"', page)

    @unittest.skipIf(WINE, "the .reg registry of the Linux build")
    def test_the_logging_set_up_of_the_readme_writes_a_log(self):
        with tempfile.TemporaryDirectory() as tmp:
            with open(os.path.join(tmp, "vellum.reg"), "w") as f:
                f.write("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\"
                        "Tavrel Quillon\\Meridel 4.0\\Vellum\\]\n\"CommonFiles\"=\"%s/\"\n"
                        % os.path.dirname(FSDATA))
            env = dict(os.environ, VELLUM_REGISTRY=os.path.join(tmp, "vellum.reg"),
                       VLLOGGER_FILE=os.path.join(tmp, "driver.log"), VLLOGGER_ASSERTIONS="1")
            result = subprocess.run(command("query", "/nonexistent"), env=env,
                                    capture_output=True, timeout=60)
            self.assertEqual(result.returncode, 3)
            with open(os.path.join(tmp, "driver.log")) as log:
                self.assertEqual(log.read(), "START assertions on, level 0\n")

    @unittest.skipIf(WINE or not shutil.which("bash"), "bash completion")
    def test_completion_offers_commands_options_and_field_names(self):
        script = os.path.join(ROOT, "tools", "fsdata", "fsdata.bash")
        cases = [(["fsdata", "qu"], "query"), (["fsdata", "query", "--fi"], "--fields"),
                 ([FSDATA, "query", "--lang", "de", "--fields", "Dateig"], "Dateigröße"),
                 ([FSDATA, "query", "--fields", "File Name,Ext"], "File Name,Extension")]
        for words, expected in cases:
            line = " ".join("'%s'" % w for w in words)
            shell = (f"source '{script}'; COMP_WORDS=({line}); COMP_CWORD={len(words) - 1};"
                     " _fsdata; printf '%s\\n' \"${COMPREPLY[@]}\"")
            out = subprocess.run(["bash", "-c", shell], capture_output=True, timeout=60)
            self.assertIn(expected, out.stdout.decode().splitlines(), words)


def display_width(text):
    import unicodedata
    return sum(0 if unicodedata.combining(c) else
               2 if unicodedata.east_asian_width(c) in "WF" or ord(c) >= 0x1F300 else 1
               for c in text)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
