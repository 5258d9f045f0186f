#include "report/error_table.h"

#include <algorithm>
#include <array>

#include "tavon/cz.h"

#ifndef TAVON_NS_HOST
#define TAVON_NS_HOST "duv.example.org"
#endif

namespace tavon {
namespace {

struct Row {
    const char* code;
    CzText<192> description;
    CzText<48> expected;
};

// The first 77 rows are the field codes in the order of the attribute tables.
constexpr Row kRows[] = {
    {"ER209", cz("Povoleno 2006, délka  4"), cz<48>("2006")},
    {"EL030", cz("Sledované období není  1-6"), cz<48>("1-6")},
    {"ESICO", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ESPRE", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ESAUT", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ESEMA", cz("Chybná hodnota,  délka, chybí @ nebo tecka, mezera v adrese"), cz<48>("jmeno@firma.cz")},
    {"WSTEL", cz("Chybná hodnota nebo délka, minimální délka by měla být 9 znaků."), cz<48>("nnnnnnnn")},
    {"ESVYT", cz("Chybná hodnota nebo délka"), cz<48>("2006-06-01T00:00:00 až 2006-09-30T23:59")},
    {"ES017", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES113", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES019", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES179", cz("Chybná hodnota nebo délka"), cz<48>("CZ0nnn")},
    {"ES110", cz("Chybná hodnota nebo délka"), cz<48>("200606201-20060930")},
    {"ES116", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES123", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"EL057", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES115", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES118", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES119", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES126", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"EL002", cz("Věk zaměstnance není v intervalu 14 až 100 let"), cz<48>("1906-1992")},
    {"EL032", cz("Chybný kód pohlaví"), cz<48>("1,2")},
    {"ES223", cz("Chybná hodnota nebo délka"), cz<48>("A - V")},
    {"ES033", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES013", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"WL034", cz("U zaměstnance ve státní sféře jsou povoleny pouze hodnoty 1 a 2."), cz<48>("1,2")},
    {"ES130", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES131", cz("Chybná hodnota týdeního fondu pracovní doby"), cz<48>("0 - 42.5")},
    {"ES225", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES216", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES132", cz("Chybná hodnota nebo délka"), cz<48>("0 - 9999,99")},
    {"ES133", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES134", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES135", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES136", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES137", cz("Chybná hodnota nebo délka"), cz<48>("1,2")},
    {"EL044", cz("Platová třída zaměstnance musí být 1 - 16"), cz<48>("1 - 16")},
    {"ES128", cz("Nepřípustný platový stupeň"), cz<48>("0 - 12")},
    {"EL001", cz("Nepřípustný kód zvýšení platového tarifu"), cz<48>("1,2,3,4,5")},
    {"ES138", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES139", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES140", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES141", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES142", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES143", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES144", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES145", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES146", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES147", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES148", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES160", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES162", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES150", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES239", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES240", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES151", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES152", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES153", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES154", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES155", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES156", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES157", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES163", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES161", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES237", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES238", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES158", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES159", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES165", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES166", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES167", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES168", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES091", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES210", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES218", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES219", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"ES690", cz("Chybná hodnota nebo délka"), cz<48>("")},
    {"EL003", cz("Hodnota není shodná u záznamů stejného zaměstnance"), cz<48>("")},
    {"EL004", cz("Jsou povolené pouze hodnoty 1, 2, 3 nebo 7."), cz<48>("")},
    {"EL005", cz("Překročena maximální hodnota pracovního fondu v jednom pracovním poměru"), cz<48>("")},
    {"EL006",
     cz("Zaměstnanec byl ve sledovaném období v evidenčním stavu (AA0218) více dní než je uvedeno  v letech "
        "u doby zaměstnání celkem.."),
     cz<48>("")},
    {"EL010", cz("Doba čerpání dovolené je větší než neodpracovaná doba s náhradou platu"), cz<48>("")},
    {"EL015",
     cz("AA0144 se nerovná součtu AA0145, AA0146, AA0147, AA0148, AA0160, AA0162, AA0150, AA0157, AA0163, "
        "AA0161 a AA0158."),
     cz<48>("")},
    {"EL020", cz("Hodnota neodpovídá součtu přepočtených stavů za všechny zaměstnance."), cz<48>("")},
    {"EL021", cz("Evidenční stav zaměstnanců neodpovídá počtu zaměstnanců v evidenčním stavu."), cz<48>("")},
    {"EL022", cz("Vyplacené platy neodpovídají sumě platů zaměstnanců"), cz<48>("")},
    {"EL027",
     cz("Celková suma příplatků zúčtovaných k\u00a0výplatě AA0150 musí být rovna AA0239 + AA0151 + AA0152 + "
        "AA0153 + AA0154 + AA0155 + AA0156 + AA0240."),
     cz<48>("")},
    {"EL028", cz("Celkové odměny za pohotovost neodpovídají součtu jednotlivých odměn za pohotovost."),
     cz<48>("")},
    {"EL031", cz("Neplatné IČO."), cz<48>("")},
    {"EL037", cz("Pokud AA0136 (kód evidenčního stavu přepočtený)=0 pak musí být hodnota nulová"),
     cz<48>("")},
    {"EL038",
     cz("Pokud AA0136 (kód evidenčního stavu přepočtený)=0 pak musí být hodnota pro evidenční stav "
        "zaměstnance k poslednímu dni = 2"),
     cz<48>("")},
    {"EL046", cz("Neznámý kód zaměstnání"), cz<48>("")},
    {"EL047", cz("Neznámý kód státu"), cz<48>("")},
    {"EL048", cz("Neznámý kód nejvyššího dosaženého vzdělání"), cz<48>("")},
    {"EL050", cz("Neplatné datum - den neodpovídá měsíci"), cz<48>("")},
    {"EL051", cz("Nesouhlasí výše platového tarifu - pro tabulku platových tarifů."), cz<48>("")},
    {"EL052",
     cz("Součet všech průměrných evidenčních stavů přepočtených v hlavním a služebním pracovním poměru nesmí "
        "být větší než 1"),
     cz<48>("")},
    {"EL055", cz("Neznámý kód právní formy"), cz<48>("")},
    {"EL056", cz("Neznámý kód NUTS"), cz<48>("")},
    {"EL058", cz("Vyplacené platy musí odpovídat počtu zaměstnanců"), cz<48>("")},
    {"EL059",
     cz("Zaměstnanec, který je celé sledované období v evid. stavu, musí být v evid. stavu i poslední den."),
     cz<48>("")},
    {"EL062",
     cz("Rozpočet plus mimorozpočtové zdroje neodpovídají proplacené částce. I v pololetí se vykazuje "
        "rozpočet za celý rok."),
     cz<48>("")},
    {"EL064", cz("Počet zaměstnanců rozpočtovaný neodpovídá vykázanému průměrnému stavu přepočtenému."),
     cz<48>("")},
    {"EL065", cz("Nepřípustná kombinace pracovně právních vztahů."), cz<48>("")},
    {"EL068", cz("Neznámý kód postavení v zaměstnání."), cz<48>("")},
    {"EL069", cz("Celková doba absence je menší než doba nemoci a dovolené."), cz<48>("")},
    {"EL070", cz("Zaměstnanec s AA0136=1 nemůže mít zkrácenou pracovní dobu"), cz<48>("")},
    {"EL071", cz("Zaměstnanec s AA0136=1 musel být v evidenčním stavu celé sledované období"), cz<48>("")},
    {"EL073",
     cz("Zaměstnanec u něhož je počet evidenčních dnů nula musí mít průměrný evid. stav přepočtený také "
        "nulový."),
     cz<48>("")},
    {"EL074", cz("Data za zaměstnavatele lze předat jen jednou v jednom souboru."), cz<48>("")},
    {"EL075", cz("Další platy byly zrušeny."), cz<48>("")},
    {"EL076", cz("Zaměstnanec nemohl nastoupit před 14. rokem věku."), cz<48>("")},
    {"EL077", cz("AA0218 nemůže být vyšší než je počet kalendářních dní ve sledovaném období."), cz<48>("")},
    {"EL078", cz("AA0219 nemůže být vyšší než je počet pracovních dní (včetně svátků) ve sledovaném období."),
     cz<48>("")},
    {"EL080",
     cz("Počet odpracovaných dní a dní absence je větší než počet kalendářních dní, kdy byl zaměstnance v "
        "evidenčním stavu (AA0218)"),
     cz<48>("")},
    {"EL081", cz("Všichni zaměstnanci mají stejný kód vzdělání"), cz<48>("")},
    {"EL082", cz("Většina zaměstnanců má nedokončené základní vzdělání"), cz<48>("")},
    {"ER212", cz("IČO předkladatele nebylo nalezeno v seznamu předkladatelů pro vyhlášenou kampaň."),
     cz<48>("")},
    {"ES300", cz("Chyba syntaxe XML"), cz<48>("")},
    {"ES301", cz("Neznamý prvek"), cz<48>("")},
    {"ES302", cz("Nesouhlasi zacatek a konec prvku"), cz<48>("")},
    {"ES303", cz("Prvkek nebyl uveden"), cz<48>("")},
    {"ES304", cz("Vícenásobný výskyt prvku      ."), cz<48>("")},
    {"ES305", cz("Chybne poradi prvku"), cz<48>("")},
    {"ES306", cz("Kontrolovaný soubor není DUV"), cz<48>("")},
    {"ES308", cz("V souboru nebyl ani jeden zamestnavatel"), cz<48>("")},
    {"ES309", cz("Zamestnavatel nemá ani jednoho zamestnance"), cz<48>("")},
    // The document is no Windows-1250 XML that a receiving parser would read as it is meant.
    {"ES310", cz("Soubor není v kódování Windows-1250 (je v UTF-8 nebo deklaruje jiné kódování)"),
     cz<48>("")},
    {"ES311", cz("Znak & v hodnotě prvku musí být zapsán jako &amp;"), cz<48>("")},
    {"ES312", cz("Hodnota prvku obsahuje nepovolený řídicí znak"), cz<48>("")},
    {"ES313", cz("Za koncem dokumentu (</DUV>) je další obsah"), cz<48>("")},
    {"WS102",
     cz("Element <DUV> by měl obsahovat atributy verze=\"1.6\" a xmlns=\"http://" TAVON_NS_HOST
        "/schemas/2004/DUV/1.6/\""),
     cz<48>("")},
    {"WL007", cz("Překročena maximální odpracovaná doba"), cz<48>("")},
    {"WL008", cz("Maximální počet odpracovaných hodin přesčas je hodnota položky AA0132/6"), cz<48>("")},
    {"WL009",
     cz("Průměrný evid. stav přep. krát počet proplacených hodin bez přesčasů neodpovídá celkovému počtu "
        "hodin v daném období"),
     cz<48>("")},
    {"WL011",
     cz("Rozpor s 330/2003 Sb.! Nesouhlasí výše platového tarifu - pro tabulku platových tarifů. Zaměstnanec "
        "není v evidenčním stavu k poslednímu dni sledovaného období"),
     cz<48>("")},
    {"WL012", cz("Překročena maximální výše osobního příplatku."), cz<48>("")},
    {"WL013", cz("Překročena max. možná hodnota příplatku za vedení a zastupování (13000,- Kč)."),
     cz<48>("")},
    {"WL014", cz("Překročena max. možná hodnota zvláštního příplatku (10000,- Kč)."), cz<48>("")},
    {"WL016",
     cz("Náhrada za dovolenou překročila celkové náhrady zúčtované k platu. To je v\u00a0pořádku byly-li "
        "nějaké náhrady záporné"),
     cz<48>("")},
    {"WL017", cz("Průměrný hodinový plat krát počet proplacených hodin neodpovídá celkovému platu."),
     cz<48>("")},
    {"WL018",
     cz("Rozpor se zákonem o daních z příjmu! Pro jednoho zaměstnance lze nezdanitelnou částku základu daně "
        "uvést pouze jednou"),
     cz<48>("")},
    {"WL023", cz("Vyplacené mimorozpočtové zdroje jsou vyšší než platy zaměstnanců"), cz<48>("")},
    {"WL024", cz("Hodnostní příplatek překročil max. hodnotu 4600,- Kč."), cz<48>("")},
    {"WL025", cz("Odvod na veřejné zdravotní pojištění neodpovídá vyplaceným platům"), cz<48>("")},
    {"WL026", cz("Odvod na sociální pojištění neodpovídá platu"), cz<48>("")},
    {"WL029", cz("Za čerpanou dovolenou nebyla vyplacena náhrada platu"), cz<48>("")},
    {"WL033", cz("Jiný stát než Česká, nebo Slovenská republika"), cz<48>("CZ, SK")},
    {"WL039", cz("Používejte pětimístný kód zaměstnání, nekončící 0."), cz<48>("")},
    {"WL040", cz("Zaměstnanec ve státní správě nemá zvýšený platový tarif aspoň o 25%."), cz<48>("")},
    {"WL042", cz("Je nepravděpodobné, aby byli všichni pracovníci v evidenčním stavu."), cz<48>("")},
    {"WL043", cz("Je nepravděpodobné, aby byli všichni pracovníci v hlavním pracovním poměru."), cz<48>("")},
    {"WL049",
     cz("Maximální hodnota součtu pracovních fondů ve všech pracovních poměrech by měla být menší než 80 "
        "hodin."),
     cz<48>("")},
    {"WL053", cz("Používejte přednostně dvoupísmenný kód státu."), cz<48>("")},
    {"WL054", cz("Kód zařízení se používá jen u organizací nemající vlastní IČO, jinak se nechává prázdné."),
     cz<48>("")},
    {"WL060", cz("Týdenní fond pracovní doby by měl odpovídat průměrnému týdennímu fondu za celé období."),
     cz<48>("")},
    {"WL061",
     cz("Rozpočet plus mimorozpočtové zdroje neodpovídají proplacené částce. I v pololetí se vykazuje "
        "rozpočet za celý rok."),
     cz<48>("")},
    {"WL063", cz("Počet zaměstnanců rozpočtovaný neodpovídá vykázanému průměrnému stavu přepočtenému."),
     cz<48>("")},
    {"EL066",
     cz("Průměrný evidenční stav přepočtený (AA0136) nemůže být větší než nepřepočtený (AA0218/ kal_dní)."),
     cz<48>("")},
    {"WL067", cz("Neuvedený průměrný hodinový plat."), cz<48>("")},
    {"WL072",
     cz("Zaměstnanec u něhož se průměrný evidenční stav přepočtený (AA0136) rovná nepřepočtenému "
        "(AA0218/kaldní) nemůže mít zkrácenou pracovní dobu"),
     cz<48>("")},
    {"WL901", cz("Plna tabulka zamestnavatelu, další nebudou kontrolovani na duplicitni vyskyt"), cz<48>("")},
    {"WR202",
     cz("IIdentifikační číslo předkladatele by se mělo shodovat s identifikačním číslem liniově nadřízené "
        "organizace v  Registru organizací."),
     cz<48>("")},
    {"WR204", cz("Identifikační číslo zaměstnavatele by mělo být vedeno v Registru organizací."), cz<48>("")},
};

constexpr Row kEndMarker{"KONEC", cz("KoNeC"), cz<48>("KoNeC")};

constexpr std::size_t kCount = std::size(kRows);

struct Table {
    std::array<ErrorCode, kCount> rows{};
    ErrorCode end_marker{};
    // Row numbers sorted by code, for a binary search that finds the same row as a scan.
    std::array<short, kCount> sorted{};
    // The rows of codes with three digits ("ES301"), by kind, group and number; -1 for none.
    std::array<short, 2 * 3 * 1000> by_number{};
};

// Index of a code of the form [EW][SLR] and three digits in `by_number`, or -1.
constexpr int number_key(std::string_view k) {
    if (k.size() != 5) return -1;
    int kind = k[0] == 'E' ? 0 : k[0] == 'W' ? 1 : -1;
    int group = k[1] == 'S' ? 0 : k[1] == 'L' ? 1 : k[1] == 'R' ? 2 : -1;
    if (kind < 0 || group < 0) return -1;
    int n = 0;
    for (int i = 2; i < 5; ++i) {
        if (k[i] < '0' || k[i] > '9') return -1;
        n = n * 10 + (k[i] - '0');
    }
    return (kind * 3 + group) * 1000 + n;
}

constexpr Table build() {
    Table t;
    for (std::size_t i = 0; i < kCount; ++i) {
        t.rows[i] = {kRows[i].code, kRows[i].description.view(), kRows[i].expected.view()};
        t.sorted[i] = static_cast<short>(i);
    }
    t.end_marker = {kEndMarker.code, kEndMarker.description.view(), kEndMarker.expected.view()};
    t.by_number.fill(-1);
    for (std::size_t i = kCount; i-- > 0;)
        if (int k = number_key(t.rows[i].code); k >= 0) t.by_number[k] = static_cast<short>(i);
    std::sort(t.sorted.begin(), t.sorted.end(),
              [&](short a, short b) { return t.rows[a].code < t.rows[b].code; });
    return t;
}

constexpr Table kTable = build();

static_assert(kCount == 164);

}  // namespace

std::span<const ErrorCode> error_table() { return kTable.rows; }

const ErrorCode& unknown_error_code() { return kTable.end_marker; }

int find_error_code(std::string_view code) {
    if (int k = number_key(code); k >= 0) return kTable.by_number[k];
    auto it = std::lower_bound(kTable.sorted.begin(), kTable.sorted.end(), code,
                               [](short r, std::string_view k) { return kTable.rows[r].code < k; });
    if (it == kTable.sorted.end() || kTable.rows[*it].code != code) return -1;
    return *it;
}

}  // namespace tavon
