#include "app/open_dialog.h"

#include <QFileInfo>

#include "io/disc_source.h"

namespace tonvika {

TOpenDialog::TOpenDialog(QWidget* parent) : QFileDialog(parent) {
  // The platform's own dialog would enter a DVD folder instead of taking it.
  setOption(QFileDialog::DontUseNativeDialog, true);
}

bool IsDiscFolder(const QString& path) {
  return QFileInfo(path).isDir() && FindVideoTsFolder(path.toStdString()).has_value();
}

void TOpenDialog::accept() {
  const QStringList chosen = selectedFiles();
  if (fileMode() == QFileDialog::AnyFile && chosen.size() == 1 && IsDiscFolder(chosen.constFirst())) {
    QDialog::accept();  // QFileDialog would open the folder and show its files
    return;
  }
  QFileDialog::accept();
}

}  // namespace tonvika
