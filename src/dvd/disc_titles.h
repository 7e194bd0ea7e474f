#pragma once
// A disc's titles from its title tables: where each one lives, how long it
// plays, and which title set holds the main feature.

#include <dvdread/ifo_types.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tonvika {

// A playback time of the tables: hours, minutes, seconds and frames in BCD,
// the frame rate in the two high bits of the frame byte (01: 25 frames a
// second, 11: 30, the nominal rate of 29.97). Seconds with the frames as a
// fraction of the nominal rate; nothing when a digit is not BCD or the rate
// bits are one of the two undefined values.
std::optional<double> PlaybackSeconds(const dvd_time_t& time);

// The program chains title `vts_ttn` of a title set plays: the distinct
// chains its parts name, in the order of its parts. Nothing when the tables
// do not hold the title or one of its chains.
std::optional<std::vector<const pgc_t*>> TitleProgramChains(const ifo_handle_t& vts, int vts_ttn);

// The length of title `vts_ttn` of a title set: the playback times of its
// program chains added up. Nothing when the tables do not hold the title.
std::optional<double> TitleSeconds(const ifo_handle_t& vts, int vts_ttn);

// One title of the disc, numbered as the disc's title table (TT_SRPT) lists
// it, from 1.
struct DiscTitle {
  int number = 0;
  int title_set = 0;                // 1 to 99
  int vts_ttn = 0;                  // its number inside the title set
  int program_chain = 0;            // the chain its first part plays (1: the first); 0 when unknown
  std::optional<double> seconds;    // its length, nothing when unknown
  int chapters = 0;                 // its parts, as the disc's table counts them
  int cells = 0;                    // the cells of its chains, every angle's
  int angles = 1;
};

// Every title of the disc's title table (VIDEO_TS.IFO) whose title set is
// one of 1 to `vts.size()`; `vts` holds the title sets' own tables (nullptr
// for one that cannot be read: its titles have no chain, length or cells).
std::vector<DiscTitle> ReadDiscTitles(const ifo_handle_t& vmg, std::span<const ifo_handle_t* const> vts);

// The longest title of each title set 1 to `title_sets` (index n - 1). A
// title set no title names, or whose titles have no length, has nothing.
std::vector<std::optional<double>> LongestTitles(std::span<const DiscTitle> titles, int title_sets);

// The title a title set is analysed through: its longest (the lowest number
// of those that tie), or its first when none has a length; nothing when no
// title plays from it.
std::optional<int> LongestTitleOf(std::span<const DiscTitle> titles, int title_set);

// The number of the title set whose longest title is the longest of all
// (the lowest number of those that tie); 1 when no length is known.
int MainFeatureTitleSet(std::span<const std::optional<double>> longest);

}  // namespace tonvika
