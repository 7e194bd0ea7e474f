#include "cli/json_output.h"

#include "analysis/details_text.h"
#include "analysis/track_slots.h"

namespace tonvika::cli {

namespace {

const char* KindName(TrackKind kind) {
  constexpr const char* kNames[] = {"AC-3", "DTS", "LPCM"};
  return kNames[static_cast<int>(kind)];
}

nlohmann::ordered_json SlotToJson(int n, const RunOutcome& outcome, const TrackSlots& slots,
                                  const LanguageTable& table, DisplayLanguage language) {
  nlohmann::ordered_json slot;
  slot["number"] = n + 1;
  slot["kind_text"] = slots.KindText(n);
  slot["kind"] = outcome.kinds[n] ? nlohmann::ordered_json(KindName(*outcome.kinds[n])) : nullptr;
  const std::string& code = outcome.language_codes[n];
  slot["language_code"] = code;
  const bool named = !code.empty() && code != "none";
  slot["language_name"] = named ? nlohmann::ordered_json(LookupLanguageName(table, code, language)) : nullptr;
  slot["tab_shown"] = slots.TabShown(n);
  slot["detail_lines"] = slots.PageLines(n);
  return slot;
}

}  // namespace

nlohmann::ordered_json FileToJson(const std::string& path, const RunOutcome& outcome,
                                  const TrackSlots& slots, const LanguageTable& table,
                                  DisplayLanguage language, std::string_view eol) {
  nlohmann::ordered_json file;
  file["path"] = path;
  file["changed"] = outcome.changed;
  file["ifo"] = outcome.ifo_path.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(outcome.ifo_path);
  file["slots"] = nlohmann::ordered_json::array();
  for (int n = 0; n < kSlotCount; ++n) {
    file["slots"].push_back(SlotToJson(n, outcome, slots, table, language));
  }
  file["rows"] = nlohmann::ordered_json::array();
  for (const auto& row : slots.Rows()) file["rows"].push_back({{"number", row.number}, {"kind_text", row.kind}});
  file["listed_slot_mask"] = slots.ListedSlotMask();
  file["detail_slot_mask"] = slots.DetailSlotMask();
  file["list_report"] = slots.ListReport();
  file["details_text"] = slots.DetailSlotMask() != 0 ? BuildDetailsText(path, slots, eol) : std::string();
  return file;
}

nlohmann::ordered_json FileErrorToJson(const std::string& path, const std::string& error) {
  return {{"path", path}, {"error", error}};
}

}  // namespace tonvika::cli
