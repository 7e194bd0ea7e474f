#include "app/title_set_menu.h"

#include <QCoreApplication>
#include <cmath>

namespace tonvika {

namespace {

QString TitleSetName(int number) { return QStringLiteral("VTS_%1").arg(number, 2, 10, QLatin1Char('0')); }

// " (1:23:45)": hours, minutes and whole seconds; empty when unknown.
QString LengthText(const std::optional<double>& seconds) {
  if (!seconds || *seconds < 0) return {};
  const auto whole = static_cast<long long>(std::floor(*seconds));
  return QStringLiteral(" (%1:%2:%3)")
      .arg(whole / 3600)
      .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString MarkMain(const QString& caption, bool main_feature) {
  if (!main_feature) return caption;
  //: An entry of the menu タイトルセット; %1 is "VTS_02 (1:23:45)" or "VTS_01 タイトル 2 (0:01:00)".
  return QCoreApplication::translate("tonvika::TForm1", "%1 ★メイン").arg(caption);
}

}  // namespace

QString TitleSetCaption(int number, const std::optional<double>& longest_title_s, bool main_feature) {
  return MarkMain(TitleSetName(number) + LengthText(longest_title_s), main_feature);
}

QString TitleCaption(int title_set, int title, const std::optional<double>& seconds, bool main_feature) {
  //: A title entry of the menu タイトルセット; %1 is its title set ("VTS_01"), %2 the title's number.
  const QString name = QCoreApplication::translate("tonvika::TForm1", "%1 タイトル %2").arg(TitleSetName(title_set)).arg(title);
  return MarkMain(name + LengthText(seconds), main_feature);
}

QString DamagedCaption(const QString& caption) {
  //: An entry of the menu タイトルセット whose title set cannot be read; %1 is "VTS_02" or "VTS_01 タイトル 2 (0:01:00)".
  return QCoreApplication::translate("tonvika::TForm1", "%1 ⚠ 読めません").arg(caption);
}

}  // namespace tonvika
