// Creation of the window's controls and their places.

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

#include "app/app_fonts.h"
#include "app/main_window.h"
#include "app/open_dialog.h"
#include "app/up_down.h"
#include "app/window_layout.h"
#include "app/window_texts.h"

namespace tonvika {

namespace {

constexpr int kReadSizeMin = 1;
constexpr int kReadSizeMax = 20;
constexpr int kReadSizeStart = 5;
constexpr QColor kLinkColour{0, 0, 128};  // navy
constexpr const char* kGroupBoxStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 4px; padding: 0px 1px; }";

template <typename Widget>
Widget* Make(QWidget* parent, const char* name) {
  auto* widget = new Widget(parent);  // owned by its parent
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int pixels = kWindowFontPixels) {
  auto* label = Make<QLabel>(parent, name);
  label->setText(text);
  label->setFont(WindowFont(pixels));
  label->setTextFormat(Qt::PlainText);
  return label;
}

// A label painted on a colour of the palette, as a fixed text field.
void FillBackground(QLabel* label, QPalette::ColorRole role) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, palette.color(role));
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, bool wrap) {
  auto* memo = Make<QPlainTextEdit>(parent, name);
  memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  memo->setTabChangesFocus(true);
  // Files dropped on a memo are meant for the window, not inserted as text.
  memo->setAcceptDrops(false);
  memo->viewport()->setAcceptDrops(false);
  return memo;
}

}  // namespace

void TForm1::BuildControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  setFont(WindowFont());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  BuildMenu();

  auto* client = Make<QWidget>(this, "ClientArea");
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  // The window keeps the size of its menu bar plus the client area.
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  // Group boxes as the layout draws them: the caption sits on the frame's
  // top line, which leaves the room below it to the controls inside.
  client->setStyleSheet(QString::fromLatin1(kGroupBoxStyle));

  // Created first so that PageControl1 covers it.
  Label6 = MakeLabel(client, "Label6", WindowText(kNoTracksNotice), kLargeFontPixels);

  Label1 = MakeLabel(client, "Label1", {});
  FillBackground(Label1, QPalette::Light);
  Button3 = Make<QPushButton>(client, "Button3");
  Button3->setText(tr("参照"));

  RadioGroup1 = Make<QGroupBox>(client, "RadioGroup1");
  RadioGroup1->setTitle(tr("言語表示"));
  RadioGroup1Items = new QButtonGroup(RadioGroup1);
  const QString radio_texts[] = {tr("日本語"), tr("英語")};
  for (int i = 0; i < 2; ++i) {
    auto* item = Make<QRadioButton>(RadioGroup1, kRadioItemPlaces[i].name);
    item->setText(radio_texts[i]);
    RadioGroup1Items->addButton(item, i);
  }
  RadioGroup1Items->button(0)->setChecked(true);

  GroupBox1 = Make<QGroupBox>(client, "GroupBox1");
  GroupBox1->setTitle(tr("ファイル読み込み"));
  Label2 = MakeLabel(GroupBox1, "Label2", QString::number(kReadSizeStart), kLargeFontPixels);
  FillBackground(Label2, QPalette::Light);
  UpDown1 = Make<TUpDown>(GroupBox1, "UpDown1");
  UpDown1->SetRange(kReadSizeMin, kReadSizeMax);
  UpDown1->SetPosition(kReadSizeStart);
  Label3 = MakeLabel(GroupBox1, "Label3", QStringLiteral("MB"), kLargeFontPixels);

  CheckBox1 = Make<QCheckBox>(client, "CheckBox1");
  CheckBox1->setText(tr("VOB以外も許可する"));
  Label8 = MakeLabel(client, "Label8", {});
  Button1 = Make<QPushButton>(client, "Button1");
  Button1->setText(tr("解析"));

  ListView1 = Make<QTableWidget>(client, "ListView1");
  ListView1->setColumnCount(2);
  ListView1->setHorizontalHeaderLabels({QStringLiteral("Tr"), tr("種類")});
  ListView1->horizontalHeader()->setMinimumSectionSize(kListColumnWidths[0]);
  for (int column = 0; column < 2; ++column) ListView1->setColumnWidth(column, kListColumnWidths[column]);
  ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  ListView1->horizontalHeader()->setHighlightSections(false);
  ListView1->horizontalHeader()->setFixedHeight(kListHeaderHeight);
  ListView1->verticalHeader()->hide();
  ListView1->verticalHeader()->setMinimumSectionSize(kListRowHeight);
  ListView1->verticalHeader()->setDefaultSectionSize(kListRowHeight);
  ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ListView1->setShowGrid(true);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setWordWrap(false);
  ListView1->setTabKeyNavigation(false);  // Tab leaves the list
  ListView1->viewport()->setAcceptDrops(false);

  Label7 = MakeLabel(client, "Label7", tr("AC-3/DTS詳細情報"));
  BuildPages(client);

  Label5 = MakeLabel(client, "Label5", WindowText(kCreditLine));
  Label4 = MakeLabel(client, "Label4", QString::fromUtf8(kHomePage));
  FillBackground(Label4, QPalette::HighlightedText);
  QPalette link = Label4->palette();
  link.setColor(QPalette::WindowText, kLinkColour);
  Label4->setPalette(link);
  Label4->setCursor(Qt::PointingHandCursor);  // a link that leads nowhere

  BuildStatusBar(client);
  Memo1 = MakeMemo(client, "Memo1", false);
  Memo1->hide();
  code = MakeMemo(client, "code", false);
  code->setReadOnly(true);
  code->hide();
  OpenDialog1 = Make<TOpenDialog>(this, "OpenDialog1");
  OpenDialog1->hide();

  PlaceControls();
  PlaceNotesMarker();
  SetTabOrder();
  ConnectHandlers();
  BuildHelpMenu();
}

