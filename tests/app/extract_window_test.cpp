// Extraction from the window: the menu 抽出 on an analysed fixture, a
// stream written under the name the save dialog offers, all streams into
// a folder, and a cancelled run that leaves nothing behind.

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include "app/application_setup.h"
#include "app/main_window.h"
#include "support/scratch_dir.h"

namespace tonvika {
namespace {

const QString kFixtureVob = QStringLiteral(TONVIKA_FIXTURES "/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB");

// The bytes and SHA-256 ffmpeg gave for a stream of the fixture (extracted.tsv).
struct Reference {
  qint64 bytes = -1;
  QByteArray sha256;
};

Reference RecordedExtraction(const QString& stream_id) {
  QFile table(QStringLiteral(TONVIKA_FIXTURES "/extracted.tsv"));
  if (!table.open(QIODevice::ReadOnly)) qFatal("no extracted.tsv");
  while (!table.atEnd()) {
    const QList<QByteArray> cells = table.readLine().trimmed().split('\t');
    if (cells.size() >= 5 && cells[0] == "mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB" && cells[1] == stream_id) {
      return {cells[3].toLongLong(), cells[4]};
    }
  }
  return {};
}

QByteArray Sha256(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

}  // namespace

class ExtractWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<testing::ScratchDir> scratch_;
  QStringList messages_;
  std::function<std::optional<QString>(QFileDialog&)> choose_;
  std::function<void(QProgressDialog&)> watch_;

  QString Scratch() const { return QString::fromStdString(scratch_->Path().string()); }
  QMenu* Menu() const { return form_->findChild<QMenu*>(QStringLiteral("ExtractMenu")); }
  QString StatusMessage() const { return form_->findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage(); }

  void Analyse() {
    form_->findChild<QLabel*>(QStringLiteral("Label1"))->setText(kFixtureVob);
    form_->N1Click();
  }

 private slots:
  void init() {
    messages_.clear();
    choose_ = nullptr;
    watch_ = nullptr;
    scratch_ = std::make_unique<testing::ScratchDir>();
    FormOptions options;
    options.language_table_path = TONVIKA_SOURCE_DIR "/data/code.csv";
    options.show_message = [this](const QString&, const QString& text) { messages_ << text; };
    options.choose_file = [this](QFileDialog& dialog) { return choose_(dialog); };
    options.watch_progress = [this](QProgressDialog& dialog) {
      if (watch_) watch_(dialog);
    };
    form_ = std::make_unique<TForm1>(std::move(options));
  }

  void cleanup() {
    form_.reset();
    scratch_.reset();
  }

  void theMenuListsTheAnalysedStreams() {
    QCOMPARE(Menu()->title(), QStringLiteral("抽出"));
    QVERIFY(!Menu()->menuAction()->isEnabled());
    QVERIFY(Menu()->actions().isEmpty());
    Analyse();
    QVERIFY(Menu()->menuAction()->isEnabled());
    QStringList items;
    for (const QAction* action : Menu()->actions()) items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items.size(), 8);
    const char* ids[] = {"0x80 AC-3", "0x83 AC-3", "0x89 DTS", "0x8C DTS", "0xA2 LPCM", "0xA5 LPCM"};
    for (int i = 0; i < 6; ++i) QVERIFY2(items[i].startsWith(QLatin1String(ids[i])), qPrintable(items[i]));
    QCOMPARE(items.mid(6), (QStringList{"-", "すべて抽出…"}));
  }

  // The name the dialog offers, taken in another folder, over a file that
  // is there (the dialog asked): the stream as ffmpeg copies it.
  void aStreamIsWrittenUnderTheOfferedName() {
    Analyse();
    QString offered;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    choose_ = [&](QFileDialog& dialog) -> std::optional<QString> {
      mode = dialog.acceptMode();
      offered = QFileInfo(dialog.selectedFiles().value(0)).fileName();
      return Scratch() + u'/' + offered;
    };
    watch_ = [&](QProgressDialog&) { QVERIFY(!Menu()->menuAction()->isEnabled()); };
    form_->ExtractStreamClick(0x80);
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QVERIFY(offered.startsWith(QStringLiteral("VTS_01_1 T80 ")));
    QVERIFY(offered.endsWith(QStringLiteral(".ac3")));
    const QString written = Scratch() + u'/' + offered;
    const Reference reference = RecordedExtraction(QStringLiteral("0x80"));
    QCOMPARE(QFileInfo(written).size(), reference.bytes);
    QCOMPARE(Sha256(written), reference.sha256);
    QCOMPARE(StatusMessage(), QStringLiteral("抽出しました: ") + offered);
    QVERIFY(messages_.isEmpty());
    QVERIFY(Menu()->menuAction()->isEnabled());

    // Again onto the file now there: replaced, as the dialog confirmed.
    QFile::resize(written, 10);
    form_->ExtractStreamClick(0x80);
    QCOMPARE(QFileInfo(written).size(), reference.bytes);
  }

  void allStreamsGoIntoTheFolder() {
    Analyse();
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    choose_ = [&](QFileDialog& dialog) -> std::optional<QString> {
      mode = dialog.fileMode();
      return Scratch();
    };
    form_->findChild<QAction*>(QStringLiteral("ExtractAllItem"))->trigger();
    QCOMPARE(mode, QFileDialog::Directory);
    const QStringList files = QDir(Scratch()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 6);
    for (const QString id : {"0x80", "0x83", "0x89", "0x8C"}) {
      const QStringList named = files.filter(QStringLiteral(" T%1 ").arg(id.mid(2)));
      QCOMPARE(named.size(), 1);
      QCOMPARE(Sha256(Scratch() + u'/' + named[0]), RecordedExtraction(id).sha256);
    }
    QCOMPARE(files.filter(QStringLiteral(".wav")).size(), 2);  // LPCM
    QCOMPARE(StatusMessage(), QStringLiteral("6個のファイルを抽出しました: ") + Scratch());
    // Files already there are refused rather than replaced.
    form_->findChild<QAction*>(QStringLiteral("ExtractAllItem"))->trigger();
    QVERIFY(StatusMessage().startsWith(QStringLiteral("抽出できませんでした: VTS_01_1 T80 ")));
    QCOMPARE(messages_.size(), 1);
  }

  void cancellingLeavesNoFile() {
    Analyse();
    choose_ = [&](QFileDialog& dialog) -> std::optional<QString> {
      return Scratch() + u'/' + QFileInfo(dialog.selectedFiles().value(0)).fileName();
    };
    watch_ = [](QProgressDialog& dialog) { dialog.findChild<QPushButton*>()->click(); };
    form_->ExtractStreamClick(0x89);
    QCOMPARE(QDir(Scratch()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(StatusMessage(), QStringLiteral("抽出を取り消しました"));
    QVERIFY(!form_->RunInProgress());
    QVERIFY(Menu()->menuAction()->isEnabled());
  }
};

}  // namespace tonvika

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tonvika::InitialiseApplication(app);
  tonvika::ExtractWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "extract_window_test.moc"
