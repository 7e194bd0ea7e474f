// tonvika-cli run as its own process on the committed media: its whole
// standard output must equal the reviewed expected file beside each medium
// (tests/fixtures/CROSSCHECK.md), and its exit status the one listed here.
//
// A run that succeeds says nothing on standard error, unless a
// ".stderr" file beside its expected file (same name, ".stderr" for
// ".expected") holds the notes it must print there.
//
// With TONVIKA_UPDATE_EXPECTED=1 in the environment the expected files are
// rewritten from the current output instead (tests/fixtures/update_expected.sh);
// review the change with git diff before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/run_program.h"

namespace tonvika::testing {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  const char* dir;       // working folder, relative to the source tree
  const char* args;      // blank-separated; --code-csv data/code.csv is put in front
  const char* expected;  // relative to dir
  int status;
};

constexpr const char* kFixtures = "tests/fixtures";
constexpr const char* kSamples = "samples";

// Every medium with --details, then a few with other options.
constexpr GoldenCase kCases[] = {
    {kFixtures, "--details ac3_acmods/rates/VIDEO_TS/VTS_01_1.VOB",
     "ac3_acmods/rates/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details ac3_acmods/raw/ac3_32000_3.0_256k.ac3",
     "ac3_acmods/raw/ac3_32000_3.0_256k.ac3.expected", 0},
    {kFixtures, "--details ac3_acmods/raw/ac3_32000_stereo_96k.ac3",
     "ac3_acmods/raw/ac3_32000_stereo_96k.ac3.expected", 0},
    {kFixtures, "--details ac3_acmods/raw/ac3_44100_5.1_448k.ac3",
     "ac3_acmods/raw/ac3_44100_5.1_448k.ac3.expected", 0},
    {kFixtures, "--details ac3_acmods/raw/ac3_44100_stereo_192k.ac3",
     "ac3_acmods/raw/ac3_44100_stereo_192k.ac3.expected", 0},
    {kFixtures, "--details ac3_acmods/raw/ac3_48000_2.0_dsur_on_192k.ac3",
     "ac3_acmods/raw/ac3_48000_2.0_dsur_on_192k.ac3.expected", 0},
    {kFixtures, "--details ac3_acmods/raw/ac3_48000_5.1_640k.ac3",
     "ac3_acmods/raw/ac3_48000_5.1_640k.ac3.expected", 0},
    {kFixtures, "--details ac3_acmods/raw/ac3_48000_mono_32k.ac3",
     "ac3_acmods/raw/ac3_48000_mono_32k.ac3.expected", 0},
    {kFixtures, "--details ac3_acmods/with_lfe/VIDEO_TS/VTS_01_1.VOB",
     "ac3_acmods/with_lfe/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details ac3_acmods/without_lfe/VIDEO_TS/VTS_01_1.VOB",
     "ac3_acmods/without_lfe/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details ac3_bsid6/VIDEO_TS/VTS_01_1.VOB", "ac3_bsid6/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details ac3_bsid6/raw/ac3_bsid6_xbsi1_3.0_256k.ac3",
     "ac3_bsid6/raw/ac3_bsid6_xbsi1_3.0_256k.ac3.expected", 0},
    {kFixtures, "--details ac3_bsid6/raw/ac3_bsid6_xbsi1_xbsi2_5.1_448k.ac3",
     "ac3_bsid6/raw/ac3_bsid6_xbsi1_xbsi2_5.1_448k.ac3.expected", 0},
    {kFixtures, "--details ac3_bsid6/raw/ac3_bsid6_xbsi2_headphone_stereo_192k.ac3",
     "ac3_bsid6/raw/ac3_bsid6_xbsi2_headphone_stereo_192k.ac3.expected", 0},
    {kFixtures, "--details dts/VIDEO_TS/VTS_01_1.VOB", "dts/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details dts/raw/dts_32000_mono_384k.dts", "dts/raw/dts_32000_mono_384k.dts.expected", 0},
    {kFixtures, "--details dts/raw/dts_44100_5.1_1411k.dts", "dts/raw/dts_44100_5.1_1411k.dts.expected", 0},
    {kFixtures, "--details dts/raw/dts_48000_5.1_1536k.dts", "dts/raw/dts_48000_5.1_1536k.dts.expected", 0},
    {kFixtures, "--details dts/raw/dts_48000_5.1_768k.dts", "dts/raw/dts_48000_5.1_768k.dts.expected", 0},
    {kFixtures, "--details dts/raw/dts_48000_stereo_768k.dts", "dts/raw/dts_48000_stereo_768k.dts.expected", 0},
    {kFixtures, "--details eight_languages/VIDEO_TS/VTS_01_1.VOB",
     "eight_languages/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details late_ac3/packs.vob", "late_ac3/packs.vob.expected", 0},
    {kFixtures, "--details lpcm/16bit_48k/VIDEO_TS/VTS_01_1.VOB",
     "lpcm/16bit_48k/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details lpcm/20_24bit_48k/VIDEO_TS/VTS_01_1.VOB",
     "lpcm/20_24bit_48k/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details lpcm/96k/VIDEO_TS/VTS_01_1.VOB", "lpcm/96k/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB",
     "mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details no_language/VIDEO_TS/VTS_01_1.VOB",
     "no_language/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    // Byte-swapped streams hold no sync word in the order sought: nothing on
    // standard output, status 1.
    {kFixtures, "--details raw/ac3_byteswapped_stereo_192k.ac3",
     "raw/ac3_byteswapped_stereo_192k.ac3.expected", 1},
    {kFixtures, "--details raw/ac3_false_sync_stereo_192k.ac3",
     "raw/ac3_false_sync_stereo_192k.ac3.expected", 0},
    {kFixtures, "--details raw/ac3_junk100_5.1_448k.ac3", "raw/ac3_junk100_5.1_448k.ac3.expected", 0},
    {kFixtures, "--details raw/ac3_junk333_stereo_192k.ac3", "raw/ac3_junk333_stereo_192k.ac3.expected", 0},
    {kFixtures, "--details raw/dts_byteswapped_5.1_768k.dts", "raw/dts_byteswapped_5.1_768k.dts.expected",
     1},
    {kFixtures, "--details raw/dts_junk100_5.1_768k.dts", "raw/dts_junk100_5.1_768k.dts.expected", 0},
    {kFixtures, "--details raw/dts_junk101_stereo_768k.dts", "raw/dts_junk101_stereo_768k.dts.expected", 0},
    {kSamples, "--details VIDEO_TS/VTS_01_1.VOB", "VIDEO_TS/VTS_01_1.VOB.expected", 0},

    // English language names.
    {kSamples, "--details --lang en VIDEO_TS/VTS_01_1.VOB", "VIDEO_TS/VTS_01_1.VOB.en.expected", 0},
    {kFixtures, "--details --lang en mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB",
     "mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB.en.expected", 0},
    {kFixtures, "--details --lang en eight_languages/VIDEO_TS/VTS_01_1.VOB",
     "eight_languages/VIDEO_TS/VTS_01_1.VOB.en.expected", 0},
    {kFixtures, "--details --lang en no_language/VIDEO_TS/VTS_01_1.VOB",
     "no_language/VIDEO_TS/VTS_01_1.VOB.en.expected", 0},
    {kFixtures, "--lang en lpcm/96k/VIDEO_TS/VTS_01_1.VOB", "lpcm/96k/VIDEO_TS/VTS_01_1.VOB.en.expected", 0},
    {kFixtures, "--details --lang en raw/dts_junk101_stereo_768k.dts",
     "raw/dts_junk101_stereo_768k.dts.en.expected", 0},

    // AC-3 sync traces.
    {kSamples, "--details --sync-trace VIDEO_TS/VTS_01_1.VOB", "VIDEO_TS/VTS_01_1.VOB.sync.expected", 0},
    {kFixtures, "--sync-trace mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB",
     "mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB.sync.expected", 0},
    {kFixtures, "--sync-trace --lang en eight_languages/VIDEO_TS/VTS_01_1.VOB",
     "eight_languages/VIDEO_TS/VTS_01_1.VOB.sync.expected", 0},
    {kFixtures, "--sync-trace ac3_bsid6/VIDEO_TS/VTS_01_1.VOB", "ac3_bsid6/VIDEO_TS/VTS_01_1.VOB.sync.expected",
     0},
    {kFixtures, "--details --sync-trace late_ac3/packs.vob", "late_ac3/packs.vob.sync.expected", 0},

    // JSON documents.
    {kSamples, "--json VIDEO_TS/VTS_01_1.VOB", "VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json --lang en mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB",
     "mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json no_language/VIDEO_TS/VTS_01_1.VOB", "no_language/VIDEO_TS/VTS_01_1.VOB.json.expected",
     0},
    {kFixtures, "--json ac3_bsid6/raw/ac3_bsid6_xbsi1_xbsi2_5.1_448k.ac3",
     "ac3_bsid6/raw/ac3_bsid6_xbsi1_xbsi2_5.1_448k.ac3.json.expected", 0},
    {kFixtures, "--json raw/dts_junk101_stereo_768k.dts", "raw/dts_junk101_stereo_768k.dts.json.expected", 0},
    {kFixtures, "--json raw/ac3_byteswapped_stereo_192k.ac3",
     "raw/ac3_byteswapped_stereo_192k.ac3.json.expected", 1},

    // What the IFO declares against what the window holds (notes on stderr).
    {kFixtures, "--details declared/swapped_streams/VIDEO_TS/VTS_01_1.VOB",
     "declared/swapped_streams/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details declared/unavailable_entry/VIDEO_TS/VTS_01_1.VOB",
     "declared/unavailable_entry/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details declared/late_stream/VIDEO_TS/VTS_01_1.VOB",
     "declared/late_stream/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--read-size 1 declared/late_stream/VIDEO_TS/VTS_01_1.VOB",
     "declared/late_stream/VIDEO_TS/VTS_01_1.VOB.1mb.expected", 0},
    {kFixtures, "--details declared/per_kind_numbers/VIDEO_TS/VTS_01_1.VOB",
     "declared/per_kind_numbers/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details declared/scrambled/VIDEO_TS/VTS_01_1.VOB",
     "declared/scrambled/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--json --lang en declared/swapped_streams/VIDEO_TS/VTS_01_1.VOB",
     "declared/swapped_streams/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json declared/unavailable_entry/VIDEO_TS/VTS_01_1.VOB",
     "declared/unavailable_entry/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json --read-size 1 declared/late_stream/VIDEO_TS/VTS_01_1.VOB",
     "declared/late_stream/VIDEO_TS/VTS_01_1.VOB.1mb.json.expected", 0},
    {kFixtures, "--json declared/per_kind_numbers/VIDEO_TS/VTS_01_1.VOB",
     "declared/per_kind_numbers/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json declared/scrambled/VIDEO_TS/VTS_01_1.VOB",
     "declared/scrambled/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    // Whole discs: a folder and an image, title set by title set.
    {kFixtures, "--details disc/three_title_sets", "disc/three_title_sets.expected", 0},
    {kFixtures, "--details disc/three_title_sets.iso", "disc/three_title_sets.iso.expected", 0},
    {kFixtures, "--json disc/three_title_sets", "disc/three_title_sets.json.expected", 0},
    {kFixtures, "--json --lang en disc/three_title_sets.iso", "disc/three_title_sets.iso.json.expected", 0},
    {kFixtures, "--lang en --title-set 3 disc/three_title_sets.iso", "disc/three_title_sets.iso.title_set_3.expected",
     0},
    {kFixtures, "--details --main disc/three_title_sets/VIDEO_TS", "disc/three_title_sets.main.expected", 0},
    // The discs' VOBs as files: title set 2's first file alone lacks the
    // AC-3 track that its second file completes.
    {kFixtures, "--details disc/three_title_sets/VIDEO_TS/VTS_01_1.VOB",
     "disc/three_title_sets/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details disc/three_title_sets/VIDEO_TS/VTS_02_1.VOB",
     "disc/three_title_sets/VIDEO_TS/VTS_02_1.VOB.expected", 0},
    // Titles as their chains play them: a trailer before the feature in one
    // title set, a title that plays its second stored cell first; the VOBs
    // read as files begin with what they store first.
    {kFixtures, "--details disc/titles_by_chain", "disc/titles_by_chain.expected", 0},
    {kFixtures, "--details --lang en disc/titles_by_chain.iso", "disc/titles_by_chain.iso.expected", 0},
    {kFixtures, "--all-titles --lang en disc/titles_by_chain.iso", "disc/titles_by_chain.iso.all_titles.expected", 0},
    {kFixtures, "--json --title 1 disc/titles_by_chain", "disc/titles_by_chain.title_1.json.expected", 0},
    {kFixtures, "--json --lang en disc/titles_by_chain.iso", "disc/titles_by_chain.iso.json.expected", 0},
    {kFixtures, "--details disc/titles_by_chain/VIDEO_TS/VTS_01_1.VOB",
     "disc/titles_by_chain/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details disc/titles_by_chain/VIDEO_TS/VTS_02_1.VOB",
     "disc/titles_by_chain/VIDEO_TS/VTS_02_1.VOB.expected", 0},

    // MPEG audio (PES streams 0xC0-0xC7) and the delay to the video: the list
    // stays as it is; --streams, JSON and the notes tell the rest.
    {kFixtures, "--details mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB",
     "mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details mpeg_audio/mono_and_stereo/VIDEO_TS/VTS_01_1.VOB",
     "mpeg_audio/mono_and_stereo/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details disc/mpeg_only/VIDEO_TS/VTS_01_1.VOB", "disc/mpeg_only/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details delay/itsoffset/VIDEO_TS/VTS_01_1.VOB",
     "delay/itsoffset/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details delay/closed_gop/open_gop.vob", "delay/closed_gop/open_gop.vob.expected", 0},
    {kFixtures, "--details delay/closed_gop/closed_gop.vob", "delay/closed_gop/closed_gop.vob.expected", 0},
    {kFixtures, "--streams --lang en mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB",
     "mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB.streams.expected", 0},
    {kFixtures, "--streams mpeg_audio/mono_and_stereo/VIDEO_TS/VTS_01_1.VOB",
     "mpeg_audio/mono_and_stereo/VIDEO_TS/VTS_01_1.VOB.streams.expected", 0},
    {kFixtures, "--streams --lang en delay/itsoffset/VIDEO_TS/VTS_01_1.VOB",
     "delay/itsoffset/VIDEO_TS/VTS_01_1.VOB.streams.expected", 0},
    {kFixtures, "--streams --lang en mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB",
     "mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB.streams.expected", 0},
    {kFixtures, "--streams --lang en disc/mpeg_only", "disc/mpeg_only.streams.expected", 0},
    {kFixtures, "--streams disc/mpeg_only.iso", "disc/mpeg_only.iso.streams.expected", 0},
    {kFixtures, "--read-size 1 --streams disc/three_title_sets", "disc/three_title_sets.1mb.streams.expected", 0},
    {kFixtures, "--json --lang en mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB",
     "mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json --lang en disc/mpeg_only", "disc/mpeg_only.json.expected", 0},
    {kFixtures, "--json delay/closed_gop/closed_gop.vob", "delay/closed_gop/closed_gop.vob.json.expected", 0},

    // Every frame walked: a header that changes, damaged frames, a raw file
    // whose first sync word begins no frame. The list stays as it is; the
    // notes, --streams and JSON tell the rest.
    {kFixtures, "--details frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB",
     "frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details frames/dts_rate_change/VIDEO_TS/VTS_01_1.VOB",
     "frames/dts_rate_change/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details frames/ac3_damaged/VIDEO_TS/VTS_01_1.VOB", "frames/ac3_damaged/VIDEO_TS/VTS_01_1.VOB.expected",
     0},
    {kFixtures, "--details frames/mp2_crc/VIDEO_TS/VTS_01_1.VOB", "frames/mp2_crc/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details frames/mp2_crc_damaged/VIDEO_TS/VTS_01_1.VOB",
     "frames/mp2_crc_damaged/VIDEO_TS/VTS_01_1.VOB.expected", 0},
    {kFixtures, "--details frames/raw/ac3_junk64_false_sync.ac3", "frames/raw/ac3_junk64_false_sync.ac3.expected", 0},
    {kFixtures, "--streams --lang en frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB",
     "frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB.streams.expected", 0},
    {kFixtures, "--streams --lang en frames/dts_rate_change/VIDEO_TS/VTS_01_1.VOB",
     "frames/dts_rate_change/VIDEO_TS/VTS_01_1.VOB.streams.expected", 0},
    {kFixtures, "--streams --lang en frames/ac3_damaged/VIDEO_TS/VTS_01_1.VOB",
     "frames/ac3_damaged/VIDEO_TS/VTS_01_1.VOB.streams.expected", 0},
    {kFixtures, "--streams frames/raw/ac3_junk64_false_sync.ac3", "frames/raw/ac3_junk64_false_sync.ac3.streams.expected",
     0},
    {kFixtures, "--json --lang en frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB",
     "frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json frames/mp2_crc_damaged/VIDEO_TS/VTS_01_1.VOB",
     "frames/mp2_crc_damaged/VIDEO_TS/VTS_01_1.VOB.json.expected", 0},
    {kFixtures, "--json frames/raw/ac3_junk64_false_sync.ac3", "frames/raw/ac3_junk64_false_sync.ac3.json.expected", 0},
};

constexpr std::string_view kExpectedSuffix = ".expected";
constexpr std::string_view kStderrSuffix = ".stderr";

std::vector<std::string> SplitArgs(std::string_view text) {
  std::istringstream in{std::string(text)};
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool UpdateRequested() {
  const char* value = std::getenv("TONVIKA_UPDATE_EXPECTED");
  return value != nullptr && std::string_view(value) == "1";
}

fs::path SourceDir() { return fs::path(TONVIKA_SOURCE_DIR); }

ProgramResult RunCase(const GoldenCase& c) {
  std::vector<std::string> args{"--code-csv", (SourceDir() / "data" / "code.csv").string()};
  for (auto& arg : SplitArgs(c.args)) args.push_back(std::move(arg));
  return RunProgram(TONVIKA_CLI, args, (SourceDir() / c.dir).string());
}

// The expected standard error of a case: its expected file's name with
// ".stderr" for ".expected".
fs::path StderrPath(const fs::path& expected_path) {
  std::string name = expected_path.string();
  name.resize(name.size() - kExpectedSuffix.size());
  return name + std::string(kStderrSuffix);
}

class GoldenOutput : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenOutput, StandardOutputAndStatusMatch) {
  const GoldenCase& c = GetParam();
  const fs::path expected_path = SourceDir() / c.dir / c.expected;
  const fs::path stderr_path = StderrPath(expected_path);
  const ProgramResult result = RunCase(c);
  ASSERT_EQ(result.status, c.status) << "stderr: " << result.err;
  if (c.status == 0) {
    if (UpdateRequested() && !result.err.empty()) std::ofstream(stderr_path, std::ios::binary) << result.err;
    if (UpdateRequested() && result.err.empty()) fs::remove(stderr_path);
    EXPECT_EQ(result.err, fs::exists(stderr_path) ? ReadWhole(stderr_path) : std::string()) << "standard error";
  } else {
    EXPECT_NE(result.err, "") << "a failing run says why";
  }
  if (UpdateRequested()) {
    std::ofstream(expected_path, std::ios::binary) << result.out;
  }
  ASSERT_TRUE(fs::exists(expected_path)) << expected_path << " is missing";
  EXPECT_EQ(result.out, ReadWhole(expected_path)) << "tonvika-cli " << c.args << " (in " << c.dir << ")";
}

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& info) {
  std::string name = std::string(std::string_view(info.param.dir) == kSamples ? "sample_" : "") + info.param.expected;
  name.resize(name.size() - kExpectedSuffix.size());
  std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); },
                  '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Media, GoldenOutput, ::testing::ValuesIn(kCases), CaseName);

