#include "common/platform/printsetup.h"

#include "common/platform/ui.h"

#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace plat {

bool PrinterSetupDialog() {
  // One printer object for the set-up of the whole run, so a second set-up starts from the first one's choice.
  static QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer);
  dialog.setObjectName(QStringLiteral("PrintSetup"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  bool accepted = false;
  QObject::connect(&dialog, &QDialog::accepted, [&accepted] { accepted = true; });
  ShowModal(&dialog);
  return accepted;
}

}  // namespace plat
