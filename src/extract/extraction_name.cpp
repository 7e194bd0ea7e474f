#include "extract/extraction_name.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "io/ascii.h"

namespace tonvika {

namespace {

// DTS AMODE: front and rear channels of the arrangements a name can say.
constexpr std::array<const char*, 10> kDtsLayouts = {"1_0", "1+1", "2_0", "2_0", "2_0",
                                                     "3_0", "2_1", "3_1", "2_2", "3_2"};

std::string LayoutName(std::string layout) {
  for (char& c : layout) {
    if (c == '/') c = '_';
  }
  return layout + "ch";
}

std::optional<std::string> Ac3Layout(const Ac3Header& header) {
  return LayoutName(std::string(Ac3ChannelMode(header.Get(Ac3Field::kAcmod))));
}

std::optional<std::string> DtsLayout(const DtsHeader& header) {
  const unsigned amode = header.Get(DtsField::kAmode);
  if (amode >= kDtsLayouts.size()) return std::nullopt;
  return LayoutName(kDtsLayouts[amode]);
}

std::optional<std::string> LpcmLayout(const LpcmAttributes& attributes) {
  const int channels = LpcmChannels(attributes);
  if (channels <= 2) return LayoutName(channels == 1 ? "1_0" : "2_0");
  return std::to_string(channels) + "ch";
}

std::optional<std::string> MpegLayout(const MpegAudioHeader& header) {
  const std::optional<int> channels = ValuesOf(header).channels;
  if (!channels) return std::nullopt;
  return LayoutName(*channels == 1 ? "1_0" : "2_0");
}

// The last component of a path, "disc/" and "disc" alike.
std::filesystem::path LastName(std::filesystem::path path) {
  if (path.filename().empty()) path = path.parent_path();
  return path.filename();
}

}  // namespace

std::string ExtractedExtension(StreamKind kind) {
  switch (kind) {
    case StreamKind::Ac3: return ".ac3";
    case StreamKind::Dts: return ".dts";
    case StreamKind::Lpcm: return ".wav";
    case StreamKind::MpegAudio:
    case StreamKind::MpegAudioExtension: return ".mpa";
  }
  return ".bin";
}

std::optional<std::string> LayoutPart(const TrackHeader& header) {
  struct Visitor {
    std::optional<std::string> operator()(const Ac3Header& h) const { return Ac3Layout(h); }
    std::optional<std::string> operator()(const DtsHeader& h) const { return DtsLayout(h); }
    std::optional<std::string> operator()(const LpcmAttributes& a) const { return LpcmLayout(a); }
    std::optional<std::string> operator()(const MpegAudioHeader& h) const { return MpegLayout(h); }
  };
  return std::visit(Visitor{}, header);
}

std::optional<std::string> RatePart(const TrackHeader& header) {
  std::optional<double> kbps = ValuesOf(header).bit_rate_kbps;
  if (const auto* lpcm = std::get_if<LpcmAttributes>(&header)) {
    const std::optional<int> bits = LpcmBitsPerSample(*lpcm);
    const std::optional<int> rate = LpcmSampleRateHz(*lpcm);
    if (bits && rate) kbps = static_cast<double>(*bits) * *rate * LpcmChannels(*lpcm) / 1000.0;
  }
  if (!kbps || *kbps <= 0) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%.0fKbps", *kbps);
  return std::string(text);
}

std::string SafeLanguage(const std::string& code) {
  if (EqualsIgnoringAsciiCase(code, "none")) return {};
  std::string safe;
  for (const char c : code) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter || (c >= '0' && c <= '9') || c == '-') safe += c;
  }
  return safe;
}

std::string DefaultFileName(const NameParts& parts) {
  char id[8];
  std::snprintf(id, sizeof id, "T%02X", static_cast<unsigned>(parts.key) & 0xFFu);
  std::string name = parts.base + " " + id;
  const std::string language = SafeLanguage(parts.language);
  if (!language.empty()) name += " " + language;
  if (parts.header) {
    if (const auto layout = LayoutPart(*parts.header)) name += " " + *layout;
    if (const auto rate = RatePart(*parts.header)) name += " " + *rate;
  }
  if (parts.delay_ms) name += " DELAY " + std::to_string(*parts.delay_ms) + "ms";
  return name + ExtractedExtension(parts.kind);
}

std::string FileBase(const std::string& path) { return LastName(path).stem().string(); }

std::string DiscBase(const std::string& source, SourceKind kind, int title_set, std::optional<int> title) {
  std::filesystem::path path(source);
  if (path.filename().empty()) path = path.parent_path();
  std::string disc;
  if (kind == SourceKind::Image) {
    disc = path.stem().string();
  } else if (EqualsIgnoringAsciiCase(path.filename().string(), "VIDEO_TS")) {
    // A VIDEO_TS folder named itself: the disc is the folder above it.
    disc = LastName(std::filesystem::absolute(path).parent_path()).string();
  } else {
    disc = LastName(std::filesystem::absolute(path).lexically_normal()).string();
  }
  if (disc.empty() || disc == "." || disc == "/") disc = "disc";
  char set[16];
  std::snprintf(set, sizeof set, " VTS_%02d", title_set);
  std::string base = disc + set;
  if (title) base += " title " + std::to_string(*title);
  return base;
}

}  // namespace tonvika
