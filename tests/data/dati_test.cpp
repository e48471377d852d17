// The data library: file names, the hand-over file, titles, slope file, family parameters, graphics options,
// clustering result, sheets and the selection test.
#include "common/data/configurazione.h"
#include "common/data/elencoschede.h"
#include "common/data/famiglie.h"
#include "common/data/fronte.h"
#include "common/data/nomi.h"
#include "common/data/opzionigrafiche.h"
#include "common/data/passaggio.h"
#include "common/data/risultato.h"
#include "common/data/scheda.h"
#include "common/data/selezione.h"
#include "common/data/titoli.h"
#include "common/platform/files.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::ReadAnsi;
using testing_support::ReadBytes;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

TEST(Nomi, StemAndTableRules) {
  EXPECT_EQ(StemSessione("Rock.Face.SES"), "Rock");
  EXPECT_EQ(FileStem("rock.face.ses", ".dat"), "rock.dat");
  EXPECT_EQ(FileTabella("rock.face.ses", "FAM"), "rock.face.FAM");
  EXPECT_EQ(FileTabella("ab", "FAM"), "FAM");
  EXPECT_TRUE(HaStem("a.ses"));
  EXPECT_FALSE(HaStem("site"));
  EXPECT_FALSE(HaStem(".ses"));
}

TEST(Passaggio, WrittenInPrintFormAndReadBackWithWholeNames) {
  TestFolder t;
  FilePassaggioDati d;
  d.Modo = ModoStabilita;
  d.TerzaVuota = true;
  d.Schede = {"uno,due.sch", "tre.sch"};
  d.NomeSessione = "sito, nord.ses";
  ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
  EXPECT_EQ(ReadBytes(t.P("temporan")),
            QByteArray(" 0 \r\n-2 \r\n\r\n 2 \r\nuno,due.sch\r\ntre.sch\r\nsito, nord.ses\r\n"));
  FilePassaggioDati letto;
  ASSERT_EQ(LeggiFilePassaggio(PercorsoFilePassaggio(), letto, 300), EsitoPassaggio::Letto);
  EXPECT_EQ(letto.Modo, -2);
  EXPECT_TRUE(letto.TerzaVuota);
  EXPECT_EQ(letto.Schede, d.Schede);
  EXPECT_EQ(letto.NomeSessione, d.NomeSessione);

  d.Modo = ModoCluster;
  d.TerzaVuota = false;
  d.Schede.clear();
  ASSERT_TRUE(ScriviFilePassaggio(t.P("temporan"), d));
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 0 \r\n 0 \r\n 0 \r\n 0 \r\nsito, nord.ses\r\n"));

  // Blanks around the numbers are ignored; a short or garbled file and too many sheets are reported.
  WriteAnsi(t.P("temporan"), "0\n  1 \n0\n1\n a.sch \nb.ses\n");
  ASSERT_EQ(LeggiFilePassaggio(t.P("temporan"), letto, 300), EsitoPassaggio::Letto);
  EXPECT_EQ(letto.Modo, 1);
  EXPECT_EQ(letto.Schede, QStringList{"a.sch"});
  int riga = 0;
  WriteAnsi(t.P("temporan"), "0\nx\n0\n0\nb.ses\n");
  EXPECT_EQ(LeggiFilePassaggio(t.P("temporan"), letto, 300, &riga), EsitoPassaggio::NonValido);
  EXPECT_EQ(riga, 2);
  // A number in quotes or followed by a Ctrl-Z is none, as no writer of the file writes it.
  for (const char* modo : {"\"1\"", "1\x1a", "1\t"}) {
    WriteAnsi(t.P("temporan"), QString("0\n%1\n0\n0\nb.ses\n").arg(modo));
    EXPECT_EQ(LeggiFilePassaggio(t.P("temporan"), letto, 300, &riga), EsitoPassaggio::NonValido) << modo;
    EXPECT_EQ(riga, 2) << modo;
  }
  WriteAnsi(t.P("temporan"), "0\n0\n0\n2\na.sch\nb.ses\n");
  EXPECT_EQ(LeggiFilePassaggio(t.P("temporan"), letto, 300, &riga), EsitoPassaggio::NonValido);
  EXPECT_EQ(riga, 7);
  WriteAnsi(t.P("temporan"), "0\n0\n0\n2\na.sch\nb.sch\nc.ses\n");
  EXPECT_EQ(LeggiFilePassaggio(t.P("temporan"), letto, 1), EsitoPassaggio::TroppeSchede);
  EXPECT_EQ(LeggiFilePassaggio(t.P("manca"), letto, 1), EsitoPassaggio::Mancante);
}

