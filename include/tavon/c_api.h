/* The validator's C interface, for programs in any language that can call C: C#, Delphi, Java,
 * Python and C itself, through the shared library (libtavon.so.1, tavon.dll).
 *
 *     tavon_check* check;
 *     tavon_error error;
 *     tavon_options options = tavon_default_options();
 *     options.on_finding = print_finding;                      (optional)
 *     if (tavon_check_new(&options, &check, &error) != TAVON_OK) ... error.message ...
 *     tavon_check_add_report_file(check, TAVON_REPORT_HTML, "chyby.htm", "duv.xml", &error);
 *     while ((n = fread(piece, 1, sizeof piece, file)) > 0) tavon_check_feed(check, piece, n, &error);
 *     tavon_totals totals;
 *     tavon_check_finish(check, &totals, &error);
 *     tavon_check_free(check);
 *
 * Every function that can fail returns a tavon_status and, when `error` is not NULL, fills it
 * with the status and a message in UTF-8. Texts handed out are UTF-8 and NUL-terminated. No
 * function keeps global state: two checks in two threads never meet. Nothing here throws, prints
 * or ends the process. */
#ifndef TAVON_C_API_H
#define TAVON_C_API_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(TAVON_BUILDING_SHARED)
#define TAVON_C __declspec(dllexport)
#elif defined(TAVON_USING_SHARED)
#define TAVON_C __declspec(dllimport)
#else
#define TAVON_C
#endif
#else
#define TAVON_C __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum tavon_status {
    TAVON_OK = 0,
    TAVON_NOT_FOUND = 1,        /* the file does not exist */
    TAVON_FOLDER_MISSING = 2,   /* a folder on its path does not exist */
    TAVON_ACCESS_DENIED = 3,    /* no permission */
    TAVON_IS_FOLDER = 4,        /* a folder was named where a file belongs */
    TAVON_NOT_REGULAR_FILE = 5, /* a pipe, a device or anything else that is not a plain file */
    TAVON_IN_USE = 6,           /* open in another program (Windows) */
    TAVON_DISK_FULL = 7,        /* no space left on the device */
    TAVON_TOO_LARGE = 8,        /* a data file larger than any real one */
    TAVON_BAD_DATA = 9,         /* a data file breaks its format (the message says where and how) */
    TAVON_STOPPED = 10,         /* a callback asked to stop: the check ended there */
    TAVON_MISUSE = 11,          /* a null argument, a feed after the finish, an unknown format */
    TAVON_FAILED = 12           /* anything else, e.g. out of memory */
} tavon_status;

typedef struct tavon_error {
    tavon_status status;
    char message[512]; /* UTF-8, NUL-terminated; cut at a character boundary when longer */
} tavon_error;

/* One finding, valid only during the callback that receives it. */
typedef struct tavon_finding {
    const char* code;        /* e.g. "EL051" */
    char severity;           /* 'E' error or 'W' warning */
    uint64_t line;           /* the line of the input; 0 when there is none */
    const uint64_t* lines;   /* for one person's records: the line of each (the first six); else NULL */
    size_t line_count;       /* how many `lines` holds */
    int more_lines;          /* the person has more records than `lines` lists */
    const char* employer;    /* the employer's IČO (with "/" and the facility code when given), or "" */
    const char* employee;    /* the employee's identifier, or "" */
    const char* field;       /* the element concerned, e.g. "AA0138", or "" */
    const char* value;       /* the value found, or a figure computed from it, or "" */
    const char* expected;    /* what was expected: a limit, a length, a range, a figure, or "" */
    const char* description; /* the Czech description of the code */
    int whole_employer;      /* the finding concerns all records of the employer, no one line */
} tavon_finding;

/* Called for every finding, in the order of reading. Returns 0 to go on; anything else stops the
 * check, which then fails with TAVON_STOPPED. */
