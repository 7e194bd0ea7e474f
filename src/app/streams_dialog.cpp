#include "app/streams_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "analysis/stream_overview.h"
#include "view/stream_rows.h"

namespace tonvika {

namespace {

constexpr int kColumns = 4;
constexpr int kStreamColumns = 12;
constexpr int kFirstNumberColumn = 4;  // packets to delay read to the right
constexpr int kLastNumberColumn = 9;
constexpr int kChangesColumn = 11;
constexpr int kMinimumWidth = 620;
constexpr int kMaximumWidth = 960;  // a very long kind text is cut rather than the dialog leaving the screen
constexpr int kRowPadding = 6;
constexpr int kNotesLines = 6;

QString SubStreamText(const std::optional<int>& id) {
  if (!id) return QStringLiteral("—");
  return QString::fromStdString(StreamIdText(*id));
}

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);  // owned by the table
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

// Sizes a table to its columns and to `rows` rows, within the dialog's width.
void FitTable(QTableWidget* table, int rows) {
  table->resizeColumnsToContents();
  const int row_height = table->fontMetrics().height() + kRowPadding;
  table->verticalHeader()->setDefaultSectionSize(row_height);
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  const int frame = 2 * table->frameWidth();
  table->setMinimumHeight(table->horizontalHeader()->sizeHint().height() + rows * row_height + frame);
  const int width = frame + table->horizontalHeader()->length() + table->verticalScrollBar()->sizeHint().width();
  table->setMinimumWidth(std::min(width, kMaximumWidth));
}

QTableWidget* ReadOnlyTable(const QString& name, const QStringList& headings, bool stretch_last, QWidget* parent) {
  auto* table = new QTableWidget(parent);  // owned by the dialog
  table->setObjectName(name);
  table->setColumnCount(static_cast<int>(headings.size()));
  table->setHorizontalHeaderLabels(headings);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setWordWrap(false);
  table->horizontalHeader()->setStretchLastSection(stretch_last);
  return table;
}

}  // namespace

