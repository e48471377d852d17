#include "main/session/scheda.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

const QString kIntestazione = "Cava\nFronte nord\n120/15\nRilevatore\n38.5\n12/05/2025\n\n\n\n";

QString Rec(const QString& inizio) { return RecordFisso(inizio); }

class Schede : public ::testing::Test {
 protected:
  void SetUp() override { Scheda = ModuloScheda(); }
  TestFolder t;
};

TEST_F(Schede, BlankRecordsAreDroppedOnReadingAndMovedToTheEndOnSaving) {
  WriteAnsi(t.D("a.sch"), kIntestazione + " 3 \n 1  2.5  GI\n\n 2  3.0  FA\n");
  Scheda.FileScheda = t.D("a.sch");
  ASSERT_EQ(LeggiScheda(), EsitoScheda::Letta);
  EXPECT_EQ(Scheda.NumeroRigheScheda, 2);
  EXPECT_EQ(Scheda.IntestazioneScheda[3], QString("120/15"));
  EXPECT_EQ(Scheda.RigheScheda[2], Rec(" 2  3.0  FA"));
  EXPECT_EQ(Scheda.RigheScheda[2].size(), 52);

  Scheda.NumeroRigheScheda = 3;
  Scheda.RigheScheda[3] = Scheda.RigheScheda[2];
  Scheda.RigheScheda[2] = QString(52, ' ');
  Scheda.FileScheda = t.D("b.sch");
  ASSERT_TRUE(SalvaScheda());
  const QStringList righe = ReadAnsi(t.D("b.sch")).split('\n');
  ASSERT_EQ(righe.size(), 14);  // nine header lines, the count, three records and the final line end
  EXPECT_EQ(righe[9], QString(" 3 "));
  EXPECT_EQ(righe[10], Rec(" 1  2.5  GI"));
  EXPECT_EQ(righe[11], Rec(" 2  3.0  FA"));
  EXPECT_EQ(righe[12], QString(52, ' '));
  EXPECT_EQ(LeggiScheda(), EsitoScheda::Letta);
  EXPECT_EQ(Scheda.NumeroRigheScheda, 2);
}

TEST_F(Schede, LinesAreCutOrPaddedToFiftyTwoAndTheCountLineIsIgnored) {
  const QString lunga = QString("X").repeated(60);
  WriteAnsi(t.D("c.sch"), kIntestazione + " 5 \n" + lunga + "\n1234567890\n" + QString("a\nb\nc\nd\ne\n"));
  Scheda.FileScheda = t.D("c.sch");
  ASSERT_EQ(LeggiScheda(), EsitoScheda::Letta);
  EXPECT_EQ(Scheda.NumeroRigheScheda, 7);
  EXPECT_EQ(Scheda.RigheScheda[1], lunga.left(52));
  EXPECT_EQ(Scheda.RigheScheda[2], QString("1234567890") + QString(42, ' '));
  ASSERT_TRUE(SalvaScheda());
  const QStringList righe = ReadAnsi(t.D("c.sch")).split('\n');
  EXPECT_EQ(righe[9], QString(" 7 "));
  EXPECT_EQ(righe[10], lunga.left(52));
  EXPECT_EQ(righe[11], QString("1234567890") + QString(42, ' '));
}

