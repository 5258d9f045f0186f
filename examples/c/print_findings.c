/* Checks a DUV document through the C interface of the shared library and prints each finding on a
 * line (code, severity, line, one person's lines, employer, employee, field, value, expected),
 * tab-separated in UTF-8, then the totals.
 *
 *   cc print_findings.c $(pkg-config --cflags --libs tavon) -o print_findings */
#include <stdio.h>
#include <tavon/c_api.h>

static int print_finding(void* context, const tavon_finding* f) {
    size_t i;
    (void)context;
    printf("%s\t%c\t", f->code, f->severity);
    if (f->line) printf("%llu", (unsigned long long)f->line);
    if (f->whole_employer) putchar('*'); /* all the employer's records */
    putchar('\t');
    for (i = 0; i < f->line_count; ++i) printf("%s%llu", i ? "," : "", (unsigned long long)f->lines[i]);
    printf("%s\t%s\t%s\t%s\t%s\t%s\n", f->more_lines ? "+" : "", f->employer, f->employee, f->field,
           f->value, f->expected);
    return 0; /* anything else stops the check */
}

int main(int argc, char** argv) {
    tavon_options options = tavon_default_options();
    tavon_check* check = NULL;
    tavon_error error;
    tavon_totals totals;
    if (argc != 2) {
        fprintf(stderr, "usage: print_findings DOCUMENT\n");
        return 2;
    }
    options.on_finding = print_finding;
    if (tavon_check_new(&options, &check, &error) != TAVON_OK ||
        tavon_check_feed_file(check, argv[1], &error) != TAVON_OK ||
        tavon_check_finish(check, &totals, &error) != TAVON_OK) {
        fprintf(stderr, "print_findings: %s\n", error.message);
        tavon_check_free(check);
        return 13;
    }
    printf("E %lld W %lld\n", (long long)totals.errors, (long long)totals.warnings);
    tavon_check_free(check);
    return 0;
}
