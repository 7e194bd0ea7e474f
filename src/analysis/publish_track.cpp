#include "analysis/publish_track.h"

#include "analysis/track_slots.h"
#include "codecs/ac3_frame.h"
#include "codecs/dts_frame.h"
#include "codecs/lpcm.h"

namespace tonvika {

SlotPublisher::SlotPublisher(TrackSlots& slots, const LanguageCodes& codes, const SyncTraces& traces,
                             std::function<std::string(const std::string&)> language_name,
                             std::function<void(int, TrackKind)> published)
    : slots_(slots),
      codes_(codes),
      traces_(traces),
      language_name_(std::move(language_name)),
      published_(std::move(published)) {}

bool SlotPublisher::IsSlotFree(int slot) const { return !slots_.IsTaken(slot); }

void SlotPublisher::PublishTrack(const TrackPublication& publication) {
  const int n = publication.slot;
  if (n < 0 || n >= kSlotCount || slots_.IsTaken(n)) return;
  slots_.SetKindText(n, KindText(publication));
  const auto bit = static_cast<std::uint8_t>(1u << n);
  slots_.SetListedSlotMask(slots_.ListedSlotMask() | bit);
  if (publication.kind != TrackKind::Lpcm) slots_.SetDetailSlotMask(slots_.DetailSlotMask() | bit);
  if (published_) published_(n, publication.kind);
}

std::string SlotPublisher::KindText(const TrackPublication& publication) const {
  const int n = publication.slot;
  const auto slot = static_cast<std::uint8_t>(n);
  std::string summary;
  switch (publication.kind) {
    case TrackKind::Ac3: {
      AnalyseAc3Frame(publication.buffer, publication.frame_offset, slot, slots_, summary);
      std::string text = "AC-3 " + summary + LanguagePart(n);
      // Read at each publication: a toggle during the run affects later tracks.
      if (slots_.SyncTraceEnabled()) text += traces_[n].text;
      return text + " ";
    }
    case TrackKind::Dts:
      AnalyseDtsFrame(publication.dts_header, slot, slots_, summary);
      return "DTS" + summary + LanguagePart(n);
    case TrackKind::Lpcm:
      return "PCM " + DescribeLpcm(publication.lpcm_attribute) + LanguagePart(n);
  }
  return {};
}

std::string SlotPublisher::LanguagePart(int slot) const {
  const std::string& code = codes_[slot];
  if (code.empty() || code == "none") return {};
  return " [" + (language_name_ ? language_name_(code) : code) + "]";
}

}  // namespace tonvika
