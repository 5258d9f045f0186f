// An example program on the validator library: feeds a DUV document to a check in pieces, as a
// program receiving it over a network would, and prints each finding in UTF-8, then the totals.
#include <tavon/tavon.h>

#include <cstdio>

class PrintFindings : public tavon::FindingSink {
  public:
    void finding(const tavon::Finding& f) override {
        std::printf("%.*s\t%.*s\t%s\t%s\t%s\n", static_cast<int>(f.code.size()), f.code.data(),
                    static_cast<int>(f.line.size()), f.line.data(), tavon::to_utf8(f.field).c_str(),
                    tavon::to_utf8(f.value).c_str(), tavon::to_utf8(f.description).c_str());
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
