#include "common/platform/printsetup.h"

#include "common/platform/ui.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinter>

namespace plat {

bool PrinterSetupDialog(const QString& title) {
  // One printer object for the set-up of the whole run, so a second set-up starts from the first one's choice.
  static QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  dialog.setObjectName(QStringLiteral("PrintSetup"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  if (!title.isEmpty()) dialog.setWindowTitle(title);
  // The dialog only sets the printer up: its confirming button says OK, not "Print".
  for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
      ok->setText(QCoreApplication::translate("QPlatformTheme", "OK"));
  bool accepted = false;
  QObject::connect(&dialog, &QDialog::accepted, [&accepted] { accepted = true; });
  ShowModal(&dialog);
  return accepted;
}

}  // namespace plat
