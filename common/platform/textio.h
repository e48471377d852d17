// Text files of the suite: Windows-1252 on disk, QString in memory, lines ended by CR LF when written and by
// CR LF or LF when read. SeqReader and SeqWriter are the one reader and writer of every sequential file: items
// split at commas and line ends, whole lines read as lines, numbers printed with a blank before and after. Every
// program reads and writes the files this one way, so that what one writes the others read back, and the files
// users already hold read as they always did.
#pragma once

#include "common/platform/files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace plat {

QString DecodeAnsi(const QByteArray& bytes);  // Windows-1252 to text
// Text to Windows-1252. A character that has no byte there becomes "?" (one for a character outside the 16-bit
// range too): never 0x1A, which a reader would take as the end of the file.
QByteArray EncodeAnsi(const QString& text);
// True when Windows-1252 has a byte for the character.
bool AnsiHolds(char32_t c);
// The first character that a line of the suite's files cannot hold as it stands: one that Windows-1252 has no
// byte for, or a control character (a line end would split the line, a TAB or a Ctrl-Z change what a reader
// takes from it). Nothing when every character can stand in a line.
std::optional<char32_t> CharacterALineCannotHold(QStringView text);

// The numeric value of a text, as every number typed or stored in the suite is taken (Val): leading blanks skipped,
// blanks and TABs inside the number ignored (a CR or LF ends it), an optional sign, digits, a point, an exponent
// (E or D); the value of the longest such prefix, 0 when none. It never fails: a caller that must refuse a text
// that is no number checks it with IsNumeric first.
double Val(const QString& text);
// True when the text (blanks around it ignored) is a whole number in the form Val() reads.
bool IsNumeric(const QString& text);

// The plain print of a number, as the suite's files hold their numbers: a blank (or "-") before the digits, no zero
// before the point of values below 1, the shortest text of at most 7 (single precision) or 15 significant digits,
// written in full from 0.0001 up to 10^7 (10^15) and in exponent form outside ("1E-05", "1.5E+07"), and a blank
// after: 12 gives " 12 ", 0.5 gives " .5 ", -3 gives "-3 ". The blanks keep the numbers of a line apart.
QString PrintNumber(double value, bool singlePrecision = false);
// The same without the trailing blank (Str), for a number that a text continues: a caption, a message.
QString StrNumber(double value, bool singlePrecision = false);

// Trims blanks only (not TAB, CR or LF) from both ends (Trim): a TAB or a line end is part of what a file or a
// field holds, and a reader that dropped it would take a damaged value for a good one.
QString TrimBlanks(const QString& text);
QStringView TrimBlanks(QStringView text);

class SeqReader {
 public:
  SeqReader() = default;
  explicit SeqReader(const QString& path) { Open(path); }

  // Opens a file for reading; the name is resolved without regard to case. False when it cannot be read, and
  // Fault() tells why: nothing at the name, no regular file there, a file larger than any of the suite (see
  // ReadDataFile), or a file that cannot be split into its lines. Lines end with CR LF or LF, the last one also
  // with the end of the file; a CR that is not followed by its LF ends no line and belongs in no line, so a file
  // that holds one is refused, with FaultLine() telling its line.
  bool Open(const QString& path);
  plat::ReadFault Fault() const { return fault_; }
  // True when the last Open() found nothing at the name: only then is a file missing.
  bool Missing() const { return fault_ == ReadFault::Missing; }
  // The line of a lone CR (Fault() LineEnds), 0 for any other fault.
  int FaultLine() const { return faultLine_; }
  // Reads text already in memory (bytes in Windows-1252). A Ctrl-Z (0x1A) that is the last byte marks the end of
  // the file, as old editors left it; a Ctrl-Z anywhere else is a character of the text. A CR that ends no line is
  // not refused here: the text is a part of a file already read (a field, a line), not a file.
  void OpenBytes(const QByteArray& bytes);
  bool IsOpen() const { return open_; }
  // The file opened, named as it is on disk (also after a fault, when something stands at the name).
  QString Path() const { return path_; }

  // EOF(): true when nothing is left to read.
  bool AtEnd() const;

  // Input # into a text: leading blanks skipped; a quoted item runs to its closing quote, any other item to the
  // next comma or line end with trailing blanks removed. The delimiter is consumed. False at the end of the file.
  bool ReadItem(QString& item);
  // Input # into a number: the item ends at a blank, a comma or the line end; its numeric value (Val). `ok`
  // (optional) tells whether the item was a number.
  bool ReadNumber(double& value, bool* ok = nullptr);
  // Line Input #: the rest of the current line, without its CR LF or LF. False at the end of the file.
  bool ReadLine(QString& line);
  // The same line as a view into the reader's text, valid while the reader is neither reopened nor destroyed.
  bool ReadLineView(QStringView& line);
  // A line of a one-value-per-line file: the rest of the current line read as ReadLine() does; `ok` tells whether
  // it holds one finite number and nothing else (blanks around it allowed; "65,5", "1 2" or "5<CR>6" are not).
  bool ReadNumberLine(double& value, bool* ok = nullptr);

  // Line (1-based) of the next character to be read, for messages.
  int LineNumber() const { return line_; }

 private:
  void SkipLineEnd();
  QString text_;
  QString path_;
  qsizetype pos_ = 0;
  int line_ = 1;
  bool open_ = false;
  ReadFault fault_ = ReadFault::None;
  int faultLine_ = 0;
};

// Writes a file of the suite. Everything goes to a temporary file in the target's folder; Close() renames it over
// the target, so an interrupted or failed save never leaves half a file. A writer destroyed without Close()
// discards what it wrote.
class SeqWriter {
 public:
  SeqWriter() = default;
  explicit SeqWriter(const QString& path, bool append = false) { Open(path, append); }
  ~SeqWriter();
  SeqWriter(const SeqWriter&) = delete;
  SeqWriter& operator=(const SeqWriter&) = delete;

  // Opens `path` for output (append: keeps the current content and writes after it). The name is resolved
  // without regard to case. False when the folder does not exist or cannot be written, or (append) when a file stands
  // at the name that cannot be read (see ReadDataFile).
  bool Open(const QString& path, bool append = false);
  bool IsOpen() const { return open_; }

  void Write(const QString& text);           // text without a line end (Print #, text;)
  void WriteLine(const QString& text = {});  // text and CR LF (Print #, text)
  void WriteNumber(double value, bool singlePrecision = false);  // " 12 " and CR LF (Print #, number)
  // Bytes already in the file's encoding (ASCII figures and codes built by the caller), as they stand.
  void WriteBytes(const char* bytes, qsizetype size);

  // Renames the written file over the target. False (and the target untouched) when that fails.
  bool Close();
  // Drops everything written; the target stays as it was.
  void Discard();

 private:
  QString path_;
  QByteArray data_;
  bool open_ = false;
};

}  // namespace plat
