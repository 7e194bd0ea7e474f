#include "dvd/title_cells.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/title_set_tables.h"

namespace tonvika {
namespace {

using testing::Cell;
using testing::TitleSetTables;
using Cells = std::vector<CellBlocks>;

constexpr dvd_time_t kTime{0, 0, 0x01, 0xC0};

TEST(TitleCells, ChainsInPartOrderCellsInPlaybackOrderAngleOneOfABlock) {
  const TitleSetTables tables(
      {{kTime, {Cell(200, 299), Cell(0, 99)}},  // played in another order than stored
       {kTime, {Cell(300, 309), Cell(310, 319, BLOCK_MODE_FIRST_CELL, BLOCK_TYPE_ANGLE_BLOCK, true),
                Cell(310, 329, BLOCK_MODE_IN_BLOCK, BLOCK_TYPE_ANGLE_BLOCK, true),
                Cell(310, 339, BLOCK_MODE_LAST_CELL, BLOCK_TYPE_ANGLE_BLOCK, true), Cell(340, 349)}},
       {kTime, {Cell(50, 40), Cell(60, 60)}},  // a cell that ends before it begins
       {kTime, {}}},
      {{1}, {2, 1, 2}, {3}, {4}, {9}});
  const struct {
    int vts_ttn;
    Cells cells;
  } cases[] = {
      {1, {{200, 299, false}, {0, 99, false}}},
      {2, {{300, 309, false}, {310, 319, true}, {340, 349, false}, {200, 299, false}, {0, 99, false}}},
      {3, {{60, 60, false}}},
      {4, {}},
      {5, {}},  // a chain the table does not have
      {0, {}},
      {6, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(TitleCells(tables.Ifo(), c.vts_ttn), c.cells) << c.vts_ttn;
  EXPECT_TRUE(TitleCells(ifo_handle_t{}, 1).empty());
}

TEST(PlayedOnFirstAngle, OutsideABlockAndTheBlocksFirstCell) {
  const struct {
    unsigned mode, type;
    bool played;
  } cases[] = {
      {BLOCK_MODE_NOT_IN_BLOCK, BLOCK_TYPE_NONE, true},
      {BLOCK_MODE_FIRST_CELL, BLOCK_TYPE_ANGLE_BLOCK, true},
      {BLOCK_MODE_IN_BLOCK, BLOCK_TYPE_ANGLE_BLOCK, false},
      {BLOCK_MODE_LAST_CELL, BLOCK_TYPE_ANGLE_BLOCK, false},
      {BLOCK_MODE_IN_BLOCK, BLOCK_TYPE_NONE, true},  // a block of no defined type plays through
  };
  for (const auto& c : cases) EXPECT_EQ(PlayedOnFirstAngle(Cell(0, 1, c.mode, c.type)), c.played) << c.mode << c.type;
}

TEST(ClipCells, WhatLiesPastTheVobsEndIsDropped) {
  const Cells cells{{0, 9, false}, {10, 29, true}, {30, 39, false}, {5, 6, false}};
  const struct {
    std::uint32_t blocks;
    Cells clipped;
  } cases[] = {
      {40, cells},
      {20, {{0, 9, false}, {10, 19, true}, {5, 6, false}}},
      {10, {{0, 9, false}, {5, 6, false}}},
      {6, {{0, 5, false}, {5, 5, false}}},
      {0, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ClipCells(cells, c.blocks), c.clipped) << c.blocks;
}

}  // namespace
}  // namespace tonvika
