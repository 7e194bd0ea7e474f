#include "codecs/ac3_fields.h"

#include <array>
#include <span>
#include <string>

namespace tonvika {

namespace {

enum class Rule {
  kLabelAndList,  // label, then the list's text for the value (label alone if none)
  kOffOn,         // texts[0] for 0, texts[1] for any other value
  kNumber,        // label is a format with one "%d"
};

struct FieldEntry {
  std::string_view key;
  Rule rule;
  std::string_view label;
  std::span<const std::string_view> texts;
};

constexpr std::string_view kCenterMix[] = {"0.707(-3.0dB)", "0.595(-4.5dB)", "0.500(-6.0dB)",
                                           "reserved"};
// Whole decibels and a bare "0": written differently from the center levels.
constexpr std::string_view kSurroundMix[] = {"0.707(-3dB)", "0.500(-6dB)", "0", "reserved"};
constexpr std::string_view kSurroundMode[] = {"not indicated", "Not Dolby Surround encoded",
                                              "Dolby Surround encoded", "reserved"};
constexpr std::string_view kLfeOn[] = {"Off", "On"};
constexpr std::string_view kCompre[] = {"compression control word: Off",
                                        "compression control word: On"};
constexpr std::string_view kLangcode[] = {"Language code exists: Off",
                                          "Language code exists: On"};
constexpr std::string_view kAudprodie[] = {"Audio production information exists: Off",
                                           "Audio production information exists: On"};
constexpr std::string_view kRoomType[] = {"not indicated", "large room,X curve monitor",
                                          "small room,flat monitor", "reserved"};
constexpr std::string_view kCopyright[] = {"Copyright bit: Off", "Copyright bit: On"};
constexpr std::string_view kOrigbs[] = {"Original bit stream: Off", "Original bit stream: On"};
constexpr std::string_view kXbsi1e[] = {"Extra bitstream information #1 exists: Off",
                                        "Extra bitstream information #1 exists: On"};
constexpr std::string_view kDownmixMode[] = {"not indicated", "Lt/Rt downmix preferred",
                                             "Lo/Ro downmix preferred", "reserved"};
// Shared by the four Lt/Rt and Lo/Ro mix levels.
constexpr std::string_view kEightStepMix[] = {"1.414(+3.0dB)", "1.189(+1.5dB)", "1.000(0.0dB)",
                                              "0.841(-1.5dB)", "0.707(-3.0dB)", "0.595(-4.5dB)",
                                              "0.500(-6.0dB)", "0.000(-infdB)"};
constexpr std::string_view kXbsi2e[] = {"Extra bitstream information #2 exists: Off",
                                        "Extra bitstream information #2 exists: On"};
constexpr std::string_view kSurroundExMode[] = {"not indicated", "Not Dolby Surround EX encoded",
                                                "Dolby Surround EX encoded", "reserved"};
constexpr std::string_view kHeadphoneMode[] = {"not indicated", "Not Dolby Headphone encoded",
                                               "Dolby Headphone encoded", "reserved"};
constexpr std::string_view kAdConverter[] = {"A/D Converter Type: Standard",
                                             "A/D Converter Type: HDCD"};

// Compared in this order. "audprodle" and "ltrtsumixlev" are the keys the
// frame analysis passes for audprodie and ltrtsurmixlev.
constexpr std::array kFields = {
    FieldEntry{"cmixlev", Rule::kLabelAndList, "Center Mix Level: ", kCenterMix},
    FieldEntry{"surmixlev", Rule::kLabelAndList, "Surround Mix Level: ", kSurroundMix},
    FieldEntry{"dsurmod", Rule::kLabelAndList, "Dolby Surround Mode: ", kSurroundMode},
    FieldEntry{"lfeon", Rule::kLabelAndList, "Low frequency effects channel on: ", kLfeOn},
    FieldEntry{"dialnorm", Rule::kNumber, "Dialogue normalization: %d", {}},
    FieldEntry{"compre", Rule::kOffOn, "", kCompre},
    FieldEntry{"compr", Rule::kNumber, "Compression gain word: %d", {}},
    FieldEntry{"langcode", Rule::kOffOn, "", kLangcode},
    FieldEntry{"audprodle", Rule::kOffOn, "", kAudprodie},
    FieldEntry{"mixlevel", Rule::kNumber, "Mixing level: %d", {}},
    FieldEntry{"roomtyp", Rule::kLabelAndList, "Room type: ", kRoomType},
    FieldEntry{"copyrightb", Rule::kOffOn, "", kCopyright},
    FieldEntry{"origbs", Rule::kOffOn, "", kOrigbs},
    FieldEntry{"xbsi1e", Rule::kOffOn, "", kXbsi1e},
    FieldEntry{"dmixmod", Rule::kLabelAndList, "Preferred stereo downmix mode: ", kDownmixMode},
    FieldEntry{"ltrtcmixlev", Rule::kLabelAndList, "Lt/Rt center mix level: ", kEightStepMix},
    FieldEntry{"ltrtsumixlev", Rule::kLabelAndList, "Lt/Rt surround mix level: ", kEightStepMix},
    FieldEntry{"lorocmixlev", Rule::kLabelAndList, "Lo/Ro center mix level: ", kEightStepMix},
    FieldEntry{"lorosurmixlev", Rule::kLabelAndList, "Lo/Ro surround mix level: ", kEightStepMix},
    FieldEntry{"xbsi2e", Rule::kOffOn, "", kXbsi2e},
    FieldEntry{"dsurexmod", Rule::kLabelAndList, "Dolby Surround EX Mode: ", kSurroundExMode},
    FieldEntry{"dheadphonmod", Rule::kLabelAndList, "Dolby Headphone Mode: ", kHeadphoneMode},
    FieldEntry{"adconvtyp", Rule::kOffOn, "", kAdConverter},
};

// Off/On entries need both texts; numbers carry their format in the label.
constexpr bool EntriesAreWellFormed() {
  for (const auto& entry : kFields) {
    if (entry.rule == Rule::kOffOn && entry.texts.size() != 2) return false;
    if (entry.rule == Rule::kNumber && entry.label.find("%d") == std::string_view::npos) {
      return false;
    }
  }
  return true;
}
static_assert(EntriesAreWellFormed());

std::string LabelAndList(const FieldEntry& entry, std::uint8_t value) {
  std::string line(entry.label);
  if (value < entry.texts.size()) line += entry.texts[value];
  return line;
}

std::string OffOn(const FieldEntry& entry, std::uint8_t value) {
  return std::string(entry.texts[value == 0 ? 0 : 1]);
}

// The format's "%d" replaced by the value in unsigned decimal.
std::string Number(const FieldEntry& entry, std::uint8_t value) {
  constexpr std::string_view kPlaceholder = "%d";
  std::string line(entry.label);
  const auto at = line.find(kPlaceholder);
  if (at != std::string::npos) line.replace(at, kPlaceholder.size(), std::to_string(value));
  return line;
}

std::string Apply(const FieldEntry& entry, std::uint8_t value) {
  switch (entry.rule) {
    case Rule::kLabelAndList:
      return LabelAndList(entry, value);
    case Rule::kOffOn:
      return OffOn(entry, value);
    case Rule::kNumber:
      return Number(entry, value);
  }
  return {};
}

}  // namespace

std::string DescribeAc3Field(std::string_view key, std::uint8_t value) {
  for (const auto& entry : kFields) {
    if (entry.key == key) return Apply(entry, value);
  }
  return {};
}

}  // namespace tonvika
