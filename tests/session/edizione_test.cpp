// The editing commands on the table grid, run in this process with a script answering the dialogs: survey sheets,
// family parameters, the pen-table editor, and damaged criteria or sheet lists.
#include "common/data/elencoschede.h"
#include "common/data/famiglie.h"
#include "common/data/fronte.h"
#include "common/data/risultato.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "main/dialogs/base1.h"
#include "main/dialogs/maschera.h"
#include "main/session/configurazione.h"
#include "main/session/menu1.h"
#include "main/session/scheda.h"
#include "main/session/selezione.h"
#include "main/session/sessione.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <map>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// A record of 52 characters from its 14 fields.
QString Record(const QStringList& campi) {
  QString r(kLunghezzaRecord, QLatin1Char(' '));
  for (int c = 1; c <= kNumeroCampiRecord; ++c)
    r.replace(kInizioCampo[static_cast<std::size_t>(c)] - 1, campi.at(c - 1).size(), campi.at(c - 1));
  return r;
}
const QStringList kCampi = {"1", "2.5", "GI", "33", "5", "2", "4", "2", "1", "PLA", "0", "LIS", "CAL", "R2"};

// Script lines typing one grid row from column 1 (Enter after each cell).
QString RigaDigitata(const QStringList& campi) {
  QString s;
  for (const QString& c : campi) s += "type " + c + "\nkey Return\n";
  return s;
}

class Edizione : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Data()).mkpath("rilievi");
    rilievi = t.D("rilievi");
  }
  void Carica(const QString& riga) {
    Scripted s(t, "", "carica");
    w.Form_Load(riga);
  }
  // Runs one menu command with the script that follows it.
  QStringList Esegui(const QString& voce, const QString& script) {
    Scripted s(t, "menu " + voce + "\n" + script + "nascondi\n");
    plat::RegisterScriptAction("nascondi", [this](const QStringList&, QString*) {
      w.hide();
      return true;
    });
    plat::ShowModeless(&w);
    plat::RunUntilClosed(&w);
    return s.Log("msgbox");
  }
  ModuloScheda Leggi(const QString& file) {
    ModuloScheda s;
    EXPECT_EQ(LeggiFileScheda(file, s), EsitoScheda::Letta);
    return s;
  }
  TestFolder t;
  QString rilievi;
  menu1 w;
};

TEST_F(Edizione, ANewSheetTypedInTheGridIsSavedAsTyped) {
  Carica(rilievi + "/manca.ses");
  const QString intestazione =
      "set Text1(0) \"Cava Nord\"\nset Text1(1) Gradone\nset Text1(2) Rossi\nset Text1(3) 12/05/2025\n"
      "set Text1(4) 120\nset Text1(5) 15\nset Text1(6) 38.5\npress Command1(0)\n";
  QStringList campi = kCampi;
  campi[2] = "gi";  // stored as the configuration writes it
  const QStringList m = Esegui("EdizioneScheda", "file " + rilievi + "/rock.txt\n" + intestazione +
                                                     RigaDigitata(campi) + "press base2_32.Command1(0)\n");
  EXPECT_TRUE(m.isEmpty()) << m.join("\n").toStdString();
  const QByteArray atteso = "Cava Nord\r\nGradone\r\n120/15\r\nRossi\r\n38.5\r\n12/05/2025\r\n\r\n\r\n\r\n 1 \r\n" +
                            plat::EncodeAnsi(Record(kCampi)) + "\r\n";
  EXPECT_EQ(ReadBytes(rilievi + "/rock.sch"), atteso);
  EXPECT_FALSE(QFile::exists(rilievi + "/rock.txt"));
}

TEST_F(Edizione, AnExampleSheetWithARowInsertedAndOneDeletedReadsBackEqual) {
  Carica(rilievi + "/manca.ses");
  const QString file = rilievi + "/fronte_nord.sch";
  ASSERT_TRUE(QFile::copy(QString(FRATTIX_TEST_SOURCE_DIR) + "/examples/fronte_nord.sch", file));
  const ModuloScheda prima = Leggi(file);
  ASSERT_GT(prima.NumeroRigheScheda, 10);
  const QStringList m = Esegui("EdizioneScheda", "file " + file + "\npress Command1(0)\ncell 3 1\n"
                                                 "press base2_32.Command1(2)\n" + RigaDigitata(kCampi) +
                                                 "cell 6 1\npress base2_32.Command1(3)\npress base2_32.Command1(0)\n");
  EXPECT_TRUE(m.isEmpty()) << m.join("\n").toStdString();
  const ModuloScheda dopo = Leggi(file);
  EXPECT_EQ(dopo.IntestazioneScheda, prima.IntestazioneScheda);
  std::vector<QString> attesi(prima.RigheScheda.begin() + 1, prima.RigheScheda.begin() + 1 + prima.NumeroRigheScheda);
  attesi.insert(attesi.begin() + 2, Record(kCampi));
  attesi.erase(attesi.begin() + 5);
  std::vector<QString> letti(dopo.RigheScheda.begin() + 1, dopo.RigheScheda.begin() + 1 + dopo.NumeroRigheScheda);
  EXPECT_EQ(letti, attesi);
}

