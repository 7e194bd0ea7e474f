#pragma once
// Builds DTS core header bytes from field values with a plain sequential bit
// writer, so tests can state fields instead of hand-made bytes. It knows
// nothing of the analysis's own field offsets.

#include <cassert>
#include <cstdint>

#include "codecs/dts_frame.h"

namespace tonvika::testing {

// Field values of frame bytes 4 to 14. The defaults are a plain 5.1 frame:
// 768 kbit/s, 48 kHz, L,C,R,SL,SR with LFE, 24-bit source, no CRC.
struct DtsFields {
  unsigned ftype = 1;
  unsigned short_count = 31;
  unsigned cpf = 0;
  unsigned nblks = 15;
  unsigned fsize = 1005;
  unsigned amode = 9;
  unsigned sfreq = 13;
  unsigned rate = 15;
  unsigned mix = 0;
  unsigned dynf = 0;
  unsigned timef = 0;
  unsigned auxf = 0;
  unsigned hdcd = 0;
  unsigned ext_audio_id = 0;
  unsigned ext_audio = 0;
  unsigned aspf = 1;
  unsigned lff = 1;
  unsigned hflag = 0;
  unsigned crc = 0;  // written only when cpf is 1
  unsigned filts = 0;
  unsigned vernum = 7;
  unsigned chist = 0;
  unsigned pcmr = 6;
  unsigned sumf = 0;
  unsigned sums = 0;
  unsigned dialnorm = 0;
};

class BitWriter {
 public:
  explicit BitWriter(DtsHeaderBytes& bytes) : bytes_(bytes) {}

  void Put(unsigned value, int width) {
    assert(width == 32 || value < (1u << width));
    for (int i = width - 1; i >= 0; --i) {
      const int byte = position_ / 8;
      const int shift = 7 - position_ % 8;
      bytes_[byte] = static_cast<std::uint8_t>((bytes_[byte] & ~(1u << shift)) |
                                               (((value >> i) & 1u) << shift));
      ++position_;
    }
  }

  int Position() const { return position_; }

 private:
  DtsHeaderBytes& bytes_;
  int position_ = 0;
};

// Writes the fields in stream order over `filler`, which keeps any bytes the
// fields do not reach (frame bytes 13 and 14 when there is no CRC).
inline DtsHeaderBytes PackDtsHeader(const DtsFields& f, DtsHeaderBytes filler = {}) {
  DtsHeaderBytes bytes = filler;
  BitWriter w(bytes);
  w.Put(f.ftype, 1);
  w.Put(f.short_count, 5);
  w.Put(f.cpf, 1);
  w.Put(f.nblks, 7);
  w.Put(f.fsize, 14);
  w.Put(f.amode, 6);
  w.Put(f.sfreq, 4);
  w.Put(f.rate, 5);
  w.Put(f.mix, 1);
  w.Put(f.dynf, 1);
  w.Put(f.timef, 1);
  w.Put(f.auxf, 1);
  w.Put(f.hdcd, 1);
  w.Put(f.ext_audio_id, 3);
  w.Put(f.ext_audio, 1);
  w.Put(f.aspf, 1);
  w.Put(f.lff, 2);
  w.Put(f.hflag, 1);
  if (f.cpf == 1) w.Put(f.crc, 16);
  w.Put(f.filts, 1);
  w.Put(f.vernum, 4);
  w.Put(f.chist, 2);
  w.Put(f.pcmr, 3);
  w.Put(f.sumf, 1);
  w.Put(f.sums, 1);
  w.Put(f.dialnorm, 4);
  assert(w.Position() == (f.cpf == 1 ? 88 : 72));
  return bytes;
}

}  // namespace tonvika::testing
