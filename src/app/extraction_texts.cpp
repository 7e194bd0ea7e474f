#include "app/extraction_texts.h"

#include <QDir>
#include <algorithm>
#include <cmath>

#include "app/file_names.h"

namespace tonvika {

namespace {

// A stream joined from pieces can jump at every joint; the first few say it.
constexpr std::size_t kJumpsShown = 5;

// "0:41:07"
QString ClockText(double seconds) {
  const auto whole = static_cast<long long>(std::floor(std::max(seconds, 0.0)));
  return QStringLiteral("%1:%2:%3")
      .arg(whole / 3600)
      .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString FileNameOf(const std::string& path) { return DisplayName(path).section(u'/', -1); }

}  // namespace

QString ExtractionTexts::StreamItem(const PlannedStream& stream, const std::string& language_name) {
  QStringList parts{QString::fromStdString(StreamIdText(stream.name.key)),
                    QString::fromLatin1(StreamKindName(stream.name.kind))};
  if (!language_name.empty() && language_name != "none") parts << QString::fromStdString(language_name);
  if (stream.name.header) {
    // "3_2ch" in a file name, "3/2ch" as the track list writes it.
    if (const auto layout = LayoutPart(*stream.name.header)) parts << QString::fromStdString(*layout).replace(u'_', u'/');
    if (const auto rate = RatePart(*stream.name.header)) parts << QString::fromStdString(*rate);
  }
  return parts.join(u' ') + QStringLiteral("…");
}

QString ExtractionTexts::Status(const ExtractionResult& result, const ExtractionJob& job, bool with_reason) {
  using Ending = ExtractionResult::Ending;
  if (result.ending == Ending::Cancelled) return tr("抽出を取り消しました");
  if (result.ending == Ending::Failed) {
    const QString what = result.failed_path.empty() ? QString() : FileNameOf(result.failed_path);
    //: %1 is the file that failed (the source or the file to write)
    QString text = tr("抽出できませんでした: %1").arg(what);
    if (with_reason) text += QStringLiteral(" (%1)").arg(QString::fromStdString(result.reason));
    return text;
  }
  QStringList written;
  QStringList unwritten;
  for (const WrittenFile& file : result.outcome.files) (file.error ? unwritten : written) << FileNameOf(file.path);
  if (!unwritten.isEmpty()) return tr("抽出できませんでした: %1").arg(unwritten.join(QStringLiteral(", ")));
  if (written.size() == 1) return tr("抽出しました: %1").arg(written.constFirst());
  //: %1 is the folder the files were written into
  return tr("%n個のファイルを抽出しました: %1", nullptr, static_cast<int>(written.size()))
      .arg(QDir::toNativeSeparators(DisplayName(job.folder)));
}

QStringList ExtractionTexts::Warnings(const ExtractionOutcome& outcome, bool with_reason) {
  QStringList lines;
  for (const WrittenFile& file : outcome.files) {
    const QString name = FileNameOf(file.path);
    if (file.error) {
      QString line = tr("%1: 書き出せませんでした").arg(name);
      if (with_reason) line += QStringLiteral(" (%1)").arg(QString::fromStdString(*file.error));
      lines << line;
      continue;
    }
    for (const UnreadableRange& range : file.stream.unreadable) {
      //: %2 sectors, %3 the time into the file
      const QString text = range.at_end ? tr("%1: %3の位置から終わりまで%2セクタが読めません。出力はそこで終わります")
                                        : tr("%1: %3の位置で%2セクタが読めません。出力には欠落があります");
      lines << text.arg(name).arg(range.bytes / 2048).arg(ClockText(range.at_s));
    }
    if (file.stream.missing_packets > 0) {
      lines << tr("%1: スクランブルされているか読めないパケット%2個を除きました。出力には欠落があります")
                   .arg(name)
                   .arg(file.stream.missing_packets);
    }
    const std::size_t shown = std::min(file.stream.jumps.size(), kJumpsShown);
    for (std::size_t i = 0; i < shown; ++i) {
      const TimeJump& jump = file.stream.jumps[i];
      //: %3 is the jump in seconds, signed
      lines << tr("%1: %2でPTSが飛んでいます (%3秒)。再生するとここで音声がずれます")
                   .arg(name, ClockText(jump.at_s), QString::asprintf("%+.3f", jump.by_s));
    }
    if (file.stream.jumps.size() > shown) {
      lines << tr("%1: ほかに%2か所でPTSが飛んでいます").arg(name).arg(file.stream.jumps.size() - shown);
    }
  }
  return lines;
}

}  // namespace tonvika
