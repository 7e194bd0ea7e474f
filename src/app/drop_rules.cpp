#include "app/drop_rules.h"

#include <algorithm>
#include <string_view>

#include "view/window_run.h"
#include "io/disc_source.h"

namespace tonvika {

namespace {
constexpr std::string_view kDropExtensions[] = {".vob", ".ac3", ".dts"};
}

bool IsDropAccepted(const std::string& path, bool allow_any) {
  if (allow_any || RecogniseSource(path) != SourceKind::File) return true;
  const std::string extension = FileExtension(path);  // lower case, dot included
  return std::ranges::find(kDropExtensions, extension) != std::end(kDropExtensions);
}

}  // namespace tonvika
