#!/usr/bin/env python3
"""The Windows zip as an engine administrator gets it: built with CPack from
the win64 build, unpacked, and fsdata.exe run under Wine from the unpacked
folder, where it finds the driver beside itself.

  test_zip.py CPACK BUILD_DIR WINE_RUNNER
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

CPACK, BUILD, WINE = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
HERE = os.path.dirname(os.path.abspath(__file__))


class WindowsZip(unittest.TestCase):
    def test_the_unpacked_folder_runs(self):
        with tempfile.TemporaryDirectory() as tmp:
            result = subprocess.run([CPACK, "-G", "ZIP", "-B", tmp], cwd=BUILD,
                                    capture_output=True, timeout=600)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            (package,) = [n for n in os.listdir(tmp) if n.endswith(".zip")]
            with zipfile.ZipFile(os.path.join(tmp, package)) as archive:
                names = sorted(n for n in archive.namelist() if not n.endswith("/"))
                archive.extractall(tmp)
            folder = package[:-len(".zip")]
            self.assertEqual(names, sorted(folder + "/" + n for n in [
                "README.txt", "fsdata.exe", "include/vldb/dbdriver.h", "vldb_filesystem.de.txt",
                "vldb_filesystem.dll", "vllogger.dll"]))
            # The tests' own Wine prefix: a fresh one takes a while to make.
            env = dict(os.environ, FSDATA_WINEPREFIX=os.path.join(BUILD, "wineprefix"))
            result = subprocess.run(
                [WINE, os.path.join(tmp, folder, "fsdata.exe"), "query",
                 "Z:" + HERE.replace("/", "\\"), "--fields", "File Name", "--format", "csv"],
                capture_output=True, timeout=600, env=env)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn("test_zip.py", result.stdout.decode().split())


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
