// Whole discs in the window: a folder, image or drive named in Label1 is
// opened on its main feature's title set; the menu タイトルセット lists its
// title sets and runs the one chosen.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>

#include "app/main_window.h"
#include "app/title_set_menu.h"
#include "io/disc_source.h"

namespace tonvika {

AnalysisReport TForm1::RunSource() {
  // run_path_ is Label1 as the run started.
  if (disc_ && run_path_ == disc_label_) return AnalyseTitleSet();
  ForgetDisc();
  const SourceKind kind = run_path_.empty() ? SourceKind::File : RecogniseSource(run_path_);
  if (kind == SourceKind::File) return RunAnalysis(*this);
  disc_ = std::make_unique<Disc>(run_path_, kind);  // throws FileError for the source
  BuildTitleSetMenu();
  ShowTitleSet(disc_->MainFeature());
  return AnalyseTitleSet();
}

AnalysisReport TForm1::AnalyseTitleSet() {
  const std::unique_ptr<VideoObjectSource> source = disc_->OpenTitleSet(disc_title_set_);
  AnalysisReport report = AnalyseVideoObject(*this, disc_label_, *source);
  report.title_set = disc_title_set_;
  return report;
}

void TForm1::ShowTitleSet(int number) {
  disc_title_set_ = number;
  disc_label_ = disc_->Find(number)->paths.vob;
  // The title set's first VOB stands for it: Label1, the list report and the
  // details export name it.
  SetFileName(disc_label_);
  run_path_ = disc_label_;
  for (QAction* action : TitleSetMenu->actions()) action->setChecked(action->data().toInt() == number);
}

void TForm1::TitleSetChosen(int number) {
  if (run_in_progress_ || !disc_ || disc_->Find(number) == nullptr) return;
  ShowTitleSet(number);
  RunGuarded();
}

void TForm1::ForgetDisc() {
  disc_.reset();
  disc_title_set_ = 0;
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
  for (const TitleSet& set : disc_->TitleSets()) {
    QAction* action = TitleSetMenu->addAction(TitleSetCaption(set.number, set.longest_title_s, set.main_feature));
    action->setObjectName(QStringLiteral("TitleSet%1").arg(set.number));
    action->setData(set.number);
    action->setCheckable(true);
    title_set_actions_->addAction(action);
    const int number = set.number;
    connect(action, &QAction::triggered, this, [this, number] { TitleSetChosen(number); });
  }
}

void TForm1::RefreshTitleSetMenu() {
  TitleSetMenu->menuAction()->setEnabled(disc_ != nullptr && !run_in_progress_);
}

}  // namespace tonvika
