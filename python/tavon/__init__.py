"""Checks DUV salary-survey documents: findings as plain objects, totals, and the reports of the
`belun` command (HTML, TXT, CSV, XML, JSON), through the C interface of libtavon.

    import tavon
    result = tavon.check("duv.xml")                 # a path, or the document's bytes
    for f in result.findings:
        print(f.code, f.severity, f.line, f.field, f.value, f.description)
    print(result.totals.errors, result.totals.warnings)
    tavon.write_report("duv.xml", "chyby.csv")      # the format from the report's name
"""
import collections
import ctypes
import os

from . import _native
from ._native import lib

__all__ = ["check", "write_report", "Check", "Data", "Finding", "Totals", "Result", "TavonError",
           "version", "FORMATS"]

# Report formats by the names the command gives them (the endings of report names).
FORMATS = {"htm": 0, "html": 0, "txt": 1, "csv": 2, "xml": 3, "json": 4}

# The status codes of the C interface.
STATUS_NAMES = {1: "not_found", 2: "folder_missing", 3: "access_denied", 4: "is_folder",
                5: "not_regular_file", 6: "in_use", 7: "disk_full", 8: "too_large", 9: "bad_data",
                10: "stopped", 11: "misuse", 12: "failed"}

_PIECE = 1 << 20


class TavonError(Exception):
    """A failure of the library: `status` names it (e.g. "not_found"), the message says why."""

    def __init__(self, status: int, message: str):
        super().__init__(message)
        self.status = STATUS_NAMES.get(status, str(status))
        self.code = status


# One finding (plain and immutable; named tuples, quick to make and light to import):
#   code         e.g. "EL051"
#   severity     "E" error or "W" warning
#   line         the line of the document; None where the finding has none
#   lines        for one person's records: the lines of the first six, else ()
#   more_lines   the person has more records than `lines` lists
#   employer     the employer's IČO, or ""
#   employee     the employee's identifier, or ""
#   field        the element concerned, e.g. "AA0138", or ""
#   value        the value found (or a figure computed from it), or ""
#   expected     what was expected, or ""
#   description  the code's description in Czech
#   whole_employer  the finding concerns all records of the employer, no one line
Finding = collections.namedtuple("Finding", "code severity line lines more_lines employer employee field value "
                                            "expected description whole_employer")
# The totals of a check; read_to_end: the input was read to its end.
Totals = collections.namedtuple("Totals", "errors warnings warnings_not_reported read_to_end")


class Result:
    """The findings of a check and its totals."""

    def __init__(self):
        self.findings = []
        self.totals = None

    @property
    def passed(self) -> bool:
        """No error (warnings allowed)."""
        return self.totals is not None and self.totals.errors == 0


def version() -> str:
    return lib.tavon_version().decode("utf-8")


def _raise_unless_ok(status: int, error: _native.Error) -> None:
    if status != 0:
        raise TavonError(status, error.message.decode("utf-8", "replace"))


def _path_bytes(path) -> bytes:
    return os.fsencode(path)


class Data:
    """A data set (code lists, registers, tariffs) from the files of a folder; kept while in use."""

    def __init__(self, folder):
        self._handle = ctypes.c_void_p()
        error = _native.Error()
        _raise_unless_ok(lib.tavon_data_load_folder(_path_bytes(folder), ctypes.byref(self._handle),
                                                    ctypes.byref(error)), error)

    def describe(self) -> str:
        return lib.tavon_data_describe(self._handle).decode("utf-8")

    def __del__(self):
        if getattr(self, "_handle", None):
            lib.tavon_data_free(self._handle)
            self._handle = None


def _text(b) -> str:
    return b.decode("utf-8") if b else ""


def _finding(f: _native.FindingStruct) -> Finding:
    return Finding(f.code.decode("ascii"), f.severity.decode("ascii"), f.line or None,
                   tuple(f.lines[i] for i in range(f.line_count)), bool(f.more_lines), _text(f.employer),
                   _text(f.employee), _text(f.field), _text(f.value), _text(f.expected),
                   _text(f.description), bool(f.whole_employer))


def format_for(report_name) -> int:
    """The format a report name gives, as for the command: its ending; HTML when none is known."""
    base = os.path.basename(os.fsdecode(report_name)).rsplit("\\", 1)[-1]
    ending = base.rsplit(".", 1)[1].lower() if "." in base else ""
    return FORMATS.get(ending, 0)