TEST_F(Schede, ASheetWithoutRecordsAndAnEmptySheet) {
  WriteAnsi(t.D("d.sch"), kIntestazione + " 0 \n");
  Scheda.FileScheda = t.D("d.sch");
  ASSERT_EQ(LeggiScheda(), EsitoScheda::Letta);
  EXPECT_EQ(Scheda.NumeroRigheScheda, 0);
  AzzeraScheda();
  Scheda.FileScheda = t.D("e.sch");
  ASSERT_TRUE(SalvaScheda());
  EXPECT_EQ(ReadBytes(t.D("e.sch")), QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n 0 \r\n"));
}

TEST_F(Schede, NothingOfAnEarlierSheetRemains) {
  QString molte = kIntestazione + " 400 \n";
  for (int i = 0; i < 400; ++i) molte += QString("Z%1").arg(i).leftJustified(52, 'Z') + "\n";
  WriteAnsi(t.D("molte.sch"), molte);
  WriteAnsi(t.D("poche.sch"), "A\n\n\n\n\n\n\n\n\n 1 \n 1\n");
  Scheda.FileScheda = t.D("molte.sch");
  ASSERT_EQ(LeggiScheda(), EsitoScheda::Letta);
  Scheda.FileScheda = t.D("poche.sch");
  ASSERT_EQ(LeggiScheda(), EsitoScheda::Letta);
  for (int i = 2; i <= 500; ++i) ASSERT_EQ(Scheda.RigheScheda[static_cast<std::size_t>(i)], QString(52, ' ')) << i;
  Scheda.FileScheda = t.D("molte.sch");
  LeggiScheda();
  AzzeraScheda();  // every record, not just the first 300
  for (int i = 1; i <= 500; ++i) ASSERT_EQ(Scheda.RigheScheda[static_cast<std::size_t>(i)], QString(52, ' ')) << i;
  for (int i = 1; i <= 9; ++i) EXPECT_TRUE(Scheda.IntestazioneScheda[static_cast<std::size_t>(i)].isEmpty());
}

TEST_F(Schede, ShortAndOversizedSheetsAreRefusedAndLeftUntouched) {
  WriteAnsi(t.D("corta.sch"), "Solo\nnove righe\n\n\n\n\n\n\n\n");
  Scheda.FileScheda = t.D("corta.sch");
  EXPECT_EQ(LeggiScheda(), EsitoScheda::Incompleta);
  EXPECT_EQ(Scheda.NumeroRigheScheda, 0);
  EXPECT_TRUE(Scheda.IntestazioneScheda[1].isEmpty());

  QString troppe = kIntestazione + " 501 \n";
  for (int i = 0; i < 501; ++i) troppe += " 1  1.0  GI\n";
  WriteAnsi(t.D("troppe.sch"), troppe);
  const QByteArray prima = ReadBytes(t.D("troppe.sch"));
  Scheda.FileScheda = t.D("troppe.sch");
  EXPECT_EQ(LeggiScheda(), EsitoScheda::TroppeRighe);
  EXPECT_EQ(Scheda.NumeroRigheScheda, 0);
  EXPECT_EQ(ReadBytes(t.D("troppe.sch")), prima);
  {
    testing_support::Scripted s(t, "answer OK \"troppe.sch\"\n");
    SegnalaEsitoScheda(EsitoScheda::TroppeRighe);
    EXPECT_EQ(s.Log("msgbox").size(), 1);
  }
  Scheda.FileScheda = t.D("manca.sch");
  EXPECT_EQ(LeggiScheda(), EsitoScheda::Illeggibile);
}

TEST_F(Schede, NamesAreFoundWithoutRegardToLetterCase) {
  WriteAnsi(t.D("Rock.SCH"), kIntestazione + " 1 \n 1  2.5  GI\n");
  Scheda.FileScheda = t.D("rock.sch");
  ASSERT_EQ(LeggiScheda(), EsitoScheda::Letta);
  EXPECT_EQ(Scheda.NumeroRigheScheda, 1);
  Scheda.IntestazioneScheda[1] = "Nuova";
  ASSERT_TRUE(SalvaScheda());
  EXPECT_EQ(QDir(t.Data()).entryList({"*.sch"}, QDir::Files, QDir::Name), QStringList{"Rock.SCH"});
  EXPECT_TRUE(ReadAnsi(t.D("Rock.SCH")).startsWith("Nuova\n"));
  // A sheet that cannot be written leaves no file behind.
  Scheda.FileScheda = t.D("manca/x.sch");
  EXPECT_FALSE(SalvaScheda());
}

TEST(Record, FieldsAreCutAtTheirFixedColumns) {
  const QString r = RecordFisso(" 1  2.5  GI 120 65  3 2 1 4 PLA 5  RUV CAL R3");
  EXPECT_EQ(CampoDelRecord(r, Nu), QString("1 "));
  EXPECT_EQ(CampoDelRecord(r, Dist), QString("2.5 "));
  EXPECT_EQ(CampoDelRecord(r, Ti), QString("GI"));
  EXPECT_EQ(CampoDelRecord(r, Imm), QString("120"));
  EXPECT_EQ(CampoDelRecord(r, Inc), QString("65 "));
  EXPECT_EQ(CampoDelRecord(r, For), QString("PLA"));
  EXPECT_EQ(CampoDelRecord(r, Du), QString("R3"));
  EXPECT_TRUE(CampoDelRecord(r, 15).isEmpty());
  // The columns of the fields never overlap and end before column 46.
  for (int c = 1; c < 14; ++c)
    EXPECT_LT(kInizioCampo[static_cast<std::size_t>(c)] + kLarghezzaCampo[static_cast<std::size_t>(c)],
              kInizioCampo[static_cast<std::size_t>(c) + 1]);
  EXPECT_EQ(kInizioCampo[14] + kLarghezzaCampo[14], 46);
}

}  // namespace
