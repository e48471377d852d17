// The program's printer object: its name, its device context handle, its resolution and paper size. The drawing
// calls of the printer device context are in printdc.h.
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
  // Twips (1/1440 inch) per device pixel, and the paper's width and height in twips.
  double TwipsPerPixelX() const;
  double TwipsPerPixelY() const;
  double Width() const;
  double Height() const;
};

PrinterObject& Printer();

// CreateDC(driver, device): a device context for the named printer, 0 when there is no such printer.
HDC CreateDC(const QString& driver, const QString& device);

}  // namespace plat
