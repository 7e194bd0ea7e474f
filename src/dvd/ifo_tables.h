#pragma once
// What an information file's bytes say before libdvdread reads its tables:
// whether it is one, and whether the tables the program has libdvdread read
// lie inside it. Their headers give their sizes, and libdvdread reserves what
// a header claims before it finds that the file ends: a damaged one can make
// it reserve gigabytes.

#include <cstdint>
#include <span>

namespace tonvika {

// Whether the bytes begin as VIDEO_TS.IFO's ("DVDVIDEO-VMG", title set 0)
// or a title set's ("DVDVIDEO-VTS") do.
bool IsInformationFile(std::span<const std::uint8_t> bytes, int title_set);

// Whether the title table (VIDEO_TS.IFO) or the part-of-title table (a
// title set's IFO) ends inside the file, as its header says.
bool TablesFitInFile(std::span<const std::uint8_t> bytes, int title_set);

}  // namespace tonvika