TEST(Titoli, NineWholeLinesAndShortFiles) {
  TestFolder t;
  TitoliSessione titoli;
  titoli[1] = "Cava, fronte nord";
  titoli[3] = "°²³";
  ASSERT_TRUE(ScriviFileTitoli(t.D("x.TIT"), titoli));
  EXPECT_EQ(ReadBytes(t.D("x.TIT")), QByteArray("Cava, fronte nord\r\n\r\n\xb0\xb2\xb3\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
  TitoliSessione letti;
  EXPECT_EQ(LeggiFileTitoli(t.D("X.tit"), letti), 9);
  EXPECT_EQ(letti, titoli);
  // A short file: the main program keeps what it held beyond the end, the analysis programs take empty titles.
  WriteAnsi(t.D("corto.tit"), "A\nB\n");
  letti.fill("vecchio");
  EXPECT_EQ(LeggiFileTitoli(t.D("corto.tit"), letti), 2);
  EXPECT_EQ(letti[2], "B");
  EXPECT_EQ(letti[3], "vecchio");
  LeggiTitoliAnalisi(t.D("corto.tit"), letti);
  EXPECT_EQ(letti[1], "A");
  EXPECT_EQ(letti[3], "");
  LeggiTitoliAnalisi(t.D("manca.tit"), letti);
  EXPECT_EQ(letti[1], "");
}

TEST(Fronte, NineteenValuesAndOlderShortFiles) {
  TestFolder t;
  ValoriFronte v{};
  for (int k = 1; k <= kValoriFronte; ++k) v[static_cast<std::size_t>(k)] = k * 0.5;
  v[19] = 0.05;
  ASSERT_TRUE(ScriviFileFronte(t.D("s.fro"), v));
  EXPECT_TRUE(ReadBytes(t.D("s.fro")).startsWith("0.5\r\n1\r\n1.5\r\n"));
  ValoriFronte letti{};
  ASSERT_EQ(LeggiFileFronte(t.D("S.FRO"), letti), EsitoFronte::Letto);
  EXPECT_EQ(letti, v);
  WriteAnsi(t.D("nove.fro"), "1\n2\n3\n4\n5\n6\n7\n8\n9\n\n");
  ASSERT_EQ(LeggiFileFronte(t.D("nove.fro"), letti), EsitoFronte::Letto);
  EXPECT_EQ(letti[9], 9);
  EXPECT_EQ(letti[10], 0);
  int riga = 0;
  WriteAnsi(t.D("otto.fro"), "1\n2\n3\n4\n5\n6\n7\n8\n");
  EXPECT_EQ(LeggiFileFronte(t.D("otto.fro"), letti, &riga), EsitoFronte::NonValido);
  EXPECT_EQ(LeggiFileFronte(t.D("manca.fro"), letti), EsitoFronte::Mancante);
  v[4] = NAN;
  EXPECT_FALSE(ScriviFileFronte(t.D("s.fro"), v));
  ASSERT_EQ(LeggiFileFronte(t.D("s.fro"), letti), EsitoFronte::Letto);  // the old file stays
}

TEST(ParametriFamiglie, BothWritersFormsAreReadAndGapsKeepTheDefaults) {
  TestFolder t;
  ParametriFamiglie p = ParametriPredefiniti(3, 30, 0.5);
  p.Attrito[2] = 0;
  p.Coesione[2] = 0;
  CompletaParametriFamiglie(p, 30, 0.5);
  EXPECT_EQ(p.Attrito[2], 30);
  p.Attrito[3] = 27.5;
  ASSERT_TRUE(ScriviFileParametriFamiglie(t.D("s.pgm"), p));
  EXPECT_EQ(ReadAnsi(t.D("s.pgm")), "30\n0.5\n30\n0.5\n27.5\n0.5\n");
  // Print form with blanks; a file written for fewer families, blank lines after it: the rest keep the defaults.
  WriteAnsi(t.D("s.pgm"), " 25 \n .2 \n 20 \n 3 \n\n\n");
  ParametriFamiglie letti = ParametriPredefiniti(3, 30, 0.5);
  ASSERT_EQ(LeggiFileParametriFamiglie(t.D("S.PGM"), letti), EsitoParametri::Letti);
  EXPECT_EQ(letti.Attrito[1], 25);
  EXPECT_EQ(letti.Coesione[1], 0.2);
  EXPECT_EQ(letti.Attrito[2], 20);
  EXPECT_EQ(letti.Coesione[2], 3);
  EXPECT_EQ(letti.Attrito[3], 30);
  EXPECT_EQ(letti.Coesione[3], 0.5);
  EXPECT_EQ(LeggiFileParametriFamiglie(t.D("manca.pgm"), letti), EsitoParametri::Mancante);
  // A line where a value stands that holds no number, two items (a decimal comma), a blank line before the last
  // value, or a file that ends after a friction angle without its cohesion: no writer writes it, so it is damage
  // told with its line (it was once taken as the default).
  const struct {
    const char* testo;
    int riga;
  } guasti[] = {{" 25 \n .2 \nmolto\n 3 \n", 3}, {"65,5\n .2 \n 20 \n 3 \n", 1}, {"30\n\n30\n1\n", 2},
                {" 25 \n .2 \n 20 \n\n", 4}};
  for (const auto& g : guasti) {
    WriteAnsi(t.D("s.pgm"), g.testo);
    letti = ParametriPredefiniti(3, 30, 0.5);
    int riga = 0;
    EXPECT_EQ(LeggiFileParametriFamiglie(t.D("s.pgm"), letti, &riga), EsitoParametri::NonValidi) << g.testo;
    EXPECT_EQ(riga, g.riga) << g.testo;
  }
  // Values beyond the slope file's limits for a friction angle and a cohesion: told with their line, nothing taken.
  const struct {
    const char* testo;
    int riga;
  } oltre[] = {{"95\n1\n", 1},
               {"-1\n1\n", 1},
               {"30\n1\n30\n-0.5\n", 4},
               {"30\n1e308\n", 2},
               {"30\n1\n 20 \n 1e8 \n", 4}};
  for (const auto& o : oltre) {
    WriteAnsi(t.D("s.pgm"), o.testo);
    letti = ParametriPredefiniti(3, 30, 0.5);
    int riga = 0;
    EXPECT_EQ(LeggiFileParametriFamiglie(t.D("s.pgm"), letti, &riga), EsitoParametri::NonValidi) << o.testo;
    EXPECT_EQ(riga, o.riga) << o.testo;
    EXPECT_EQ(letti.Attrito[1], 30);
    EXPECT_EQ(letti.Coesione[1], 0.5);
  }
  // The limits themselves belong to the values.
  WriteAnsi(t.D("s.pgm"), "89\n0\n0\n10000\n");
  EXPECT_EQ(LeggiFileParametriFamiglie(t.D("s.pgm"), letti), EsitoParametri::Letti);
  EXPECT_EQ(letti.Coesione[2], 10000);
}

TEST(OpzioniGrafiche, DefaultsFiveValuesAndAnExistingFileLeftAlone) {
  TestFolder t;
  OpzioniGrafiche o;
  o.Opzione.fill(9);
  EXPECT_EQ(LeggiFileOpzioniGrafiche(t.D("s.GRA"), o), EsitoOpzioni::Mancante);
  EXPECT_EQ(o.Opzione, (std::array<double, 7>{0, 1, 1, 1, 1, 1, 2}));
  ASSERT_TRUE(CreaOpzioniGrafichePredefinite(t.D("s.GRA")));
  EXPECT_EQ(ReadBytes(t.D("s.GRA")), QByteArray(" 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 2 \r\n"));
  WriteAnsi(t.D("s.GRA"), "2\n1\n2\n0\n0\n");
  ASSERT_TRUE(CreaOpzioniGrafichePredefinite(t.D("S.gra")));
  EXPECT_EQ(ReadAnsi(t.D("s.GRA")), "2\n1\n2\n0\n0\n");
  ASSERT_EQ(LeggiFileOpzioniGrafiche(t.D("s.GRA"), o), EsitoOpzioni::Letto);
  EXPECT_EQ(o.Opzione, (std::array<double, 7>{0, 2, 1, 2, 0, 0, 2}));
  WriteAnsi(t.D("s.GRA"), "2\n1\n2\n0\n0\n1\n");
  ASSERT_EQ(LeggiFileOpzioniGrafiche(t.D("s.GRA"), o), EsitoOpzioni::Letto);
  EXPECT_EQ(o.Opzione[6], 1);
  WriteAnsi(t.D("s.GRA"), "2\n1\n");
  EXPECT_EQ(LeggiFileOpzioniGrafiche(t.D("s.GRA"), o), EsitoOpzioni::NonValido);
  EXPECT_EQ(o.Opzione[1], 1);
}

RisultatoCluster DueFamiglie() {
  const double pi = 4 * std::atan(1.0);
  RisultatoCluster r;
  r.Titoli[1] = "Cava";
  r.NumeroPoli = 3;
  r.Punti = {{}, {0, pi / 2, 0.5235988, pi / 2, 0.5235988}, {0, 1, 2, 1.5, 4}, {0, 0.5, -0.5, 1.5e-7, 0}};
  r.NumeroCluster = 2;
  r.DistanzaMassima = 0.3490659;
  r.Membri = {{}, {1, 3}, {2}};
  return r;
}

TEST(Risultato, ShortNumberFormRoundTripAndLimits) {
  TestFolder t;
  const RisultatoCluster r = DueFamiglie();
  ASSERT_TRUE(ScriviFileRisultato(t.D("s.dat"), r));
  const QStringList righe = ReadAnsi(t.D("s.dat")).split('\n');
  EXPECT_EQ(righe[0], "Cava");
  EXPECT_EQ(righe[9], " 3 ");
  EXPECT_EQ(righe[10], " 1.570796");
  EXPECT_EQ(righe[11], " .5235988");
  EXPECT_EQ(righe[19], "-.5");
  EXPECT_EQ(righe[20], " 1.5E-07");
  EXPECT_EQ(righe.mid(22), (QStringList{" 2 ", " .3490659", " 2 ", " 1 ", " 3 ", " 1 ", " 2 ", ""}));

  RisultatoCluster letto;
  ASSERT_EQ(LeggiFileRisultato(t.D("S.DAT"), letto, 300, 300), EsitoRisultato::Letto);
  EXPECT_EQ(letto.Titoli, r.Titoli);
  EXPECT_EQ(letto.NumeroPoli, 3);
  EXPECT_EQ(letto.NumeroCluster, 2);
  EXPECT_EQ(letto.Membri, r.Membri);
  for (int i = 1; i <= 3; ++i)
    for (std::size_t k = 1; k <= 4; ++k) EXPECT_NEAR(letto.Punti[i][k], r.Punti[i][k], 1e-6 * (1 + std::fabs(r.Punti[i][k])));
  EXPECT_EQ(LeggiFileRisultato(t.D("s.dat"), letto, 2, 300), EsitoRisultato::TroppiPunti);
  EXPECT_EQ(LeggiFileRisultato(t.D("s.dat"), letto, 300, 1), EsitoRisultato::TroppiCluster);
  // A point listed twice, in two clusters or in one, is written by no clustering: damage told with its line.
  for (const auto& [indice, riga] : {std::pair{28, 29}, std::pair{26, 27}}) {
    QStringList doppio = righe;
    doppio[indice] = indice == 28 ? " 3 " : " 1 ";
    WriteAnsi(t.D("d.dat"), doppio.join('\n'));
    int linea = 0;
    EXPECT_EQ(LeggiFileRisultato(t.D("d.dat"), letto, 300, 300, &linea), EsitoRisultato::NonValido) << indice;
    EXPECT_EQ(linea, riga) << indice;
  }

  // Inconsistent results are not written; the old file stays.
  for (auto guasta : {+[](RisultatoCluster& x) { x.Punti[2][3] = NAN; },
                      +[](RisultatoCluster& x) { x.Membri[2] = {4}; },
                      +[](RisultatoCluster& x) { x.NumeroCluster = 4; }}) {
    RisultatoCluster x = DueFamiglie();
    guasta(x);
    EXPECT_FALSE(ScriviFileRisultato(t.D("s.dat"), x));
  }
  EXPECT_EQ(LeggiFileRisultato(t.D("s.dat"), letto, 300, 300), EsitoRisultato::Letto);
}

// A configuration with Ti holding 22 codes (T01..T22 would not fit two columns: codes are two letters).
QString Configurazione(int codiciTi) {
  QString out;
  for (int i = 1; i <= 14; ++i) {
    const bool codici = i == 3 || i == 6 || i == 10;
    const int n = i == 3 ? codiciTi : (i == 6 ? 2 : (i == 10 ? 2 : 0));
    out += QString("%1\nT\nCampo%2\n").arg(n).arg(i);
    out += codici ? "0\n0\n" : "0\n999\n";
    if (!codici) continue;
    for (int j = 1; j <= n; ++j) out += QString("Significato %1\n").arg(j);
    for (int j = 1; j <= n; ++j) {
      if (i == 3) out += QString("%1%2\n").arg(QChar('A' + (j - 1) / 10)).arg((j - 1) % 10);
      else if (i == 6) out += QString("%1\n").arg(j);
      else out += QString("F%1%1\n").arg(j);
    }
  }
  return out;
}

// A record with the given fields at their columns.
QString Record(const QString& ti, int imm, int inc, const QString& lu, const QString& forma, int ap, int nu = 1) {
  QString r(kLunghezzaRecord, ' ');
  auto metti = [&](int campo, const QString& testo) {
    r.replace(kInizioCampo[campo] - 1, testo.size(), testo);
  };
  metti(Nu, QString::number(nu).rightJustified(2));
  metti(Ti, ti);
  metti(Imm, QString::number(imm).rightJustified(3));
  metti(Inc, QString::number(inc).rightJustified(3));
  metti(Lu, lu);
  metti(For, forma);
  metti(Ap, QString::number(ap).rightJustified(2));
  return r;
}

TEST(Selezione, CodesAtFullWidthInclusiveRangesAndBlankRecords) {
  TestFolder t;
  WriteAnsi(t.D("c.cfg"), Configurazione(22));
  ModuloConfigurazione c;
  ASSERT_TRUE(LeggiFileConfigurazione(t.D("c.cfg"), 1, c, nullptr));
  ASSERT_EQ(c.NumeroCodici(Ti), 22);
  ModuloSelezione s;
  CriteriPredefinitiAnalisi(s);
  s.CodiciScelti[Ti][22] = 2;  // code C1: every code of the configuration has its flag
  s.CodiciScelti[For][2] = 2;  // F22
  s.ImmersioneMinima = 100;
  s.ImmersioneMassima = 200;
  s.InclinazioneMassima = 80;
  s.AperturaMinima = 2;
  ASSERT_TRUE(ScriviFileSelezione(t.D("s.sel"), c, s));
  ModuloSelezione letta;
  CriteriPredefinitiAnalisi(letta);
  ASSERT_EQ(LeggiFileSelezione(t.D("s.sel"), c, letta), EsitoSelezione::Letta);
  EXPECT_EQ(letta.CodiciScelti, s.CodiciScelti);

  EXPECT_TRUE(RecordSelezionato(Record("A0", 100, 80, "1", "F11", 2), c, letta));  // both bounds belong
  EXPECT_TRUE(RecordSelezionato(Record("A0", 200, 0, "2", "F11", 10), c, letta));
  EXPECT_FALSE(RecordSelezionato(Record("C1", 150, 40, "1", "F11", 5), c, letta));
  EXPECT_FALSE(RecordSelezionato(Record("A0", 150, 40, "1", "F22", 5), c, letta));
  EXPECT_FALSE(RecordSelezionato(Record("A0", 99, 40, "1", "F11", 5), c, letta));
  EXPECT_FALSE(RecordSelezionato(Record("A0", 150, 81, "1", "F11", 5), c, letta));
  EXPECT_FALSE(RecordSelezionato(Record("A0", 150, 40, "1", "F11", 1), c, letta));
  // A code compared at the full field width: "F2 " is no code, so the flag of F22 does not reject it.
  EXPECT_TRUE(RecordSelezionato(Record("A0", 150, 40, "1", "F2 ", 5), c, letta));
  // Blank first 20 characters, and a short line padded before the test.
  QString vuoto = Record("A0", 150, 40, "1", "F11", 5);
  vuoto.replace(0, 20, QString(20, ' '));
  EXPECT_FALSE(RecordSelezionato(vuoto, c, letta));
  EXPECT_FALSE(RecordSelezionato("", c, letta));
  EXPECT_TRUE(RecordSelezionato(Record("A0", 150, 40, "1", "F11", 5).left(36), c, letta));
}

// Damaged one-value-per-line files are refused at the line of the fault, never read shifted or as other values.
TEST(BadInput, OneValuePerLineFilesRefuseSecondItemsLoneCRsAndValuesNoSlopeHas) {
  TestFolder t;
  const QByteArray buono = "70\r\n120\r\n10\r\n120\r\n50\r\n30\r\n2.6\r\n1\r\n20\r\n";
  ValoriFronte v{};
  ASSERT_TRUE(plat::WriteWholeFile(t.D("ok.fro"), buono));
  ASSERT_EQ(LeggiFileFronte(t.D("ok.fro"), v), EsitoFronte::Letto);
  const struct {
    const char* da;
    const char* a;
    int riga;
  } guasti[] = {{"2.6\r\n", "2.\r6\r\n", 7},         {"2.6\r\n", "1e308\r\n", 7},  {"50\r\n", "-1000000\r\n", 5},
                {"30\r\n", "65,5\r\n", 6},           {"120\r\n10", "1 2\r\n10", 2}};
  for (const auto& g : guasti) {
    QByteArray b = buono;
    b.replace(b.indexOf(g.da), static_cast<int>(qstrlen(g.da)), g.a);
    ASSERT_TRUE(plat::WriteWholeFile(t.D("x.fro"), b));
    int riga = 0;
    v.fill(7);
    EXPECT_EQ(LeggiFileFronte(t.D("x.fro"), v, &riga), EsitoFronte::NonValido) << g.a;
    EXPECT_EQ(riga, g.riga) << g.a;
    EXPECT_EQ(v[1], 0);  // nothing of the bad file
  }

  // The sheet list " 1 2 ": refused at line 1, not one sheet named "2"; the file stays as it was.
  ASSERT_TRUE(plat::WriteWholeFile(t.D("s.ses"), " 1 2 \r\nuno.sch\r\n"));
  QStringList nomi;
  QString errore;
  EXPECT_EQ(LeggiElencoSchede(t.D("s.ses"), nomi, 100, &errore), EsitoElenco::NonValido);
  EXPECT_TRUE(nomi.isEmpty());
  EXPECT_TRUE(errore.contains("s.ses, riga 1")) << errore.toStdString();
  EXPECT_EQ(ReadBytes(t.D("s.ses")), QByteArray(" 1 2 \r\nuno.sch\r\n"));

  // Selection criteria: a flag of 1e308 or a second item on a line.
  WriteAnsi(t.D("c.cfg"), Configurazione(22));
  ModuloConfigurazione c;
  ASSERT_TRUE(LeggiFileConfigurazione(t.D("c.cfg"), 1, c, nullptr));
  ModuloSelezione s;
  CriteriPredefinitiAnalisi(s);
  ASSERT_TRUE(ScriviFileSelezione(t.D("s.sel"), c, s));
  const QByteArray sel = ReadBytes(t.D("s.sel"));
  for (const QByteArray& guasto : {QByteArray(" 1E+308 "), QByteArray("1,2"), QByteArray("1 2")}) {
    QByteArray b = sel;
    b.replace(b.indexOf(" 1 "), 3, guasto);
    ASSERT_TRUE(plat::WriteWholeFile(t.D("x.sel"), b));
    ModuloSelezione letta = s;
    letta.AperturaMassima = 4321;
    EXPECT_EQ(LeggiFileSelezione(t.D("x.sel"), c, letta, &errore), EsitoSelezione::NonValida) << guasto.data();
    EXPECT_TRUE(errore.contains("x.sel, riga 1")) << errore.toStdString();
    EXPECT_EQ(letta.AperturaMassima, 4321);
  }
  // A value after the last bound (a configuration with fewer codes than the file was written for); blank lines
  // after it are no value.
  const int righe = static_cast<int>(sel.count("\r\n"));
  ASSERT_TRUE(plat::WriteWholeFile(t.D("x.sel"), sel + "\r\n \r\n"));
  EXPECT_EQ(LeggiFileSelezione(t.D("x.sel"), c, s, &errore), EsitoSelezione::Letta);
  ASSERT_TRUE(plat::WriteWholeFile(t.D("x.sel"), sel + " 1 \r\n"));
  EXPECT_EQ(LeggiFileSelezione(t.D("x.sel"), c, s, &errore), EsitoSelezione::NonValida);
  EXPECT_TRUE(errore.contains(QString("x.sel, riga %1").arg(righe + 1))) << errore.toStdString();
}

TEST(Scheda, ShortLinesArePaddedBlankOnesDroppedAndTheLimitIsTheCallers) {
  TestFolder t;
  WriteAnsi(t.D("a.sch"), "h1\nh2\nh3\nh4\nh5\nh6\nh7\nh8\nh9\n 3 \n 1  0.1  GI 208 75\n\n   \n 2  0.1  GI 208 75\n");
  ModuloScheda s;
  ASSERT_EQ(LeggiFileScheda(t.D("A.SCH"), s), EsitoScheda::Letta);
  EXPECT_EQ(s.NumeroRigheScheda, 2);
  EXPECT_EQ(s.RigheScheda[1].size(), kLunghezzaRecord);
  EXPECT_EQ(CampoDelRecord(s.RigheScheda[2], Nu), "2 ");
  EXPECT_EQ(ValoreCampo(s.RigheScheda[2], Inc), 75);
  EXPECT_EQ(LeggiFileScheda(t.D("a.sch"), s, 1), EsitoScheda::TroppeRighe);
  EXPECT_EQ(s.NumeroRigheScheda, 0);
  s.FileScheda = t.D("b.sch");
  ASSERT_EQ(LeggiFileScheda(t.D("a.sch"), s), EsitoScheda::Letta);
  ASSERT_TRUE(ScriviFileScheda(t.D("b.sch"), s));
  EXPECT_EQ(ReadAnsi(t.D("b.sch")).section("\n", 8, 10), "h9\n 2 \n" + RecordFisso(" 1  0.1  GI 208 75"));
}

}  // namespace
