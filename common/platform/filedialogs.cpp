#include "common/platform/filedialogs.h"

#include "common/platform/ui.h"

#include <QFileDialog>
#include <QStringList>

namespace plat {

namespace {
// "Description|*.ext|Description|*.*" to Qt's "Description (*.ext);;Description (*.*)".
QString FiltroQt(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts.at(i + 1);
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << QStringLiteral("%1 (%2)").arg(parts.at(i), pattern);
  }
  return out.join(QStringLiteral(";;"));
}
}  // namespace

QString GetOpenOrNewFileName(const QString& title, const QString& folder, const QString& filter,
                             const QString& defaultName) {
  // A script answers every file dialog the same way, existing file or not.
  if (Scripted()) return GetOpenFileName(title, folder, filter, defaultName);
  Log(QStringLiteral("filedialog"), QStringLiteral("open"), title);
  QFileDialog dialog(nullptr, title, folder, FiltroQt(filter));
  dialog.setObjectName(QStringLiteral("OpenFile"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!defaultName.isEmpty()) dialog.selectFile(defaultName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace plat
