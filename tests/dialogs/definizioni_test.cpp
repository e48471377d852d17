#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"
#include "main/session/scheda.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QFile>

#include <optional>

#include <gtest/gtest.h>

using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// A field form with two choice fields and three text fields, then a grid.
const char* const kForm =
    "1\n\"TITOLO, CON VIRGOLA\"\n2\nUno|Due\nTre|Quattro|\n3\n"
    "Scelta 1\n0,,\nAiuto 1\nScelta 2\n0,,\nAiuto 2\n"
    "Quota [m]\n0,0,100\nAiuto quota\n"
    "  Nome  \n20,,\nAiuto nome\n"
    "Terzo\n@,,\nAiuto terzo\n"
    "Aiuto 41 del dialogo\n3\n\"&Conferma\",\"&Annulla\",\"&Help\"\nmn=12\n";
const char* const kGrid =
    "2\nTABELLA\n3\nN.\n888,,\n\nA [mm]\n88,0,99\nAiuto A\nB\n/8,,\nCodici:$$$\nAiuto tabella\n2\n"
    "\"&Conferma\",\"&Annulla\"\n";

std::vector<QString> Percorsi(const TestFolder& t, int n) {
  std::vector<QString> p = {QString()};
  for (int i = 1; i <= n; ++i) p.push_back(t.D(QStringLiteral("D%1.MAV").arg(i)));
  return p;
}

class Definizioni : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;  // Italian: the texts come back as written
    s.emplace(t, "");        // an unexpected message ends the test instead of waiting for a user
  }
  void Script(const QString& testo) {
    s.reset();
    s.emplace(t, testo);
  }
  TestFolder t;
  std::optional<Scripted> s;
};

TEST_F(Definizioni, FormAndGridAreReadIntoTheTables) {
  WriteAnsi(t.D("D1.MAV"), kForm);
  WriteAnsi(t.D("D2.MAV"), kGrid);
  ASSERT_EQ(LeggiDefinizioniMaschere(2, Percorsi(t, 2)), 2);
  const ModuloDefinizioni& d = DefinizioniMaschere;
  EXPECT_EQ(d.TipoDefinizione[1], 1);
  EXPECT_EQ(d.TitoloDefinizione[1], QString("TITOLO, CON VIRGOLA"));
  EXPECT_EQ(d.InizioSceltaDefinizione[1], 1);
  EXPECT_EQ(d.InizioSceltaDefinizione[2], 3);
  EXPECT_EQ(d.InizioCampiDefinizione[2], 5);
  EXPECT_EQ(d.RigheSceltaDefinizione[1], QString("Uno|Due|"));       // "|" appended
  EXPECT_EQ(d.RigheSceltaDefinizione[2], QString("Tre|Quattro|"));   // already there
  EXPECT_EQ(d.EtichettaDefinizione[2], QString("Quota [m]"));
  EXPECT_EQ(d.EtichettaDefinizione[3], QString("Nome"));             // blanks around the name dropped
  EXPECT_EQ(d.FormatoDefinizione[3], QString("20"));
  EXPECT_FALSE(d.MinimoDefinizione[3].has_value());                   // empty item: no limit
  EXPECT_EQ(d.MassimoDefinizione[2].value(), 100);
  EXPECT_EQ(d.ArgomentoAiutoDefinizione[1].value(), 12);              // "mn=" in lower case
  EXPECT_FALSE(d.ArgomentoAiutoDefinizione[2].has_value());           // the grid has no topic line
  // The grid has no choice count: its third line is already the number of columns.
  EXPECT_EQ(d.TipoDefinizione[2], 2);
  EXPECT_EQ(d.InizioCampiDefinizione[3] - d.InizioCampiDefinizione[2], 3);
  EXPECT_EQ(d.InizioSceltaDefinizione[3], 3);
  EXPECT_EQ(d.SecondoElencoDefinizione[3], QString("&Conferma"));
  EXPECT_EQ(d.InizioSecondoElencoDefinizione[3], 5);
}

