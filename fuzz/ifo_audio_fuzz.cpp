// The IFO audio language reader over any file content, and the derivation of
// the IFO path over any path text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dvd/ifo_audio.h"
#include "fuzz_file.h"
#include "lang/text_encoding.h"

namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& file = tonvika::fuzz::TheFuzzFile();
  file.Fill(data, size);
  const tonvika::LanguageCodes codes = tonvika::ReadAudioLanguageCodes(file.Path());
  // Every code is "none" or at most two code bytes turned into UTF-8.
  for (const std::string& code : codes) {
    if (!tonvika::IsValidUtf8(code)) std::abort();
  }

  // The derived name always ends in "0.ifo" or "S.ifo" after the folder.
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string derived = tonvika::DeriveIfoPath(path);
  if (!EndsWith(derived, "0.ifo") && !EndsWith(derived, "S.ifo")) std::abort();
  return 0;
}
