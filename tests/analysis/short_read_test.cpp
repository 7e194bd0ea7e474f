// A source that gives fewer bytes than it says it holds: what was read is
// analysed and said to be partial; nothing read is an error.
#include "analysis/short_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "analysis/analysis_run.h"
#include "io/file_error.h"

namespace tonvika {
namespace {

const std::string kVob = std::string(TONVIKA_FIXTURES) + "/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB";

// The fixture's bytes, of which only the first `available` come back.
class CutSource final : public VideoObjectSource {
 public:
  explicit CutSource(std::size_t available) : available_(available) {
    std::ifstream in(kVob, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::uint64_t Size() override { return bytes_.size(); }
  std::optional<InformationFile> ReadInformationFile() override { return std::nullopt; }
  std::size_t ReadWindow(std::span<std::uint8_t> window) override {
    const std::size_t n = std::min({window.size(), available_, bytes_.size()});
    std::copy_n(bytes_.begin(), n, window.begin());
    cut_ = n < std::min(window.size(), bytes_.size());
    return n;
  }
  std::optional<std::string> ShortReadCause() const override {
    if (!cut_) return std::nullopt;
    return "the image ends at 2,048 bytes";
  }

 private:
  std::size_t available_;
  std::vector<char> bytes_;
  bool cut_ = false;
};

AnalysisReport Analyse(CutSource& source) {
  RunObserver observer;
  return AnalyseVideoObject(source, "cut.vob", RunSettings{1, true}, observer);
}

TEST(ShortRead, GroupedDigits) {
  const std::pair<std::uint64_t, const char*> cases[] = {
      {0, "0"}, {999, "999"}, {1000, "1,000"}, {2412544, "2,412,544"}, {4030464, "4,030,464"}, {100000, "100,000"}};
  for (const auto& [number, text] : cases) EXPECT_EQ(GroupedDigits(number), text);
}

TEST(ShortRead, APartialWindowIsAnalysedAndSaidToBePartial) {
  CutSource source(400000);
  const AnalysisReport report = Analyse(source);
  EXPECT_TRUE(report.changed);
  EXPECT_EQ(report.bytes_read, 400000u);
  EXPECT_FALSE(report.whole_source);
  ASSERT_FALSE(report.notes.empty());
  EXPECT_EQ(report.notes[0].code, NoteCode::ShortRead);
  EXPECT_EQ(report.notes[0].stream_id, std::nullopt);
  EXPECT_EQ(report.notes[0].text,
            "the image ends at 2,048 bytes: only the first 400,000 of the 548,864 bytes of the read window could be "
            "read, and the results are of those alone");
  // The tracks are those of the bytes read: the six of the whole file lie inside them.
  CutSource whole(1 << 20);
  const AnalysisReport full = Analyse(whole);
  EXPECT_TRUE(full.whole_source);
  EXPECT_TRUE(std::none_of(full.notes.begin(), full.notes.end(),
                           [](const RunNote& note) { return note.code == NoteCode::ShortRead; }));
  for (std::size_t slot = 0; slot < report.tracks.size(); ++slot) {
    EXPECT_EQ(report.tracks[slot].has_value(), full.tracks[slot].has_value()) << slot;
  }
}

TEST(ShortRead, NothingReadIsAnErrorOfTheSource) {
  CutSource source(0);
  try {
    Analyse(source);
    ADD_FAILURE() << "a source that gave nothing was analysed";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), "cut.vob");
    EXPECT_EQ(e.reason(), "the image ends at 2,048 bytes: none of the 548,864 bytes of the read window could be read");
  }
}

}  // namespace
}  // namespace tonvika
