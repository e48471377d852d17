#include "common/platform/printer.h"

#include <QPrinterInfo>

namespace plat {

bool PrinterObject::ToPdf() const {
  return !qgetenv("FRATTIX_PDF_DIR").isEmpty() || QPrinterInfo::defaultPrinterName().isEmpty();
}

QString PrinterObject::DeviceName() const {
  return ToPdf() ? QStringLiteral("PDF") : QPrinterInfo::defaultPrinterName();
}

QString PrinterObject::DriverName() const { return ToPdf() ? QStringLiteral("PDF") : QStringLiteral("CUPS"); }

PrinterObject& Printer() {
  static PrinterObject printer;
  return printer;
}

HDC CreateDC(const QString& driver, const QString& device) {
  Q_UNUSED(driver);
  if (device == QLatin1String("PDF")) return 2;
  return QPrinterInfo::printerInfo(device).isNull() ? 0 : 2;
}

}  // namespace plat
