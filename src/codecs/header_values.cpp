#include "codecs/header_values.h"

#include "codecs/dts_frame.h"

namespace tonvika {

namespace {

HeaderValues Ac3Values(const Ac3Header& h) {
  HeaderValues v;
  for (std::size_t i = 0; i < kAc3FieldCount; ++i) {
    const auto field = static_cast<Ac3Field>(i);
    if (h.Has(field)) v.fields.push_back({Ac3FieldName(field), h.Get(field)});
  }
  // Past bsid 8 the fields after the sync word mean something else.
  if (!h.Decoded()) return v;
  const int acmod = h.Get(Ac3Field::kAcmod);
  const bool lfe = h.Get(Ac3Field::kLfeon) == 1;
  if (const auto kbps = Ac3BitRateKbps(h.Get(Ac3Field::kFrmsizecod))) v.bit_rate_kbps = *kbps;
  v.sample_rate_hz = Ac3SampleRateHz(h.Get(Ac3Field::kFscod));
  v.channels = Ac3FullBandwidthChannels(acmod) + (lfe ? 1 : 0);
  v.lfe = lfe;
  v.layout = std::string(Ac3ChannelMode(acmod));
  return v;
}

HeaderValues DtsValues(const DtsHeader& h) {
  HeaderValues v;
  for (std::size_t i = 0; i < kDtsFieldCount; ++i) {
    const auto field = static_cast<DtsField>(i);
    if (h.Has(field)) v.fields.push_back({DtsFieldName(field), h.Get(field)});
  }
  const bool lfe = DtsHasLfe(h.Get(DtsField::kLff));
  v.bit_rate_kbps = DtsBitRateKbps(h.Get(DtsField::kRate));
  v.sample_rate_hz = DtsSampleRateHz(h.Get(DtsField::kSfreq));
  if (const auto channels = DtsChannels(h.Get(DtsField::kAmode))) v.channels = *channels + (lfe ? 1 : 0);
  v.lfe = lfe;
  v.bits_per_sample = DtsBitsPerSample(h.Get(DtsField::kPcmr));
  v.layout = std::string(DtsLayoutText(h.Get(DtsField::kAmode)));
  return v;
}

HeaderValues LpcmValues(const LpcmAttributes& a) {
  HeaderValues v;
  v.fields = {{"quantization", a.quantization},
              {"sampling_frequency", a.sampling_frequency},
              {"channels", a.channels}};
  v.sample_rate_hz = LpcmSampleRateHz(a);
  v.channels = LpcmChannels(a);
  v.lfe = false;
  v.bits_per_sample = LpcmBitsPerSample(a);
  v.layout = LpcmChannelText(a).substr(1);  // without its leading blank
  // Not a field of its own: LPCM runs at rate x word length x channels.
  if (v.sample_rate_hz && v.bits_per_sample) {
    v.bit_rate_kbps = *v.sample_rate_hz / 1000.0 * *v.bits_per_sample * *v.channels;
  }
  return v;
}

HeaderValues MpegAudioValues(const MpegAudioHeader& h) {
  HeaderValues v;
  v.fields = {{"ID", h.ID},
              {"layer", h.layer},
              {"protection_bit", h.protection_bit},
              {"bitrate_index", h.bitrate_index},
              {"sampling_frequency", h.sampling_frequency},
              {"padding_bit", h.padding_bit},
              {"private_bit", h.private_bit},
              {"mode", h.mode},
              {"mode_extension", h.mode_extension},
              {"copyright", h.copyright},
              {"original_copy", h.original_copy},
              {"emphasis", h.emphasis}};
  if (const auto kbps = MpegAudioBitRateKbps(h)) v.bit_rate_kbps = *kbps;
  v.sample_rate_hz = MpegAudioSampleRateHz(h);
  v.channels = MpegAudioChannels(h);
  v.lfe = false;
  v.layout = std::string(MpegAudioModeName(h.mode));
  v.version = MpegAudioVersion(h);
  v.layer = MpegAudioLayer(h);
  return v;
}

}  // namespace

HeaderValues ValuesOf(const TrackHeader& header) {
  if (const auto* ac3 = std::get_if<Ac3Header>(&header)) return Ac3Values(*ac3);
  if (const auto* dts = std::get_if<DtsHeader>(&header)) return DtsValues(*dts);
  if (const auto* lpcm = std::get_if<LpcmAttributes>(&header)) return LpcmValues(*lpcm);
  return MpegAudioValues(std::get<MpegAudioHeader>(header));
}

}  // namespace tonvika
