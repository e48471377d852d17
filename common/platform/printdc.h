// The printer device context with the Windows graphics calls the suite prints plots with: device measures, one
// print job with its pages, pens, brushes, fonts by height, lines, polygons and aligned text. Output goes to the
// default printer, or to a PDF file (one per print job) when FRATTIX_PDF_DIR names a folder or when no printer is
// installed (then in the current folder). Coordinates are device pixels from the top-left corner of the printable
// area; colours are values red + 256 x green + 65536 x blue.
#pragma once

#include "common/platform/printer.h"

#include <QPolygon>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace plat {

// The paint device of one print job: the printer itself, or, when the printer prints to PDF, a PDF writer that
// keeps the document in memory until the job ends. Only then is the job's PDF file saved, whole, by the rules of
// every save (a temporary file beside it, every byte checked, a link replaced, a pipe or a device never opened),
// so that a job that fails leaves whatever stood at the name as it was. Both kinds of print job (text and device
// context) use it.
class PdfOutput {
 public:
  PdfOutput();
  ~PdfOutput();
  PdfOutput(const PdfOutput&) = delete;
  PdfOutput& operator=(const PdfOutput&) = delete;

  // Begins a job named `docName` on `printer`. The device to paint the job on.
  QPagedPaintDevice& Start(QPrinter& printer, const QString& docName);
  // A new sheet on the job's device.
  bool NewPage();
  // Aborts the job on a printer.
  void Abort();
  // The job painted and ended (its painter ended): the PDF file is saved, to the file chosen in the printer set-up
  // when one was (replacing it), else as the first free numbered file named after the job (NumberedPdfFile),
  // which is claimed as it is saved. False when it could not be, with the file in UnwrittenFile().
  bool Finish();
  // A job that the printer refused or that was dropped: nothing is saved, and no file is named.
  void Discard();
  // The PDF file that the last job was saved to (empty for a printer, or before it is saved).
  const QString& File() const { return file_; }
  // The PDF file of the last job that could not be saved (empty when it was, or for a printer).
  const QString& UnwrittenFile() const { return unwritten_; }

 private:
  struct Writer;
  std::unique_ptr<Writer> writer_;
  QPrinter* printer_ = nullptr;
  QString docName_;
  QString chosen_;
  QString file_;
  QString unwritten_;
};

// GetDeviceCaps indexes.
enum DeviceCap : int { HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, PLANES = 14 };

class PrinterDC {
 public:
  PrinterDC();
  ~PrinterDC();
  PrinterDC(const PrinterDC&) = delete;
  PrinterDC& operator=(const PrinterDC&) = delete;

  // HORZSIZE and VERTSIZE: the printable area in millimetres; HORZRES and VERTRES: in pixels; PLANES: colour
  // planes (1). 0 for any other index.
  int GetDeviceCaps(int index) const;

  // One print job: StartDoc, then StartPage and EndPage for every sheet, then EndDoc. False when the printer refuses
  // or the PDF file cannot be saved; AbortDoc drops the job (no PDF file is saved).
  bool StartDoc(const QString& docName);
  bool StartPage();
  bool EndPage();
  bool EndDoc();
  void AbortDoc();
  // The PDF file of the last job that went to PDF (empty for a printer), and the one of the last job whose PDF file
  // could not be saved.
  QString OutputFile() const { return output_.File(); }
  QString UnwrittenFile() const { return output_.UnwrittenFile(); }

  // CreatePen / CreateSolidBrush / CreateFont and SelectObject: the new object is selected in place of the
  // previous one, which is deleted. A font height above 0 is the cell height, below 0 the character height;
  // the escapement is in tenths of a degree.
  void SelectPen(int style, int width, int rgb);
  void SelectBrush(int rgb);
  void SelectFont(int height, int escapement, const QString& face);
  void SetTextAlign(int align);
  void SetTextColor(int rgb);
  void SetBkMode(int mode);

  void MoveToEx(int x, int y);
  void LineTo(int x, int y);
  void Polygon(const QPolygon& points);
  void TextOut(int x, int y, const QString& text);

 private:
  void ApplyPen();
  void ApplySelections();
  std::unique_ptr<QPainter> painter_;
  PdfOutput output_;
  bool pageOpen_ = false;
  int pages_ = 0;
  int penStyle_ = 0, penWidth_ = 1, penColor_ = 0;
  int brushColor_ = 0xFFFFFF;
  int fontHeight_ = 0, escapement_ = 0;
  QString fontFace_ = QStringLiteral("Arial");
  int textAlign_ = 0, textColor_ = 0, bkMode_ = 2;
  int x_ = 0, y_ = 0;
};

// The printer as a paint device, set up for the current printer or for PDF output.
QPrinter& PrinterDevice();

// The numbered PDF file `n` of print jobs named `docName`: the name (letters and digits kept, others "_"), "-",
// the number, ".pdf", in PdfFolder(). A job takes the first at which nothing stands (no file, link, pipe or folder
// of any case) when its file is saved.
QString NumberedPdfFile(const QString& docName, int n);
// The folder of the PDF files named after their jobs: FRATTIX_PDF_DIR, else the current folder.
QString PdfFolder();
// The file chosen as the output of the printer set-up, which every later print job to PDF writes ("" for none).
void SetChosenPdfFile(const QString& file);
QString ChosenPdfFile();

// The device context of a handle of the program's printer (the program has one printer device context).
PrinterDC& DeviceContext(HDC dc);

}  // namespace plat
