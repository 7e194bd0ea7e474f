// What an IFO declares: audio entries, their count, and the program chains'
// audio stream control, on crafted bytes (cut off anywhere) and on the title
// sets dvdauthor wrote.

#include "dvd/ifo_declared.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dvd/ifo_bytes.h"
#include "io/read_only_file.h"
#include "support/ifo_builder.h"

namespace tonvika {
namespace {

using testing::IfoBuilder;
using Bytes = std::vector<std::uint8_t>;

// An IFO whose one counted entry has the given first, second and sixth bytes.
Bytes OneEntry(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte5) {
  Bytes ifo(0x204 + 8, 0x00);
  ifo[0x203] = 1;
  ifo[0x204] = byte0;
  ifo[0x205] = byte1;
  ifo[0x206] = 'j';
  ifo[0x207] = 'a';
  ifo[0x209] = byte5;
  return ifo;
}

struct EntryCase {
  std::uint8_t byte0, byte1, byte5;
  std::uint8_t coding, language_type, application;
  bool multichannel;
  std::uint8_t quantization, rate_code;
  int channels;
  const char* language;
};

TEST(ReadDeclaredAudio, DecodesEachFieldOfAnEntry) {
  const EntryCase cases[] = {
      // dvdauthor's AC-3 5.1 [en]: coding 0, language given, DRC, 48 kHz, 6 channels.
      {0x04, 0xC5, 0x00, 0, 1, 0, false, 3, 0, 6, "ja"},
      // DTS (6), LPCM (4) 24 bits 96 kHz mono, MPEG-2 (3) with multichannel extension.
      {0xC4, 0xC5, 0x00, 6, 1, 0, false, 3, 0, 6, "ja"},
      {0x84, 0x90, 0x00, 4, 1, 0, false, 2, 1, 1, "ja"},
      {0x70, 0x07, 0x03, 3, 0, 0, true, 0, 0, 8, "none"},
      // Application modes karaoke (1) and surround (2); language type 2 is no code.
      {0x05, 0x41, 0x04, 0, 1, 1, false, 1, 0, 2, "ja"},
      {0x0A, 0x01, 0x02, 0, 2, 2, false, 0, 0, 2, "none"},
      {0xE3, 0x3F, 0xFF, 7, 0, 3, false, 0, 3, 8, "none"},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << int(c.byte0) << " " << int(c.byte1));
    const DeclaredAudio declared = ReadDeclaredAudio(OneEntry(c.byte0, c.byte1, c.byte5));
    ASSERT_EQ(declared.entries.size(), 1u);
    const DeclaredAudioEntry& e = declared.entries[0];
    EXPECT_EQ(e.index, 0);
    EXPECT_EQ(e.coding_mode, c.coding);
    EXPECT_EQ(e.language_type, c.language_type);
    EXPECT_EQ(e.application_mode, c.application);
    EXPECT_EQ(e.multichannel_extension, c.multichannel);
    EXPECT_EQ(e.quantization, c.quantization);
    EXPECT_EQ(e.sample_rate_code, c.rate_code);
    EXPECT_EQ(e.channels, c.channels);
    EXPECT_EQ(e.code_extension, c.byte5);
    EXPECT_EQ(e.language_code, c.language);
    EXPECT_FALSE(e.stream_number) << "no program chain table";
  }
}

TEST(ReadDeclaredAudio, TheCountSaysHowManyEntriesThereAre) {
  IfoBuilder ifo;
  for (int k = 0; k < 8; ++k) ifo.Add({});
  const std::pair<int, std::size_t> cases[] = {{0, 0}, {3, 3}, {8, 8}, {9, 8}, {0xFFFF, 8}};
  for (const auto& [count, entries] : cases) {
    EXPECT_EQ(ReadDeclaredAudio(ifo.Count(count).Build()).entries.size(), entries) << count;
  }
}

TEST(ReadDeclaredAudio, AnIfoCutShortDeclaresWhatItHolds) {
  const Bytes whole = IfoBuilder()
                          .Add({0, "en"})
                          .Add({6, "ja"})
                          .Add({4, "de"})
                          .ChainPlaying({0, 1, 2})
                          .Build();
  struct Cut {
    std::size_t size;
    std::size_t entries;
    bool chain;
  };
  const Cut cases[] = {
      {0, 0, false},
      {0x203, 0, false},              // the count is cut off
      {0x204, 0, false},              // count 3, but no entry
      {0x204 + 8 + 7, 1, false},      // the second entry lacks a byte
      {0x204 + 24, 3, false},         // the table of chains lies beyond
      {2 * 2048 + 8 + 8 + 0x0C + 15, 3, false},  // the last control word lacks a byte
      {whole.size(), 3, true},
  };
  for (const Cut& c : cases) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.size));
    const DeclaredAudio declared = ReadDeclaredAudio(cut);
    EXPECT_EQ(declared.entries.size(), c.entries) << c.size;
    EXPECT_EQ(declared.FirstChain() != nullptr, c.chain) << c.size;
  }
}

