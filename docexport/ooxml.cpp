// The document as an Office Open XML package: [Content_Types].xml, the package relationships, the main part
// word/document.xml and the styles, zipped with libzip. Elements are written in the order the schema gives, so
// that Word opens the file as well as other word processors do.
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "docexport/word.h"

#include <QRegularExpression>

#include <zip.h>

#include <algorithm>
#include <cmath>

namespace word {

namespace {

constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr const char* kNsW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

// A4 with margins of 2 cm, in twentieths of a point.
constexpr int kPageWidth = 11906;
constexpr int kPageHeight = 16838;
constexpr int kMargin = 1134;
constexpr int kTextWidth = kPageWidth - 2 * kMargin;
constexpr int kCellMargin = 57;  // left and right (1 mm), from the table style
constexpr double kDefaultSize = 12;

QString Escape(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case u'&': out += QLatin1String("&amp;"); break;
      case u'<': out += QLatin1String("&lt;"); break;
      case u'>': out += QLatin1String("&gt;"); break;
      case u'"': out += QLatin1String("&quot;"); break;
      default: out += c;
    }
  }
  return out;
}

// Font size in half points: at least 1 point, at most Word's 1638; nothing for no size or a size of 0.
int HalfPoints(double size) {
  if (!std::isfinite(size) || size <= 0) return 0;
  return static_cast<int>(std::clamp(std::lround(std::min(size * 2, 3276.0)), 2L, 3276L));
}

void RunProperties(QString& x, const CharacterFormat& f) {
  QString props;
  if (f.name && !CleanText(*f.name).isEmpty()) {
    const QString n = Escape(CleanText(*f.name));
    props += QStringLiteral("<w:rFonts w:ascii=\"%1\" w:hAnsi=\"%1\" w:eastAsia=\"%1\" w:cs=\"%1\"/>").arg(n);
  }
  if (f.italic) props += *f.italic ? QLatin1String("<w:i/><w:iCs/>") : QLatin1String("<w:i w:val=\"0\"/><w:iCs w:val=\"0\"/>");
  if (f.size && HalfPoints(*f.size) > 0)
    props += QStringLiteral("<w:sz w:val=\"%1\"/><w:szCs w:val=\"%1\"/>").arg(HalfPoints(*f.size));
  if (!props.isEmpty()) x += QLatin1String("<w:rPr>") + props + QLatin1String("</w:rPr>");
}

void RunXml(QString& x, const Run& run) {
  const QString text = CleanText(run.text);
  if (text.isEmpty()) return;
  x += QLatin1String("<w:r>");
  RunProperties(x, run.format);
  const QStringList pieces = text.split(QLatin1Char('\t'));
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    if (i > 0) x += QLatin1String("<w:tab/>");
    if (!pieces[i].isEmpty())
      x += QLatin1String("<w:t xml:space=\"preserve\">") + Escape(pieces[i]) + QLatin1String("</w:t>");
  }
  x += QLatin1String("</w:r>");
}

void ParagraphXml(QString& x, const Paragraph& p) {
  x += QLatin1String("<w:p>");
  QString props;
  if (p.alignment) {
    static const char* const kJc[] = {"left", "center", "right", "both"};
    if (*p.alignment >= 0 && *p.alignment <= 3)
      props += QStringLiteral("<w:jc w:val=\"%1\"/>").arg(QLatin1String(kJc[*p.alignment]));
  }
  QString mark;
  RunProperties(mark, p.mark);
  props += mark;
  if (!props.isEmpty()) x += QLatin1String("<w:pPr>") + props + QLatin1String("</w:pPr>");
  for (const Run& r : p.runs) RunXml(x, r);
  x += QLatin1String("</w:p>");
}

