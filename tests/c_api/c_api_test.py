"""The C interface against the command: every end-to-end document that is a single file, and the
examples, checked by belun (a report in each of the five formats) and by c_check, a C program on
the C interface (tests/c_api/c_check.c), twice: fed in pieces of random sizes, and fed whole by
tavon_check_feed_file, with the reports that go to files and to write callbacks swapped. Every
report must equal the command's byte for byte (the time stamp masked, as the end-to-end tests do),
and the findings delivered to the callback must be the rows of the command's CSV report, in their
order, with its totals.

    c_api_test.py BELUN C_CHECK SOURCE_DIR
"""
import csv
import os
import re
import shutil
import subprocess
import sys
import tempfile

FORMATS = ["htm", "txt", "csv", "xml", "json"]
STAMP = re.compile(rb"\d\d/\d\d/\d\d\d\d  \d\d:\d\d:\d\d")
UTC = re.compile(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ")


def mask_time(data):
    return UTC.sub(b"YYYY-MM-DDThh:mm:ssZ", STAMP.sub(b"DD/MM/YYYY  hh:mm:ss", data))


def documents(source_dir):
    """(label, folder, document, switches) of every single-file document the command checks."""
    yield "examples/duv-ok.xml", os.path.join(source_dir, "examples"), "duv-ok.xml", []
    yield "examples/duv-chyby.xml", os.path.join(source_dir, "examples"), "duv-chyby.xml", []
    e2e = os.path.join(source_dir, "tests", "data", "e2e")
    for case in sorted(os.listdir(e2e)):
        args_file = os.path.join(e2e, case, "args")
        if not os.path.isfile(args_file):
            continue
        words = open(args_file, encoding="utf-8").read().split()
        switches, names, usable = [], [], True
        while words:
            word = words.pop(0)
            if word.lower() == "-w":
                switches.append("-w")
            elif word.lower() == "-d" and words:
                switches += ["-d", words.pop(0)]
            elif word.startswith("-"):
                usable = False
            else:
                names.append(word)
        if usable and names and not names[0].startswith("@") and \
                os.path.isfile(os.path.join(e2e, case, names[0])):
            yield case, os.path.join(e2e, case), names[0], switches


def csv_rows(path):
    """The finding rows of a CSV report and its totals (E, W)."""
    with open(path, encoding="cp1250", errors="replace", newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    end = rows.index([]) if [] in rows else len(rows)
    totals = [int(r[1]) for r in rows[end:] if len(r) == 2 and r[0].startswith("Celkem chyb vahy")]
    return rows[1:end], totals


def same_text(cell, text):
    if cell.startswith("'") and not text.startswith("'"):
        cell = cell[1:]  # a value the report keeps from being read as a formula
    return re.sub(r"[\t\r\n]", " ", cell).strip(" ") == text.strip(" ")


def compare_findings(label, output, csv_path):
    lines = output.decode("utf-8").split("\n")
    assert lines[-1] == "", f"{label}: c_check's output does not end with a line end"
    findings = [line.split("\t") for line in lines[:-2]]
    totals = lines[-2].split("\t")
    rows, csv_totals = csv_rows(csv_path)
    problems = []
    if len(findings) != len(rows):
        problems.append(f"{len(findings)} findings, {len(rows)} report rows")
    for number, (f, row) in enumerate(zip(findings, rows), 1):
        code, severity, line, lines_text = f[0], f[1], f[2], f[3]
        where = lines_text.replace(",...", ", ......") if lines_text else (line if line != "0" else "")
        texts = [where, code] + f[4:9] + [f[9]]
        if severity != code[0]:
            problems.append(f"finding {number}: severity {severity} of {code}")
        for name, cell, text in zip(["line", "code", "employer", "employee", "field", "value",
                                     "expected", "description"], row, texts):
            if not same_text(cell, text):
                problems.append(f"finding {number} ({code}): {name} {text!r}, the report {cell!r}")
    if totals[0] != "totals" or [int(totals[1]), int(totals[2])] != csv_totals or totals[4] != "1":
        problems.append(f"totals {totals}, the report {csv_totals}")
    return len(findings), problems


def check_document(belun, c_check, work, label, document, switches):
    for ext in FORMATS:
        run = subprocess.run([belun] + switches + [document, "b." + ext], cwd=work,
                             env=dict(os.environ, LC_ALL="C"), stdout=subprocess.DEVNULL,
                             stdin=subprocess.DEVNULL)
        if run.returncode != 0:
            return None, []  # a document the command does not check (its data refused, say)
    outputs, problems = {}, []
    for prefix, how in (("p", ["-s", str(len(label))]), ("f", ["-f"])):
        run = subprocess.run([c_check] + switches + how + [document, document, prefix], cwd=work,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)
        if run.returncode != 0:
            return 0, [f"c_check {' '.join(how)} ended with {run.returncode}: {run.stderr.decode()}"]
        outputs[prefix] = run.stdout
        for ext in FORMATS:
            expected = mask_time(open(os.path.join(work, "b." + ext), "rb").read())
            actual = mask_time(open(os.path.join(work, prefix + "." + ext), "rb").read())
            if expected != actual:
                problems.append(f"the {ext} report ({' '.join(how)}) differs from the command's")
    if outputs["p"] != outputs["f"]:
        problems.append("the findings fed in pieces differ from those fed by tavon_check_feed_file")
    count, more = compare_findings(label, outputs["p"], os.path.join(work, "b.csv"))
    return count, problems + more


def main():
    belun, c_check, source_dir = sys.argv[1:4]
    failures, checked, findings = 0, 0, 0
    with tempfile.TemporaryDirectory(prefix="tavon_c_api_") as scratch:
        for number, (label, folder, document, switches) in enumerate(documents(source_dir)):
            work = os.path.join(scratch, str(number))
            shutil.copytree(folder, work, ignore=shutil.ignore_patterns("expected", "args", "needs", "locale"))
            count, problems = check_document(belun, c_check, work, label, document, switches)
            if count is None:
                continue
            checked += 1
            findings += count
            for problem in problems[:10]:
                print(f"FAIL {label}: {problem}")
            failures += bool(problems)
    print(f"{checked} documents, {findings} findings: {failures} differ from the command")
    if checked < 60:
        print("FAIL: fewer documents than expected were checked")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
