#pragma once
// Builds title set IFO files for tests: audio attribute entries with their
// count, and a program chain table whose chains carry audio stream control
// words, laid out the way dvdauthor writes them (the table in sector 2, the
// first chain right after the search pointers).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tonvika::testing {

class IfoBuilder {
 public:
  struct Entry {
    std::uint8_t coding_mode = 0;  // 0 AC-3, 4 LPCM, 6 DTS ...
    std::string language;          // empty: no language code
    std::uint8_t sample_byte = 0xC1;  // byte 1: quantisation, rate, channels - 1
    std::uint8_t code_extension = 0;
  };

  IfoBuilder& Add(Entry entry) {
    entries_.push_back(std::move(entry));
    return *this;
  }
  IfoBuilder& Count(int count) {
    count_ = count;
    return *this;
  }
  // One program chain; words[k] is entry k's control word (0: unavailable).
  IfoBuilder& Chain(std::vector<std::uint16_t> words) {
    chains_.push_back(std::move(words));
    return *this;
  }
  // Entry k plays stream numbers[k]; nullopt: unavailable.
  IfoBuilder& ChainPlaying(const std::vector<std::optional<int>>& numbers) {
    std::vector<std::uint16_t> words;
    for (const std::optional<int>& n : numbers) {
      words.push_back(n ? static_cast<std::uint16_t>(0x8000 | (*n << 8)) : std::uint16_t{0});
    }
    return Chain(std::move(words));
  }

  std::vector<std::uint8_t> Build() const {
    constexpr std::size_t kTable = 2 * 2048;
    std::vector<std::uint8_t> ifo(kTable, 0x00);
    const int count = count_.value_or(static_cast<int>(entries_.size()));
    Put16(ifo, 0x202, static_cast<std::uint16_t>(count));
    for (std::size_t k = 0; k < entries_.size() && k < 8; ++k) {
      const Entry& e = entries_[k];
      const std::size_t at = 0x204 + 8 * k;
      ifo[at] = static_cast<std::uint8_t>((e.coding_mode << 5) | (e.language.empty() ? 0x00 : 0x04));
      ifo[at + 1] = e.sample_byte;
      for (std::size_t i = 0; i < e.language.size() && i < 2; ++i) {
        ifo[at + 2 + i] = static_cast<std::uint8_t>(e.language[i]);
      }
      ifo[at + 5] = e.code_extension;
    }
    if (chains_.empty()) return ifo;
    Put32(ifo, 0xCC, kTable / 2048);
    const std::size_t pointers = 8;
    const std::size_t first_chain = pointers + 8 * chains_.size();
    constexpr std::size_t kChainSize = 0xEC;
    ifo.resize(kTable + first_chain + kChainSize * chains_.size(), 0x00);
    Put16(ifo, kTable, static_cast<std::uint16_t>(chains_.size()));
    for (std::size_t i = 0; i < chains_.size(); ++i) {
      const std::size_t offset = first_chain + kChainSize * i;
      ifo[kTable + pointers + 8 * i] = static_cast<std::uint8_t>(0x80 | (i + 1));  // entry chain of title i + 1
      Put32(ifo, kTable + pointers + 8 * i + 4, static_cast<std::uint32_t>(offset));
      for (std::size_t k = 0; k < chains_[i].size() && k < 8; ++k) {
        Put16(ifo, kTable + offset + 0x0C + 2 * k, chains_[i][k]);
      }
    }
    return ifo;
  }

  static void Put16(std::vector<std::uint8_t>& to, std::size_t at, std::uint16_t value) {
    to[at] = static_cast<std::uint8_t>(value >> 8);
    to[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
  }
  static void Put32(std::vector<std::uint8_t>& to, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) to[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
  }

 private:
  std::vector<Entry> entries_;
  std::optional<int> count_;
  std::vector<std::vector<std::uint16_t>> chains_;
};

}  // namespace tonvika::testing
