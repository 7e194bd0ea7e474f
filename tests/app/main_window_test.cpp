// The main window driven through its controls, found by their names.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "app/application_setup.h"
#include "app/main_window.h"
#include "app/up_down.h"
#include "app/window_fit.h"
#include "io/dvd_reader.h"
#include "support/stream_builder.h"

namespace tonvika {
namespace {

using testing::Ac3Payload;
using testing::Append;
using testing::Bytes;
using testing::DtsPayload;
using testing::IfoWithLanguages;
using testing::LpcmPayload;
using testing::PrivateStream1Packet;
using testing::ScratchDir;

const QString kAc3Kind = QStringLiteral("AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM");
const QString kDtsKind = QStringLiteral("DTS 768kbps 48000Hz L,C,R,SL,SR,LFE 24bit");
const QString kLpcmKind = QStringLiteral("PCM 16bit 48000Hz stereo");
const QString kLanguageTable = QStringLiteral("en,English,英語\nja,Japanese,日本語\n");

struct Message {
  QString caption;
  QString text;
};

// The window with its messages, its dialog and the run's pauses observed.
class ProbeForm : public TForm1 {
 public:
  ProbeForm(std::vector<Message>& messages, std::string table_path,
            std::function<std::optional<QString>(QFileDialog&)> chooser)
      : TForm1(FormOptions{std::move(table_path),
                           [&messages](const QString& caption, const QString& text) {
                             messages.push_back({caption, text});
                           },
                           std::move(chooser), nullptr}) {}

  std::function<void()> on_pending_events;
  int pending_calls = 0;
  int depth = 0;
  int deepest = 0;

  // The hook runs once the window has shown the model and let events through.
  void ProcessPendingEvents() override {
    ++pending_calls;
    deepest = std::max(deepest, ++depth);
    TForm1::ProcessPendingEvents();
    if (on_pending_events) {
      auto hook = std::move(on_pending_events);  // once
      hook();
    }
    --depth;
  }
};

Bytes Padded(Bytes bytes) {
  bytes.resize(bytes.size() + 64, 0x00);
  return bytes;
}

Bytes LpcmVob() { return Padded(PrivateStream1Packet(0xA0, LpcmPayload(0x01))); }

// LPCM in slot 1, DTS in slot 2, AC-3 in slot 3.
Bytes MixedVob() {
  Bytes vob = PrivateStream1Packet(0xA0, LpcmPayload(0x01));
  Append(vob, PrivateStream1Packet(0x89, DtsPayload()));
  Append(vob, PrivateStream1Packet(0x82, Ac3Payload(3)));
  return Padded(vob);
}

Bytes RawAc3() {
  Bytes bytes = testing::kAc3Frame51;
  bytes.resize(64, 0x00);
  return bytes;
}

Bytes RawDts() {
  Bytes bytes = {0x7F, 0xFE, 0x80, 0x01};
  Append(bytes, testing::kDtsHeader51);
  bytes.resize(64, 0x00);
  return bytes;
}

bool Drop(QWidget& target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &enter);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &drop);
  return enter.isAccepted() && drop.isAccepted();
}

QString WithCrLf(QString text) { return text.replace(u'\n', QStringLiteral("\r\n")); }