TEST_F(Edizione, HeaderContinuationsJoinAndCancelWritesNothing) {
  Carica(rilievi + "/manca.ses");
  const QString file = rilievi + "/vecchia.sch";
  WriteAnsi(file, "Cava\nNorth face\n120\nSquadra\n10\n2024\nquarry B\n\n\n 1 \n" + Record(kCampi) + "\n");
  const QByteArray prima = ReadBytes(file);
  Esegui("EdizioneScheda", "file " + file + "\npress Command1(0)\npress base2_32.Command1(1)\n");
  EXPECT_EQ(ReadBytes(file), prima);
  Esegui("EdizioneScheda", "file " + file + "\npress Command1(0)\npress base2_32.Command1(0)\n");
  EXPECT_EQ(ReadAnsi(file), "Cava\nNorth face - quarry B\n0/0\nSquadra\n10\n2024\n\n\n\n 1 \n" + Record(kCampi) + "\n");
  // Nothing of that sheet reaches a new one.
  Esegui("EdizioneScheda", "file " + rilievi + "/nuova\npress Command1(0)\npress base2_32.Command1(0)\n");
  EXPECT_EQ(ReadAnsi(rilievi + "/nuova.sch"), QString("\n\n0/0\n\n\n\n\n\n\n 0 \n"));
}

TEST_F(Edizione, PasteOf499And501LinesAndTheCodeChecks) {
  Carica(rilievi + "/manca.ses");
  QString righe;
  for (int i = 0; i < 501; ++i) righe += kCampi.join('\t') + "\r\n";
  WriteAnsi(t.D("501.txt"), righe);
  WriteAnsi(t.D("499.txt"), righe.left(righe.size() / 501 * 499));
  const QString testa = "press Command1(0)\n";
  Esegui("EdizioneScheda", "file " + rilievi + "/a.sch\n" + testa + "clipboard " + t.D("499.txt") +
                               "\nkey Ctrl+V\nanswer Yes\npress base2_32.Command1(0)\n");
  EXPECT_EQ(Leggi(rilievi + "/a.sch").NumeroRigheScheda, 499);
  const QStringList m = Esegui("EdizioneScheda", "file " + rilievi + "/b.sch\n" + testa + "clipboard " +
                                                     t.D("501.txt") + "\nkey Ctrl+V\nanswer Yes\nanswer OK\n"
                                                     "press base2_32.Command1(0)\n");
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(m[1].contains("superiore a 500"));
  const ModuloScheda b = Leggi(rilievi + "/b.sch");
  EXPECT_EQ(b.NumeroRigheScheda, 500);
  EXPECT_EQ(b.RigheScheda[500], Record(kCampi));
  // A code outside the configuration is refused; a field longer than its record field too, never cut.
  const QStringList codici = Esegui("EdizioneScheda", "file " + rilievi + "/c.sch\n" + testa +
                                                          "cell 1 3\ntype GX\ncell 1 4\nanswer OK\ntype gi\n"
                                                          "cell 1 11\ntype 1e-3\ncell 1 12\nanswer OK\ntype 1\n"
                                                          "press base2_32.Command1(0)\nanswer No\n");
  ASSERT_EQ(codici.size(), 3);
  EXPECT_TRUE(codici[0].contains("\tTi\tIl dato inserito non e' compreso"));
  EXPECT_TRUE(codici[1].contains("lunghezza ammessa"));
  EXPECT_EQ(CampoDelRecord(Leggi(rilievi + "/c.sch").RigheScheda[1], Ti), QString("GI"));
  EXPECT_EQ(CampoDelRecord(Leggi(rilievi + "/c.sch").RigheScheda[1], Ap), QString("1 "));
}

// A record without its distance or orientation is never saved silently: the incomplete-rows question comes, Yes
// goes back to the grid, No saves the record as it is. The codes may stay blank: the four example sheets, which
// leave some blank, are saved byte for byte by an unchanged confirmation, without a question.
TEST_F(Edizione, ARecordWithoutDistanceOrOrientationAsksAndTheExampleSheetsSaveUnchanged) {
  Carica(rilievi + "/manca.ses");
  const QString riga = "cell 1 1\ntype 1\ncell 1 2\ntype 2.5\ncell 1 3\ntype GI\ncell 1 6\ntype 2\ncell 1 7\ntype 4\n";
  QStringList m = Esegui("EdizioneScheda", "file " + rilievi + "/si.sch\npress Command1(0)\n" + riga +
                                               "press base2_32.Command1(0)\nanswer Yes \"Alcune righe\"\n"
                                               "cell 1 4\ntype 33\ncell 1 5\ntype 5\npress base2_32.Command1(0)\n");
  ASSERT_EQ(m.size(), 1);
  const QString record = Leggi(rilievi + "/si.sch").RigheScheda[1];
  EXPECT_EQ(CampoDelRecord(record, Imm).trimmed() + "/" + CampoDelRecord(record, Inc).trimmed(), QString("33/5"));
  m = Esegui("EdizioneScheda", "file " + rilievi + "/no.sch\npress Command1(0)\n" + riga +
                                   "press base2_32.Command1(0)\nanswer No \"Alcune righe\"\n");
  ASSERT_EQ(m.size(), 1);
  const ModuloScheda no = Leggi(rilievi + "/no.sch");
  ASSERT_EQ(no.NumeroRigheScheda, 1);
  EXPECT_EQ(CampoDelRecord(no.RigheScheda[1], Dist).trimmed(), QString("2.5"));
  EXPECT_TRUE(CampoDelRecord(no.RigheScheda[1], Imm).trimmed().isEmpty());
  for (const char* nome : {"fronte_est.sch", "fronte_nord.sch", "gradone4.sch", "rampa.sch"}) {
    const QString file = rilievi + "/" + nome;
    ASSERT_TRUE(QFile::copy(QString(FRATTIX_TEST_SOURCE_DIR) + "/examples/" + nome, file));
    const QByteArray prima = ReadBytes(file);
    m = Esegui("EdizioneScheda", "file " + file + "\npress Command1(0)\npress base2_32.Command1(0)\n");
    EXPECT_TRUE(m.isEmpty()) << nome << m.join("\n").toStdString();
    EXPECT_EQ(ReadBytes(file), prima) << nome;
  }
}