TEST_F(Definizioni, LabelsAndTextsAreTranslatedUnitsAndDialogHelpAreNot) {
  Avvio.NumeroLingua = 5;
  {
    // Bytes of Windows-1252 (178 is the superscript two) and, in the dialog's help, of code page 437.
    QFile f(t.D("D1.MAV"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1\r\nTITOLI DELLA SESSIONE\r\n1\r\nSi|No\r\n1\r\nScelta\r\n0,,\r\n\r\nCoesione [kN/m\xB2]\r\n0,0,10\r\nTesto libero\r\n"
            "aiuto \x85 45\xF8\r\n2\r\n\"&Conferma\",\"&Annulla\"\r\n");
  }
  AzzeraTesti(800);
  QString errore;
  ASSERT_TRUE(CaricaTesti(t.P("texts01.txt"), &errore));
  ASSERT_TRUE(CaricaTesti(t.P("texts03.txt"), &errore));
  OrdinaTesti();
  ASSERT_EQ(LeggiDefinizioniMaschere(1, Percorsi(t, 1)), 1);
  const ModuloDefinizioni& d = DefinizioniMaschere;
  EXPECT_EQ(d.TitoloDefinizione[1], QString("SESSION TITLES"));
  EXPECT_EQ(d.RigheSceltaDefinizione[1], QString("Yes|No|"));
  EXPECT_EQ(d.EtichettaDefinizione[1], QString("Cohesion [kN/m\u00B2]"));
  EXPECT_EQ(d.AiutoDefinizione[1], QString("Free text"));
  EXPECT_EQ(d.SecondoElencoDefinizione[1], QString("&Cancel"));
  // The dialog's help text is converted from code page 437, not translated: 133 is "à", 248 the degree sign.
  EXPECT_EQ(d.RigaFinaleDefinizione[1], QString("aiuto \u00E0 45\u00B0"));
}

TEST_F(Definizioni, ABadFileIsReportedAndLeftOutTheOthersAreRead) {
  WriteAnsi(t.D("D1.MAV"), kForm);
  WriteAnsi(t.D("D2.MAV"), "7\nSCONOSCIUTO\n0\n");    // unknown kind
  WriteAnsi(t.D("D3.MAV"), "1\nCORTO\n0\n4\nA\n");    // ends inside its fields
  // D4 is missing.
  WriteAnsi(t.D("D5.MAV"), kGrid);
  Script("answer OK \"D2.MAV\"\nanswer OK \"D3.MAV, riga 6\"\nanswer OK \"D4.MAV\"\n");
  EXPECT_EQ(LeggiDefinizioniMaschere(5, Percorsi(t, 5)), 2);
  const ModuloDefinizioni& d = DefinizioniMaschere;
  for (int i : {2, 3, 4}) EXPECT_EQ(d.TipoDefinizione[static_cast<std::size_t>(i)], 0) << i;
  EXPECT_EQ(d.TipoDefinizione[5], 2);
  EXPECT_EQ(d.InizioCampiDefinizione[5], 5);  // the grid follows the form's five fields
  EXPECT_EQ(d.EtichettaDefinizione[6], QString("A [mm]"));
  EXPECT_EQ(s->Log("msgbox").size(), 3);
  // A left-out definition opens no form, says why and counts as cancelled.
  Script("answer OK \"D2.MAV\"\n");
  ImpostaMaschera(0, 0, 2);
  MascheraCorrente.AnnullaMaschera = 0;
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);
  EXPECT_EQ(s->Log("msgbox").size(), 1);
  EXPECT_TRUE(s->Log("form").isEmpty());
}

TEST_F(Definizioni, DefinitionsBeyondTheLimitsOfADialogAreRefused) {
  QString troppi = "1\nTROPPI\n0\n26\n";
  for (int i = 0; i < 26; ++i) troppi += "C\n0,,\n\n";
  troppi += "\n0\n";
  WriteAnsi(t.D("D1.MAV"), troppi);
  WriteAnsi(t.D("D2.MAV"), "2\nGRIGLIA\n17\n");
  WriteAnsi(t.D("D3.MAV"), "1\nBOTTONI\n0\n0\n\n7\n");
  Script("answer OK\nanswer OK\nanswer OK\n");
  EXPECT_EQ(LeggiDefinizioniMaschere(3, Percorsi(t, 3)), 0);
  EXPECT_EQ(s->Log("msgbox").size(), 3);
}