StreamsDialog::StreamsDialog(const QString& path, const AnalysisReport& outcome, const TrackSlots& model,
                             const LanguageName& language_name, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("StreamsDialog"));
  setWindowTitle(tr("ストリーム一覧"));
  setMinimumWidth(kMinimumWidth);
  auto* layout = new QVBoxLayout(this);  // owned by the dialog

  source_ = new QLabel(this);
  source_->setObjectName(QStringLiteral("StreamsSource"));
  source_->setTextFormat(Qt::PlainText);
  source_->setWordWrap(true);
  const QString ifo = outcome.ifo_path.empty() ? tr("IFOファイルはありません")
                                               : tr("IFOファイル: %1").arg(QString::fromStdString(outcome.ifo_path));
  source_->setText(path.isEmpty() ? ifo : path + u'\n' + ifo);
  layout->addWidget(source_);

  layout->addWidget(new QLabel(tr("音声ストリーム"), this));
  audio_streams_ = ReadOnlyTable(QStringLiteral("AudioStreamsTable"),
                                 {tr("ID"), tr("種類"), tr("概要"), tr("言語"), tr("パケット"), tr("フレーム"), tr("長さ"),
                                  tr("CRCエラー"), tr("再同期"), tr("遅延"), tr("スロット"), tr("変化")},
                                 false, this);
  FillAudioStreams(outcome, language_name);
  layout->addWidget(audio_streams_);

  layout->addWidget(new QLabel(tr("IFOの宣言"), this));
  streams_ = ReadOnlyTable(QStringLiteral("StreamsTable"),
                           {tr("番号"), tr("IFOの宣言"), tr("サブストリーム"), tr("見つかったトラック")}, true, this);
  FillStreams(outcome, model);
  layout->addWidget(streams_);

  auto* notes_label = new QLabel(tr("注記"), this);
  layout->addWidget(notes_label);
  notes_ = new QPlainTextEdit(this);
  notes_->setObjectName(QStringLiteral("StreamsNotes"));
  notes_->setReadOnly(true);
  notes_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  notes_->setFixedHeight(notes_->fontMetrics().lineSpacing() * kNotesLines + 2 * notes_->frameWidth() + 8);
  FillNotes(outcome);
  layout->addWidget(notes_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(tr("閉じる"));
  extract_ = buttons->addButton(tr("抽出…"), QDialogButtonBox::ActionRole);
  extract_->setObjectName(QStringLiteral("ExtractStreamButton"));
  extract_->setEnabled(false);
  connect(extract_, &QPushButton::clicked, this, [this] {
    if (const auto key = SelectedExtractable()) emit ExtractRequested(*key);
  });
  connect(audio_streams_, &QTableWidget::itemSelectionChanged, this,
          [this] { extract_->setEnabled(SelectedExtractable().has_value()); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void StreamsDialog::FillAudioStreams(const AnalysisReport& outcome, const LanguageName& language_name) {
  audio_streams_->setRowCount(static_cast<int>(outcome.streams.size()));
  row_ids_.clear();
  for (const AudioStream& stream : outcome.streams) row_ids_.push_back(stream.stream_id);
  for (int r = 0; r < static_cast<int>(outcome.streams.size()); ++r) {
    const AudioStream& stream = outcome.streams[static_cast<std::size_t>(r)];
    const StreamRow row = StreamRowOf(stream, language_name);
    const QString slot = stream.slot ? QString::fromStdString(row.slot) : tr("一覧になし");
    const auto text = [](const std::string& cell) { return QString::fromStdString(cell); };
    const QString changes = row.changes.empty() ? tr("なし") : tr("%n回", nullptr, static_cast<int>(row.changes.size()));
    const QString cells[kStreamColumns] = {text(row.id),         text(row.kind),     text(row.summary),
                                           text(row.language),   text(row.packets),  text(row.frames),
                                           text(row.duration),   text(row.crc_errors), text(row.resyncs),
                                           text(row.delay),      slot,               changes};
    for (int c = 0; c < kStreamColumns; ++c) audio_streams_->setItem(r, c, Cell(cells[c]));
    for (int c = kFirstNumberColumn; c <= kLastNumberColumn; ++c) {
      audio_streams_->item(r, c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    // Each change with its frame, time and new header.
    QStringList lines;
    for (const std::string& change : row.changes) lines << QString::fromStdString(change);
    audio_streams_->item(r, kChangesColumn)->setToolTip(lines.join(u'\n'));
  }
  FitTable(audio_streams_, AudioRowsShown());
}

void StreamsDialog::FillStreams(const AnalysisReport& outcome, const TrackSlots& model) {
  const std::vector<StreamOverviewRow> rows = OverviewStreams(outcome.declared, outcome.tracks);
  streams_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const StreamOverviewRow& row = rows[static_cast<std::size_t>(r)];
    // Entries are numbered from 1, as a player counts its audio streams.
    streams_->setItem(r, 0, Cell(row.entry ? QString::number(*row.entry + 1) : QStringLiteral("—")));
    streams_->setItem(r, 1, Cell(row.entry ? QString::fromStdString(row.declared) : tr("(宣言なし)")));
    streams_->setItem(r, 2, Cell(SubStreamText(row.stream_id)));
    const QString found = row.slot ? QStringLiteral("Tr%1 %2").arg(*row.slot + 1).arg(
                                         QString::fromStdString(model.KindText(*row.slot)).trimmed())
                                   : tr("なし");
    streams_->setItem(r, 3, Cell(found));
  }
  FitTable(streams_, DeclaredRowsShown());
}

int StreamsDialog::AudioRowsShown() const { return std::clamp(audio_streams_->rowCount(), 1, kAudioEntryCount); }

// Eight entries and the tracks beside them fit without scrolling.
int StreamsDialog::DeclaredRowsShown() const { return std::max(streams_->rowCount(), kAudioEntryCount); }

void StreamsDialog::showEvent(QShowEvent* event) {
  // Measured again with the fonts the dialog is shown in, which a style or
  // the desktop may set only now: its columns are never cut.
  FitTable(audio_streams_, AudioRowsShown());
  QDialog::showEvent(event);
}

void StreamsDialog::FillNotes(const AnalysisReport& outcome) {
  QStringList lines;
  for (const RunNote& note : outcome.notes) {
    lines << QStringLiteral("[%1] %2").arg(QString::fromLatin1(NoteCodeName(note.code).data(),
                                                                static_cast<qsizetype>(NoteCodeName(note.code).size())),
                                           QString::fromStdString(note.text));
  }
  notes_->setPlainText(lines.isEmpty() ? tr("注記はありません") : lines.join(u'\n'));
}

void StreamsDialog::OfferExtraction(const std::vector<int>& keys) {
  extractable_ = keys;
  extract_->setEnabled(SelectedExtractable().has_value());
}

std::optional<int> StreamsDialog::SelectedExtractable() const {
  const int row = audio_streams_->currentRow();
  if (row < 0 || row >= static_cast<int>(row_ids_.size()) || !audio_streams_->selectionModel()->hasSelection()) {
    return std::nullopt;
  }
  const std::optional<int> id = row_ids_[static_cast<std::size_t>(row)];
  if (!id || std::find(extractable_.begin(), extractable_.end(), *id) == extractable_.end()) return std::nullopt;
  return id;
}

QString StreamsDialog::NotesTooltip(const AnalysisReport& outcome) {
  QStringList lines{tr("ストリームの注記: %1件").arg(outcome.notes.size())};
  for (const RunNote& note : outcome.notes) lines << QString::fromStdString(note.text);
  return lines.join(u'\n');
}

}  // namespace tonvika