// A Ctrl-Z inside a sheet (here in the unused columns of line 40) is a character of its record, not the end of the
// file: the editor shows every record and its confirmation writes the sheet back whole.
TEST_F(Edizione, ACtrlZInsideASheetIsACharacterAndEveryRecordIsEditedAndSaved) {
  Carica(rilievi + "/manca.ses");
  const QString file = rilievi + "/fronte_nord.sch";
  QList<QByteArray> righe = ReadBytes(QString(FRATTIX_TEST_SOURCE_DIR) + "/examples/fronte_nord.sch").split('\n');
  righe[39][49] = '\x1A';
  const QByteArray danneggiata = righe.join('\n');
  ASSERT_TRUE(plat::WriteWholeFile(file, danneggiata));
  int mostrate = 0;
  plat::RegisterScriptAction("righe", [&](const QStringList&, QString*) {
    mostrate = static_cast<int>(plat::Val(MascheraCorrente.ValoriTesto[0]));
    return true;
  });
  const QStringList m =
      Esegui("EdizioneScheda", "file " + file + "\npress Command1(0)\nrighe\npress base2_32.Command1(0)\n");
  EXPECT_TRUE(m.isEmpty()) << m.join("\n").toStdString();
  EXPECT_EQ(mostrate, 110);
  EXPECT_EQ(ReadBytes(file), danneggiata);
  EXPECT_EQ(Leggi(file).NumeroRigheScheda, 110);
}

// A header field holding a letter that the sheet file cannot hold ("Dvořák") is refused with a message naming the
// letter; the field stays for correction and nothing is written.
TEST_F(Edizione, AHeaderLetterTheSheetCannotHoldIsRefusedAndNothingIsWritten) {
  Carica(rilievi + "/manca.ses");
  const QString file = rilievi + "/fronte_est.sch";
  ASSERT_TRUE(QFile::copy(QString(FRATTIX_TEST_SOURCE_DIR) + "/examples/fronte_est.sch", file));
  const QByteArray prima = ReadBytes(file);
  const QStringList m = Esegui("EdizioneScheda", "file " + file + "\nset Text1(1) Dvořák\npress Command1(0)\n"
                                                 "answer OK \"(U+0159)\"\npress Command1(1)\n");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("\tUbicazione\t")) << m[0].toStdString();
  EXPECT_EQ(ReadBytes(file), prima);
}

// Esc anywhere in the grid's window never closes it: on a button (the focus after a Tab from the grid) or on the
// window itself it does nothing, and the rows typed stay until the confirmation writes them.
TEST_F(Edizione, EscapeOnTheGridsWindowKeepsTheRowsTyped) {
  Carica(rilievi + "/manca.ses");
  const QString file = rilievi + "/fronte_est.sch";
  ASSERT_TRUE(QFile::copy(QString(FRATTIX_TEST_SOURCE_DIR) + "/examples/fronte_est.sch", file));
  const QStringList m = Esegui("EdizioneScheda", "file " + file + "\npress Command1(0)\ncell 96 1\ntype 1\nkey Return\n"
                                                 "type 12.5\nkey MSFlexGrid1 Tab\nkey Command1(0) Escape\n"
                                                 "key base2_32 Escape\nkey Label1 Escape\ncell 96 3\n" +
                                                 RigaDigitata({"GI", "33", "5"}) + "press base2_32.Command1(0)\n");
  EXPECT_TRUE(m.isEmpty()) << m.join("\n").toStdString();
  const ModuloScheda s = Leggi(file);
  ASSERT_EQ(s.NumeroRigheScheda, 96);
  EXPECT_EQ(s.RigheScheda[96].left(19), QString(" 1  12.5 GI 33  5  "));
}

TEST_F(Edizione, ASheetThatCannotBeUsedIsReportedAndNotWritten) {
  Carica(rilievi + "/manca.ses");
  const QString corta = rilievi + "/corta.sch";
  WriteAnsi(corta, "a\nb\nc\n");
  QString troppe = "1\n2\n3\n4\n5\n6\n\n\n\n 501 \n";
  for (int i = 0; i < 501; ++i) troppe += Record(kCampi) + "\n";
  const QString lunga = rilievi + "/lunga.sch";
  WriteAnsi(lunga, troppe);
  for (const QString& f : {corta, lunga}) {
    const QByteArray prima = ReadBytes(f);
    const QStringList m = Esegui("EdizioneScheda", "file " + f + "\nanswer OK\n");
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(ReadBytes(f), prima);
  }
}