TEST(ReadDeclaredAudio, ControlWordsGiveAvailabilityAndStreamNumber) {
  struct WordCase {
    std::uint16_t word;
    std::optional<int> stream;
  };
  const WordCase cases[] = {
      {0x8000, 0}, {0x8100, 1}, {0x8700, 7}, {0x8012, 0},  // the low byte is not the stream
      {0x0000, std::nullopt}, {0x0300, std::nullopt},      // not available
      {0x8800, std::nullopt}, {0xFF00, std::nullopt},      // no stream above 7
  };
  for (const WordCase& c : cases) {
    const Bytes ifo = IfoBuilder().Add({0, "en"}).Chain({c.word}).Build();
    const DeclaredAudio declared = ReadDeclaredAudio(ifo);
    ASSERT_NE(declared.FirstChain(), nullptr);
    EXPECT_EQ((*declared.FirstChain())[0], c.stream) << std::hex << c.word;
    EXPECT_EQ(declared.entries.at(0).stream_number, c.stream) << std::hex << c.word;
  }
}

TEST(ReadDeclaredAudio, EntriesTakeTheirStreamsFromTheFirstChain) {
  const Bytes ifo =
      IfoBuilder().Add({0, "en"}).Add({0, "ja"}).ChainPlaying({1, 0}).ChainPlaying({0, 1}).Build();
  const DeclaredAudio declared = ReadDeclaredAudio(ifo);
  ASSERT_EQ(declared.program_chains.size(), 2u);
  ASSERT_TRUE(declared.program_chains[1]);
  EXPECT_EQ((*declared.program_chains[1])[0], 0);
  EXPECT_EQ(declared.entries[0].stream_number, 1);
  EXPECT_EQ(declared.entries[1].stream_number, 0);
}

TEST(ReadDeclaredAudio, ATitleTakesItsStreamsFromItsOwnChain) {
  const Bytes ifo =
      IfoBuilder().Add({0, "en"}).Add({0, "ja"}).ChainPlaying({1, 0}).ChainPlaying({0, {}}).Build();
  using Streams = std::vector<std::optional<int>>;
  const struct {
    int chain;
    Streams streams;  // of entries 0 and 1
    bool readable;
  } cases[] = {
      {1, {1, 0}, true},
      {2, {0, std::nullopt}, true},
      {3, {std::nullopt, std::nullopt}, false},  // a chain the table does not have
      {0, {std::nullopt, std::nullopt}, false},
  };
  for (const auto& c : cases) {
    const DeclaredAudio declared = ReadDeclaredAudio(ifo, c.chain);
    EXPECT_EQ((Streams{declared.entries[0].stream_number, declared.entries[1].stream_number}), c.streams) << c.chain;
    EXPECT_EQ(declared.FirstChain() != nullptr, c.readable) << c.chain;
  }
}

TEST(ReadDeclaredAudio, ABrokenPointerLosesOnlyItsChain) {
  Bytes ifo = IfoBuilder().Add({0, "en"}).ChainPlaying({0}).ChainPlaying({0}).Build();
  // Search pointer 1 points far past the end of the file.
  IfoBuilder::Put32(ifo, 2 * 2048 + 8 + 8 + 4, 0x00FFFFF0);
  DeclaredAudio declared = ReadDeclaredAudio(ifo);
  ASSERT_EQ(declared.program_chains.size(), 2u);
  EXPECT_TRUE(declared.program_chains[0]);
  EXPECT_FALSE(declared.program_chains[1]);
  EXPECT_NE(declared.FirstChain(), nullptr);

  // The same for the first: then no chain is the title's first.
  IfoBuilder::Put32(ifo, 2 * 2048 + 8 + 4, 0xFFFFFFFF);
  declared = ReadDeclaredAudio(ifo);
  EXPECT_EQ(declared.FirstChain(), nullptr);
  EXPECT_FALSE(declared.entries.at(0).stream_number);
}

TEST(ReadDeclaredAudio, NoTableOfChainsWhereThePointerIsZeroOrOutside) {
  Bytes ifo = IfoBuilder().Add({0, "en"}).ChainPlaying({0}).Build();
  for (const std::uint32_t sector : {0u, 3u, 0xFFFFFFFFu}) {
    IfoBuilder::Put32(ifo, 0xCC, sector);
    EXPECT_TRUE(ReadDeclaredAudio(ifo).program_chains.empty()) << sector;
  }
}

