#include "common/platform/printdc.h"

#include "common/platform/files.h"
#include "common/platform/gdi.h"
#include "common/platform/printsetup.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace plat {

namespace {

constexpr int kPdfResolution = 600;

QString& ChosenFile() {
  static QString file;
  return file;
}

}  // namespace

void SetChosenPdfFile(const QString& file) { ChosenFile() = file; }

QString ChosenPdfFile() { return ChosenFile(); }

QString PdfFolder() {
  const QString folder = QString::fromLocal8Bit(qgetenv("FRATTIX_PDF_DIR"));
  return folder.isEmpty() ? CurrentFolder() : folder;
}

QString NumberedPdfFile(const QString& docName, int n) {
  QString stem;
  for (const QChar c : docName) stem += c.isLetterOrNumber() ? c : QLatin1Char('_');
  if (stem.isEmpty()) stem = QStringLiteral("print");
  return JoinPath(PdfFolder(), QStringLiteral("%1-%2.pdf").arg(stem).arg(n));
}

QPrinter& PrinterDevice() {
  static std::unique_ptr<QPrinter> printer;
  if (!printer) {
    if (Printer().ToPdf()) {
      printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setResolution(kPdfResolution);
      printer->setPageSize(QPageSize(QPageSize::A4));
      printer->setPageOrientation(QPageLayout::Portrait);
      printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    } else {
      printer = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    }
    // The printer set-up of the program that started this one.
    TakeHandedOverSetup(*printer);
  }
  return *printer;
}

PrinterDC& DeviceContext(HDC) {
  static PrinterDC dc;
  return dc;
}

PrinterDC::PrinterDC() = default;

PrinterDC::~PrinterDC() {
  if (painter_) painter_->end();
}

int PrinterDC::GetDeviceCaps(int index) const {
  QPrinter& p = PrinterDevice();
  const QPageLayout layout = p.pageLayout();
  switch (index) {
    case HORZSIZE: return static_cast<int>(std::lround(layout.paintRect(QPageLayout::Millimeter).width()));
    case VERTSIZE: return static_cast<int>(std::lround(layout.paintRect(QPageLayout::Millimeter).height()));
    case HORZRES: return layout.paintRectPixels(p.resolution()).width();
    case VERTRES: return layout.paintRectPixels(p.resolution()).height();
    case PLANES: return 1;
    default: return 0;
  }
}

// A PDF job's writer: the document in memory, in the printer's page layout and resolution.
struct PdfOutput::Writer {
  QBuffer buffer;
  QPdfWriter pdf{&buffer};
  Writer() { buffer.open(QIODevice::WriteOnly); }
};

PdfOutput::PdfOutput() = default;
PdfOutput::~PdfOutput() = default;

QPagedPaintDevice& PdfOutput::Start(QPrinter& printer, const QString& docName) {
  writer_.reset();
  file_.clear();
  unwritten_.clear();
  printer_ = &printer;
  if (printer.outputFormat() != QPrinter::PdfFormat) return printer;
  docName_ = docName;
  chosen_ = ChosenFile();
  writer_ = std::make_unique<Writer>();
  QPdfWriter& pdf = writer_->pdf;
  pdf.setResolution(printer.resolution());
  pdf.setPageLayout(printer.pageLayout());
  pdf.setTitle(docName);
  pdf.setCreator(printer.creator());
  return pdf;
}

bool PdfOutput::NewPage() {
  if (writer_) return writer_->pdf.newPage();
  return printer_ && printer_->newPage();
}

void PdfOutput::Abort() {
  if (!writer_ && printer_) printer_->abort();
}

bool PdfOutput::Finish() {
  if (!writer_) return true;
  const QByteArray pdf = writer_->buffer.data();
  writer_.reset();
  // A file chosen in the printer set-up is saved over, as by any save: the last job wins. A numbered file is
  // claimed only now, when the job has ended, so that a job that ran beside this one keeps its own.
  QString tried = chosen_;
  if (!chosen_.isEmpty()) file_ = WriteWholeFile(chosen_, pdf) ? chosen_ : QString();
  else file_ = WriteNewNumberedFile([&](int n) { return NumberedPdfFile(docName_, n); }, pdf, &tried);
  if (!file_.isEmpty()) return true;
  unwritten_ = tried;
  return false;
}

