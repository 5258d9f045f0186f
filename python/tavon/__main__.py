"""python -m tavon [-w] [-d FOLDER] [-o REPORT] FILE...: a short summary of each file's check."""
import argparse
import collections
import sys

from . import Check, TavonError, version


def shown(name: str) -> str:
    """A name as the terminal may show it: control and bidi characters as "?"."""
    return "".join("?" if ord(c) < 32 or ord(c) == 127 or 0x200E <= ord(c) <= 0x200F
                   or 0x202A <= ord(c) <= 0x202E or 0x2066 <= ord(c) <= 0x2069 or ord(c) == 0x61C
                   else c for c in name)


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(prog="python -m tavon",
                                     description="Kontrola souborů DUV: souhrn chyb a varování.")
    parser.add_argument("files", nargs="+", metavar="SOUBOR")
    parser.add_argument("-w", action="store_true", help="varování jen počítat, nevypisovat")
    parser.add_argument("-d", metavar="SLOŽKA", help="číselníky a registry z této složky")
    parser.add_argument("-o", metavar="PROTOKOL",
                        help="protokol (.htm .txt .csv .xml .json) jediného souboru")
    args = parser.parse_args(argv)
    if args.o and len(args.files) != 1:
        parser.error("-o patří k jedinému souboru")
    print(f"tavon {version()}")
    failed = False
    for name in args.files:
        codes = collections.Counter()
        try:
            with Check(warnings=not args.w, data=args.d, on_finding=lambda f: codes.update((f.code,))) as c:
                if args.o:
                    c.add_report(args.o, name=name)
                c.feed_file(name)
                t = c.finish()
        except TavonError as e:
            print(f"{shown(name)}: nelze zkontrolovat: {shown(str(e))}", file=sys.stderr)
            failed = True
            continue
        print(f"{shown(name)}: chyb {t.errors}, varování {t.warnings}")
        for code, count in codes.most_common(5):
            print(f"  {code} {count}×")
    return 13 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