// A definition is read as its dialog takes it, or told with its line: counts that are not those of the dialog that
// shows it (kind, choice fields, fields, buttons), a line with more items than it holds, a bound that is no number,
// a line more after the help context.
TEST_F(Definizioni, ADefinitionThatDoesNotMatchItsDialogOrHoldsMoreThanItsLinesIsTold) {
  const FormaDefinizione forma{1, 2, 5, 3};
  WriteAnsi(t.D("D1.MAV"), kForm);
  ASSERT_EQ(LeggiDefinizioniMaschere(1, Percorsi(t, 1), {FormaDefinizione(), forma}), 1);
  // kForm: kind on line 1, the choice count on 3, the field count on 6, the fields from line 7 (their format lines
  // 8, 11, 14, 17, 20), the button count on 23, the captions on 24, the help context on 25.
  const QStringList righe = QString(kForm).split('\n');
  auto cambia = [&](int riga, const QString& testo) {
    QStringList r = righe;
    r[riga - 1] = testo;
    return r.join('\n');
  };
  const struct {
    QString testo;
    FormaDefinizione forma;
    int riga;
  } casi[] = {
      {kForm, {2, 0, 5, 3}, 1},
      {kForm, {1, 3, 5, 3}, 3},
      {kForm, {1, 2, 6, 3}, 6},
      {kForm, {1, 2, 5, 2}, 23},
      {cambia(6, "3,1"), forma, 6},
      {cambia(6, "3 1"), forma, 6},
      {cambia(8, "0,,,1"), forma, 8},
      {cambia(14, "0,0"), forma, 14},
      {cambia(14, "0,0,1x"), forma, 14},
      {cambia(24, "\"&Conferma\",\"&Annulla\",\"&Help\",\"&Altro\""), forma, 24},
      {cambia(24, "\"&Conferma\",\"&Annulla\""), forma, 24},
      {QString(kForm) + "altro\n", forma, 26},
      {QString(kForm) + "mn=13\n", forma, 26},
      {QString(kForm).replace("\n", "\r"), forma, 1},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.riga);
    if (c.testo.contains('\r')) {
      QFile f(t.D("D1.MAV"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(c.testo.toLatin1());
    } else {
      WriteAnsi(t.D("D1.MAV"), c.testo);
    }
    Script(QString("answer OK \"D1.MAV, riga %1\"\n").arg(c.riga));
    EXPECT_EQ(LeggiDefinizioniMaschere(1, Percorsi(t, 1), {FormaDefinizione(), c.forma}), 0);
    ASSERT_EQ(s->Log("msgbox").size(), 1);
    EXPECT_TRUE(s->Log("msgbox")[0].contains(QString("D1.MAV, riga %1\\n").arg(c.riga))) << s->Log("msgbox")[0].toStdString();
    EXPECT_EQ(DefinizioniMaschere.TipoDefinizione[1], 0);
  }
}

TEST(ConvertiCaratteri, ConvertsTheDosLettersAndKeepsTheLength) {
  QString testo = plat::DecodeAnsi(QByteArray("45\xF8 \x82t\x8A \xB3 abc"));
  const qsizetype n = testo.size();
  ConvertiCaratteri(testo);
  EXPECT_EQ(testo.size(), n);
  EXPECT_EQ(testo, QString::fromUtf8("45° étè \u00B3 abc"));  // 179 is no letter of the table: unchanged
  QString ascii = "nessun carattere esteso";
  ConvertiCaratteri(ascii);
  EXPECT_EQ(ascii, QString("nessun carattere esteso"));
}

// The installed definitions: read in every language, with the fields their callers expect.
TEST(DefinizioniInstallate, TheSevenDefinitionsHoldTheFieldsTheCommandsUse) {
  TestFolder t;
  for (int lingua = 1; lingua <= 6; ++lingua) {
    Avvio.NumeroLingua = lingua;
    AzzeraTesti(800);
    QString errore;
    ASSERT_TRUE(CaricaTesti(t.P("texts01.txt"), &errore)) << errore.toStdString();
    ASSERT_TRUE(CaricaTesti(t.P("texts03.txt"), &errore)) << errore.toStdString();
    OrdinaTesti();
    std::vector<QString> p = {QString()};
    for (const char* n : {"EDITFRON.MAV", "EDITPARG.MAV", "EDITPFAM.MAV", "EDITSCHE.MAV", "EDITPGEN.MAV",
                          "EDITTITO.MAV", "edittito.mav"})
      p.push_back(t.P(n));
    p[7] = t.P("editparg2.mav");  // names are found without regard to letter case
    ASSERT_EQ(LeggiDefinizioniMaschere(7, p), 7) << lingua;
    const ModuloDefinizioni& d = DefinizioniMaschere;
    auto campi = [&](int n) { return d.InizioCampiDefinizione[static_cast<std::size_t>(n) + 1] - d.InizioCampiDefinizione[static_cast<std::size_t>(n)]; };
    auto scelte = [&](int n) { return d.InizioSceltaDefinizione[static_cast<std::size_t>(n) + 1] - d.InizioSceltaDefinizione[static_cast<std::size_t>(n)]; };
    const double tipi[] = {0, 1, 1, 3, 4, 1, 1, 1};
    const int numeri[] = {0, 19, 5, 3, 15, 7, 4, 5};
    for (int n = 1; n <= 7; ++n) {
      EXPECT_EQ(d.TipoDefinizione[static_cast<std::size_t>(n)], tipi[n]) << n;
      EXPECT_EQ(campi(n), numeri[n]) << n;
      EXPECT_EQ(d.ArgomentoAiutoDefinizione[static_cast<std::size_t>(n)].value_or(0), 40 + n) << n;
    }
    EXPECT_EQ(scelte(2), 5);  // the graphics options are five choice fields
    EXPECT_EQ(scelte(7), 5);
    for (int n : {1, 5, 6}) EXPECT_EQ(scelte(n), 0);
    // The record grid: a row-number column, then the 14 fields of a record; a numeric column's range keeps its
    // values within the record's width, a coded column's help ends in "$$$".
    ImpostaMaschera(0, 0, 4);
    ASSERT_EQ(MascheraCorrente.UltimaColonna, 14);
    EXPECT_EQ(MascheraCorrente.NumeroSecondoElenco, 5);
    for (int c = 1; c <= 14; ++c) {
      const auto u = static_cast<std::size_t>(c);
      const bool codici = MascheraCorrente.AiutiCampi[u].endsWith(QLatin1String("$$$"));
      const bool codiceCampo = c == Ti || c == Lu || c == Sp || c == Ri || c == Ac || c == For || c == Sca ||
                               c == Lit || c == Du;
      EXPECT_EQ(codici, codiceCampo) << c;
      if (codiceCampo) {
        EXPECT_EQ(MascheraCorrente.FormatiCampi[u].size(), kLarghezzaCampo[u]) << c;
        continue;
      }
      const double massimo = MascheraCorrente.MassimiCampi[u].value();
      EXPECT_LE(QString::number(static_cast<int>(massimo)).size(), kLarghezzaCampo[u]) << c;
      EXPECT_GE(MascheraCorrente.MinimiCampi[u].value(), 0) << c;
    }
    // Every label and title is in the text tables (a missing one would come back in Italian in test mode).
    ImpostaMaschera(0, 0, 1);
    EXPECT_EQ(MascheraCorrente.NumeroCampi, 19);
    EXPECT_EQ(MascheraCorrente.NumeroCampiScelta, 0);
  }
  Avvio.NumeroLingua = 1;
}

}  // namespace
