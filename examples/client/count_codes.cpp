// An example program on the validator library: checks a DUV document and prints how many
// findings it has of each error code, then the totals.
#include <tavon/tavon.h>

#include <cstdio>
#include <map>
#include <string>

class CountPerCode : public tavon::FindingSink {
  public:
    void finding(const tavon::Finding& f) override { ++counts[std::string(f.code)]; }
    std::map<std::string, int> counts;
};

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: count_codes DOCUMENT\n");
        return 2;
    }
    tavon::OpenError why;
    tavon::FilePtr file = tavon::open_input_file(argv[1], why);
    if (!file) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    tavon::FileSource source(std::move(file), argv[1]);
    CountPerCode sink;
    const tavon::Result result = tavon::Validator().run(source, sink);
    for (const auto& [code, n] : sink.counts) std::printf("%s %d\n", code.c_str(), n);
    std::printf("E %lld W %lld\n", result.totals.errors, result.totals.warnings);
    return 0;
}
