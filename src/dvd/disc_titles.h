#pragma once
// Title lengths from a disc's title tables, and which title set holds the
// main feature.

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

// The length of title `vts_ttn` of a title set (its part-of-title table and
// program chains): the playback times of the distinct program chains its
// parts play, added up. Nothing when the tables do not hold the title.
std::optional<double> TitleSeconds(const ifo_handle_t& vts, int vts_ttn);

// The longest title of each title set 1 to `title_sets` (index n - 1), from
// the disc's title table (VIDEO_TS.IFO) and the title sets' own tables
// (nullptr for one that cannot be read). A title set no title names, or
// whose titles have no length, has nothing.
std::vector<std::optional<double>> LongestTitles(const ifo_handle_t& vmg,
                                                 std::span<const ifo_handle_t* const> vts);

// The number of the title set whose longest title is the longest of all
// (the lowest number of those that tie); 1 when no length is known.
int MainFeatureTitleSet(std::span<const std::optional<double>> longest);

}  // namespace tonvika
