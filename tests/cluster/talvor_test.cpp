// TALVOR: pole loading, the result file, and whole runs of the stability mode with PELDRIX.
#include "cluster/talvor.h"
#include "common/data/passaggio.h"
#include "common/data/risultato.h"
#include "common/data/scheda.h"
#include "common/platform/files.h"
#include "common/texts/avvio.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"
#include "wedge/peldrix.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>

using testing_support::ReadAnsi;
using testing_support::RunProgram;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

const double kPi = 4 * std::atan(1.0);

// A record of the installed configuration's columns: Nu, Ti, Imm, Inc, Ap.
QString Record(int nu, const QString& ti, int imm, int inc, int ap) {
  QString r(52, ' ');
  auto metti = [&](int campo, const QString& testo) { r.replace(kInizioCampo[campo] - 1, testo.size(), testo); };
  metti(Nu, nu > 0 ? QString::number(nu).rightJustified(2) : QString("  "));  // 0: a blank field
  metti(Dist, " 0.1");
  metti(Ti, ti);
  metti(Imm, QString::number(imm).rightJustified(3));
  metti(Inc, QString::number(inc).rightJustified(3));
  metti(Ap, QString::number(ap).rightJustified(2));
  return r;
}

void Scheda(const TestFolder& t, const QString& nome, const QStringList& record, const QString& linea = "120/15") {
  WriteAnsi(t.D(nome), "Cava\nGradone\n" + linea + "\nSquadra\n38.5\ndata\n\n\n\n " +
                           QString::number(record.size()) + " \n" + record.join("\n") + "\n");
}

class Poli : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;
    AzzeraTalvor();
    Talvor.PercorsoProgramma = t.Program();
    Talvor.NomeFileDati = "sito.ses";
  }
  void Schede(const QStringList& nomi) {
    Talvor.NumeroSchede = static_cast<int>(nomi.size());
    for (int s = 1; s <= nomi.size(); ++s) Talvor.ElencoSchede[s] = nomi[s - 1];
  }
  TestFolder t;
};

TEST_F(Poli, EqualOrientationsMergeWithWeightsAcrossSheetsAndNamesWithCommas) {
  // Nu 2 with aperture 1 and a blank Nu with aperture 4: one point of weight 3 and aperture 2. A trailing blank
  // line is no pole.
  Scheda(t, "uno,due.sch", {Record(2, "GI", 120, 40, 1), Record(1, "GI", 200, 80, 5)});
  Scheda(t, "tre.sch", {Record(0, "FA", 120, 40, 4), Record(1, "GI", 360, 0, 3), Record(1, "GI", 0, 0, 3), ""},
         "senza linea");
  WriteAnsi(t.D("sito.tit"), "Titolo uno\nTitolo due\n");
  Schede({"uno,due.sch", "tre.sch"});
  Scripted s(t, "");
  ASSERT_TRUE(CaricaPoli());
  ASSERT_EQ(Talvor.NumeroPoli, 4);
  EXPECT_EQ(Talvor.PesoPoli[1], 3);
  EXPECT_DOUBLE_EQ(Talvor.AperturaPoli[1], 2);
  EXPECT_DOUBLE_EQ(Talvor.InclinazionePoli[1], kPi / 2 - 40 * kPi / 180);
  EXPECT_DOUBLE_EQ(Talvor.DirezionePoli[1], kPi / 2 - 120 * kPi / 180 + 2 * kPi);
  // Dip directions 360 and 0: two points, the same stored direction.
  EXPECT_DOUBLE_EQ(Talvor.DirezionePoli[3], kPi / 2);
  EXPECT_DOUBLE_EQ(Talvor.DirezionePoli[4], kPi / 2);
  EXPECT_EQ(Talvor.NumeroSchedeCaricate, 2);
  EXPECT_DOUBLE_EQ(Talvor.DirezioneStendimento[1], kPi / 2 - 120 * kPi / 180);
  EXPECT_DOUBLE_EQ(Talvor.InclinazioneStendimento[1], -15 * kPi / 180);
  EXPECT_EQ(Talvor.LunghezzaStendimento[1], 38.5);
  EXPECT_EQ(Talvor.LunghezzaStendimento[2], 0);  // no "/" on header line 3
  // A title file of two lines: the others are empty.
  EXPECT_EQ(Talvor.TitoliGrafico[2], "Titolo due");
  EXPECT_EQ(Talvor.TitoliGrafico[3], "");
}

