/* The statuses and messages of the C interface: misuse, a callback that stops the check, a write
 * callback that refuses, files that cannot be read or must not be replaced, a broken data set.
 * Run under valgrind too (ctest c_api.statuses_valgrind): a check stopped midway frees everything.
 *
 *   c_api_status_test EXAMPLES-FOLDER SCRATCH-FOLDER */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tavon/c_api.h"

static int failures = 0;

#define EXPECT(condition)                                                           \
    do {                                                                            \
        if (!(condition)) {                                                         \
            fprintf(stderr, "%s:%d: FAILED: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                             \
        }                                                                           \
    } while (0)

static char document[1 << 16]; /* duv-chyby.xml: 30 findings */
static size_t document_size;

static int stop_at_third(void* context, const tavon_finding* f) {
    int* seen = (int*)context;
    (void)f;
    return ++*seen == 3;
}

static int refuse_bytes(void* context, const char* bytes, size_t size) {
    (void)context, (void)bytes, (void)size;
    return 1;
}

static int count_bytes(void* context, const char* bytes, size_t size) {
    (void)bytes;
    *(size_t*)context += size;
    return 0;
}

static void write_file(const char* path, const char* text) {
    FILE* f = fopen(path, "wb");
    if (f) {
        fputs(text, f);
        fclose(f);
    }
}

/* A callback asks to stop at the third finding, in the middle of a feed: the check ends there,
 * later calls say so, the report file is not written, and everything is freed. */
static void stop_midway(const char* scratch) {
    tavon_options options = tavon_default_options();
    tavon_check* check;
    tavon_error error;
    tavon_totals totals;
    char report[4096];
    int seen = 0;
    size_t written = 0;
    sprintf(report, "%.4000s/stopped.htm", scratch);
    options.on_finding = stop_at_third;
    options.context = &seen;
    EXPECT(tavon_check_new(&options, &check, &error) == TAVON_OK);
    EXPECT(tavon_check_add_report_file(check, TAVON_REPORT_HTML, report, "duv.xml", &error) == TAVON_OK);
    EXPECT(tavon_check_add_report_callback(check, TAVON_REPORT_JSON, count_bytes, &written, "duv.xml",
                                           &error) == TAVON_OK);
    EXPECT(tavon_check_feed(check, document, document_size, &error) == TAVON_STOPPED);
    EXPECT(error.status == TAVON_STOPPED && error.message[0] != '\0');
    EXPECT(seen == 3);
    EXPECT(tavon_check_feed(check, document, 10, &error) == TAVON_STOPPED);
    EXPECT(tavon_check_finish(check, &totals, &error) == TAVON_STOPPED);
    EXPECT(totals.read_to_end == 0 && totals.errors + totals.warnings == 3);
    EXPECT(seen == 3);
    tavon_check_free(check);
    EXPECT(fopen(report, "rb") == NULL);
}

static void misuse(void) {
    tavon_check* check;
    tavon_error error;
    tavon_totals totals;
    EXPECT(tavon_check_new(NULL, NULL, &error) == TAVON_MISUSE);
    EXPECT(tavon_check_feed(NULL, "x", 1, &error) == TAVON_MISUSE);
    EXPECT(tavon_check_new(NULL, &check, NULL) == TAVON_OK); /* the default options */
    EXPECT(tavon_check_feed(check, NULL, 5, &error) == TAVON_MISUSE);
    EXPECT(tavon_check_add_report_callback(check, (tavon_report_format)7, count_bytes, NULL, "d", &error) ==
           TAVON_MISUSE);
    EXPECT(tavon_check_add_report_callback(check, TAVON_REPORT_CSV, NULL, NULL, "d", &error) == TAVON_MISUSE);
    EXPECT(tavon_check_feed(check, document, 100, &error) == TAVON_OK);
    EXPECT(tavon_check_add_report_callback(check, TAVON_REPORT_CSV, count_bytes, NULL, "d", &error) ==
           TAVON_MISUSE);
    EXPECT(tavon_check_feed(check, document + 100, document_size - 100, &error) == TAVON_OK);
    EXPECT(tavon_check_finish(check, &totals, &error) == TAVON_OK);
    EXPECT(totals.errors == 21 && totals.warnings == 9 && totals.read_to_end == 1);
    EXPECT(tavon_check_feed(check, document, 1, &error) == TAVON_MISUSE);
    EXPECT(tavon_check_finish(check, NULL, &error) == TAVON_MISUSE);
    tavon_check_free(check);
    tavon_check_free(NULL);
}

/* Files: a missing document, a report over a file that is no report, a refusing write callback,
 * warnings counted but not delivered. */
static void files(const char* scratch) {
    tavon_options options = tavon_default_options();
    tavon_check* check;
    tavon_error error;
    tavon_totals totals;
    char path[4096];
    options.report_warnings = 0;
    EXPECT(tavon_check_new(&options, &check, &error) == TAVON_OK);
    sprintf(path, "%.4000s/missing.xml", scratch);
    EXPECT(tavon_check_feed_file(check, path, &error) == TAVON_NOT_FOUND);
    EXPECT(strstr(error.message, "missing.xml") != NULL &&
           strstr(error.message, "soubor neexistuje") != NULL);
    sprintf(path, "%.4000s/letter.txt", scratch);
    write_file(path, "Dear office,\n");
    EXPECT(tavon_check_add_report_file(check, TAVON_REPORT_TEXT, path, "duv.xml", &error) == TAVON_FAILED);
    EXPECT(strstr(error.message, "není protokolem") != NULL);
    EXPECT(tavon_check_add_report_callback(check, TAVON_REPORT_XML, refuse_bytes, NULL, "duv.xml", &error) ==
           TAVON_OK);
    EXPECT(tavon_check_feed(check, document, document_size, &error) == TAVON_OK);
    EXPECT(tavon_check_finish(check, &totals, &error) == TAVON_FAILED);
    EXPECT(totals.errors == 21 && totals.warnings == 9 && totals.warnings_not_reported == 9);
    tavon_check_free(check);
}

static void data_sets(const char* scratch) {
    const char* names[] = {"kzam.txt"};
    const char* bytes[] = {"this is no occupation list\n"};
    size_t sizes[1];
    tavon_data* data = NULL;
    tavon_error error;
    char folder[4096];
    sizes[0] = strlen(bytes[0]);
    EXPECT(tavon_data_load_files(names, bytes, sizes, 1, &data, &error) == TAVON_BAD_DATA);
    EXPECT(data == NULL && strstr(error.message, "kzam.txt") != NULL);
    EXPECT(tavon_data_load_files(NULL, NULL, NULL, 0, &data, &error) == TAVON_OK);
    EXPECT(strstr(tavon_data_describe(NULL), "vestavěná") != NULL); /* UTF-8, not Windows-1250 */
    EXPECT(strstr(tavon_data_describe(data), "data ze složky") != NULL);
    tavon_data_free(data);
    sprintf(folder, "%.4000s/no-such-folder", scratch);
    EXPECT(tavon_data_load_folder(folder, &data, &error) != TAVON_OK && data == NULL);
    EXPECT(strlen(tavon_version()) > 0);
}

int main(int argc, char** argv) {
    char path[4096];
    FILE* f;
    if (argc != 3) return 2;
    sprintf(path, "%.4000s/duv-chyby.xml", argv[1]);
    f = fopen(path, "rb");
    if (!f) return 2;
    document_size = fread(document, 1, sizeof document, f);
    fclose(f);
    stop_midway(argv[2]);
    misuse();
    files(argv[2]);
    data_sets(argv[2]);
    if (failures == 0) printf("c_api_status_test: all passed\n");
    return failures ? 1 : 0;
}