typedef int (*tavon_finding_callback)(void* context, const tavon_finding* finding);
/* Receives report bytes. Returns 0 when they were written; anything else makes the report fail. */
typedef int (*tavon_write_callback)(void* context, const char* bytes, size_t size);

typedef struct tavon_totals {
    int64_t errors;                /* findings whose code begins with E */
    int64_t warnings;              /* findings whose code begins with W, delivered or not */
    int64_t warnings_not_reported; /* of those, left out because report_warnings was 0 */
    int read_to_end;               /* 1: the input was read to its end (tavon_check_finish) */
} tavon_totals;

typedef enum tavon_report_format {
    TAVON_REPORT_HTML = 0,
    TAVON_REPORT_TEXT = 1,
    TAVON_REPORT_CSV = 2,
    TAVON_REPORT_XML = 3,
    TAVON_REPORT_JSON = 4 /* UTF-8, the findings as data (docs/report.schema.json) */
} tavon_report_format;

typedef struct tavon_data tavon_data;   /* code lists, registers and tariffs */
typedef struct tavon_check tavon_check; /* one check of one document (or of the files of a list) */

typedef struct tavon_options {
    int report_warnings;               /* 0: warnings are counted, not delivered nor written */
    const tavon_data* data;            /* NULL: the built-in set; must outlive the check */
    tavon_finding_callback on_finding; /* NULL: none */
    void* context;                     /* handed to on_finding */
} tavon_options;

/* The library's version, e.g. "0.9". */
TAVON_C const char* tavon_version(void);

/* Options with warnings reported, the built-in data set and no callback. */
TAVON_C tavon_options tavon_default_options(void);

/* A data set from the files of a folder (see the manual page: kzam.txt, predkladatele.txt, ...). */
TAVON_C tavon_status tavon_data_load_folder(const char* folder, tavon_data** data, tavon_error* error);
/* A data set from files in memory: `count` names with their bytes and sizes. */
TAVON_C tavon_status tavon_data_load_files(const char* const* names, const char* const* bytes,
                                           const size_t* sizes, size_t count, tavon_data** data,
                                           tavon_error* error);
/* One line in UTF-8 that names the set (NULL: the built-in set), valid as long as the set. */
TAVON_C const char* tavon_data_describe(const tavon_data* data);
TAVON_C void tavon_data_free(tavon_data* data);

/* `options` NULL: tavon_default_options(). */
TAVON_C tavon_status tavon_check_new(const tavon_options* options, tavon_check** check, tavon_error* error);
/* A report the check writes as it goes, to a file (replaced only when finished well) or to a
 * callback. Before the first feed. `document_name` (UTF-8) is the name its header shows. */
TAVON_C tavon_status tavon_check_add_report_file(tavon_check* check, tavon_report_format format,
                                                 const char* path, const char* document_name,
                                                 tavon_error* error);
TAVON_C tavon_status tavon_check_add_report_callback(tavon_check* check, tavon_report_format format,
                                                     tavon_write_callback write, void* context,
                                                     const char* document_name, tavon_error* error);
/* The next piece of the document, of any size. */
TAVON_C tavon_status tavon_check_feed(tavon_check* check, const void* bytes, size_t size, tavon_error* error);
/* The whole of a file, fed in pieces. */
TAVON_C tavon_status tavon_check_feed_file(tavon_check* check, const char* path, tavon_error* error);
/* The document fed so far is complete; another follows as its continuation (files of a list). */
TAVON_C tavon_status tavon_check_next_document(tavon_check* check, tavon_error* error);
/* The end of the input: the last findings, the reports finished (and their files in place).
 * `totals` may be NULL. */
TAVON_C tavon_status tavon_check_finish(tavon_check* check, tavon_totals* totals, tavon_error* error);
/* Frees the check; reports of an unfinished check are thrown away. NULL is allowed. */
TAVON_C void tavon_check_free(tavon_check* check);

#ifdef __cplusplus
}
#endif

#endif /* TAVON_C_API_H */
