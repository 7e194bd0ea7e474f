#include "extract/lpcm_sink.h"

namespace tonvika {

bool CanWriteLpcm(const LpcmAttributes& attributes) {
  return LpcmBitsPerSample(attributes) && LpcmSampleRateHz(attributes);
}

LpcmSink::LpcmSink(const LpcmAttributes& attributes, ByteOutput& output)
    : attributes_(attributes), output_(output), unpacker_(attributes) {
  format_.channels = unpacker_.Channels();
  format_.sample_rate_hz = unpacker_.SampleRateHz();
  format_.bits_per_sample = unpacker_.OutputBitsPerSample();
}

void LpcmSink::Take(std::span<const std::uint8_t> payload, const PacketStamp& stamp) {
  if (!header_written_) {
    output_.Write(WavHeader(format_, 0));
    header_written_ = true;
  }
  if (stamp.pts) times_.Stamp(*stamp.pts, ElapsedTicks());
  samples_.clear();
  unpacker_.Unpack(payload, samples_);
  output_.Write(samples_);
  data_bytes_ += samples_.size();
}

void LpcmSink::Gap() { unpacker_ = LpcmUnpacker(attributes_); }

void LpcmSink::Finish() {
  if (!header_written_) return;
  output_.WriteAt(0, WavHeader(format_, data_bytes_));
}

std::uint64_t LpcmSink::SamplePeriods() const {
  return data_bytes_ / static_cast<std::uint64_t>(format_.channels * format_.bits_per_sample / 8);
}

SinkCounts LpcmSink::Counts() const {
  SinkCounts counts;
  counts.frames = SamplePeriods();
  counts.duration_s = ElapsedTicks() / kTicksPerSecond;
  return counts;
}

double LpcmSink::ElapsedTicks() const {
  if (format_.sample_rate_hz <= 0) return 0;
  return static_cast<double>(SamplePeriods()) * kTicksPerSecond / format_.sample_rate_hz;
}

}  // namespace tonvika