TEST_F(Poli, SelectionThroughTheCriteriaFile) {
  // Flags of the installed configuration in the file's order; Ti's first code (GI) rejected; Imm 100 to 200.
  ModuloConfigurazione c;
  ASSERT_TRUE(LeggiFileConfigurazione(t.P("frattixint.cfg"), 1, c, nullptr));
  ModuloSelezione criteri;
  CriteriPredefinitiAnalisi(criteri);
  criteri.CodiciScelti[Ti][1] = 2;
  criteri.ImmersioneMinima = 100;
  criteri.ImmersioneMassima = 200;
  ASSERT_TRUE(ScriviFileSelezione(t.D("SITO.SEL"), c, criteri));
  Scheda(t, "a.sch", {Record(1, "GI", 150, 40, 1), Record(1, "FA", 100, 40, 1), Record(1, "FA", 200, 50, 1),
                      Record(1, "FA", 201, 50, 1), Record(1, "FA", 99, 50, 1)});
  Schede({"a.sch"});
  Scripted s(t, "");
  ASSERT_TRUE(CaricaPoli());
  EXPECT_EQ(Talvor.NumeroPoli, 2);
  // Nothing selected: a message, and the program ends.
  criteri.ImmersioneMinima = 300;
  ASSERT_TRUE(ScriviFileSelezione(t.D("SITO.SEL"), c, criteri));
  Scripted m(t, "answer OK \"Nessuna discontinuita'\"\n", "nessuna");
  EXPECT_FALSE(CaricaPoli());
  EXPECT_EQ(m.Log("msgbox").size(), 1);
}

TEST_F(Poli, ANumberOfASheetThatIsNoneIsToldWithItsLineAndNothingIsLoaded) {
  // The length of the measuring line: no number, negative, not finite; a record with a damaged distance, dip
  // direction or dip (after a good record and a blank line, on line 13), a Ctrl-Z among its figures too.
  const QString buono = Record(1, "GI", 120, 40, 1);
  const auto scheda = [&](const QString& lunghezza, const QString& record) {
    return "Cava\nGradone\n120/15\nSquadra\n" + lunghezza + "\ndata\n\n\n\n 2 \n" + buono + "\n\n" + record + "\n";
  };
  const struct {
    QString scheda;
    const char* riga;
  } casi[] = {
      {scheda("abc", buono), "riga 5"},
      {scheda("-42", buono), "riga 5"},
      {scheda(" 1e999", buono), "riga 5"},
      {scheda("38.5", QString(buono).replace(4, 4, "x.1 ")), "riga 13"},
      {scheda("38.5", QString(buono).replace(12, 3, "12O")), "riga 13"},
      {scheda("38.5", QString(buono).replace(16, 3, "4,5")), "riga 13"},
      // A Ctrl-Z inside the file is a damaged character, not the end of the file.
      {scheda("38.5", QString(buono).replace(6, 1, QChar(0x1A))), "riga 13"},
  };
  Schede({"a.sch"});
  for (const auto& c : casi) {
    WriteAnsi(t.D("a.sch"), c.scheda);
    Scripted s(t, "answer OK\n");
    EXPECT_FALSE(CaricaPoli()) << c.scheda.toStdString();
    const QStringList m = s.Log("msgbox");
    ASSERT_EQ(m.size(), 1) << c.scheda.toStdString();
    EXPECT_TRUE(m[0].contains(QString("Il file e' incompleto o danneggiato:\\na.sch, %1\\n").arg(c.riga)))
        << m[0].toStdString();
  }
  // A blank length or 0 is a sheet without a measured length, as is a sheet without "/" on line 3.
  for (const char* lunghezza : {"", "0"}) {
    WriteAnsi(t.D("a.sch"), scheda(lunghezza, buono));
    Talvor.LunghezzaStendimento[1] = 7;
    Scripted s(t, "");
    EXPECT_TRUE(CaricaPoli()) << lunghezza;
    EXPECT_EQ(Talvor.LunghezzaStendimento[1], 0);
  }
}

