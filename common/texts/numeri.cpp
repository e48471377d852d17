#include "common/texts/numeri.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Room for the plain figures of any double: 309 whole digits and a carry, the point, a sign, and up to 338
// digits of fraction before it is cut.
constexpr int kCifreIntere = 320;
constexpr int kCifreFrazione = 352;

// The figures of FormatoFigura written at `out`; returns the end. Everything is done in fixed buffers on the
// stack, so formatting a number costs no heap allocation.
char* Figura(char* out, double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  if (decimals < 0) decimals = 0;
  if (value == 0.0) {
    *out++ = '.';
    return out;
  }
  // Fifteen significant digits, as the original's formatting of a double: "d.dddddddddddddde+XX".
  char sci[40];
  const char* fine = std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific, 14).ptr;
  char mant[16];
  mant[0] = sci[0];
  std::memcpy(mant + 1, sci + 2, 14);
  const char* e = sci + 16;  // the "e"
  const bool negativo = e[1] == '-';
  int exponent = 0;
  std::from_chars(e + 2, fine, exponent);
  if (negativo) exponent = -exponent;

  // Positional digits: integer part (one slot kept in front for a carry) and fraction.
  char wholeBuf[kCifreIntere + 1];
  char* whole = wholeBuf + 1;
  int wn = 0;
  char fraction[kCifreFrazione];
  int fn = 0;
  if (exponent >= 0) {
    if (15 > exponent + 1) {
      wn = exponent + 1;
      std::memcpy(whole, mant, wn);
      fn = 15 - wn;
      std::memcpy(fraction, mant + wn, fn);
    } else {
      std::memcpy(whole, mant, 15);
      std::memset(whole + 15, '0', exponent + 1 - 15);
      wn = exponent + 1;
    }
  } else {
    const int zeros = -exponent - 1;
    std::memset(fraction, '0', zeros);
    std::memcpy(fraction + zeros, mant, 15);
    fn = zeros + 15;
  }
  // Round the fraction to `decimals` places, halves away from zero.
  if (fn > decimals) {
    const bool up = fraction[decimals] >= '5';
    fn = decimals;
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
        int j = wn - 1;
        for (; j >= 0; --j) {
          if (whole[j] == '9') whole[j] = '0';
          else {
            ++whole[j];
            break;
          }
        }
        if (j < 0) {
          --whole;
          whole[0] = '1';
          ++wn;
        }
      }
    }
  }
  while (fn > 0 && fraction[fn - 1] == '0') --fn;
  int lead = 0;
  while (lead < wn && whole[lead] == '0') ++lead;
  whole += lead;
  wn -= lead;
  if (value < 0 && !(wn == 0 && fn == 0)) *out++ = '-';
  std::memcpy(out, whole, wn);
  out += wn;
  *out++ = '.';
  std::memcpy(out, fraction, fn);
  return out + fn;
}

}  // namespace

QString FormatoFigura(double value, int decimals) {
  char buf[LunghezzaFigura];
  return QString::fromLatin1(buf, Figura(buf, value, decimals) - buf);
}

char* NumeroTestoChars(char* out, double value) {
  char* inizio = out;
  char* fine = Figura(out + 1, value, 7);
  if (out[1] == '.') out[0] = '0';  // "0.25"
  else ++inizio;
  std::memmove(out, inizio, fine - inizio);
  fine -= inizio - out;
  if (fine[-1] == '.') --fine;  // "5"
  return fine;
}

QString NumeroTesto(double value) {
  char buf[LunghezzaFigura];
  return QString::fromLatin1(buf, NumeroTestoChars(buf, value) - buf);
}

