// The window's view of what the information file declares: the notes
// marker in the status bar and the stream list, on the fixture title sets.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/application_setup.h"
#include "app/main_window.h"

namespace tonvika {
namespace {

const QString kFixtures = QStringLiteral(TONVIKA_FIXTURES);

QString FixtureVob(const char* folder) { return kFixtures + QStringLiteral("/declared/%1/VIDEO_TS/VTS_01_1.VOB").arg(QLatin1String(folder)); }

// Records whether the stream list could be opened while the run lets events through.
class WatchedForm : public TForm1 {
 public:
  explicit WatchedForm(FormOptions options) : TForm1(std::move(options)) {}
  bool info_enabled_during_run = false;
  void ProcessPendingEvents() override {
    TForm1::ProcessPendingEvents();
    auto* menu = findChild<QMenu*>(QStringLiteral("InfoMenu"));
    info_enabled_during_run = info_enabled_during_run || menu->menuAction()->isEnabled();
  }
};

}  // namespace

class StreamsWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WatchedForm> form_;
  QStringList messages_;

  template <typename T>
  T* Find(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no control %s", name);
    return child;
  }
  QToolButton* Marker() const { return Find<QToolButton>("NotesMarker"); }
  QLabel* Panel(int n) const {
    return Find<QStatusBar>("StatusBar1")->findChild<QLabel*>(QStringLiteral("Panel%1").arg(n));
  }

  void Analyse(const QString& path) {
    Find<QLabel>("Label1")->setText(path);
    form_->N1Click();
  }

  // Opens the stream list from the menu and hands it over.
  QDialog* OpenStreamList() {
    Find<QAction>("StreamListItem")->trigger();
    auto* dialog = form_->findChild<QDialog*>(QStringLiteral("StreamsDialog"));
    if (dialog == nullptr) qFatal("no stream list");
    return dialog;
  }

