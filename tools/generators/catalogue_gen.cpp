// Build-time tool: reads the catalogue of codes and fields (docs/catalogue.txt), checks it against the
// program's error table and attribute tables, and writes
//   - the catalogue page katalog.html (UTF-8),
//   - the entries that the HTML report embeds, as a C++ include (HTML in Windows-1250),
//   - the manual page: its template with the list of codes in place of the line @TAVON_CODE_LIST@.
// Every fault is reported with its line: a code of the error table or a field of the attribute tables
// without entry, an entry of an unknown code or field, a code or field named in a text that does not
// exist, a line that breaks the format, a character the catalogue may not use. Then nothing is
// written and the tool ends with 1, which stops the build.
//
//   tavon_catalogue_gen CATALOGUE MANUAL-TEMPLATE PAGE INCLUDE MANUAL
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fields/attribute_tables.h"
#include "report/error_table.h"

namespace {

using tavon::FieldDefinition;

// --- Characters ---------------------------------------------------------------------------------

// The characters a catalogue text may hold besides printable ASCII, with their Windows-1250 bytes.
struct Letter {
    char32_t code_point;
    unsigned char byte;
};
constexpr Letter kLetters[] = {
    {U'Á', 0xC1}, {U'á', 0xE1}, {U'Č', 0xC8}, {U'č', 0xE8}, {U'Ď', 0xCF}, {U'ď', 0xEF}, {U'É', 0xC9},
    {U'é', 0xE9}, {U'Ě', 0xCC}, {U'ě', 0xEC}, {U'Í', 0xCD}, {U'í', 0xED}, {U'Ň', 0xD2}, {U'ň', 0xF2},
    {U'Ó', 0xD3}, {U'ó', 0xF3}, {U'Ř', 0xD8}, {U'ř', 0xF8}, {U'Š', 0x8A}, {U'š', 0x9A}, {U'Ť', 0x8D},
    {U'ť', 0x9D}, {U'Ú', 0xDA}, {U'ú', 0xFA}, {U'Ů', 0xD9}, {U'ů', 0xF9}, {U'Ý', 0xDD}, {U'ý', 0xFD},
    {U'Ž', 0x8E}, {U'ž', 0x9E}, {U'„', 0x84}, {U'“', 0x93}, {U'–', 0x96}, {U'…', 0x85}, {U'×', 0xD7},
};

// The next code point of UTF-8 text at `i` (advanced past it); nullopt for a broken sequence.
std::optional<char32_t> next_code_point(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return std::nullopt;
    }
    char32_t c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((t & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        c = (c << 6) | (t & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

std::optional<unsigned char> windows_1250(char32_t c) {
    if (c >= 0x20 && c < 0x7F) return static_cast<unsigned char>(c);
    for (const Letter& l : kLetters)
        if (l.code_point == c) return l.byte;
    return std::nullopt;
}

std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Windows-1250 bytes of the program's tables (the text bounds) as UTF-8.
std::string utf8_of_windows_1250(std::string_view bytes) {
    std::string out;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
            continue;
        }
        char32_t c = U'?';
        for (const Letter& l : kLetters)
            if (l.byte == b) c = l.code_point;
        out += utf8(c);
    }
    return out;
}

// UTF-8 text whose characters have all been checked, in Windows-1250; control bytes pass as they are.
std::string to_windows_1250(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = next_code_point(s, i);
        const auto byte = c && *c < 0x20 ? std::optional<unsigned char>(static_cast<unsigned char>(*c))
                          : c            ? windows_1250(*c)
                                         : std::nullopt;
        if (!byte) {
            // A text of this tool's own, not of the catalogue, which is checked before.
            std::cerr << "tavon_catalogue_gen: no Windows-1250 byte for a character of: " << s << "\n";
            std::exit(1);
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

std::size_t length_in_characters(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++n) next_code_point(s, i);
    return n;
}

// --- The catalogue ------------------------------------------------------------------------------

struct Entry {
    bool is_code = false;
    std::string name;
    int line = 0;
    std::map<std::string, std::string> values;
    std::map<std::string, int> value_lines;
};

struct Field {
    const FieldDefinition* definition;
    int block;  // 0 submitter, 1 employer, 2 employee
};

class Catalogue {
  public:
    explicit Catalogue(std::string file) : file_(std::move(file)) {
        for (const auto& e : tavon::error_table()) codes_.emplace_back(e.code);
        add_fields(tavon::kSubmitterFields, 0);
        add_fields(tavon::kEmployerFields, 1);
        add_fields(tavon::kEmployeeFields, 2);
    }

    void read(const std::string& text);
    void check_complete();

    const std::vector<std::string>& codes() const { return codes_; }
    const std::vector<Field>& fields() const { return fields_; }
    const Entry& code_entry(const std::string& code) const { return entries_.at(index_.at("code " + code)); }
    const Entry& field_entry(const std::string& name) const {
        return entries_.at(index_.at("field " + name));
    }

    bool is_code(std::string_view word) const {
        for (const auto& c : codes_)
            if (c == word) return true;
        return false;
    }
    const Field* field(std::string_view word) const {
        for (const auto& f : fields_)
            if (f.definition->name == word) return &f;
        return nullptr;
    }
    // A word of a text that names a code or field: codes, and the fields whose names are no Czech
    // words (AA0138, ICOpredkladatele; not rok, mail, autor).
    bool is_reference(std::string_view word) const {
        if (is_code(word)) return true;
        if (!field(word)) return false;
        for (char c : word)
            if (c >= 'A' && c <= 'Z') return true;
        return false;
    }

    void fault(int line, const std::string& what) {
        faults_.push_back(file_ + ":" + std::to_string(line) + ": " + what);
    }
    const std::vector<std::string>& faults() const { return faults_; }

  private:
    template <std::size_t N>
    void add_fields(const std::array<FieldDefinition, N>& table, int block) {
        for (std::size_t i = 0; i + 1 < N; ++i) fields_.push_back({&table[i], block});
    }
    void finish(std::optional<Entry>& entry);
    void check_text(const Entry& e, const std::string& key, const std::string& value, int line);

    std::string file_;
    std::vector<std::string> codes_;
    std::vector<Field> fields_;
    std::vector<Entry> entries_;
    std::map<std::string, std::size_t> index_;  // "code EL051", "field AA0138"
    std::vector<std::string> faults_;
};

bool is_word_byte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80;
}

bool looks_like_code(std::string_view w) {
    if (w.size() != 5 || (w[0] != 'E' && w[0] != 'W') || (w[1] != 'S' && w[1] != 'L' && w[1] != 'R'))
        return false;
    for (std::size_t i = 2; i < 5; ++i)
        if (w[i] < '0' || w[i] > '9') return false;
    return true;
}

bool looks_like_field(std::string_view w) {
    if (w.size() != 6 || w[0] != 'A' || w[1] != 'A') return false;
    for (std::size_t i = 2; i < 6; ++i)
        if (w[i] < '0' || w[i] > '9') return false;
    return true;
}

void Catalogue::check_text(const Entry& e, const std::string& key, const std::string& value, int line) {
    for (std::size_t i = 0; i < value.size();) {
        const std::size_t at = i;
        const auto c = next_code_point(value, i);
        if (!c) {
            fault(line, "not UTF-8");
            return;
        }
        if (!windows_1250(*c)) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(*c));
            fault(line, std::string("the character ") + hex + " '" + value.substr(at, i - at) +
                            "' is not one the catalogue may use (printable ASCII, Czech letters, „ “ – … ×)");
        }
    }
    // Every code or field named in the text exists.
    for (std::size_t i = 0; i < value.size();) {
        if (!is_word_byte(value[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < value.size() && is_word_byte(value[end])) ++end;
        const std::string_view word(value.data() + i, end - i);
        if ((looks_like_code(word) && !is_code(word)) || (looks_like_field(word) && !field(word)))
            fault(line, e.name + " " + key + ": names " + std::string(word) +
                            ", which is no code or field of the program");
        i = end;
    }
}

void Catalogue::finish(std::optional<Entry>& entry) {
    if (!entry) return;
    Entry& e = *entry;
    const std::vector<std::string> required =
        e.is_code ? std::vector<std::string>{"title", "checked", "causes", "fix"}
                  : std::vector<std::string>{"title"};
    for (const auto& key : required)
        if (!e.values.count(key))
            fault(e.line, (e.is_code ? "@code " : "@field ") + e.name + " has no " + key);
    for (const auto& [key, value] : e.values) check_text(e, key, value, e.value_lines[key]);
    if (auto t = e.values.find("title"); t != e.values.end()) {
        if (length_in_characters(t->second) > 90)
            fault(e.value_lines["title"], "the title of " + e.name + " is longer than 90 characters");
        if (!t->second.empty() && t->second.back() == '.')
            fault(e.value_lines["title"], "the title of " + e.name + " ends with a full stop");
    }
    const std::string key = (e.is_code ? "code " : "field ") + e.name;
    if (e.is_code ? !is_code(e.name) : !field(e.name))
        fault(e.line, e.is_code ? "@code " + e.name + ": no such code in the error table"
                                : "@field " + e.name + ": no such field in the attribute tables");
    else if (index_.count(key))
        fault(e.line, "a second entry for " + e.name + " (the first is on line " +
                          std::to_string(entries_[index_[key]].line) + ")");
    else {
        index_[key] = entries_.size();
        entries_.push_back(std::move(e));
    }
    entry.reset();
}

void Catalogue::read(const std::string& text) {
    std::optional<Entry> entry;
    std::string last_key;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') continue;
        if (line.empty()) {
            finish(entry);
            continue;
        }
        if (line[0] == '@') {
            if (entry) {
                fault(number, "an entry begins without a blank line after the one before");
                finish(entry);
            }
            const auto space = line.find(' ');
            const std::string kind = line.substr(0, space);
            const std::string name = space == std::string::npos ? "" : line.substr(space + 1);
            if ((kind != "@code" && kind != "@field") || name.empty() ||
                name.find(' ') != std::string::npos) {
                fault(number, "expected '@code CODE' or '@field NAME': " + line);
                continue;
            }
            entry = Entry{kind == "@code", name, number, {}, {}};
            last_key.clear();
            continue;
        }
        if (!entry) {
            fault(number, "text outside an entry (an entry begins with @code or @field): " + line);
            continue;
        }
        if (line.rfind("  ", 0) == 0) {
            if (line.size() == 2 || line[2] == ' ') {
                fault(number, "a continuation line begins with exactly two spaces and some text");
            } else if (last_key.empty()) {
                fault(number, "a continuation line without a key before it");
            } else if (last_key == "title") {
                fault(number, "a title is one line");
            } else {
                entry->values[last_key] += " " + line.substr(2);
            }
            continue;
        }
        const auto colon = line.find(": ");
        const std::string key = colon == std::string::npos ? "" : line.substr(0, colon);
        const std::set<std::string> keys =
            entry->is_code ? std::set<std::string>{"title", "checked", "causes", "fix", "example"}
                           : std::set<std::string>{"title", "about"};
        if (!keys.count(key)) {
            fault(number, std::string("expected 'key: text' with a key of ") +
                              (entry->is_code ? "title, checked, causes, fix, example" : "title, about") +
                              ": " + line);
            last_key.clear();
            continue;
        }
        if (entry->values.count(key)) fault(number, "a second " + key + " in the entry of " + entry->name);
        std::string value = line.substr(colon + 2);
        if (value.empty() || value[0] == ' ')
            fault(number, key + ": the text is missing or begins with a space");
        entry->values[key] = value;
        entry->value_lines[key] = number;
        last_key = key;
    }
    finish(entry);
}

void Catalogue::check_complete() {
    for (const auto& c : codes_)
        if (!index_.count("code " + c))
            faults_.push_back(file_ + ": the code " + c + " of the error table has no entry");
    for (const auto& f : fields_)
        if (!index_.count("field " + std::string(f.definition->name)))
            faults_.push_back(file_ + ": the field " + std::string(f.definition->name) +
                              " of the attribute tables has no entry");
}

// --- HTML ---------------------------------------------------------------------------------------

// Marks a code or field named in a text: "\1NAME\2". The page turns every mark into a link; the
// report, into a link when it holds that entry, else plain text.
constexpr char kMarkStart = '\1', kMarkEnd = '\2';

std::string escape_html(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// A catalogue text as HTML, its references marked (but for `self`, the entry's own name).
std::string marked_html(const Catalogue& cat, std::string_view text, std::string_view self = {}) {
    std::string out;
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!is_word_byte(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && is_word_byte(text[end])) ++end;
        const std::string_view word = text.substr(i, end - i);
        if (word != self && cat.is_reference(word)) {
            out += escape_html(text.substr(plain, i - plain));
            out += kMarkStart;
            out += word;
            out += kMarkEnd;
            plain = end;
        }
        i = end;
    }
    return out + escape_html(text.substr(plain));
}

std::string anchor(const Catalogue& cat, std::string_view name) {
    return (cat.is_code(name) ? "kod-" : "pole-") + std::string(name);
}

// Every mark as a link to its entry.
std::string linked(const Catalogue& cat, std::string_view html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] != kMarkStart) {
            out += html[i];
            continue;
        }
        const auto end = html.find(kMarkEnd, i);
        const std::string_view name = html.substr(i + 1, end - i - 1);
        out += "<a href=\"#" + anchor(cat, name) + "\">" + std::string(name) + "</a>";
        i = end;
    }
    return out;
}

