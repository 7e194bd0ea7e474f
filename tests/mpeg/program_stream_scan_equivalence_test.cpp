// The scan against the plain byte-by-byte walk on many generated buffers:
// both must hand over the same tracks, build the same traces and leave the
// buffer the same.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "mpeg/program_stream_scan.h"
#include "scan_test_support.h"

namespace tonvika::scan_test {
namespace {

// Bytes that make start codes, sync words and sub-stream numbers likely.
constexpr std::array<std::uint8_t, 12> kInterestingBytes{0x00, 0x00, 0x01, 0xBD, 0x0B, 0x77,
                                                         0x7F, 0xFE, 0x80, 0x01, 0x81, 0xA1};
constexpr std::array<std::uint8_t, 9> kFlags{0x80, 0x81, 0x81, 0x81, 0x8F, 0x90, 0xB0, 0x00, 0x41};
constexpr std::array<std::uint8_t, 4> kByte4{0x1C, 0x1C, 0x1E, 0x26};  // 0x26: frmsizecod 38
constexpr std::array<std::uint8_t, 3> kByte5{0x38, 0x38, 0x40};
constexpr std::array<std::uint8_t, 4> kByte6{0xE1, 0xE7, 0xE1, 0xF1};

class BufferMaker {
 public:
  explicit BufferMaker(unsigned seed) : rng_(seed) {}

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Uniform(0, 255)); }
  template <typename Table>
  auto Pick(const Table& table) { return table[Uniform(0, static_cast<int>(table.size()) - 1)]; }

  // Exactly `size` bytes (the vector holds no spare capacity).
  Bytes Make(std::size_t size) {
    Bytes out;
    while (out.size() < size + 64) AppendToken(out, 0);
    return Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(size));
  }

  Bytes RandomBytes(std::size_t size) {
    Bytes out(size);
    for (auto& b : out) b = Byte();
    return out;
  }

 private:
  void AppendRun(Bytes& out) {
    const int count = Uniform(0, 40);
    for (int i = 0; i < count; ++i) out.push_back(Uniform(0, 9) < 3 ? Pick(kInterestingBytes) : Byte());
  }

  void AppendAc3Frame(Bytes& out) {
    Append(out, Ac3FrameHead(Pick(kByte4), Pick(kByte5), Pick(kByte6), Uniform(0, 20)));
  }

  std::uint8_t SubStream() {
    switch (Uniform(0, 9)) {
      case 0: return static_cast<std::uint8_t>(0x20 + Uniform(0, 31));
      case 1: return Byte();
      case 2:
      case 3: return static_cast<std::uint8_t>(0x88 + Uniform(0, 2));
      case 4:
      case 5: return static_cast<std::uint8_t>(0xA0 + Uniform(0, 2));
      default: return static_cast<std::uint8_t>(0x80 + Uniform(0, 2));
    }
  }

  void AppendPacket(Bytes& out, int depth) {
    PacketLayout layout;
    layout.flags = Pick(kFlags);
    layout.flags2 = Uniform(0, 3) == 0 ? Byte() : 0x80;
    layout.header.resize(Uniform(0, 9) == 0 ? Uniform(0, 255) : Uniform(0, 8));
    for (auto& b : layout.header) b = Uniform(0, 5) == 0 ? Pick(kInterestingBytes) : Byte();
    layout.sub_stream = SubStream();
    const int tokens = Uniform(0, 6);
    const bool ac3 = layout.sub_stream >= 0x80 && layout.sub_stream < 0x88;
    for (int i = 0; i < tokens; ++i) {
      // AC-3 packets mostly carry frames, so candidates pile up and agree.
      if (ac3 && Uniform(0, 3) != 0) {
        AppendAc3Frame(layout.body);
      } else {
        AppendToken(layout.body, depth + 1);
      }
    }
    switch (Uniform(0, 19)) {
      case 0: layout.length = Uniform(0, 65535); break;
      case 1:
      case 2:
      case 3: layout.length = Uniform(0, 40); break;
      case 4:
      case 5: layout.length = Uniform(0, 300); break;
      default: break;  // the true length
    }
    Append(out, MakePacket(layout));
  }

  void AppendToken(Bytes& out, int depth) {
    const int roll = Uniform(0, 19);
    if (roll < 5) {
      AppendRun(out);
    } else if (roll < 6) {
      Append(out, {0x00, 0x00, 0x01, 0xBD});  // whatever follows is taken for L, F, H
    } else if (roll < 9) {
      AppendAc3Frame(out);
    } else if (roll < 10) {
      Append(out, DtsFrameHead());
    } else if (depth < 2) {
      AppendPacket(out, depth);
    } else {
      AppendRun(out);
    }
  }

  std::mt19937 rng_;
};

enum class Rewrite { None, TakeBits, Scramble };

// Deterministic per offset, so both walks see the same rewriting.
Ac3Rewrite MakeRewrite(Rewrite kind, unsigned seed) {
  switch (kind) {
    case Rewrite::None: return {};
    case Rewrite::TakeBits:
      return [seed](std::uint8_t* buffer, std::size_t offset) {
        ShiftAc3Window(buffer, offset, static_cast<int>((offset * 31 + seed) % 114));
      };
    case Rewrite::Scramble:
      return [seed](std::uint8_t* buffer, std::size_t offset) {
        for (std::size_t k = 0; k < 14; ++k) {
          const std::size_t h = (offset + k) * 2654435761u + seed;
          buffer[offset + k] = kInterestingBytes[(h >> 7) % kInterestingBytes.size()];
        }
      };
  }
  return {};
}

