#include "run/report/soubor.h"

#include <cstring>

namespace tavon {

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
    std::size_t od = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos; nl = text.find('\n', od)) {
        kus(text.substr(od, nl - od));
        kus("\r\n");
        od = nl + 1;
    }
    kus(text.substr(od));
}

void VystupniSoubor::pis_html(std::string_view text) {
    std::size_t od = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view nahrada;
        switch (text[i]) {
            case '&': nahrada = "&amp;"; break;
            case '<': nahrada = "&lt;"; break;
            case '>': nahrada = "&gt;"; break;
            case '\n': nahrada = "\r\n"; break;
            default: continue;
        }
        kus(text.substr(od, i - od));
        kus(nahrada);
        od = i + 1;
    }
    kus(text.substr(od));
}

void VystupniSoubor::pis_csv(std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
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
