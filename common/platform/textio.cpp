#include "common/platform/textio.h"

#include "common/platform/files.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace plat {

namespace {
// Windows-1252 differs from Latin-1 only in the bytes 0x80 to 0x9F (and in the characters those bytes stand for):
// text without them converts as Latin-1, with no converter to open. The suite's own files have none.
bool LikeLatin1(const char* p, qsizetype n) {
  // Eight bytes at a time: a byte 100xxxxx has its top bit set and the next two clear.
  constexpr quint64 kTop = 0x8080808080808080ULL;
  qsizetype i = 0;
  for (; i + 8 <= n; i += 8) {
    quint64 w;
    std::memcpy(&w, p + i, 8);
    if (w & ~(w << 1) & ~(w << 2) & kTop) return false;
  }
  for (; i < n; ++i)
    if ((static_cast<unsigned char>(p[i]) & 0xE0) == 0x80) return false;
  return true;
}
bool LikeLatin1(const QString& t) {
  const QChar* p = t.constData();
  for (qsizetype i = 0, n = t.size(); i < n; ++i) {
    const char16_t c = p[i].unicode();
    if (c >= 0x80 && (c < 0xA0 || c > 0xFF)) return false;
  }
  return true;
}
}  // namespace

QString DecodeAnsi(const QByteArray& bytes) {
  if (LikeLatin1(bytes.constData(), bytes.size())) return QString::fromLatin1(bytes);
  QStringDecoder decoder("windows-1252");
  if (!decoder.isValid()) return QString::fromLatin1(bytes);
  return decoder.decode(bytes);
}

namespace {
// The characters of the bytes 0x80 to 0x9F, as the converter reads them; a byte it cannot read stands for none.
const std::array<char16_t, 32>& CaratteriAlti() {
  static const std::array<char16_t, 32> tabella = [] {
    std::array<char16_t, 32> t{};
    QByteArray bytes;
    for (int b = 0x80; b < 0xA0; ++b) bytes.append(static_cast<char>(b));
    QStringDecoder decoder("windows-1252");
    const QString testo = decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
    for (qsizetype i = 0; i < 32 && i < testo.size(); ++i)
      t[static_cast<std::size_t>(i)] = testo.at(i).unicode() == 0xFFFD ? 0 : testo.at(i).unicode();
    return t;
  }();
  return tabella;
}
}  // namespace

bool AnsiHolds(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return true;
  if (c > 0xFFFF) return false;
  for (const char16_t a : CaratteriAlti())
    if (a != 0 && a == c) return true;
  return false;
}

std::optional<char32_t> CharacterALineCannotHold(QStringView text) {
  for (const char32_t c : text.toUcs4())
    if (c < 0x20 || c == 0x7F || !AnsiHolds(c)) return c;
  return std::nullopt;
}

QByteArray EncodeAnsi(const QString& text) {
  if (LikeLatin1(text)) return text.toLatin1();
  // What Windows-1252 cannot hold becomes "?", one for each character (a pair of surrogates is one character):
  // the converter would write 0x1A, which ends the file for every reader.
  QString testo;
  testo.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      testo += QLatin1Char('?');
      ++i;
    } else {
      testo += AnsiHolds(c.unicode()) ? c : QLatin1Char('?');
    }
  }
  QStringEncoder encoder("windows-1252");
  if (!encoder.isValid()) return testo.toLatin1();
  return encoder.encode(testo);
}

QStringView TrimBlanks(QStringView text) {
  qsizetype b = 0, e = text.size();
  while (b < e && text.at(b) == QLatin1Char(' ')) ++b;
  while (e > b && text.at(e - 1) == QLatin1Char(' ')) --e;
  return text.sliced(b, e - b);
}

QString TrimBlanks(const QString& text) {
  const QStringView trimmed = TrimBlanks(QStringView(text));
  return trimmed.size() == text.size() ? text : trimmed.toString();
}

