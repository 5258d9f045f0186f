#!/usr/bin/env python3
"""JSON reports read as their readers read them.

  json_reports.py check SCHEMA REPORT...
      each report: strict UTF-8 with CR LF line ends and a finding per line, parsed by Python's json
      and by Node's JSON.parse (the two must agree), valid against the schema
  json_reports.py suite BELUN GENERATOR SOURCE-DIR
      the same for belun's JSON reports of the bundled examples, a findings-heavy document (with and
      without -w), a document with hostile values under hostile file names, and of every document
      of the end-to-end cases; each against the CSV report of the same run: the same rows with
      the same codes, lines and texts once both are decoded

Exit code 77 (skipped) when Node.js or python3-jsonschema is missing.
"""
import csv
import json
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77

try:
    import jsonschema
except ImportError:
    print("SKIP: python3-jsonschema is not installed")
    sys.exit(SKIP)
if not shutil.which("node"):
    print("SKIP: node is not installed")
    sys.exit(SKIP)

# Node reads the bytes as strict UTF-8 (a broken sequence throws instead of becoming U+FFFD).
NODE_PARSE = """
const bytes = require('fs').readFileSync(process.argv[1]);
const text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
process.stdout.write(JSON.stringify(JSON.parse(text)));
"""


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def no_duplicates(pairs):
    keys = [k for k, _ in pairs]
    expect(len(keys) == len(set(keys)), "a member twice: %r" % keys)
    return dict(pairs)


def refuse_constant(name):
    raise Failure("not JSON: %s" % name)


def read_report(path, validator):
    """The report parsed, after every check of its bytes, its layout, Node's reading and the schema."""
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8", errors="strict")
    except UnicodeDecodeError as e:
        raise Failure("%s: not UTF-8: %s" % (path, e))
    try:
        report = json.loads(text, object_pairs_hook=no_duplicates, parse_constant=refuse_constant)
    except ValueError as e:
        raise Failure("%s: not JSON: %s" % (path, e))
    expect(text.count("\n") == text.count("\r\n") and text.endswith("}\r\n"), "%s: line ends not CR LF" % path)
    # The header, a finding per line, the end.
    lines = text.split("\r\n")[:-1]
    expect(lines[0].endswith('"findings":['), "%s: the header is not one line" % path)
    expect(lines[-1].startswith("],"), "%s: the end is not one line" % path)
    findings = lines[1:-1]
    expect(len(findings) == len(report["findings"]), "%s: not a finding per line" % path)
    for line, finding in zip(findings, report["findings"]):
        expect(json.loads(line.rstrip(",")) == finding, "%s: a line that is not one finding: %s" % (path, line))

    node = subprocess.run(["node", "-e", NODE_PARSE, path], capture_output=True)
    expect(node.returncode == 0, "%s: Node's JSON.parse failed: %s" % (path, node.stderr.decode()[-500:]))
    expect(json.loads(node.stdout) == report, "%s: Node reads other data than Python" % path)

    errors = sorted(validator.iter_errors(report), key=lambda e: list(e.path))
    expect(not errors, "%s: against the schema: %s" % (path, "; ".join(
        "%s: %s" % ("/".join(map(str, e.path)), e.message) for e in errors[:5])))
    return report


