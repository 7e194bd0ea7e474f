#pragma once
// The main window: the controls the user sees, bound to the TrackSlots model
// the analysis run fills. The window holds no analysis of its own.

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "view/window_run.h"
#include "app/extraction_runner.h"
#include "extract/extraction_job.h"
#include "analysis/disc.h"
#include "view/track_slots.h"
#include "lang/language_table.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace tonvika {

class TUpDown;

// Shows one user message (a box with a single OK button, captioned with the
// application title). Injectable so that tests can read the messages.
using MessageSink = std::function<void(const QString& caption, const QString& text)>;
// Lets the user pick a file in the prepared dialog; nullopt when cancelled.
using FileChooser = std::function<std::optional<QString>(QFileDialog& dialog)>;
// Sees the progress dialog of an extraction once it is set up, before the
// worker starts.
using ProgressWatcher = std::function<void(QProgressDialog& dialog)>;

struct FormOptions {
  std::string language_table_path;  // empty: code.csv beside the program
  MessageSink show_message;         // empty: a modal message box
  FileChooser choose_file;          // empty: the dialog runs modally (browse, save, folder)
  ProgressWatcher watch_progress;   // empty: nothing watches
};

class TForm1 : public QMainWindow, public RunHost {
  Q_OBJECT

 public:
  explicit TForm1(FormOptions options = {}, QWidget* parent = nullptr);
  ~TForm1() override;

  // Handlers, named after control and event.
  void Button3Click();
  void UpDown1Click();
  void N1Click();
  void N3Click();
  void N4Click();
  void About1Click();
  void StreamListItemClick();  // the stream list of the last run
  // Extraction (main_window_extract.cpp): one stream of the last run into
  // a file chosen in a save dialog, or all of them into a chosen folder;
  // dialogs open over `dialog_parent` (nullptr: the window).
  void ExtractStreamClick(int key, QWidget* dialog_parent = nullptr);
  void ExtractAllClick();
  // The streams of the last run that can be taken out, named as their files.
  std::vector<PlannedStream> ExtractableStreamsShown() const;
  void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

  // A file named on the command line (its bytes): shown in Label1 and
  // analysed once.
  void OpenFromCommandLine(const std::string& path);

  // A title set chosen in the menu タイトルセット (one no title plays from):
  // shown in Label1 and analysed, through its longest title if it has one.
  void TitleSetChosen(int number);
  // A title chosen in the menu: its title set shown in Label1, the title analysed.
  void TitleChosen(int title);
  // The disc whose title set Label1 shows, or nullptr.
  const Disc* OpenDisc() const { return disc_.get(); }

  // An analysis or an extraction.
  bool RunInProgress() const { return run_in_progress_; }
  const TrackSlots& Model() const { return slots_; }
  const AnalysisReport& LastOutcome() const { return last_outcome_; }

  // What the analysis run needs of the window.
  std::string FilePath() override;
  int ReadSizeMegabytes() override;
  DisplayLanguage Language() override;
  const LanguageTable& Languages() override { return languages_; }
  TrackSlots& Slots() override { return slots_; }
  void SetStatus(int panel, const std::string& text) override;
  void SetCommandsEnabled(bool enabled) override;
  void ProcessPendingEvents() override;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void BuildControls();
  void BuildMenu();
  void BuildHelpMenu();
  void BuildStatusBar(QWidget* client);
  void BuildPages(QWidget* client);
  void PlaceControls();
  void SetTabOrder();
  void LoadLanguages();
  void ConnectHandlers();
  void BuildStreamsMenu();
  void BuildNotesMarker();
  void PlaceNotesMarker();
  void ShowRunNotes();

  void DropFile(const std::string& path);
  // Label1 shows the name of `path`; the run opens its exact bytes.
  void SetFileName(const std::string& path);
  std::string Label1FileBytes() const;
  // Runs the analysis and reports its error; false when it failed, after
  // `undo_on_failure` put back what the window showed before.
  bool RunGuarded(const std::function<void()>& undo_on_failure = nullptr);
  void ShowMessage(const QString& text, const QString& detail = {});
  std::optional<QString> ChooseFile(QFileDialog& dialog);

