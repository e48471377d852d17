#include "common/platform/printsetup.h"

#include "common/platform/files.h"
#include "common/platform/printdc.h"
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
  // The set-up works on the program's printer itself: the printer, the paper and the output file chosen are what
  // the later print jobs use, and a second set-up starts from the first one's choice. Printing to a file shows the
  // file chosen before, else the folder the PDF files go to.
  QPrinter& printer = PrinterDevice();
  if (printer.outputFormat() == QPrinter::PdfFormat)
    printer.setOutputFileName(ChosenPdfFile().isEmpty() ? PdfFolder() + QLatin1Char('/') : ChosenPdfFile());
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
  if (accepted) {
    // A file chosen as the output takes every later print job to PDF; a printer chosen takes them from it.
    const QString file = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    SetChosenPdfFile(file.isEmpty() || FolderExists(file) ? QString() : file);
  }
  return accepted;
}

}  // namespace plat