char* FormatoFissoChars(char* out, double value, std::string_view mask) {
  const std::size_t point = mask.find('.');
  const int width = static_cast<int>(mask.size());
  const int places = point == std::string_view::npos ? width : static_cast<int>(point);
  const int decimals = point == std::string_view::npos ? 0 : static_cast<int>(mask.size() - point - 1);
  static constexpr double kPotenze[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  const double scale = decimals < 10 ? kPotenze[decimals] : std::pow(10.0, decimals);
  const double scalato = std::floor(value * scale + 0.5);
  // The figures with a zero before and after the point where they have none: "0.5", "5.0", "-.5".
  char s[LunghezzaFigura];
  char* inizio = s + 1;
  char* fine;
  if (decimals < 10 && std::fabs(scalato) < 1e15) {
    // The rounded value has at most 15 significant digits, which its fifteen-digit figures give back exactly:
    // they are the digits of the whole number `scalato` with the point put `decimals` places from the right.
    const auto n = static_cast<std::int64_t>(scalato);
    const std::uint64_t assoluto = static_cast<std::uint64_t>(n < 0 ? -n : n);
    const auto unita = static_cast<std::uint64_t>(scale);
    fine = inizio;
    if (n < 0) *fine++ = '-';
    if (assoluto >= unita) fine = std::to_chars(fine, s + sizeof s, assoluto / unita).ptr;
    else if (n >= 0) *fine++ = '0';
    *fine++ = '.';
    if (decimals == 0) {
      *fine++ = '0';
    } else {
      char cifre[24];
      const int quante = static_cast<int>(std::to_chars(cifre, cifre + sizeof cifre, assoluto % unita).ptr - cifre);
      std::memset(fine, '0', decimals - quante);
      fine += decimals - quante;
      std::memcpy(fine, cifre, quante);
      fine += quante;
    }
  } else {
    fine = Figura(inizio, scalato / scale, 11);
    if (*inizio == '.') *--inizio = '0';
    if (fine[-1] == '.') *fine++ = '0';
  }
  const char* p = static_cast<const char*>(std::memchr(inizio, '.', fine - inizio));
  const int wn = static_cast<int>(p - inizio);
  const int fn = static_cast<int>(fine - p - 1);
  // The decimals written: the fraction padded with up to 15 zeros, cut to `decimals`.
  const int dn = decimals == 0 ? 0 : std::min(decimals, fn + 15);
  const auto scriviDecimali = [&](char* o, int quanti) {
    // `quanti` characters of "." + fraction + zeros.
    if (quanti <= 0) return o;
    *o++ = '.';
    --quanti;
    const int daFrazione = std::min(quanti, fn);
    std::memcpy(o, p + 1, daFrazione);
    o += daFrazione;
    std::memset(o, '0', quanti - daFrazione);
    return o + (quanti - daFrazione);
  };
  const int decimalsLength = decimals == 0 ? 0 : 1 + dn;
  if (wn > width) {
    std::memcpy(out, inizio, wn);
    return out + wn;
  }
  if (wn > places) {
    std::memcpy(out, inizio, wn);
    return scriviDecimali(out + wn, std::min(decimalsLength, width - wn));
  }
  if (wn < places) {
    const int pad = std::min(places - wn, 14);
    std::memset(out, ' ', pad);
    out += pad;
  }
  std::memcpy(out, inizio, wn);
  return scriviDecimali(out + wn, decimalsLength);
}

QString FormatoFisso(double value, const QString& mask) {
  QVarLengthArray<char, 64> maschera(mask.size());
  for (qsizetype i = 0; i < mask.size(); ++i) maschera[i] = mask.at(i) == QLatin1Char('.') ? '.' : '#';
  QVarLengthArray<char, LunghezzaFigura> buf(LunghezzaFigura + mask.size());
  const std::string_view m(maschera.data(), maschera.size());
  return QString::fromLatin1(buf.data(), FormatoFissoChars(buf.data(), value, m) - buf.data());
}

QString FormattaNumero(double value, int decimals) {
  // The figures at four decimals followed by zeros, a zero before a leading point; cut after `decimals` places.
  char s[LunghezzaFigura + 16];
  char* fine = Figura(s + 1, value, 4);
  char* inizio = s + 1;
  std::memset(fine, '0', 8);
  fine += 8;
  if (*inizio == '.') *--inizio = '0';
  const qsizetype p = static_cast<const char*>(std::memchr(inizio, '.', fine - inizio)) - inizio + 1;
  const qsizetype length = std::min<qsizetype>(p + decimals, fine - inizio);
  return length <= 0 ? QString() : QString::fromLatin1(inizio, length);
}
