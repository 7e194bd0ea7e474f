// What the information file declares, as the window shows it: a marker at
// the right end of status panel 1 while the last run has notes or the
// language table names no language (its tooltip lists them), and the stream
// list from the menu "情報".

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolButton>

#include "app/main_window.h"
#include "app/streams_dialog.h"
#include "app/window_layout.h"

namespace tonvika {

namespace {

// The marker sits inside panel 1, whose place stays as the layout has it.
constexpr int kMarkerSize = 18;
constexpr int kMarkerIconSize = 14;

}  // namespace

void TForm1::BuildStreamsMenu() {
  InfoMenu = MainMenu1->addMenu(tr("情報"));
  InfoMenu->setObjectName(QStringLiteral("InfoMenu"));
  StreamListItem = InfoMenu->addAction(tr("ストリーム一覧…"));
  StreamListItem->setObjectName(QStringLiteral("StreamListItem"));
  connect(StreamListItem, &QAction::triggered, this, &TForm1::StreamListItemClick);
}

void TForm1::BuildNotesMarker() {
  QLabel* panel = status_panels_[1];
  NotesMarker = new QToolButton(panel);  // owned by the panel
  NotesMarker->setObjectName(QStringLiteral("NotesMarker"));
  NotesMarker->setAutoRaise(true);
  NotesMarker->setFocusPolicy(Qt::NoFocus);  // the layout's Tab order stays
  NotesMarker->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
  NotesMarker->setIconSize(QSize(kMarkerIconSize, kMarkerIconSize));
  NotesMarker->hide();
  connect(NotesMarker, &QToolButton::clicked, this, &TForm1::StreamListItemClick);
}

void TForm1::PlaceNotesMarker() {
  QLabel* panel = status_panels_[1];
  NotesMarker->setGeometry(panel->width() - kMarkerSize - 1, (panel->height() - kMarkerSize) / 2, kMarkerSize,
                           kMarkerSize);
}

void TForm1::ShowRunNotes() {
  // A language table that names no language is told here too, beside the run's notes.
  QStringList tooltip;
  if (!table_warning_.isEmpty()) tooltip << table_warning_;
  if (!last_outcome_.notes.empty()) tooltip << StreamsDialog::NotesTooltip(last_outcome_);
  const bool any = !tooltip.isEmpty();
  PlaceNotesMarker();
  NotesMarker->setToolTip(tooltip.join(u'\n'));
  NotesMarker->setVisible(any);
  // The path in the panel ends before the marker rather than under it.
  status_panels_[1]->setContentsMargins(0, 0, any ? kMarkerSize : 0, 0);
}

void TForm1::StreamListItemClick() {
  if (run_in_progress_) return;
  const auto language_name = [this](const std::string& code) {
    return LookupLanguageName(Languages(), code, Language());
  };
  auto* dialog = new StreamsDialog(QString::fromStdString(last_path_), last_outcome_, slots_, language_name, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  std::vector<int> extractable;
  for (const PlannedStream& stream : ExtractableStreamsShown()) extractable.push_back(stream.name.key);
  dialog->OfferExtraction(extractable);
  connect(dialog, &StreamsDialog::ExtractRequested, this, [this, dialog](int key) { ExtractStreamClick(key, dialog); });
  dialog->open();  // window-modal: no run starts while it is open
}

}  // namespace tonvika