namespace {

// The characters of a number as Val() reads them, blanks and TABs removed. A CR or LF ends the number: a lone CR
// inside an item ("5<CR>6") makes it no number at all rather than 56.
std::string NumberPrefix(QStringView text, bool* whole) {
  std::string s;
  qsizetype i = 0;
  const qsizetype n = text.size();
  auto skip = [&] {
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t'))) ++i;
  };
  auto peek = [&]() -> char {
    skip();
    return i < n ? text.at(i).toLatin1() : '\0';
  };
  char c = peek();
  if (c == '+' || c == '-') {
    s += c;
    ++i;
  }
  bool digits = false;
  while ((c = peek()) >= '0' && c <= '9') {
    s += c;
    ++i;
    digits = true;
  }
  if (peek() == '.') {
    s += '.';
    ++i;
    while ((c = peek()) >= '0' && c <= '9') {
      s += c;
      ++i;
      digits = true;
    }
  }
  if (digits) {
    c = peek();
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
      const qsizetype save = i;
      std::string exp = "e";
      ++i;
      c = peek();
      if (c == '+' || c == '-') {
        exp += c;
        ++i;
      }
      bool expDigits = false;
      while ((c = peek()) >= '0' && c <= '9') {
        exp += c;
        ++i;
        expDigits = true;
      }
      if (expDigits) s += exp;
      else i = save;
    }
  }
  skip();
  if (whole) *whole = digits && i == n;
  return digits ? s : std::string();
}

// Val() of the prefix; `whole` (optional) tells whether the whole text was the number.
double ValueOf(QStringView text, bool* whole) {
  // The common case first: a plain decimal number, without blanks, sign "+" or exponent.
  const qsizetype n = text.size();
  char plain[32];
  if (n > 0 && n < static_cast<qsizetype>(sizeof plain)) {
    qsizetype i = 0;
    for (; i < n; ++i) {
      const char16_t c = text[i].unicode();
      if (!((c >= u'0' && c <= u'9') || c == u'.' || (c == u'-' && i == 0))) break;
      plain[i] = static_cast<char>(c);
    }
    double v = 0.0;
    if (i == n) {
      const auto r = std::from_chars(plain, plain + n, v);
      if (r.ec == std::errc() && r.ptr == plain + n) {
        if (whole) *whole = true;
        return v;
      }
    }
  }
  const std::string s = NumberPrefix(text, whole);
  if (s.empty()) return 0.0;
  const char* b = s.data();
  const char* e = b + s.size();
  if (*b == '+') ++b;
  double v = 0.0;
  const auto r = std::from_chars(b, e, v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large for a double: as large as it gets, with its sign; too small: zero.
    const bool negative = *b == '-';
    const bool tiny = s.find("e-") != std::string::npos;
    return tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
  }
  return r.ec == std::errc() ? v : 0.0;
}

}  // namespace

double Val(const QString& text) { return ValueOf(text, nullptr); }

bool IsNumeric(const QString& text) {
  bool whole = false;
  NumberPrefix(text, &whole);
  return whole;
}

