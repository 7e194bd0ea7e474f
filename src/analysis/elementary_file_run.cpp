#include "analysis/elementary_file_run.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "codecs/ac3_frame.h"
#include "codecs/dts_frame.h"
#include "io/read_only_file.h"
#include "io/sync_search.h"

namespace tonvika {

namespace {

constexpr std::array<std::uint8_t, 2> kAc3Sync = {0x0B, 0x77};
constexpr std::array<std::uint8_t, 4> kDtsSync = {0x7F, 0xFE, 0x80, 0x01};

// Frame bytes 0 to 18: the sync word, and what the analyses read after it.
constexpr std::size_t kHeaderSize = 19;
using FrameHeader = std::array<std::uint8_t, kHeaderSize>;

constexpr std::size_t kAc3AnalysisOffset = 4;  // fscod/frmsizecod
constexpr std::size_t kDtsHeaderOffset = 4;    // the byte after the sync word

struct FirstFrame {
  FrameHeader header{};
  std::uint64_t at = 0;
};

// The header of the file's first frame, starting at its sync word. Bytes past
// the end of the file read as zero. Nothing when the file holds no sync word.
std::optional<FirstFrame> ReadFirstFrameHeader(const std::string& path, std::span<const std::uint8_t> sync) {
  const ReadOnlyFile file(path);
  const std::optional<std::uint64_t> at = FindSyncWord(file, sync);
  if (!at) return std::nullopt;
  FirstFrame first;
  first.at = *at;
  file.ReadAt(*at, first.header);
  return first;
}

PublishedTrack Ac3Track(FrameHeader& header) {
  const Ac3Analysis analysis = AnalyseAc3Frame(header.data(), kAc3AnalysisOffset);
  return PublishedTrack{TrackKind::Ac3, std::nullopt, analysis.header, analysis.description, {}};
}

PublishedTrack DtsTrack(const FrameHeader& header) {
  DtsHeaderBytes bytes{};
  std::copy_n(header.begin() + kDtsHeaderOffset, bytes.size(), bytes.begin());
  const DtsAnalysis analysis = AnalyseDtsFrame(bytes);
  return PublishedTrack{TrackKind::Dts, std::nullopt, analysis.header, analysis.description, {}};
}

}  // namespace

std::optional<ElementaryTrack> ReadElementaryTrack(const std::string& path, TrackKind kind) {
  const bool ac3 = kind == TrackKind::Ac3;
  std::optional<FirstFrame> first = ReadFirstFrameHeader(path, ac3 ? std::span<const std::uint8_t>(kAc3Sync)
                                                                     : std::span<const std::uint8_t>(kDtsSync));
  if (!first) return std::nullopt;
  return ElementaryTrack{ac3 ? Ac3Track(first->header) : DtsTrack(first->header), first->at};
}

std::optional<PublishedTrack> AnalyseAc3File(const std::string& path) {
  std::optional<ElementaryTrack> read = ReadElementaryTrack(path, TrackKind::Ac3);
  if (!read) return std::nullopt;
  return std::move(read->track);
}

std::optional<PublishedTrack> AnalyseDtsFile(const std::string& path) {
  std::optional<ElementaryTrack> read = ReadElementaryTrack(path, TrackKind::Dts);
  if (!read) return std::nullopt;
  return std::move(read->track);
}

}  // namespace tonvika
