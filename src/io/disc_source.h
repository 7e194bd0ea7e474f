#pragma once
// What a named source is: a file for the video-object or elementary run, or
// a whole disc (a DVD folder, a DVD image, a drive) for libdvdread.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tonvika {

enum class SourceKind {
  File,    // every path named .vob, .ac3 or .dts, and all that is not one of the three below
  Folder,  // a folder (a VIDEO_TS folder, one that holds one, or one without)
  Image,   // a regular file holding an ISO 9660 or UDF file system
  Drive,   // a block device
};

// Decides by the file type and, for a regular file, by its content (the
// volume descriptors at 32768); never opens a device or a FIFO. A path that
// cannot be looked at is a File: the file run reports why.
SourceKind RecogniseSource(const std::string& path);

// True when the bytes from offset 32768 of a file (sectors 16 to 18 of 2048
// bytes, or fewer) hold an ISO 9660 volume descriptor ("CD001" at byte 1 of
// sector 16) or a UDF volume recognition descriptor (BEA01, NSR02 or NSR03
// at byte 1 of sectors 16 to 18).
bool HoldsVolumeDescriptors(std::span<const std::uint8_t> from_sector_16);

// The folder of a DVD folder that libdvdread reads: the folder itself when it
// holds VIDEO_TS.IFO or is named VIDEO_TS, else its sub-folder named
// VIDEO_TS; names compared ignoring ASCII case. Nothing when there is none.
std::optional<std::string> FindVideoTsFolder(const std::string& folder);

// The path of the entry in `folder` whose name equals `name` ignoring ASCII
// case (the byte-wise first of several), or nothing: `folder` + "/" + name,
// or the name alone for the current folder (""). With RegularFiles, only
// regular files (after symbolic links) count.
enum class EntryFilter { AnyEntry, RegularFiles };
std::optional<std::string> FindEntryIgnoringCase(const std::string& folder, const std::string& name,
                                                 EntryFilter filter = EntryFilter::AnyEntry);

// Every entry of `folder` whose name equals `name` ignoring ASCII case, as
// FindEntryIgnoringCase names them, in byte-wise order; empty when the folder
// has none or cannot be read.
std::vector<std::string> EntriesIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace tonvika
