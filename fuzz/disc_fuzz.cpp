// A DVD image of any content through libdvdread and the title set run: the
// disc's title sets and titles as libdvdread reads its file system and
// information files, then each title set through its longest title as the
// command line reads it (1 MB windows, every frame walked). The image is a
// memfd file reached by its path (fuzz_file.h), as a drive or an image is
// opened: libdvdread 6.1 reads a memory stream only through libdvdcss.
// Every stream the run met is then extracted from the whole title, as
// --extract reads it, into memory. libdvdread is loaded before the first input, so that an instrumented
// build of it (scripts/fuzz_dvdread.sh) counts its coverage from the start.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "analysis/analysis_run.h"
#include "analysis/disc.h"
#include "analysis/short_read.h"
#include "extract/stream_extraction.h"
#include "fuzz_file.h"
#include "io/file_error.h"

namespace {

constexpr int kReadSizeMb = 1;

// What a title set's run may claim: never more bytes than the image holds,
// and no whole source where the read came back short.
void CheckReport(const tonvika::AnalysisReport& report, std::size_t image_size) {
  if (report.bytes_read > image_size || report.bytes_read > (std::size_t{kReadSizeMb} << 20)) std::abort();
  if (tonvika::ReadShort(report.notes) && report.whole_source) std::abort();
}

class CountingOutput final : public tonvika::ByteOutput {
 public:
  void Write(std::span<const std::uint8_t> bytes) override { size_ += bytes.size(); }
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    if (offset + bytes.size() > size_) std::abort();
  }

 private:
  std::uint64_t size_ = 0;
};

// The whole title read and every stream of the report taken out of it.
void Extract(tonvika::VideoObjectSource& source, const tonvika::AnalysisReport& report) {
  const auto reader = source.OpenStream();
  if (!reader) return;
  std::vector<CountingOutput> outputs(report.streams.size());
  std::vector<tonvika::ExtractTarget> targets;
  for (std::size_t i = 0; i < report.streams.size(); ++i) {
    if (report.streams[i].stream_id) targets.push_back({*report.streams[i].stream_id, report.streams[i].kind, &outputs[i]});
  }
  tonvika::ExtractionObserver observer;
  const tonvika::ExtractionRun run = tonvika::ExtractStreams(*reader, targets, observer);
  if (run.bytes_read + run.bytes_skipped > reader->Size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (tonvika::LoadDvdRead() == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& file = tonvika::fuzz::TheFuzzFile();
  file.Fill(data, size);
  std::optional<tonvika::Disc> disc;
  try {
    disc.emplace(file.Path(), tonvika::SourceKind::Image);
  } catch (const tonvika::FileError&) {
    return 0;
  }
  for (const tonvika::DiscTitle& title : disc->Titles()) {
    if (disc->Find(title.title_set) == nullptr) std::abort();
  }
  tonvika::RunObserver observer;
  for (const tonvika::TitleSet& set : disc->TitleSets()) {
    try {
      const auto source = disc->OpenTitleSet(set.number);
      const tonvika::AnalysisReport report =
          tonvika::AnalyseVideoObject(*source, set.paths.vob, tonvika::RunSettings{kReadSizeMb, true}, observer);
      CheckReport(report, size);
      Extract(*source, report);
    } catch (const tonvika::FileError&) {
      // a damaged title set is reported and skipped
    }
  }
  return 0;
}
