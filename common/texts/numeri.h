// Numbers written as text with a point as decimal separator whatever the user's locale: the plain short form of
// the data files (NumeroTesto), fixed-width columns (FormatoFisso) and the cut decimals of the result tables and
// reports (FormattaNumero). One definition serves every program of the suite.
#pragma once

#include <QString>

#include <string_view>
#include <utility>

// The value formatted with a picture of "#" placeholders and `decimals` places after its point: no leading zero,
// the fraction rounded (halves away from zero) with its trailing zeros dropped, the point always written, "-" in
// front of negative values: 5 gives "5.", 0 gives ".", -0.5 gives "-.5".
QString FormatoFigura(double value, int decimals);

// Shortest plain text with at most seven decimals: 5 gives "5", 0.25 gives "0.25", -0.5 gives "-.5".
QString NumeroTesto(double value);

// Fixed-width, right-aligned text with the decimals of `mask` ("####.##"); halves go up.
QString FormatoFisso(double value, const QString& mask);

// Text of the value rounded to four decimals and cut after `decimals` places (-1: the whole part alone,
// 0: the whole part and the point, above 4: zeros after the fourth decimal).
QString FormattaNumero(double value, int decimals);

// The same texts written as bytes (ASCII) at `out`, for writers that build their output themselves; each returns
// the end of what it wrote. `out` must have room for LunghezzaFigura characters (FormatoFissoChars: and the
// length of the mask).
constexpr int LunghezzaFigura = 700;
char* NumeroTestoChars(char* out, double value);
char* FormatoFissoChars(char* out, double value, std::string_view mask);

// Exchange of two values.
template <typename T>
void Scambia(T& a, T& b) {
  using std::swap;
  swap(a, b);
}
