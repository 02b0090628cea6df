#!/usr/bin/env python3
"""The file table through SQL as users reach it: the loadable extension in
Python's sqlite3 module and in the sqlite3 shell, and fsdata sql, over a tree
of PE files, compound documents and a file with an access list. Every column
of every row is checked against fsdata query's jsonl of the same tree.

  test_sql.py FSDATA EXTENSION VERSION_FIXTURES SUMMARY_DATA
"""
import csv
import io
import json
import os
import re
import shlex
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
FSDATA, EXTENSION, PE_FIXTURES, SUMMARY_DATA = (os.path.abspath(a) for a in sys.argv[1:5])


def run(*args, env=None):
    return subprocess.run(list(args), capture_output=True, timeout=300, env=env)


def connect():
    db = sqlite3.connect(":memory:")
    db.enable_load_extension(True)
    db.load_extension(EXTENSION)
    return db


def sql_literal(text):
    return "'" + text.replace("'", "''") + "'"


class Fixture(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="fsdata-sql-")
        cls.tree = os.path.join(cls.tmp, "tree")
        cls.other = os.path.join(cls.tmp, "other")
        for folder in ("pe", "docs", "plain", "empty"):
            os.makedirs(os.path.join(cls.tree, folder))
        os.makedirs(cls.other)
        for name in ("full64.dll", "several.exe", "image32.dll", "noversion.dll"):
            shutil.copy(os.path.join(PE_FIXTURES, name), os.path.join(cls.tree, "pe", name))
        shutil.copy(os.path.join(SUMMARY_DATA, "docfile_edit_hour.stg"),
                    os.path.join(cls.tree, "docs", "report.doc"))
        shutil.copy(os.path.join(SUMMARY_DATA, "docfile_edit_almost_hour.stg"),
                    os.path.join(cls.tree, "docs", "notes.doc"))
        for name, size in (("a.txt", 100), ("b.log", 2000)):
            with open(os.path.join(cls.tree, "plain", name), "wb") as f:
                f.write(b"x" * size)
        with open(os.path.join(cls.other, "a.txt"), "wb") as f:
            f.write(b"12345")
        cls.acl = shutil.which("setfacl") is not None
        if cls.acl:
            subprocess.run(["setfacl", "-m", "u:nobody:r", os.path.join(cls.tree, "plain", "a.txt")],
                           check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def query_jsonl(self, directory, *args):
        result = run(FSDATA, "query", directory, "--format", "jsonl", *args)
        self.assertEqual(result.returncode, 0, result.stderr)
        return [json.loads(line) for line in result.stdout.decode().splitlines()]

    def fsdata_sql(self, statement, *args):
        return run(FSDATA, "sql", statement, *args)


class Columns(Fixture):
    def test_every_column_of_every_row_is_the_drivers_value(self):
        expected = self.query_jsonl(self.tree, "--fields", "all", "--empty-dirs")
        db = connect()
        cursor = db.execute("SELECT * FROM fsdata(?, '*.*', -1, 1)", (self.tree,))
        names = [d[0] for d in cursor.description]
        rows = cursor.fetchall()
        self.assertEqual(len(names), 65)
        self.assertEqual(len(rows), len(expected))
        for want, got in zip(expected, rows):
            for column, value, field in zip(names, got, want.values()):
                if isinstance(field, bool):
                    field = int(field)
                self.assertEqual((column, value), (column, field), got)
                if value is not None:
                    self.assertIs(type(value), type(field))
        by_name = {row[names.index("file_name")]: dict(zip(names, row)) for row in rows}
        dll = by_name["full64.dll"]
        self.assertIsNotNone(dll["version_company_name"])
        self.assertIn(dll["version_is_debug"], (0, 1))
        self.assertFalse(by_name["a.txt"]["version_company_name"])
        self.assertTrue(by_name["report.doc"]["summary_author"])
        self.assertFalse(by_name["a.txt"]["summary_author"])
        self.assertIsInstance(by_name["report.doc"]["summary_edit_time"], int)
        if self.acl:
            self.assertIn("nobody", by_name["a.txt"]["acl"])
        # A directory without files is a row whose file columns are NULL.
        self.assertIn(None, by_name)

    def test_dates_are_text_the_date_functions_take(self):
        db = connect()
        bad = db.execute("SELECT file_name FROM fsdata(?) WHERE julianday(last_written) IS NULL"
                         " OR typeof(last_written) <> 'text'"
                         " OR datetime(creation_time) IS NULL", (self.tree,)).fetchall()
        self.assertEqual(bad, [])
        (newest,) = db.execute("SELECT max(date(last_written)) FROM fsdata(?)",
                               (self.tree,)).fetchone()
        self.assertRegex(newest, r"^\d{4}-\d\d-\d\d$")

    def test_fields_sql_lists_the_columns_and_their_types(self):
        result = run(FSDATA, "fields", "--sql", "--format", "csv")
        self.assertEqual(result.returncode, 0, result.stderr)
        listed = list(csv.reader(io.StringIO(result.stdout.decode())))[1:]
        db = connect()
        declared = [(row[1], row[2]) for row in db.execute("PRAGMA table_xinfo(fsdata)")
                    if row[5] == 0 and row[1] not in ("dir", "mask", "levels", "empty_dirs")]
        self.assertEqual([(row[1], row[2]) for row in listed], declared)
        self.assertEqual(listed[4][1:], ["file_name", "TEXT", "File Name"])


class Queries(Fixture):
    def test_an_aggregate_agrees_with_fsdata_query(self):
        totals = {}
        for row in self.query_jsonl(self.tree, "--fields", "Directory,File Size"):
            directory = row["Directory"]
            count, size = totals.get(directory, (0, 0))
            totals[directory] = (count + 1, size + row["File Size"])
        db = connect()
        got = {d: (c, s) for d, c, s in db.execute(
            "SELECT directory, count(*), sum(file_size) FROM fsdata(?) GROUP BY directory",
            (self.tree,))}
        self.assertEqual(got, totals)

    def test_a_join_of_two_trees(self):
        db = connect()
        rows = db.execute(
            "SELECT t.file_name, t.file_size, o.file_size FROM fsdata(?) t"
            " JOIN fsdata(?) o USING (file_name)", (self.tree, self.other)).fetchall()
        self.assertEqual(rows, [("a.txt", 100, 5)])

    def test_a_virtual_table_over_a_fixed_tree(self):
        db = connect()
        db.execute("CREATE VIRTUAL TABLE docs USING fsdata(dir=%s, mask='*.doc')"
                   % sql_literal(self.tree))
        self.assertEqual(sorted(r[0] for r in db.execute("SELECT file_name FROM docs")),
                         ["notes.doc", "report.doc"])

    def test_errors_reach_python_as_sqlite_errors(self):
        db = connect()
        cases = [("SELECT * FROM fsdata('/nonexistent/dir')", "'/nonexistent/dir'"),
                 ("SELECT * FROM fsdata(?, '../*')", "cannot hold a path separator"),
                 ("SELECT * FROM fsdata(?, '*', 'two')", "levels takes -1"),
                 ("CREATE VIRTUAL TABLE t USING fsdata(dir=/tmp, colour=red)",
                  "unknown argument 'colour'")]
        for statement, message in cases:
            with self.assertRaises(sqlite3.Error) as raised:
                db.execute(statement, (self.tree,) if "?" in statement else ()).fetchall()
            self.assertIn(message, str(raised.exception))


class Shell(Fixture):
    def shell(self, *statements, env=None):
        return run("sqlite3", ":memory:", ".load " + EXTENSION, *statements, env=env)

    @unittest.skipIf(not shutil.which("sqlite3"), "the sqlite3 shell")
    def test_the_shell_loads_the_extension(self):
        result = self.shell("SELECT count(*) FROM fsdata(%s)" % sql_literal(self.tree))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode().strip(), str(len(self.query_jsonl(self.tree))))

    @unittest.skipIf(not shutil.which("sqlite3"), "the sqlite3 shell")
    def test_a_driver_that_cannot_be_loaded_is_named(self):
        missing = os.path.join(self.tmp, "no", "driver.so")
        result = self.shell("SELECT 1", env=dict(os.environ, FSDATA_DRIVER=missing))
        self.assertIn(missing, result.stderr.decode())
        # A copy of the extension without a driver beside it names the path it tried.
        alone = os.path.join(self.tmp, "alone")
        os.makedirs(alone, exist_ok=True)
        shutil.copy(EXTENSION, alone)
        result = run("sqlite3", ":memory:", ".load " + os.path.join(alone, "libfsdata"))
        self.assertIn(os.path.join(alone, "vldb_filesystem.so"), result.stderr.decode())