// A sheet holding values that every analysis refuses opens for repair: each value is named with its line on
// opening, its cell is marked as a refused pasted cell is, and the confirmation refuses it with the message the
// grid gives the same value typed; nothing is written until every one is repaired, and then the readers take the
// sheet.
TEST_F(Edizione, ValuesTheAnalysesRefuseAreNamedMarkedAndNeverWrittenBack) {
  Carica(rilievi + "/manca.ses");
  const QString file = rilievi + "/fronte_nord.sch";
  QStringList righe = ReadAnsi(QString(FRATTIX_TEST_SOURCE_DIR) + "/examples/fronte_nord.sch").split('\n');
  const struct {
    int riga;
    int campo;
    QString testo;
    QString buono;  // what the repair types
  } casi[] = {
      {11, Imm, "361", "35"},  {12, Dist, "-1", "2.6"},  {13, Dist, "1e4", "3"},  {14, Dist, "nan", "4"},
      {15, Inc, "91", "15"},   {16, Ap, "-1", "0"},      {17, Nu, "0", "1"},      {18, Imm, "-1", "40"},
      {19, Imm, "nan", "45"},  {20, Inc, "-1", "5"},     {21, Inc, "inf", "6"},   {22, Nu, "-1", "2"},
      {23, Ap, "x1", "1"},     {24, Dist, "\"12\"", "12"}, {25, Inc, "7" + QString(QChar(0x1A)), "7"},
      {26, Dist, "1,5", "1.5"},
  };
  for (const auto& c : casi) {
    QString& r = righe[c.riga - 1];
    const auto u = static_cast<std::size_t>(c.campo);
    r.replace(kInizioCampo[u] - 1, kLarghezzaCampo[u], c.testo.leftJustified(kLarghezzaCampo[u]));
  }
  WriteAnsi(file, righe.join('\n'));
  const QByteArray danneggiata = ReadBytes(file);
  // Typed in a free row, 361 in Imm gets the grid's range message; Esc puts the cell back. The window's close button
  // cancels (the cancel button, as every button, first wants the current cell valid).
  QStringList m = Esegui("EdizioneScheda", "file " + file + "\nanswer OK\npress Command1(0)\n"
                                           "grab " + t.D("griglia.png") + "\n"
                                           "cell 111 4\ntype 361\ncell 111 5\nanswer OK\nkey Escape\n"
                                           "press base2_32.Command1(0)\nanswer OK\nclose base2_32\n");
  ASSERT_EQ(m.size(), 3) << m.join("\n").toStdString();
  // On opening: the readers' message, each value with its line and its column.
  EXPECT_TRUE(m[0].contains("\tATTENZIONE!\tIl file e' incompleto o danneggiato:\\nfronte_nord.sch\\n"))
      << m[0].toStdString();
  for (const auto& c : casi) {
    const QString nome = QStringList{"", "Nu", "Dist", "", "Imm", "Inc", "", "", "", "", "", "Ap"}[c.campo];
    const QString valore = c.campo == Inc && c.riga == 25 ? "7<U+001A>" : c.testo;
    EXPECT_TRUE(m[0].contains(QString("\\nriga %1, %2").arg(c.riga).arg(nome))) << c.riga << m[0].toStdString();
    EXPECT_TRUE(m[0].contains(QString(": \"%1\"").arg(valore))) << c.riga << m[0].toStdString();
  }
  EXPECT_TRUE(m[0].contains("segnate in rosso")) << m[0].toStdString();
  // The confirmation: the first refused cell, with exactly the message of the value typed.
  EXPECT_EQ(m[2], m[1]);
  EXPECT_TRUE(m[2].endsWith("\\n 0;  360")) << m[2].toStdString();
  EXPECT_EQ(ReadBytes(file), danneggiata);

  // Every refused value repaired in its cell (row 1 of the grid is line 11 of the file): the sheet is written, and
  // every reader takes it.
  QString ripara;
  for (const auto& c : casi) ripara += QString("cell %1 %2\ntype %3\n").arg(c.riga - 10).arg(c.campo).arg(c.buono);
  m = Esegui("EdizioneScheda", "file " + file + "\nanswer OK\npress Command1(0)\n" + ripara + "cell 1 1\n"
                               "press base2_32.Command1(0)\n");
  ASSERT_EQ(m.size(), 1) << m.join("\n").toStdString();
  ModuloScheda scheda;
  std::vector<int> linee;
  ASSERT_EQ(LeggiFileScheda(file, scheda, kMassimoRigheScheda, &linee), EsitoScheda::Letta);
  int riga = 0;
  EXPECT_TRUE(NumeriDellaScheda(scheda, linee, nullptr, &riga)) << riga;
  EXPECT_TRUE(ValoriRifiutati(scheda, linee).empty());
  for (const auto& c : casi)
    EXPECT_EQ(ValoreCampo(scheda.RigheScheda[static_cast<std::size_t>(c.riga - 10)], c.campo), c.buono.toDouble())
        << c.riga;
  EXPECT_EQ(scheda.NumeroRigheScheda, 110);
}

