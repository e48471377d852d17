// The program's printer object: its name, its device context handle, its resolution and paper size, and the calls
// that print text by lines (scale, fonts, current position, text measures, Print, NewPage, EndDoc). The drawing
// calls of the printer device context are in printdc.h.
#pragma once

#include <QString>

#include <memory>

namespace plat {

using HDC = quintptr;

// Twips in a point: the paper's Width and Height are in twips, and a scale of points (ScaleMode 2) divides them by
// this.
inline constexpr double kTwipsPerPoint = 20.0;

// The printer object's calls for printing text by lines, as the report printer uses them. Positions and measures
// are in the units of the scale mode (twips, or points after ScaleMode 2) from the top-left corner of the
// printable area; Width and Height are the paper's, in twips, whatever the scale.
class TextPrinter {
 public:
  virtual ~TextPrinter() = default;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  // 1 twips, 2 points (other values are taken as 1).
  virtual void SetScaleMode(int mode) = 0;
  // A font name that is empty, and a size that is not above 0, change nothing.
  virtual void SetFontName(const QString& name) = 0;
  virtual void SetFontSize(double size) = 0;
  virtual void SetFontBold(bool bold) = 0;
  virtual void SetFontItalic(bool italic) = 0;
  virtual double CurrentX() const = 0;
  virtual double CurrentY() const = 0;
  virtual void SetCurrentX(double x) = 0;
  virtual void SetCurrentY(double y) = 0;
  // The width and the height the text takes in the current font (the height of one line of it).
  virtual double TextWidth(const QString& text) const = 0;
  virtual double TextHeight(const QString& text) const = 0;
  // Prints the text with its top-left corner at the current position. Without a line end the position moves to
  // the text's end; with one, to the left edge of the next line.
  virtual void Print(const QString& text, bool lineEnd) = 0;
  // Ends the current sheet: what is printed next goes on a new sheet, with the same scale and fonts.
  virtual void NewPage() = 0;
  // Ends the print job. False when the printer (or the PDF file) did not take it.
  virtual bool EndDoc() = 0;
};

class PrinterObject : public TextPrinter {
 public:
  PrinterObject();
  ~PrinterObject() override;
  PrinterObject(const PrinterObject&) = delete;
  PrinterObject& operator=(const PrinterObject&) = delete;

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
  double Width() const override;
  double Height() const override;

  // Printing text by lines. The print job starts with the first text printed (an empty text moves the position
  // but prints nothing) and is named `JobName`; a sheet is started only when something is printed on it, so
  // NewPage after an empty sheet makes no blank sheet. While a job runs, Printing() is true.
  void SetJobName(const QString& name);
  void SetScaleMode(int mode) override;
  void SetFontName(const QString& name) override;
  void SetFontSize(double size) override;
  void SetFontBold(bool bold) override;
  void SetFontItalic(bool italic) override;
  double CurrentX() const override;
  double CurrentY() const override;
  void SetCurrentX(double x) override;
  void SetCurrentY(double y) override;
  double TextWidth(const QString& text) const override;
  double TextHeight(const QString& text) const override;
  void Print(const QString& text, bool lineEnd) override;
  void NewPage() override;
  bool EndDoc() override;
  bool Printing() const;
  // False once the printer refused the job (it could not be started or a sheet could not be added); EndDoc starts
  // the next job afresh.
  bool JobAccepted() const;
  // The PDF file of the last job that went to PDF (empty for a printer, or when nothing was printed), and the PDF
  // file of the last job that could not be saved (a full disk, a pipe at its name), which EndDoc then refused.
  QString OutputFile() const;
  QString UnwrittenFile() const;

 private:
  struct Job;
  std::unique_ptr<Job> job_;
};

PrinterObject& Printer();

// CreateDC(driver, device): a device context for the named printer, 0 when there is no such printer.
HDC CreateDC(const QString& driver, const QString& device);

}  // namespace plat
