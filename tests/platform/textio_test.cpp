#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <clocale>

#include <sys/stat.h>

#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::TestFolder;

TEST(Codec, Windows1252RoundTripsEveryByte) {
  QByteArray all;
  for (int i = 0; i < 256; ++i) all.append(static_cast<char>(i));
  const QString text = plat::DecodeAnsi(all);
  ASSERT_EQ(text.size(), 256);  // one character per byte keeps fixed columns
  EXPECT_EQ(plat::EncodeAnsi(text), all);
  EXPECT_EQ(plat::DecodeAnsi("\xB0\xB2\xB3\x80"), QString::fromUtf8("°²³€"));
  EXPECT_EQ(plat::EncodeAnsi(QString::fromUtf8("Stabilita' °")), QByteArray("Stabilita' \xB0"));
}

TEST(Codec, EveryByteAndCharacterConvertsAsQtsOwnConverterDoesAtAnyPlace) {
  // Each byte and each character of the first 512, alone and amid text long enough to be scanned in blocks, at
  // every offset of a block.
  QStringDecoder qtDecoder("windows-1252");
  QStringEncoder qtEncoder("windows-1252");
  ASSERT_TRUE(qtDecoder.isValid() && qtEncoder.isValid());
  for (int b = 0; b < 256; ++b) {
    for (int offset : {0, 3, 7, 8, 13, 21}) {
      QByteArray bytes = QByteArray(offset, 'a') + QByteArray("\xE8 caff\xE8 \xB0") + QByteArray(9, 'z');
      bytes.insert(offset, static_cast<char>(b));
      const QString expected = qtDecoder.decode(bytes);
      ASSERT_EQ(plat::DecodeAnsi(bytes), expected) << b << " at " << offset;
    }
  }
  for (char16_t c = 0; c < 512; ++c) {
    const QString text = QStringLiteral("Perch\u00E9 ") + QChar(c) + QStringLiteral(" x");
    QByteArray expected = qtEncoder.encode(text);
    // A character the code page has no byte for is written "?", never as the 0x1A that ends a file.
    if (c != 0x1A) expected.replace('\x1A', '?');
    ASSERT_EQ(plat::EncodeAnsi(text), expected) << int(c);
  }
  EXPECT_EQ(plat::EncodeAnsi(QString::fromUtf8("\u20AC \u2019")), QByteArray("\x80 \x92"));
  // One "?" for each character, also for one beyond 16 bits.
  EXPECT_EQ(plat::EncodeAnsi(QString::fromUtf8("Dvořák ≥Δ Ω 中 \U0001F600.")), QByteArray("Dvo?\xE1k ?? ? ? ?."));
}

TEST(Numbers, ValReadsTheNumericPrefix) {
  EXPECT_DOUBLE_EQ(plat::Val(" 12 "), 12);
  EXPECT_DOUBLE_EQ(plat::Val("-.5"), -0.5);
  EXPECT_DOUBLE_EQ(plat::Val("1 2 3"), 123);  // blanks inside are ignored
  EXPECT_DOUBLE_EQ(plat::Val("2.5e2x"), 250);
  EXPECT_DOUBLE_EQ(plat::Val("1D3"), 1000);
  EXPECT_DOUBLE_EQ(plat::Val("12abc"), 12);
  EXPECT_DOUBLE_EQ(plat::Val("abc"), 0);
  EXPECT_DOUBLE_EQ(plat::Val(""), 0);
  EXPECT_DOUBLE_EQ(plat::Val("3e"), 3);
  EXPECT_TRUE(plat::IsNumeric(" 12.5 "));
  EXPECT_FALSE(plat::IsNumeric("12,5"));
  EXPECT_FALSE(plat::IsNumeric(""));
  EXPECT_FALSE(plat::IsNumeric("1e999x"));
}

TEST(Numbers, PrintFormWithItsBlanksAndNoZeroBeforeThePoint) {
  EXPECT_EQ(plat::PrintNumber(12), QString(" 12 "));
  EXPECT_EQ(plat::PrintNumber(0), QString(" 0 "));
  EXPECT_EQ(plat::PrintNumber(-3), QString("-3 "));
  EXPECT_EQ(plat::PrintNumber(0.5), QString(" .5 "));
  EXPECT_EQ(plat::PrintNumber(-0.25), QString("-.25 "));
  EXPECT_EQ(plat::StrNumber(1.0 / 3), QString(" .333333333333333"));
  EXPECT_EQ(plat::StrNumber(1.0 / 3, true), QString(" .3333333"));
  EXPECT_EQ(plat::StrNumber(123456789012345.0), QString(" 123456789012345"));
  EXPECT_EQ(plat::StrNumber(1e15), QString(" 1E+15"));
  EXPECT_EQ(plat::StrNumber(12345678, true), QString(" 1.234568E+07"));
  EXPECT_EQ(plat::StrNumber(1234567, true), QString(" 1234567"));
  EXPECT_EQ(plat::StrNumber(0.0001), QString(" .0001"));
  EXPECT_EQ(plat::StrNumber(0.00001), QString(" 1E-05"));
  EXPECT_EQ(plat::StrNumber(-2.5e-7), QString("-2.5E-07"));
}