TEST_F(Poli, TheRecordAndPointLimits) {
  // 1000 records on four sheets in 300 orientations load; one more record, or one more orientation, does not.
  auto orientazioni = [](int n, int dalla) {
    QStringList r;
    for (int k = 0; k < n; ++k) r << Record(1, "GI", (dalla + k) % 300, 10 + (dalla + k) / 300, 1);
    return r;
  };
  Scheda(t, "a.sch", orientazioni(250, 0));
  Scheda(t, "b.sch", orientazioni(250, 50));
  Scheda(t, "c.sch", orientazioni(250, 0));
  Scheda(t, "d.sch", orientazioni(250, 0));
  Schede({"a.sch", "b.sch", "c.sch", "d.sch"});
  {
    Scripted s(t, "");
    ASSERT_TRUE(CaricaPoli());
    EXPECT_EQ(Talvor.NumeroPoli, 300);
  }
  Scheda(t, "e.sch", orientazioni(1, 0));
  Schede({"a.sch", "b.sch", "c.sch", "d.sch", "e.sch"});
  {
    Scripted s(t, "answer OK \"pari a 1000 punti\"\n");
    EXPECT_FALSE(CaricaPoli());
  }
  Scheda(t, "d.sch", orientazioni(250, 300));
  Schede({"a.sch", "b.sch", "c.sch", "d.sch"});
  {
    Scripted s(t, "answer OK \"pari a 300 punti\"\n");
    EXPECT_FALSE(CaricaPoli());
  }
}

TEST_F(Poli, MoreSheetsThanTheAnalysisTakesAreToldAsSheets) {
  FilePassaggioDati d;
  for (int s = 1; s <= 301; ++s) d.Schede << QString("s%1.sch").arg(s);
  d.NomeSessione = "sito.ses";
  ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
  Scripted s(t, "answer OK\n");
  EXPECT_FALSE(LeggiPassaggioTalvor());
  ASSERT_EQ(s.Log("msgbox").size(), 1);
  EXPECT_TRUE(s.Log("msgbox").first().endsWith("\tIl numero di schede supera il massimo ammesso:\\n300"))
      << s.Log("msgbox").first().toStdString();
}

TEST_F(Poli, TheResultReadsBackInTalvorAndPeldrix) {
  Talvor.NumeroPoli = 3;
  for (int i = 1; i <= 3; ++i) {
    Talvor.InclinazionePoli[i] = i == 1 ? kPi / 2 : 0.1 * i;
    Talvor.DirezionePoli[i] = 0.5235988 * i;
  }
  Talvor.NumeroCluster = 2;
  Talvor.InclinazioneCentri[1] = 0.5235988;
  Talvor.DirezioneCentri[2] = 1.5;
  Talvor.DistanzaMassima = 0.3490659;
  Talvor.NumeroMembri[1] = 2;
  Talvor.MembriCluster[1][1] = 1;
  Talvor.MembriCluster[1][2] = 3;
  Talvor.NumeroMembri[2] = 1;
  Talvor.MembriCluster[2][1] = 2;
  Talvor.TitoliGrafico[1] = "nel risultato";
  Scripted s(t, "");
  ASSERT_TRUE(SalvaRisultati());
  const QStringList righe = ReadAnsi(t.D("sito.dat")).split('\n');
  EXPECT_EQ(righe[0], "nel risultato");
  EXPECT_EQ(righe[10], " 1.570796");
  EXPECT_EQ(righe[12], " .5235988");

  const ModuloTalvor scritto = Talvor;
  AzzeraTalvor();
  Talvor.NomeFileDati = "sito.ses";
  WriteAnsi(t.D("SITO.TIT"), "dal file dei titoli\n");
  ASSERT_TRUE(LeggiRisultati());
  EXPECT_EQ(Talvor.NumeroPoli, 3);
  EXPECT_EQ(Talvor.NumeroCluster, 2);
  EXPECT_NEAR(Talvor.DirezionePoli[3], scritto.DirezionePoli[3], 1e-6);
  EXPECT_NEAR(Talvor.InclinazioneCentri[1], 0.5235988, 1e-7);
  EXPECT_EQ(Talvor.NumeroMembri[1], 2);
  EXPECT_EQ(Talvor.MembriCluster[1][2], 3);
  EXPECT_EQ(Talvor.TitoliGrafico[1], "dal file dei titoli");

  AzzeraPeldrix();
  Peldrix.NomeFileDati = "sito.ses";
  QString errore;
  ASSERT_TRUE(LeggiRisultatoCluster(&errore)) << errore.toStdString();
  EXPECT_EQ(Peldrix.NumeroFamiglie, 2);
  EXPECT_NEAR(Peldrix.TabellaPunti[2][4], 1.5, 1e-7);
}

