// Extraction in the window: the menu 抽出 and the track list's context
// menu choose a stream of the last run, a save dialog (or a folder dialog
// for all of them) the file, and the core writes it while a progress
// dialog offers to cancel; the result goes to the status bar.

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTableWidget>
#include <filesystem>

#include "analysis/vob_file_source.h"
#include "app/extraction_texts.h"
#include "app/file_names.h"
#include "app/flag_scope.h"
#include "app/main_window.h"
#include "app/window_texts.h"
#include "extract/source_files.h"
#include "io/file_error.h"

namespace tonvika {

namespace {

constexpr int kResultShownMs = 15000;
// A short extraction ends before its progress dialog would flash up.
constexpr int kProgressDelayMs = 400;

}  // namespace

void TForm1::BuildExtractMenu() {
  ExtractMenu = MainMenu1->addMenu(tr("抽出"));
  ExtractMenu->setObjectName(QStringLiteral("ExtractMenu"));
  // Filled again as it opens: the languages follow 言語表示.
  connect(ExtractMenu, &QMenu::aboutToShow, this, &TForm1::FillExtractMenu);
  FillExtractMenu();
}

void TForm1::ConnectExtraction() {
  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ListView1, &QWidget::customContextMenuRequested, this, &TForm1::ListView1ContextPopup);
  // The result is shown over the two panels, whose texts stay as the run left them.
  connect(StatusBar1, &QStatusBar::messageChanged, this, [this](const QString& message) {
    for (QLabel* panel : status_panels_) panel->setVisible(message.isEmpty());
  });
}

std::vector<PlannedStream> TForm1::ExtractableStreamsShown() const {
  if (last_outcome_.title_set) {
    if (!disc_) return {};  // the disc was closed since
    return ExtractableStreams(last_outcome_,
                              DiscBase(disc_->Source(), disc_kind_, *last_outcome_.title_set, last_outcome_.title));
  }
  if (last_path_.empty()) return {};
  return ExtractableStreams(last_outcome_, FileBase(last_path_));
}

void TForm1::FillExtractMenu() {
  ExtractMenu->clear();
  for (const PlannedStream& stream : ExtractableStreamsShown()) {
    const int key = stream.name.key;
    const std::string language = LookupLanguageName(languages_, stream.name.language, Language());
    QAction* item = ExtractMenu->addAction(ExtractionTexts::StreamItem(stream, language));
    item->setObjectName(QStringLiteral("ExtractStream%1").arg(QString::fromStdString(StreamIdText(key))));
    connect(item, &QAction::triggered, this, [this, key] { ExtractStreamClick(key); });
  }
  if (!ExtractMenu->isEmpty()) {
    ExtractMenu->addSeparator();
    QAction* all = ExtractMenu->addAction(tr("すべて抽出…"));
    all->setObjectName(QStringLiteral("ExtractAllItem"));
    connect(all, &QAction::triggered, this, &TForm1::ExtractAllClick);
  }
  EnableExtractMenu();
}

void TForm1::EnableExtractMenu() {
  ExtractMenu->menuAction()->setEnabled(!run_in_progress_ && !ExtractMenu->isEmpty());
}

const AudioStream* TForm1::StreamInSlot(int slot) const {
  for (const AudioStream& stream : last_outcome_.streams) {
    if (stream.slot == slot) return &stream;
  }
  return nullptr;
}

void TForm1::ListView1ContextPopup(const QPoint& where) {
  const AudioStream* stream = StreamInSlot(ListView1->rowAt(where.y()));
  if (run_in_progress_ || stream == nullptr) return;  // a row without a track has no menu
  std::optional<int> key;
  for (const PlannedStream& planned : ExtractableStreamsShown()) {
    if (stream->stream_id == planned.name.key) key = planned.name.key;
  }
  QMenu menu(this);
  QAction* item = menu.addAction(tr("抽出…"));
  item->setEnabled(key.has_value());  // a raw file's track is one already
  if (menu.exec(ListView1->viewport()->mapToGlobal(where)) == item && key) ExtractStreamClick(*key);
}

QString TForm1::ExtractionFolder() const {
  if (!extract_folder_.isEmpty()) return extract_folder_;
  // A VOB copied to disk: its file goes beside it; a disc's, home.
  if (!last_outcome_.title_set) {
    const QFileInfo folder(QFile::decodeName(std::filesystem::path(last_path_).parent_path().string().c_str()));
    if (folder.isDir() && folder.isWritable()) return folder.absoluteFilePath();
  }
  return QDir::homePath();
}

