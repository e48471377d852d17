#include "common/platform/filedialogs.h"

#include "common/platform/ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace plat {


QString GetOpenOrNewFileName(const QString& title, const QString& folder, const QString& filter,
                             const QString& defaultName) {
  // A script answers every file dialog the same way, existing file or not.
  if (Scripted()) return GetOpenFileName(title, folder, filter, defaultName);
  Log(QStringLiteral("filedialog"), QStringLiteral("open"), title);
  QFileDialog dialog(QApplication::activeWindow(), title, folder, FilterForQt(filter));
  dialog.setObjectName(QStringLiteral("OpenFile"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!defaultName.isEmpty()) dialog.selectFile(defaultName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace plat
