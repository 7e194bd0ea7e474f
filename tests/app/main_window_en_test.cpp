// The main window on an English desktop (the test runs under LANG=en_US.UTF-8):
// every caption, menu, message and dialog in English, and nothing cut off.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "app/application_setup.h"
#include "app/main_window.h"
#include "app/window_fit.h"
#include "support/scratch_dir.h"
#include "support/stream_builder.h"

namespace tonvika {

class MainWindowEnglishTest : public QObject {
  Q_OBJECT

 private:
  testing::ScratchDir dir_;
  QStringList messages_;
  std::unique_ptr<TForm1> form_;

  template <typename T>
  T* Find(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no control %s", name);
    return child;
  }
  QString Text(const char* name) const { return Find<QLabel>(name)->text(); }
  QString Status(int panel) const {
    return Find<QStatusBar>("StatusBar1")->findChild<QLabel*>(QStringLiteral("Panel%1").arg(panel))->text();
  }

  std::unique_ptr<TForm1> MakeForm(const std::string& table_path) {
    FormOptions options;
    options.language_table_path = table_path;
    options.show_message = [this](const QString&, const QString& text) { messages_ << text; };
    options.choose_file = [](QFileDialog&) { return std::nullopt; };
    return std::make_unique<TForm1>(std::move(options));
  }

 private slots:
  void init() {
    messages_.clear();
    form_ = MakeForm(dir_.Write("table/code.csv", std::string("ja,Japanese,日本語\n")));
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void cleanup() { form_.reset(); }

  void theDesktopIsEnglish() {
    QVERIFY2(!QLocale::system().uiLanguages().constFirst().startsWith(QStringLiteral("ja")),
             "run this test under an English locale");
  }

  void captionsAndMenusAreEnglish() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Tonvika v1.05"));
    QCOMPARE(Find<QPushButton>("Button3")->text(), QStringLiteral("Browse..."));
    QCOMPARE(Find<QPushButton>("Button1")->text(), QStringLiteral("Analyse"));
    QCOMPARE(Find<QGroupBox>("RadioGroup1")->title(), QStringLiteral("Names"));
    QCOMPARE(Find<QRadioButton>("RadioGroup1Item0")->text(), QStringLiteral("Jpn."));
    QCOMPARE(Find<QRadioButton>("RadioGroup1Item1")->text(), QStringLiteral("Eng."));
    QCOMPARE(Find<QGroupBox>("GroupBox1")->title(), QStringLiteral("Read size"));
    QCOMPARE(Text("Label3"), QStringLiteral("MB"));
    QCOMPARE(Find<QCheckBox>("CheckBox1")->text(), QStringLiteral("Allow non-VOB files"));
    QCOMPARE(Text("Label7"), QStringLiteral("AC-3/DTS details"));
    QCOMPARE(Text("Label6"), QStringLiteral("No AC-3/DTS tracks"));
    QCOMPARE(Text("Label5"), QStringLiteral("The Tonvika project"));
    QCOMPARE(Text("Label4"), QStringLiteral("tonvika.example.org"));
    auto* list = Find<QTableWidget>("ListView1");
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QStringLiteral("Tr"));
    QCOMPARE(list->horizontalHeaderItem(1)->text(), QStringLiteral("Type"));
    QCOMPARE(Find<QAction>("N1")->text(), QStringLiteral("Analyse"));
    QCOMPARE(Find<QMenu>("N2")->title(), QStringLiteral("Copy"));
    QCOMPARE(Find<QAction>("N3")->text(), QStringLiteral("Track list"));
    QCOMPARE(Find<QAction>("N4")->text(), QStringLiteral("AC-3/DTS details"));
    QCOMPARE(Find<QMenu>("TitleSetMenu")->title(), QStringLiteral("Title sets"));
    QCOMPARE(Find<QMenu>("InfoMenu")->title(), QStringLiteral("Info"));
    QCOMPARE(Find<QAction>("StreamListItem")->text(), QStringLiteral("Streams…"));
    QCOMPARE(Find<QMenu>("ExtractMenu")->title(), QStringLiteral("Extract"));
    QCOMPARE(Find<QMenu>("Help1")->title(), QStringLiteral("Help"));
    QCOMPARE(Find<QAction>("About1")->text(), QStringLiteral("About"));
    form_->Button3Click();
    QCOMPARE(Find<QFileDialog>("OpenDialog1")->nameFilters(),
             (QStringList{"VOB files (*.vob)", "AC-3/DTS files (*.ac3 *.dts)", "DVD images (*.iso *.img)"}));
  }