void TForm1::ExtractStreamClick(int key, QWidget* dialog_parent) {
  if (run_in_progress_) return;
  ExtractionJob job;
  for (const PlannedStream& stream : ExtractableStreamsShown()) {
    if (stream.name.key == key) job.streams = {stream};
  }
  if (job.streams.empty()) return;
  QFileDialog dialog(dialog_parent != nullptr ? dialog_parent : this, tr("ストリームの保存先"));
  dialog.setObjectName(QStringLiteral("ExtractSaveDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDirectory(ExtractionFolder());
  dialog.selectFile(DisplayName(PlannedPath(job, 0)));
  const std::optional<QString> chosen = ChooseFile(dialog);
  if (!chosen) return;
  extract_folder_ = QFileInfo(*chosen).absolutePath();
  job.paths = {FileNameBytes(*chosen)};  // as the user left it, the extension too
  // The dialog asked before it took a file that is there.
  job.replace = QFileInfo::exists(*chosen);
  RunExtraction(std::move(job), QFileInfo(*chosen).fileName(), dialog_parent);
}

void TForm1::ExtractAllClick() {
  if (run_in_progress_) return;
  ExtractionJob job;
  job.streams = ExtractableStreamsShown();
  if (job.streams.empty()) return;
  QFileDialog dialog(this, tr("抽出先のフォルダ"));
  dialog.setObjectName(QStringLiteral("ExtractFolderDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setDirectory(ExtractionFolder());
  const std::optional<QString> chosen = ChooseFile(dialog);
  if (!chosen) return;
  extract_folder_ = QFileInfo(*chosen).absoluteFilePath();
  job.folder = FileNameBytes(*chosen);  // files already there are refused, not replaced
  RunExtraction(std::move(job), QDir::toNativeSeparators(*chosen), nullptr);
}

std::unique_ptr<VideoObjectSource> TForm1::OpenExtractionSource() const {
  if (!last_outcome_.title_set) return std::make_unique<VobFileSource>(last_path_);
  if (last_outcome_.title) return disc_->OpenTitle(*last_outcome_.title);
  return disc_->OpenTitleSet(*last_outcome_.title_set);
}

std::vector<std::string> TForm1::ExtractionSourceFiles() const {
  if (!last_outcome_.title_set) return SourceFiles(last_path_, SourceKind::File);
  return SourceFiles(disc_->Source(), disc_kind_);
}

void TForm1::RunExtraction(ExtractionJob job, const QString& target, QWidget* dialog_parent) {
  job.protected_files = ExtractionSourceFiles();
  ExtractionResult result;
  {
    FlagScope running(run_in_progress_);  // no analysis, no second extraction meanwhile
    EnableExtractMenu();
    try {
      // The source outlives its reader.
      const std::unique_ptr<VideoObjectSource> source = OpenExtractionSource();
      const std::unique_ptr<StreamReader> reader = source->OpenStream();
      if (reader) {
        result = RunWithProgress(job, *reader, target, dialog_parent);
      } else {
        result.failed_path = last_outcome_.title_set ? disc_->Source() : last_path_;
        result.reason = "cannot be read whole";
      }
    } catch (const FileError& e) {
      result.failed_path = e.path();
      result.reason = e.reason();
    }
  }
  EnableExtractMenu();
  ShowExtractionResult(result, job);
}

ExtractionResult TForm1::RunWithProgress(const ExtractionJob& job, StreamReader& reader, const QString& target,
                                         QWidget* dialog_parent) {
  ExtractionProgress progress;
  QProgressDialog dialog(tr("抽出しています: %1").arg(target), tr("キャンセル"), 0, ExtractionProgress::kSteps,
                         dialog_parent != nullptr ? dialog_parent : this);
  dialog.setObjectName(QStringLiteral("ExtractProgress"));
  dialog.setWindowTitle(tr("抽出"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setAutoReset(false);
  dialog.setAutoClose(false);
  dialog.setMinimumDuration(kProgressDelayMs);
  connect(&progress, &ExtractionProgress::Advanced, &dialog, &QProgressDialog::setValue);
  connect(&dialog, &QProgressDialog::canceled, &dialog, [&progress] { progress.Cancel(); });
  dialog.setValue(0);
  if (options_.watch_progress) options_.watch_progress(dialog);
  return RunExtractionInWorker(job, reader, progress);
}

void TForm1::ShowExtractionResult(const ExtractionResult& result, const ExtractionJob& job) {
  const bool english = WindowSpeaksEnglish();
  StatusBar1->showMessage(ExtractionTexts::Status(result, job, english), kResultShownMs);
  // The core's reasons are English: only an English window shows them.
  if (result.ending == ExtractionResult::Ending::Failed) {
    ShowMessage(ExtractionTexts::Status(result, job, false), english ? QString::fromStdString(result.reason) : QString());
  }
  const QStringList warnings = ExtractionTexts::Warnings(result.outcome, english);
  if (!warnings.isEmpty()) ShowMessage(warnings.join(u'\n'));
}

}  // namespace tonvika
