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

class QPainter;
class QPrinter;

namespace plat {

// The PDF file of one print job, when the printer prints to PDF. Both kinds of print job (text and device
// context) keep theirs so.
class PdfOutput {
 public:
  // Names the job's file (PdfFileFor) and sets it on `printer` when that prints to PDF; no file otherwise.
  void Start(QPrinter& printer, const QString& docName);
  // A job that failed or was dropped: its file goes when the job made it (a file that stood there before, such as
  // the output chosen in the printer set-up, is left as it was). No file afterwards.
  void Discard();
  void Clear() { file_.clear(); }
  const QString& File() const { return file_; }

 private:
  QString file_;
  bool created_ = false;  // the file did not exist before the job
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

  // One print job: StartDoc, then StartPage and EndPage for every sheet, then EndDoc. False when the printer or
  // the PDF file refuses; AbortDoc drops the job (a PDF begun is removed).
  bool StartDoc(const QString& docName);
  bool StartPage();
  bool EndPage();
  bool EndDoc();
  void AbortDoc();
  // The PDF file of the last job that went to PDF (empty for a printer).
  QString OutputFile() const { return output_.File(); }

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

// The file for the PDF of a print job: the file chosen as the output in the printer set-up, when one was; else the
// document name (letters and digits kept, others "_"), "-", the first free number, ".pdf" in PdfFolder().
QString PdfFileFor(const QString& docName);
// The folder of the PDF files named after their jobs: FRATTIX_PDF_DIR, else the current folder.
QString PdfFolder();
// The file chosen as the output of the printer set-up, which every later print job to PDF writes ("" for none).
void SetChosenPdfFile(const QString& file);
QString ChosenPdfFile();

// The device context of a handle of the program's printer (the program has one printer device context).
PrinterDC& DeviceContext(HDC dc);

}  // namespace plat
