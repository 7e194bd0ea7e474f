#include "app/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <QMimeData>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <vector>

#include "io/ascii.h"
#include "lang/text_encoding.h"

namespace tonvika {

namespace {

constexpr std::string_view kFileScheme = "file:";
constexpr std::string_view kLocalHost = "localhost";

bool IsPartEnd(char c) { return c == '/' || c == '\r' || c == '\n'; }

std::string ShownPart(std::string_view part) {
  return IsValidUtf8(part) ? std::string(part) : Cp932ToUtf8(part);
}

// "file:///p", "file://localhost/p" and "file:/p" name the local file /p.
std::optional<std::string> LocalPathOfUri(std::string_view uri) {
  if (!StartsWithIgnoringAsciiCase(uri, kFileScheme)) return std::nullopt;
  std::string_view rest = uri.substr(kFileScheme.size());
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != kLocalHost) return std::nullopt;  // another machine's file
    rest.remove_prefix(slash);
  }
  rest = rest.substr(0, rest.find_first_of("?#"));
  if (!rest.starts_with('/')) return std::nullopt;
  const QByteArray path = QByteArray::fromPercentEncoding(QByteArray(rest.data(), qsizetype(rest.size())));
  if (path.contains('\0')) return std::nullopt;
  return path.toStdString();
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

// The entries of `folder` that Qt shows as `shown`.
std::vector<std::string> EntriesShownAs(const std::string& folder, const QString& shown) {
  std::vector<std::string> found;
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "/" : folder.c_str()));
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir.get())) {
    const QByteArray name(entry->d_name);
    if (QFile::decodeName(name) == shown) found.push_back(name.toStdString());
  }
  return found;
}

}  // namespace

QString DisplayName(std::string_view bytes) {
  std::string shown;
  shown.reserve(bytes.size());
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = start;
    while (end < bytes.size() && !IsPartEnd(bytes[end])) ++end;
    shown += ShownPart(bytes.substr(start, end - start));
    if (end < bytes.size()) shown += bytes[end];
    start = end + 1;
  }
  return QString::fromStdString(shown);
}

std::optional<std::string> FirstLocalFileOfUriList(std::string_view uri_list) {
  while (!uri_list.empty()) {
    const std::size_t end = uri_list.find('\n');
    std::string_view line = uri_list.substr(0, end);
    uri_list = end == std::string_view::npos ? std::string_view() : uri_list.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.starts_with('#')) continue;  // comments, as the list's format allows
    if (auto path = LocalPathOfUri(line)) return path;
  }
  return std::nullopt;
}

std::optional<std::string> FirstDroppedFile(const QMimeData* data) {
  if (data == nullptr) return std::nullopt;
  const QByteArray list = data->data(QStringLiteral("text/uri-list"));
  return FirstLocalFileOfUriList(std::string_view(list.constData(), std::size_t(list.size())));
}

std::string FileNameBytes(const QString& chosen) {
  const std::string written = QFile::encodeName(chosen).toStdString();
  if (!chosen.contains(QChar::ReplacementCharacter) || Exists(written)) return written;
  const QStringList parts = chosen.split(u'/');
  std::string path = QFile::encodeName(parts.constFirst()).toStdString();
  for (qsizetype i = 1; i < parts.size(); ++i) {
    std::string next = path + '/' + QFile::encodeName(parts[i]).toStdString();
    if (parts[i].contains(QChar::ReplacementCharacter) && !Exists(next)) {
      const std::vector<std::string> entries = EntriesShownAs(path, parts[i]);
      // Two names that Qt shows alike cannot be told apart: the written name
      // stays, and opening it reports the file.
      if (entries.size() == 1) next = path + '/' + entries.front();
    }
    path = std::move(next);
  }
  return path;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace tonvika
