#include "common/platform/printer.h"

#include "common/platform/printdc.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <optional>

namespace plat {

namespace {

constexpr double kMaxFontSize = 1000.0;  // points; larger sizes are held here

}  // namespace

// The state of the text printing: the scale, the font, the position and the running job.
struct PrinterObject::Job {
  QString name = QStringLiteral("FRATTIX");
  double unit = 1.0 / kTwipsPerPoint;  // points per unit of the scale
  QFont font{QStringLiteral("Arial")};
  double x = 0, y = 0;
  std::unique_ptr<QPainter> painter;
  bool pageHasText = false;  // something is printed on the current sheet
  bool pagePending = false;  // NewPage ended a sheet: the next text goes on a new one
  bool accepted = true;
  PdfOutput output;
  QString lastOutputFile;
  mutable std::optional<QFontMetricsF> metrics;

  Job() { font.setPointSizeF(10); }

  // Device pixels per point.
  static double PixelsPerPoint() { return PrinterDevice().resolution() / 72.0; }
  const QFontMetricsF& Metrics() const {
    if (!metrics) metrics.emplace(font, &PrinterDevice());
    return *metrics;
  }
  void FontChanged() {
    metrics.reset();
    if (painter) painter->setFont(font);
  }
  bool Start() {
    QPrinter& p = PrinterDevice();
    p.setDocName(name);
    QPagedPaintDevice& device = output.Start(p, name);
    painter = std::make_unique<QPainter>();
    if (!painter->begin(&device)) {
      painter.reset();
      output.Discard();
      return false;
    }
    painter->setPen(Qt::black);
    painter->setFont(font);
    metrics.reset();
    pageHasText = pagePending = false;
    return true;
  }
};

PrinterObject::PrinterObject() : job_(std::make_unique<Job>()) {}

PrinterObject::~PrinterObject() {
  if (job_->painter) job_->painter->end();
}

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

void PrinterObject::SetJobName(const QString& name) {
  if (!name.isEmpty()) job_->name = name;
}

void PrinterObject::SetScaleMode(int mode) {
  const double unit = mode == 2 ? 1.0 : 1.0 / kTwipsPerPoint;
  // The position stays where it is on the sheet.
  job_->x = job_->x * job_->unit / unit;
  job_->y = job_->y * job_->unit / unit;
  job_->unit = unit;
}

void PrinterObject::SetFontName(const QString& name) {
  if (name.isEmpty() || name == job_->font.family()) return;
  job_->font.setFamily(name);
  job_->FontChanged();
}

void PrinterObject::SetFontSize(double size) {
  if (!(size > 0) || !std::isfinite(size)) return;
  size = std::min(size, kMaxFontSize);
  if (size == job_->font.pointSizeF()) return;
  job_->font.setPointSizeF(size);
  job_->FontChanged();
}

void PrinterObject::SetFontBold(bool bold) {
  if (bold == job_->font.bold()) return;
  job_->font.setBold(bold);
  job_->FontChanged();
}

void PrinterObject::SetFontItalic(bool italic) {
  if (italic == job_->font.italic()) return;
  job_->font.setItalic(italic);
  job_->FontChanged();
}

double PrinterObject::CurrentX() const { return job_->x; }
double PrinterObject::CurrentY() const { return job_->y; }

void PrinterObject::SetCurrentX(double x) {
  if (std::isfinite(x)) job_->x = x;
}

void PrinterObject::SetCurrentY(double y) {
  if (std::isfinite(y)) job_->y = y;
}

double PrinterObject::TextWidth(const QString& text) const {
  return job_->Metrics().horizontalAdvance(text) / Job::PixelsPerPoint() / job_->unit;
}

double PrinterObject::TextHeight(const QString& text) const {
  // One line of the font for every line of the text.
  const qsizetype righe = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
  return static_cast<double>(righe) * job_->Metrics().lineSpacing() / Job::PixelsPerPoint() / job_->unit;
}

void PrinterObject::Print(const QString& text, bool lineEnd) {
  Job& j = *job_;
  if (!text.isEmpty() && j.accepted) {
    if (!j.painter && !j.Start()) j.accepted = false;
    if (j.painter && j.pagePending) {
      j.pagePending = false;
      if (!j.output.NewPage()) j.accepted = false;
    }
    if (j.painter && j.accepted) {
      const double pixel = Job::PixelsPerPoint() * j.unit;
      // Far off the sheet nothing is drawn, as the printer would drop it.
      if (std::fabs(j.x * pixel) < 1e7 && std::fabs(j.y * pixel) < 1e7)
        j.painter->drawText(QPointF(j.x * pixel, j.y * pixel + j.Metrics().ascent()), text);
      j.pageHasText = true;
    }
  }
  if (lineEnd) {
    j.y += TextHeight(text);
    j.x = 0;
  } else {
    j.x += TextWidth(text);
  }
}

void PrinterObject::NewPage() {
  Job& j = *job_;
  if (j.pageHasText) {
    j.pagePending = true;
    j.pageHasText = false;
  }
  j.x = j.y = 0;
}

bool PrinterObject::EndDoc() {
  Job& j = *job_;
  bool ok = j.accepted;
  const bool started = j.painter != nullptr;
  if (started) {
    ok = j.painter->end() && ok;
    j.painter.reset();
  }
  // The PDF file is saved only when the whole job was printed.
  if (started && ok) ok = j.output.Finish();
  else j.output.Discard();
  j.lastOutputFile = started && ok ? j.output.File() : QString();
  j.accepted = true;
  j.pageHasText = j.pagePending = false;
  j.x = j.y = 0;
  return ok;
}

bool PrinterObject::Printing() const { return job_->painter != nullptr; }

bool PrinterObject::JobAccepted() const { return job_->accepted; }

QString PrinterObject::OutputFile() const { return job_->lastOutputFile; }

QString PrinterObject::UnwrittenFile() const { return job_->output.UnwrittenFile(); }

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
