#include "analysis/stream_listing.h"

#include <algorithm>
#include <array>

#include "analysis/stream_mapping.h"
#include "codecs/ac3_frame.h"
#include "codecs/dts_frame.h"
#include "codecs/lpcm.h"
#include "codecs/mpeg_audio_header.h"

namespace tonvika {

namespace {

constexpr std::array<std::uint8_t, 2> kAc3Sync{0x0B, 0x77};
constexpr std::array<std::uint8_t, 4> kDtsSync{0x7F, 0xFE, 0x80, 0x01};
constexpr std::size_t kAc3HeaderBytes = 19;  // sync word to the last byte the analysis reads
constexpr std::size_t kAc3FrameByte4 = 4;
constexpr int kAc3FrameSizeCodes = 38;
constexpr int kAc3ReservedFscod = 3;
constexpr std::uint64_t kTicksPerMillisecond = 90;

using Bytes = std::vector<std::uint8_t>;

// Where the first frame should begin: the first access unit pointer counts
// from 1; 0 (or a pointer past the head) says nothing.
std::size_t PointedStart(const StreamSurveyEntry& entry) {
  if (!entry.first_access_unit || *entry.first_access_unit == 0) return 0;
  const std::size_t at = *entry.first_access_unit - 1u;
  return at < entry.head.size() ? at : 0;
}

// The first position from `from` where `sync` begins and `accept` holds.
template <typename Accept>
std::optional<std::size_t> FindSync(const Bytes& head, std::size_t from, std::span<const std::uint8_t> sync,
                                    std::size_t needed, Accept accept) {
  for (std::size_t at = from; at + needed <= head.size(); ++at) {
    if (std::equal(sync.begin(), sync.end(), head.begin() + static_cast<std::ptrdiff_t>(at)) && accept(at)) return at;
  }
  return std::nullopt;
}

// The pointed frame first; a damaged pointer falls back to the first sync.
template <typename Accept>
std::optional<std::size_t> FindFrame(const StreamSurveyEntry& entry, std::span<const std::uint8_t> sync,
                                     std::size_t needed, Accept accept) {
  const std::size_t pointed = PointedStart(entry);
  if (auto at = FindSync(entry.head, pointed, sync, needed, accept); at && (*at == pointed || pointed == 0)) return at;
  return FindSync(entry.head, 0, sync, needed, accept);
}

std::optional<FirstFrame> FirstAc3Frame(const StreamSurveyEntry& entry) {
  const auto valid = [&entry](std::size_t at) {
    const std::uint8_t code = entry.head[at + kAc3FrameByte4];
    return (code & 0x3F) < kAc3FrameSizeCodes && (code >> 6) != kAc3ReservedFscod;
  };
  const auto at = FindFrame(entry, kAc3Sync, kAc3HeaderBytes, valid);
  if (!at) return std::nullopt;
  // The analysis rewrites what it reads: it gets a copy.
  std::array<std::uint8_t, kAc3HeaderBytes> frame{};
  std::copy_n(entry.head.begin() + static_cast<std::ptrdiff_t>(*at), frame.size(), frame.begin());
  const Ac3Analysis analysis = AnalyseAc3Frame(frame.data(), kAc3FrameByte4);
  return FirstFrame{analysis.header, analysis.description.summary};
}

std::optional<FirstFrame> FirstDtsFrame(const StreamSurveyEntry& entry) {
  DtsHeaderBytes bytes{};
  const auto at = FindFrame(entry, kDtsSync, kDtsSync.size() + bytes.size(), [](std::size_t) { return true; });
  if (!at) return std::nullopt;
  std::copy_n(entry.head.begin() + static_cast<std::ptrdiff_t>(*at + kDtsSync.size()), bytes.size(), bytes.begin());
  const DtsAnalysis analysis = AnalyseDtsFrame(bytes);
  return FirstFrame{analysis.header, SummaryOf(analysis.header)};
}

// A header whose successor (when it lies in the head) is a header as well:
// a stray 0xFFF inside a frame rarely is followed by another one.
std::optional<FirstFrame> FirstMpegAudioFrame(const StreamSurveyEntry& entry) {
  const std::span<const std::uint8_t> head(entry.head);
  std::optional<MpegAudioHeader> first_valid;
  for (std::size_t at = 0; at + 4 <= head.size(); ++at) {
    if (head[at] != 0xFF) continue;
    const std::optional<MpegAudioHeader> header = DecodeMpegAudioHeader(head.subspan(at));
    if (!header || !IsValidMpegAudioHeader(*header)) continue;
    if (!first_valid) first_valid = header;
    const std::optional<int> length = MpegAudioFrameBytes(*header);
    if (!length) continue;
    const std::size_t next = at + static_cast<std::size_t>(*length);
    if (next + 4 > head.size() || IsValidMpegAudioHeader(head.subspan(next))) {
      return FirstFrame{*header, DescribeMpegAudio(*header)};
    }
  }
  if (!first_valid) return std::nullopt;
  return FirstFrame{*first_valid, DescribeMpegAudio(*first_valid)};
}

std::optional<int> ListedSlot(const StreamSurveyEntry& entry, const FoundTracks& tracks) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const auto& track = tracks[static_cast<std::size_t>(slot)];
    if (track && track->stream_id == entry.key) return slot;
  }
  return std::nullopt;
}

