#include "analysis/disc.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "dvd/ifo_bytes.h"
#include "dvd/ifo_tables.h"
#include "dvd/title_cells.h"
#include "io/file_error.h"

namespace tonvika {

namespace {

constexpr int kMaxTitleSets = 99;
constexpr const char* kNoVideoTs = "no VIDEO_TS folder in it";
constexpr const char* kNoVideoManager =
    "no DVD-Video file system (VIDEO_TS.IFO cannot be read, nor its backup)";
constexpr const char* kNoTitleSets = "the disc declares no title set";
constexpr const char* kTablesUnreadable = "cannot be read, nor its backup";
constexpr const char* kImageFolder = ":/VIDEO_TS/";

std::string InFolder(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

std::string TitleLabel(const TitleSet& set, std::optional<int> title) {
  if (!title) return set.paths.vob;
  return set.paths.vob + " (title " + std::to_string(*title) + ")";
}

Disc::Disc(const std::string& source, SourceKind kind) : source_(source), kind_(kind) {
  std::string opened = source_;
  if (kind_ == SourceKind::Folder) {
    // libdvdread finds a VIDEO_TS folder inside the named one only when it
    // is spelt VIDEO_TS or video_ts; named directly it reads any spelling.
    const auto folder = FindVideoTsFolder(source_);
    if (!folder) throw FileError(source_, kNoVideoTs);
    video_ts_ = opened = *folder;
  }
  try {
    reader_ = std::make_unique<DvdReader>(opened);
  } catch (const FileError& e) {
    throw FileError(source_, e.reason());
  }
  ReadTitleSets();
}

bool Disc::TablesFit(int title_set) const {
  for (const dvd_read_domain_t domain : {DVD_READ_INFO_FILE, DVD_READ_INFO_BACKUP_FILE}) {
    const DvdFile file = reader_->OpenFile(title_set, domain);
    if (!file) continue;
    const auto bytes = ReadDvdFileBytes(*file, kMaxInformationFileSize);
    if (!bytes || !IsInformationFile(*bytes, title_set)) continue;  // libdvdread passes it over too
    return TablesSafeToRead(*bytes, title_set);
  }
  return false;
}

IfoHandle Disc::OpenTables(int title_set) const { return TablesFit(title_set) ? reader_->OpenIfo(title_set) : IfoHandle(); }

IfoHandle Disc::OpenManagerTables() const {
  try {
    return OpenTables(0);
  } catch (const FileError& e) {
    throw FileError(source_, e.what());  // VIDEO_TS.IFO is there, but no regular file
  }
}

void Disc::ReadTitleSets() {
  const IfoHandle vmg = OpenManagerTables();
  if (!vmg || vmg->vmgi_mat == nullptr) throw FileError(source_, kNoVideoManager);
  const int count = std::min<int>(vmg->vmgi_mat->vmg_nr_of_title_sets, kMaxTitleSets);
  if (count < 1) throw FileError(source_, kNoTitleSets);

  std::vector<const ifo_handle_t*> views;
  for (int n = 1; n <= count; ++n) {
    IfoHandle tables;
    std::optional<FileError> error;
    try {
      tables = OpenTables(n);
    } catch (const FileError& e) {
      error = e;  // the title set alone cannot be read
    }
    views.push_back(tables.get());
    tables_.push_back(std::move(tables));
    table_errors_.push_back(std::move(error));
  }
  titles_ = ReadDiscTitles(*vmg, views);
  const auto longest = LongestTitles(titles_, count);
  main_feature_ = MainFeatureTitleSet(longest);
  for (int n = 1; n <= count; ++n) {
    title_sets_.push_back(TitleSet{n, longest[n - 1], n == main_feature_, views[n - 1] != nullptr, PathsOf(n),
                                   LongestTitleOf(titles_, n)});
  }
}

TitleSetPaths Disc::PathsOf(int number) const {
  const std::string vob = DiscFileName(number, 1, "VOB");
  const std::string ifo = DiscFileName(number, 0, "IFO");
  const std::string backup = DiscFileName(number, 0, "BUP");
  if (kind_ != SourceKind::Folder) {
    const std::string folder = source_ + kImageFolder;
    return {folder + vob, folder + ifo, folder + backup};
  }
  // The names as they are on disk, in whatever letter case.
  const auto on_disk = [this](const std::string& name) {
    return FindEntryIgnoringCase(video_ts_, name).value_or(InFolder(video_ts_, name));
  };
  return {on_disk(vob), on_disk(ifo), on_disk(backup)};
}

bool Disc::MainFeatureByLength() const {
  return std::any_of(title_sets_.begin(), title_sets_.end(), [](const TitleSet& set) { return set.longest_title_s.has_value(); });
}

const TitleSet* Disc::Find(int number) const {
  if (number < 1 || number > static_cast<int>(title_sets_.size())) return nullptr;
  return &title_sets_[number - 1];
}

const DiscTitle* Disc::FindTitle(int number) const {
  const auto found = std::find_if(titles_.begin(), titles_.end(), [number](const DiscTitle& t) { return t.number == number; });
  return found == titles_.end() ? nullptr : &*found;
}

std::unique_ptr<VideoObjectSource> Disc::OpenReading(int title_set, TitleReading reading) const {
  const TitleSet* set = Find(title_set);
  if (set == nullptr) throw FileError(source_, "no title set " + std::to_string(title_set));
  if (!set->tables_readable) {
    throw table_errors_[static_cast<std::size_t>(title_set - 1)].value_or(FileError(set->paths.ifo, kTablesUnreadable));
  }
  if (kind_ == SourceKind::Folder && !FindEntryIgnoringCase(video_ts_, DiscFileName(title_set, 1, "VOB"))) {
    throw FileError(set->paths.vob, std::strerror(ENOENT));
  }
  return std::make_unique<TitleSetSource>(*reader_, title_set, set->paths, std::move(reading));
}

std::unique_ptr<VideoObjectSource> Disc::OpenTitle(int number) const {
  const DiscTitle* title = FindTitle(number);
  if (title == nullptr) throw FileError(source_, "no title " + std::to_string(number));
  TitleReading reading;
  if (const ifo_handle_t* tables = tables_[static_cast<std::size_t>(title->title_set - 1)].get()) {
    reading.cells = TitleCells(*tables, title->vts_ttn);
  }
  if (reading.cells.empty()) {
    reading.as_stored_reason = "the title set's tables give title " + std::to_string(number) + " no cells";
  } else {
    reading.title_chain = title->program_chain;
  }
  return OpenReading(title->title_set, std::move(reading));
}

std::unique_ptr<VideoObjectSource> Disc::OpenTitleSet(int number) const {
  const TitleSet* set = Find(number);
  if (set != nullptr && set->longest_title) return OpenTitle(*set->longest_title);
  return OpenReading(number, TitleReading{{}, 1, "the disc's title table names no title of this title set"});
}

}  // namespace tonvika
