#include "common/texts/numeri.h"

#include <QLocale>
#include <QVariant>

#include <clocale>
#include <string>

#include <gtest/gtest.h>

namespace {

// Runs `check` under a locale whose decimal separator is a comma (C library and Qt), and again under "C".
template <typename F>
void UnderCommaLocale(F check) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  check();
  QLocale::setDefault(QLocale::c());
  std::setlocale(LC_ALL, saved.c_str());
  check();
}

}  // namespace

TEST(NumeroTesto, WorkedValues) {
  UnderCommaLocale([] {
    EXPECT_EQ(NumeroTesto(5), QString("5"));
    EXPECT_EQ(NumeroTesto(0.25), QString("0.25"));
    EXPECT_EQ(NumeroTesto(0), QString("0"));
    EXPECT_EQ(NumeroTesto(2.5), QString("2.5"));
    EXPECT_EQ(NumeroTesto(1.0 / 3), QString("0.3333333"));
    EXPECT_EQ(NumeroTesto(-0.5), QString("-.5"));
    EXPECT_EQ(NumeroTesto(30), QString("30"));
    EXPECT_EQ(NumeroTesto(2.75), QString("2.75"));
    EXPECT_EQ(NumeroTesto(-12.125), QString("-12.125"));
    EXPECT_EQ(NumeroTesto(0.00000005), QString("0.0000001"));  // rounded at the seventh decimal, halves up
    EXPECT_EQ(NumeroTesto(0.00000004), QString("0"));
    EXPECT_EQ(NumeroTesto(123456789.5), QString("123456789.5"));
    EXPECT_EQ(NumeroTesto(9.99999999), QString("10"));
  });
}

TEST(FormatoFisso, WorkedValues) {
  UnderCommaLocale([] {
    EXPECT_EQ(FormatoFisso(12.3456, "####.##"), QString("  12.35"));
    EXPECT_EQ(FormatoFisso(1, "####.###"), QString("   1.000"));
    EXPECT_EQ(FormatoFisso(0.5, "##.##"), QString(" 0.50"));
    EXPECT_EQ(FormatoFisso(3, "#"), QString("3"));
    EXPECT_EQ(FormatoFisso(12, "##"), QString("12"));
    EXPECT_EQ(FormatoFisso(12345.6, "####.##"), QString("12345.6"));
    EXPECT_EQ(FormatoFisso(123456789, "####.##"), QString("123456789"));
    EXPECT_EQ(FormatoFisso(-2.5, "#"), QString("-2"));
    EXPECT_EQ(FormatoFisso(7, "###"), QString("  7"));
    EXPECT_EQ(FormatoFisso(45.25, "####.#"), QString("  45.3"));
    EXPECT_EQ(FormatoFisso(0, "####.#"), QString("   0.0"));
  });
}

TEST(FormattaNumero, WorkedValues) {
  UnderCommaLocale([] {
    EXPECT_EQ(FormattaNumero(1, -1), QString("1"));
    EXPECT_EQ(FormattaNumero(135, 1), QString("135.0"));
    EXPECT_EQ(FormattaNumero(0, 2), QString("0.00"));
    EXPECT_EQ(FormattaNumero(0.25, 1), QString("0.2"));
    EXPECT_EQ(FormattaNumero(3.14159, 2), QString("3.14"));
    EXPECT_EQ(FormattaNumero(2.999, 2), QString("2.99"));
    EXPECT_EQ(FormattaNumero(2.99996, 2), QString("3.00"));
    EXPECT_EQ(FormattaNumero(0.5, 2), QString("0.50"));
    EXPECT_EQ(FormattaNumero(12, 2), QString("12.00"));
    EXPECT_EQ(FormattaNumero(12, 0), QString("12."));
    EXPECT_EQ(FormattaNumero(12, -1), QString("12"));
    EXPECT_EQ(FormattaNumero(1234, -3), QString("12"));  // cuts digits off the whole part
    EXPECT_EQ(FormattaNumero(1.5, 6), QString("1.500000"));
    EXPECT_EQ(FormattaNumero(1.5, 8), QString("1.50000000"));
    EXPECT_EQ(FormattaNumero(-0.5, 2), QString("-.50"));
    EXPECT_EQ(FormattaNumero(12.5, 1), QString("12.5"));
    EXPECT_EQ(FormattaNumero(1e-5, 3), QString("0.000"));
    EXPECT_EQ(FormattaNumero(123456789012345.0, 2), QString("123456789012345.00"));
    EXPECT_EQ(FormattaNumero(-7.25, 1), QString("-7.2"));
    EXPECT_EQ(FormattaNumero(0.00005, 4), QString("0.0001"));  // halves away from zero at the fourth decimal
  });
}

TEST(Scambia, ExchangesValuesOfAnyType) {
  QVariant a = 3.5, b = QString("testo");
  Scambia(a, b);
  EXPECT_EQ(a, QVariant(QString("testo")));
  EXPECT_EQ(b, QVariant(3.5));
  float x = 1, y = 2;
  Scambia(x, y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 1);
}

// The byte writers give the texts of the QString functions, also at the extremes of a double, where the figures
// fill the buffer: the largest values have 309 whole digits, the smallest 330 decimals before the rounding.
TEST(FormatoFissoChars, SameTextsAsTheStringFunctionsAtTheExtremes) {
  const double valori[] = {0, -0.0, 0.5, -0.5, 9.9999999, -9999.9995, 1e15, 1e16, 123456789012345678.0,
                           1e300, -1.7976931348623157e308, 5e-324, -1e-300, 0.05, 2.5e-8};
  for (double v : valori) {
    char buf[LunghezzaFigura + 32];
    EXPECT_EQ(QString::fromLatin1(buf, NumeroTestoChars(buf, v) - buf), NumeroTesto(v)) << v;
    for (const char* mask : {"####.###", "#", "##.##", "###.", "#.####################", ""}) {
      EXPECT_EQ(QString::fromLatin1(buf, FormatoFissoChars(buf, v, mask) - buf), FormatoFisso(v, QString(mask)))
          << v << ' ' << mask;
    }
  }
  EXPECT_EQ(NumeroTesto(1e300).size(), 301);
  EXPECT_EQ(FormatoFigura(-1e-300, 400), QString("-.") + QString(299, '0') + QString("1"));
  EXPECT_EQ(FormatoFisso(0.125, "#.####################"), QString("0.125") + QString(15, QChar(0x30)));  // 15 zeros at most
  EXPECT_EQ(FormatoFisso(99999.9999, "####.##"), QString("100000."));
}
