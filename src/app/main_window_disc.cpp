// Whole discs in the window: a folder, image or drive named in Label1 is
// opened on its main feature (the longest title); the menu タイトルセット
// lists its titles under their title sets and runs the one chosen.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>

#include "app/main_window.h"
#include "app/title_set_menu.h"
#include "io/disc_source.h"

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
  BuildTitleSetMenu();
  const int main = disc_->MainFeature();
  ShowTitleSet(main, disc_->Find(main)->longest_title);
  return AnalyseTitleSet();
}

AnalysisReport TForm1::AnalyseTitleSet() {
  const std::unique_ptr<VideoObjectSource> source =
      disc_title_ ? disc_->OpenTitle(*disc_title_) : disc_->OpenTitleSet(disc_title_set_);
  AnalysisReport report = AnalyseVideoObject(*this, TitleLabel(*disc_->Find(disc_title_set_), disc_title_), *source);
  report.title_set = disc_title_set_;
  report.title = disc_title_;
  return report;
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
  ShowTitleSet(number, disc_->Find(number)->longest_title);
  RunGuarded();
}

void TForm1::TitleChosen(int title) {
  if (run_in_progress_ || !disc_) return;
  const DiscTitle* chosen = disc_->FindTitle(title);
  if (chosen == nullptr || disc_->Find(chosen->title_set) == nullptr) return;
  ShowTitleSet(chosen->title_set, title);
  RunGuarded();
}

void TForm1::ForgetDisc() {
  disc_.reset();
  disc_title_set_ = 0;
  disc_title_.reset();
  disc_label_.clear();
  BuildTitleSetMenu();
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
}

void TForm1::RefreshTitleSetMenu() {
  TitleSetMenu->menuAction()->setEnabled(disc_ != nullptr && !run_in_progress_);
}

}  // namespace tonvika