// Whole runs of TALVOR in stability mode.
class Stabilita : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"TALVOR", "peldrix"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    FilePassaggioDati d;
    d.Modo = ModoStabilita;
    d.TerzaVuota = true;
    d.Schede = {"a.sch"};
    d.NomeSessione = "sito.ses";
    ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
    // Six families, some pairs of which make a wedge against the slope.
    const double famiglie[][2] = {{45, 105}, {70, 235}, {20, 160}, {75, 190}, {35, 110}, {55, 300}};
    RisultatoCluster r;
    r.NumeroPoli = r.NumeroCluster = 6;
    r.Punti.resize(7);
    r.Membri.resize(7);
    for (int k = 1; k <= 6; ++k) {
      const double inc = kPi / 2 - famiglie[k - 1][0] * kPi / 180;
      const double dir = std::fmod(kPi / 2 - famiglie[k - 1][1] * kPi / 180 + 4 * kPi, 2 * kPi);
      r.Punti[k] = {0, inc, dir, inc, dir};
      r.Membri[k] = {k};
    }
    ASSERT_TRUE(ScriviFileRisultato(t.D("sito.dat"), r));
    WriteAnsi(t.D("sito.FAM"), "tabella\n");
    WriteAnsi(t.D("sito.pgm"), "30\n0.5\n35\n0\n");  // the other families take the slope's values
  }
  void Fronte(double attrito, double coesione, double altezza, double peso = 2.6) {
    WriteAnsi(t.D("sito.fro"), QString("65\n185\n12\n195\n%1\n%2\n%3\n0\n%4\n").arg(coesione).arg(attrito).arg(peso).arg(altezza));
  }
  bool Esegui() {
    QFile::remove(t.D("sito.GMC"));
    const auto r = RunProgram(t.P("TALVOR"), {}, t.Data(), testing_support::ScriptedRunEnvironment(t, ""));
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    return plat::FileExists(t.D("sito.GMC"));
  }
  TestFolder t;
};

TEST_F(Stabilita, PeldrixRunsWhenTheSlopeAllowsIt) {
  Fronte(30, 0.5, 30);
  ASSERT_TRUE(Esegui());
  const QStringList righe = ReadAnsi(t.D("sito.GMC")).split('\n', Qt::SkipEmptyParts);
  ASSERT_GE(righe.size(), 2);
  EXPECT_TRUE(righe[0].startsWith("imm.P1")) << righe[0].toStdString();
  // A rock unit weight of 0, which the slope form does not take, is told with the slope file's line instead of a
  // table with no wedge.
  Fronte(0, 0.5, 30, 0);
  const auto r = RunProgram(t.P("TALVOR"), {}, t.Data(), testing_support::ScriptedRunEnvironment(t, "answer OK\n"));
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList m = testing_support::ReadLog(t.D("ui.log")).filter("\tmsgbox\t");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].startsWith("TALVOR\tmsgbox\tATTENZIONE!\tIl file e' incompleto o danneggiato:\\nsito.fro, riga 7\\n"))
      << m[0].toStdString();
  EXPECT_FALSE(plat::FileExists(t.D("sito.GMC")));
}