std::int64_t RoundedMilliseconds(std::uint64_t pts) {
  return static_cast<std::int64_t>((pts + kTicksPerMillisecond / 2 - 1) / kTicksPerMillisecond);
}

}  // namespace

std::optional<FirstFrame> DescribeFirstFrame(const StreamSurveyEntry& entry) {
  switch (entry.kind) {
    case StreamKind::Ac3: return FirstAc3Frame(entry);
    case StreamKind::Dts: return FirstDtsFrame(entry);
    case StreamKind::Lpcm: {
      if (!entry.lpcm_attribute) return std::nullopt;
      const LpcmAttributes attributes = DecodeLpcmAttributes(*entry.lpcm_attribute);
      return FirstFrame{attributes, DescribeLpcm(attributes)};
    }
    case StreamKind::MpegAudio: return FirstMpegAudioFrame(entry);
    case StreamKind::MpegAudioExtension: return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::int64_t> DelayMs(std::optional<std::uint64_t> audio_pts, std::optional<std::uint64_t> video_pts) {
  if (!audio_pts || !video_pts) return std::nullopt;
  return RoundedMilliseconds(*audio_pts) - RoundedMilliseconds(*video_pts);
}

std::string SummaryOf(const TrackHeader& header) {
  if (const auto* ac3 = std::get_if<Ac3Header>(&header)) return DescribeAc3Header(*ac3).summary;
  if (const auto* dts = std::get_if<DtsHeader>(&header)) {
    std::string summary = DescribeDtsHeader(*dts).summary;
    if (!summary.empty() && summary.front() == ' ') summary.erase(0, 1);
    return summary;
  }
  if (const auto* lpcm = std::get_if<LpcmAttributes>(&header)) return DescribeLpcm(*lpcm);
  return DescribeMpegAudio(std::get<MpegAudioHeader>(header));
}

std::vector<StreamFrames> WalkStreams(const StreamSurvey& survey, std::span<const std::uint8_t> window) {
  std::vector<StreamFrames> frames;
  frames.reserve(survey.streams.size());
  for (const StreamSurveyEntry& entry : survey.streams) {
    StreamFrames stream;
    if (const std::optional<FrameFormat> format = FrameFormatOf(entry.kind)) {
      stream.walk = WalkStreamFrames(entry, *format, window);
    } else if (entry.kind == StreamKind::Lpcm) {
      LpcmMeasure measure = MeasureLpcm(entry);
      stream.walk = std::move(measure.walk);
      stream.lpcm_bit_rate_kbps = measure.bit_rate_kbps;
    }
    frames.push_back(std::move(stream));
  }
  return frames;
}

std::vector<AudioStream> ListStreams(const StreamSurvey& survey, const std::vector<StreamFrames>& frames,
                                     const DeclaredAudio& declared, const LanguageCodes& entry_codes,
                                     const FoundTracks& tracks) {
  std::vector<AudioStream> streams;
  for (std::size_t i = 0; i < survey.streams.size(); ++i) {
    const StreamSurveyEntry& entry = survey.streams[i];
    AudioStream stream;
    stream.stream_id = entry.key;
    stream.kind = entry.kind;
    if (i < frames.size()) {
      stream.walk = frames[i].walk;
      stream.measured_bit_rate_kbps = frames[i].lpcm_bit_rate_kbps;
    }
    if (stream.walk && stream.walk->first_header) {
      stream.header = stream.walk->first_header;
      stream.summary = SummaryOf(*stream.header);
    } else if (std::optional<FirstFrame> frame = DescribeFirstFrame(entry)) {
      stream.header = frame->header;
      stream.summary = std::move(frame->summary);
    }
    const int number = entry.key - StreamIdBase(entry.kind);
    stream.declared_entry = DeclaredEntryFor(declared, entry.kind, number);
    stream.slot = ListedSlot(entry, tracks);
    // A stream in the list has the language its row shows; any other the
    // entry its chain declares, else entry n as the slot rule pairs them.
    const int language_entry = LanguageEntryFor(declared, entry.kind, number);
    if (language_entry >= 0 && language_entry < static_cast<int>(entry_codes.size())) {
      stream.language_code = entry_codes[static_cast<std::size_t>(language_entry)];
    }
    stream.packets = entry.packets;
    stream.scrambled = entry.scrambled;
    stream.first_pts = entry.first_pts;
    streams.push_back(std::move(stream));
  }
  return streams;
}

}  // namespace tonvika
