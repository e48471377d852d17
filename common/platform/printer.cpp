#include "common/platform/printer.h"

#include "common/platform/printdc.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace plat {

bool PrinterObject::ToPdf() const {
  return !qgetenv("FRATTIX_PDF_DIR").isEmpty() || QPrinterInfo::defaultPrinterName().isEmpty();
}

QString PrinterObject::DeviceName() const {
  return ToPdf() ? QStringLiteral("PDF") : QPrinterInfo::defaultPrinterName();
}

QString PrinterObject::DriverName() const { return ToPdf() ? QStringLiteral("PDF") : QStringLiteral("CUPS"); }

double PrinterObject::TwipsPerPixelX() const {
  const int dpi = PrinterDevice().resolution();
  return dpi > 0 ? 1440.0 / dpi : 0.0;
}

double PrinterObject::TwipsPerPixelY() const { return TwipsPerPixelX(); }

double PrinterObject::Width() const {
  return PrinterDevice().pageLayout().fullRect(QPageLayout::Inch).width() * 1440.0;
}

double PrinterObject::Height() const {
  return PrinterDevice().pageLayout().fullRect(QPageLayout::Inch).height() * 1440.0;
}

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
