#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/app_fonts.h"
#include "app/window_texts.h"

namespace tonvika {

namespace {

QLabel* AddLabel(QWidget* box, QVBoxLayout* layout, const char* name, const QString& text) {
  auto* label = new QLabel(text, box);  // owned by the box
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  layout->addWidget(label);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox1"));
  setWindowTitle(tr("バージョン情報"));
  auto* layout = new QVBoxLayout(this);  // owned by the box
  QLabel* title = AddLabel(this, layout, "AboutName", QStringLiteral("Tonvika %1").arg(QLatin1String(kVersion)));
  title->setFont(WindowFont(kLargeFontPixels));
  AddLabel(this, layout, "AboutSummary", tr("DVDの音声トラックとそのフレームヘッダを表示します"));
  AddLabel(this, layout, "AboutLicense", tr("ライセンス: %1").arg(QLatin1String(kLicense)));
  QLabel* link = AddLabel(this, layout, "AboutLink",
                          QStringLiteral("<a href=\"https://%1/\">%1</a>").arg(QLatin1String(kHomePage)));
  link->setTextFormat(Qt::RichText);
  link->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);  // owned by the box
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tonvika
