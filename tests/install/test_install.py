#!/usr/bin/env python3
"""The installed tree as a user gets it: `cmake --install` into a temporary
prefix, the tree moved elsewhere (nothing may point back into the build),
then the installed fsdata, its driver, translations and SQLite extension run
from there; with the driver removed, fsdata names the path it tried.

A Debian package built with CPack from the same build holds the same tree
under /usr, declares what it needs, and runs unpacked.

  test_install.py CMAKE CPACK BUILD_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

CMAKE, CPACK, BUILD = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
HERE = os.path.dirname(os.path.abspath(__file__))
# A sanitized build's runtime, for a foreign program that loads our library.
FOREIGN_ENV = dict(os.environ, LD_PRELOAD=os.environ["FSDATA_PRELOAD"]) \
    if os.environ.get("FSDATA_PRELOAD") else None


def run(*args, **kwargs):
    return subprocess.run(list(args), capture_output=True, timeout=300, **kwargs)


class InstalledTree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="fsdata-install-")
        stage = os.path.join(cls.tmp, "stage")
        result = run(CMAKE, "--install", BUILD, "--prefix", stage)
        assert result.returncode == 0, result.stderr
        cls.prefix = os.path.join(cls.tmp, "moved")
        shutil.move(stage, cls.prefix)
        cls.fsdata = os.path.join(cls.prefix, "bin", "fsdata")
        cls.library = os.path.join(cls.prefix, "lib", "fsdata")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def installed(self, *args):
        result = run(self.fsdata, *args, cwd=self.tmp)
        self.assertEqual(result.returncode, 0, (args, result.stderr))
        return result.stdout.decode()

    def test_the_files_are_where_the_system_looks(self):
        files = sorted(os.path.relpath(os.path.join(folder, name), self.prefix)
                       for folder, _, names in os.walk(self.prefix) for name in names)
        expected = ["bin/fsdata", "include/vldb/dbdriver.h", "lib/fsdata/libvllogger.so",
                    "lib/fsdata/vldb_filesystem.de.txt", "lib/fsdata/vldb_filesystem.so",
                    "share/bash-completion/completions/fsdata", "share/man/man1/fsdata.1"]
        if os.path.exists(os.path.join(self.library, "libfsdata.so")):
            expected.append("lib/fsdata/libfsdata.so")
        self.assertEqual(files, sorted(expected))

    def test_the_installed_fsdata_runs_from_its_new_place(self):
        info = self.installed("info")
        self.assertIn(os.path.join(self.library, "vldb_filesystem.so"), info)
        rows = self.installed("query", HERE, "--fields", "File Name", "--format", "csv")
        self.assertIn("test_install.py", rows.split())
        self.assertIn("Dateiname", self.installed("fields", "--lang", "de"))
        if os.path.exists(os.path.join(self.library, "libfsdata.so")):
            self.assertEqual(self.installed("sql", "SELECT count(*) FROM fsdata('%s', 'test_install.*')"
                                            % HERE, "--format", "csv").split(),
                             ["count(*)", "1"])
            shell = run("sqlite3", ":memory:", ".load " + os.path.join(self.library, "libfsdata"),
                        "SELECT file_name FROM fsdata('%s', 'test_install.*')" % HERE,
                        env=FOREIGN_ENV)
            self.assertEqual(shell.stdout.decode().split(), ["test_install.py"], shell.stderr)

    def test_a_removed_driver_is_named(self):
        copy = os.path.join(self.tmp, "broken")
        shutil.copytree(self.prefix, copy)
        os.remove(os.path.join(copy, "lib", "fsdata", "vldb_filesystem.so"))
        result = run(os.path.join(copy, "bin", "fsdata"), "fields")
        self.assertEqual(result.returncode, 1)
        self.assertIn(os.path.join(copy, "lib", "fsdata", "vldb_filesystem.so"),
                      result.stderr.decode())


@unittest.skipIf(not shutil.which("dpkg-deb"), "dpkg-deb")
class DebianPackage(unittest.TestCase):
    def build(self, folder):
        result = run(CPACK, "-G", "DEB", "-B", folder, cwd=BUILD)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        (package,) = [name for name in os.listdir(folder) if name.endswith(".deb")]
        return os.path.join(folder, package)

    def contents(self, package):
        listing = run("dpkg-deb", "-c", package).stdout.decode().splitlines()
        return sorted(line.split()[-1] for line in listing)

    def test_the_package_installs_the_tree_under_usr_and_runs_unpacked(self):
        with tempfile.TemporaryDirectory() as tmp:
            first = self.build(os.path.join(tmp, "first"))
            second = self.build(os.path.join(tmp, "second"))
            files = self.contents(first)
            self.assertEqual(files, self.contents(second))
            for path in ("./usr/bin/fsdata", "./usr/lib/fsdata/vldb_filesystem.so",
                         "./usr/lib/fsdata/vldb_filesystem.de.txt",
                         "./usr/lib/fsdata/libvllogger.so", "./usr/include/vldb/dbdriver.h",
                         "./usr/share/man/man1/fsdata.1",
                         "./usr/share/bash-completion/completions/fsdata"):
                self.assertIn(path, files)
            control = run("dpkg-deb", "-I", first).stdout.decode()
            depends = re.search(r"^ Depends: (.*)$", control, re.M).group(1).split(", ")
            for needed in ("libsqlite3-0", "shared-mime-info"):
                self.assertIn(needed, depends)
            self.assertTrue(any(re.fullmatch(r"libicu\d+", name) for name in depends), depends)
            self.assertRegex(control, r"(?m)^ Version: \d+\.\d+\.\d+$")
            unpacked = os.path.join(tmp, "root")
            self.assertEqual(run("dpkg-deb", "-x", first, unpacked).returncode, 0)
            fsdata = os.path.join(unpacked, "usr", "bin", "fsdata")
            result = run(fsdata, "query", HERE, "--fields", "File Name", "--format", "csv")
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn("test_install.py", result.stdout.decode().split())
            version = run(fsdata, "--version").stdout.decode().split()[-1]
            self.assertIn(" Version: " + version + "\n", control)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
