#include "cli/cli_host.h"

namespace tonvika::cli {

CliHost::CliHost(std::string path, int read_size_mb, DisplayLanguage language,
                 const LanguageTable& table, bool sync_trace)
    : path_(std::move(path)), read_size_mb_(read_size_mb), language_(language), table_(table) {
  slots_.SetSyncTraceEnabled(sync_trace);
}

void CliHost::SetStatus(int panel, const std::string& text) { status_.at(panel) = text; }

}  // namespace tonvika::cli