// The measuring line and the record count of a sheet's header that every analysis refuses: named on opening, the
// fields marked, the header's confirmation refused with the field's range message; repaired, the sheet is written
// with its count.
TEST_F(Edizione, HeaderValuesTheAnalysesRefuseAreNamedMarkedAndNeverWrittenBack) {
  Carica(rilievi + "/manca.ses");
  const QString file = rilievi + "/fronte_nord.sch";
  QStringList righe = ReadAnsi(QString(FRATTIX_TEST_SOURCE_DIR) + "/examples/fronte_nord.sch").split('\n');
  righe[2] = "400/\"15\"";
  righe[4] = "-3";
  righe[9] = "molte";
  WriteAnsi(file, righe.join('\n'));
  const QByteArray danneggiata = ReadBytes(file);
  QStringList segnati;
  plat::RegisterScriptAction("segnati", [&segnati](const QStringList&, QString*) {
    auto* f = qobject_cast<base1*>(plat::FindObject("base1"));
    if (!f) return false;
    for (QLineEdit* t : f->Text1) segnati << (t->styleSheet().isEmpty() ? "" : t->toolTip());
    return true;
  });
  QStringList m = Esegui("EdizioneScheda", "file " + file + "\nanswer OK\nsegnati\ngrab " + t.D("testata.png") +
                                               "\npress Command1(0)\nanswer OK\npress Command1(1)\n");
  ASSERT_EQ(m.size(), 2) << m.join("\n").toStdString();
  EXPECT_TRUE(m[0].contains("\\nriga 3, Direzione stendimento [°]: \"400\"")) << m[0].toStdString();
  EXPECT_TRUE(m[0].contains("\\nriga 3, Inclinazione stendimento [°]: \"\"15\"\"")) << m[0].toStdString();
  EXPECT_TRUE(m[0].contains("\\nriga 5, Lunghezza stendimento [m]: \"-3\"")) << m[0].toStdString();
  EXPECT_TRUE(m[0].contains("\\nriga 10: \"molte\"")) << m[0].toStdString();
  ASSERT_EQ(segnati.size(), 7);
  EXPECT_EQ(segnati.mid(0, 4), QStringList({"", "", "", ""}));
  EXPECT_TRUE(segnati[4].endsWith("0; 360")) << segnati[4].toStdString();
  EXPECT_TRUE(segnati[5].contains("alfanumerici")) << segnati[5].toStdString();
  EXPECT_TRUE(segnati[6].endsWith("0; 10000")) << segnati[6].toStdString();
  EXPECT_TRUE(m[1].contains("\tDirezione stendimento [°]\t")) << m[1].toStdString();
  EXPECT_TRUE(m[1].endsWith("0; 360")) << m[1].toStdString();
  EXPECT_EQ(ReadBytes(file), danneggiata);
  // Repaired: written with the count of its records, and every reader takes it.
  segnati.clear();
  m = Esegui("EdizioneScheda", "file " + file + "\nanswer OK\nset Text1(4) 120\nset Text1(5) 15\nset Text1(6) 30\n"
                               "segnati\npress Command1(0)\npress base2_32.Command1(0)\n");
  ASSERT_EQ(m.size(), 1) << m.join("\n").toStdString();
  ModuloScheda scheda;
  std::vector<int> linee;
  ASSERT_EQ(LeggiFileScheda(file, scheda, kMassimoRigheScheda, &linee), EsitoScheda::Letta);
  EXPECT_TRUE(ValoriRifiutati(scheda, linee).empty());
  EXPECT_EQ(scheda.IntestazioneScheda[3], QString("120/15"));
  EXPECT_EQ(scheda.IntestazioneScheda[5], QString("30"));
  EXPECT_EQ(scheda.IntestazioneScheda[10], QString(" 110 "));
}

// ---------------------------------------------------------------------------------------------------------------

class Famiglie : public Edizione {
 protected:
  void SetUp() override {
    Edizione::SetUp();
    WriteAnsi(rilievi + "/prova.ses", "");
    RisultatoCluster r;
    r.NumeroPoli = 5;
    r.Punti.assign(6, {0, 0.5, 0.5, 0.5, 0.5});
    r.NumeroCluster = 5;
    r.Membri.assign(6, {});
    for (int i = 1; i <= 5; ++i) r.Membri[static_cast<std::size_t>(i)] = {i};
    ASSERT_TRUE(ScriviFileRisultato(rilievi + "/prova.dat", r));
    ValoriFronte f{};
    for (int k = 1; k <= 9; ++k) f[static_cast<std::size_t>(k)] = 1;
    f[5] = 0.5;
    f[6] = 30;
    ASSERT_TRUE(ScriviFileFronte(rilievi + "/prova.fro", f));
    Carica(rilievi + "/prova.ses");
  }
};

TEST_F(Famiglie, FiveFamiliesWithDefaultsAndAClearedMiddleRow) {
  QStringList righe;
  plat::RegisterScriptAction("vedi", [&](const QStringList&, QString*) {
    const StatoMaschera& m = MascheraCorrente;
    for (int k = 1; k <= 10; ++k) righe << m.ValoriTesto[static_cast<std::size_t>(k)];
    return true;
  });
  const QStringList m = Esegui("EdizioneFamiglie", "vedi\ntype 35\ncell 3 1\nkey Backspace\nkey Backspace\ncell 3 2\n"
                                                   "key Backspace\ncell 4 1\ntype 40\npress Command1(0)\nanswer No\n");
  EXPECT_EQ(righe.join(","), QString(" 30, 5, 30, 5, 30, 5, 30, 5, 30, 5"));
  ASSERT_EQ(m.size(), 1);  // the incomplete row
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("35\n0.5\n30\n0.5\n30\n0.5\n40\n0.5\n30\n0.5\n"));
  // Cancelling writes the values read, families with 0 and 0 taking the defaults.
  WriteAnsi(rilievi + "/prova.pgm", " 20 \n 1 \n 0 \n 0 \n");
  Esegui("EdizioneFamiglie", "press Command1(1)\n");
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("20\n1\n30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n"));
}

