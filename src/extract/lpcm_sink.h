#pragma once
// An LPCM stream extracted as a WAV file: DVD LPCM's packing undone, the
// header written first and made final at the end.

#include <vector>

#include "codecs/lpcm_samples.h"
#include "codecs/wav_header.h"
#include "extract/byte_output.h"
#include "extract/stream_sink.h"

namespace tonvika {

// Whether a WAV file can carry LPCM of these attributes: a known word
// length and sampling frequency.
bool CanWriteLpcm(const LpcmAttributes& attributes);

class LpcmSink final : public StreamSink {
 public:
  // `attributes` with a known word length and sampling frequency.
  LpcmSink(const LpcmAttributes& attributes, ByteOutput& output);

  void Take(std::span<const std::uint8_t> payload, const PacketStamp& stamp) override;
  void Gap() override;
  void Finish() override;
  SinkCounts Counts() const override;
  double ElapsedTicks() const override;
  const TimeLine& Times() const override { return times_; }

 private:
  std::uint64_t SamplePeriods() const;

  LpcmAttributes attributes_;
  ByteOutput& output_;
  LpcmUnpacker unpacker_;
  WavFormat format_;
  std::vector<std::uint8_t> samples_;
  std::uint64_t data_bytes_ = 0;
  bool header_written_ = false;
  TimeLine times_;
};

}  // namespace tonvika
