#include "docexport/word.h"

namespace word {

void CharacterFormat::MergeFrom(const CharacterFormat& other) {
  if (other.name) name = other.name;
  if (other.size) size = other.size;
  if (other.italic) italic = other.italic;
}

QString CleanText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == u'\t' || (u >= 0x20 && u < 0x7F) || (u > 0x9F && u != 0xFFFE && u != 0xFFFF)) out += c;
  }
  return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Range

template <class F>
void Range::Each(F f) {
  auto& blocks = doc_->blocks_;
  auto cells = [&](TableData& t) {
    for (Paragraph& p : t.cells) f(p, 0, static_cast<int>(p.runs.size()), true);
  };
  switch (kind_) {
    case Kind::Whole:
      for (Block& b : blocks) {
        if (auto* p = std::get_if<Paragraph>(&b)) f(*p, 0, static_cast<int>(p->runs.size()), true);
        else cells(std::get<TableData>(b));
      }
      break;
    case Kind::Text:
      if (block_ < blocks.size())
        if (auto* p = std::get_if<Paragraph>(&blocks[block_])) f(*p, firstRun_, endRun_, false);
      break;
    case Kind::Table:
      if (block_ < blocks.size())
        if (auto* t = std::get_if<TableData>(&blocks[block_])) cells(*t);
      break;
    case Kind::Cell:
      if (block_ < blocks.size())
        if (auto* t = std::get_if<TableData>(&blocks[block_])) {
          if (row_ >= 1 && row_ <= t->rows && column_ >= 1 && column_ <= t->columns) {
            Paragraph& p = t->At(row_, column_);
            f(p, 0, static_cast<int>(p.runs.size()), true);
          }
        }
      break;
  }
}

void Range::FontObject::SetName(const QString& name) {
  r_->Each([&](Paragraph& p, int a, int b, bool mark) {
    for (int i = a; i < b; ++i) p.runs[static_cast<std::size_t>(i)].format.name = name;
    if (mark) p.mark.name = name;
  });
}

void Range::FontObject::SetSize(double points) {
  r_->Each([&](Paragraph& p, int a, int b, bool mark) {
    for (int i = a; i < b; ++i) p.runs[static_cast<std::size_t>(i)].format.size = points;
    if (mark) p.mark.size = points;
  });
}

void Range::FontObject::SetItalic(bool italic) {
  r_->Each([&](Paragraph& p, int a, int b, bool mark) {
    for (int i = a; i < b; ++i) p.runs[static_cast<std::size_t>(i)].format.italic = italic;
    if (mark) p.mark.italic = italic;
  });
}

void Range::ParagraphFormatObject::SetAlignment(int alignment) {
  r_->Each([&](Paragraph& p, int, int, bool) { p.alignment = alignment; });
}

void Range::Collapse(int Direction) {
  auto& blocks = doc_->blocks_;
  switch (kind_) {
    case Kind::Text:
      if (Direction == wdCollapseStart) endRun_ = firstRun_;
      else firstRun_ = endRun_;
      break;
    case Kind::Whole:
      // To the end: the insertion point before the last paragraph mark; to the start: before the first text.
      if (Direction == wdCollapseStart && std::holds_alternative<Paragraph>(blocks.front())) {
        kind_ = Kind::Text;
        block_ = 0;
        firstRun_ = endRun_ = 0;
      } else {
        kind_ = Kind::Text;
        block_ = blocks.size() - 1;
        firstRun_ = endRun_ = static_cast<int>(std::get<Paragraph>(blocks.back()).runs.size());
      }
      break;
    case Kind::Table:
      // A table collapsed to its end is the start of the paragraph after it (there always is one).
      if (Direction != wdCollapseStart) {
        kind_ = Kind::Text;
        block_ += 1;
        firstRun_ = endRun_ = 0;
      }
      break;
    case Kind::Cell:
      break;
  }
}

void Range::InsertAfter(const QString& text) {
  auto& blocks = doc_->blocks_;
  if (kind_ == Kind::Whole) {
    auto& p = std::get<Paragraph>(blocks.back());
    p.runs.push_back({text, p.mark});
    return;
  }
  if (kind_ == Kind::Table) {
    auto& p = std::get<Paragraph>(blocks[block_ + 1]);
    p.runs.insert(p.runs.begin(), Run{text, p.mark});
    return;
  }
  if (kind_ == Kind::Cell) {
    Each([&](Paragraph& p, int, int, bool) { p.runs.push_back({text, p.mark}); });
    return;
  }
  if (block_ >= blocks.size()) return;
  auto* p = std::get_if<Paragraph>(&blocks[block_]);
  if (!p) return;
  p->runs.insert(p->runs.begin() + endRun_, Run{text, p->mark});
  ++endRun_;  // the range grows over the inserted text
}

void Range::InsertParagraphAfter() {
  auto& blocks = doc_->blocks_;
  std::size_t at = blocks.size() - 1;
  int split = 0;
  if (kind_ == Kind::Whole) {
    split = static_cast<int>(std::get<Paragraph>(blocks.back()).runs.size());
  } else if (kind_ == Kind::Text && block_ < blocks.size() && std::holds_alternative<Paragraph>(blocks[block_])) {
    at = block_;
    split = endRun_;
  } else {
    return;  // a cell holds one paragraph; after a table there is always a paragraph already
  }
  // The paragraph is cut after the range; the new paragraph takes the rest and the paragraph's formats.
  auto& p = std::get<Paragraph>(blocks[at]);
  Paragraph next;
  next.mark = p.mark;
  next.alignment = p.alignment;
  next.runs.assign(p.runs.begin() + split, p.runs.end());
  p.runs.erase(p.runs.begin() + split, p.runs.end());
  blocks.insert(blocks.begin() + static_cast<std::ptrdiff_t>(at) + 1, std::move(next));
}