TEST_F(Stabilita, PeldrixDoesNotRunOtherwise) {
  Fronte(0, 0, 30);  // neither friction nor cohesion
  EXPECT_FALSE(Esegui());
  Fronte(30, 0.5, 30);
  QFile::remove(t.D("sito.FAM"));
  EXPECT_FALSE(Esegui());
  WriteAnsi(t.D("sito.FAM"), "tabella\n");
  QFile::remove(t.D("sito.fro"));
  EXPECT_FALSE(Esegui());
}

TEST_F(Stabilita, APeldrixThatEndsAbnormallyIsToldAndNoEarlierWedgeTableStays) {
  // PELDRIX killed as soon as it starts: the message, and no table of the run before beside the new slope.
  ASSERT_TRUE(QFile::remove(t.P("peldrix")));  // a link to the built program: never written through
  testing_support::WriteScript(t.P("peldrix"), "#!/bin/sh\nkill -KILL $$\n");
  Fronte(30, 0.5, 30);
  WriteAnsi(t.D("sito.GMC"), "tabella di prima\n");
  auto r = RunProgram(t.P("TALVOR"), {}, t.Data(), testing_support::ScriptedRunEnvironment(t, "answer OK\n"));
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList log = testing_support::ReadLog(t.D("ui.log"));
  ASSERT_EQ(log.size(), 1) << log.join("\n").toStdString();
  EXPECT_TRUE(log[0].startsWith("TALVOR\tmsgbox\tATTENZIONE!\tIl programma e' terminato in modo anomalo:\\npeldrix"))
      << log[0].toStdString();
  EXPECT_FALSE(plat::FileExists(t.D("sito.GMC")));
  // A slope that no longer lets PELDRIX start (neither friction nor cohesion) leaves no table of the run before
  // either.
  Fronte(0, 0, 30);
  WriteAnsi(t.D("sito.GMC"), "tabella di prima\n");
  r = RunProgram(t.P("TALVOR"), {}, t.Data(), testing_support::ScriptedRunEnvironment(t, ""));
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_FALSE(plat::FileExists(t.D("sito.GMC")));
}

TEST_F(Stabilita, AClusterRunWithoutAConfirmedResultKeepsTheOldTables) {
  // The run loads the sheet's poles and the user closes the clustering window: nothing is removed or written.
  FilePassaggioDati d;
  d.Schede = {"a.sch"};
  d.NomeSessione = "sito.ses";
  ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
  WriteAnsi(t.D("a.sch"), "a\nb\n75/-8\nd\n30\nf\n\n\n\n 1 \n 1  0.1  GI 208 75\n");
  WriteAnsi(t.D("sito.PER"), "x\n");
  WriteAnsi(t.D("sito.GMC"), "x\n");
  const QByteArray dat = testing_support::ReadBytes(t.D("sito.dat"));
  const auto r =
      RunProgram(t.P("TALVOR"), {}, t.Data(), testing_support::ScriptedRunEnvironment(t, "close workform\n"));
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
  for (const char* f : {"sito.FAM", "sito.PER", "sito.GMC"}) EXPECT_TRUE(plat::FileExists(t.D(f))) << f;
  EXPECT_EQ(testing_support::ReadBytes(t.D("sito.dat")), dat);
  EXPECT_EQ(ReadAnsi(t.D("sito.pgm")), "30\n0.5\n35\n0\n");
}

TEST(Tabelle, OldTablesAreRemovedByTheRulesOfTheirWriters) {
  TestFolder t;
  AzzeraTalvor();
  Talvor.NomeFileDati = "a.b.ses";
  for (const char* f : {"a.b.FAM", "a.b.per", "a.GMC", "a.fam", "a.dat"}) WriteAnsi(t.D(f), "x\n");
  RimuoviTabelleVecchie();
  for (const char* f : {"a.b.FAM", "a.b.per", "a.GMC"}) EXPECT_FALSE(plat::FileExists(t.D(f))) << f;
  for (const char* f : {"a.fam", "a.dat"}) EXPECT_TRUE(plat::FileExists(t.D(f))) << f;
  RimuoviTabelleVecchie();  // nothing left to remove
}

}  // namespace