QString StrNumber(double value, bool singlePrecision) {
  if (std::isnan(value)) return QStringLiteral(" NaN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral(" Inf") : QStringLiteral("-Inf");
  const int precision = singlePrecision ? 7 : 15;
  if (singlePrecision) value = static_cast<double>(static_cast<float>(value));
  if (value == 0.0) return QStringLiteral(" 0");
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, precision - 1);
  const std::string sci(buf, r.ptr);
  const auto epos = sci.find('e');
  std::string digits = sci.substr(0, 1) + (epos > 2 ? sci.substr(2, epos - 2) : std::string());
  int exponent = std::stoi(sci.substr(epos + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = value < 0 ? "-" : " ";
  if (exponent > -5 && exponent < precision) {
    if (exponent >= 0) {
      if (static_cast<int>(digits.size()) <= exponent + 1) {
        out.append(digits).append(exponent + 1 - digits.size(), '0');
      } else {
        out.append(digits, 0, exponent + 1).append(1, '.').append(digits, exponent + 1);
      }
    } else {
      out.append(1, '.').append(-exponent - 1, '0').append(digits);
    }
  } else {
    out.append(digits, 0, 1);
    if (digits.size() > 1) out.append(1, '.').append(digits, 1);
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += e;
  }
  return QString::fromLatin1(out.c_str());
}

QString PrintNumber(double value, bool singlePrecision) {
  return StrNumber(value, singlePrecision) + QLatin1Char(' ');
}

// ---------------------------------------------------------------------------------------------------------------

bool SeqReader::Open(const QString& path) {
  QByteArray bytes;
  open_ = false;
  text_.clear();
  pos_ = 0;
  line_ = 1;
  faultLine_ = 0;
  path_ = ResolveExisting(path);
  fault_ = ReadDataFile(path, bytes);
  if (fault_ != ReadFault::None) return false;
  OpenBytes(bytes);
  // One rule for the line ends of every file: CR LF or LF. A CR alone (a file written with CR line ends, or a CR
  // inside a line) would leave the reader a line that is several, or a line whose text holds a line end.
  for (qsizetype i = text_.indexOf(QLatin1Char('\r')); i >= 0; i = text_.indexOf(QLatin1Char('\r'), i + 1)) {
    if (i + 1 < text_.size() && text_.at(i + 1) == QLatin1Char('\n')) continue;
    fault_ = ReadFault::LineEnds;
    faultLine_ = 1 + static_cast<int>(QStringView(text_).first(i).count(QLatin1Char('\n')));
    open_ = false;
    text_.clear();
    return false;
  }
  return true;
}

void SeqReader::OpenBytes(const QByteArray& bytes) {
  text_ = DecodeAnsi(bytes);
  // A Ctrl-Z as the last byte (old editors) marks the end of the file; inside the file it is a character, so that
  // one damaged byte never hides the lines after it.
  if (text_.endsWith(QChar(0x1A))) text_.chop(1);
  pos_ = 0;
  line_ = 1;
  open_ = true;
  fault_ = ReadFault::None;
  faultLine_ = 0;
}

bool SeqReader::AtEnd() const { return !open_ || pos_ >= text_.size(); }

void SeqReader::SkipLineEnd() {
  if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char('\r') && pos_ + 1 < text_.size() &&
      text_.at(pos_ + 1) == QLatin1Char('\n')) {
    pos_ += 2;
    ++line_;
  } else if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char('\n')) {
    ++pos_;
    ++line_;
  }
}

bool SeqReader::ReadLineView(QStringView& line) {
  line = QStringView();
  if (AtEnd()) return false;
  qsizetype end = text_.indexOf(QLatin1Char('\n'), pos_);
  if (end < 0) end = text_.size();
  qsizetype stop = end;
  if (stop > pos_ && text_.at(stop - 1) == QLatin1Char('\r')) --stop;
  line = QStringView(text_).sliced(pos_, stop - pos_);
  pos_ = end;
  SkipLineEnd();
  return true;
}

bool SeqReader::ReadLine(QString& line) {
  QStringView view;
  const bool read = ReadLineView(view);
  line = view.toString();
  return read;
}

bool SeqReader::ReadItem(QString& item) {
  item.clear();
  if (AtEnd()) return false;
  while (pos_ < text_.size() && (text_.at(pos_) == QLatin1Char(' ') || text_.at(pos_) == QLatin1Char('\t'))) ++pos_;
  auto atLineEnd = [&](qsizetype p) {
    return p >= text_.size() || text_.at(p) == QLatin1Char('\n') ||
           (text_.at(p) == QLatin1Char('\r') && p + 1 < text_.size() && text_.at(p + 1) == QLatin1Char('\n'));
  };
  if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char('"')) {
    const qsizetype close = text_.indexOf(QLatin1Char('"'), pos_ + 1);
    qsizetype lineEnd = text_.indexOf(QLatin1Char('\n'), pos_);
    if (lineEnd < 0) lineEnd = text_.size();
    if (close >= 0 && close < lineEnd) {
      item = text_.mid(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
      while (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(' ')) ++pos_;
      // The rest up to the delimiter belongs to no item.
      while (!atLineEnd(pos_) && text_.at(pos_) != QLatin1Char(',')) ++pos_;
      if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(',')) ++pos_;
      else SkipLineEnd();
      return true;
    }
  }
  qsizetype p = pos_;
  while (!atLineEnd(p) && text_.at(p) != QLatin1Char(',')) ++p;
  item = text_.mid(pos_, p - pos_);
  if (item.endsWith(QLatin1Char('\r'))) item.chop(1);
  while (item.endsWith(QLatin1Char(' ')) || item.endsWith(QLatin1Char('\t'))) item.chop(1);
  pos_ = p;
  if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(',')) ++pos_;
  else SkipLineEnd();
  return true;
}

