// The language table parser and lookups over any file content.
#include <cstdint>
#include <string_view>

#include "lang/language_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const tonvika::LanguageTable table = tonvika::ParseLanguageTable(content);
  for (const char* code : {"ja", "en", "", "\"", " "}) {
    tonvika::LookupLanguageName(table, code, tonvika::DisplayLanguage::Japanese);
    tonvika::LookupLanguageName(table, code, tonvika::DisplayLanguage::English);
  }
  tonvika::SplitLanguageLine(content);
  return 0;
}
