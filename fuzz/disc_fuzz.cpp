// A DVD image of any content through libdvdread and the title set run: the
// disc's title sets and titles as libdvdread reads its file system and
// information files, then each title set through its longest title as the
// command line reads it (1 MB windows, every frame walked). The image is a
// memfd file reached by its path (fuzz_file.h), as a drive or an image is
// opened: libdvdread 6.1 reads a memory stream only through libdvdcss.
// libdvdread is loaded before the first input, so that an instrumented
// build of it (scripts/fuzz_dvdread.sh) counts its coverage from the start.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "analysis/analysis_run.h"
#include "analysis/disc.h"
#include "analysis/short_read.h"
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
      CheckReport(tonvika::AnalyseVideoObject(*source, set.paths.vob, tonvika::RunSettings{kReadSizeMb, true}, observer),
                  size);
    } catch (const tonvika::FileError&) {
      // a damaged title set is reported and skipped
    }
  }
  return 0;
}
