#include "common/texts/numeri.h"

#include <charconv>
#include <cmath>
#include <string>

QString FormatoFigura(double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  if (decimals < 0) decimals = 0;
  if (value == 0.0) return QStringLiteral(".");
  // Fifteen significant digits, as the original's formatting of a double.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  const std::string sci(buf, r.ptr);
  const auto epos = sci.find('e');
  const std::string mant = sci.substr(0, 1) + sci.substr(2, epos - 2);
  const int exponent = std::stoi(sci.substr(epos + 1));
  // Positional digits: integer part and fraction.
  std::string whole, fraction;
  if (exponent >= 0) {
    if (static_cast<int>(mant.size()) > exponent + 1) {
      whole = mant.substr(0, exponent + 1);
      fraction = mant.substr(exponent + 1);
    } else {
      whole = mant + std::string(exponent + 1 - mant.size(), '0');
    }
  } else {
    fraction = std::string(-exponent - 1, '0') + mant;
  }
  // Round the fraction to `decimals` places, halves away from zero.
  if (static_cast<int>(fraction.size()) > decimals) {
    const bool up = fraction[decimals] >= '5';
    fraction.resize(decimals);
    if (up) {
      int i = decimals - 1;
      for (; i >= 0; --i) {
        if (fraction[i] == '9') fraction[i] = '0';
        else {
          ++fraction[i];
          break;
        }
      }
      if (i < 0) {
        int j = static_cast<int>(whole.size()) - 1;
        for (; j >= 0; --j) {
          if (whole[j] == '9') whole[j] = '0';
          else {
            ++whole[j];
            break;
          }
        }
        if (j < 0) whole.insert(whole.begin(), '1');
      }
    }
  }
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::size_t lead = 0;
  while (lead < whole.size() && whole[lead] == '0') ++lead;
  whole.erase(0, lead);
  std::string out;
  if (value < 0 && !(whole.empty() && fraction.empty())) out = "-";
  out += whole + "." + fraction;
  return QString::fromLatin1(out.c_str());
}

QString NumeroTesto(double value) {
  QString s = FormatoFigura(value, 7);
  if (s.startsWith(QLatin1Char('.'))) s.prepend(QLatin1Char('0'));
  if (s.endsWith(QLatin1Char('.'))) s.chop(1);
  return s;
}

QString FormatoFisso(double value, const QString& mask) {
  const qsizetype point = mask.indexOf(QLatin1Char('.'));
  const int places = point < 0 ? static_cast<int>(mask.size()) : static_cast<int>(point);
  const int decimals = point < 0 ? 0 : static_cast<int>(mask.size() - point - 1);
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::floor(value * scale + 0.5) / scale;
  QString s = FormatoFigura(rounded, 11);
  if (s.startsWith(QLatin1Char('.'))) s.prepend(QLatin1Char('0'));
  if (s.endsWith(QLatin1Char('.'))) s.append(QLatin1Char('0'));
  const qsizetype p = s.indexOf(QLatin1Char('.'));
  const QString whole = s.left(p);
  const QString fraction = s.mid(p + 1);
  const QString decimalsText =
      decimals == 0 ? QString() : QLatin1Char('.') + (fraction + QString(15, QLatin1Char('0'))).left(decimals);
  const int width = static_cast<int>(mask.size());
  if (whole.size() > width) return whole;
  if (whole.size() > places) return (whole + decimalsText).left(width);
  if (whole.size() < places) {
    const qsizetype pad = std::min<qsizetype>(places - whole.size(), 14);
    return QString(pad, QLatin1Char(' ')) + whole + decimalsText;
  }
  return whole + decimalsText;
}

QString FormattaNumero(double value, int decimals) {
  QString s = FormatoFigura(value, 4);
  s += s.contains(QLatin1Char('.')) ? QStringLiteral("00000000") : QStringLiteral(".00000000");
  s = s.trimmed();
  while (s.startsWith(QLatin1Char('0'))) s.remove(0, 1);
  if (s.startsWith(QLatin1Char('.'))) s.prepend(QLatin1Char('0'));
  const qsizetype p = s.indexOf(QLatin1Char('.')) + 1;  // 1-based position of the point
  const qsizetype length = p + decimals;
  return length <= 0 ? QString() : s.left(length);
}
