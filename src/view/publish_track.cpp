#include "analysis/publish_track.h"

#include "analysis/track_slots.h"
#include "codecs/ac3_frame.h"
#include "codecs/dts_frame.h"
#include "codecs/lpcm.h"

namespace tonvika {

SlotPublisher::SlotPublisher(TrackSlots& slots, const LanguageCodes& codes, const SyncTraces& traces,
                             std::function<std::string(const std::string&)> language_name,
                             std::function<void(int, const PublishedTrack&)> published)
    : SlotPublisher(slots, SameCodesForEveryKind(codes), traces, std::move(language_name), std::move(published)) {}

SlotPublisher::SlotPublisher(TrackSlots& slots, TrackLanguageCodes codes, const SyncTraces& traces,
                             std::function<std::string(const std::string&)> language_name,
                             std::function<void(int, const PublishedTrack&)> published)
    : slots_(slots),
      codes_(std::move(codes)),
      traces_(traces),
      language_name_(std::move(language_name)),
      published_(std::move(published)) {}

bool SlotPublisher::IsSlotFree(int slot) const { return !slots_.IsTaken(slot); }

void SlotPublisher::PublishTrack(const TrackPublication& publication) {
  const int n = publication.slot;
  if (n < 0 || n >= kSlotCount || slots_.IsTaken(n)) return;
  TrackHeader header;
  slots_.SetKindText(n, Describe(publication, header));
  const auto bit = static_cast<std::uint8_t>(1u << n);
  slots_.SetListedSlotMask(slots_.ListedSlotMask() | bit);
  if (publication.kind != TrackKind::Lpcm) slots_.SetDetailSlotMask(slots_.DetailSlotMask() | bit);
  if (published_) published_(n, PublishedTrack{publication.kind, SubStreamBase(publication.kind) + n, header});
}

void SlotPublisher::ShowLines(int slot, const FrameDescription& description) {
  slots_.ClearPage(slot);
  for (const std::string& line : description.lines) slots_.AppendLine(slot, line);
}

std::string SlotPublisher::Describe(const TrackPublication& publication, TrackHeader& header) {
  const int n = publication.slot;
  switch (publication.kind) {
    case TrackKind::Ac3: {
      const Ac3Analysis analysis = AnalyseAc3Frame(publication.buffer, publication.frame_offset);
      header = analysis.header;
      ShowLines(n, analysis.description);
      std::string text = "AC-3 " + analysis.description.summary + LanguagePart(publication.kind, n);
      // Read at each publication: a toggle during the run affects later tracks.
      if (slots_.SyncTraceEnabled()) text += traces_[n].text;
      return text + " ";
    }
    case TrackKind::Dts: {
      const DtsAnalysis analysis = AnalyseDtsFrame(publication.dts_header);
      header = analysis.header;
      ShowLines(n, analysis.description);
      return "DTS" + analysis.description.summary + LanguagePart(publication.kind, n);
    }
    case TrackKind::Lpcm: {
      const LpcmAttributes attributes = DecodeLpcmAttributes(publication.lpcm_attribute);
      header = attributes;
      return "PCM " + DescribeLpcm(attributes) + LanguagePart(publication.kind, n);
    }
  }
  return {};
}

std::string SlotPublisher::LanguagePart(TrackKind kind, int slot) const {
  const std::string& code = codes_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(slot)];
  if (code.empty() || code == "none") return {};
  return " [" + (language_name_ ? language_name_(code) : code) + "]";
}

}  // namespace tonvika