void PdfOutput::Discard() {
  writer_.reset();
  file_.clear();
  unwritten_.clear();
}

bool PrinterDC::StartDoc(const QString& docName) {
  if (painter_) AbortDoc();
  QPrinter& p = PrinterDevice();
  p.setDocName(docName);
  QPagedPaintDevice& device = output_.Start(p, docName);
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(&device)) {
    painter_.reset();
    output_.Discard();
    return false;
  }
  pages_ = 0;
  pageOpen_ = false;
  ApplySelections();
  return true;
}

bool PrinterDC::StartPage() {
  if (!painter_ || pageOpen_) return false;
  if (pages_ > 0 && !output_.NewPage()) return false;
  ++pages_;
  pageOpen_ = true;
  return true;
}

bool PrinterDC::EndPage() {
  if (!painter_ || !pageOpen_) return false;
  pageOpen_ = false;
  return true;
}

bool PrinterDC::EndDoc() {
  if (!painter_) return false;
  const bool ok = painter_->end();
  painter_.reset();
  pageOpen_ = false;
  if (!ok) {
    output_.Discard();
    return false;
  }
  return output_.Finish();
}

void PrinterDC::AbortDoc() {
  if (!painter_) return;
  output_.Abort();
  painter_->end();
  painter_.reset();
  pageOpen_ = false;
  output_.Discard();
}

void PrinterDC::ApplyPen() {
  if (painter_) painter_->setPen(GdiPen(penStyle_, penWidth_, penColor_));
}

void PrinterDC::ApplySelections() {
  if (!painter_) return;
  ApplyPen();
  painter_->setBrush(ColorFromRgb(brushColor_));
  painter_->setFont(GdiFont(fontHeight_, fontFace_));
  painter_->setBackgroundMode(bkMode_ == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_->setBackground(Qt::white);
}

void PrinterDC::SelectPen(int style, int width, int rgb) {
  width = std::clamp(width, 1, 100000);
  // The same pen again changes nothing on the device.
  if (style == penStyle_ && width == penWidth_ && rgb == penColor_) return;
  penStyle_ = style;
  penWidth_ = width;
  penColor_ = rgb;
  ApplyPen();
}

void PrinterDC::SelectBrush(int rgb) {
  brushColor_ = rgb;
  if (painter_) painter_->setBrush(ColorFromRgb(rgb));
}

void PrinterDC::SelectFont(int height, int escapement, const QString& face) {
  fontHeight_ = height;
  escapement_ = escapement;
  fontFace_ = face;
  if (painter_) painter_->setFont(GdiFont(fontHeight_, fontFace_));
}

void PrinterDC::SetTextAlign(int align) { textAlign_ = align; }

void PrinterDC::SetTextColor(int rgb) { textColor_ = rgb; }

void PrinterDC::SetBkMode(int mode) {
  bkMode_ = mode;
  if (painter_) painter_->setBackgroundMode(mode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
}

void PrinterDC::MoveToEx(int x, int y) {
  x_ = x;
  y_ = y;
}

void PrinterDC::LineTo(int x, int y) {
  if (painter_ && pageOpen_) painter_->drawLine(x_, y_, x, y);
  x_ = x;
  y_ = y;
}

void PrinterDC::Polygon(const QPolygon& points) {
  if (painter_ && pageOpen_ && points.size() >= 3) painter_->drawPolygon(points);
}

void PrinterDC::TextOut(int x, int y, const QString& text) {
  if (!painter_ || !pageOpen_) return;
  const QPen pen = painter_->pen();
  painter_->setPen(ColorFromRgb(textColor_));
  GdiTextOut(*painter_, QPointF(x, y), text, textAlign_, escapement_);
  painter_->setPen(pen);
}

}  // namespace plat