class Check:
    """One check fed in pieces: `feed(bytes)` as they arrive, then `finish()` for the totals.

    `on_finding(finding)` is called for every finding in the order of reading; returning True
    from it stops the check (TavonError "stopped"). Reports are added before the first feed."""

    def __init__(self, warnings: bool = True, data=None,
                 on_finding=None):
        if data is not None and not isinstance(data, Data):
            data = Data(data)
        self._data = data  # kept alive as long as the check
        self._on_finding = on_finding
        self._callback_error = None
        self._writers = []  # the write callbacks, kept alive as long as the check
        options = _native.OptionsStruct()
        options.report_warnings = 1 if warnings else 0
        options.data = data._handle if data is not None else None
        self._finding_callback = _native.FINDING_CALLBACK(self._deliver)
        options.on_finding = self._finding_callback if on_finding else _native.FINDING_CALLBACK()
        self._handle = ctypes.c_void_p()
        error = _native.Error()
        _raise_unless_ok(lib.tavon_check_new(ctypes.byref(options), ctypes.byref(self._handle),
                                             ctypes.byref(error)), error)

    def _deliver(self, _context, finding_pointer) -> int:
        try:
            return 1 if self._on_finding(_finding(finding_pointer.contents)) else 0
        except BaseException as e:  # no exception may cross the C library
            self._callback_error = e
            return 1

    def _call(self, function, *args) -> None:
        error = _native.Error()
        status = function(self._handle, *args, ctypes.byref(error))
        if self._callback_error is not None:
            raised, self._callback_error = self._callback_error, None
            raise raised
        _raise_unless_ok(status, error)

    def add_report(self, report, format=None, name=None):
        """A report written as the check goes: to a file (in place when finished well), or to a
        binary stream such as an open file or io.BytesIO. `name` is the document name its header
        shows. The format is "htm", "txt", "csv", "xml" or "json"; by default the file's ending."""
        if format is None:
            format = format_for(report) if isinstance(report, (str, bytes, os.PathLike)) else 0
        code = FORMATS[format] if isinstance(format, str) else int(format)
        shown = (name or "").encode("utf-8")
        if isinstance(report, (str, bytes, os.PathLike)):
            self._call(lib.tavon_check_add_report_file, code, _path_bytes(report), shown)
            return
        def write(_context, data, size, stream=report):
            try:
                stream.write(ctypes.string_at(data, size))
                return 0
            except BaseException as e:
                self._callback_error = e
                return 1
        writer = _native.WRITE_CALLBACK(write)
        self._writers.append(writer)
        self._call(lib.tavon_check_add_report_callback, code, writer, None, shown)

    def feed(self, piece: bytes) -> None:
        piece = bytes(piece)
        self._call(lib.tavon_check_feed, piece, len(piece))

    def feed_file(self, path) -> None:
        self._call(lib.tavon_check_feed_file, _path_bytes(path))

    def next_document(self) -> None:
        """The document fed so far is complete; the next is its continuation (files of a list)."""
        self._call(lib.tavon_check_next_document)

    def finish(self) -> Totals:
        totals = _native.TotalsStruct()
        self._call(lib.tavon_check_finish, ctypes.byref(totals))
        return Totals(totals.errors, totals.warnings, totals.warnings_not_reported, bool(totals.read_to_end))

    def close(self) -> None:
        if getattr(self, "_handle", None):  # also for a check whose making failed
            lib.tavon_check_free(self._handle)
            self._handle = ctypes.c_void_p()

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def __del__(self):
        self.close()


def _feed_document(check: Check, document) -> None:
    if isinstance(document, (bytes, bytearray, memoryview)):
        view = memoryview(document).cast("B")
        for start in range(0, len(view), _PIECE):
            check.feed(view[start:start + _PIECE])
    else:
        check.feed_file(document)


def check(document, warnings: bool = True, data=None) -> Result:
    """Checks a document (a path, or its bytes) and returns its findings and totals."""
    result = Result()
    with Check(warnings=warnings, data=data, on_finding=result.findings.append) as c:
        _feed_document(c, document)
        result.totals = c.finish()
    return result


def write_report(document, report, format=None, warnings: bool = True, data=None, name=None):
    """Checks a document (a path, or its bytes) into a report (a path, or a binary stream), as
    `belun DOCUMENT REPORT` does; `name` is the document name the report shows (by default the
    path as given, or "" for bytes). Returns the totals."""
    if name is None:
        name = os.fsdecode(document) if isinstance(document, (str, os.PathLike)) else ""
    with Check(warnings=warnings, data=data) as c:
        c.add_report(report, format=format, name=name)
        _feed_document(c, document)
        return c.finish()
