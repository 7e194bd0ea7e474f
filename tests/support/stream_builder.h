#pragma once
// Builds small program streams and IFO files for tests.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/scratch_dir.h"

namespace tonvika::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

// 00 00 01 BD, length, flags F, 0x80, H = 5, a time stamp, the sub-stream
// number, then `rest` (the sub-stream header and payload).
inline Bytes PrivateStream1Packet(std::uint8_t substream, const Bytes& rest, std::uint8_t flags = 0x81) {
  const Bytes pts = {0x21, 0x00, 0x03, 0x00, 0x05};
  const std::size_t length = 3 + pts.size() + 1 + rest.size();
  Bytes packet;
  packet.reserve(9 + pts.size() + 1 + rest.size());
  for (const std::uint8_t byte : {std::uint8_t{0x00}, std::uint8_t{0x00}, std::uint8_t{0x01}, std::uint8_t{0xBD},
                                  static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF),
                                  flags, std::uint8_t{0x80}, static_cast<std::uint8_t>(pts.size())}) {
    packet.push_back(byte);
  }
  Append(packet, pts);
  packet.push_back(substream);
  Append(packet, rest);
  return packet;
}

// The head of an AC-3 frame: 448 kb/s 48 kHz 3/2 with LFE, bsid 8.
inline const Bytes kAc3Frame51 = {0x0B, 0x77, 0x12, 0x34, 0x1E, 0x40, 0xE1, 0xD8, 0x40};

// An AC-3 payload with `frames` frame heads, 40 bytes apart.
inline Bytes Ac3Payload(int frames, const Bytes& head = kAc3Frame51) {
  Bytes rest = {0x01, 0x00, 0x01};  // frame count, first access unit pointer
  for (int i = 0; i < frames; ++i) {
    Bytes frame = head;
    frame.resize(40, 0x00);
    Append(rest, frame);
  }
  return rest;
}

// The eleven DTS header bytes of a 768 kb/s 5.1 core frame.
inline const Bytes kDtsHeader51 = {0xFC, 0x3C, 0x3E, 0xD2, 0x75, 0xE0, 0x0A, 0x39, 0x80, 0x00, 0x00};

inline Bytes DtsPayload(const Bytes& header = kDtsHeader51) {
  Bytes rest = {0x01, 0x00, 0x01, 0x7F, 0xFE, 0x80, 0x01};
  Append(rest, header);
  rest.resize(rest.size() + 16, 0x00);
  return rest;
}

// Number of frames, access unit pointer, emphasis byte, attribute, range.
inline Bytes LpcmPayload(std::uint8_t attribute) {
  Bytes rest = {0x01, 0x00, 0x04, 0x00, attribute, 0x80};
  rest.resize(rest.size() + 32, 0x00);
  return rest;
}

// An IFO file of 1024 bytes with the given language codes (empty: none).
inline Bytes IfoWithLanguages(const std::array<std::string, 8>& codes) {
  Bytes ifo(1024, 0x00);
  for (std::size_t k = 0; k < codes.size(); ++k) {
    if (codes[k].empty()) continue;
    const std::size_t entry = 516 + 8 * k;
    ifo[entry] = 0x04;
    for (std::size_t i = 0; i < codes[k].size() && i < 2; ++i) {
      ifo[entry + 2 + i] = static_cast<std::uint8_t>(codes[k][i]);
    }
  }
  return ifo;
}

}  // namespace tonvika::testing