class FsdataSql(Fixture):
    def test_formats_and_languages(self):
        statement = ("SELECT file_name, file_size, is_read_only FROM fsdata(%s) "
                     "WHERE extension = 'dll' ORDER BY file_size DESC, file_name" %
                     sql_literal(os.path.join(self.tree, "pe")))
        jsonl = self.fsdata_sql(statement, "--format", "jsonl")
        self.assertEqual(jsonl.returncode, 0, jsonl.stderr)
        rows = [json.loads(line) for line in jsonl.stdout.decode().splitlines()]
        self.assertEqual(len(rows), 3)
        self.assertEqual(list(rows[0]), ["file_name", "file_size", "is_read_only"])
        self.assertIsInstance(rows[0]["file_size"], int)
        plain = self.fsdata_sql(statement, "--format", "csv")
        table = list(csv.reader(io.StringIO(plain.stdout.decode())))
        self.assertEqual(table[1:], [[r["file_name"], str(r["file_size"]),
                                      str(r["is_read_only"])] for r in rows])
        german = self.fsdata_sql(statement, "--format", "jsonl", "--lang", "de")
        self.assertEqual(german.stdout, jsonl.stdout)
        shown = self.fsdata_sql(statement)
        self.assertEqual(shown.stderr, b"3 rows\n")
        self.assertRegex(shown.stdout.decode().splitlines()[0], r"^file_name +file_size")

    def test_exit_statuses_and_messages(self):
        cases = [(["SELEKT 1"], 1, "syntax error"),
                 (["SELECT * FROM fsdata('/nonexistent/dir')"], 1, "'/nonexistent/dir'"),
                 (["SELECT 1; SELECT 2"], 2, "runs one statement"),
                 (["  -- nothing"], 2, "the statement is empty"),
                 ([], 2, "no statement given"),
                 (["SELECT 1", "--format", "xml"], 2, "--format is table, csv or jsonl")]
        for args, status, message in cases:
            result = self.fsdata_sql(*args) if args else run(FSDATA, "sql")
            self.assertEqual(result.returncode, status, (args, result.stderr))
            self.assertIn(message, result.stderr.decode(), args)

    def test_values_sqlite_computes(self):
        result = self.fsdata_sql("SELECT 1.5 AS r, x'00ff' AS b, NULL AS n, 'a,b' AS t, "
                                 "9000000000 AS big", "--format", "jsonl")
        self.assertEqual(json.loads(result.stdout),
                         {"r": 1.5, "b": "00ff", "n": None, "t": "a,b", "big": 9000000000})


class Readme(unittest.TestCase):
    def test_the_sql_examples_of_the_readme_run(self):
        with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
            readme = f.read()
        examples = re.findall(r"^\./fsdata sql (\".*\")(.*)$", readme, re.M)
        self.assertGreaterEqual(len(examples), 5)
        for statement, rest in examples:
            # Wine's DLLs are there once a full ./run-tests has installed Wine.
            trees = re.findall(r"fsdata\('([^']*)'", statement)
            if not all(os.path.isdir(os.path.join(ROOT, tree)) for tree in trees):
                print("skipped, a tree is missing:", statement, file=sys.stderr)
                continue
            result = subprocess.run([FSDATA, "sql"] + shlex.split(statement + rest), cwd=ROOT,
                                    capture_output=True, timeout=300)
            self.assertEqual(result.returncode, 0, (statement, result.stderr))
            self.assertNotEqual(result.stdout, b"", statement)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