void Range::SetText(const QString& text) {
  Each([&](Paragraph& p, int a, int b, bool mark) {
    if (mark) {
      p.runs = {Run{text, p.mark}};
      return;
    }
    const CharacterFormat f = a < static_cast<int>(p.runs.size()) ? p.runs[static_cast<std::size_t>(a)].format : p.mark;
    p.runs.erase(p.runs.begin() + a, p.runs.begin() + b);
    p.runs.insert(p.runs.begin() + a, Run{text, f});
  });
  if (kind_ == Kind::Text) endRun_ = firstRun_ + 1;
}

QString Range::Text() const {
  QString out;
  const_cast<Range*>(this)->Each([&](Paragraph& p, int a, int b, bool) {
    for (int i = a; i < b; ++i) out += p.runs[static_cast<std::size_t>(i)].text;
  });
  return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Table

TableData& Table::Data() { return std::get<TableData>(doc_->blocks_[block_]); }

void Table::AutoFormat(int Format) { Data().autoFormat = Format; }
void Table::SetBordersOutsideLineWidth(int width) { Data().outsideLineWidth = width; }

word::Range Table::Range() {
  word::Range r(doc_, word::Range::Kind::Table);
  r.block_ = block_;
  return r;
}

word::Range Table::CellRange(int Row, int Column) {
  word::Range r(doc_, word::Range::Kind::Cell);
  r.block_ = block_;
  r.row_ = Row;
  r.column_ = Column;
  return r;
}

int Table::RowsCount() const { return std::get<TableData>(doc_->blocks_[block_]).rows; }
int Table::ColumnsCount() const { return std::get<TableData>(doc_->blocks_[block_]).columns; }
void Table::SetRowsAlignment(int alignment) { Data().rowsAlignment = alignment; }
void Table::ColumnsAutoFit() { Data().autoFit = true; }

// ---------------------------------------------------------------------------------------------------------------
// Document

Document::Document() { blocks_.emplace_back(Paragraph{}); }

word::Range Document::Range(int Start, int End) {
  (void)Start;
  (void)End;
  word::Range r(this, word::Range::Kind::Whole);
  r.Collapse(wdCollapseStart);
  return r;
}

word::Range Document::Content() { return word::Range(this, word::Range::Kind::Whole); }

std::optional<Table> Document::TablesAdd(const word::Range& where, int NumRows, int NumColumns) {
  if (NumRows < 1 || NumColumns < 1) return std::nullopt;
  word::Range at = where;
  if (at.kind_ == word::Range::Kind::Whole) at.Collapse(wdCollapseEnd);
  if (at.kind_ != word::Range::Kind::Text || at.block_ >= blocks_.size() ||
      !std::holds_alternative<Paragraph>(blocks_[at.block_]))
    return std::nullopt;

  // The table takes the place of the range: text before it stays in its paragraph, text after it goes to the
  // paragraph after the table, which always exists (a document and a cell never end with a table).
  std::size_t pos = at.block_;
  Paragraph& p = std::get<Paragraph>(blocks_[pos]);
  Paragraph tail;
  tail.mark = p.mark;
  tail.alignment = p.alignment;
  tail.runs.assign(p.runs.begin() + at.endRun_, p.runs.end());
  p.runs.erase(p.runs.begin() + at.firstRun_, p.runs.end());

  TableData t;
  t.rows = NumRows;
  t.columns = NumColumns;
  Paragraph cell;
  cell.mark = p.mark;
  cell.alignment = p.alignment;
  t.cells.assign(static_cast<std::size_t>(NumRows) * static_cast<std::size_t>(NumColumns), cell);

  if (p.runs.empty()) {
    // An empty paragraph becomes the table; two tables never touch: a paragraph stays between them.
    if (pos > 0 && std::holds_alternative<TableData>(blocks_[pos - 1])) {
      ++pos;
    } else {
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(pos));
    }
  } else {
    ++pos;
  }
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(t));
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(pos) + 1, std::move(tail));
  return Table(this, pos);
}

std::optional<Table> Document::TablesItem(int Index) {
  int n = 0;
  for (std::size_t i = 0; i < blocks_.size(); ++i)
    if (std::holds_alternative<TableData>(blocks_[i]) && ++n == Index) return Table(this, i);
  return std::nullopt;
}

int Document::TablesCount() const {
  int n = 0;
  for (const Block& b : blocks_) n += std::holds_alternative<TableData>(b) ? 1 : 0;
  return n;
}

// ---------------------------------------------------------------------------------------------------------------
// Application

Document& Application::DocumentsAdd() {
  documents_.push_back(std::make_unique<Document>());
  active_ = documents_.back().get();
  return *active_;
}

void Application::Close(Document* document) {
  std::erase_if(documents_, [&](const std::unique_ptr<Document>& d) { return d.get() == document; });
  active_ = documents_.empty() ? nullptr : documents_.back().get();
}

}  // namespace word