TEST_F(Famiglie, EscapeOnTheGridsWindowKeepsTheRowsTyped) {
  Esegui("EdizioneFamiglie", "type 35\nkey Command1(0) Escape\nkey base2_32 Escape\npress Command1(0)\n");
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("35\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n"));
}

// Each grid and list writes the extreme values it accepts so that its file's reader takes them back: a sheet's
// header (70 characters of any letter the file holds, the measuring line's bounds; its direction and inclination
// never left empty) and records (the bounds of every numeric column), the families' bounds, a sheet list of names
// with commas, blanks and letters of the code page's upper half.
TEST_F(Famiglie, EveryGridWritesItsExtremesSoThatItsReaderTakesThemBack) {
  const QString testo = QString::fromUtf8("€ŒŸÿ, \"x\" ") + QString(70 - 10, QChar(0xE8));
  ASSERT_EQ(testo.size(), 70);
  plat::RegisterScriptAction("testata", [&testo](const QStringList&, QString*) {
    auto* f = qobject_cast<base1*>(plat::FindObject("base1"));
    if (!f) return false;
    for (std::size_t k = 0; k < 4; ++k) f->Text1[k]->setText(testo);
    return true;
  });
  const QStringList m = Esegui("EdizioneScheda",
                               "file " + rilievi + "/estremi.sch\ntestata\nset Text1(5) -90\nset Text1(6) 10000\n"
                               "set Text1(4) \"\"\npress Command1(0)\nanswer OK \"0; 360\"\nset Text1(4) 360\n"
                               "set Text1(5) \"\"\npress Command1(0)\nanswer OK \"-90; 90\"\nset Text1(5) -90\n"
                               "press Command1(0)\n" +
                                   RigaDigitata({"1", "0", "GI", "0", "0", "", "", "", "", "", "0"}) + "cell 2 1\n" +
                                   RigaDigitata({"99", "9999", "VE", "360", "90", "", "", "", "", "", "99"}) +
                                   "press base2_32.Command1(0)\n");
  ASSERT_EQ(m.size(), 2);
  ModuloScheda scheda;
  std::vector<int> linee;
  ASSERT_EQ(LeggiFileScheda(rilievi + "/estremi.sch", scheda, kMassimoRigheScheda, &linee), EsitoScheda::Letta);
  for (int i : {1, 2, 4, 6}) EXPECT_EQ(scheda.IntestazioneScheda[static_cast<std::size_t>(i)], testo) << i;
  EXPECT_EQ(scheda.IntestazioneScheda[3], QString("360/-90"));
  StendimentoScheda stendimento;
  int riga = 0;
  EXPECT_TRUE(NumeriDellaScheda(scheda, linee, &stendimento, &riga)) << riga;
  EXPECT_EQ(stendimento.Direzione, 360);
  EXPECT_EQ(stendimento.Inclinazione, -90);
  EXPECT_EQ(stendimento.Lunghezza, 10000);
  ASSERT_EQ(scheda.NumeroRigheScheda, 2);
  const int campi[] = {Nu, Dist, Imm, Inc, Ap};
  const double minimi[] = {1, 0, 0, 0, 0}, massimi[] = {99, 9999, 360, 90, 99};
  for (int r = 1; r <= 2; ++r) {
    const QString& record = scheda.RigheScheda[static_cast<std::size_t>(r)];
    EXPECT_TRUE(NumeriDelRecord(record)) << r;
    for (std::size_t c = 0; c < 5; ++c) EXPECT_EQ(ValoreCampo(record, campi[c]), r == 1 ? minimi[c] : massimi[c]) << r;
  }
  // The families: the bounds of both columns.
  Esegui("EdizioneFamiglie", "type 89\nkey Return\ntype 0\nkey Return\ntype 0\nkey Return\ntype 100000\n"
                             "press Command1(0)\n");
  ParametriFamiglie p = ParametriPredefiniti(5, 0, 0);
  ASSERT_EQ(LeggiFileParametriFamiglie(rilievi + "/prova.pgm", p), EsitoParametri::Letti);
  EXPECT_EQ(p.Attrito[1], 89);
  EXPECT_EQ(p.Coesione[1], 0);
  EXPECT_EQ(p.Attrito[2], 0);
  EXPECT_EQ(p.Coesione[2], 10000);
  // The sheet list.
  const QString nome = QString::fromUtf8("a, b €ÿ.sch");
  WriteAnsi(rilievi + "/" + nome, "");
  Esegui("EdizioneSelezione", "check Check1(0) 1\ncheck Check1(1) 1\npress Command1\n");
  QStringList nomi;
  ASSERT_EQ(LeggiElencoSchede(rilievi + "/prova.ses", nomi, Sessione.LimiteSchede), EsitoElenco::Letto);
  EXPECT_EQ(nomi, (QStringList{nome, "estremi.sch"}));
}

