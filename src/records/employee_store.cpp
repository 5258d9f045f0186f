#include "records/employee_store.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "fields/attribute_tables.h"

namespace tavon {
namespace {

// A number cut toward zero to 32 bits; values beyond that range, which their field's own checks
// reject, become the lowest integer rather than undefined behaviour.
std::int32_t whole(double d) {
    if (!(d > -2147483649.0 && d < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(d);
}

char first_char(std::string_view s) { return s.empty() ? '\0' : s[0]; }

// A record is a few bytes and then numbers of seven bits a byte, the high bit saying that more
// follow; signed ones zigzagged so that small negatives stay short.
void put_varint(std::uint8_t*& p, std::uint64_t v) {
    while (v >= 0x80) {
        *p++ = static_cast<std::uint8_t>(v | 0x80);
        v >>= 7;
    }
    *p++ = static_cast<std::uint8_t>(v);
}

std::uint64_t get_varint(const std::uint8_t*& p) {
    std::uint64_t v = *p++;
    if (v < 0x80) return v;
    v &= 0x7F;
    for (unsigned shift = 7;; shift += 7) {
        const std::uint64_t byte = *p++;
        v |= (byte & 0x7F) << shift;
        if (byte < 0x80) return v;
    }
}

std::uint64_t zigzag(std::int64_t v) { return (static_cast<std::uint64_t>(v) << 1) ^ (v < 0 ? ~0ull : 0ull); }
std::int64_t unzigzag(std::uint64_t v) {
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

// A field's value is the exact quotient of a whole number and a power of ten (as the text gave
// it), so it is kept as that number and power when they give back the very same double, and whole
// otherwise. Tag: the power 0..6, or 7 for the eight bytes of the double.
constexpr double kTens[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
constexpr int kRaw = 7;
constexpr double kExact = 9007199254740992.0;  // 2^53: every whole number below is a double

void put_number(std::uint8_t*& p, double d) {
    const auto bits = std::bit_cast<std::uint64_t>(d);
    if (d > -kExact && d < kExact) {
        const auto m = static_cast<std::int64_t>(d);
        if (std::bit_cast<std::uint64_t>(static_cast<double>(m)) == bits)
            return put_varint(p, zigzag(m) << 3);
        for (int s = 1; s < kRaw; ++s) {
            const double t = d * kTens[s];
            if (!(t > -kExact && t < kExact)) break;
            const auto k = static_cast<std::int64_t>(t < 0 ? t - 0.5 : t + 0.5);
            if (std::bit_cast<std::uint64_t>(static_cast<double>(k) / kTens[s]) == bits)
                return put_varint(p, zigzag(k) << 3 | static_cast<std::uint64_t>(s));
        }
    }
    *p++ = kRaw;  // -0, a fraction of more than six places, a huge number
    std::memcpy(p, &bits, sizeof bits);
    p += sizeof bits;
}

double get_number(const std::uint8_t*& p) {
    const std::uint64_t v = get_varint(p);
    const auto s = static_cast<int>(v & 7);
    if (s == kRaw) {
        std::uint64_t bits;
        std::memcpy(&bits, p, sizeof bits);
        p += sizeof bits;
        return std::bit_cast<double>(bits);
    }
    const auto d = static_cast<double>(unzigzag(v >> 3));
    return s ? d / kTens[s] : d;
}

constexpr std::size_t kShortText = 255;  // texts of fewer bytes stand in the record itself
// The most bytes one record takes: four single bytes, two texts, the line (64 bits), four numbers
// of 32 bits and seven amounts of at most nine bytes.
constexpr std::size_t kMaxRecord = 4 + 2 * kShortText + 10 + 4 * 5 + 7 * 9;

}  // namespace

void RisingNumbers::push_back(std::uint64_t v) {
    const auto high = static_cast<std::uint32_t>(v >> 32);
    if (high != (steps_.empty() ? 0 : steps_.back().second)) steps_.emplace_back(low_.size(), high);
    low_.push_back(static_cast<std::uint32_t>(v));
}

std::uint64_t RisingNumbers::high_part(std::size_t i) const {
    auto it = std::upper_bound(steps_.begin(), steps_.end(), i,
                               [](std::size_t slot, const auto& step) { return slot < step.first; });
    return it == steps_.begin() ? 0 : std::uint64_t{std::prev(it)->second} << 32;
}

EmployeeStore::EmployeeStore() = default;
EmployeeStore::~EmployeeStore() = default;

void EmployeeStore::start_employer() {
    open_ = false;
    used_ = 0;
    offsets_.clear();
    long_texts_.clear();
    sum_AA0136 = count_AA0137 = sum_AA0144 = 0;
    some_AA0130_above_1 = some_AA0137_above_1 = long_state_code_seen = false;
}

void EmployeeStore::keep(int row, std::string_view text, double number, std::uint64_t line,
                         const CodeList& states) {
    if (!open_) return;
    StoredEmployee& e = current_;
    switch (row) {
        case employee::AA0126:
            current_id_.assign(text);
            e.line = line;
            e.has_id = true;
            break;
        case employee::AA0231: e.AA0231 = whole(number); break;
        case employee::AA0211: e.AA0211 = first_char(text); break;
        case employee::AA0223: e.AA0223 = first_char(text); break;
        case employee::AA0033:
            e.AA0033 = states.position(text);
            current_state_unknown_ = e.AA0033 >= states.size();
            if (current_state_unknown_) current_state_.assign(text);
            break;
        case employee::AA0013: current_AA0013.assign(text); break;
        case employee::AA0130:
            e.AA0130 = first_char(text);
            if (e.AA0130 >= '2' && e.AA0130 <= '6') some_AA0130_above_1 = true;
            break;
        case employee::AA0131: e.AA0131 = number; break;
        case employee::AA0132: e.AA0132 = number; break;
        case employee::AA0136: e.AA0136 = number; break;
        case employee::AA0144: e.AA0144 = number; break;
        case employee::AA0166: e.AA0166 = number; break;
        case employee::AA0167: e.AA0167 = number; break;
        case employee::AA0168: e.AA0168 = number; break;
        case employee::AA0137: e.AA0137 = whole(number); break;
        case employee::AA0218: e.AA0218 = whole(number); break;
        default: break;  // AA0216 and AA0225 among them: no rule compares them across records
    }
}

void EmployeeStore::note_long_state_code(std::string_view code, std::uint64_t line) {
    long_state_code_seen = true;
    long_state_code_line = line;
    long_state_code.assign(code);
}

void EmployeeStore::put_text(std::uint8_t*& p, std::string_view text) {
    if (text.size() < kShortText) {
        *p++ = static_cast<std::uint8_t>(text.size());
        std::memcpy(p, text.data(), text.size());
        p += text.size();
        return;
    }
    *p++ = kShortText;
    put_varint(p, long_texts_.size());
    put_varint(p, text.size());
    long_texts_.append(text);
}

std::string_view EmployeeStore::text_at(const std::uint8_t*& p) const {
    const std::size_t n = *p++;
    if (n < kShortText) {
        const std::string_view text(reinterpret_cast<const char*>(p), n);
        p += n;
        return text;
    }
    const std::uint64_t from = get_varint(p);
    return std::string_view(long_texts_).substr(from, get_varint(p));
}

// Layout: flags, AA0211, AA0223, AA0130; with an identifier its text and line; AA0231, AA0033,
// AA0137, AA0218; the seven amounts; the state code's text when it is in no list.
void EmployeeStore::seal() {
    if (!open_) return;
    open_ = false;
    if ((used_ & (kChunk - 1)) + kMaxRecord > kChunk) used_ = (used_ | (kChunk - 1)) + 1;
    const std::size_t chunk = used_ >> kChunkBits;
    if (chunk == chunks_.size()) chunks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kChunk));
    std::uint8_t* const start = chunks_[chunk].get() + (used_ & (kChunk - 1));
    std::uint8_t* p = start;

    const StoredEmployee& e = current_;
    *p++ = static_cast<std::uint8_t>((e.has_id ? kHasId : 0) | (current_state_unknown_ ? kUnknownState : 0));
    *p++ = static_cast<std::uint8_t>(e.AA0211);
    *p++ = static_cast<std::uint8_t>(e.AA0223);
    *p++ = static_cast<std::uint8_t>(e.AA0130);
    if (e.has_id) {
        put_text(p, current_id_);
        put_varint(p, e.line);
    }
    put_varint(p, zigzag(e.AA0231));
    put_varint(p, static_cast<std::uint32_t>(e.AA0033));
    put_varint(p, zigzag(e.AA0137));
    put_varint(p, zigzag(e.AA0218));
    for (double d : {e.AA0131, e.AA0132, e.AA0136, e.AA0144, e.AA0166, e.AA0167, e.AA0168}) put_number(p, d);
    if (current_state_unknown_) put_text(p, current_state_);

    offsets_.push_back(used_);
    used_ += static_cast<std::uint64_t>(p - start);
}

StoredEmployee EmployeeStore::record(std::int32_t slot) const {
    const std::uint8_t* p = at(slot);
    StoredEmployee e;
    const std::uint8_t flags = *p++;
    e.AA0211 = static_cast<char>(*p++);
    e.AA0223 = static_cast<char>(*p++);
    e.AA0130 = static_cast<char>(*p++);
    if (flags & kHasId) {
        e.has_id = true;
        e.AA0126 = text_at(p);
        e.line = get_varint(p);
    }
    e.AA0231 = static_cast<std::int32_t>(unzigzag(get_varint(p)));
    e.AA0033 = static_cast<std::int32_t>(get_varint(p));
    e.AA0137 = static_cast<std::int32_t>(unzigzag(get_varint(p)));
    e.AA0218 = static_cast<std::int32_t>(unzigzag(get_varint(p)));
    e.AA0131 = get_number(p);
    e.AA0132 = get_number(p);
    e.AA0136 = get_number(p);
    e.AA0144 = get_number(p);
    e.AA0166 = get_number(p);
    e.AA0167 = get_number(p);
    e.AA0168 = get_number(p);
    if (flags & kUnknownState) e.AA0033_text = text_at(p);
    return e;
}

std::string_view EmployeeStore::identifier(std::int32_t slot) const {
    const std::uint8_t* p = at(slot);
    if (!(*p & kHasId)) return "-";
    p += 4;
    return text_at(p);
}

}  // namespace tavon
