// A buffered output text file: every "\n" is written as CR LF, cell texts can be escaped
// for HTML/XML or quoted for CSV, and a failed write is remembered rather than lost.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavon {

class VystupniSoubor {
  public:
    VystupniSoubor() = default;
    VystupniSoubor(const VystupniSoubor&) = delete;
    VystupniSoubor& operator=(const VystupniSoubor&) = delete;
    ~VystupniSoubor();

    // Creates or empties the file; false when it cannot be opened.
    bool otevri(const std::string& jmeno);
    bool otevreny() const { return f_ != nullptr; }

    // Text as it stands, line ends written as CR LF.
    void pis(std::string_view text);
    // A cell text for HTML: &, < and > become entities.
    void pis_html(std::string_view text);
    // An element text for XML: as for HTML, and control characters other than tab and line ends,
    // which no XML document may hold, become "?".
    void pis_xml(std::string_view text);
    // A CSV field: quoted when it holds ; " CR or LF.
    void pis_csv(std::string_view text);
    // Right-aligned in a field of at least `sirka` characters, like printf's "%*s".
    void pis_vpravo(std::string_view text, int sirka);
    void pis_int(long long n);

    // Flushes and closes; false when any write or the close failed.
    bool zavri();
    const std::string& jmeno() const { return jmeno_; }

  private:
    void znak(char c) {
        if (n_ == buf_.size()) vyprazdni();
        buf_[n_++] = c;
    }
    void kus(std::string_view s);
    void pis_znacky(std::string_view text, bool xml);
    void vyprazdni();

    std::FILE* f_ = nullptr;
    std::string jmeno_;
    std::vector<char> buf_;
    std::size_t n_ = 0;
    bool chyba_ = false;
};

}  // namespace tavon