// The width of a text in ems, by the widest of the usual proportional fonts (Arial, Times New Roman), so that
// a column fitted to it does not wrap.
double Ems(const QString& text) {
  double ems = 0;
  for (const QChar c : text) {
    if (c == QLatin1Char('\t')) ems += 1.5;
    else if (c == QLatin1Char('m') || c == QLatin1Char('w')) ems += 0.85;
    else if (c == QLatin1Char('M') || c == QLatin1Char('W')) ems += 0.95;
    else if (c.isUpper()) ems += 0.74;
    else if (c.isDigit()) ems += 0.56;
    else if (c.isLower()) ems += 0.52;
    else if (c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char(',')) ems += 0.28;
    else ems += 0.6;
  }
  return ems * 1.05;
}

// A number as a table shows it: a sign, digits with a decimal point, an exponent ("-12.50", "8.16E-04"). A word
// processor that narrows its cell would break it like any word; no table breaks one.
bool Numero(const QString& text) {
  static const QRegularExpression numero(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
  return numero.match(text).hasMatch();
}

// The size of a run in points: its own, else the document's default.
double RunSize(const Run& run) {
  return run.format.size && HalfPoints(*run.format.size) > 0 ? HalfPoints(*run.format.size) / 2.0 : kDefaultSize;
}

// Whether the whole text of a cell is a number (blanks around it aside).
bool NumberCell(const Paragraph& p) {
  QString text;
  for (const Run& run : p.runs) text += CleanText(run.text);
  text = plat::TrimBlanks(text);
  return !text.isEmpty() && Numero(text);
}

// What one column needs, in twentieths of a point, its cell margins included: the width of its longest cell, of
// its longest word, and of its longest number (a cell that is a number, or a number among the words of a cell),
// which it never gets less than.
struct ColumnNeeds {
  double whole = 0, word = 0, number = 0;
};

ColumnNeeds Needs(const TableData& t, int c) {
  ColumnNeeds n;
  for (int r = 1; r <= t.rows; ++r) {
    const Paragraph& p = t.At(r, c);
    double width = 0;
    for (const Run& run : p.runs) {
      const QString text = CleanText(run.text);
      const double twips = RunSize(run) * 20;
      width += Ems(text) * twips;
      static const QRegularExpression blanks(QStringLiteral("[ \t]+"));
      for (const QString& word : text.split(blanks, Qt::SkipEmptyParts)) {
        const double w = Ems(word) * twips;
        n.word = std::max(n.word, w);
        if (Numero(word)) n.number = std::max(n.number, w);
      }
    }
    n.whole = std::max(n.whole, width);
    if (NumberCell(p)) n.number = std::max(n.number, width);
  }
  // A column wider than a hundred text widths is narrowed below anyway: held there, its width stays a number that
  // the integer arithmetic below holds, however long its text.
  const auto twips = [](double w) { return std::min(std::ceil(w) + 2 * kCellMargin, 100.0 * kTextWidth); };
  n.whole = std::max(360.0, twips(n.whole));
  n.word = std::min(n.whole, twips(n.word));
  n.number = n.number > 0 ? std::min(n.whole, twips(n.number)) : 0;
  return n;
}

// Column widths: fitted to the longest text of each column (AutoFit), or the text width shared evenly. A table
// wider than the text width is narrowed step by step, each step taking from its columns in proportion to what they
// can give, and only as far as it must: first the columns of text down to their longest word, then the columns
// of numbers down to their longest word, then the columns of text down to the narrowest column, then the columns
// of numbers down to their longest number. A number is never broken: a table whose numbers alone are wider than
// the text width runs past the right margin.
std::vector<int> ColumnWidths(const TableData& t) {
  std::vector<int> w(static_cast<std::size_t>(t.columns), 0);
  if (!t.autoFit) {
    std::fill(w.begin(), w.end(), kTextWidth / t.columns);
    return w;
  }
  std::vector<ColumnNeeds> needs;
  std::vector<double> width;
  for (int c = 1; c <= t.columns; ++c) {
    needs.push_back(Needs(t, c));
    width.push_back(needs.back().whole);
  }
  const auto narrow = [&](auto floor) {
    double total = 0, room = 0;
    std::vector<double> floors;
    for (std::size_t c = 0; c < width.size(); ++c) {
      floors.push_back(std::min(width[c], floor(needs[c])));
      total += width[c];
      room += width[c] - floors[c];
    }
    const double excess = total - kTextWidth;
    if (excess <= 0 || room <= 0) return;
    const double share = std::min(1.0, excess / room);
    for (std::size_t c = 0; c < width.size(); ++c) width[c] -= (width[c] - floors[c]) * share;
  };
  const auto text = [](const ColumnNeeds& n) { return n.number == 0; };
  constexpr double kNarrowest = 360;
  narrow([&](const ColumnNeeds& n) { return text(n) ? std::max(kNarrowest, n.word) : n.whole; });
  narrow([&](const ColumnNeeds& n) { return text(n) ? std::max(kNarrowest, n.word) : std::max({kNarrowest, n.word, n.number}); });
  narrow([&](const ColumnNeeds& n) { return text(n) ? kNarrowest : std::max({kNarrowest, n.word, n.number}); });
  narrow([&](const ColumnNeeds& n) { return text(n) ? kNarrowest : std::max(kNarrowest, n.number); });
  // Whole twips: every floor of the steps is a whole number, so a column keeps at least its floor.
  for (std::size_t c = 0; c < width.size(); ++c) w[c] = std::max(1, static_cast<int>(std::floor(width[c])));
  return w;
}

void Border(QString& x, const char* side, int size) {
  x += QStringLiteral("<w:%1 w:val=\"single\" w:sz=\"%2\" w:space=\"0\" w:color=\"auto\"/>")
           .arg(QLatin1String(side))
           .arg(size);
}

void TableXml(QString& x, const TableData& t) {
  const std::vector<int> widths = ColumnWidths(t);
  const bool grid = t.autoFormat != wdTableFormatNone;
  const bool shadedHead = t.autoFormat == wdTableFormatGrid5;

  x += QLatin1String("<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/>");
  if (t.rowsAlignment) {
    static const char* const kJc[] = {"left", "center", "right"};
    if (*t.rowsAlignment >= 0 && *t.rowsAlignment <= 2)
      x += QStringLiteral("<w:jc w:val=\"%1\"/>").arg(QLatin1String(kJc[*t.rowsAlignment]));
  }
  if (grid || t.outsideLineWidth) {
    const int outside = t.outsideLineWidth ? std::clamp(*t.outsideLineWidth, 2, 96) : 4;
    x += QLatin1String("<w:tblBorders>");
    for (const char* side : {"top", "left", "bottom", "right"}) Border(x, side, outside);
    if (grid)
      for (const char* side : {"insideH", "insideV"}) Border(x, side, 4);
    x += QLatin1String("</w:tblBorders>");
  }
  x += t.autoFit ? QLatin1String("<w:tblLayout w:type=\"autofit\"/>") : QLatin1String("<w:tblLayout w:type=\"fixed\"/>");
  // The cell margins in the table itself: not every word processor takes them from the default table style.
  x += QStringLiteral("<w:tblCellMar><w:left w:w=\"%1\" w:type=\"dxa\"/><w:right w:w=\"%1\" w:type=\"dxa\"/>"
                      "</w:tblCellMar>")
           .arg(kCellMargin);
  x += QLatin1String("<w:tblLook w:val=\"0000\"/></w:tblPr><w:tblGrid>");
  for (int w : widths) x += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(w);
  x += QLatin1String("</w:tblGrid>");
  for (int r = 1; r <= t.rows; ++r) {
    x += QLatin1String("<w:tr>");
    for (int c = 1; c <= t.columns; ++c) {
      x += QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/>").arg(widths[static_cast<std::size_t>(c - 1)]);
      if (shadedHead && r == 1) x += QLatin1String("<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"D9D9D9\"/>");
      // A number is kept on one line, by a word processor that heeds it, whatever width the layout gives it.
      if (NumberCell(t.At(r, c))) x += QLatin1String("<w:noWrap/>");
      x += QLatin1String("</w:tcPr>");
      ParagraphXml(x, t.At(r, c));  // every cell ends with a paragraph
      x += QLatin1String("</w:tc>");
    }
    x += QLatin1String("</w:tr>");
  }
  x += QLatin1String("</w:tbl>");
}

QByteArray StylesXml() {
  return QByteArray(kXmlHead) +
         "<w:styles xmlns:w=\"" + kNsW +
         "\"><w:docDefaults><w:rPrDefault><w:rPr>"
         "<w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New Roman\" w:eastAsia=\"Times New Roman\" "
         "w:cs=\"Times New Roman\"/><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/></w:rPr></w:rPrDefault>"
         "<w:pPrDefault/></w:docDefaults>"
         "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/><w:qFormat/>"
         "</w:style>"
         "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
         "<w:uiPriority w:val=\"99\"/><w:semiHidden/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar>"
         "<w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"57\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/>"
         "<w:right w:w=\"57\" w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style></w:styles>";
}

const char* const kContentTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "<Override PartName=\"/word/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/></Types>";

const char* const kPackageRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

const char* const kDocumentRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/></Relationships>";

}  // namespace

