// The printer object's calls for printing text by lines, printing to PDF.
#include "common/platform/printer.h"

#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The page count of a PDF file, by pdfinfo (0 when it cannot be read).
int Pagine(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  if (!p.waitForFinished(30000)) return 0;
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromLocal8Bit(p.readAll()));
  return m.hasMatch() ? m.captured(1).toInt() : 0;
}

TEST(PrinterObject, TextByLinesToAPdfFileWithoutBlankPages) {
  testing_support::TestFolder t(false);
  const QString cartella = t.Root() + QStringLiteral("/pdf");
  QDir().mkpath(cartella);
  testing_support::SetEnv("FRATTIX_PDF_DIR", cartella.toLocal8Bit());
  plat::PrinterObject& p = plat::Printer();
  ASSERT_TRUE(p.ToPdf());
  p.SetJobName(QStringLiteral("prova"));
  p.SetScaleMode(2);
  p.SetFontName(QStringLiteral("Arial"));
  p.SetFontSize(12);
  // A4 paper in twips; Arial measured in points (Liberation Sans has its widths).
  EXPECT_NEAR(p.Width() / 20, 595.3, 0.5);
  EXPECT_NEAR(p.Height() / 20, 841.9, 0.5);
  const double m = p.TextWidth(QStringLiteral("M"));
  EXPECT_NEAR(m, 10.0, 0.3);
  EXPECT_NEAR(p.TextWidth(QStringLiteral("MMMM")), 4 * m, 0.01);
  const double h = p.TextHeight(QStringLiteral("M"));
  EXPECT_GT(h, 12);
  EXPECT_LT(h, 16);
  // An empty name and a size of 0 or less change nothing.
  p.SetFontSize(0);
  p.SetFontSize(-2);
  p.SetFontName(QString());
  EXPECT_DOUBLE_EQ(p.TextHeight(QStringLiteral("M")), h);

  // An empty text moves the position and starts no job.
  p.SetCurrentX(100);
  p.SetCurrentY(50);
  p.Print(QString(), true);
  EXPECT_FALSE(p.Printing());
  EXPECT_DOUBLE_EQ(p.CurrentX(), 0);
  EXPECT_DOUBLE_EQ(p.CurrentY(), 50 + h);
  p.SetCurrentX(56);
  p.Print(QStringLiteral("MM"), false);
  EXPECT_TRUE(p.Printing());
  EXPECT_NEAR(p.CurrentX(), 56 + 2 * m, 0.01);
  p.SetFontBold(true);
  EXPECT_GT(p.TextWidth(QStringLiteral("abc")), 0);
  p.Print(QStringLiteral("grassetto"), true);
  p.SetFontBold(false);
  // Two page ends in a row make one new sheet; the sheet after the last page end is never started.
  p.NewPage();
  p.NewPage();
  p.Print(QStringLiteral("seconda"), true);
  p.NewPage();
  EXPECT_TRUE(p.EndDoc());
  EXPECT_FALSE(p.Printing());
  const QString pdf = cartella + QStringLiteral("/prova-1.pdf");
  EXPECT_EQ(p.OutputFile(), pdf);
  ASSERT_TRUE(QFile::exists(pdf));
  EXPECT_EQ(Pagine(pdf), 2);

  // A job with nothing printed leaves no file.
  p.Print(QString(), true);
  EXPECT_TRUE(p.EndDoc());
  EXPECT_TRUE(p.OutputFile().isEmpty());
  EXPECT_EQ(QDir(cartella).entryList(QDir::Files).size(), 1);
  testing_support::UnsetEnv("FRATTIX_PDF_DIR");
}

}  // namespace
