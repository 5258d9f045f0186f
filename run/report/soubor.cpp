#include "run/report/soubor.h"

#include <cstring>

namespace tavon {
namespace {

bool potrebuje_uvozovky(std::string_view text) {
    if (text.size() < 32) {
        for (char c : text)
            if (c == ';' || c == '"' || c == '\r' || c == '\n') return true;
        return false;
    }
    for (char c : {';', '"', '\r', '\n'})
        if (std::memchr(text.data(), c, text.size())) return true;
    return false;
}

}  // namespace

VystupniSoubor::~VystupniSoubor() {
    if (f_) std::fclose(f_);
}

bool VystupniSoubor::otevri(const std::string& jmeno) {
    jmeno_ = jmeno;
    f_ = std::fopen(jmeno.c_str(), "wb");
    if (!f_) return false;
    buf_.resize(1 << 16);
    n_ = 0;
    chyba_ = false;
    return true;
}

void VystupniSoubor::vyprazdni() {
    if (n_ == 0) return;
    if (f_ && std::fwrite(buf_.data(), 1, n_, f_) != n_) chyba_ = true;
    n_ = 0;
}

void VystupniSoubor::kus(std::string_view s) {
    if (s.empty()) return;  // an empty view may have no data pointer, which memcpy must not get
    if (buf_.size() - n_ < s.size()) {
        vyprazdni();
        if (s.size() > buf_.size()) {
            if (f_ && std::fwrite(s.data(), 1, s.size(), f_) != s.size()) chyba_ = true;
            return;
        }
    }
    std::memcpy(buf_.data() + n_, s.data(), s.size());
    n_ += s.size();
}

void VystupniSoubor::pis(std::string_view text) {
    bool radky = false;
    if (text.size() < 32) {
        for (char c : text) radky |= c == '\n';
    } else {
        radky = std::memchr(text.data(), '\n', text.size()) != nullptr;
    }
    if (!radky) {
        kus(text);
        return;
    }
    std::size_t od = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos; nl = text.find('\n', od)) {
        kus(text.substr(od, nl - od));
        kus("\r\n");
        od = nl + 1;
    }
    kus(text.substr(od));
}

void VystupniSoubor::pis_html(std::string_view text) { pis_znacky(text, false); }

void VystupniSoubor::pis_xml(std::string_view text) { pis_znacky(text, true); }

void VystupniSoubor::pis_znacky(std::string_view text, bool xml) {
    std::size_t od = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c > '>') continue;  // the common case: no byte to replace
        std::string_view nahrada;
        switch (c) {
            case '&': nahrada = "&amp;"; break;
            case '<': nahrada = "&lt;"; break;
            case '>': nahrada = "&gt;"; break;
            case '\n': nahrada = "\r\n"; break;
            case '\t':
            case '\r': continue;
            default:
                // Other control characters cannot stand in an XML document, not even as references.
                if (!xml || c >= 0x20) continue;
                nahrada = "?";
                break;
        }
        kus(text.substr(od, i - od));
        kus(nahrada);
        od = i + 1;
    }
    kus(text.substr(od));
}

void VystupniSoubor::pis_csv(std::string_view text) {
    if (!potrebuje_uvozovky(text)) {
        kus(text);
        return;
    }
    znak('"');
    for (char c : text) {
        if (c == '"') znak('"');
        znak(c);
    }
    znak('"');
}

void VystupniSoubor::pis_vpravo(std::string_view text, int sirka) {
    for (int i = static_cast<int>(text.size()); i < sirka; ++i) znak(' ');
    pis(text);
}

void VystupniSoubor::pis_int(long long n) {
    char b[24];
    int len = std::snprintf(b, sizeof b, "%lld", n);
    kus({b, static_cast<std::size_t>(len)});
}

bool VystupniSoubor::zavri() {
    if (!f_) return !chyba_;
    vyprazdni();
    if (std::fflush(f_) != 0) chyba_ = true;
    if (std::fclose(f_) != 0) chyba_ = true;
    f_ = nullptr;
    return !chyba_;
}

}  // namespace tavon
