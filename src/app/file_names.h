#pragma once
// File names as bytes. A Linux file name is any bytes but '/' and NUL, and
// names carried over from old Japanese systems are often Shift-JIS; Qt's
// QString turns such bytes into U+FFFD for good. The window keeps the bytes
// it opens, and shows a text for them.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QMimeData;

namespace tonvika {

// What the window shows for a name (or a text holding names): each part
// between '/' and line breaks as it is when it is UTF-8, else read as CP932,
// with U+FFFD for bytes that are not CP932 either.
QString DisplayName(std::string_view bytes);

// The path of the first local file in a text/uri-list, percent-encoded bytes
// decoded as bytes; nullopt when the list names no local file.
std::optional<std::string> FirstLocalFileOfUriList(std::string_view uri_list);
// The same for a drop, read from the raw bytes of its text/uri-list.
std::optional<std::string> FirstDroppedFile(const QMimeData* data);

// The bytes of a path the file dialog chose. Qt lists a folder's names as
// UTF-8 with U+FFFD for the bytes that are not, so a part of the path that
// does not exist as written is looked up among its folder's entries: the one
// entry that Qt shows as that text is the file meant.
std::string FileNameBytes(const QString& chosen);

// A command-line path made absolute, its bytes kept.
std::string AbsolutePath(const std::string& path);

}  // namespace tonvika