std::string number(double d) {
    char b[64];
    std::snprintf(b, sizeof b, "%.4f", d);
    std::string s = b;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

// "1 znak", "2 znaky", "5 znaků".
std::string characters(int n) {
    const char* word = n == 1 ? "znak" : n >= 2 && n <= 4 ? "znaky" : "znaků";
    return std::to_string(n) + " " + word;
}

std::string quoted_bound(std::string_view bound) {
    if (bound == " ") return "mezera";
    return "„" + escape_html(utf8_of_windows_1250(bound)) + "“";
}

// Type, length and range of a field as the attribute tables define them, and its code.
std::string field_facts(const Field& f) {
    const FieldDefinition& s = *f.definition;
    static const char* const kBlocks[] = {"údaje předkladatele (na začátku souboru)",
                                          "údaje zaměstnavatele (prvek zamestnavatel)",
                                          "záznam zaměstnance (prvek zamestnanec)"};
    std::string type = s.type == 'S'   ? "text"
                       : s.type == 'N' ? "celé číslo"
                                       : "číslo, desetinná místa za tečkou";
    std::string length = s.min_length == s.max_length
                             ? "přesně " + characters(s.max_length)
                             : std::to_string(s.min_length) + " až " + characters(s.max_length);
    if (s.min_length == 0) length += " (smí být prázdný)";
    std::string range;
    // The submitter's fields are compared as text only, whatever their type.
    if (f.block != 0 && s.has_number_range())
        range =
            number(tavon::kNumberBounds[s.range.from]) + " až " + number(tavon::kNumberBounds[s.range.to]);
    else if (s.has_text_range())
        range = quoted_bound(tavon::kTextBounds[s.range.from]) + " až " +
                quoted_bound(tavon::kTextBounds[s.range.to]) + " (porovnává se po bajtech)";
    else
        range = "nekontroluje se";
    if (f.block == 0 && s.type == 'N') type += " (v údajích předkladatele se kontroluje jako text)";
    return "<p><b>Kde:</b> " + std::string(kBlocks[f.block]) + "; <b>typ:</b> " + type + "; <b>délka:</b> " +
           length + "; <b>rozsah:</b> " + range + "; <b>chybu hodnoty nebo délky hlásí</b> " + kMarkStart +
           std::string(tavon::name(s.code)) + kMarkEnd + ".</p>\n";
}

std::string code_entry_html(const Catalogue& cat, const Entry& e) {
    std::string out = "<h3 id=\"kod-" + e.name + "\">" + e.name + " – " +
                      marked_html(cat, e.values.at("title"), e.name) + "</h3>\n";
    const std::pair<const char*, const char*> parts[] = {{"checked", "Co se kontroluje"},
                                                         {"causes", "Obvyklé příčiny"},
                                                         {"fix", "Co opravit"},
                                                         {"example", "Příklad"}};
    for (const auto& [key, heading] : parts)
        if (auto v = e.values.find(key); v != e.values.end())
            out +=
                "<p><b>" + std::string(heading) + ":</b> " + marked_html(cat, v->second, e.name) + "</p>\n";
    return out;
}

std::string field_entry_html(const Catalogue& cat, const Field& f, const Entry& e) {
    std::string out = "<h3 id=\"pole-" + e.name + "\">" + e.name + " – " +
                      marked_html(cat, e.values.at("title"), e.name) + "</h3>\n";
    out += field_facts(f);
    if (auto v = e.values.find("about"); v != e.values.end())
        out += "<p>" + marked_html(cat, v->second, e.name) + "</p>\n";
    return out;
}

std::string page(const Catalogue& cat) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>belun – katalog kódů chyb a prvků souboru DUV</title>\n"
        "<style>\n"
        "body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: "
        "1.4; }\n"
        "h3 { margin-top: 1.6em; border-top: 1px solid #ccc; padding-top: 0.4em; }\n"
        "td { vertical-align: top; padding: 0.1em 0.6em 0.1em 0; }\n"
        ":target { background: #ffffcc; }\n"
        "</style>\n</head>\n<body>\n"
        "<h1>Katalog kódů chyb a prvků souboru DUV</h1>\n"
        "<p>Program belun zapisuje každé zjištění jako řádek protokolu s kódem chyby (sloupec Chyba) a "
        "prvkem, kterého se týká (sloupec Prvek). Tento katalog ke každému kódu uvádí, co přesně se "
        "kontroluje, obvyklé příčiny a co změnit ve mzdových datech nebo v exportu; ke každému prvku jeho "
        "význam, typ, délku a povolený rozsah. Kód začínající E je chyba, kterou je třeba opravit, kód "
        "začínající W varování, které je třeba prověřit. Protokol HTML obsahuje vysvětlivky ke kódům a "
        "prvkům, které se v něm vyskytnou.</p>\n"
        "<p><a href=\"#kody\">Kódy chyb a varování</a> · <a href=\"#prvky\">Prvky</a></p>\n"
        "<h2 id=\"kody\">Kódy chyb a varování</h2>\n<table>\n";
    for (const auto& c : cat.codes())
        out += "<tr><td><a href=\"#kod-" + c + "\">" + c + "</a></td><td>" +
               linked(cat, marked_html(cat, cat.code_entry(c).values.at("title"))) + "</td></tr>\n";
    out += "</table>\n";
    for (const auto& c : cat.codes()) out += linked(cat, code_entry_html(cat, cat.code_entry(c)));
    out += "<h2 id=\"prvky\">Prvky</h2>\n<table>\n";
    for (const auto& f : cat.fields()) {
        const std::string name(f.definition->name);
        out += "<tr><td><a href=\"#pole-" + name + "\">" + name + "</a></td><td>" +
               linked(cat, marked_html(cat, cat.field_entry(name).values.at("title"))) + "</td></tr>\n";
    }
    out += "</table>\n";
    for (const auto& f : cat.fields()) {
        const std::string name(f.definition->name);
        out += linked(cat, field_entry_html(cat, f, cat.field_entry(name)));
    }
    return out + "</body>\n</html>\n";
}