QByteArray Document::DocumentXml() const {
  QString x;
  x += QStringLiteral("<w:document xmlns:w=\"%1\"><w:body>").arg(QLatin1String(kNsW));
  for (const Block& b : blocks_) {
    if (const auto* p = std::get_if<Paragraph>(&b)) ParagraphXml(x, *p);
    else TableXml(x, std::get<TableData>(b));
  }
  x += QStringLiteral("<w:sectPr><w:pgSz w:w=\"%1\" w:h=\"%2\"/><w:pgMar w:top=\"%3\" w:right=\"%3\" w:bottom=\"%3\" "
                      "w:left=\"%3\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>")
           .arg(kPageWidth)
           .arg(kPageHeight)
           .arg(kMargin);
  x += QLatin1String("</w:body></w:document>");
  return QByteArray(kXmlHead) + x.toUtf8();
}

QByteArray Document::Package() const {
  const std::vector<std::pair<const char*, QByteArray>> parts = {
      {"[Content_Types].xml", QByteArray(kXmlHead) + kContentTypes},
      {"_rels/.rels", QByteArray(kXmlHead) + kPackageRels},
      {"word/document.xml", DocumentXml()},
      {"word/_rels/document.xml.rels", QByteArray(kXmlHead) + kDocumentRels},
      {"word/styles.xml", StylesXml()},
  };
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!buffer) return {};
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  if (!archive) {
    zip_source_free(buffer);
    return {};
  }
  zip_source_keep(buffer);  // the zipped bytes stay readable after the archive is closed
  bool ok = true;
  for (const auto& [name, data] : parts) {
    zip_source_t* s = zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
    if (!s || zip_file_add(archive, name, s, ZIP_FL_ENC_UTF_8) < 0) {
      if (s) zip_source_free(s);
      ok = false;
      break;
    }
  }
  if (!ok || zip_close(archive) < 0) {
    zip_discard(archive);
    zip_source_free(buffer);
    return {};
  }
  QByteArray out;
  if (zip_source_open(buffer) == 0) {
    zip_source_seek(buffer, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(buffer);
    zip_source_seek(buffer, 0, SEEK_SET);
    if (size > 0) {
      out.resize(static_cast<qsizetype>(size));
      if (zip_source_read(buffer, out.data(), static_cast<zip_uint64_t>(size)) != size) out.clear();
    }
    zip_source_close(buffer);
  }
  zip_source_free(buffer);
  return out;
}

bool Document::SaveAs(const QString& FileName, QString* error) {
  const QByteArray data = Package();
  if (data.isEmpty()) {
    if (error) *error = QStringLiteral("the document could not be packed");
    return false;
  }
  if (!plat::WriteWholeFile(FileName, data)) {
    if (error) *error = QStringLiteral("%1 cannot be written").arg(FileName);
    return false;
  }
  return true;
}

}  // namespace word
