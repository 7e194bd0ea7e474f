#pragma once
// Every audio stream the survey met, described: its first frame's header,
// the IFO entry and language the program chain gives it, the slot that
// shows it, and its delay against the video.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/audio_stream.h"
#include "analysis/frame_walk.h"
#include "analysis/stream_notes.h"
#include "dvd/ifo_audio.h"
#include "dvd/ifo_declared.h"
#include "mpeg/stream_survey.h"

namespace tonvika {

// What the frames of each surveyed stream say, in the survey's order: the
// walk over every frame (AC-3, DTS, MPEG audio), LPCM's frames and rate.
// Reads `window` as it was read, before the list's scan touches it.
struct StreamFrames {
  std::optional<FrameWalk> walk;
  std::optional<double> lpcm_bit_rate_kbps;
};
std::vector<StreamFrames> WalkStreams(const StreamSurvey& survey, std::span<const std::uint8_t> window);

// `frames`: WalkStreams' result; `entry_codes`: the IFO's language code of
// each entry; `tracks`: the list. A stream's header is its first whole
// frame's, confirmed by the next one where the walk found any.
std::vector<AudioStream> ListStreams(const StreamSurvey& survey, const std::vector<StreamFrames>& frames,
                                     const DeclaredAudio& declared, const LanguageCodes& entry_codes,
                                     const FoundTracks& tracks);

// The one-line summary of a header, as the stream table shows it.
std::string SummaryOf(const TrackHeader& header);

// The header and one-line summary of the stream's first whole frame in its
// payload head (for LPCM, of its attribute byte); nothing when none is there.
struct FirstFrame {
  TrackHeader header;
  std::string summary;
};
std::optional<FirstFrame> DescribeFirstFrame(const StreamSurveyEntry& entry);

// Milliseconds from the video to the audio, each PTS first rounded to whole
// milliseconds (exactly half a millisecond rounds down); nothing without both.
std::optional<std::int64_t> DelayMs(std::optional<std::uint64_t> audio_pts, std::optional<std::uint64_t> video_pts);

}  // namespace tonvika
