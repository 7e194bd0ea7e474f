#include "analysis/list_publisher.h"

#include "codecs/ac3_frame.h"
#include "codecs/dts_frame.h"
#include "codecs/lpcm.h"

namespace tonvika {

ListPublisher::ListPublisher(AnalysisReport& report, TrackLanguageCodes codes, const SyncTraces& traces,
                             std::function<void(int)> published)
    : report_(report), codes_(std::move(codes)), traces_(traces), published_(std::move(published)) {}

bool ListPublisher::IsSlotFree(int slot) const {
  return slot >= 0 && slot < kSlotCount && !report_.tracks[static_cast<std::size_t>(slot)];
}

void ListPublisher::PublishTrack(const TrackPublication& publication) {
  const int n = publication.slot;
  if (!IsSlotFree(n)) return;
  const auto slot = static_cast<std::size_t>(n);
  report_.tracks[slot] = DescribePublication(publication, traces_);
  report_.language_codes[slot] = codes_[static_cast<std::size_t>(publication.kind)][slot];
  if (published_) published_(n);
}

PublishedTrack DescribePublication(const TrackPublication& publication, const SyncTraces& traces) {
  const int n = publication.slot;
  PublishedTrack track{publication.kind, SubStreamBase(publication.kind) + n, {}, {}, {}};
  switch (publication.kind) {
    case TrackKind::Ac3: {
      const Ac3Analysis analysis = AnalyseAc3Frame(publication.buffer, publication.frame_offset);
      track.header = analysis.header;
      track.description = analysis.description;
      track.sync_trace = traces[static_cast<std::size_t>(n)].text;
      break;
    }
    case TrackKind::Dts: {
      const DtsAnalysis analysis = AnalyseDtsFrame(publication.dts_header);
      track.header = analysis.header;
      track.description = analysis.description;
      break;
    }
    case TrackKind::Lpcm: {
      const LpcmAttributes attributes = DecodeLpcmAttributes(publication.lpcm_attribute);
      track.header = attributes;
      track.description.summary = DescribeLpcm(attributes);
      break;
    }
  }
  return track;
}

}  // namespace tonvika
