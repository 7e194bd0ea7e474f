#include "dvd/nav_pack.h"

#include <gtest/gtest.h>

#include "support/nav_pack_builder.h"

namespace tonvika {
namespace {

using testing::NavPack;

TEST(ReadVobuLinks, TheDsiFieldsOfANavPack) {
  const auto block = NavPack({.vobu_end = 0x0102, .category = 0x5000, .next_unit = 0x0A0B0C0D});
  const std::optional<VobuLinks> links = ReadVobuLinks(block);
  ASSERT_TRUE(links);
  EXPECT_EQ(links->vobu_end, 0x0102u);
  EXPECT_TRUE(links->interleaved_unit);
  EXPECT_TRUE(links->unit_end);
  EXPECT_EQ(links->next_unit, 0x0A0B0C0Du);
  EXPECT_FALSE(ReadVobuLinks(NavPack({.category = 0x2000}))->unit_end);  // unit start only
}

TEST(ReadVobuLinks, NoLinksFromAnythingButANavPack) {
  const auto good = NavPack({});
  ASSERT_TRUE(ReadVobuLinks(good));
  for (const std::size_t at : {std::size_t{3}, std::size_t{41}, std::size_t{1027}, std::size_t{1030}}) {
    auto damaged = good;
    damaged[at] ^= 0xFF;
    EXPECT_FALSE(ReadVobuLinks(damaged)) << at;
  }
  EXPECT_FALSE(ReadVobuLinks(std::span(good).first(1072)));  // cut inside the DSI's links
  EXPECT_TRUE(ReadVobuLinks(std::span(good).first(1073)));
}

TEST(NextVobuOfAngle, OnInsideAUnitToTheNextUnitAtItsEnd) {
  const struct {
    VobuLinks links;
    std::optional<std::uint32_t> next;
  } cases[] = {
      {{9, false, false, 0}, 1010},       // not interleaved: the block after the VOBU
      {{9, true, false, 50}, 1010},       // inside a unit
      {{9, true, true, 50}, 1050},        // a unit's last VOBU: the angle's next unit
      {{9, true, true, 0}, std::nullopt},  // the angle's last unit
      {{9, true, true, 5}, std::nullopt},  // a next unit inside this VOBU would go back
      {{0xFFFFFFFF, false, false, 0}, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextVobuOfAngle(1000, c.links), c.next) << c.links.vobu_end << " " << c.links.next_unit;
  }
}

}  // namespace
}  // namespace tonvika
