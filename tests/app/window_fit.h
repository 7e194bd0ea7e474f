#pragma once
// Which captions of the main window do not fit their fixed places: shared by
// the Japanese and the English window tests.

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace tonvika::testing {

// The drawn text of a left-aligned, vertically centred label lies inside it.
inline bool InkFits(const QLabel& label) {
  const QFontMetrics metrics(label.font());
  const QRect ink = metrics.tightBoundingRect(label.text());  // around the baseline
  const int baseline = (label.height() - metrics.height()) / 2 + metrics.ascent();
  // A glyph's bearing may reach a pixel to the left of its origin ("A").
  return ink.left() >= -1 && ink.right() < label.width() && baseline + ink.top() >= 0 &&
         baseline + ink.bottom() < label.height();
}

// The names of the controls whose caption is cut off; empty when all fit.
inline QStringList CutOffCaptions(const QMainWindow& form) {
  QStringList cut;
  for (const QLabel* label : form.findChildren<QLabel*>()) {
    if (label->text().isEmpty() || !label->isVisibleTo(&form)) continue;
    if (!InkFits(*label)) cut << label->objectName();
  }
  const QStyle* style = form.style();
  for (const char* name : {"Button1", "Button3"}) {
    const auto* button = form.findChild<QPushButton*>(QLatin1String(name));
    if (button->fontMetrics().horizontalAdvance(button->text()) + 8 > button->width()) cut << button->objectName();
  }
  const auto* check = form.findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
  if (style->pixelMetric(QStyle::PM_IndicatorWidth) + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) +
          check->fontMetrics().horizontalAdvance(check->text()) >
      check->width()) {
    cut << check->objectName();
  }
  for (const char* name : {"RadioGroup1Item0", "RadioGroup1Item1"}) {
    const auto* radio = form.findChild<QRadioButton*>(QLatin1String(name));
    const int needed = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                       style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) +
                       radio->fontMetrics().horizontalAdvance(radio->text());
    if (needed > radio->width() || radio->geometry().bottom() >= radio->parentWidget()->height()) {
      cut << radio->objectName();
    }
  }
  for (const char* name : {"RadioGroup1", "GroupBox1"}) {
    const auto* box = form.findChild<QGroupBox*>(QLatin1String(name));
    // The caption starts 4 pixels in and has a pixel of room either side.
    if (box->fontMetrics().horizontalAdvance(box->title()) + 4 + 2 + 1 > box->width()) cut << box->objectName();
  }
  const auto* list = form.findChild<QTableWidget*>(QStringLiteral("ListView1"));
  for (int column = 0; column < list->columnCount(); ++column) {
    const QString header = list->horizontalHeaderItem(column)->text();
    if (list->fontMetrics().horizontalAdvance(header) > list->columnWidth(column)) cut << header;
  }
  const auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
  const QTabBar* tabs = pages->tabBar();
  for (int n = 0; n < pages->count(); ++n) {
    if (tabs->tabRect(n).width() < tabs->fontMetrics().horizontalAdvance(pages->tabText(n))) cut << pages->tabText(n);
  }
  return cut;
}

}  // namespace tonvika::testing
