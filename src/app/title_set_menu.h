#pragma once
// The captions of the "タイトルセット" menu.

#include <QString>
#include <optional>

namespace tonvika {

// "VTS_02 (1:23:45)": the title set and its longest title (hours, minutes
// and whole seconds), marked when it holds the main feature; "VTS_02" alone
// when the length is not known. For a title set no title plays from.
QString TitleSetCaption(int number, const std::optional<double>& longest_title_s, bool main_feature);

// "VTS_01 タイトル 2 (0:01:00)": a title under its title set, with its
// length, marked when it is the main feature.
QString TitleCaption(int title_set, int title, const std::optional<double>& seconds, bool main_feature);

// "VTS_02 ⚠ 読めません": an entry of a title set found damaged (its tables
// unreadable, its VOBs missing or read short).
QString DamagedCaption(const QString& caption);

}  // namespace tonvika