// A definition file widened beyond what a file's readers take, or giving a numeric field the kind of a text, never
// makes its editor save such a value: the slope form's face dip (widened to 1000) and its dip direction (made a
// text field), the family grid's friction angle (widened) and cohesion (made a text column), the sheet header's
// measuring-line direction (widened) and length (made text), the sheet grid's dip direction (widened) and dip
// (made text). Each is refused with the reader's range, and the file keeps its old value.
TEST_F(Famiglie, AWidenedDefinitionNeverMakesAnEditorSaveWhatItsReaderRefuses) {
  auto definizione = [this](const char* nome, const std::map<int, QString>& righe) {
    QStringList testo = ReadAnsi(t.P(nome)).split('\n');
    for (const auto& [riga, nuova] : righe) {
      ASSERT_LT(riga - 1, testo.size());
      testo[riga - 1] = nuova + (testo[riga - 1].endsWith('\r') ? "\r" : "");
    }
    WriteAnsi(t.P(nome), testo.join('\n'));
  };
  definizione("EDITFRON.MAV", {{6, "0,0,1000"}, {9, "70,,"}});
  definizione("EDITPFAM.MAV", {{8, "88.88,0,1000"}, {11, "/88888888,,"}});
  definizione("EDITPGEN.MAV", {{18, "0,0,100000"}, {24, "70,,"}});
  definizione("EDITSCHE.MAV", {{17, "888,0,100000000"}, {20, "/888,,"}});
  Carica(rilievi + "/prova.ses");
  QFile::copy(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples/fronte_est.sch"), rilievi + "/est.sch");
  WriteAnsi(rilievi + "/prova.pgm", "30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n");
  const QByteArray fronte = ReadBytes(rilievi + "/prova.fro"), parametri = ReadBytes(rilievi + "/prova.pgm"),
                   scheda = ReadBytes(rilievi + "/est.sch");
  // Script lines that clear the cell being typed, of `n` characters.
  auto Cancella = [](int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += "key Backspace\n";
    return s;
  };
  const struct {
    const char* voce;
    QString script;
    const char* intervallo;
  } casi[] = {
      {"EdizioneFronte", "set Text1(0) 500\npress Command1(0)\nanswer OK\npress Command1(1)\n", "0; 90"},
      {"EdizioneFronte", "set Text1(1) 500\npress Command1(0)\nanswer OK\npress Command1(1)\n", "0; 360"},
      {"EdizioneFamiglie", "type 150\npress Command1(0)\nanswer OK\n" + Cancella(3) + "press Command1(1)\n", " 0;  89"},
      {"EdizioneFamiglie", "cell 1 2\ntype 2000000\npress Command1(0)\nanswer OK\n" + Cancella(7) + "press Command1(1)\n",
       " 0;  100000"},
      {"EdizioneScheda", "file est.sch\nset Text1(4) 500\npress Command1(0)\nanswer OK\npress Command1(1)\n",
       "0; 360"},
      {"EdizioneScheda", "file est.sch\nset Text1(6) 20000\npress Command1(0)\nanswer OK\npress Command1(1)\n",
       "0; 10000"},
      {"EdizioneScheda",
       "file est.sch\npress Command1(0)\ncell 1 4\ntype 500\npress base2_32.Command1(0)\nanswer OK\n" + Cancella(3) +
           "press base2_32.Command1(1)\n",
       " 0;  360"},
      {"EdizioneScheda",
       "file est.sch\npress Command1(0)\ncell 1 5\ntype 95\npress base2_32.Command1(0)\nanswer OK\n" + Cancella(2) +
           "press base2_32.Command1(1)\n",
       " 0;  90"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.script.toStdString());
    const QString script = QString(c.script).replace("file est.sch", "file " + rilievi + "/est.sch");
    const QStringList m = Esegui(c.voce, script);
    ASSERT_EQ(m.size(), 1) << m.join("\n").toStdString();
    EXPECT_TRUE(m[0].contains(c.intervallo)) << m[0].toStdString();
    EXPECT_EQ(ReadBytes(rilievi + "/prova.fro"), fronte);
    EXPECT_EQ(ReadBytes(rilievi + "/prova.pgm"), parametri);
    EXPECT_EQ(ReadBytes(rilievi + "/est.sch"), scheda);
  }
}

TEST_F(Famiglie, RowsTypedBelowTheLastFamilyAreReportedAsNotStored) {
  const QStringList m = Esegui("EdizioneFamiglie", "cell 6 1\ntype 40\nkey Return\ntype 5\npress Command1(0)\n"
                                                   "answer OK \"oltre l'ultima famiglia\"\n");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].endsWith("famiglie:\\n5")) << m[0].toStdString();
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n"));
}

TEST_F(Famiglie, AValueBeyondItsLimitsIsToldAndTheFileKeptUnlessTheUserStartsAgain) {
  WriteAnsi(rilievi + "/prova.pgm", "30\n1e308\n");
  const QStringList m = Esegui("EdizioneFamiglie", "answer OK\nanswer No\n");
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(m[0].contains("prova.pgm, riga 2")) << m[0].toStdString();
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("30\n1e308\n"));
  // Starting again: the slope file's values for every family.
  Esegui("EdizioneFamiglie", "answer OK\nanswer Yes\npress Command1(1)\n");
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n30\n0.5\n"));
}

// What no writer writes is told with its file and line and nothing is written: family parameters that end after a
// friction angle without its cohesion, a clustering result that lists a point in two families.
TEST_F(Famiglie, AFamilyCutShortOrAPointInTwoFamiliesIsToldWithItsLine) {
  WriteAnsi(rilievi + "/prova.pgm", "30\n1\n30\n");
  QStringList m = Esegui("EdizioneFamiglie", "answer OK\nanswer No\n");
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(m[0].contains("prova.pgm, riga 4")) << m[0].toStdString();
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("30\n1\n30\n"));
  QStringList risultato = ReadAnsi(rilievi + "/prova.dat").split('\n');
  ASSERT_EQ(risultato[41].trimmed(), QString("5"));
  risultato[41] = " 1 ";
  WriteAnsi(rilievi + "/prova.dat", risultato.join('\n'));
  m = Esegui("EdizioneFamiglie", "answer OK\n");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("prova.dat, riga 42")) << m[0].toStdString();
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.pgm"), QString("30\n1\n30\n"));
}

