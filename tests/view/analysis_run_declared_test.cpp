// The run with what the IFO declares: languages by the program chain, the
// declarations in the outcome and the notes, for any video-object source.

#include <gtest/gtest.h>

#include <algorithm>

#include "view/window_run.h"
#include "support/ifo_builder.h"
#include "support/stream_builder.h"

namespace tonvika {
namespace {

using testing::Ac3Payload;
using testing::Append;
using testing::Bytes;
using testing::IfoBuilder;
using testing::LpcmPayload;
using testing::PrivateStream1Packet;

const std::string kAc3Kind = "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM";

class QuietHost : public RunHost {
 public:
  int read_size = 5;
  LanguageTable table = ParseLanguageTable("en,English,英語\nja,Japanese,日本語\n");
  TrackSlots slots;

  std::string FilePath() override { return "title.vob"; }
  int ReadSizeMegabytes() override { return read_size; }
  DisplayLanguage Language() override { return DisplayLanguage::Japanese; }
  const LanguageTable& Languages() override { return table; }
  TrackSlots& Slots() override { return slots; }
  void SetStatus(int, const std::string&) override {}
  void SetCommandsEnabled(bool) override {}
  void ProcessPendingEvents() override {}
};

// A source held in memory, as a title set of a disc would be read.
class MemorySource final : public VideoObjectSource {
 public:
  MemorySource(Bytes stream, std::optional<Bytes> ifo) : stream_(std::move(stream)), ifo_(std::move(ifo)) {}
  std::uint64_t Size() override { return stream_.size(); }
  std::optional<InformationFile> ReadInformationFile() override {
    if (!ifo_) return std::nullopt;
    return InformationFile{"VTS_01_0.IFO", *ifo_};
  }
  std::size_t ReadWindow(std::span<std::uint8_t> window) override {
    const std::size_t n = std::min(window.size(), stream_.size());
    std::copy_n(stream_.begin(), n, window.begin());
    return n;
  }

 private:
  Bytes stream_;
  std::optional<Bytes> ifo_;
};

Bytes TwoAc3Tracks() {
  Bytes vob = PrivateStream1Packet(0x80, Ac3Payload(3));
  Append(vob, PrivateStream1Packet(0x81, Ac3Payload(3)));
  vob.resize(vob.size() + 64, 0x00);
  return vob;
}

IfoBuilder EnglishThenJapanese() { return IfoBuilder().Add({0, "en"}).Add({0, "ja"}); }

TEST(AnalysisRunDeclared, LanguagesFollowTheProgramChain) {
  QuietHost host;
  MemorySource source(TwoAc3Tracks(), EnglishThenJapanese().ChainPlaying({1, 0}).Build());
  const AnalysisReport outcome = AnalyseVideoObject(host, "title.vob", source);
  EXPECT_EQ(host.slots.KindText(0), kAc3Kind + " [日本語] ");
  EXPECT_EQ(host.slots.KindText(1), kAc3Kind + " [英語] ");
  EXPECT_EQ(outcome.language_codes[0], "ja");
  EXPECT_EQ(outcome.language_codes[1], "en");
  EXPECT_EQ(outcome.language_codes[2], "none") << "a free slot keeps its entry's code";
  ASSERT_EQ(outcome.declared.entries.size(), 2u);
  EXPECT_EQ(outcome.declared.entries[0].stream_number, 1);
  EXPECT_TRUE(outcome.notes.empty());
}

TEST(AnalysisRunDeclared, AChainOfEntryNToStreamNChangesNothing) {
  for (const bool with_chain : {false, true}) {
    QuietHost host;
    IfoBuilder ifo = EnglishThenJapanese();
    if (with_chain) ifo.ChainPlaying({0, 1});
    MemorySource source(TwoAc3Tracks(), ifo.Build());
    const AnalysisReport outcome = AnalyseVideoObject(host, "title.vob", source);
    EXPECT_EQ(host.slots.KindText(0), kAc3Kind + " [英語] ");
    EXPECT_EQ(host.slots.KindText(1), kAc3Kind + " [日本語] ");
    EXPECT_TRUE(outcome.notes.empty());
  }
}

TEST(AnalysisRunDeclared, AStreamOutsideTheWindowIsNamed) {
  QuietHost host;
  Bytes vob = PrivateStream1Packet(0x80, Ac3Payload(3));
  vob.resize(vob.size() + 64, 0x00);
  MemorySource source(vob, EnglishThenJapanese().ChainPlaying({0, 1}).Build());
  const AnalysisReport outcome = AnalyseVideoObject(host, "title.vob", source);
  ASSERT_EQ(outcome.notes.size(), 1u);
  EXPECT_EQ(outcome.notes[0].code, NoteCode::DeclaredNotFound);
  EXPECT_EQ(outcome.notes[0].text,
            "the program chain declares AC-3 sub-stream 0x81 (language ja), but no packet of it was met in the "
            "whole source (" + std::to_string(vob.size()) + " bytes)");
}

TEST(AnalysisRunDeclared, WithoutAnIfoATakenSlotIsStillSaid) {
  QuietHost host;
  Bytes vob = PrivateStream1Packet(0xA2, LpcmPayload(0x01));
  Append(vob, PrivateStream1Packet(0x82, Ac3Payload(3)));
  vob.resize(vob.size() + 64, 0x00);
  MemorySource source(vob, std::nullopt);
  const AnalysisReport outcome = AnalyseVideoObject(host, "title.vob", source);
  EXPECT_TRUE(outcome.declared.entries.empty());
  ASSERT_EQ(outcome.notes.size(), 1u);
  EXPECT_EQ(outcome.notes[0].code, NoteCode::SlotTaken);
  EXPECT_EQ(outcome.notes[0].stream_id, 0x82);
}

TEST(AnalysisRunDeclared, AnEmptySourceSaysNothing) {
  QuietHost host;
  MemorySource source({}, EnglishThenJapanese().ChainPlaying({0, 1}).Build());
  const AnalysisReport outcome = AnalyseVideoObject(host, "title.vob", source);
  EXPECT_FALSE(outcome.changed);
  EXPECT_TRUE(outcome.notes.empty());
}

}  // namespace
}  // namespace tonvika
