#include "common/texts/numeri.h"

#include <QVarLengthArray>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Room for the plain figures of any double: 309 whole digits and a carry, the point, a sign, and up to 338
// digits of fraction before it is cut.
constexpr int kCifreIntere = 320;
constexpr int kCifreFrazione = 352;

__extension__ typedef unsigned __int128 Intero128;

constexpr std::array<Intero128, 23> kPotenzeDieci = [] {
  std::array<Intero128, 23> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

constexpr std::uint64_t kMinimo15 = 100000000000000ULL, kMassimo15 = 1000000000000000ULL;

// Fifteen significant digits of `a` (finite, above zero), correctly rounded, as a whole number from 10^14 to
// 10^15 - 1, and the decimal exponent of the first, for the magnitudes of coordinates and table values, 1e-8 to
// 1e15; false for other magnitudes and for a value exactly halfway between two such numbers (where the rule for
// ties of the double's formatting decides).
bool Cifre15Intere(double a, std::uint64_t& cifre, int& exponent) {
  // The double is m / 2^s exactly; the digits are m * 10^k / 2^s rounded to the nearest integer, with k chosen to
  // leave fifteen figures. 128 bits hold the product exactly.
  const auto bit = std::bit_cast<std::uint64_t>(a);
  const int biased = static_cast<int>(bit >> 52);
  const int x = biased - 1022;  // a = f * 2^x with f from 0.5 to 1
  if (biased == 0 || x < -26 || x > 50) return false;
  const std::uint64_t m = (bit & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int s = 53 - x;
  int e10 = ((x - 1) * 78913) >> 18;  // floor(log10 a), or one below
  for (int prova = 0; prova < 3; ++prova) {
    const int k = 14 - e10;
    if (k < 0 || k > 22) return false;
    const Intero128 prodotto = static_cast<Intero128>(m) * kPotenzeDieci[static_cast<std::size_t>(k)];
    const Intero128 q = prodotto >> s;
    if (q >= kMassimo15) {
      ++e10;
      continue;
    }
    if (q < kMinimo15) {
      --e10;
      continue;
    }
    const Intero128 resto = prodotto - (q << s);
    const Intero128 meta = static_cast<Intero128>(1) << (s - 1);
    if (resto == meta) return false;
    cifre = static_cast<std::uint64_t>(q) + (resto > meta ? 1 : 0);
    if (cifre == kMassimo15) {
      cifre = kMinimo15;
      ++e10;
    }
    exponent = e10;
    return true;
  }
  return false;
}

// Fifteen significant digits of `a` (finite, above zero), correctly rounded, and the decimal exponent of the
// first: the digits and exponent of the double's formatting "d.dddddddddddddde+XX".
void Cifre15(double a, char mant[15], int& exponent) {
  std::uint64_t cifre = 0;
  if (Cifre15Intere(a, cifre, exponent)) {
    std::to_chars(mant, mant + 15, cifre);
    return;
  }
  char sci[40];
  const char* fine = std::to_chars(sci, sci + sizeof sci, a, std::chars_format::scientific, 14).ptr;
  mant[0] = sci[0];
  std::memcpy(mant + 1, sci + 2, 14);
  const char* e = sci + 16;  // the "e"
  std::from_chars(e + 2, fine, exponent);
  if (e[1] == '-') exponent = -exponent;
}

// The figures of FormatoFigura written at `out`; returns the end. Everything is done in fixed buffers on the
// stack, so formatting a number costs no heap allocation.
char* Figura(char* out, double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  if (decimals < 0) decimals = 0;
  if (value == 0.0) {
    *out++ = '.';
    return out;
  }
  // The value's fifteen significant digits and the exponent of the first.
  char mant[16];
  int exponent = 0;
  Cifre15(std::fabs(value), mant, exponent);

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
  // The plain form of the coordinates and table values, from 1e-8 to 1e11, comes straight from the fifteen
  // digits: they are rounded to seven decimals (halves up), and the whole part, the point and the decimals
  // without their trailing zeros are written as the general routine below writes them.
  std::uint64_t cifre = 0;
  int e10 = 0;
  if (std::isfinite(value) && value != 0 && Cifre15Intere(std::fabs(value), cifre, e10) && e10 <= 10) {
    std::uint64_t settimi = 0;  // the value in units of 1e-7
    if (e10 < 7) {
      const auto unita = static_cast<std::uint64_t>(kPotenzeDieci[static_cast<std::size_t>(7 - e10)]);
      settimi = cifre / unita + (cifre % unita >= unita / 2 ? 1 : 0);
    } else {
      settimi = cifre * static_cast<std::uint64_t>(kPotenzeDieci[static_cast<std::size_t>(e10 - 7)]);
    }
    if (settimi == 0) {
      *out = '0';
      return out + 1;
    }
    const std::uint64_t intero = settimi / 10000000, frazione = settimi % 10000000;
    if (value < 0) *out++ = '-';
    if (intero > 0) out = std::to_chars(out, out + 24, intero).ptr;
    else if (value > 0) *out++ = '0';
    if (frazione == 0) return out;
    *out++ = '.';
    char sette[8];
    const char* fine = std::to_chars(sette, sette + sizeof sette, frazione).ptr;
    const auto quante = static_cast<int>(fine - sette);
    std::memset(out, '0', 7 - quante);
    out += 7 - quante;
    while (fine[-1] == '0') --fine;
    std::memcpy(out, sette, fine - sette);
    return out + (fine - sette);
  }
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
