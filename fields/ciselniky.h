// Code lists and registers compiled in from fields/data: pure lookups, no reporting, no state.
// Every lookup answers exactly as a search from the first entry of the data file that stops at the
// first equal entry (whole texts compared byte by byte, numbers by value), but runs as a binary
// search over tables sorted when the program is built.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tavon {

inline constexpr int TcisStat_pocet = 718;  // positions 0..717; TcisStat_pocet itself means "no such code"
inline constexpr int TcisStat_domaci = 6;   // positions 0..5 are the home states (CZ, CZE, 203, SK, SVK, 703)
inline constexpr int TcisPraf_pocet = 39;
inline constexpr int TcisPosZ_pocet = 8;
inline constexpr int TcisDppv_pocet = 4;
inline constexpr int TcisNuts_pocet = 91;
inline constexpr int TcisVzde_pocet = 14;

// Position of the first state code equal to `kod`, or TcisStat_pocet when there is none.
int TcisStat_najdi(std::string_view kod);
// The state code at `pozice`; empty for TcisStat_pocet and any other position outside the list.
std::string_view TcisStat_kod(int pozice);

bool TcisKzam_obsahuje(std::string_view kod);
bool TcisPraf_obsahuje(std::string_view kod);
bool TcisPosZ_obsahuje(std::string_view kod);
bool TcisDppv_obsahuje(std::string_view kod);
bool TcisNuts_obsahuje(std::string_view kod);
bool TcisVzde_obsahuje(std::string_view kod);

// Submitter register.
bool TcisPred_obsahuje(std::uint32_t ico);
// Provider register: the submitter registered for the first provider entry equal to `ico`.
std::optional<std::uint32_t> TcisPosPre_predkladatel(std::uint32_t ico);

// The lists in the order of their data files.
std::span<const std::string_view> TcisStat_seznam();
std::span<const std::string_view> TcisKzam_seznam();
std::span<const std::string_view> TcisPraf_seznam();
std::span<const std::string_view> TcisPosZ_seznam();
std::span<const std::string_view> TcisDppv_seznam();
std::span<const std::string_view> TcisNuts_seznam();
std::span<const std::string_view> TcisVzde_seznam();
std::span<const std::uint32_t> TcisPred_seznam();
std::span<const std::uint32_t> TcisPosPre_seznam();  // providers
std::span<const std::uint32_t> TcisPrePos_seznam();  // their submitters, parallel to TcisPosPre_seznam()

// True when the registers and the occupation list are the samples shipped in fields/data, false
// when the build took them from another directory (TAVON_DATA_DIR).
bool ciselniky_vzorova_data();

}  // namespace tavon
