"""Prints each finding of a DUV document on a line (tab-separated, UTF-8) and then the totals.

    python3 print_findings.py duv.xml [chyby.htm chyby.csv ...]

Each further name is a report, its format given by its ending (.htm .txt .csv .xml .json).
"""
import sys

import tavon


def main() -> int:
    document, reports = sys.argv[1], sys.argv[2:]
    with tavon.Check(on_finding=print_finding) as check:
        for report in reports:
            check.add_report(report, name=document)
        check.feed_file(document)
        totals = check.finish()
    print(f"E {totals.errors} W {totals.warnings}")
    return 0


def print_finding(f: tavon.Finding) -> None:
    lines = ",".join(map(str, f.lines)) + ("+" if f.more_lines else "")
    line = str(f.line or ("*" if f.whole_employer else ""))  # "*": all the employer's records
    print("\t".join([f.code, f.severity, line, lines, f.employer, f.employee, f.field, f.value, f.expected]))


if __name__ == "__main__":
    try:
        sys.exit(main())
    except tavon.TavonError as e:
        print(e, file=sys.stderr)
        sys.exit(13)