// --- The include for the report -----------------------------------------------------------------

// A C++ string literal of Windows-1250 bytes, one literal per line of the text.
std::string cpp_literal(std::string_view bytes) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b == '\n') {
            out += "\\n\"";
            if (i + 1 < bytes.size())
                out += "\n        \"";
            else
                return out;
        } else if (b < 0x20 || b >= 0x7F) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", b);
            out += octal;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out + "\"";
}

std::string include(const Catalogue& cat) {
    std::string out =
        "// Generated from docs/catalogue.txt by tavon_catalogue_gen: do not edit.\n"
        "// The entries of the catalogue as the HTML report embeds them: HTML in Windows-1250, every code\n"
        "// or field named in a text marked \"\\1NAME\\2\". Codes in the order of the error table, fields "
        "in\n"
        "// the order of the attribute tables (submitter, employer, employee).\n"
        "inline constexpr CatalogueEntry kCodeEntries[] = {\n";
    for (const auto& c : cat.codes())
        out += "    {\"" + c + "\",\n        " +
               cpp_literal(to_windows_1250(code_entry_html(cat, cat.code_entry(c)))) + "},\n";
    out += "};\n\ninline constexpr CatalogueEntry kFieldEntries[] = {\n";
    for (const auto& f : cat.fields()) {
        const std::string name(f.definition->name);
        out += "    {\"" + name + "\",\n        " +
               cpp_literal(to_windows_1250(field_entry_html(cat, f, cat.field_entry(name)))) + "},\n";
    }
    return out + "};\n";
}