TEST(Numbers, PrintFormIgnoresADecimalCommaLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  QLocale::setDefault(QLocale(QLocale::German));
  EXPECT_EQ(plat::PrintNumber(2.5), QString(" 2.5 "));
  EXPECT_DOUBLE_EQ(plat::Val("2.5"), 2.5);
  QLocale::setDefault(QLocale::c());
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!german) GTEST_SKIP() << "no de_DE locale on this machine; checked under Qt's German locale only";
}

TEST(SeqReader, ItemsLinesAndEnd) {
  plat::SeqReader r;
  r.OpenBytes("  alpha , beta\r\n\"quoted, with comma\" , next\n12 , -3.5\r\nlast line\r\n");
  QString s;
  ASSERT_TRUE(r.ReadItem(s));
  EXPECT_EQ(s, QString("alpha"));
  ASSERT_TRUE(r.ReadItem(s));
  EXPECT_EQ(s, QString("beta"));
  ASSERT_TRUE(r.ReadItem(s));
  EXPECT_EQ(s, QString("quoted, with comma"));
  ASSERT_TRUE(r.ReadItem(s));
  EXPECT_EQ(s, QString("next"));
  double v = 0;
  bool ok = false;
  ASSERT_TRUE(r.ReadNumber(v, &ok));
  EXPECT_TRUE(ok);
  EXPECT_DOUBLE_EQ(v, 12);
  ASSERT_TRUE(r.ReadNumber(v, &ok));
  EXPECT_DOUBLE_EQ(v, -3.5);
  EXPECT_FALSE(r.AtEnd());
  ASSERT_TRUE(r.ReadLine(s));
  EXPECT_EQ(s, QString("last line"));
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(r.ReadLine(s));
  EXPECT_FALSE(r.ReadItem(s));
  EXPECT_FALSE(r.ReadNumber(v, &ok));
  EXPECT_FALSE(ok);
}

TEST(SeqReader, NumbersSeparatedByBlanksAndCommas) {
  plat::SeqReader r;
  r.OpenBytes("1.5 2 3 \r\n 4,5\r\n  \r\nabc\r\n");
  double v = 0;
  bool ok = false;
  for (double want : {1.5, 2.0, 3.0, 4.0, 5.0}) {
    ASSERT_TRUE(r.ReadNumber(v, &ok));
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(v, want);
  }
  ASSERT_TRUE(r.ReadNumber(v, &ok));  // a blank line is an empty item: 0, not a number
  EXPECT_FALSE(ok);
  ASSERT_TRUE(r.ReadNumber(v, &ok));
  EXPECT_FALSE(ok);
  EXPECT_DOUBLE_EQ(v, 0);
  EXPECT_TRUE(r.AtEnd());
}

TEST(SeqReader, LoneCarriageReturnEndsANumber) {
  plat::SeqReader r;
  r.OpenBytes("5\r6\r\n185\r30\r\n7\r\n");
  double v = 0;
  bool ok = true;
  ASSERT_TRUE(r.ReadNumber(v, &ok));
  EXPECT_FALSE(ok);
  EXPECT_NE(v, 56);
  ASSERT_TRUE(r.ReadNumberLine(v, &ok));
  EXPECT_FALSE(ok);
  EXPECT_EQ(v, 0);
  ASSERT_TRUE(r.ReadNumberLine(v, &ok));
  EXPECT_TRUE(ok);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(plat::Val("5\r6"), 5);
  EXPECT_FALSE(plat::IsNumeric("5\n6"));
}

