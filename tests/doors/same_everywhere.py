"""Every door gives the same check: the command `belun`, Python (tavon), C# (Tavon.cs on Mono) and C
(the C example) find the same findings and totals in each document and write byte-identical
reports in every format.

    same_everywhere.py --belun B --python-example P [--dotnet-example EXE] [--c-example X]
                       [--cases FOLDER] [DOCUMENT...]

The documents are those named and every file of each end-to-end case in FOLDER (not its args,
expected, needs or list.txt).

The findings printed by the examples (a tab-separated line each, then "E n W n") must equal those
of the command's JSON report. A door whose program is not given is left out with a line saying so."""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

FORMATS = ["htm", "txt", "csv", "xml", "json"]


def masked(data: bytes) -> bytes:
    """A report without the time of its check."""
    data = re.sub(rb"\d\d/\d\d/\d{4}  \d\d:\d\d:\d\d", b"DD/MM/YYYY  hh:mm:ss", data)
    return re.sub(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", b"YYYY-MM-DDThh:mm:ssZ", data)


def finding_lines(report: dict) -> str:
    """The findings of a JSON report as the examples print them."""
    out = []
    for f in report["findings"]:
        lines = ",".join(map(str, f.get("lines", []))) + ("+" if f.get("more_lines") else "")
        out.append("\t".join([f["code"], f["severity"], str(f.get("line", "*" if f.get("whole_employer") else "")), lines,
                              *(f.get(k, "") for k in ("employer", "employee", "field", "value",
                                                        "expected"))]))
    t = report["totals"]
    out.append(f"E {t['errors']} W {t['warnings']}")
    return "\n".join(out) + "\n"


def run(command, folder):
    environment = dict(os.environ, PYTHONIOENCODING="utf-8")
    return subprocess.run(command, cwd=folder, env=environment, capture_output=True, timeout=120)


def case_documents(cases: str):
    for case in sorted(os.listdir(cases)):
        folder = os.path.join(cases, case)
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if name not in ("args", "expected", "needs", "list.txt") and os.path.isfile(path):
                yield path


class Doors:
    def __init__(self, args):
        self.args = args
        self.failures = []
        self.compared = 0

    def fail(self, document, what):
        self.failures.append(f"{document}: {what}")

    def check(self, document: str, work: str) -> None:
        folder, name = os.path.split(os.path.abspath(document))
        expected = {}
        for ext in FORMATS:
            report = os.path.join(work, f"belun.{ext}")
            if run([self.args.belun, name, report], folder).returncode != 0:
                return  # refused by the command (e.g. a name over 60 characters): nothing to compare
            with open(report, "rb") as f:
                expected[ext] = f.read()
        with open(os.path.join(work, "belun.json"), encoding="utf-8") as f:
            findings = finding_lines(json.load(f))
        doors = {"python": [sys.executable, self.args.python_example]}
        if self.args.dotnet_example:
            doors["c#"] = ["mono", self.args.dotnet_example]
        for door, command in doors.items():
            reports = [os.path.join(work, f"{door}.{ext}") for ext in FORMATS]
            result = run(command + [name] + reports, folder)
            if result.returncode != 0:
                self.fail(document, f"{door} failed: {result.stderr.decode(errors='replace')}")
                continue
            if result.stdout.decode("utf-8") != findings:
                self.fail(document, f"{door} findings differ from the command's:\n"
                                    f"{result.stdout.decode('utf-8')}---\n{findings}")
            for ext, report in zip(FORMATS, reports):
                with open(report, "rb") as f:
                    if masked(f.read()) != masked(expected[ext]):
                        self.fail(document, f"{door} {ext} report differs from the command's")
        if self.args.c_example:
            result = run([self.args.c_example, name], folder)
            if result.stdout.decode("utf-8") != findings:
                self.fail(document, "C findings differ from the command's")
        self.compared += 1


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--belun", required=True)
    parser.add_argument("--python-example", required=True)
    parser.add_argument("--dotnet-example")
    parser.add_argument("--c-example")
    parser.add_argument("--cases")
    parser.add_argument("documents", nargs="*")
    args = parser.parse_args()
    for door in ("python_example", "dotnet_example", "c_example"):
        if getattr(args, door):
            setattr(args, door, os.path.abspath(getattr(args, door)))
    if args.cases:
        args.documents += list(case_documents(args.cases))
    if args.dotnet_example and not shutil.which("mono"):
        print("SKIPPED: C# (mono is not installed)")
        args.dotnet_example = None
    doors = Doors(args)
    with tempfile.TemporaryDirectory() as work:
        for document in args.documents:
            doors.check(document, work)
    for failure in doors.failures:
        print("FAILED:", failure)
    print(f"{doors.compared} of {len(args.documents)} documents compared, {len(doors.failures)} differences")
    return 1 if doors.failures or doors.compared < len(args.documents) // 2 else 0


if __name__ == "__main__":
    sys.exit(main())
