// tonvika-cli run in-process: output, exit status, JSON.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_main.h"
#include "support/stream_builder.h"

namespace tonvika::cli {
namespace {

using testing::Bytes;
using testing::ScratchDir;

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

CliResult RunTool(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

class CliRun : public ::testing::Test {
 protected:
  void SetUp() override {
    table_ = dir_.Write("code.csv", Bytes(kTable.begin(), kTable.end()));
    Bytes vob = testing::PrivateStream1Packet(0x80, testing::Ac3Payload(3));
    testing::Append(vob, testing::PrivateStream1Packet(0xA1, testing::LpcmPayload(0x01)));
    vob.resize(vob.size() + 64, 0x00);
    vob_ = dir_.Write("VTS_01_1.VOB", vob);
    dir_.Write("VTS_01_0.IFO", testing::IfoWithLanguages({"ja", "en"}));
  }
  static constexpr std::string_view kTable = "ja,Japanese,日本語\nen,English,英語\n";
  ScratchDir dir_;
  std::string table_;
  std::string vob_;
};

constexpr const char* kAc3 = "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM";

TEST_F(CliRun, PrintsTheListReport) {
  const auto result = RunTool({"--code-csv", table_, vob_});
  EXPECT_EQ(result.status, kExitOk) << result.err;
  EXPECT_EQ(result.out, vob_ + "\n----------\nList\nTr\n1 " + kAc3 +
                            " [日本語] \n2 PCM 16bit 48000Hz stereo [英語]\n3 \n4 \n5 \n6 \n7 \n8 \n");
  EXPECT_EQ(result.err, "");
}

TEST_F(CliRun, DetailsWithCrLfAreTheClipboardBytes) {
  const auto result = RunTool({"--code-csv", table_, "--lang", "en", "--details", "--crlf", vob_});
  ASSERT_EQ(result.status, kExitOk);
  const std::string details = vob_ + "\r\n----------\r\nTr 1\r\n" + kAc3 + " [Japanese] \r\nbsid:8\r\n";
  EXPECT_NE(result.out.find(details), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("Tr 2"), std::string::npos);  // LPCM has no details
  EXPECT_EQ(result.out.find('\n'), result.out.find("\r\n") + 1);
  EXPECT_EQ(result.out.substr(result.out.size() - 2), "\r\n");
}

TEST_F(CliRun, SyncTraceOption) {
  const auto result = RunTool({"--code-csv", table_, "--sync-trace", vob_});
  EXPECT_NE(result.out.find("[日本語][000012 1E 40 E1][00003A 1E 40 E1][000062 1E 40 E1] \n"), std::string::npos)
      << result.out;
}

TEST_F(CliRun, FilesFollowEachOtherAndEachStartsFresh) {
  Bytes ac3 = testing::kAc3Frame51;
  ac3.resize(40, 0);
  const std::string raw = dir_.Write("x.ac3", ac3);
  const auto result = RunTool({"--code-csv", table_, raw, vob_});
  ASSERT_EQ(result.status, kExitOk);
  const std::string first = raw + "\n----------\nList\n" + kAc3 + "\n";
  EXPECT_EQ(result.out.substr(0, first.size() + vob_.size() + 1), first + vob_ + "\n");
}

TEST_F(CliRun, NothingFoundAndFileErrorsSetTheExitStatus) {
  const std::string empty = dir_.Write("empty.vob", Bytes{});
  const std::string junk = dir_.Write("junk.dts", Bytes(100, 0x11));
  std::filesystem::create_directories(dir_.File("folder.vob"));

  auto result = RunTool({"--code-csv", table_, empty, junk});
  EXPECT_EQ(result.status, kExitNothingFound);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(empty), std::string::npos);
  EXPECT_NE(result.err.find(junk), std::string::npos);

  result = RunTool({"--code-csv", table_, dir_.File("missing.vob"), empty, dir_.File("folder.vob"), vob_});
  EXPECT_EQ(result.status, kExitFileError);  // 2 wins over 1
  EXPECT_NE(result.err.find("missing.vob: No such file or directory"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("folder.vob: "), std::string::npos);
  EXPECT_NE(result.out.find("1 AC-3"), std::string::npos);  // the good file is still analysed
}

TEST_F(CliRun, MissingNamedTableIsAnErrorAndUsageIs64) {
  auto result = RunTool({"--code-csv", dir_.File("nope.csv"), vob_});
  EXPECT_EQ(result.status, kExitFileError);
  EXPECT_NE(result.err.find("nope.csv"), std::string::npos);
  result = RunTool({"--read-size", "99", vob_});
  EXPECT_EQ(result.status, kExitUsage);
  EXPECT_NE(result.err.find("--read-size"), std::string::npos);
  result = RunTool({"--version"});
  EXPECT_EQ(result.status, kExitOk);
  EXPECT_EQ(result.out, "tonvika-cli 1.05\n");
}

TEST_F(CliRun, JsonHoldsSlotsMasksReportAndDetails) {
  const auto result = RunTool({"--code-csv", table_, "--json", vob_, dir_.File("missing.vob")});
  EXPECT_EQ(result.status, kExitFileError);
  const auto doc = nlohmann::json::parse(result.out);
  ASSERT_TRUE(doc.is_array());
  ASSERT_EQ(doc.size(), 2u);
  const auto& file = doc[0];
  EXPECT_EQ(file["path"], vob_);
  EXPECT_EQ(file["ifo"], dir_.File("VTS_01_0.IFO"));
  ASSERT_EQ(file["slots"].size(), 8u);
  EXPECT_EQ(file["slots"][0]["kind"], "AC-3");
  EXPECT_EQ(file["slots"][0]["language_code"], "ja");
  EXPECT_EQ(file["slots"][0]["language_name"], "日本語");
  EXPECT_EQ(file["slots"][0]["detail_lines"][0], "bsid:8");
  EXPECT_EQ(file["slots"][1]["kind"], "LPCM");
  EXPECT_TRUE(file["slots"][2]["kind"].is_null());
  EXPECT_EQ(file["listed_slot_mask"], 3);
  EXPECT_EQ(file["detail_slot_mask"], 1);
  EXPECT_EQ(file["list_report"].size(), 12u);
  EXPECT_EQ(file["details_text"].template get<std::string>().substr(0, vob_.size() + 1), vob_ + "\n");
  EXPECT_TRUE(doc[1].contains("error"));
}

}  // namespace
}  // namespace tonvika::cli
