// Whole discs in the window: a folder, image or drive named in Label1 is
// opened on its main feature (the longest title); the menu タイトルセット
// lists its titles under their title sets, marks those found damaged, and
// runs the one chosen.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>

#include "app/main_window.h"
#include "analysis/short_read.h"
#include "app/title_set_menu.h"
#include "io/disc_source.h"
#include "io/file_error.h"

namespace tonvika {

namespace {

// Menu entries are told apart by their data: a title's number, or minus the
// number of a title set no title plays from.
int MenuKey(int title_set, std::optional<int> title) { return title ? *title : -title_set; }

}  // namespace

AnalysisReport TForm1::RunSource() {
  // run_path_ is Label1 as the run started.
  if (disc_ && run_path_ == disc_label_) return AnalyseTitleSet();
  ForgetDisc();
  const SourceKind kind = run_path_.empty() ? SourceKind::File : RecogniseSource(run_path_);
  if (kind == SourceKind::File) return RunAnalysis(*this);
  disc_ = std::make_unique<Disc>(run_path_, kind);  // throws FileError for the source
  disc_kind_ = kind;
  BuildTitleSetMenu();
  const int main = disc_->MainFeature();
  ShowTitleSet(main, disc_->Find(main)->longest_title);
  return AnalyseTitleSet();
}

AnalysisReport TForm1::AnalyseTitleSet() {
  try {
    const std::unique_ptr<VideoObjectSource> source =
        disc_title_ ? disc_->OpenTitle(*disc_title_) : disc_->OpenTitleSet(disc_title_set_);
    AnalysisReport report = AnalyseVideoObject(*this, TitleLabel(*disc_->Find(disc_title_set_), disc_title_), *source);
    report.title_set = disc_title_set_;
    report.title = disc_title_;
    if (ReadShort(report.notes)) MarkTitleSetDamaged(disc_title_set_);
    return report;
  } catch (const FileError&) {
    MarkTitleSetDamaged(disc_title_set_);
    throw;
  }
}

void TForm1::ShowTitleSet(int number, std::optional<int> title) {
  disc_title_set_ = number;
  disc_title_ = title;
  disc_label_ = disc_->Find(number)->paths.vob;
  // The title set's first VOB stands for it: Label1 and the details export
  // name it.
  SetFileName(disc_label_);
  run_path_ = disc_label_;
  const int key = MenuKey(number, title);
  for (QAction* action : TitleSetMenu->actions()) action->setChecked(action->data().toInt() == key);
}

void TForm1::TitleSetChosen(int number) {
  if (run_in_progress_ || !disc_ || disc_->Find(number) == nullptr) return;
  SwitchTitle(number, disc_->Find(number)->longest_title);
}

void TForm1::TitleChosen(int title) {
  if (run_in_progress_ || !disc_) return;
  const DiscTitle* chosen = disc_->FindTitle(title);
  if (chosen == nullptr || disc_->Find(chosen->title_set) == nullptr) return;
  SwitchTitle(chosen->title_set, title);
}

void TForm1::SwitchTitle(int number, std::optional<int> title) {
  // What the window shows now, put back whole if the other title set fails
  // (its run may have begun to clear the list).
  const int shown_set = disc_title_set_;
  const std::optional<int> shown_title = disc_title_;
  const TrackSlots shown_slots = slots_;
  const AnalysisReport shown_outcome = last_outcome_;
  const std::string shown_path = last_path_;
  const std::array<QString, 2> shown_status{status_panels_[0]->text(), status_panels_[1]->text()};
  ShowTitleSet(number, title);
  RunGuarded([&] {
    ShowTitleSet(shown_set, shown_title);
    slots_ = shown_slots;
    last_outcome_ = shown_outcome;
    last_path_ = shown_path;
    for (std::size_t panel = 0; panel < shown_status.size(); ++panel) status_panels_[panel]->setText(shown_status[panel]);
  });
}

void TForm1::MarkTitleSetDamaged(int number) {
  if (!damaged_title_sets_.insert(number).second) return;
  for (QAction* action : TitleSetMenu->actions()) {
    const int key = action->data().toInt();
    const DiscTitle* title = key > 0 ? disc_->FindTitle(key) : nullptr;
    const int title_set = title != nullptr ? title->title_set : -key;
    if (title_set == number) action->setText(DamagedCaption(action->text()));
  }
}

void TForm1::ForgetDisc() {
  disc_.reset();
  damaged_title_sets_.clear();
  disc_title_set_ = 0;
  disc_title_.reset();
  disc_label_.clear();
  BuildTitleSetMenu();
  FillExtractMenu();  // its streams were read from the disc
}

// Called only when the disc changes, never from one of the menu's own
// actions, which clearing the menu deletes.
void TForm1::BuildTitleSetMenu() {
  TitleSetMenu->clear();
  delete title_set_actions_;
  title_set_actions_ = nullptr;
  RefreshTitleSetMenu();
  if (!disc_) return;
  title_set_actions_ = new QActionGroup(TitleSetMenu);  // owned by the menu
  const auto add = [this](const QString& caption, const QString& name, int key) {
    QAction* action = TitleSetMenu->addAction(caption);
    action->setObjectName(name);
    action->setData(key);
    action->setCheckable(true);
    title_set_actions_->addAction(action);
    return action;
  };
  for (const TitleSet& set : disc_->TitleSets()) {
    const int number = set.number;
    if (!set.longest_title) {
      QAction* action = add(TitleSetCaption(number, set.longest_title_s, set.main_feature),
                            QStringLiteral("TitleSet%1").arg(number), MenuKey(number, std::nullopt));
      connect(action, &QAction::triggered, this, [this, number] { TitleSetChosen(number); });
      continue;
    }
    for (const DiscTitle& title : disc_->Titles()) {
      if (title.title_set != number) continue;
      const bool main = set.main_feature && set.longest_title == title.number;
      const int chosen = title.number;
      QAction* action = add(TitleCaption(number, chosen, title.seconds, main), QStringLiteral("Title%1").arg(chosen),
                            MenuKey(number, chosen));
      connect(action, &QAction::triggered, this, [this, chosen] { TitleChosen(chosen); });
    }
  }
  damaged_title_sets_.clear();
  for (const TitleSet& set : disc_->TitleSets()) {
    if (!set.tables_readable) MarkTitleSetDamaged(set.number);
  }
}

void TForm1::RefreshTitleSetMenu() {
  TitleSetMenu->menuAction()->setEnabled(disc_ != nullptr && !run_in_progress_);
}

}  // namespace tonvika