TEST_F(Famiglie, NoClusteringResultIsReported) {
  QFile::remove(rilievi + "/prova.dat");
  const QStringList m = Esegui("EdizioneFamiglie", "answer OK\n");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("prova.dat"));
  EXPECT_FALSE(QFile::exists(rilievi + "/prova.pgm"));
}

// ---------------------------------------------------------------------------------------------------------------

TEST_F(Edizione, DamagedCriteriaOrSheetListCanStartAgainFromTheDefaults) {
  WriteAnsi(rilievi + "/prova.ses", "");
  Carica(rilievi + "/prova.ses");
  WriteAnsi(rilievi + "/prova.sel", "x\n");
  Esegui("EdizioneParametri", "answer OK\nanswer No\n");
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.sel"), QString("x\n"));
  Esegui("EdizioneParametri", "answer OK\nanswer Yes\npress Command2\n");
  ModuloSelezione s;
  EXPECT_EQ(LeggiFileSelezione(rilievi + "/prova.sel", Configurazione, s), EsitoSelezione::Letta);

  WriteAnsi(rilievi + "/a.sch", "");
  WriteAnsi(rilievi + "/prova.SES", " 7 \nx.sch\n");
  Esegui("EdizioneSelezione", "answer OK\nanswer No\n");
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.SES"), QString(" 7 \nx.sch\n"));
  Esegui("EdizioneSelezione", "answer OK\nanswer Yes\ncheck Check1(0) 1\npress Command1\n");
  EXPECT_EQ(ReadAnsi(rilievi + "/prova.SES"), QString(" 1 \na.sch\n"));
}

TEST_F(Edizione, ASheetListBeyondItsLimitIsToldAsSuchAndKept) {
  WriteAnsi(rilievi + "/prova.ses", "");
  Carica(rilievi + "/prova.ses");
  WriteAnsi(rilievi + "/a.sch", "");
  QString elenco = " 501 \n";
  for (int i = 1; i <= 501; ++i) elenco += QString("s%1.sch\n").arg(i);
  WriteAnsi(rilievi + "/prova.SES", elenco);
  // The sheet selection offers no fresh start, which would lose the names; the analysis is not started.
  for (const char* comando : {"EdizioneSelezione", "CalcoliCluster"}) {
    const QStringList m = Esegui(comando, "answer OK\n");
    ASSERT_EQ(m.size(), 1) << comando;
    EXPECT_TRUE(m[0].contains("Il numero di schede supera il massimo ammesso:\\nprova.SES, riga 1\\n"))
        << m[0].toStdString();
    EXPECT_TRUE(m[0].endsWith("\\n501 > 500")) << m[0].toStdString();
    EXPECT_EQ(ReadAnsi(rilievi + "/prova.SES"), elenco);
  }
}

}  // namespace

namespace {

// Whole runs of frattix32, headless, driven by a script.
class EdizioneEsecuzione : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"frattix32"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
  }
  testing_support::RunResult Esegui(const QString& script) {
    QFile::remove(t.D("ui.log"));
    return testing_support::RunProgram(t.P("frattix32"), {}, t.Data(),
                                       testing_support::ScriptedRunEnvironment(t, script));
  }
  TestFolder t;
};

TEST_F(EdizioneEsecuzione, ANewSheetThePenEditorsConfirmAndCancel) {
  const QByteArray penne = ReadBytes(t.P("korvenITA.CFG"));
  const auto r = Esegui("press INFORMAZIONI.Command1\nmenu EdizioneScheda\nfile " + t.D("nuova") + "\n" +
                        "set Text1(0) Cava\nset Text1(6) 12\npress Command1(0)\n" + RigaDigitata(kCampi) +
                        "press base2_32.Command1(0)\n"
                        "menu configura\npick List1 #2\ncheck Option1(0) 1\npress Command2\n"
                        "menu configura\npress Command1\nclose menu1\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadBytes(t.D("nuova.sch")), "Cava\r\n\r\n0/0\r\n\r\n12\r\n\r\n\r\n\r\n\r\n 1 \r\n" +
                                             plat::EncodeAnsi(Record(kCampi)) + "\r\n");
  // Cancel leaves the pen table as it was; confirming without changes keeps its 152 lines and every name.
  const QList<QByteArray> prima = penne.split('\n'), dopo = ReadBytes(t.P("korvenITA.CFG")).split('\n');
  ASSERT_EQ(dopo.size(), 153);
  for (int i = 0; i < 152; ++i)
    EXPECT_EQ(plat::Val(plat::DecodeAnsi(dopo[i])) == plat::Val(plat::DecodeAnsi(prima[i])), true) << i;
  for (int e = 0; e < 30; ++e) EXPECT_EQ(dopo[4 * e], prima[4 * e]);
  EXPECT_EQ(testing_support::ReadLog(t.D("ui.log")).filter("\tform\tEditacfg\t").size(), 2);
}

}  // namespace
