/* Checks one document through the C interface, as a program in C would, and writes what it got:
 * the reports in all five formats (PREFIX.htm .txt .csv .xml .json) and, on standard output, one
 * line per finding (tab-separated, UTF-8) and the totals. The test scripts compare both with what
 * the belun command writes for the same document (c_api_test.py; under wine, windows_test.sh).
 *
 *   c_check [-w] [-d DATA-FOLDER] [-f] [-s SEED] DOCUMENT NAME PREFIX
 *
 * -f: the file fed by tavon_check_feed_file, and the reports that go to files and those that go to
 * write callbacks swapped; otherwise the bytes fed in pieces of sizes from 1 byte to 64 KiB drawn
 * from SEED. NAME is the document's name that the reports' headers show. Exit code 0, or 1 with a
 * message when a call fails. Portable C99: it runs under Linux and, built with MinGW, under wine. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tavon/c_api.h"

static const char* const extensions[] = {"htm", "txt", "csv", "xml", "json"};

static int write_bytes(void* context, const char* bytes, size_t size) {
    return fwrite(bytes, 1, size, (FILE*)context) == size ? 0 : 1;
}

static void print_text(const char* text) {
    for (; *text; ++text) putchar(*text == '\t' || *text == '\n' || *text == '\r' ? ' ' : *text);
}

static int print_finding(void* context, const tavon_finding* f) {
    size_t i;
    (void)context;
    printf("%s\t%c\t%llu\t", f->code, f->severity, (unsigned long long)f->line);
    for (i = 0; i < f->line_count; ++i) printf(i ? ",%llu" : "%llu", (unsigned long long)f->lines[i]);
    printf("%s", f->more_lines ? ",..." : "");
    printf("\t");
    print_text(f->employer);
    printf("\t");
    print_text(f->employee);
    printf("\t");
    print_text(f->field);
    printf("\t");
    print_text(f->value);
    printf("\t");
    print_text(f->expected);
    printf("\t");
    print_text(f->description);
    printf("\n");
    return 0;
}

static int failed(const char* what, const tavon_error* error) {
    fprintf(stderr, "c_check: %s: status %d: %s\n", what, (int)error->status, error->message);
    return 1;
}

/* The pieces: sizes from a small linear congruential generator, mostly short, now and then long. */
static tavon_status feed_in_pieces(tavon_check* check, const char* path, unsigned long seed,
                                   tavon_error* error) {
    static char buffer[1 << 16];
    FILE* file = fopen(path, "rb");
    size_t size, n;
    tavon_status status = TAVON_OK;
    if (!file) {
        strcpy(error->message, "the document cannot be opened");
        return error->status = TAVON_NOT_FOUND;
    }
    for (;;) {
        seed = (seed * 1103515245ul + 12345ul) & 0x7FFFFFFFul;
        size = (seed >> 8) % 8 == 0 ? 1 + (seed >> 4) % sizeof buffer : 1 + (seed >> 4) % 97;
        n = fread(buffer, 1, size, file);
        if (n == 0) break;
        if ((status = tavon_check_feed(check, buffer, n, error)) != TAVON_OK) break;
    }
    fclose(file);
    return status;
}

int main(int argc, char** argv) {
    tavon_options options = tavon_default_options();
    tavon_data* data = NULL;
    tavon_check* check = NULL;
    tavon_error error;
    tavon_totals totals;
    FILE* streams[5] = {NULL, NULL, NULL, NULL, NULL};
    char path[4096];
    int whole_file = 0, i, at = 1, code = 0;
    unsigned long seed = 1;

    for (; at < argc && argv[at][0] == '-'; ++at) {
        if (strcmp(argv[at], "-w") == 0)
            options.report_warnings = 0;
        else if (strcmp(argv[at], "-f") == 0)
            whole_file = 1;
        else if (strcmp(argv[at], "-s") == 0 && at + 1 < argc)
            seed = strtoul(argv[++at], NULL, 10);
        else if (strcmp(argv[at], "-d") == 0 && at + 1 < argc) {
            if (tavon_data_load_folder(argv[++at], &data, &error) != TAVON_OK) return failed("data", &error);
        } else
            break;
    }
    if (argc - at != 3) {
        fprintf(stderr, "usage: c_check [-w] [-d DATA-FOLDER] [-f] [-s SEED] DOCUMENT NAME PREFIX\n");
        return 2;
    }
    options.data = data;
    options.on_finding = print_finding;
    if (tavon_check_new(&options, &check, &error) != TAVON_OK) return failed("tavon_check_new", &error);
    for (i = 0; i < 5 && code == 0; ++i) {
        int to_file = (i % 2 == 0) != whole_file; /* html, csv, json to files; txt, xml to callbacks */
        sprintf(path, "%.4000s.%s", argv[at + 2], extensions[i]);
        if (to_file) {
            if (tavon_check_add_report_file(check, (tavon_report_format)i, path, argv[at + 1], &error) !=
                TAVON_OK)
                code = failed(path, &error);
        } else if ((streams[i] = fopen(path, "wb")) == NULL) {
            fprintf(stderr, "c_check: %s cannot be written\n", path);
            code = 1;
        } else if (tavon_check_add_report_callback(check, (tavon_report_format)i, write_bytes, streams[i],
                                                   argv[at + 1], &error) != TAVON_OK) {
            code = failed(path, &error);
        }
    }
    if (code == 0) {
        if (whole_file ? tavon_check_feed_file(check, argv[at], &error) != TAVON_OK
                       : feed_in_pieces(check, argv[at], seed, &error) != TAVON_OK)
            code = failed("feed", &error);
    }
    if (code == 0 && tavon_check_finish(check, &totals, &error) != TAVON_OK) code = failed("finish", &error);
    if (code == 0)
        printf("totals\t%lld\t%lld\t%lld\t%d\n", (long long)totals.errors, (long long)totals.warnings,
               (long long)totals.warnings_not_reported, totals.read_to_end);
    for (i = 0; i < 5; ++i)
        if (streams[i] && fclose(streams[i]) != 0) code = 1;
    tavon_check_free(check);
    tavon_data_free(data);
    return code;
}
