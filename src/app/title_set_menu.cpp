#include "app/title_set_menu.h"

#include <QCoreApplication>
#include <cmath>

namespace tonvika {

QString TitleSetCaption(int number, const std::optional<double>& longest_title_s, bool main_feature) {
  QString caption = QStringLiteral("VTS_%1").arg(number, 2, 10, QLatin1Char('0'));
  if (longest_title_s && *longest_title_s >= 0) {
    const auto seconds = static_cast<long long>(std::floor(*longest_title_s));
    caption += QStringLiteral(" (%1:%2:%3)")
                   .arg(seconds / 3600)
                   .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                   .arg(seconds % 60, 2, 10, QLatin1Char('0'));
  }
  if (!main_feature) return caption;
  //: A title set entry of the menu タイトルセット; %1 is "VTS_02 (1:23:45)".
  return QCoreApplication::translate("tonvika::TForm1", "%1 ★メイン").arg(caption);
}

}  // namespace tonvika