  // Extraction (main_window_extract.cpp).
  void BuildExtractMenu();
  void ConnectExtraction();
  void FillExtractMenu();  // never from one of its own items, which it deletes
  void EnableExtractMenu();
  void ListView1ContextPopup(const QPoint& where);
  const AudioStream* StreamInSlot(int slot) const;
  void RunExtraction(ExtractionJob job, const QString& target, QWidget* dialog_parent);
  ExtractionResult RunWithProgress(const ExtractionJob& job, StreamReader& reader, const QString& target,
                                   QWidget* dialog_parent);
  void ShowExtractionResult(const ExtractionResult& result, const ExtractionJob& job);
  std::unique_ptr<VideoObjectSource> OpenExtractionSource() const;
  std::vector<std::string> ExtractionSourceFiles() const;
  QString ExtractionFolder() const;

  // Whole discs (main_window_disc.cpp).
  AnalysisReport RunSource();  // the file or disc title set named in Label1
  AnalysisReport AnalyseTitleSet();  // the disc's title set shown, through the title chosen
  // Title set `number` through `title` (nothing: as its VOBs store it).
  void ShowTitleSet(int number, std::optional<int> title);
  // Analyses another title or title set of the disc; when that fails, the
  // window stays on the one it showed.
  void SwitchTitle(int number, std::optional<int> title);
  // Marks the title set's entries of the menu タイトルセット as unreadable.
  void MarkTitleSetDamaged(int number);
  void ForgetDisc();
  void BuildTitleSetMenu();
  void RefreshTitleSetMenu();

  void RefreshFromModel();
  void RefreshRows();
  void RefreshPages();
  void PageEdited(int slot);

  FormOptions options_;
  TrackSlots slots_;
  LanguageTable languages_;
  QString table_warning_;           // the language table names no language: shown by the notes marker
  bool run_in_progress_ = false;
  std::string run_path_;            // Label1 as it was when the run started
  std::string file_bytes_;          // the file Label1 names, while it shows file_shown_
  QString file_shown_;
  bool refreshing_ = false;         // the window itself is writing the memos
  const QEvent* handled_key_ = nullptr;  // a key press already seen on its way up
  std::array<std::string, kSlotCount> page_text_shown_;
  AnalysisReport last_outcome_;  // of the last run that changed the window
  std::string last_path_;    // the file it analysed
  std::unique_ptr<Disc> disc_;  // the disc of the title set in Label1
  int disc_title_set_ = 0;
  std::optional<int> disc_title_;  // the title it is analysed through
  std::string disc_label_;      // what Label1 shows for that title set
  std::set<int> damaged_title_sets_;  // marked in the menu: unreadable, or read short
  SourceKind disc_kind_ = SourceKind::Folder;
  QString extract_folder_;      // where the last save or folder dialog was left

  QMenuBar* MainMenu1 = nullptr;
  QAction* N1 = nullptr;
  QMenu* N2 = nullptr;
  QAction* N3 = nullptr;
  QAction* N4 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* About1 = nullptr;
  QMenu* InfoMenu = nullptr;
  QAction* StreamListItem = nullptr;
  QMenu* ExtractMenu = nullptr;  // 抽出, after 情報
  QMenu* TitleSetMenu = nullptr;  // タイトルセット, after N2
  QActionGroup* title_set_actions_ = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* Button3 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QButtonGroup* RadioGroup1Items = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLabel* Label2 = nullptr;
  TUpDown* UpDown1 = nullptr;
  QLabel* Label3 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QLabel* Label8 = nullptr;
  QPushButton* Button1 = nullptr;
  QTableWidget* ListView1 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label6 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  std::array<QPlainTextEdit*, kSlotCount> detail_memos_{};  // Memo2 .. Memo9, by slot
  QLabel* Label5 = nullptr;
  QLabel* Label4 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 2> status_panels_{};
  QToolButton* NotesMarker = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPlainTextEdit* code = nullptr;
  QFileDialog* OpenDialog1 = nullptr;
};

}  // namespace tonvika