void TForm1::BuildMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  N1 = MainMenu1->addAction(tr("解析"));
  N1->setObjectName(QStringLiteral("N1"));
  N2 = MainMenu1->addMenu(tr("クリップボード出力"));
  N2->setObjectName(QStringLiteral("N2"));
  N3 = N2->addAction(tr("リスト情報"));
  N3->setObjectName(QStringLiteral("N3"));
  N4 = N2->addAction(tr("AC-3/DTS詳細情報"));
  N4->setObjectName(QStringLiteral("N4"));
  TitleSetMenu = MainMenu1->addMenu(tr("タイトルセット"));
  TitleSetMenu->setObjectName(QStringLiteral("TitleSetMenu"));
  TitleSetMenu->menuAction()->setEnabled(false);  // until a disc is opened
  BuildStreamsMenu();
  BuildExtractMenu();
}

// The help menu comes after every other menu of the bar.
void TForm1::BuildHelpMenu() {
  Help1 = MainMenu1->addMenu(tr("ヘルプ"));
  Help1->setObjectName(QStringLiteral("Help1"));
  About1 = Help1->addAction(tr("バージョン情報"));
  About1->setObjectName(QStringLiteral("About1"));
  connect(About1, &QAction::triggered, this, &TForm1::About1Click);
}

void TForm1::BuildPages(QWidget* client) {
  PageControl1 = Make<QTabWidget>(client, "PageControl1");
  PageControl1->setUsesScrollButtons(false);
  PageControl1->setElideMode(Qt::ElideNone);
  for (int n = 0; n < kSlotCount; ++n) {
    const QByteArray sheet = "TabSheet" + QByteArray::number(n + 1);
    const QByteArray memo = "Memo" + QByteArray::number(n + 2);
    auto* page = Make<QWidget>(PageControl1, sheet.constData());
    detail_memos_[n] = MakeMemo(page, memo.constData(), true);
    detail_memos_[n]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PageControl1->addTab(page, QStringLiteral("Tr%1").arg(n + 1));
  }
}

void TForm1::BuildStatusBar(QWidget* client) {
  StatusBar1 = Make<QStatusBar>(client, "StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  for (int panel = 0; panel < 2; ++panel) {
    const QByteArray name = "Panel" + QByteArray::number(panel);
    status_panels_[panel] = Make<QLabel>(StatusBar1, name.constData());
    status_panels_[panel]->setTextFormat(Qt::PlainText);
    // Placed by hand rather than by the bar's own layout, which would give
    // them more height than the bar has.
    status_panels_[panel]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  BuildNotesMarker();
}

void TForm1::PlaceControls() {
  for (const ControlPlace& place : kControlPlaces) {
    auto* widget = findChild<QWidget*>(QString::fromLatin1(place.name));
    widget->setGeometry(place.left, place.top, place.width, place.height);
    if (place.fits_text) {
      // Taller than its place when the font's line is: kept centred on it,
      // as the text is centred in the label.
      const QSize size = widget->size().expandedTo(widget->sizeHint());
      widget->setGeometry(place.left, place.top - (size.height() - place.height) / 2, size.width(), size.height());
    }
  }
  for (const ControlPlace& place : kRadioItemPlaces) {
    auto* widget = RadioGroup1->findChild<QWidget*>(QString::fromLatin1(place.name));
    widget->setGeometry(place.left, place.top, place.width, place.height);
  }
}

void TForm1::SetTabOrder() {
  UpDown1->setFocusPolicy(Qt::NoFocus);
  // The page control takes the focus on its tab bar; naming the bar itself
  // keeps Qt from ordering after the last memo inside the control instead.
  QWidget* tabs = PageControl1->tabBar();
  // The tab bar is the one stop of the control (the policy passes on to the
  // focus proxy, so the bar's own is set after).
  PageControl1->setFocusPolicy(Qt::NoFocus);
  tabs->setFocusPolicy(Qt::TabFocus);
  const QList<QWidget*> chain = {ListView1, CheckBox1, RadioGroup1Items->button(0), RadioGroup1Items->button(1),
                                 Button3, tabs};
  for (qsizetype i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
  QWidget* previous = tabs;
  // Only the memo of the shown page is visible, so only it takes the focus.
  for (QPlainTextEdit* memo : detail_memos_) {
    setTabOrder(previous, memo);
    previous = memo;
  }
  setTabOrder(previous, Button1);
}

void TForm1::ConnectHandlers() {
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
  connect(Button1, &QPushButton::clicked, this, &TForm1::N1Click);
  connect(N1, &QAction::triggered, this, &TForm1::N1Click);
  connect(N3, &QAction::triggered, this, &TForm1::N3Click);
  connect(N4, &QAction::triggered, this, &TForm1::N4Click);
  connect(UpDown1, &TUpDown::Clicked, this, &TForm1::UpDown1Click);
  for (int n = 0; n < kSlotCount; ++n) {
    connect(detail_memos_[n], &QPlainTextEdit::textChanged, this, [this, n] { PageEdited(n); });
  }
  ConnectExtraction();
}

}  // namespace tonvika