  void discMenuAndStreamListAreEnglish() {
    form_->OpenFromCommandLine(TONVIKA_FIXTURES "/disc/three_title_sets.iso");
    QStringList captions;
    for (const QAction* action : Find<QMenu>("TitleSetMenu")->actions()) captions << action->text();
    QCOMPARE(captions, (QStringList{"VTS_01 title 1 (0:00:01)", "VTS_02 title 2 (0:00:03) ★main",
                                    "VTS_03 title 3 (0:00:01)"}));
    Find<QAction>("StreamListItem")->trigger();
    auto* dialog = form_->findChild<QDialog*>(QStringLiteral("StreamsDialog"));
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Streams"));
    dialog->close();
  }

  void nothingIsCutOff() {
    Find<QLabel>("Label1")->setText(QStringLiteral("/media/disc/VIDEO_TS/VTS_01_1.VOB"));
    form_->SetStatus(0, "処理中");
    QCOMPARE(testing::CutOffCaptions(*form_), QStringList());
    form_->SetStatus(0, "終わり");
    QCOMPARE(testing::CutOffCaptions(*form_), QStringList());
  }

  void messagesAreEnglish() {
    form_->N3Click();
    form_->N4Click();
    const std::string missing = dir_.File("gone/VTS_01_1.VOB");
    Find<QLabel>("Label1")->setText(QString::fromStdString(missing));
    form_->N1Click();
    auto without_table = MakeForm(dir_.File("nowhere/code.csv"));
    QCOMPARE(messages_, (QStringList{"The track list is empty", "No AC-3/DTS analysis results",
                                     "Cannot open the file " + QString::fromStdString(missing),
                                     "code.csv was not found\nLanguages are shown as codes"}));
  }

  void aRunReportsInEnglishButKeepsTheAnalysisTexts() {
    using namespace testing;
    Bytes vob = PrivateStream1Packet(0xA0, LpcmPayload(0x01));
    vob.resize(vob.size() + 64, 0x00);
    dir_.Write("run/VTS_01_0.IFO", IfoWithLanguages({"ja"}));
    Find<QLabel>("Label1")->setText(QString::fromStdString(dir_.Write("run/VTS_01_1.VOB", vob)));
    form_->N1Click();
    QCOMPARE(Status(0), QStringLiteral("Done"));
    // The names come from code.csv as RadioGroup1 chooses, whatever the window speaks.
    QCOMPARE(Find<QTableWidget>("ListView1")->item(0, 1)->text(),
             QStringLiteral("PCM 16bit 48000Hz stereo [日本語]"));
    QVERIFY(Text("Label6").startsWith(QStringLiteral("No ")) && Find<QLabel>("Label6")->isVisible());
  }

  void aboutBoxIsEnglish() {
    Find<QAction>("About1")->trigger();
    auto* box = form_->findChild<QDialog*>(QStringLiteral("AboutBox1"));
    QVERIFY(box != nullptr && box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("About Tonvika"));
    QCOMPARE(box->findChild<QLabel*>(QStringLiteral("AboutLicense"))->text(),
             QStringLiteral("License: GPL-3.0-or-later"));
    QCOMPARE(box->findChild<QLabel*>(QStringLiteral("AboutSummary"))->text(),
             QStringLiteral("Shows the audio tracks of DVD video files and their frame headers"));
    box->accept();
  }
};

}  // namespace tonvika

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tonvika::InitialiseApplication(app);
  tonvika::MainWindowEnglishTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_en_test.moc"