TEST(SeqReader, NumberLineHoldsOneNumberAndNothingElse) {
  plat::SeqReader r;
  r.OpenBytes(" 12 \r\n65,5\r\n1 2\r\n\r\n1e400\r\nx\r\n\t-.5\t\r\n 3");
  const struct {
    double value;
    bool ok;
  } want[] = {{12, true}, {0, false}, {0, false}, {0, false}, {0, false}, {0, false}, {-0.5, true}, {3, true}};
  for (const auto& w : want) {
    double v = -1;
    bool ok = !w.ok;
    const int line = r.LineNumber();
    ASSERT_TRUE(r.ReadNumberLine(v, &ok)) << line;
    EXPECT_EQ(ok, w.ok) << line;
    EXPECT_DOUBLE_EQ(v, w.value) << line;
  }
  EXPECT_TRUE(r.AtEnd());
  double v = 0;
  EXPECT_FALSE(r.ReadNumberLine(v));
}

TEST(SeqReader, NumberItemsTellWholeNumbersFromPrefixes) {
  plat::SeqReader r;
  r.OpenBytes("5.\r\n-\r\n.\r\n1.2.3\r\n-0.25\r\n+7\r\n007\r\n1e3\r\n12x\r\n"
              "1234567890123456789012345678901234567890\r\n-.5\r\n");
  const struct {
    double value;
    bool whole;
  } want[] = {{5, true},     {0, false}, {0, false},    {1.2, false},
              {-0.25, true}, {7, true},  {7, true},     {1000, true},
              {12, false},   {1.2345678901234568e39, true}, {-0.5, true}};
  for (const auto& w : want) {
    double v = -1;
    bool ok = !w.whole;
    ASSERT_TRUE(r.ReadNumber(v, &ok));
    EXPECT_DOUBLE_EQ(v, w.value);
    EXPECT_EQ(ok, w.whole) << w.value;
  }
  EXPECT_TRUE(r.AtEnd());
}

TEST(SeqReader, LineEndsAndWholeLines) {
  plat::SeqReader r;
  r.OpenBytes("uno\ndue\r\n\r\n  tre , quattro  \r\nno end");
  QString s;
  QStringList lines;
  while (r.ReadLine(s)) lines << s;
  EXPECT_EQ(lines, QStringList({"uno", "due", "", "  tre , quattro  ", "no end"}));
  EXPECT_EQ(r.LineNumber(), 5);
}

TEST(SeqReader, MissingFileAndCaseInsensitiveOpen) {
  TestFolder t(false);
  testing_support::WriteAnsi(t.D("Dati.FRO"), QString::fromUtf8("30\nRocce °\n"));
  plat::SeqReader r;
  EXPECT_FALSE(r.Open("nothing.fro"));
  EXPECT_TRUE(r.AtEnd());
  ASSERT_TRUE(r.Open("dati.fro"));
  QString s;
  r.ReadLine(s);
  r.ReadLine(s);
  EXPECT_EQ(s, QString::fromUtf8("Rocce °"));
}

TEST(SeqWriter, WritesCrLfAndPrintFormAndReplacesWhole) {
  TestFolder t(false);
  {
    plat::SeqWriter w("out.txt");
    ASSERT_TRUE(w.IsOpen());
    w.WriteNumber(12);
    w.WriteNumber(0.5);
    w.Write("a");
    w.WriteLine(QString::fromUtf8("b°"));
    ASSERT_TRUE(w.Close());
  }
  EXPECT_EQ(ReadBytes(t.D("out.txt")), QByteArray(" 12 \r\n .5 \r\nab\xB0\r\n"));
  {
    plat::SeqWriter w("OUT.TXT", true);  // appends to the existing file, keeps its name
    w.WriteLine("more");
    ASSERT_TRUE(w.Close());
  }
  EXPECT_EQ(ReadBytes(t.D("out.txt")), QByteArray(" 12 \r\n .5 \r\nab\xB0\r\nmore\r\n"));
  EXPECT_FALSE(QFile::exists(t.D("OUT.TXT")));
}

TEST(SeqWriter, AnUnfinishedSaveLeavesTheOldFile) {
  TestFolder t(false);
  testing_support::WriteAnsi(t.D("keep.txt"), "old\n");
  {
    plat::SeqWriter w("keep.txt");
    w.WriteLine("half");
    // destroyed without Close(): nothing replaces the file
  }
  EXPECT_EQ(ReadBytes(t.D("keep.txt")), QByteArray("old\r\n"));
  plat::SeqWriter w("keep.txt");
  w.WriteLine("half");
  w.Discard();
  EXPECT_FALSE(w.Close());
  EXPECT_EQ(ReadBytes(t.D("keep.txt")), QByteArray("old\r\n"));
  plat::SeqWriter nowhere;
  EXPECT_FALSE(nowhere.Open(t.D("missing/x.txt")));
}

TEST(Text, TrimBlanksKeepsTabsAndLineEnds) {
  EXPECT_EQ(plat::TrimBlanks("  a b  "), QString("a b"));
  EXPECT_EQ(plat::TrimBlanks("\ta\t"), QString("\ta\t"));
  EXPECT_EQ(plat::TrimBlanks("   "), QString());
}

