// The pen table's reader and writer, and the sheet writer's guard against line ends inside a line.
#include "common/data/penne.h"
#include "common/data/scheda.h"
#include "common/platform/files.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::TestFolder;

namespace {

TEST(TabellaPenneFile, EveryByteOfTheNamesSurvivesAReadAndAWrite) {
  TestFolder t;
  QByteArray d;
  for (int e = 1; e <= 30; ++e) {
    QByteArray nome = "Elemento ";
    for (int b = 128 + 4 * (e - 1); b < 128 + 4 * e; ++b) nome += static_cast<char>(b);
    d += nome + "\r\n " + QByteArray::number(e % 16) + " \r\n0.25\r\nCourier New\r\n";
  }
  for (int c = 1; c <= 15; ++c) d += "Colore " + QByteArray(1, static_cast<char>(240 + c)) + "\r\n 255 \r\n";
  const QString file = t.D("korvenITA.CFG");
  ASSERT_TRUE(plat::WriteWholeFile(file, d));
  TabellaPenne p;
  ASSERT_EQ(LeggiFileTabellaPenne(file, p), EsitoPenne::Letta);
  EXPECT_EQ(p.MargineSinistro, 0);  // a file that ends after its colours has no margins
  EXPECT_EQ(p.SpessoriElementi[30], 0.25);
  EXPECT_EQ(p.CaratteriElementi[1], QString("Courier New"));
  ASSERT_TRUE(ScriviFileTabellaPenne(file, p));
  QByteArray atteso = d;
  atteso.replace("\r\n 255 \r\n", "\r\n255\r\n");
  for (int e = 1; e <= 30; ++e)
    atteso.replace("\r\n " + QByteArray::number(e % 16) + " \r\n0.25", "\r\n" + QByteArray::number(e % 16) + "\r\n0.25");
  EXPECT_EQ(ReadBytes(file), atteso + "0\r\n0\r\n");
  // A colour value beyond 24 bits, or a file that ends among its colours, is not a pen table.
  int riga = 0;
  ASSERT_TRUE(plat::WriteWholeFile(file, d.left(d.lastIndexOf("Colore"))));
  EXPECT_EQ(LeggiFileTabellaPenne(file, p, &riga), EsitoPenne::NonValida);
  ASSERT_TRUE(plat::WriteWholeFile(file, QByteArray(d).replace("\r\n 255 \r\n", "\r\n 16777216 \r\n")));
  EXPECT_EQ(LeggiFileTabellaPenne(file, p, &riga), EsitoPenne::NonValida);
  EXPECT_EQ(riga, 122);
  EXPECT_EQ(LeggiFileTabellaPenne(t.D("manca.CFG"), p), EsitoPenne::Mancante);
}

TEST(SchedaFile, ALineEndInsideAHeaderLineOrARecordNeverAddsALine) {
  TestFolder t;
  ModuloScheda s;
  AzzeraScheda(s);
  s.IntestazioneScheda[1] = "Cava\r\nNord";
  s.IntestazioneScheda[2] = "a\nb";
  s.RigheScheda[1] = RecordFisso(" 1  2.5\r");
  s.NumeroRigheScheda = 1;
  ASSERT_TRUE(ScriviFileScheda(t.D("a.sch"), s));
  const QByteArray b = ReadBytes(t.D("a.sch"));
  EXPECT_EQ(b.count("\r\n"), 11);
  EXPECT_TRUE(b.startsWith("Cava  Nord\r\na b\r\n"));
}

}  // namespace