struct RunSetup {
  bool take_slots = true;
  std::uint8_t pre_taken = 0;
  Rewrite rewrite = Rewrite::None;
  unsigned seed = 0;
};

RecordingPublisher MakePublisher(const std::uint8_t* buffer, const RunSetup& setup) {
  RecordingPublisher publisher(buffer, setup.take_slots);
  for (int n = 0; n < 8; ++n) {
    if (setup.pre_taken & (1u << n)) publisher.TakeSlot(n);
  }
  publisher.SetAc3Rewrite(MakeRewrite(setup.rewrite, setup.seed));
  return publisher;
}

// Runs both walks on their own exact-size copies and compares everything.
void ExpectSameAsReference(const Bytes& original, const RunSetup& setup) {
  Bytes fast_buffer(original);
  Bytes reference_buffer(original);
  RecordingPublisher fast = MakePublisher(fast_buffer.data(), setup);
  RecordingPublisher reference = MakePublisher(reference_buffer.data(), setup);
  SyncTraces traces;
  ReferenceTraces reference_traces;
  ScanProgramStream(fast_buffer.data(), fast_buffer.size(), traces, fast);
  ReferenceScan(reference_buffer.data(), reference_buffer.size(), reference_traces, reference);

  ASSERT_EQ(fast.published.size(), reference.published.size());
  for (std::size_t i = 0; i < fast.published.size(); ++i) {
    EXPECT_EQ(fast.published[i], reference.published[i])
        << "publication " << i << ": " << Describe(fast.published[i]) << " vs "
        << Describe(reference.published[i]);
    if (fast.published[i].kind == TrackKind::Ac3) {
      EXPECT_TRUE(fast.published[i].same_buffer);
    }
  }
  for (int n = 0; n < 8; ++n) {
    const ReferenceTrace& expected = reference_traces[n];
    EXPECT_EQ(traces[n].text, expected.text) << "slot " << n;
    ASSERT_EQ(traces[n].count, expected.candidates.size()) << "slot " << n;
    if (traces[n].count >= 1) {
      EXPECT_EQ(traces[n].last, expected.candidates.back());
    }
    if (traces[n].count >= 2) {
      EXPECT_EQ(traces[n].previous, expected.candidates[traces[n].count - 2]);
    }
  }
  EXPECT_EQ(fast_buffer, reference_buffer);
}

// Buffers crowded with start codes, packets of every kind and sync words.
TEST(ProgramStreamScanEquivalence, DenseGeneratedBuffers) {
  std::array<int, 3> publications{};  // by kind
  std::size_t candidates = 0;
  for (unsigned seed = 1; seed <= 4000; ++seed) {
    BufferMaker maker(seed);
    const std::size_t size = maker.Uniform(0, 9) == 0 ? maker.Uniform(0, 40) : maker.Uniform(0, 6000);
    const Bytes buffer = maker.Make(size);
    RunSetup setup;
    setup.take_slots = maker.Uniform(0, 3) != 0;
    setup.pre_taken = maker.Uniform(0, 3) == 0 ? maker.Byte() : 0;
    setup.rewrite = static_cast<Rewrite>(maker.Uniform(0, 2));
    setup.seed = seed;
    SCOPED_TRACE("seed " + std::to_string(seed) + " size " + std::to_string(size));
    ExpectSameAsReference(buffer, setup);
    if (HasFatalFailure()) return;

    // Count what the buffers brought about, so the test proves they exercise
    // every kind of publication and the traces.
    Bytes copy(buffer);
    RecordingPublisher counter = MakePublisher(copy.data(), setup);
    SyncTraces traces;
    ScanProgramStream(copy.data(), copy.size(), traces, counter);
    for (const Recorded& r : counter.published) ++publications[static_cast<int>(r.kind)];
    for (const SyncTrace& t : traces) candidates += t.count;
  }
  EXPECT_GT(publications[static_cast<int>(TrackKind::Ac3)], 300);
  EXPECT_GT(publications[static_cast<int>(TrackKind::Dts)], 250);
  EXPECT_GT(publications[static_cast<int>(TrackKind::Lpcm)], 1000);
  EXPECT_GT(candidates, 5000u);
}

TEST(ProgramStreamScanEquivalence, RandomBytes) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    BufferMaker maker(seed);
    const Bytes buffer = maker.RandomBytes(maker.Uniform(0, 70000));
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectSameAsReference(buffer, RunSetup{true, 0, Rewrite::TakeBits, seed});
  }
}

// Generated packets around the 16 MiB mark, where trace entries grow to
// 18 characters.
TEST(ProgramStreamScanEquivalence, AroundSixteenMebibytes) {
  constexpr std::size_t kMark = 16u << 20;
  for (unsigned seed = 1; seed <= 3; ++seed) {
    BufferMaker maker(seed);
    Bytes buffer(kMark + 40000);
    const Bytes region = maker.Make(60000);
    std::copy(region.begin(), region.end(), buffer.begin() + (kMark - 20000));
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectSameAsReference(buffer, RunSetup{seed != 2, 0, Rewrite::TakeBits, seed});
  }
}

}  // namespace
}  // namespace tonvika::scan_test