bool SeqReader::ReadNumber(double& value, bool* ok) {
  // A numeric item ends at a blank, a comma or the line end; blanks after it are skipped, then one comma or one
  // line end is consumed.
  value = 0.0;
  if (ok) *ok = false;
  if (AtEnd()) return false;
  auto blank = [&](qsizetype p) {
    return p < text_.size() && (text_.at(p) == QLatin1Char(' ') || text_.at(p) == QLatin1Char('\t'));
  };
  auto lineEnd = [&](qsizetype p) {
    return p >= text_.size() || text_.at(p) == QLatin1Char('\n') ||
           (text_.at(p) == QLatin1Char('\r') && p + 1 < text_.size() && text_.at(p + 1) == QLatin1Char('\n'));
  };
  while (blank(pos_)) ++pos_;
  if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char('"')) {
    QString item;
    ReadItem(item);
    bool whole = false;
    value = ValueOf(item, &whole);
    if (ok) *ok = whole && std::isfinite(value);
    if (!std::isfinite(value)) value = 0.0;
    return true;
  }
  qsizetype p = pos_;
  while (!lineEnd(p) && !blank(p) && text_.at(p) != QLatin1Char(',')) ++p;
  const QStringView item = QStringView(text_).mid(pos_, p - pos_);
  pos_ = p;
  while (blank(pos_)) ++pos_;
  if (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(',')) ++pos_;
  else SkipLineEnd();
  bool whole = false;
  value = ValueOf(item, &whole);
  if (ok) *ok = whole && std::isfinite(value);
  if (!std::isfinite(value)) value = 0.0;
  return true;
}

bool SeqReader::ReadNumberLine(double& value, bool* ok) {
  value = 0.0;
  if (ok) *ok = false;
  QString line;
  if (!ReadLine(line)) return false;
  auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
  qsizetype b = 0, e = line.size();
  while (b < e && blank(line.at(b))) ++b;
  while (e > b && blank(line.at(e - 1))) --e;
  const QStringView t = QStringView(line).mid(b, e - b);
  // One item: no comma, no blank or TAB between two parts of it.
  bool one = !t.isEmpty();
  for (const QChar c : t)
    if (c == QLatin1Char(',') || c == QLatin1Char(' ') || c == QLatin1Char('\t')) one = false;
  bool whole = false;
  const double v = ValueOf(t, &whole);
  if (one && whole && std::isfinite(v)) {
    value = v;
    if (ok) *ok = true;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------------------------

SeqWriter::~SeqWriter() { Discard(); }

bool SeqWriter::Open(const QString& path, bool append) {
  Discard();
  path_ = ResolveForWrite(path);
  if (!FolderExists(FolderPart(path_).isEmpty() ? QStringLiteral(".") : FolderPart(path_))) return false;
  data_.clear();
  if (append) {
    // The file appended to is kept whole: one that cannot be read (too large, no regular file) is not replaced by
    // the lines appended.
    QByteArray existing;
    const ReadFault fault = ReadDataFile(path_, existing);
    if (fault != ReadFault::None && fault != ReadFault::Missing) return false;
    data_ = existing;
  }
  open_ = true;
  return true;
}

void SeqWriter::Write(const QString& text) {
  if (open_) data_ += EncodeAnsi(text);
}

void SeqWriter::WriteLine(const QString& text) {
  if (!open_) return;
  data_ += EncodeAnsi(text);
  data_ += "\r\n";
}

void SeqWriter::WriteNumber(double value, bool singlePrecision) { WriteLine(PrintNumber(value, singlePrecision)); }

void SeqWriter::WriteBytes(const char* bytes, qsizetype size) {
  if (open_) data_.append(bytes, size);
}

bool SeqWriter::Close() {
  if (!open_) return false;
  open_ = false;
  const bool ok = WriteWholeFile(path_, data_);
  data_.clear();
  return ok;
}

void SeqWriter::Discard() {
  open_ = false;
  data_.clear();
}

}  // namespace plat