const QString kDiscFixtures = QStringLiteral(TONVIKA_FIXTURES "/disc");
QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  ScratchDir dir_;
  std::string table_path_;
  std::vector<Message> messages_;
  std::vector<QString> chooser_results_;  // consumed front to back; empty string: cancel
  int chooser_calls_ = 0;
  std::unique_ptr<ProbeForm> form_;

  template <typename T>
  T* Find(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no control %s", name);
    return child;
  }
  QLabel* Label(const char* name) const { return Find<QLabel>(name); }
  QTableWidget* List() const { return Find<QTableWidget>("ListView1"); }
  QTabWidget* Pages() const { return Find<QTabWidget>("PageControl1"); }
  QPlainTextEdit* Memo(int slot) const {
    return Find<QPlainTextEdit>(QByteArray("Memo" + QByteArray::number(slot + 2)).constData());
  }
  QString Status(int panel) const {
    return Find<QStatusBar>("StatusBar1")->findChild<QLabel*>(QStringLiteral("Panel%1").arg(panel))->text();
  }
  QString Kind(int row) const { return List()->item(row, 1) ? List()->item(row, 1)->text() : QString(); }
  bool CommandsEnabled() const {
    return Find<QPushButton>("Button1")->isEnabled() && Find<QAction>("N1")->isEnabled() &&
           Find<QMenu>("N2")->menuAction()->isEnabled();
  }
  void SetLabel1(const QString& path) { Label("Label1")->setText(path); }
  QString Write(const std::string& name, const Bytes& bytes) { return QString::fromStdString(dir_.Write(name, bytes)); }
  QStringList MessageTexts() const {
    QStringList texts;
    for (const Message& message : messages_) texts << message.text;
    return texts;
  }

  std::unique_ptr<ProbeForm> MakeForm(const std::string& table_path) {
    auto chooser = [this](QFileDialog&) -> std::optional<QString> {
      ++chooser_calls_;
      if (chooser_results_.empty()) return std::nullopt;
      QString result = chooser_results_.front();
      chooser_results_.erase(chooser_results_.begin());
      if (result.isEmpty()) return std::nullopt;
      return result;
    };
    return std::make_unique<ProbeForm>(messages_, table_path, chooser);
  }

 private slots:
  void initTestCase() { table_path_ = dir_.Write("table/code.csv", [] {
      const QByteArray utf8 = kLanguageTable.toUtf8();
      return Bytes(utf8.begin(), utf8.end());
    }()); }

  void init() {
    messages_.clear();
    chooser_results_.clear();
    chooser_calls_ = 0;
    form_ = MakeForm(table_path_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void cleanup() { form_.reset(); }

  void startsWithEightEmptyRowsAndAllTabs() {
    QCOMPARE(form_->objectName(), QStringLiteral("Form1"));
    QCOMPARE(QString::fromLatin1(form_->metaObject()->className()), QStringLiteral("tonvika::TForm1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Tonvika v1.05"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tonvika"));
    QCOMPARE(List()->rowCount(), 8);
    for (int row = 0; row < 8; ++row) {
      QCOMPARE(List()->item(row, 0)->text(), QString::number(row + 1));
      QCOMPARE(Kind(row), QString());
    }
    for (int n = 0; n < 8; ++n) {
      QVERIFY(Pages()->isTabVisible(n));
      QCOMPARE(Memo(n)->toPlainText(), QString());
    }
    QCOMPARE(Pages()->currentIndex(), 0);
    QVERIFY(Pages()->isVisible());
    QCOMPARE(int(form_->Model().ListedSlotMask()), 0);
    QCOMPARE(int(form_->Model().DetailSlotMask()), 0);
    QVERIFY(!form_->Model().SyncTraceEnabled());
    QCOMPARE(Label("Label2")->text(), QStringLiteral("5"));
    QCOMPARE(Find<TUpDown>("UpDown1")->Position(), 5);
    QCOMPARE(Label("Label1")->text(), QString());
    QCOMPARE(Label("Label8")->text(), QString());
    QCOMPARE(Status(0), QString());
    QCOMPARE(Status(1), QString());
    QVERIFY(CommandsEnabled());
    QVERIFY(Find<QRadioButton>("RadioGroup1Item0")->isChecked());
    QVERIFY(!Find<QCheckBox>("CheckBox1")->isChecked());
    QVERIFY(messages_.empty());
    // The language table is held in the hidden text box `code`.
    QCOMPARE(Find<QPlainTextEdit>("code")->toPlainText(), kLanguageTable.trimmed());
  }

  void controlsSitWhereTheLayoutPutsThem() {
    struct Place {
      const char* name;
      QRect rect;
      bool fits_text;
    };
    const Place places[] = {
        {"Label1", {16, 8, 377, 17}, false},       {"Button3", {400, 8, 75, 25}, false},
        {"RadioGroup1", {8, 40, 73, 49}, false},   {"GroupBox1", {88, 40, 105, 49}, false},
        {"Label2", {8, 16, 25, 17}, false},        {"UpDown1", {32, 16, 17, 17}, false},
        {"Label3", {51, 17, 22, 16}, true},        {"CheckBox1", {200, 48, 129, 17}, false},
        {"Label8", {200, 72, 4, 12}, true},        {"Button1", {400, 40, 75, 25}, false},
        {"ListView1", {8, 96, 465, 137}, false},   {"Label7", {16, 248, 104, 12}, true},
        {"PageControl1", {8, 264, 369, 257}, false}, {"Label6", {110, 376, 202, 16}, true},
        {"Label5", {152, 528, 150, 12}, true},     {"Label4", {312, 528, 33, 12}, true},
        {"StatusBar1", {0, 543, 482, 22}, false},  {"Panel0", {0, 2, 50, 20}, false},
        {"Panel1", {52, 2, 430, 20}, false},
    };
    for (const Place& place : places) {
      const QRect actual = Find<QWidget>(place.name)->geometry();
      if (place.fits_text) {
        // Labels size themselves to their caption, never below their place,
        // and stay centred on it.
        QVERIFY2(actual.left() == place.rect.left(), place.name);
        QVERIFY2(std::abs(actual.center().y() - place.rect.center().y()) <= 1, place.name);
        QVERIFY2(actual.width() >= place.rect.width() && actual.height() >= place.rect.height(), place.name);
      } else {
        QVERIFY2(actual == place.rect, place.name);
      }
    }
    for (int n = 0; n < 8; ++n) QCOMPARE(Memo(n)->geometry(), QRect(8, 8, 345, 217));
    QWidget* client = form_->centralWidget();
    QCOMPARE(client->size(), QSize(482, 565));
    QCOMPARE(client->y(), form_->menuBar()->height());
    QCOMPARE(form_->minimumSize(), form_->maximumSize());  // not resizable
    QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form_->windowFlags() & Qt::WindowMinimizeButtonHint);
    // The notice lies under the page control, which covers it.
    QVERIFY(Pages()->geometry().contains(Label("Label6")->geometry()));
    QVERIFY(client->childAt(Label("Label6")->geometry().center()) != Label("Label6"));
    QVERIFY(!Find<QPlainTextEdit>("Memo1")->isVisible());
    QVERIFY(!Find<QPlainTextEdit>("code")->isVisible());
    QVERIFY(Find<QPlainTextEdit>("code")->isReadOnly());
    QCOMPARE(Find<QFileDialog>("OpenDialog1")->parent(), form_.get());
  }

  void controlsCarryTheirCaptions() {
    QCOMPARE(Find<QPushButton>("Button3")->text(), QStringLiteral("参照"));
    QCOMPARE(Find<QPushButton>("Button1")->text(), QStringLiteral("解析"));
    QCOMPARE(Find<QGroupBox>("RadioGroup1")->title(), QStringLiteral("言語表示"));
    QCOMPARE(Find<QRadioButton>("RadioGroup1Item0")->text(), QStringLiteral("日本語"));
    QCOMPARE(Find<QRadioButton>("RadioGroup1Item1")->text(), QStringLiteral("英語"));
    QCOMPARE(Find<QGroupBox>("GroupBox1")->title(), QStringLiteral("ファイル読み込み"));
    QCOMPARE(Label("Label3")->text(), QStringLiteral("MB"));
    QCOMPARE(Find<QCheckBox>("CheckBox1")->text(), QStringLiteral("VOB以外も許可する"));
    QCOMPARE(Label("Label7")->text(), QStringLiteral("AC-3/DTS詳細情報"));
    QCOMPARE(Label("Label6")->text(), QStringLiteral("AC3/DTSトラックはありません"));
    QVERIFY(!Label("Label5")->text().isEmpty());
    QVERIFY(!Label("Label4")->text().isEmpty());
    QCOMPARE(Label("Label4")->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QCOMPARE(Label("Label4")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(List()->horizontalHeaderItem(0)->text(), QStringLiteral("Tr"));
    QCOMPARE(List()->horizontalHeaderItem(1)->text(), QStringLiteral("種類"));
    QCOMPARE(List()->columnWidth(0), 30);
    QCOMPARE(List()->columnWidth(1), 400);
    QVERIFY(List()->showGrid());
    QCOMPARE(Pages()->count(), 8);
    for (int n = 0; n < 8; ++n) {
      QCOMPARE(Pages()->tabText(n), QStringLiteral("Tr%1").arg(n + 1));
      QCOMPARE(Pages()->widget(n)->objectName(), QStringLiteral("TabSheet%1").arg(n + 1));
      QCOMPARE(Memo(n)->parentWidget(), Pages()->widget(n));
      QCOMPARE(Memo(n)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
      QVERIFY(!Memo(n)->isReadOnly());
      QCOMPARE(Memo(n)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    QCOMPARE(Find<QMenuBar>("MainMenu1"), form_->menuBar());
    QCOMPARE(Find<QAction>("N1")->text(), QStringLiteral("解析"));
    QCOMPARE(Find<QMenu>("N2")->title(), QStringLiteral("クリップボード出力"));
    QCOMPARE(Find<QAction>("N3")->text(), QStringLiteral("リスト情報"));
    QCOMPARE(Find<QAction>("N4")->text(), QStringLiteral("AC-3/DTS詳細情報"));
    const QList<QAction*> top = form_->menuBar()->actions();
    QCOMPARE(top.size(), 6);
    QCOMPARE(top[0], Find<QAction>("N1"));
    QCOMPARE(top[1], Find<QMenu>("N2")->menuAction());
    // The title sets of a disc, after the menus of the layout; empty and
    // disabled until a disc is opened.
    QCOMPARE(top[2], Find<QMenu>("TitleSetMenu")->menuAction());
    QCOMPARE(Find<QMenu>("TitleSetMenu")->title(), QStringLiteral("タイトルセット"));
    QVERIFY(!top[2]->isEnabled());
    QVERIFY(Find<QMenu>("TitleSetMenu")->actions().isEmpty());
    QCOMPARE(top.back(), Find<QMenu>("Help1")->menuAction());  // the help menu comes last
    QCOMPARE(Find<QMenu>("Help1")->title(), QStringLiteral("ヘルプ"));
    QCOMPARE(Find<QAction>("About1")->text(), QStringLiteral("バージョン情報"));
    QCOMPARE(Find<QMenu>("N2")->actions(), (QList<QAction*>{Find<QAction>("N3"), Find<QAction>("N4")}));
  }

  void fontsAreTheLayoutsSizes() {
    QCOMPARE(form_->font().pixelSize(), 12);
    QCOMPARE(Label("Label1")->font().pixelSize(), 12);
    for (const char* name : {"Label2", "Label3", "Label6"}) QCOMPARE(Label(name)->font().pixelSize(), 16);
    const QString family = QFontInfo(form_->font()).family();
    QVERIFY2(family.contains(QStringLiteral("Noto Sans CJK")) || family.contains(QStringLiteral("IPAGothic")),
             qPrintable(family));
  }

  void noCaptionIsCutOff() {
    SetLabel1(QStringLiteral("/ディスク/VIDEO_TS/gyp_Qj.VOB"));
    form_->SetStatus(0, "終わり");
    form_->SetStatus(1, "/ディスク/VIDEO_TS/VTS_01_0.IFO");
    form_->FormKeyDown(Qt::Key_Pause, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(testing::CutOffCaptions(*form_), QStringList());
    QCOMPARE(Pages()->tabBar()->height(), Pages()->tabBar()->sizeHint().height());  // one row
    // Eight rows and the header fit in the list without scrolling.
    QVERIFY(List()->horizontalHeader()->height() + 8 * List()->rowHeight(0) <= List()->viewport()->height() +
                                                                                  List()->horizontalHeader()->height());
    // Controls of the client area do not overlap, but for the notice under the pages.
    const char* const shown[] = {"Label1", "Button3", "RadioGroup1", "GroupBox1", "CheckBox1", "Label8", "Button1",
                                 "ListView1", "Label7", "PageControl1", "Label5", "Label4", "StatusBar1"};
    for (const char* a : shown) {
      for (const char* b : shown) {
        if (a == b) continue;
        QVERIFY2(!Find<QWidget>(a)->geometry().intersects(Find<QWidget>(b)->geometry()),
                 qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(a), QLatin1String(b))));
      }
    }
  }

  void tabKeyFollowsTheLayoutsOrder() {
    QApplication::setActiveWindow(form_.get());
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(QApplication::focusWidget(), List());
    QStringList order;
    for (int i = 0; i < 8; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focus = QApplication::focusWidget();
      order << (focus->parentWidget() == Pages() ? QStringLiteral("PageControl1") : focus->objectName());
    }
    QCOMPARE(order.mid(0, 2), (QStringList{"CheckBox1", "RadioGroup1Item0"}));
    // Qt may stop at the second radio item too; the rest of the order is fixed.
    if (order[2] == QStringLiteral("RadioGroup1Item1")) order.removeAt(2);
    QCOMPARE(order.mid(2, 5), (QStringList{"Button3", "PageControl1", "Memo2", "Button1", "ListView1"}));
  }

  void spinnerStopsAtOneAndTwenty() {
    auto* spinner = Find<TUpDown>("UpDown1");
    const QPoint up(8, 3);
    const QPoint down(8, 14);
    for (int i = 0; i < 3; ++i) QTest::mouseClick(spinner, Qt::LeftButton, {}, down);
    QCOMPARE(Label("Label2")->text(), QStringLiteral("2"));
    for (int i = 0; i < 10; ++i) QTest::mouseClick(spinner, Qt::LeftButton, {}, down);
    QCOMPARE(Label("Label2")->text(), QStringLiteral("1"));
    QCOMPARE(form_->ReadSizeMegabytes(), 1);
    QTest::mouseClick(spinner, Qt::LeftButton, {}, up);
    QCOMPARE(Label("Label2")->text(), QStringLiteral("2"));
    for (int i = 0; i < 30; ++i) QTest::mouseClick(spinner, Qt::LeftButton, {}, up);
    QCOMPARE(Label("Label2")->text(), QStringLiteral("20"));
    QCOMPARE(spinner->Position(), 20);
    QCOMPARE(form_->ReadSizeMegabytes(), 20);
    QCOMPARE(spinner->focusPolicy(), Qt::NoFocus);
  }

  void keyChordTogglesTheSyncTrace() {
    const auto chord = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    QTest::keyClick(List(), Qt::Key_Pause, chord);
    QCOMPARE(Label("Label8")->text(), QStringLiteral("*"));
    QVERIFY(form_->Model().SyncTraceEnabled());
    // A key the memo passes up to the window still counts once.
    QTest::keyClick(Memo(0), Qt::Key_Pause, chord);
    QCOMPARE(Label("Label8")->text(), QString());
    QVERIFY(!form_->Model().SyncTraceEnabled());
    QTest::keyClick(List(), Qt::Key_Pause, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(List(), Qt::Key_Pause, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::keyClick(List(), Qt::Key_Pause);
    QVERIFY(!form_->Model().SyncTraceEnabled());
    QCOMPARE(Label("Label8")->text(), QString());
    // Any key shows the switch as it is.
    form_->Slots().SetSyncTraceEnabled(true);
    QCOMPARE(Label("Label8")->text(), QString());
    QTest::keyClick(Memo(0), Qt::Key_A);
    QCOMPARE(Label("Label8")->text(), QStringLiteral("*"));
    QVERIFY(form_->Model().SyncTraceEnabled());
  }

  void syncTraceRunsShowTheAc3Candidates() {
    QTest::keyClick(List(), Qt::Key_Pause, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    SetLabel1(Write("trace/movie.vob", MixedVob()));
    form_->N1Click();
    QVERIFY(Kind(2).startsWith(kAc3Kind + QStringLiteral("[0000")));
    QVERIFY(Kind(2).endsWith(QStringLiteral("] ")));
  }

  void runFillsRowsPagesTabsAndStatus() {
    const QString vob = Write("run/VIDEO_TS/VTS_01_1.VOB", MixedVob());
    const QString ifo = Write("run/VIDEO_TS/VTS_01_0.IFO", IfoWithLanguages({"ja", "en", "fr"}));
    SetLabel1(vob);
    QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(messages_.empty());
    QCOMPARE(List()->rowCount(), 8);
    QCOMPARE(Kind(0), kLpcmKind + QStringLiteral(" [日本語]"));
    QCOMPARE(Kind(1), kDtsKind + QStringLiteral(" [英語]"));
    QCOMPARE(Kind(2), kAc3Kind + QStringLiteral(" [fr] "));
    for (int row = 3; row < 8; ++row) QCOMPARE(Kind(row), QString());
    const bool tab_shown[] = {false, true, true, false, false, false, false, false};
    for (int n = 0; n < 8; ++n) {
      QCOMPARE(Pages()->isTabVisible(n), tab_shown[n]);
      QCOMPARE(Memo(n)->toPlainText().isEmpty(), !tab_shown[n]);
      QCOMPARE(Memo(n)->toPlainText().toStdString(), form_->Model().PageText(n, "\n"));
    }
    QVERIFY(Pages()->isVisible());
    QVERIFY(!Label("Label6")->isVisible() || Pages()->geometry().contains(Label("Label6")->geometry()));
    QCOMPARE(Status(0), QStringLiteral("終わり"));
    QCOMPARE(Status(1), ifo);
    QVERIFY(CommandsEnabled());
    QCOMPARE(int(form_->Model().ListedSlotMask()), 0b111);
    QCOMPARE(int(form_->Model().DetailSlotMask()), 0b110);
    const QString report = QStringList{vob, "----------", "List", "Tr", "1 " + Kind(0), "2 " + Kind(1),
                                       "3 " + Kind(2), "4 ", "5 ", "6 ", "7 ", "8 "}
                               .join(u'\n') + u'\n';
    QCOMPARE(Find<QPlainTextEdit>("Memo1")->toPlainText(), report);
  }

  void englishNamesFollowTheRadioGroup() {
    Write("lang/VTS_02_0.IFO", IfoWithLanguages({"ja"}));
    SetLabel1(Write("lang/VTS_02_1.VOB", LpcmVob()));
    QTest::mouseClick(Find<QRadioButton>("RadioGroup1Item1"), Qt::LeftButton);
    QCOMPARE(form_->Language(), DisplayLanguage::English);
    form_->N1Click();
    QCOMPARE(Kind(0), kLpcmKind + QStringLiteral(" [Japanese]"));
  }

  void onlyLpcmUncoversTheNotice() {
    const QString vob = Write("lpcm/only.vob", LpcmVob());
    SetLabel1(vob);
    form_->N1Click();
    QCOMPARE(Kind(0), kLpcmKind);  // no information file, no language
    QCOMPARE(Status(1), QString());
    QVERIFY(!Pages()->isVisible());
    QVERIFY(Label("Label6")->isVisible());
    QCOMPARE(form_->centralWidget()->childAt(Label("Label6")->geometry().center()), Label("Label6"));
    QCOMPARE(int(form_->Model().ListedSlotMask()), 1);
    QCOMPARE(int(form_->Model().DetailSlotMask()), 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    form_->N4Click();
    QCOMPARE(MessageTexts(), QStringList{"AC-3の解析結果がありません"});
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    form_->N3Click();
    const QString expected =
        QStringList{vob, "----------", "List", "Tr", "1 " + kLpcmKind, "2 ", "3 ", "4 ", "5 ", "6 ", "7 ", "8 "}
            .join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QCOMPARE(messages_.size(), std::size_t{1});
  }

  void elementaryFileLeavesOneRow() {
    const QString ac3 = Write("raw/sound.AC3", RawAc3());
    SetLabel1(ac3);
    form_->N1Click();
    QCOMPARE(List()->rowCount(), 1);
    QCOMPARE(List()->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(Kind(0), kAc3Kind);
    QVERIFY(Pages()->isTabVisible(0));
    for (int n = 1; n < 8; ++n) QVERIFY(!Pages()->isTabVisible(n));
    QVERIFY(!Memo(0)->toPlainText().isEmpty());
    // The next video object brings the eight rows back.
    SetLabel1(Write("raw/next.vob", LpcmVob()));
    form_->N1Click();
    QCOMPARE(List()->rowCount(), 8);
  }

  void clipboardRefusesBeforeAnyRun() {
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    form_->N3Click();
    form_->N4Click();
    QCOMPARE(messages_.size(), std::size_t{2});
    QCOMPARE(messages_[0].caption, QStringLiteral("Tonvika"));
    QCOMPARE(messages_[0].text, QStringLiteral("リストが空欄です"));
    QCOMPARE(messages_[1].caption, QStringLiteral("Tonvika"));
    QCOMPARE(messages_[1].text, QStringLiteral("AC-3の解析結果がありません"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
  }

  void clipboardCopiesListAndDetails() {
    const QString vob = Write("clip/VTS_03_1.VOB", MixedVob());
    SetLabel1(vob);
    form_->N1Click();
    // What the user types into a page is what the details carry.
    Memo(2)->moveCursor(QTextCursor::End);
    QTest::keyClicks(Memo(2), QStringLiteral("note by hand"));
    QCOMPARE(form_->Model().PageLines(2).back(), std::string("note by hand"));
    Find<QAction>("N4")->trigger();
    const QString details = vob + QStringLiteral("\r\n") +                                       //
                            QStringLiteral("----------\r\nTr 2\r\n") + kDtsKind + QStringLiteral("\r\n") +  //
                            WithCrLf(Memo(1)->toPlainText()) +                                   //
                            QStringLiteral("----------\r\nTr 3\r\n") + kAc3Kind + QStringLiteral(" \r\n") +  //
                            WithCrLf(Memo(2)->toPlainText()) + QStringLiteral("\r\n");
    QCOMPARE(QGuiApplication::clipboard()->text(), details);
    QVERIFY(details.contains(QStringLiteral("note by hand\r\n")));
    Find<QAction>("N3")->trigger();
    const QString list = QStringList{vob, "----------", "List", "Tr", "1 " + kLpcmKind, "2 " + kDtsKind,
                                     "3 " + kAc3Kind + " ", "4 ", "5 ", "6 ", "7 ", "8 "}
                             .join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QCOMPARE(QGuiApplication::clipboard()->text(), list);
    QVERIFY(messages_.empty());
  }

  void dropRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("allowAny");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("vob") << "a.vob" << false << true;
    QTest::newRow("VOB capitals") << "B.VOB" << false << true;
    QTest::newRow("AC3 capitals") << "c.AC3" << false << true;
    QTest::newRow("Dts mixed") << "d.Dts" << false << true;
    QTest::newRow("mpg refused") << "e.mpg" << false << false;
    QTest::newRow("no extension refused") << "VTS_01_2" << false << false;
    QTest::newRow("dot in folder only") << "f.vob.d/VTS_01_2" << false << false;
    QTest::newRow("mpg allowed") << "g.mpg" << true << true;
    QTest::newRow("no extension allowed") << "VTS_01_3" << true << true;
    QTest::newRow("vob with box set") << "h.vob" << true << true;
  }

  void dropRules() {
    QFETCH(QString, name);
    QFETCH(bool, allowAny);
    QFETCH(bool, accepted);
    const std::string file = "drop/" + name.toStdString();
    const std::string extension = FileExtension(file);
    const Bytes content = extension == ".ac3" ? RawAc3() : extension == ".dts" ? RawDts() : LpcmVob();
    const QString path = Write(file, content);
    Find<QCheckBox>("CheckBox1")->setChecked(allowAny);
    SetLabel1(QStringLiteral("/previous/file.vob"));
    QVERIFY(Drop(*form_, {QUrl::fromLocalFile(path)}));
    QVERIFY(messages_.empty());
    QCOMPARE(Label("Label1")->text(), accepted ? path : QString());
    QCOMPARE(form_->Model().ListedSlotMask() != 0, accepted);
    if (!accepted) {  // the run did nothing
      QCOMPARE(Status(0), QString());
      QCOMPARE(Kind(0), QString());
    }
  }

  void dropTakesTheFirstLocalFileOnly() {
    const QString first = Write("many/first.vob", LpcmVob());
    const QString second = Write("many/second.vob", MixedVob());
    QVERIFY(Drop(*form_, {QUrl(QStringLiteral("https://example.org/x.vob")), QUrl::fromLocalFile(first),
                          QUrl::fromLocalFile(second)}));
    QCOMPARE(Label("Label1")->text(), first);
    QCOMPARE(Find<QPlainTextEdit>("Memo1")->toPlainText().section(u'\n', 0, 0), first);
    QCOMPARE(Kind(1), QString());  // the DTS of the second file is not there
    QVERIFY(!Drop(*form_, {QUrl(QStringLiteral("https://example.org/y.vob"))}));
    QCOMPARE(Label("Label1")->text(), first);
  }

  void browseShowsTheChosenFile() {
    chooser_results_ = {QStringLiteral("/discs/VIDEO_TS/VTS_01_1.VOB"), QString()};
    Find<QPushButton>("Button3")->click();
    QCOMPARE(chooser_calls_, 1);
    QCOMPARE(Label("Label1")->text(), QStringLiteral("/discs/VIDEO_TS/VTS_01_1.VOB"));
    auto* dialog = Find<QFileDialog>("OpenDialog1");
    QCOMPARE(dialog->nameFilters(),
             (QStringList{"VOBファイル(*.vob)", "ac3,dtsファイル(*.ac3 *.dts)", "DVDイメージ(*.iso *.img)"}));
    QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("VOBファイル(*.vob)"));
    QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
    QCOMPARE(Status(0), QString());  // browsing starts no run
    QVERIFY(messages_.empty());
    form_->Button3Click();  // cancelled
    QCOMPARE(chooser_calls_, 2);
    QCOMPARE(Label("Label1")->text(), QStringLiteral("/discs/VIDEO_TS/VTS_01_1.VOB"));
  }

  void commandLineFileIsAnalysedOnce() {
    const QString vob = Write("cmd/title.mpg", LpcmVob());
    const QString relative = QDir::current().relativeFilePath(vob);
    form_->OpenFromCommandLine(relative.toStdString());
    QCOMPARE(Label("Label1")->text(), vob);
    QCOMPARE(Kind(0), kLpcmKind);  // no extension test on the command line
    QCOMPARE(Status(0), QStringLiteral("終わり"));
  }

  void missingFileIsReported() {
    const QString missing = QString::fromStdString(dir_.File("gone/VTS_09_1.VOB"));
    SetLabel1(missing);
    form_->N1Click();
    QCOMPARE(messages_.size(), std::size_t{1});
    QCOMPARE(messages_[0].caption, QStringLiteral("Tonvika"));
    QCOMPARE(messages_[0].text, QStringLiteral("ファイル %1 は開けません").arg(missing));
    QVERIFY(CommandsEnabled());
    QVERIFY(!form_->RunInProgress());
    QCOMPARE(List()->rowCount(), 8);  // nothing changed
    // The program goes on.
    SetLabel1(Write("gone/VTS_09_2.VOB", LpcmVob()));
    form_->N1Click();
    QCOMPARE(Kind(0), kLpcmKind);
  }

  void inputDuringARunIsRefused() {
    const QString vob = Write("busy/VTS_04_1.VOB", MixedVob());
    const QString other = Write("busy/other.vob", LpcmVob());
    chooser_results_ = {other};
    SetLabel1(vob);
    bool checked = false;
    form_->on_pending_events = [&] {
      // Step 7 of the run: the list has been emptied and shown so.
      QCOMPARE(List()->rowCount(), 0);
      QCOMPARE(Status(0), QStringLiteral("処理中"));
      QVERIFY(!CommandsEnabled());
      QVERIFY(form_->RunInProgress());
      QVERIFY(!Drop(*form_, {QUrl::fromLocalFile(other)}));
      QCOMPARE(Label("Label1")->text(), vob);
      form_->Button3Click();
      QCOMPARE(chooser_calls_, 0);
      form_->N1Click();
      QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton);
      // The path is the one the run started with, whatever Label1 shows now.
      SetLabel1(other);
      checked = true;
    };
    form_->N1Click();
    QVERIFY(checked);
    QCOMPARE(form_->deepest, 1);  // no run started inside the run
    QCOMPARE(Find<QPlainTextEdit>("Memo1")->toPlainText().section(u'\n', 0, 0), vob);
    QCOMPARE(Kind(2), kAc3Kind + QStringLiteral(" "));
    QCOMPARE(form_->pending_calls, 4);  // step 7 and three publications
    QVERIFY(messages_.empty());
    QVERIFY(!form_->RunInProgress());
  }

  void rowsAppearAsTracksArePublished() {
    SetLabel1(Write("steps/VTS_05_1.VOB", MixedVob()));
    QStringList seen;
    std::function<void()> watch = [&] {
      seen << (List()->rowCount() == 8 ? Kind(0) + "|" + Kind(1) + "|" + Kind(2) : QStringLiteral("no rows"));
      form_->on_pending_events = watch;
    };
    form_->on_pending_events = watch;
    form_->N1Click();
    form_->on_pending_events = nullptr;
    // Step 7 shows the emptied list; each publication shows its track at once.
    QCOMPARE(seen.size(), 4);
    QCOMPARE(seen[0], QStringLiteral("no rows"));
    QCOMPARE(seen[1], kLpcmKind + "||");
    QCOMPARE(seen[2], kLpcmKind + "|" + kDtsKind + "|");
    QCOMPARE(seen[3], kLpcmKind + "|" + kDtsKind + "|" + kAc3Kind + " ");
  }

  void fileErrorInsideTheRunRestoresTheCommands() {
    const QString vob = Write("vanish/VTS_06_1.VOB", LpcmVob());
    SetLabel1(vob);
    form_->on_pending_events = [&] {
      QVERIFY(!CommandsEnabled());
      // The source goes away between the size probe and the read.
      QVERIFY(std::filesystem::remove(vob.toStdString()));
    };
    form_->N1Click();
    QCOMPARE(MessageTexts(), QStringList{QStringLiteral("ファイル %1 は開けません").arg(vob)});
    QCOMPARE(messages_[0].caption, QStringLiteral("Tonvika"));
    QVERIFY(CommandsEnabled());
    QCOMPARE(Status(0), QString());
    QVERIFY(!form_->RunInProgress());
  }

  void missingLanguageTableIsReported() {
    messages_.clear();
    auto form = MakeForm(dir_.File("nowhere/code.csv"));
    QCOMPARE(MessageTexts(), QStringList{QStringLiteral("code.csvが見つかりません\n言語識別は略号になります")});
    QCOMPARE(messages_[0].caption, QStringLiteral("Tonvika"));
    QCOMPARE(form->findChild<QTableWidget*>(QStringLiteral("ListView1"))->rowCount(), 8);
    // Without names the rows show the bare code.
    Write("nocsv/VTS_07_0.IFO", IfoWithLanguages({"ja"}));
    form->findChild<QLabel*>(QStringLiteral("Label1"))
        ->setText(QString::fromStdString(dir_.Write("nocsv/VTS_07_1.VOB", LpcmVob())));
    form->N1Click();
    QCOMPARE(form->Model().KindText(0), (kLpcmKind + QStringLiteral(" [ja]")).toStdString());
  }

  void unreadableLanguageTableIsReported() {
    messages_.clear();
    // A folder by the name exists but cannot be read as a file.
    const std::string folder = dir_.File("folder/code.csv");
    std::filesystem::create_directories(folder);
    auto form = MakeForm(folder);
    QCOMPARE(MessageTexts(), QStringList{QStringLiteral("ファイル %1 は開けません").arg(QString::fromStdString(folder))});
    QCOMPARE(messages_[0].caption, QStringLiteral("Tonvika"));
    QVERIFY(form->Languages().empty());
    QCOMPARE(form->findChild<QTableWidget*>(QStringLiteral("ListView1"))->rowCount(), 8);  // created all the same
  }

  void shiftJisNamedFileIsOpenedByItsBytes_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("command line") << "command line";
    QTest::newRow("drop") << "drop";
    QTest::newRow("browse") << "browse";
  }

  // A title set copied from an old Japanese system without converting the
  // names: folder テスト and files 音声_1.VOB and 音声_0.IFO in Shift-JIS bytes.
  void shiftJisNamedFileIsOpenedByItsBytes() {
    QFETCH(QString, way);
    const std::string source = TONVIKA_FIXTURES "/mixed_ac3_dts_lpcm/VIDEO_TS/";
    ScratchDir dir;
    const std::string folder = dir.File("\x83\x65\x83\x58\x83\x67");
    const std::string vob = folder + "/\x89\xb9\x90\xba_1.VOB";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(source + "VTS_01_1.VOB", vob);
    std::filesystem::copy_file(source + "VTS_01_0.IFO", folder + "/\x89\xb9\x90\xba_0.IFO");
    const QString shown = QString::fromStdString(dir.Path().string()) + QStringLiteral("/テスト/音声_1.VOB");

    // What the same title set gives under its own names.
    form_->OpenFromCommandLine(source + "VTS_01_1.VOB");
    QStringList reference;
    for (int row = 0; row < 8; ++row) reference << Kind(row);
    QVERIFY(!reference[0].isEmpty() && reference[0].endsWith(QStringLiteral("[英語] ")));
    SetLabel1({});

    if (way == u"command line") {
      form_->OpenFromCommandLine(vob);
    } else if (way == u"drop") {
      QMimeData data;
      data.setData(QStringLiteral("text/uri-list"), "file://" + QByteArray::fromStdString(vob).toPercentEncoding("/") + "\r\n");
      QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(form_.get(), &enter);
      QVERIFY(enter.isAccepted());
      QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(form_.get(), &drop);
    } else {
      // The dialog gives the name as Qt reads it, the Shift-JIS bytes lost.
      chooser_results_ = {QFile::decodeName(QByteArray::fromStdString(vob))};
      QVERIFY(chooser_results_[0].contains(QChar::ReplacementCharacter));
      form_->Button3Click();
      form_->N1Click();
    }
    QCOMPARE(MessageTexts(), QStringList());
    QCOMPARE(Label("Label1")->text(), shown);
    QStringList kinds;
    for (int row = 0; row < 8; ++row) kinds << Kind(row);
    QCOMPARE(kinds, reference);
    QCOMPARE(Status(1), QString(shown).replace(QStringLiteral("_1.VOB"), QStringLiteral("_0.IFO")));
    // The list report and the clipboard carry the name as shown.
    QCOMPARE(Find<QPlainTextEdit>("Memo1")->toPlainText().section(u'\n', 0, 0), shown);
    form_->N4Click();
    QCOMPARE(QGuiApplication::clipboard()->text().section(QStringLiteral("\r\n"), 0, 0), shown);
    // A file that is gone is reported by the name shown.
    std::filesystem::remove(vob);
    form_->N1Click();
    QCOMPARE(MessageTexts(), QStringList{QStringLiteral("ファイル %1 は開けません").arg(shown)});
  }

  void aboutBoxNamesVersionLicenseAndLink() {
    Find<QAction>("About1")->trigger();
    auto* box = form_->findChild<QDialog*>(QStringLiteral("AboutBox1"));
    QVERIFY(box != nullptr);
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("バージョン情報"));
    const auto text = [box](const char* name) { return box->findChild<QLabel*>(QLatin1String(name))->text(); };
    QCOMPARE(text("AboutName"), QStringLiteral("Tonvika 1.05"));
    QCOMPARE(text("AboutLicense"), QStringLiteral("ライセンス: GPL-3.0-or-later"));
    QVERIFY(text("AboutLink").contains(QStringLiteral("href=\"https://tonvika.example.org/\"")));
    QVERIFY(box->findChild<QLabel*>(QStringLiteral("AboutLink"))->openExternalLinks());
    box->accept();
  }

  void discOpensOnItsMainFeatureAndSwitchesTitleSets() {
    const QString image = Absolute(kDiscFixtures + "/three_title_sets.iso");
    form_->OpenFromCommandLine(image.toStdString());
    QVERIFY2(messages_.empty(), qPrintable(MessageTexts().join(u'|')));
    QCOMPARE(Label("Label1")->text(), image + ":/VIDEO_TS/VTS_02_1.VOB");
    QCOMPARE(Kind(0), QStringLiteral("DTS 768kbps 48000Hz L,C,R,SL,SR,LFE 16bit [de]"));
    QCOMPARE(Kind(1), QStringLiteral("AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [fr] "));
    QCOMPARE(Status(1), image + ":/VIDEO_TS/VTS_02_0.IFO");
    auto* menu = Find<QMenu>("TitleSetMenu");
    QVERIFY(menu->menuAction()->isEnabled());
    QStringList captions;
    for (const QAction* action : menu->actions()) captions << action->text();
    QCOMPARE(captions, (QStringList{"VTS_01 タイトル 1 (0:00:01)", "VTS_02 タイトル 2 (0:00:03) ★メイン",
                                    "VTS_03 タイトル 3 (0:00:01)"}));
    QVERIFY(Find<QAction>("Title2")->isChecked());

    Find<QAction>("Title3")->trigger();
    const QString third = image + ":/VIDEO_TS/VTS_03_1.VOB";
    QCOMPARE(Label("Label1")->text(), third);
    QCOMPARE(Kind(2), QStringLiteral("AC-3 256kbps 48000Hz 3ch(3/0) L,C,R CM [zh] "));
    QCOMPARE(Kind(3), QString());
    QCOMPARE(Status(1), image + ":/VIDEO_TS/VTS_03_0.IFO");
    QVERIFY(Find<QAction>("Title3")->isChecked() && !Find<QAction>("Title2")->isChecked());
    QCOMPARE(menu->actions().size(), 3);
    // The exports name the title set's first VOB, the list the title too.
    Find<QAction>("N3")->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(third + " (title 3)\r\n----------\r\nList\r\n"));
    Find<QAction>("N4")->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(third + "\r\n----------\r\nTr 1\r\n"));
    // 解析 runs the title set shown again.
    Find<TUpDown>("UpDown1")->SetPosition(1);
    form_->UpDown1Click();
    form_->N1Click();
    QVERIFY(messages_.empty());
    QCOMPARE(Label("Label1")->text(), third);
    QCOMPARE(Kind(2), QStringLiteral("AC-3 256kbps 48000Hz 3ch(3/0) L,C,R CM [zh] "));
    // A file afterwards leaves the disc behind.
    QVERIFY(Drop(*form_, {QUrl::fromLocalFile(Write("after_disc/VTS_01_1.VOB", LpcmVob()))}));
    QCOMPARE(Kind(0), kLpcmKind);
    QVERIFY(!menu->menuAction()->isEnabled());
    QVERIFY(menu->actions().isEmpty());
    QCOMPARE(form_->OpenDisc(), nullptr);
  }

  void discMenuListsTitlesUnderTheirTitleSets() {
    // Title set 1: a trailer (title 1) before the feature (title 2); title 3
    // plays its second stored cell first.
    const QString image = Absolute(kDiscFixtures + "/titles_by_chain.iso");
    form_->OpenFromCommandLine(image.toStdString());
    QVERIFY2(messages_.empty(), qPrintable(MessageTexts().join(u'|')));
    QStringList captions;
    for (const QAction* action : Find<QMenu>("TitleSetMenu")->actions()) captions << action->text();
    QCOMPARE(captions, (QStringList{"VTS_01 タイトル 1 (0:00:01)", "VTS_01 タイトル 2 (0:00:03) ★メイン",
                                    "VTS_02 タイトル 3 (0:00:02)"}));
    QVERIFY(Find<QAction>("Title2")->isChecked());
    QCOMPARE(Label("Label1")->text(), image + ":/VIDEO_TS/VTS_01_1.VOB");
    QCOMPARE(Kind(0), QStringLiteral("AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM [英語] "));
    QCOMPARE(Kind(1), QStringLiteral("AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [日本語] "));

    // The trailer: its own chain gives its one stream entry 1's language.
    Find<QAction>("Title1")->trigger();
    QVERIFY(messages_.empty());
    QCOMPARE(Label("Label1")->text(), image + ":/VIDEO_TS/VTS_01_1.VOB");
    QCOMPARE(Kind(0), QStringLiteral("AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [日本語] "));
    QCOMPARE(Kind(1), QString());
    QVERIFY(Find<QAction>("Title1")->isChecked() && !Find<QAction>("Title2")->isChecked());
    QCOMPARE(form_->LastOutcome().title, 1);
    Find<QAction>("N3")->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(image + ":/VIDEO_TS/VTS_01_1.VOB (title 1)\r\n"));

    Find<QAction>("Title3")->trigger();
    QCOMPARE(Label("Label1")->text(), image + ":/VIDEO_TS/VTS_02_1.VOB");
    QCOMPARE(Kind(0), QStringLiteral("AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM [英語] "));
  }

  // An image cut where title set 3's VOB begins: the switch to it fails, and
  // the window stays on title set 2 (path, menu check, list, status bar),
  // with a message in its own language and title set 3 marked in the menu.
  void aFailedSwitchLeavesTheWindowOnTheTitleSetShown() {
    const std::string whole = (kDiscFixtures + "/three_title_sets.iso").toStdString();
    const std::uint64_t cut_at = DvdReader(whole).FindInImage("VTS_03_1.VOB")->start;
    QFile source(QString::fromStdString(whole));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray head = source.read(static_cast<qint64>(cut_at));
    const QString image = Write("cut/three_title_sets.iso", Bytes(head.begin(), head.end()));
    form_->OpenFromCommandLine(image.toStdString());
    QVERIFY2(messages_.empty(), qPrintable(MessageTexts().join(u'|')));
    const QString label = Label("Label1")->text();
    const QStringList status{Status(0), Status(1)};
    const QStringList kinds{Kind(0), Kind(1)};

    Find<QAction>("Title3")->trigger();
    QCOMPARE(MessageTexts(), QStringList{QStringLiteral("ファイル %1:/VIDEO_TS/VTS_03_1.VOB (title 3) は開けません").arg(image)});
    QCOMPARE(Label("Label1")->text(), label);
    QVERIFY(Find<QAction>("Title2")->isChecked() && !Find<QAction>("Title3")->isChecked());
    QCOMPARE((QStringList{Status(0), Status(1)}), status);
    QCOMPARE((QStringList{Kind(0), Kind(1)}), kinds);
    QCOMPARE(form_->LastOutcome().title, 2);
    QVERIFY(CommandsEnabled());
    QCOMPARE(Find<QAction>("Title3")->text(), QStringLiteral("VTS_03 タイトル 3 (0:00:01) ⚠ 読めません"));
    QCOMPARE(Find<QAction>("Title2")->text(), QStringLiteral("VTS_02 タイトル 2 (0:00:03) ★メイン"));
    // 解析 runs title set 2 again, as the window shows it.
    form_->N1Click();
    QCOMPARE(messages_.size(), 1u);
    QCOMPARE(Kind(1), kinds[1]);
  }

  // A language table that names no language: the notes marker says so.
  void aTableThatNamesNoLanguageRaisesTheMarker() {
    const std::string empty = dir_.Write("empty_table/code.csv", Bytes{});
    form_ = MakeForm(empty);
    auto* marker = Find<QToolButton>("NotesMarker");
    QVERIFY(!marker->isHidden());
    QVERIFY(marker->toolTip().startsWith(QString::fromStdString(empty) + QStringLiteral(" には言語名の行がありません")));
    QVERIFY(messages_.empty());
    form_ = MakeForm(table_path_);
    QVERIFY(Find<QToolButton>("NotesMarker")->isHidden());
  }

  void droppedFolderOrImageIsTakenWhateverTheCheckBox() {
    QVERIFY(!Find<QCheckBox>("CheckBox1")->isChecked());
    const QString folder = Absolute(kDiscFixtures + "/three_title_sets");
    QVERIFY(Drop(*form_, {QUrl::fromLocalFile(folder)}));
    QCOMPARE(Label("Label1")->text(), QDir::cleanPath(folder) + "/VIDEO_TS/VTS_02_1.VOB");
    QCOMPARE(Kind(1), QStringLiteral("AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [fr] "));
    QVERIFY(Find<QMenu>("TitleSetMenu")->menuAction()->isEnabled());

    const QString not_dvd = Absolute(kDiscFixtures + "/not_a_dvd.iso");
    QVERIFY(Drop(*form_, {QUrl::fromLocalFile(not_dvd)}));
    QCOMPARE(MessageTexts(), QStringList{QStringLiteral("ファイル %1 は開けません").arg(not_dvd)});
    QCOMPARE(Label("Label1")->text(), not_dvd);
    QVERIFY(!Find<QMenu>("TitleSetMenu")->menuAction()->isEnabled());
    QVERIFY(CommandsEnabled());
  }

  void browseTakesADiscFolderAndEntersOthers() {
    auto* dialog = Find<QFileDialog>("OpenDialog1");
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDirectory(kDiscFixtures);
    dialog->show();
    dialog->selectFile(QStringLiteral("three_title_sets"));
    QMetaObject::invokeMethod(dialog, "accept");
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->selectedFiles(), QStringList{Absolute(kDiscFixtures + "/three_title_sets")});

    const QString plain = QString::fromStdString(dir_.File("plain_folder"));
    QDir().mkpath(plain + "/inside");
    dialog->setResult(0);
    dialog->show();
    dialog->setDirectory(plain);
    dialog->selectFile(QStringLiteral("inside"));
    QMetaObject::invokeMethod(dialog, "accept");
    QVERIFY(dialog->isVisible());  // entered, not taken
    QCOMPARE(QFileInfo(dialog->directory().absolutePath()).fileName(), QStringLiteral("inside"));
    dialog->reject();

    chooser_results_ = {Absolute(kDiscFixtures + "/three_title_sets")};
    form_->Button3Click();
    form_->N1Click();
    QVERIFY(Label("Label1")->text().endsWith(QStringLiteral("three_title_sets/VIDEO_TS/VTS_02_1.VOB")));
  }

  void memoEditsGoBackToTheModel() {
    QTest::keyClicks(Memo(4), QStringLiteral("abc"));
    QCOMPARE(form_->Model().PageLines(4), std::vector<std::string>{"abc"});
    QCOMPARE(Memo(4)->toPlainText(), QStringLiteral("abc"));  // the typed line is left alone
    QTest::keyClick(Memo(4), Qt::Key_Return);
    QTest::keyClicks(Memo(4), QStringLiteral("def"));
    QCOMPARE(form_->Model().PageLines(4), (std::vector<std::string>{"abc", "def"}));
  }
};

}  // namespace tonvika

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tonvika::InitialiseApplication(app);
  tonvika::MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
