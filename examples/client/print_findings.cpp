// An example program on the validator library: feeds a DUV document to a check in pieces, as a
// program receiving it over a network would, and prints each finding in UTF-8, then the totals.
#include <tavon/tavon.h>

#include <cstdio>

class PrintFindings : public tavon::FindingSink {
  public:
    void finding(const tavon::Finding& f) override {
        const std::string_view code = tavon::name(f.code);
        std::printf("%.*s\t%llu\t%s\t%s\t%s\n", static_cast<int>(code.size()), code.data(),
                    static_cast<unsigned long long>(f.line), f.field.utf8().c_str(), f.value.utf8().c_str(),
                    f.description_utf8().c_str());
    }
};

int main(int argc, char** argv) {
    std::FILE* file = argc == 2 ? std::fopen(argv[1], "rb") : nullptr;
    if (!file) {
        std::fprintf(stderr, "usage: print_findings DOCUMENT (a readable file)\n");
        return 2;
    }
    PrintFindings printer;
    tavon::Check check(printer);
    char piece[4096];
    while (std::size_t n = std::fread(piece, 1, sizeof piece, file)) check.feed(piece, n);
    std::fclose(file);
    const tavon::Totals totals = check.finish();
    std::printf("E %lld W %lld\n", totals.errors, totals.warnings);
}
