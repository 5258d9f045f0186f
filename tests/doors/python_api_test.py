"""The Python package's own promises, beyond what every door shares (same_everywhere.py): bytes
and paths alike, warnings left out, a data folder, failures as TavonError with their status, a
callback that stops the check or raises, reports to a stream, and `python -m tavon`."""
import io
import os
import subprocess
import sys
import tempfile
import unittest

import tavon

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FAULTY = os.path.join(ROOT, "examples", "duv-chyby.xml")
CASES = os.path.join(ROOT, "tests", "data", "e2e")


class PythonPackage(unittest.TestCase):
    def test_bytes_and_path_give_the_same_findings(self):
        with open(FAULTY, "rb") as f:
            document = f.read()
        from_path, from_bytes = tavon.check(FAULTY), tavon.check(document)
        self.assertEqual(from_path.findings, from_bytes.findings)
        self.assertEqual(from_path.totals, from_bytes.totals)
        self.assertTrue(from_path.totals.read_to_end)
        self.assertEqual(len(from_path.findings), from_path.totals.errors + from_path.totals.warnings)
        quiet = tavon.check(document, warnings=False)
        self.assertEqual(quiet.totals.warnings_not_reported, from_path.totals.warnings)
        self.assertTrue(all(f.severity == "E" for f in quiet.findings))

    def test_data_folder(self):
        given = os.path.join(CASES, "data-folder-given")
        data = tavon.Data(os.path.join(given, "kampan"))
        self.assertIn("kampan", data.describe())
        self.assertNotEqual(tavon.check(os.path.join(given, "duv.xml"), data=data).findings,
                            tavon.check(os.path.join(given, "duv.xml")).findings)
        with self.assertRaises(tavon.TavonError) as broken:
            tavon.Data(os.path.join(CASES, "data-folder-broken-register", "kampan"))
        self.assertEqual(broken.exception.status, "bad_data")
        self.assertIn("poskytovatele.txt", str(broken.exception))

    def test_failures(self):
        with self.assertRaises(tavon.TavonError) as missing:
            tavon.check(os.path.join(ROOT, "no such file.xml"))
        self.assertEqual(missing.exception.status, "not_found")
        check = tavon.Check()
        check.finish()
        with self.assertRaises(tavon.TavonError) as late:
            check.feed(b"<DUV>")
        self.assertEqual(late.exception.status, "misuse")

    def test_callback_stops_or_raises(self):
        seen = []
        with tavon.Check(on_finding=lambda f: seen.append(f) or len(seen) == 3) as check:
            with self.assertRaises(tavon.TavonError) as stopped:
                check.feed_file(FAULTY)
                check.finish()
        self.assertEqual(stopped.exception.status, "stopped")
        self.assertEqual(len(seen), 3)

        def broken(finding):
            raise KeyError(finding.code)
        with tavon.Check(on_finding=broken) as check, self.assertRaises(KeyError):
            check.feed_file(FAULTY)
            check.finish()

    def test_report_to_a_stream_equals_the_file(self):
        with tempfile.TemporaryDirectory() as work:
            stream = io.BytesIO()
            for report in (stream, os.path.join(work, "r.csv")):
                tavon.write_report(FAULTY, report, format="csv", name="duv.xml")
            with open(os.path.join(work, "r.csv"), "rb") as f:
                self.assertEqual(stream.getvalue(), f.read())
            self.assertTrue(stream.getvalue().startswith(b"Radek;Chyba;"))

    def test_module_summary(self):
        run = subprocess.run([sys.executable, "-m", "tavon", FAULTY, "missing.xml"], capture_output=True,
                             env=dict(os.environ, PYTHONIOENCODING="utf-8"))
        self.assertEqual(run.returncode, 13)
        out = run.stdout.decode("utf-8")
        self.assertIn("duv-chyby.xml: chyb 21, varování 9", out)
        self.assertIn("missing.xml: nelze zkontrolovat", run.stderr.decode("utf-8"))


if __name__ == "__main__":
    unittest.main()
