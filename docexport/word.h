// The Word document as wenlow drives it: a small object model with the calls of Word's automation interface that
// the exporter makes (documents, ranges, fonts, paragraph formats, tables, saving), held in memory and saved as an
// Office Open XML package (.docx content; the file keeps the name it is given, such as "report.DOC").
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace word {

// Values of Word's enumerations used by the exporter.
enum WdCollapseDirection : int { wdCollapseEnd = 0, wdCollapseStart = 1 };
enum WdParagraphAlignment : int { wdAlignParagraphLeft = 0, wdAlignParagraphCenter = 1, wdAlignParagraphRight = 2 };
enum WdRowAlignment : int { wdAlignRowLeft = 0, wdAlignRowCenter = 1, wdAlignRowRight = 2 };
enum WdTableFormat : int { wdTableFormatNone = 0, wdTableFormatGrid1 = 16, wdTableFormatGrid5 = 20 };
enum WdLineWidth : int { wdLineWidth150pt = 12 };  // eighths of a point, as in the file format

// Character formatting; what is not set keeps the document's defaults.
struct CharacterFormat {
  std::optional<QString> name;
  std::optional<double> size;  // points
  std::optional<bool> italic;
  void MergeFrom(const CharacterFormat& other);
  bool Empty() const { return !name && !size && !italic; }
};

struct Run {
  QString text;
  CharacterFormat format;
};

struct Paragraph {
  std::vector<Run> runs;
  CharacterFormat mark;  // formatting of the paragraph mark: text later put into the paragraph takes it
  std::optional<int> alignment;
};

struct TableData {
  int rows = 0;
  int columns = 0;
  std::vector<Paragraph> cells;  // row by row; one paragraph per cell
  int autoFormat = wdTableFormatNone;
  std::optional<int> outsideLineWidth;
  std::optional<int> rowsAlignment;
  bool autoFit = false;
  Paragraph& At(int row, int column) { return cells[static_cast<std::size_t>((row - 1) * columns + column - 1)]; }
  const Paragraph& At(int row, int column) const {
    return cells[static_cast<std::size_t>((row - 1) * columns + column - 1)];
  }
};

using Block = std::variant<Paragraph, TableData>;

class Document;

// A part of a document: a run of text inside one paragraph of the body (an insertion point when collapsed), the
// whole content, a table, or one cell. Ranges stay valid while the blocks before them do not change, as the
// exporter uses them (each call takes a fresh range).
class Range {
 public:
  class FontObject {
   public:
    void SetName(const QString& name);
    void SetSize(double points);
    void SetItalic(bool italic);

   private:
    friend class Range;
    explicit FontObject(Range* r) : r_(r) {}
    Range* r_;
  };
  class ParagraphFormatObject {
   public:
    void SetAlignment(int alignment);

   private:
    friend class Range;
    explicit ParagraphFormatObject(Range* r) : r_(r) {}
    Range* r_;
  };

  void Collapse(int Direction);
  void InsertAfter(const QString& text);
  void InsertParagraphAfter();
  void SetText(const QString& text);  // Range.Text := text
  QString Text() const;
  FontObject Font() { return FontObject(this); }
  ParagraphFormatObject ParagraphFormat() { return ParagraphFormatObject(this); }

 private:
  friend class Document;
  friend class Table;
  enum class Kind { Whole, Text, Table, Cell };
  Range(Document* d, Kind k) : doc_(d), kind_(k) {}
  // Calls f(paragraph, first run, end run) for every paragraph the range touches; `whole` tells whether the
  // paragraph's mark is inside the range.
  template <class F>
  void Each(F f);

  Document* doc_;
  Kind kind_;
  std::size_t block_ = 0;  // body block of a text range or table
  int firstRun_ = 0, endRun_ = 0;
  int row_ = 0, column_ = 0;
};

class Table {
 public:
  void AutoFormat(int Format);
  void SetBordersOutsideLineWidth(int width);  // Borders.OutsideLineWidth
  word::Range Range();
  word::Range CellRange(int Row, int Column);  // Cell(Row, Column).Range
  int RowsCount() const;
  int ColumnsCount() const;
  void SetRowsAlignment(int alignment);  // Rows.Alignment
  void ColumnsAutoFit();                 // Columns.AutoFit

 private:
  friend class Document;
  Table(Document* d, std::size_t block) : doc_(d), block_(block) {}
  TableData& Data();
  Document* doc_;
  std::size_t block_;
};

class Document {
 public:
  Document();

  word::Range Range(int Start, int End);  // only the collapsed range at the start, Range(0, 0), is supported
  word::Range Content();
  // Tables.Add(Range, NumRows, NumColumns) and Tables.Item(Index): a table needs at least one row and one column
  // (Word refuses others): std::nullopt then.
  std::optional<Table> TablesAdd(const word::Range& where, int NumRows, int NumColumns);
  std::optional<Table> TablesItem(int Index);
  int TablesCount() const;

  // SaveAs(FileName): writes the package (replacing a file of that name, any letter case, whole or not at all).
  bool SaveAs(const QString& FileName, QString* error = nullptr);

  // The package's parts, for the writer and the tests.
  QByteArray DocumentXml() const;
  QByteArray Package() const;

  const std::vector<Block>& Blocks() const { return blocks_; }

 private:
  friend class Range;
  friend class Table;
  std::vector<Block> blocks_;  // the body; the last block is always a paragraph, as in Word
};

// Word's application-level objects: Documents.Add(), ActiveDocument, Document.Close().
class Application {
 public:
  Document& DocumentsAdd();
  Document* ActiveDocument() { return active_; }
  void Close(Document* document);

 private:
  std::vector<std::unique_ptr<Document>> documents_;
  Document* active_ = nullptr;
};

// The text as the file format takes it: characters that XML 1.0 or a Word document cannot hold (control
// characters other than TAB) are dropped.
QString CleanText(const QString& text);

}  // namespace word
