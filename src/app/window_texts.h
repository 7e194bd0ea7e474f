#pragma once
// The window's own texts (UTF-8), and the one file error text.

#include <QCoreApplication>
#include <QString>
#include <string>

namespace tonvika {

inline constexpr const char* kCodeCsvMissing = "code.csvが見つかりません\n言語識別は略号になります";
inline constexpr const char* kNoTracksNotice = "AC3/DTSトラックはありません";
inline constexpr const char* kCreditLine = "Tonvika プロジェクト";
inline constexpr const char* kHomePage = "tonvika.example.org";
inline constexpr const char* kOpenDialogFilters[] = {"VOBファイル(*.vob)", "ac3,dtsファイル(*.ac3 *.dts)"};
// The browse dialog's third entry, after the two above (a translation source).
inline constexpr const char* kDvdImageFilter = QT_TRANSLATE_NOOP("tonvika::TForm1", "DVDイメージ(*.iso *.img)");

// "ファイル %s は開けません" with the path in place of %s.
inline QString FileErrorText(const std::string& path) {
  return QString::fromUtf8("ファイル %1 は開けません").arg(QString::fromStdString(path));
}

}  // namespace tonvika
