// The program's printer object and its device context, as far as the start-up needs them. The drawing calls of
// the printer device context live with the plotting and report code that uses them.
#pragma once

#include <QString>

namespace plat {

using HDC = quintptr;

class PrinterObject {
 public:
  // Name of the current printer: the system's default printer, or "PDF" when output goes to PDF files
  // (no printer installed, or FRATTIX_PDF_DIR names a folder).
  QString DeviceName() const;
  QString DriverName() const;
  // True when output goes to PDF files rather than to a printer.
  bool ToPdf() const;
  // The printer object's own device context (never 0).
  HDC hDC() const { return 1; }
};

PrinterObject& Printer();

// CreateDC(driver, device): a device context for the named printer, 0 when there is no such printer.
HDC CreateDC(const QString& driver, const QString& device);

}  // namespace plat