  static QStringList Row(QTableWidget* table, int row) {
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c) cells << table->item(row, c)->text();
    return cells;
  }

 private slots:
  void init() {
    messages_.clear();
    FormOptions options;
    options.language_table_path = TONVIKA_SOURCE_DIR "/data/code.csv";
    options.show_message = [this](const QString&, const QString& text) { messages_ << text; };
    form_ = std::make_unique<WatchedForm>(std::move(options));
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void cleanup() { form_.reset(); }

  void theMenuFollowsTheLayoutsTwo() {
    const QList<QAction*> top = form_->menuBar()->actions();
    QCOMPARE(top.size(), 6);  // after 解析, クリップボード出力 and タイトルセット; 抽出, then ヘルプ last
    QCOMPARE(top[3], Find<QMenu>("InfoMenu")->menuAction());
    QCOMPARE(top[4], Find<QMenu>("ExtractMenu")->menuAction());
    QCOMPARE(Find<QMenu>("InfoMenu")->title(), QStringLiteral("情報"));
    QCOMPARE(Find<QAction>("StreamListItem")->text(), QStringLiteral("ストリーム一覧…"));
    QVERIFY(!Marker()->isVisible());
    QCOMPARE(Marker()->focusPolicy(), Qt::NoFocus);
  }

  void hiddenStreamsRaiseTheMarker() {
    Analyse(FixtureVob("per_kind_numbers"));
    QVERIFY(messages_.isEmpty());
    QVERIFY(!form_->info_enabled_during_run);
    QVERIFY(Find<QMenu>("InfoMenu")->menuAction()->isEnabled());
    QVERIFY(Marker()->isVisible());
    const QStringList tip = Marker()->toolTip().split(u'\n');
    QCOMPARE(tip.size(), 6);
    QCOMPARE(tip[0], QStringLiteral("ストリームの注記: 5件"));
    QCOMPARE(tip[1], QStringLiteral("sub-stream 0x80 (AC-3, 14 packets) is not listed: its slot, Tr1, holds the DTS "
                                    "track of sub-stream 0x88"));
    // The marker lies in panel 1, whose place is the layout's.
    QCOMPARE(Panel(0)->geometry(), QRect(0, 2, 50, 20));
    QCOMPARE(Panel(1)->geometry(), QRect(52, 2, 430, 20));
    QCOMPARE(Marker()->parentWidget(), Panel(1));
    QVERIFY(Panel(1)->rect().contains(Marker()->geometry()));
    QCOMPARE(Marker()->geometry().right(), Panel(1)->width() - 2);
  }

  void theStreamListShowsDeclaredBesideFound() {
    Analyse(FixtureVob("per_kind_numbers"));
    QDialog* dialog = OpenStreamList();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("ストリーム一覧"));
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("StreamsTable"));
    QCOMPARE(table->rowCount(), 8);
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("IFOの宣言"));
    QCOMPARE(Row(table, 0), (QStringList{"1", "AC-3 6ch 48000Hz en", "0x80", "なし"}));
    QCOMPARE(Row(table, 2), (QStringList{"3", "DTS 6ch 48000Hz fr", "0x88",
                                         "Tr1 DTS 768kbps 48000Hz L,C,R,SL,SR,LFE 16bit [フランス語]"}));
    QCOMPARE(Row(table, 3), (QStringList{"4", "AC-3 2ch 48000Hz ja", "0x81",
                                         "Tr2 AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [日本語]"}));
    QCOMPARE(Row(table, 7), (QStringList{"8", "DTS 6ch 48000Hz it", "0x8A", "なし"}));
    const QStringList notes =
        dialog->findChild<QPlainTextEdit*>(QStringLiteral("StreamsNotes"))->toPlainText().split(u'\n');
    QCOMPARE(notes.size(), 5);
    QVERIFY(notes[0].startsWith(QStringLiteral("[slot-taken] sub-stream 0x80 ")));
    QVERIFY(notes[4].startsWith(QStringLiteral("[slot-taken] sub-stream 0xA1 ")));
    const QString source = dialog->findChild<QLabel*>(QStringLiteral("StreamsSource"))->text();
    QVERIFY(source.startsWith(FixtureVob("per_kind_numbers") + u'\n'));
    QVERIFY(source.endsWith(QStringLiteral("VTS_01_0.IFO")));
    dialog->reject();
  }

  void aCleanTitleSetLowersTheMarker() {
    Analyse(FixtureVob("scrambled"));
    QVERIFY(Marker()->isVisible());
    QVERIFY(Marker()->toolTip().contains(QStringLiteral("sub-stream 0x87: 4 packets of 4 skipped")));
    Analyse(FixtureVob("swapped_streams"));
    QVERIFY(!Marker()->isVisible());
    QDialog* dialog = OpenStreamList();
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("StreamsTable"));
    QCOMPARE(table->rowCount(), 2);
    // Entry 1 [en] plays stream 1: it stands beside row 2.
    QCOMPARE(Row(table, 0), (QStringList{"1", "AC-3 2ch 48000Hz en", "0x81",
                                         "Tr2 AC-3 384kbps 48000Hz 2ch(2/0) L,R CM [英語]"}));
    QCOMPARE(Row(table, 1), (QStringList{"2", "AC-3 2ch 48000Hz ja", "0x80",
                                         "Tr1 AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [日本語]"}));
    QCOMPARE(dialog->findChild<QPlainTextEdit*>(QStringLiteral("StreamsNotes"))->toPlainText(),
             QStringLiteral("注記はありません"));
    dialog->reject();
  }

  // MPEG audio has no row in the list; the stream list shows it beside the
  // listed track, with its delay, and the marker says it is not listed.
  void everyAudioStreamIsInTheStreamList() {
    Analyse(kFixtures + QStringLiteral("/mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB"));
    QVERIFY(Marker()->isVisible());
    QVERIFY(Marker()->toolTip().contains(QStringLiteral("MPEG audio stream 0xC0 (MPEG-1 Layer II")));
    QDialog* dialog = OpenStreamList();
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("AudioStreamsTable"));
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->horizontalHeaderItem(9)->text(), QStringLiteral("遅延"));
    const QStringList ac3 = Row(table, 0);
    QCOMPARE(ac3.mid(0, 5), (QStringList{"0x80", "AC-3", "192kbps 48000Hz 2ch(2/0) L,R CM", "英語", "5"}));
    QCOMPARE(ac3.mid(7), (QStringList{"0", "0", "-5 ms", "Tr1", "なし"}));
    const QStringList mpeg = Row(table, 1);
    QCOMPARE(mpeg.mid(0, 5), (QStringList{"0xC0", "MPEG audio", "MPEG-1 Layer II 224kbps 48000Hz 2ch stereo", "ドイツ語", "6"}));
    QCOMPARE(mpeg.mid(7), (QStringList{"-", "0", "-10 ms", "一覧になし", "なし"}));
    dialog->reject();
  }

  // A header change and failing CRCs raise the marker; the list shows the
  // frames, and the change with its time in the cell's tooltip.
  void changesAndDamagedFramesAreShown() {
    Analyse(kFixtures + QStringLiteral("/frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB"));
    QVERIFY(Marker()->isVisible());
    QVERIFY(Marker()->toolTip().contains(
        QStringLiteral("sub-stream 0x80 changes at 0:00:02.016 from 2/0 192 kb/s to 3/2+LFE 448 kb/s")));
    QDialog* dialog = OpenStreamList();
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("AudioStreamsTable"));
    QCOMPARE(table->item(0, 5)->text(), QStringLiteral("67"));
    QCOMPARE(table->item(0, 11)->text(), QStringLiteral("1回"));
    QCOMPARE(table->item(0, 11)->toolTip(), QStringLiteral("frame 63 at 0:00:02.016 (PTS 230040): 3/2+LFE 448 kb/s"));
    dialog->reject();
    Analyse(kFixtures + QStringLiteral("/frames/ac3_damaged/VIDEO_TS/VTS_01_1.VOB"));
    QVERIFY(Marker()->toolTip().contains(QStringLiteral("sub-stream 0x80: 10 of 26 frames fail their CRC")));
  }

  void aFileErrorClearsTheNotes() {
    Analyse(FixtureVob("per_kind_numbers"));
    QVERIFY(Marker()->isVisible());
    Analyse(kFixtures + QStringLiteral("/declared/no such file.vob"));
    QCOMPARE(messages_.size(), 1);
    QVERIFY(!Marker()->isVisible());
  }
};

}  // namespace tonvika

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tonvika::InitialiseApplication(app);
  tonvika::StreamsWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "streams_window_test.moc"
