// The input split into two files named by a list file: the files of a list are read as one
// text, so the reports and the output file must be those of the joined document. Only the findings
// that judge each file on its own, as each file was saved on its own, may differ: the encoding
// (ES310) and content after the root's end within the same file (ES313).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/properties.h"

namespace {

tavon::fuzz::ReportContents without_per_file_findings(tavon::fuzz::ReportContents o) {
    o.errors -= static_cast<long>(
        std::erase_if(o.rows, [](const tavon::fuzz::Row& r) { return r[1] == "ES310" || r[1] == "ES313"; }));
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavon::fuzz;
    if (size < 2) return 0;
    prepare_scratch_dir();
    // The first two bytes choose where the rest is cut in two.
    const std::string_view whole(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t cut = (static_cast<std::size_t>(data[0]) << 8 | data[1]) % (whole.size() + 1);
    const std::string first = scratch_path("a.xml");
    write_file(first, whole.substr(0, cut));
    write_file(scratch_path("b.xml"), whole.substr(cut));
    write_file(scratch_path("l.txt"), first + "\r\n" + scratch_path("b.xml") + "\r\n");
    write_file(scratch_path("c.xml"), whole);

    std::string joined_copy;
    const ReportContents joined = check_all_formats(scratch_path("c.xml"), data[0], &joined_copy);

    const std::string list = "@" + scratch_path("l.txt");
    const RunResult csv = run_belun({list, scratch_path("s.csv"), scratch_path("s.xml")},
                                    scratch_path("s.csv"), scratch_path("s.xml"));
    const ReportContents o = check_csv(csv.report);
    check_same(without_per_file_findings(joined), without_per_file_findings(o),
               "list against joined document (CSV)");
    check_console(csv.console, o);
    if (csv.copy != joined_copy) fail("output file of the list differs from the joined document's");

    const RunResult xml = run_belun({list, scratch_path("s.xml")}, scratch_path("s.xml"), "");
    const ReportContents ox = check_xml(xml.report);
    if (ox.rows.size() != o.rows.size() || ox.errors != o.errors || ox.warnings != o.warnings)
        fail("list: XML report differs from the CSV report");
    if (xml.report.find("<Soubor>" + first + "</Soubor>") == std::string::npos)
        fail("list: header names no first file");
    return 0;
}
