#include "extract/extraction_name.h"

#include <gtest/gtest.h>

namespace tonvika {
namespace {

Ac3Header Ac3(int acmod, int frmsizecod) {
  Ac3Header h;
  h.values[static_cast<std::size_t>(Ac3Field::kAcmod)] = static_cast<std::uint8_t>(acmod);
  h.values[static_cast<std::size_t>(Ac3Field::kFrmsizecod)] = static_cast<std::uint8_t>(frmsizecod);
  h.read[static_cast<std::size_t>(Ac3Field::kAcmod)] = true;
  h.read[static_cast<std::size_t>(Ac3Field::kFrmsizecod)] = true;
  return h;
}

TEST(ExtractionName, DefaultNames) {
  struct Case {
    NameParts parts;
    const char* name;
  };
  const Case cases[] = {
      {{"VTS_02", 0x80, StreamKind::Ac3, "ja", Ac3(7, 30), -5}, "VTS_02 T80 ja 3_2ch 448Kbps DELAY -5ms.ac3"},
      {{"VTS_02", 0x81, StreamKind::Ac3, "none", Ac3(0, 20), 0}, "VTS_02 T81 1+1ch 192Kbps DELAY 0ms.ac3"},
      {{"d VTS_01 title 3", 0xA1, StreamKind::Lpcm, "e/n", DecodeLpcmAttributes(0x01), 120},
       "d VTS_01 title 3 TA1 en 2_0ch 1536Kbps DELAY 120ms.wav"},
      {{"x", 0xA0, StreamKind::Lpcm, "", DecodeLpcmAttributes(0x95), std::nullopt}, "x TA0 6ch 13824Kbps.wav"},
      {{"x", 0xC0, StreamKind::MpegAudio, "de", std::nullopt, -40}, "x TC0 de DELAY -40ms.mpa"},
  };
  for (const Case& c : cases) EXPECT_EQ(DefaultFileName(c.parts), c.name);
}

TEST(ExtractionName, TheDiscsName) {
  EXPECT_EQ(DiscBase("/media/Movie.Name.iso", SourceKind::Image, 2, 5), "Movie.Name VTS_02 title 5");
  EXPECT_EQ(DiscBase("/media/Movie.Name/", SourceKind::Folder, 1, std::nullopt), "Movie.Name VTS_01");
  EXPECT_EQ(DiscBase("/media/Movie/VIDEO_TS", SourceKind::Folder, 1, 1), "Movie VTS_01 title 1");
  EXPECT_EQ(DiscBase("/dev/sr0", SourceKind::Drive, 3, 1), "sr0 VTS_03 title 1");
  EXPECT_EQ(FileBase("/a/VTS_02_1.VOB"), "VTS_02_1");
}

}  // namespace
}  // namespace tonvika
