#pragma once
// What an information file's bytes say before libdvdread reads its tables:
// whether it is one, and whether the tables the program has libdvdread read
// can be read safely. Their headers give their sizes, and libdvdread
// reserves what a header claims before it finds that the file ends (a
// damaged one can make it reserve gigabytes); and it dereferences a program
// chain it could not read when a second search pointer names it.

#include <cstdint>
#include <span>

namespace tonvika {

// Whether the bytes begin as VIDEO_TS.IFO's ("DVDVIDEO-VMG", title set 0)
// or a title set's ("DVDVIDEO-VTS") do.
bool IsInformationFile(std::span<const std::uint8_t> bytes, int title_set);

// Whether the title table (VIDEO_TS.IFO) or the part-of-title table (a
// title set's IFO) ends inside the file, as its header says, and, for a
// title set, whether every program chain that two search pointers of its
// program chain table name lies wholly inside the file (libdvdread reads
// it once and takes the second pointer's for the same).
bool TablesSafeToRead(std::span<const std::uint8_t> bytes, int title_set);

}  // namespace tonvika
