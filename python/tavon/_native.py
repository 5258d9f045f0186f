"""The C interface of libtavon, declared for ctypes (include/tavon/c_api.h)."""
import ctypes
import os
import sys
from ctypes import (CFUNCTYPE, POINTER, Structure, c_char, c_char_p, c_int, c_int64, c_size_t,
                    c_uint64, c_void_p)


class Error(Structure):
    _fields_ = [("status", c_int), ("message", c_char * 512)]


class FindingStruct(Structure):
    _fields_ = [
        ("code", c_char_p),
        ("severity", c_char),
        ("line", c_uint64),
        ("lines", POINTER(c_uint64)),
        ("line_count", c_size_t),
        ("more_lines", c_int),
        ("employer", c_char_p),
        ("employee", c_char_p),
        ("field", c_char_p),
        ("value", c_char_p),
        ("expected", c_char_p),
        ("description", c_char_p),
        ("whole_employer", c_int),
    ]


class TotalsStruct(Structure):
    _fields_ = [("errors", c_int64), ("warnings", c_int64), ("warnings_not_reported", c_int64),
                ("read_to_end", c_int)]


FINDING_CALLBACK = CFUNCTYPE(c_int, c_void_p, POINTER(FindingStruct))
WRITE_CALLBACK = CFUNCTYPE(c_int, c_void_p, c_void_p, c_size_t)


class OptionsStruct(Structure):
    _fields_ = [("report_warnings", c_int), ("data", c_void_p), ("on_finding", FINDING_CALLBACK),
                ("context", c_void_p)]


def _library_path():
    """The library beside this module (as installed by pip), else TAVON_LIBRARY, else the system's."""
    given = os.environ.get("TAVON_LIBRARY")
    if given:
        return given
    here = os.path.dirname(os.path.abspath(__file__))
    for name in ("libtavon.so.1", "tavon.dll", "libtavon.1.dylib"):
        if os.path.exists(os.path.join(here, name)):
            return os.path.join(here, name)
    return "tavon.dll" if sys.platform == "win32" else "libtavon.so.1"


def _declare(lib):
    def fn(name, result, *args):
        f = getattr(lib, name)
        f.restype = result
        f.argtypes = list(args)

    ERR = POINTER(Error)
    fn("tavon_version", c_char_p)
    fn("tavon_data_load_folder", c_int, c_char_p, POINTER(c_void_p), ERR)
    fn("tavon_data_describe", c_char_p, c_void_p)
    fn("tavon_data_free", None, c_void_p)
    fn("tavon_check_new", c_int, POINTER(OptionsStruct), POINTER(c_void_p), ERR)
    fn("tavon_check_add_report_file", c_int, c_void_p, c_int, c_char_p, c_char_p, ERR)
    fn("tavon_check_add_report_callback", c_int, c_void_p, c_int, WRITE_CALLBACK, c_void_p, c_char_p, ERR)
    fn("tavon_check_feed", c_int, c_void_p, c_char_p, c_size_t, ERR)
    fn("tavon_check_feed_file", c_int, c_void_p, c_char_p, ERR)
    fn("tavon_check_next_document", c_int, c_void_p, ERR)
    fn("tavon_check_finish", c_int, c_void_p, POINTER(TotalsStruct), ERR)
    fn("tavon_check_free", None, c_void_p)
    return lib


lib = _declare(ctypes.CDLL(_library_path()))
