// The error codes of the findings: the error table, in its order, with each code's Czech
// description and the expected-value text a check may ask for (both UTF-8 here; the library hands
// them out in Windows-1250). A code's first letter is its severity: E error, W warning; the second
// its kind: S syntax or a single field, L a logical rule, R the registers.
//
// TAVON_ERROR_TABLE(X) expands X(code, description, expected) once per row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tavon/export.h"

// clang-format off
#define TAVON_ERROR_TABLE(X) \
    X(ER209, "Povoleno 2006, délka  4", "2006") \
    X(EL030, "Sledované období není  1-6", "1-6") \
    X(ESICO, "Chybná hodnota nebo délka", "") \
    X(ESPRE, "Chybná hodnota nebo délka", "") \
    X(ESAUT, "Chybná hodnota nebo délka", "") \
    X(ESEMA, "Chybná hodnota,  délka, chybí @ nebo tecka, mezera v adrese", "jmeno@firma.cz") \
    X(WSTEL, "Chybná hodnota nebo délka, minimální délka by měla být 9 znaků.", "nnnnnnnn") \
    X(ESVYT, "Chybná hodnota nebo délka", "2006-06-01T00:00:00 až 2006-09-30T23:59") \
    X(ES017, "Chybná hodnota nebo délka", "") \
    X(ES113, "Chybná hodnota nebo délka", "") \
    X(ES019, "Chybná hodnota nebo délka", "") \
    X(ES179, "Chybná hodnota nebo délka", "CZ0nnn") \
    X(ES110, "Chybná hodnota nebo délka", "200606201-20060930") \
    X(ES116, "Chybná hodnota nebo délka", "") \
    X(ES123, "Chybná hodnota nebo délka", "") \
    X(EL057, "Chybná hodnota nebo délka", "") \
    X(ES115, "Chybná hodnota nebo délka", "") \
    X(ES118, "Chybná hodnota nebo délka", "") \
    X(ES119, "Chybná hodnota nebo délka", "") \
    X(ES126, "Chybná hodnota nebo délka", "") \
    X(EL002, "Věk zaměstnance není v intervalu 14 až 100 let", "1906-1992") \
    X(EL032, "Chybný kód pohlaví", "1,2") \
    X(ES223, "Chybná hodnota nebo délka", "A - V") \
    X(ES033, "Chybná hodnota nebo délka", "") \
    X(ES013, "Chybná hodnota nebo délka", "") \
    X(WL034, "U zaměstnance ve státní sféře jsou povoleny pouze hodnoty 1 a 2.", "1,2") \
    X(ES130, "Chybná hodnota nebo délka", "") \
    X(ES131, "Chybná hodnota týdeního fondu pracovní doby", "0 - 42.5") \
    X(ES225, "Chybná hodnota nebo délka", "") \
    X(ES216, "Chybná hodnota nebo délka", "") \
    X(ES132, "Chybná hodnota nebo délka", "0 - 9999,99") \
    X(ES133, "Chybná hodnota nebo délka", "") \
    X(ES134, "Chybná hodnota nebo délka", "") \
    X(ES135, "Chybná hodnota nebo délka", "") \
    X(ES136, "Chybná hodnota nebo délka", "") \
    X(ES137, "Chybná hodnota nebo délka", "1,2") \
    X(EL044, "Platová třída zaměstnance musí být 1 - 16", "1 - 16") \
    X(ES128, "Nepřípustný platový stupeň", "0 - 12") \
    X(EL001, "Nepřípustný kód zvýšení platového tarifu", "1,2,3,4,5") \
    X(ES138, "Chybná hodnota nebo délka", "") \
    X(ES139, "Chybná hodnota nebo délka", "") \
    X(ES140, "Chybná hodnota nebo délka", "") \
    X(ES141, "Chybná hodnota nebo délka", "") \
    X(ES142, "Chybná hodnota nebo délka", "") \
    X(ES143, "Chybná hodnota nebo délka", "") \
    X(ES144, "Chybná hodnota nebo délka", "") \
    X(ES145, "Chybná hodnota nebo délka", "") \
    X(ES146, "Chybná hodnota nebo délka", "") \
    X(ES147, "Chybná hodnota nebo délka", "") \
    X(ES148, "Chybná hodnota nebo délka", "") \
    X(ES160, "Chybná hodnota nebo délka", "") \
    X(ES162, "Chybná hodnota nebo délka", "") \
    X(ES150, "Chybná hodnota nebo délka", "") \
    X(ES239, "Chybná hodnota nebo délka", "") \
    X(ES240, "Chybná hodnota nebo délka", "") \
    X(ES151, "Chybná hodnota nebo délka", "") \
    X(ES152, "Chybná hodnota nebo délka", "") \
    X(ES153, "Chybná hodnota nebo délka", "") \
    X(ES154, "Chybná hodnota nebo délka", "") \
    X(ES155, "Chybná hodnota nebo délka", "") \
    X(ES156, "Chybná hodnota nebo délka", "") \
    X(ES157, "Chybná hodnota nebo délka", "") \
    X(ES163, "Chybná hodnota nebo délka", "") \
    X(ES161, "Chybná hodnota nebo délka", "") \
    X(ES237, "Chybná hodnota nebo délka", "") \
    X(ES238, "Chybná hodnota nebo délka", "") \
    X(ES158, "Chybná hodnota nebo délka", "") \
    X(ES159, "Chybná hodnota nebo délka", "") \
    X(ES165, "Chybná hodnota nebo délka", "") \
    X(ES166, "Chybná hodnota nebo délka", "") \
    X(ES167, "Chybná hodnota nebo délka", "") \
    X(ES168, "Chybná hodnota nebo délka", "") \
    X(ES091, "Chybná hodnota nebo délka", "") \
    X(ES210, "Chybná hodnota nebo délka", "") \
    X(ES218, "Chybná hodnota nebo délka", "") \
    X(ES219, "Chybná hodnota nebo délka", "") \
    X(ES690, "Chybná hodnota nebo délka", "") \
    X(EL003, "Hodnota není shodná u záznamů stejného zaměstnance", "") \
    X(EL004, "Jsou povolené pouze hodnoty 1, 2, 3 nebo 7.", "") \
    X(EL005, "Překročena maximální hodnota pracovního fondu v jednom pracovním poměru", "") \
    X(EL006, "Zaměstnanec byl ve sledovaném období v evidenčním stavu (AA0218) více dní než je uvedeno  v letech " "u doby zaměstnání celkem..", "") \
    X(EL010, "Doba čerpání dovolené je větší než neodpracovaná doba s náhradou platu", "") \
    X(EL015, "AA0144 se nerovná součtu AA0145, AA0146, AA0147, AA0148, AA0160, AA0162, AA0150, AA0157, AA0163, " "AA0161 a AA0158.", "") \
    X(EL020, "Hodnota neodpovídá součtu přepočtených stavů za všechny zaměstnance.", "") \
    X(EL021, "Evidenční stav zaměstnanců neodpovídá počtu zaměstnanců v evidenčním stavu.", "") \
    X(EL022, "Vyplacené platy neodpovídají sumě platů zaměstnanců", "") \
    X(EL027, "Celková suma příplatků zúčtovaných k\u00a0výplatě AA0150 musí být rovna AA0239 + AA0151 + AA0152 + " "AA0153 + AA0154 + AA0155 + AA0156 + AA0240.", "") \
    X(EL028, "Celkové odměny za pohotovost neodpovídají součtu jednotlivých odměn za pohotovost.", "") \
    X(EL031, "Neplatné IČO.", "") \
    X(EL037, "Pokud AA0136 (kód evidenčního stavu přepočtený)=0 pak musí být hodnota nulová", "") \
    X(EL038, "Pokud AA0136 (kód evidenčního stavu přepočtený)=0 pak musí být hodnota pro evidenční stav " "zaměstnance k poslednímu dni = 2", "") \
    X(EL046, "Neznámý kód zaměstnání", "") \
    X(EL047, "Neznámý kód státu", "") \
    X(EL048, "Neznámý kód nejvyššího dosaženého vzdělání", "") \
    X(EL050, "Neplatné datum - den neodpovídá měsíci", "") \
    X(EL051, "Nesouhlasí výše platového tarifu - pro tabulku platových tarifů.", "") \
    X(EL052, "Součet všech průměrných evidenčních stavů přepočtených v hlavním a služebním pracovním poměru nesmí " "být větší než 1", "") \
    X(EL055, "Neznámý kód právní formy", "") \
    X(EL056, "Neznámý kód NUTS", "") \
    X(EL058, "Vyplacené platy musí odpovídat počtu zaměstnanců", "") \
    X(EL059, "Zaměstnanec, který je celé sledované období v evid. stavu, musí být v evid. stavu i poslední den.", "") \
    X(EL062, "Rozpočet plus mimorozpočtové zdroje neodpovídají proplacené částce. I v pololetí se vykazuje " "rozpočet za celý rok.", "") \
    X(EL064, "Počet zaměstnanců rozpočtovaný neodpovídá vykázanému průměrnému stavu přepočtenému.", "") \
    X(EL065, "Nepřípustná kombinace pracovně právních vztahů.", "") \
    X(EL068, "Neznámý kód postavení v zaměstnání.", "") \
    X(EL069, "Celková doba absence je menší než doba nemoci a dovolené.", "") \
    X(EL070, "Zaměstnanec s AA0136=1 nemůže mít zkrácenou pracovní dobu", "") \
    X(EL071, "Zaměstnanec s AA0136=1 musel být v evidenčním stavu celé sledované období", "") \
    X(EL073, "Zaměstnanec u něhož je počet evidenčních dnů nula musí mít průměrný evid. stav přepočtený také " "nulový.", "") \
    X(EL074, "Data za zaměstnavatele lze předat jen jednou v jednom souboru.", "") \
    X(EL075, "Další platy byly zrušeny.", "") \
    X(EL076, "Zaměstnanec nemohl nastoupit před 14. rokem věku.", "") \
    X(EL077, "AA0218 nemůže být vyšší než je počet kalendářních dní ve sledovaném období.", "") \
    X(EL078, "AA0219 nemůže být vyšší než je počet pracovních dní (včetně svátků) ve sledovaném období.", "") \
    X(EL080, "Počet odpracovaných dní a dní absence je větší než počet kalendářních dní, kdy byl zaměstnance v " "evidenčním stavu (AA0218)", "") \
    X(EL081, "Všichni zaměstnanci mají stejný kód vzdělání", "") \
    X(EL082, "Většina zaměstnanců má nedokončené základní vzdělání", "") \
    X(ER212, "IČO předkladatele nebylo nalezeno v seznamu předkladatelů pro vyhlášenou kampaň.", "") \
    X(ES300, "Chyba syntaxe XML", "") \
    X(ES301, "Neznamý prvek", "") \
    X(ES302, "Nesouhlasi zacatek a konec prvku", "") \
    X(ES303, "Prvkek nebyl uveden", "") \
    X(ES304, "Vícenásobný výskyt prvku      .", "") \
    X(ES305, "Chybne poradi prvku", "") \
    X(ES306, "Kontrolovaný soubor není DUV", "") \
    X(ES308, "V souboru nebyl ani jeden zamestnavatel", "") \
    X(ES309, "Zamestnavatel nemá ani jednoho zamestnance", "") \
    X(ES310, "Soubor není v kódování Windows-1250 (je v UTF-8 nebo deklaruje jiné kódování)", "") \
    X(ES311, "Znak & v hodnotě prvku musí být zapsán jako &amp;", "") \
    X(ES312, "Hodnota prvku obsahuje nepovolený řídicí znak", "") \
    X(ES313, "Za koncem dokumentu (</DUV>) je další obsah", "") \
    X(WS102, "Element <DUV> by měl obsahovat atributy verze=\"1.6\" a xmlns=\"http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/\"", "") \
    X(WL007, "Překročena maximální odpracovaná doba", "") \
    X(WL008, "Maximální počet odpracovaných hodin přesčas je hodnota položky AA0132/6", "") \
    X(WL009, "Průměrný evid. stav přep. krát počet proplacených hodin bez přesčasů neodpovídá celkovému počtu " "hodin v daném období", "") \
    X(WL011, "Rozpor s 330/2003 Sb.! Nesouhlasí výše platového tarifu - pro tabulku platových tarifů. Zaměstnanec " "není v evidenčním stavu k poslednímu dni sledovaného období", "") \
    X(WL012, "Překročena maximální výše osobního příplatku.", "") \
    X(WL013, "Překročena max. možná hodnota příplatku za vedení a zastupování (13000,- Kč).", "") \
    X(WL014, "Překročena max. možná hodnota zvláštního příplatku (10000,- Kč).", "") \
    X(WL016, "Náhrada za dovolenou překročila celkové náhrady zúčtované k platu. To je v\u00a0pořádku byly-li " "nějaké náhrady záporné", "") \
    X(WL017, "Průměrný hodinový plat krát počet proplacených hodin neodpovídá celkovému platu.", "") \
    X(WL018, "Rozpor se zákonem o daních z příjmu! Pro jednoho zaměstnance lze nezdanitelnou částku základu daně " "uvést pouze jednou", "") \
    X(WL023, "Vyplacené mimorozpočtové zdroje jsou vyšší než platy zaměstnanců", "") \
    X(WL024, "Hodnostní příplatek překročil max. hodnotu 4600,- Kč.", "") \
    X(WL025, "Odvod na veřejné zdravotní pojištění neodpovídá vyplaceným platům", "") \
    X(WL026, "Odvod na sociální pojištění neodpovídá platu", "") \
    X(WL029, "Za čerpanou dovolenou nebyla vyplacena náhrada platu", "") \
    X(WL033, "Jiný stát než Česká, nebo Slovenská republika", "CZ, SK") \
    X(WL039, "Používejte pětimístný kód zaměstnání, nekončící 0.", "") \
    X(WL040, "Zaměstnanec ve státní správě nemá zvýšený platový tarif aspoň o 25%.", "") \
    X(WL042, "Je nepravděpodobné, aby byli všichni pracovníci v evidenčním stavu.", "") \
    X(WL043, "Je nepravděpodobné, aby byli všichni pracovníci v hlavním pracovním poměru.", "") \
    X(WL049, "Maximální hodnota součtu pracovních fondů ve všech pracovních poměrech by měla být menší než 80 " "hodin.", "") \
    X(WL053, "Používejte přednostně dvoupísmenný kód státu.", "") \
    X(WL054, "Kód zařízení se používá jen u organizací nemající vlastní IČO, jinak se nechává prázdné.", "") \
    X(WL060, "Týdenní fond pracovní doby by měl odpovídat průměrnému týdennímu fondu za celé období.", "") \
    X(WL061, "Rozpočet plus mimorozpočtové zdroje neodpovídají proplacené částce. I v pololetí se vykazuje " "rozpočet za celý rok.", "") \
    X(WL063, "Počet zaměstnanců rozpočtovaný neodpovídá vykázanému průměrnému stavu přepočtenému.", "") \
    X(EL066, "Průměrný evidenční stav přepočtený (AA0136) nemůže být větší než nepřepočtený (AA0218/ kal_dní).", "") \
    X(WL067, "Neuvedený průměrný hodinový plat.", "") \
    X(WL072, "Zaměstnanec u něhož se průměrný evidenční stav přepočtený (AA0136) rovná nepřepočtenému " "(AA0218/kaldní) nemůže mít zkrácenou pracovní dobu", "") \
    X(WL901, "Plna tabulka zamestnavatelu, další nebudou kontrolovani na duplicitni vyskyt", "") \
    X(WR202, "IIdentifikační číslo předkladatele by se mělo shodovat s identifikačním číslem liniově nadřízené " "organizace v  Registru organizací.", "") \
    X(WR204, "Identifikační číslo zaměstnavatele by mělo být vedeno v Registru organizací.", "")
// clang-format on

namespace tavon {

enum class Code : std::uint16_t {
#define TAVON_CODE_ENUMERATOR(code, description, expected) code,
    TAVON_ERROR_TABLE(TAVON_CODE_ENUMERATOR)
#undef TAVON_CODE_ENUMERATOR
};

inline constexpr std::size_t kCodeCount = 164;

enum class Severity : char { Error = 'E', Warning = 'W' };

// The codes' names, e.g. "EL051", in the order of the enumeration.
inline constexpr std::string_view kCodeNames[] = {
#define TAVON_CODE_NAME(code, description, expected) #code,
    TAVON_ERROR_TABLE(TAVON_CODE_NAME)
#undef TAVON_CODE_NAME
};

constexpr std::string_view name(Code code) { return kCodeNames[static_cast<std::size_t>(code)]; }

constexpr Severity severity(Code code) { return name(code)[0] == 'E' ? Severity::Error : Severity::Warning; }

// The Czech description ("Popis"), Windows-1250.
TAVON_API std::string_view description(Code code);
// The expected-value text of the table (empty for most codes), Windows-1250.
TAVON_API std::string_view table_expected(Code code);

}  // namespace tavon
