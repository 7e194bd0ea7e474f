#pragma once
// The captions of the "タイトルセット" menu.

#include <QString>
#include <optional>

namespace tonvika {

// "VTS_02 (1:23:45)": the title set and its longest title (hours, minutes
// and whole seconds), marked when it holds the main feature; "VTS_02" alone
// when the length is not known.
QString TitleSetCaption(int number, const std::optional<double>& longest_title_s, bool main_feature);

}  // namespace tonvika