// One rule for the line ends of every file: CR LF or LF end a line, and so does the end of the file; a CR that is
// not followed by its LF (a file saved with CR line ends, a CR inside a line, a CR at the very end) makes the file
// one that cannot be split into its lines: it is refused, with the line of that CR.
TEST(SeqReader, ACarriageReturnThatEndsNoLineIsRefusedWithItsLine) {
  TestFolder t(false);
  const struct {
    QByteArray bytes;
    int line;  // 0: read
  } cases[] = {
      {"uno\r\ndue\r\ntre\r\n", 0}, {"uno\ndue\ntre", 0},       {"uno\r\ndue\r\n\x1A", 0},
      {"uno\rdue\rtre\r", 1},       {"uno\r\ndue\r\nt\rre\r\n", 3}, {"uno\ndue\n\ntre\r", 4},
      {"\r", 1},                    {"uno\r\r\ndue\r\n", 1},     {"uno\r\n\r\x1A", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.toStdString());
    QFile f(t.D("Righe.TXT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.bytes);
    f.close();
    plat::SeqReader r;
    EXPECT_EQ(r.Open(t.D("righe.txt")), c.line == 0);
    EXPECT_EQ(r.Fault(), c.line == 0 ? plat::ReadFault::None : plat::ReadFault::LineEnds);
    EXPECT_EQ(r.FaultLine(), c.line);
    EXPECT_FALSE(r.Missing());
    // The file named as it is on disk, also when it is refused.
    EXPECT_EQ(r.Path(), t.D("Righe.TXT"));
    if (c.line) {
      EXPECT_TRUE(r.AtEnd());
      QString s;
      EXPECT_FALSE(r.ReadLine(s));
    }
  }
}

// Only a name where nothing stands is missing: a folder, a named pipe, a link to a device are no file (and nothing
// waits on the pipe), a link that points nowhere cannot be read, and a file larger than any of the suite is refused
// before it is read. A file of exactly the bound is read.
TEST(SeqReader, OnlyANameWhereNothingStandsIsMissingAndAFileLargerThanAnyOfTheSuiteIsRefused) {
  TestFolder t(false);
  plat::SeqReader r;
  EXPECT_FALSE(r.Open(t.D("nulla.fro")));
  EXPECT_TRUE(r.Missing());
  EXPECT_EQ(r.Fault(), plat::ReadFault::Missing);
  EXPECT_FALSE(plat::EntryExists(t.D("nulla.fro")));

  ASSERT_TRUE(QDir(t.Data()).mkdir("Cartella.fro"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(t.D("tubo.fro")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", t.D("zero.fro")));
  ASSERT_TRUE(QFile::link(t.D("altrove.fro"), t.D("rotto.fro")));
  const struct {
    const char* name;
    plat::ReadFault fault;
  } cases[] = {{"cartella.fro", plat::ReadFault::NotAFile},
               {"TUBO.fro", plat::ReadFault::NotAFile},
               {"zero.fro", plat::ReadFault::NotAFile},
               {"rotto.fro", plat::ReadFault::Unreadable}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(plat::EntryExists(t.D(c.name)));
    EXPECT_FALSE(r.Open(t.D(c.name)));
    EXPECT_FALSE(r.Missing());
    EXPECT_EQ(r.Fault(), c.fault);
    EXPECT_EQ(r.FaultLine(), 0);
    QByteArray data("x");
    EXPECT_EQ(plat::ReadDataFile(t.D(c.name), data), c.fault);
    EXPECT_TRUE(data.isEmpty());
  }

  // Sparse files: no disk space taken.
  QFile grande(t.D("grande.dat"));
  ASSERT_TRUE(grande.open(QIODevice::WriteOnly));
  ASSERT_TRUE(grande.resize(plat::kLargestFileRead + 1));
  grande.close();
  EXPECT_FALSE(r.Open(t.D("grande.dat")));
  EXPECT_EQ(r.Fault(), plat::ReadFault::TooLarge);
  QByteArray data;
  EXPECT_EQ(plat::ReadDataFile(t.D("grande.dat"), data), plat::ReadFault::TooLarge);
  ASSERT_TRUE(grande.resize(plat::kLargestFileRead));
  EXPECT_EQ(plat::ReadDataFile(t.D("grande.dat"), data), plat::ReadFault::None);
  EXPECT_EQ(data.size(), plat::kLargestFileRead);
  QFile::remove(t.D("grande.dat"));
}
