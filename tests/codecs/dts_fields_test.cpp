#include "codecs/dts_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace tonvika {
namespace {

struct FieldCase {
  const char* key;
  unsigned value;
  const char* text;
};

class DescribeDtsFieldCases : public ::testing::TestWithParam<FieldCase> {};

TEST_P(DescribeDtsFieldCases, GivesText) {
  const FieldCase& c = GetParam();
  EXPECT_EQ(DescribeDtsField(c.key, static_cast<std::uint8_t>(c.value)), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DescribeDtsFieldCases,
    ::testing::Values(FieldCase{"FTYPE", 0, "Termination frame"},
                      FieldCase{"FTYPE", 1, "Normal frame"},
                      FieldCase{"SHORT", 0, "[0..30]"}, FieldCase{"SHORT", 15, "[0..30]"},
                      FieldCase{"SHORT", 30, "[0..30]"},
                      FieldCase{"SHORT", 31, "31(indicating Normal frame)"},
                      FieldCase{"NBLKS", 0, "&H0"}, FieldCase{"NBLKS", 1, "&H1"},
                      FieldCase{"NBLKS", 15, "&HF"}, FieldCase{"NBLKS", 64, "&H40"},
                      FieldCase{"NBLKS", 127, "&H7F"}, FieldCase{"NBLKS", 255, "&HFF"},
                      FieldCase{"HDCD", 0, "The source material is mastered in HDCD: No"},
                      FieldCase{"HDCD", 1, "The source material is mastered in HDCD: Yes"},
                      FieldCase{"EXT_AUDIO_ID", 0, "Channel Extension(Xch)"},
                      FieldCase{"EXT_AUDIO_ID", 1, "Reserved"},
                      FieldCase{"EXT_AUDIO_ID", 2, "Frequency Extension (X96k)"},
                      FieldCase{"EXT_AUDIO_ID", 3, "Xch and X96k"},
                      FieldCase{"EXT_AUDIO_ID", 4, "Reserved"},
                      FieldCase{"EXT_AUDIO_ID", 7, "Reserved"},
                      FieldCase{"FILTS", 0, "Non-perfect Reconstruction"},
                      FieldCase{"FILTS", 1, "Perfect Reconstruction"},
                      FieldCase{"SUMF", 0, "0:L=L,R=R"}, FieldCase{"SUMF", 1, "1:L=L+R,R=L-R"},
                      FieldCase{"SUMS", 0, "0:Ls=Ls,Rs=Rs"},
                      FieldCase{"SUMS", 1, "1:Ls=Ls+Rs,Rs=Ls-Rs"}));

// Keys without an entry, and values an entry does not list, fall back to
// the present rule: 0 and 1 read as absent and present, the rest as nothing.
INSTANTIATE_TEST_SUITE_P(
    PresentRule, DescribeDtsFieldCases,
    ::testing::Values(FieldCase{"CPF", 1, "Present"}, FieldCase{"CPF", 0, "Not Present"},
                      FieldCase{"MIX", 0, "Not Present"}, FieldCase{"MIX", 1, "Present"},
                      FieldCase{"DYNF", 1, "Present"}, FieldCase{"TIMEF", 0, "Not Present"},
                      FieldCase{"AUXF", 1, "Present"}, FieldCase{"EXT_AUDIO", 1, "Present"},
                      FieldCase{"EXT_AUDIO", 0, "Not Present"}, FieldCase{"ASPF", 1, "Present"},
                      FieldCase{"HFLAG", 0, "Not Present"}, FieldCase{"CPF", 2, ""},
                      FieldCase{"FTYPE", 2, ""}, FieldCase{"SHORT", 32, ""},
                      FieldCase{"HDCD", 2, ""}, FieldCase{"EXT_AUDIO_ID", 8, ""},
                      FieldCase{"FILTS", 255, ""}, FieldCase{"ftype", 1, "Present"},
                      FieldCase{"ftype", 0, "Not Present"}, FieldCase{"nblks", 5, ""},
                      FieldCase{"", 1, "Present"}, FieldCase{"EXT_AUDIO_ID ", 0, "Not Present"}));

TEST(DescribeDtsField, BlockCountIsNeverAPresentText) {
  for (unsigned value = 0; value < 256; ++value) {
    const std::string text = DescribeDtsField("NBLKS", static_cast<std::uint8_t>(value));
    ASSERT_EQ(text.rfind("&H", 0), 0u) << value;
    EXPECT_EQ(std::stoul(text.substr(2), nullptr, 16), value);
    EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace tonvika
