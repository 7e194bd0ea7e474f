#pragma once
// The window's own texts (UTF-8), and the one file error text. The Japanese
// texts are the translation sources (context "tonvika::TForm1").

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>
#include <string>

#include "app/file_names.h"

namespace tonvika {

inline constexpr const char* kTranslationContext = "tonvika::TForm1";
inline constexpr const char* kVersion = TONVIKA_VERSION;
inline constexpr const char* kLicense = "GPL-3.0-or-later";
inline constexpr const char* kCodeCsvMissing =
    QT_TRANSLATE_NOOP("tonvika::TForm1", "code.csvが見つかりません\n言語識別は略号になります");
inline constexpr const char* kNoTracksNotice = QT_TRANSLATE_NOOP("tonvika::TForm1", "AC3/DTSトラックはありません");
inline constexpr const char* kCreditLine = QT_TRANSLATE_NOOP("tonvika::TForm1", "Tonvika プロジェクト");
inline constexpr const char* kHomePage = "tonvika.example.org";
// The home page's domain reversed: the desktop entry, icon and metainfo are named so.
inline constexpr const char* kApplicationId = "org.example.tonvika";
inline constexpr const char* kOpenDialogFilters[] = {QT_TRANSLATE_NOOP("tonvika::TForm1", "VOBファイル(*.vob)"),
                                                     QT_TRANSLATE_NOOP("tonvika::TForm1", "ac3,dtsファイル(*.ac3 *.dts)")};
// The run's progress texts in status panel 0, translated as they are shown.
inline constexpr const char* kStatusTexts[] = {QT_TRANSLATE_NOOP("tonvika::TForm1", "処理中"),
                                               QT_TRANSLATE_NOOP("tonvika::TForm1", "終わり")};
// The browse dialog's third entry, after the two above (a translation source).
inline constexpr const char* kDvdImageFilter = QT_TRANSLATE_NOOP("tonvika::TForm1", "DVDイメージ(*.iso *.img)");

// A text of the window in the language the program speaks now.
inline QString WindowText(const char* source) { return QCoreApplication::translate(kTranslationContext, source); }

// Whether the window's texts are shown in English: its translation is installed.
inline bool WindowSpeaksEnglish() { return WindowText(kStatusTexts[1]) != QString::fromUtf8(kStatusTexts[1]); }

// "ファイル %s は開けません" with the path as the window shows it in place of %s.
inline QString FileErrorText(const std::string& path) {
  return QCoreApplication::translate("tonvika::TForm1", "ファイル %1 は開けません").arg(DisplayName(path));
}

}  // namespace tonvika