// The media and expected files on disk, relative to their folder.
bool IsMedium(const fs::path& path) {
  const std::string ext = path.extension().string();
  return path.filename() == "VTS_01_1.VOB" || ext == ".ac3" || ext == ".dts" || ext == ".vob";
}

std::vector<std::pair<std::string, std::string>> FilesUnder(const char* dir, bool (*wanted)(const fs::path&)) {
  std::vector<std::pair<std::string, std::string>> found;
  const fs::path root = SourceDir() / dir;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file() && wanted(entry.path())) {
      found.emplace_back(dir, fs::relative(entry.path(), root).generic_string());
    }
  }
  return found;
}

bool IsExpectedFile(const fs::path& path) { return path.extension() == kExpectedSuffix; }
bool IsStderrFile(const fs::path& path) { return path.extension() == kStderrSuffix; }

// A new medium needs its expected output, and a renamed one leaves no stale file.
TEST(GoldenCases, EveryMediumHasItsDetailsCase) {
  for (const char* dir : {kFixtures, kSamples}) {
    for (const auto& [folder, medium] : FilesUnder(dir, IsMedium)) {
      const std::string args = "--details " + medium;
      const std::string expected = medium + std::string(kExpectedSuffix);
      const bool listed = std::any_of(std::begin(kCases), std::end(kCases), [&](const GoldenCase& c) {
        return std::string_view(c.dir) == folder && c.args == args && c.expected == expected;
      });
      EXPECT_TRUE(listed) << folder << "/" << medium << " has no golden case";
    }
  }
}

TEST(GoldenCases, EveryExpectedFileBelongsToACase) {
  std::set<std::pair<std::string, std::string>> listed;
  for (const GoldenCase& c : kCases) listed.emplace(c.dir, c.expected);
  EXPECT_EQ(listed.size(), std::size(kCases)) << "two cases share an expected file";
  for (const char* dir : {kFixtures, kSamples}) {
    for (const auto& file : FilesUnder(dir, IsExpectedFile)) {
      EXPECT_TRUE(listed.count(file) == 1) << file.first << "/" << file.second << " belongs to no case";
    }
  }
}

// Expected standard error belongs to a case that succeeds.
TEST(GoldenCases, EveryStderrFileBelongsToACase) {
  std::set<std::pair<std::string, std::string>> listed;
  for (const GoldenCase& c : kCases) {
    if (c.status == 0) listed.emplace(c.dir, StderrPath(c.expected).generic_string());
  }
  for (const char* dir : {kFixtures, kSamples}) {
    for (const auto& file : FilesUnder(dir, IsStderrFile)) {
      EXPECT_TRUE(listed.count(file) == 1) << file.first << "/" << file.second << " belongs to no case";
    }
  }
}

}  // namespace
}  // namespace tonvika::testing