def validator_for(schema_path):
    schema = json.load(open(schema_path, encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    return jsonschema.Draft202012Validator(schema, format_checker=jsonschema.Draft202012Validator.FORMAT_CHECKER)


# --- the JSON report against the CSV report of the same document ---

def csv_report(path):
    """The rows and the two totals of a CSV report."""
    with open(path, newline="", encoding="cp1250") as f:
        rows = list(csv.reader(f, delimiter=";"))
    expect(rows[0][0] == "Radek", "%s: no CSV header" % path)
    end = rows.index([], 1)  # the blank line before the totals
    totals = [int(row[1]) for row in rows[end:] if len(row) == 2]
    return rows[1:end], totals


def line_cell(finding):
    """The line column of a CSV row as the finding's members give it."""
    if "lines" in finding:
        return ",".join(map(str, finding["lines"])) + (", ...... " if finding.get("more_lines") else "")
    if finding.get("whole_employer"):
        return "   "
    return str(finding["line"]) if "line" in finding else " "


def same_text(cell, text):
    """A CSV cell that shows the text: right-aligned with spaces, or with the apostrophe that keeps a
    spreadsheet from taking it for a formula."""
    if cell == "'" + text and text[:1] in ("=", "+", "-", "@", "\t", "\r"):
        return True
    return cell.endswith(text) and set(cell[: len(cell) - len(text)]) <= {" "}


def compare_with_csv(report, csv_path, what):
    rows, totals = csv_report(csv_path)
    findings = report["findings"]
    expect(len(rows) == len(findings), "%s: %d CSV rows, %d findings" % (what, len(rows), len(findings)))
    expect(totals == [report["totals"]["errors"], report["totals"]["warnings"]], "%s: other totals" % what)
    for number, (row, f) in enumerate(zip(rows, findings), 1):
        where = "%s, row %d" % (what, number)
        expect(len(row) == 8, "%s: %d CSV fields" % (where, len(row)))
        expect(row[0] == line_cell(f), "%s: line %r in CSV, %r in JSON" % (where, row[0], line_cell(f)))
        expect(row[1] == f["code"] and f["severity"] == f["code"][0], "%s: code %r, %r" % (where, row[1], f))
        for cell, key in zip(row[2:7], ("employer", "employee", "field", "value", "expected")):
            expect(same_text(cell, f.get(key, "")), "%s: %s %r in CSV, %r in JSON" % (where, key, cell, f.get(key)))
        expect(row[7] == f["description"], "%s: description %r, %r" % (where, row[7], f["description"]))


# --- runs of belun ---

class Runner:
    def __init__(self, belun, validator, work):
        self.belun, self.validator, self.work = belun, validator, work
        self.reports = 0

    def run(self, arguments, folder):
        done = subprocess.run([self.belun] + arguments, cwd=folder, capture_output=True,
                              env=dict(os.environ, LC_ALL="C"), stdin=subprocess.DEVNULL)
        self.console = done.stdout.decode("cp1250", errors="replace")
        return done.returncode

    def json_and_csv(self, document, switches, folder, what, refusal_allowed=False):
        """Both reports of a document, compared; the JSON report parsed (None when belun refused)."""
        codes = [self.run([document, "r.json"] + switches, folder), self.run([document, "r.csv"] + switches, folder)]
        expect(codes[0] == codes[1], "%s: exit %d with JSON, %d with CSV" % (what, codes[0], codes[1]))
        if codes[0] != 0:
            expect(refusal_allowed, "%s: exit %d: %s" % (what, codes[0], self.console))
            return None
        report = read_report(os.path.join(folder, "r.json"), self.validator)
        compare_with_csv(report, os.path.join(folder, "r.csv"), what)
        self.reports += 1
        return report


def hostile_document(source_dir):
    """The valid example with values a report must keep as data: markup, quotes, a backslash, a
    formula, escape sequences, the bytes Windows-1250 leaves undefined, a Czech letter."""
    text = open(os.path.join(source_dir, "examples/duv-ok.xml"), "rb").read()
    for tag, value in ((b"AA0017", b'=HYPERLINK("http://e/";"x")'),
                       (b"AA0126", b"\x1b]0;HACKED\x07\x1b[2J\\"),
                       (b"AA0013", b'"x"&lt;/script&gt;>'),
                       (b"AA0033", b"\x81\x83\x88\x90\x98\x01\x7f\xe8")):
        start = text.index(b"<" + tag + b">") + len(tag) + 2
        text = text[:start] + value + text[text.index(b"</", start):]
    return text


LONG_NAME = ("Žluťoučký kůň úpěl ďábelské ódy " * 4)[:98] + "/" + ("Příliš žluťoučký kůň " * 5)[:97] + ".xml"
# File names as bytes, and as the report must give them.
HOSTILE_NAMES = [
    (b'a"b\\c<script>&x.xml', 'a"b\\c<script>&x.xml'),  # no "/" in a file name
    ("nový\nřádek\t.xml".encode(), "nový\nřádek\t.xml"),
    (b"\x1b]0;x\x07.xml", "\x1b]0;x\x07.xml"),
    (b"\x81\xe8\x9a.xml", "?čš.xml"),  # no UTF-8: read as Windows-1250
    # 200 characters, in a folder: a name in a folder holds at most 255 bytes.
    (LONG_NAME.encode(), LONG_NAME),
]


def suite(belun, generator, source_dir):
    belun, generator, source_dir = map(os.path.abspath, (belun, generator, source_dir))
    validator = validator_for(os.path.join(source_dir, "docs/report.schema.json"))
    work = tempfile.mkdtemp(prefix="belun-json-")
    try:
        runner = Runner(belun, validator, work)
        examples = os.path.join(source_dir, "examples")
        for name in ("duv-chyby.xml", "duv-ok.xml"):
            report = runner.json_and_csv(os.path.join(examples, name), [], work, name)
            expect(report["read_to_end"] and report["findings_left_out"] == 0, "%s: %r" % (name, report))

        with open(os.path.join(work, "heavy.xml"), "wb") as f:
            subprocess.run([generator, "3", "100", "100", "7"], stdout=f, check=True)
        heavy = runner.json_and_csv("heavy.xml", [], work, "findings-heavy document")
        expect(len(heavy["findings"]) > 2000, "only %d findings" % len(heavy["findings"]))
        quiet = runner.json_and_csv("heavy.xml", ["-w"], work, "findings-heavy document, -w")
        expect(quiet["totals"]["warnings_not_reported"] == heavy["totals"]["warnings"] > 0 and
               all(f["severity"] == "E" for f in quiet["findings"]), "-w: %r" % quiet["totals"])

        hostile = hostile_document(source_dir)
        for name, shown in HOSTILE_NAMES:
            folder = tempfile.mkdtemp(dir=work)
            path = os.path.join(folder.encode(), name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "wb").write(hostile)
            # Arguments up to 60 characters; a longer name in a list.
            open(os.path.join(folder, "list.txt"), "wb").write(b'"' + name.replace(b'"', b'""') + b'"')
            argument = os.fsdecode(name) if len(shown) <= 60 else "@list.txt"
            report = runner.json_and_csv(argument, [], folder, "hostile name %r" % name)
            expect(report["file"] == shown, "file %r, not %r" % (report["file"], shown))
        values = {f.get("value") for f in report["findings"]}
        for value in ('=HYPERLINK("http://e/";"x")', '\x1b]0;HACKED\x07\x1b[2J\\', '"x"&lt;/script&gt;>',
                      "?????\x01\x7fč"):
            expect(value in values, "no value %r in %r" % (value, values))

        cases = os.path.join(source_dir, "tests/data/e2e")
        for case in sorted(os.listdir(cases)):
            folder = os.path.join(work, "e2e", case)
            shutil.copytree(os.path.join(cases, case), folder, ignore=shutil.ignore_patterns("expected"))
            words = open(os.path.join(folder, "args"), encoding="utf-8").read().split()
            switches, names, i = [], [], 0
            while i < len(words):
                if words[i].lower() == "-d" and i + 1 < len(words):
                    switches += words[i : i + 2]
                    i += 1
                elif words[i].startswith("-"):
                    switches.append(words[i])
                else:
                    names.append(words[i])
                i += 1
            if names:
                runner.json_and_csv(names[0], switches, folder, "e2e case " + case, refusal_allowed=True)
        expect(runner.reports > 60, "only %d reports compared" % runner.reports)
        print("%d JSON reports read by Python and Node, valid against the schema, equal to their CSV reports"
              % runner.reports)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main(argv):
    try:
        if len(argv) >= 3 and argv[0] == "check":
            validator = validator_for(argv[1])
            for path in argv[2:]:
                read_report(path, validator)
        elif len(argv) == 4 and argv[0] == "suite":
            suite(*argv[1:])
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except Failure as e:
        print("FAIL:", e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
