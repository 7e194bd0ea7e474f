// Throughput of the program-stream scan over a full 20 MiB read window.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "mpeg/program_stream_scan.h"

namespace tonvika {
namespace {

constexpr std::size_t kWindow = 20u << 20;
constexpr std::size_t kPackSize = 2048;
constexpr std::size_t kAc3FrameSize = 1792;  // 448 kbps at 48 kHz

using Bytes = std::vector<std::uint8_t>;

// Takes every slot once, as the run does, and remembers nothing else.
class CountingPublisher : public TrackPublisher {
 public:
  bool IsSlotFree(int slot) const override { return !taken_[slot]; }
  void PublishTrack(const TrackPublication& p) override {
    taken_[p.slot] = true;
    ++count;
  }
  int count = 0;

 private:
  std::array<bool, 8> taken_{};
};

Bytes RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937_64 rng(seed);
  Bytes out(size);
  for (std::size_t i = 0; i + 8 <= size; i += 8) {
    const std::uint64_t v = rng();
    for (int k = 0; k < 8; ++k) out[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
  }
  return out;
}

// An AC-3 elementary stream: frames of 1792 bytes with random contents
// behind a fixed head.
class Ac3Stream {
 public:
  explicit Ac3Stream(unsigned seed) : rng_(seed) {}
  std::uint8_t Next() {
    const std::size_t at = position_++ % kAc3FrameSize;
    static constexpr std::array<std::uint8_t, 7> kHead{0x0B, 0x77, 0x5A, 0x3C, 0x1C, 0x38, 0xE1};
    return at < kHead.size() ? kHead[at] : static_cast<std::uint8_t>(rng_());
  }

 private:
  std::mt19937 rng_;
  std::size_t position_ = 0;
};

void WritePesHeader(std::uint8_t* at, std::uint8_t stream_id, std::size_t length) {
  const std::array<std::uint8_t, 14> header{0x00, 0x00, 0x01, stream_id,
                                           static_cast<std::uint8_t>(length >> 8),
                                           static_cast<std::uint8_t>(length & 0xFF),
                                           0x81, 0x80, 0x05, 0x21, 0x00, 0x01, 0x00, 0x01};
  std::copy(header.begin(), header.end(), at);
}

// 2048-byte packs: pack header, then a video PES packet with random payload,
// or (one pack in eight) a private stream 1 packet of AC-3 sub-stream 0x80
// or 0x81 carrying a continuous AC-3 stream.
Bytes VobShaped() {
  Bytes out = RandomBytes(kWindow, 7);
  constexpr std::array<std::uint8_t, 14> kPackHeader{0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04,
                                                     0x00, 0x04, 0x01, 0x01, 0x89, 0xC3, 0xF8};
  std::array<Ac3Stream, 2> audio{Ac3Stream(1), Ac3Stream(2)};
  for (std::size_t pack = 0; pack * kPackSize < kWindow; ++pack) {
    std::uint8_t* p = out.data() + pack * kPackSize;
    std::copy(kPackHeader.begin(), kPackHeader.end(), p);
    constexpr std::size_t kPesLength = kPackSize - kPackHeader.size() - 6;
    const bool is_audio = pack % 8 == 3 || pack % 16 == 7;
    if (!is_audio) {
      WritePesHeader(p + kPackHeader.size(), 0xE0, kPesLength);
      continue;
    }
    WritePesHeader(p + kPackHeader.size(), 0xBD, kPesLength);
    const int track = pack % 8 == 3 ? 0 : 1;
    std::uint8_t* sub = p + kPackHeader.size() + 14;
    sub[0] = static_cast<std::uint8_t>(0x80 + track);
    sub[1] = 0x01;
    sub[2] = 0x00;
    sub[3] = 0x01;
    for (std::uint8_t* b = sub + 4; b < p + kPackSize; ++b) *b = audio[track].Next();
  }
  return out;
}

void RunScan(benchmark::State& state, Bytes buffer) {
  int found = 0;
  for (auto _ : state) {
    SyncTraces traces;
    CountingPublisher publisher;
    ScanProgramStream(buffer.data(), buffer.size(), traces, publisher);
    found = publisher.count;
    benchmark::DoNotOptimize(traces);
  }
  state.counters["tracks"] = found;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(buffer.size()));
}

void BM_ScanVobShaped(benchmark::State& state) { RunScan(state, VobShaped()); }
void BM_ScanZeros(benchmark::State& state) { RunScan(state, Bytes(kWindow, 0x00)); }
void BM_ScanRandom(benchmark::State& state) { RunScan(state, RandomBytes(kWindow, 11)); }
void BM_ScanAllOnes(benchmark::State& state) { RunScan(state, Bytes(kWindow, 0x01)); }

BENCHMARK(BM_ScanVobShaped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanZeros)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanAllOnes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tonvika