// --- The manual page ----------------------------------------------------------------------------

// A catalogue text as roff text: \ - and the Czech letters escaped; a leading dot or quote guarded.
std::string roff(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = next_code_point(s, i).value_or(U'?');
        if (c == U'\\')
            out += "\\e";
        else if (c == U'-')
            out += "\\-";
        else if (c < 0x80)
            out += static_cast<char>(c);
        else {
            char b[16];
            std::snprintf(b, sizeof b, "\\[u%04X]", static_cast<unsigned>(c));
            out += b;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

std::optional<std::string> manual(const Catalogue& cat, const std::string& tmpl) {
    static const std::string kMarker = "@TAVON_CODE_LIST@\n";
    const auto at = tmpl.find(kMarker);
    if (at == std::string::npos || (at > 0 && tmpl[at - 1] != '\n') ||
        tmpl.find(kMarker, at + 1) != std::string::npos)
        return std::nullopt;
    std::string list;
    for (const auto& c : cat.codes())
        list += ".TP\n.B " + c + "\n" + roff(cat.code_entry(c).values.at("title")) + "\n";
    return tmpl.substr(0, at) + list + tmpl.substr(at + kMarker.size());
}

// --- Files --------------------------------------------------------------------------------------

std::optional<std::string> read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool write_file(const std::string& name, const std::string& text) {
    std::ofstream out(name, std::ios::binary);
    out << text;
    out.close();
    if (!out) std::cerr << name << ": cannot be written\n";
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: tavon_catalogue_gen CATALOGUE MANUAL-TEMPLATE PAGE INCLUDE MANUAL\n";
        return 2;
    }
    const auto text = read_file(argv[1]);
    const auto tmpl = read_file(argv[2]);
    if (!text || !tmpl) {
        std::cerr << (text ? argv[2] : argv[1]) << ": cannot be read\n";
        return 1;
    }
    Catalogue cat(argv[1]);
    cat.read(*text);
    cat.check_complete();
    if (!cat.faults().empty()) {
        for (const auto& f : cat.faults()) std::cerr << f << "\n";
        std::cerr << "the catalogue has " << cat.faults().size() << " fault(s); nothing written\n";
        return 1;
    }
    const auto man = manual(cat, *tmpl);
    if (!man) {
        std::cerr << argv[2] << ": needs exactly one line @TAVON_CODE_LIST@\n";
        return 1;
    }
    return write_file(argv[3], page(cat)) && write_file(argv[4], include(cat)) && write_file(argv[5], *man)
               ? 0
               : 1;
}