TEST(ReadDeclaredAudio, ACountBeyondTheFileStopsAtItsEnd) {
  Bytes ifo = IfoBuilder().Add({0, "en"}).ChainPlaying({1}).Build();
  constexpr std::size_t kTable = 2 * 2048;
  IfoBuilder::Put16(ifo, kTable, 0xFFFF);
  const DeclaredAudio declared = ReadDeclaredAudio(ifo);
  // Search pointer i is read while its eight bytes lie in the file.
  EXPECT_EQ(declared.program_chains.size(), (ifo.size() - kTable - 8) / 8);
  ASSERT_NE(declared.FirstChain(), nullptr);
  EXPECT_EQ((*declared.FirstChain())[0], 1);
}

TEST(DeclaredNames, CodedValuesHaveTheirNames) {
  EXPECT_EQ(AudioCodingName(0), "AC-3");
  EXPECT_EQ(AudioCodingName(2), "MPEG-1");
  EXPECT_EQ(AudioCodingName(3), "MPEG-2");
  EXPECT_EQ(AudioCodingName(4), "LPCM");
  EXPECT_EQ(AudioCodingName(6), "DTS");
  for (const std::uint8_t undefined : {1, 5, 7, 8}) EXPECT_FALSE(AudioCodingName(undefined));
  EXPECT_EQ(ApplicationModeName(2), "surround");
  EXPECT_FALSE(ApplicationModeName(3));
  EXPECT_EQ(CodeExtensionName(3), "director's comments");
  EXPECT_FALSE(CodeExtensionName(5));
}

TEST(DeclaredNames, DescribeNamesCodingWordLengthChannelsRateAndLanguage) {
  DeclaredAudioEntry entry;
  entry.coding_mode = kCodingLpcm;
  entry.quantization = 1;
  entry.sample_rate_code = 1;
  entry.channels = 2;
  entry.language_code = "de";
  EXPECT_EQ(DescribeDeclaredEntry(entry), "LPCM 20bit 2ch 96000Hz de");
  entry.coding_mode = kCodingAc3;
  entry.quantization = 3;
  entry.sample_rate_code = 0;
  entry.channels = 6;
  entry.language_code = "none";
  entry.code_extension = 3;
  EXPECT_EQ(DescribeDeclaredEntry(entry), "AC-3 6ch 48000Hz (director's comments)");
  entry.coding_mode = 5;
  entry.sample_rate_code = 2;
  entry.code_extension = 1;
  EXPECT_EQ(DescribeDeclaredEntry(entry), "coding 5 6ch");
}

// ----- Title sets written by dvdauthor (tests/fixtures). -----

const std::filesystem::path kFixtures = TONVIKA_FIXTURES;

DeclaredAudio ReadFixture(const std::string& folder, const char* name = "VTS_01_0.IFO") {
  return ReadDeclaredAudio(ReadFileStart((kFixtures / folder / "VIDEO_TS" / name).string(), kMaxInformationFileSize));
}

struct StreamCase {
  std::uint8_t coding;
  const char* language;
  std::optional<int> stream;
};

void ExpectStreams(const DeclaredAudio& declared, const std::vector<StreamCase>& expected) {
  ASSERT_EQ(declared.entries.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(declared.entries[k].coding_mode, expected[k].coding) << k;
    EXPECT_EQ(declared.entries[k].language_code, expected[k].language) << k;
    EXPECT_EQ(declared.entries[k].stream_number, expected[k].stream) << k;
  }
}

TEST(DeclaredFixtures, DvdauthorPairsEntryNWithStreamN) {
  ExpectStreams(ReadFixture("mixed_ac3_dts_lpcm"),
                {{0, "en", 0}, {6, "ja", 1}, {4, "de", 2}, {0, "fr", 3}, {6, "es", 4}, {4, "it", 5}});
  EXPECT_EQ(ReadFixture("mixed_ac3_dts_lpcm").program_chains.size(), 1u);
}

TEST(DeclaredFixtures, EditedChainsInTheIfoAndTheBackup) {
  for (const char* name : {"VTS_01_0.IFO", "VTS_01_0.BUP"}) {
    SCOPED_TRACE(name);
    ExpectStreams(ReadFixture("declared/swapped_streams", name), {{0, "en", 1}, {0, "ja", 0}});
    ExpectStreams(ReadFixture("declared/unavailable_entry", name), {{0, "de", 0}, {0, "fr", std::nullopt}});
  }
}

TEST(DeclaredFixtures, PerKindNumbersShareStreamNumbersAcrossKinds) {
  ExpectStreams(ReadFixture("declared/per_kind_numbers"), {{0, "en", 0},
                                                           {4, "nl", 0},
                                                           {6, "fr", 0},
                                                           {0, "ja", 1},
                                                           {4, "ko", 1},
                                                           {6, "es", 1},
                                                           {0, "de", 2},
                                                           {6, "it", 2}});
}

}  // namespace
}  // namespace tonvika
