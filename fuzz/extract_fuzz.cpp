// A program stream of any content taken out stream by stream, as
// --extract takes a VOB: every audio stream the bytes hold, read in pieces
// of a size the first byte picks, so that packets straddle the pieces.
// What each stream writes is held against what its packets carried.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "extract/stream_extraction.h"
#include "mpeg/stream_survey.h"

namespace {

class MemoryReader final : public tonvika::StreamReader {
 public:
  MemoryReader(std::span<const std::uint8_t> bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  tonvika::StreamPiece Read(std::span<std::uint8_t> out) override {
    const std::size_t take = std::min({out.size(), piece_, bytes_.size() - at_});
    std::memcpy(out.data(), bytes_.data() + at_, take);
    at_ += take;
    return {take, 0};
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

class MemoryOutput final : public tonvika::ByteOutput {
 public:
  void Write(std::span<const std::uint8_t> bytes) override { data.insert(data.end(), bytes.begin(), bytes.end()); }
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    if (offset + bytes.size() > data.size()) std::abort();  // only what was written is rewritten
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
  }
  std::vector<std::uint8_t> data;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t piece = (std::size_t{data[0]} + 1) * 509;
  const std::span<const std::uint8_t> stream(data + 1, size - 1);
  const tonvika::StreamSurvey survey = tonvika::SurveyProgramStream(stream);
  std::vector<MemoryOutput> outputs(survey.streams.size());
  std::vector<tonvika::ExtractTarget> targets;
  for (std::size_t i = 0; i < survey.streams.size(); ++i) {
    targets.push_back({survey.streams[i].key, survey.streams[i].kind, &outputs[i]});
  }
  MemoryReader reader(stream, piece);
  tonvika::ExtractionObserver observer;
  const tonvika::ExtractionRun run = tonvika::ExtractStreams(reader, targets, observer);
  if (run.bytes_read != stream.size()) std::abort();
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    // An elementary stream is some of its payload's bytes; a WAV file at
    // most its header and 24 bits for every 16 of them.
    if (outputs[i].data.size() > 104 + stream.size() * 3 / 2) std::abort();
    if (run.streams[i].counts.frames > 0 && outputs[i].data.empty()) std::abort();
  }
  return 0;
}
