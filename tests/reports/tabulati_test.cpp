// The report writers: the results report and the survey-sheet report, their documents and text renderings.
#include "main/reports/tabulati.h"

#include "common/data/configurazione.h"
#include "common/platform/files.h"
#include "main/session/configurazione.h"
#include "main/session/scheda.h"
#include "main/session/sessione.h"
#include "tests/reports/fixture.h"

#include <QRegularExpression>
#include <QSaveFile>

namespace report_test {
namespace {

QString Sorgente(const QString& nome) { return QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/") + nome; }

// The golden file `oro` rewritten with the bytes of `scritto`, replacing the file that stands there (QFile::copy
// never replaces one). False when it could not be written.
bool RiscriviOro(const QString& scritto, const QString& oro) {
  QFile da(scritto);
  QSaveFile a(oro);
  if (!da.open(QIODevice::ReadOnly) || !a.open(QIODevice::WriteOnly)) return false;
  const QByteArray dati = da.readAll();
  return a.write(dati) == dati.size() && a.commit();
}

// Hand-written result tables of the example session after a clustering of three families, in the language of the
// run that wrote them.
struct TabelleRisultati {
  const char* fam;
  const char* gmc;
  const char* per;
};
const TabelleRisultati kItaliano = {
    "N. Fam.\tImmers. [°]\tInclinaz. [°]\tApertura [mm]\tFrequenza [1/m]\tPhi [°]\tCoesione [kN/m²]\n"
    "1\t122.0\t64.0\t1.5\t2.35\t35.00\t20.00\n"
    "2\t210.0\t82.0\t0.8\t1.10\t35.00\t20.00\n"
    "3\t35.0\t10.0\t2.0\t0.75\t35.00\t20.00\n",
    "imm.P1 [°]\tinc.P1 [°]\tsciv.P1\timm.P2 [°]\tinc.P2 [°]\tsciv.P2\tF.S. [-]\tVolume [m³]\n"
    "122.0\t64.0\tSI\t210.0\t82.0\tNO\t1.37\t12.45\n"
    "122.0\t64.0\tSI\t35.0\t10.0\tSI\t0.86\t3.20\n",
    "Componente\tModulo [m/s]\tInclinazione [°]\tDirezione [°]\n"
    "Massima\t8.16E-04\t12.0\t302.0\n"
    "Media\t2.10E-04\t8.0\t31.0\n"
    "Minima\t5.50E-05\t76.0\t159.0\n"};
const TabelleRisultati kInglese = {
    "Set No.\tDip dir. [°]\tDip [°]\tAperture [mm]\tFrequency [1/m]\tPhi [°]\tCohesion [kN/m²]\n"
    "1\t122.0\t64.0\t1.5\t2.35\t35.00\t20.00\n"
    "2\t210.0\t82.0\t0.8\t1.10\t35.00\t20.00\n"
    "3\t35.0\t10.0\t2.0\t0.75\t35.00\t20.00\n",
    "dipdir.P1 [°]\tdip.P1 [°]\tslid.P1\tdipdir.P2 [°]\tdip.P2 [°]\tslid.P2\tF.S. [-]\tVolume [m³]\n"
    "122.0\t64.0\tYES\t210.0\t82.0\tNO\t1.37\t12.45\n"
    "122.0\t64.0\tYES\t35.0\t10.0\tYES\t0.86\t3.20\n",
    "Component\tModulus [m/s]\tPlunge [°]\tAzimuth [°]\n"
    "Maximum\t8.16E-04\t12.0\t302.0\n"
    "Intermediate\t2.10E-04\t8.0\t31.0\n"
    "Minimum\t5.50E-05\t76.0\t159.0\n"};

// The heading row of a family table, without units.
const char* kTestataFamiglie = "N. Fam.\tImmers.\tInclinaz.\tApertura\tFrequenza\tPhi\tCoesione\n";

class Tabulati : public Report {
 protected:
  void SetUp() override {
    Report::SetUp();
    for (const char* f : {"esempio.ses", "esempio.tit", "esempio.fro"})
      QFile::copy(Sorgente(QString("examples/") + f), t.D(f));
    // A sheet of the tests' own, so the golden reports do not follow changes of the example.
    QFile::copy(Sorgente("tests/reports/data/fronte_est.sch"), t.D("fronte_est.sch"));
    Sessione.NomeSessione = "esempio.ses";
  }
  void TearDown() override {
    Sessione = ModuloSessione();
    Report::TearDown();
  }
  void RisultatiCluster(const TabelleRisultati& r) {
    WriteAnsi(t.D("esempio.FAM"), QString::fromUtf8(r.fam));
    WriteAnsi(t.D("esempio.GMC"), QString::fromUtf8(r.gmc));
    WriteAnsi(t.D("esempio.PER"), QString::fromUtf8(r.per));
    // The clustering result and the family parameters (family 2 edited after the run).
    WriteAnsi(t.D("esempio.dat"), "Cava di Monte Rasso\n\n\n\n\n\n\n\n\n 3 \n"
                                  ".45 -.56 1.5 1\n.14 -2.09 .8 1\n1.4 .96 2 1\n 3 \n .35 \n 1 \n 1 \n 1 \n 2 \n 1 \n 3 \n");
    WriteAnsi(t.D("esempio.pgm"), "35\n2\n30\n1.5\n35\n2\n");
  }
  // The document written for the session, as text lines.
  QStringList Documento() {
    QString documento;
    EXPECT_TRUE(ScriviTabulati(Sessione.NomeSessione, documento));
    EXPECT_EQ(documento, t.D("esempio.tab"));
    return ReadAnsi(t.D("esempio.tab")).split('\n');
  }
  // Compares a text rendering with a golden file of the tests (FRATTIX_WRITE_GOLDEN=1 rewrites the golden file with
  // it first).
  void Confronta(const QString& scritto, const QString& oro) {
    const QString percorso = Sorgente("tests/reports/data/" + oro);
    if (qgetenv("FRATTIX_WRITE_GOLDEN") == "1") {
      EXPECT_TRUE(RiscriviOro(scritto, percorso)) << oro.toStdString();
    }
    EXPECT_EQ(ReadBytes(scritto), ReadBytes(percorso)) << oro.toStdString();
  }
};

// The switch that rewrites the golden files replaces the one that stands, whole, also with a shorter text.
TEST(Oro, RewritingReplacesTheGoldenFileThatStands) {
  TestFolder t(false);
  WriteAnsi(t.D("oro.txt"), "la resa di ieri, piu' lunga\n");
  WriteAnsi(t.D("scritto.txt"), "oggi\n");
  ASSERT_TRUE(RiscriviOro(t.D("scritto.txt"), t.D("oro.txt")));
  EXPECT_EQ(ReadBytes(t.D("oro.txt")), QByteArray("oggi\r\n"));
}

TEST_F(Tabulati, GoldenResultsReportInItalianAndEnglish) {
  const struct {
    int lingua;
    const TabelleRisultati* tabelle;
    const char* oro;
  } casi[] = {{1, &kItaliano, "tabulati_ITA.txt"}, {5, &kInglese, "tabulati_ENG.txt"}};
  for (const auto& c : casi) {
    Lingua(c.lingua);
    AzzeraEsportaTXT();
    RisultatiCluster(*c.tabelle);
    QFile::remove(t.D("esempio.txt"));
    ProduciTabulati(kTestoTXT);
    Confronta(t.D("esempio.txt"), c.oro);
    EXPECT_EQ(FileAperto(), t.D("esempio.txt"));
  }
}

TEST_F(Tabulati, GoldenSheetReportInItalianAndEnglish) {
  for (const auto& [lingua, oro] : {std::pair{1, "scheda_ITA.txt"}, std::pair{5, "scheda_ENG.txt"}}) {
    Lingua(lingua);
    AzzeraEsportaTXT();
    QString errore;
    ASSERT_TRUE(LeggiFileConfigurazione(t.P("frattixint.cfg"), lingua, Configurazione, &errore));
    QFile::remove(t.D("fronte_est.txt"));
    {
      Scripted s(t, QString("file %1\n").arg(t.D("fronte_est.SCH")));
      TabulatoScheda(kTestoTXT);
    }
    EXPECT_EQ(Scheda.FileScheda, t.D("fronte_est.sch"));
    Confronta(t.D("fronte_est.txt"), oro);
    EXPECT_EQ(FileAperto(), t.D("fronte_est.txt"));
  }
  Configurazione = ModuloConfigurazione();
}

TEST_F(Tabulati, SectionsOfTheResultsReport) {
  WriteAnsi(t.D("esempio.tit"), "RILIEVO\n\n   \n\n\n\n\n\n#FONTSIZE 3\n");
  WriteAnsi(t.D("esempio.fro"), "60\n120\n10\n120\n2.5\n35\n2.6\n1\n25\n");  // an older file of nine values
  WriteAnsi(t.D("esempio.FAM"), QString(kTestataFamiglie) +
                                    "1\t45.0\t60.0\t0.5\t2.30\t30.00\t1.00\n2\t50.0\t70.0\t1.0\t1.10\t30.00\t1.00\n"
                                    "3\t10.0\t20.0\t0.2\t0.30\t30.00\t1.00\n4\t1.0\t2.0\t3.0\t4.00\t5.00\t6.00\n");
  WriteAnsi(t.D("esempio.pgm"), "35\n2\n0\n0\n");  // family 2 at 0 and 0, families 3 and 4 missing
  const QStringList d = Documento();
  const QStringList atteso = {
      "#RESET 2,2,2,2,2,2,12,Arial", "#HEADER Program FRATTIX", "#FOOTER", "#CENTER", "#FONTSIZE 15", "RILIEVO",
      "#FONTSIZE 13", "#FONTITALIC TRUE", "#FONTSIZE 13", "#FONTITALIC TRUE", "#FONTSIZE 13", "#FONTITALIC TRUE",
      "#FONTSIZE 13", "#FONTITALIC TRUE", "#FONTSIZE 13", "#FONTITALIC TRUE", "#FONTSIZE 13", "#FONTITALIC TRUE",
      "#FONTSIZE 13", "#FONTITALIC TRUE", "#FONTSIZE 13", "#FONTITALIC TRUE", QString::fromUtf8("\u00A0#FONTSIZE 3"),
      "#FONTITALIC FALSE", "", "#FONTSIZE 14", "GEOMETRIA DEL FRONTE", "E CONDIZIONI DI CARICO", "", "#FONTSIZE 12",
      "#STARTLIST"};
  ASSERT_GE(d.size(), atteso.size());
  EXPECT_EQ(d.mid(0, atteso.size()), atteso);
  const QStringList lista = d.mid(atteso.size(), 19);
  EXPECT_EQ(lista[0], QString::fromUtf8("Inclinazione fronte [°]\t60"));
  EXPECT_EQ(lista[4], QString::fromUtf8("Coesione [kN/m²]\t25"));
  EXPECT_EQ(lista[6], QString::fromUtf8("Gamma roccia [kN/m³]\t26"));
  EXPECT_EQ(lista[9], QString::fromUtf8("Carico esterno [kN]\t0"));
  EXPECT_EQ(lista[18], QString::fromUtf8("Coefficiente sismico [-]\t0"));
  const qsizetype fam = d.indexOf("PARAMETRI DELLE FAMIGLIE");
  ASSERT_GT(fam, 0);
  EXPECT_EQ(d.mid(fam + 4, 7), (QStringList{"#STARTTABLE", QString(kTestataFamiglie).chopped(1),
                                            "1\t45.0\t60.0\t0.5\t2.30\t35.00\t20.00", "2\t50.0\t70.0\t1.0\t1.10\t35.00\t25.00",
                                            "3\t10.0\t20.0\t0.2\t0.30\t35.00\t25.00", "4\t1.0\t2.0\t3.0\t4.00\t35.00\t25.00",
                                            "#ENDTABLE"}));
  EXPECT_EQ(d.filter("FATTORI DI SICUREZZA").size(), 0);
  EXPECT_EQ(d.mid(d.size() - 2), (QStringList{"#ENDDOCUMENT", ""}));

  // The title that begins with "#" reads as text in the rendering.
  EsportaDocumentoTXT(t.D("esempio.tab"));
  EXPECT_EQ(FileAperto(), t.D("esempio.txt"));
  EXPECT_TRUE(LeggiUtf8(t.D("esempio.txt")).contains("\nRILIEVO\n#FONTSIZE 3\n"));
}

TEST_F(Tabulati, FamilyStrengthWithoutParametersOrSlope) {
  WriteAnsi(t.D("esempio.FAM"), QString(kTestataFamiglie) + "1\t45.0\t60.0\t0.5\t2.30\t30.00\t1.00\n");
  QFile::remove(t.D("esempio.tit"));
  // No .pgm: the slope's friction angle and ten times its cohesion.
  QStringList d = Documento();
  EXPECT_TRUE(d.contains("1\t45.0\t60.0\t0.5\t2.30\t35.00\t20.00"));
  // A cohesion beyond ten million in the family parameters: refused with a message naming its line, no report.
  {
    Scripted s(t, "answer OK \"incompleto o danneggiato\"\n");
    WriteAnsi(t.D("esempio.pgm"), "30\n1e308\n");
    ProduciTabulati(kTestoTXT);
    ASSERT_EQ(s.Log("msgbox").size(), 1);
    EXPECT_TRUE(s.Log("msgbox").first().contains("esempio.pgm, riga 2")) << s.Log("msgbox").first().toStdString();
    QFile::remove(t.D("esempio.pgm"));
  }
  // A cohesion no slope has (1e308): the slope file is refused with a message, no report is made from it.
  {
    Scripted s(t, "answer OK \"incompleto o danneggiato\"\n");
    WriteAnsi(t.D("esempio.fro"), "60\n120\n10\n120\n1e308\n35\n2.6\n1\n25\n");
    ProduciTabulati(kTestoTXT);
    ASSERT_EQ(s.Log("msgbox").size(), 1);
    EXPECT_TRUE(s.Log("msgbox").first().contains("esempio.fro, riga 5")) << s.Log("msgbox").first().toStdString();
  }
  // Neither .pgm nor slope file: empty strength cells.
  QFile::remove(t.D("esempio.fro"));
  d = Documento();
  EXPECT_TRUE(d.contains("1\t45.0\t60.0\t0.5\t2.30\t\t"));
  // A session with no result files at all: the opening lines and the end only.
  QFile::remove(t.D("esempio.FAM"));
  EXPECT_EQ(Documento(), (QStringList{"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER Program FRATTIX", "#FOOTER",
                                      "#ENDDOCUMENT", ""}));
}

TEST_F(Tabulati, AnEmptyResultTableHasNoRows) {
  // A family table without families and a wedge table without wedges, as their programs write them: each section
  // keeps its heading, over the table's heading row alone.
  QFile::remove(t.D("esempio.tit"));
  QFile::remove(t.D("esempio.fro"));
  WriteAnsi(t.D("esempio.FAM"), kTestataFamiglie);
  WriteAnsi(t.D("esempio.GMC"), "imm.P1\tinc.P1\tsciv.P1\timm.P2\tinc.P2\tsciv.P2\tF.S.\tVolume\n");
  const QStringList d = Documento();
  EXPECT_EQ(d.filter("#STARTTABLE").size(), 2);
  for (qsizetype i = 0; i < d.size(); ++i)
    if (d[i] == "#STARTTABLE") {
      EXPECT_TRUE(d.value(i + 1).startsWith("N. Fam.\t") || d.value(i + 1).startsWith("imm.P1\t")) << i;
      EXPECT_EQ(d.value(i + 2), "#ENDTABLE") << i;
    }
}

TEST_F(Tabulati, FailuresLeaveNoReport) {
  Scripted s(t, "answer OK \"incompleto o danneggiato\"\nanswer OK \"non puo' essere scritto\"\n"
                "answer OK \"produrre output\"\n");
  // A slope file of five values.
  WriteAnsi(t.D("esempio.fro"), "60\n120\n10\n120\n2.5\n");
  ProduciTabulati(kTestoTXT);
  EXPECT_FALSE(QFile::exists(t.D("esempio.tab")));
  // A report that cannot be written: the old text rendering is not shown in its place.
  QFile::copy(Sorgente("examples/esempio.fro"), t.D("esempio2.fro"));
  QFile::remove(t.D("esempio.fro"));
  QDir(t.Data()).mkdir("esempio.tab");
  WriteAnsi(t.D("esempio.txt"), "vecchio\n");
  ProduciTabulati(kTestoTXT);
  EXPECT_EQ(ReadAnsi(t.D("esempio.txt")), QString("vecchio\n"));
  // No session.
  Sessione.NomeSessione.clear();
  ProduciTabulati(kAnteprima);
  EXPECT_EQ(s.Log("msgbox").size(), 3);
  EXPECT_EQ(FileAperto(), QString());
}

// A result table that is not as its program writes it is told with its file and the line of the damage, and no
// report is made, in a text file or on paper: no damaged row reaches a page (a wedge of factor of safety -7 and
// volume "abc" was printed as it stood). A sound table next to it changes nothing.
TEST_F(Tabulati, ADamagedResultTableIsToldWithItsLineAndNoReportIsMade) {
  const QString fam = QString::fromUtf8(kItaliano.fam), gmc = QString::fromUtf8(kItaliano.gmc),
                per = QString::fromUtf8(kItaliano.per);
  auto righe = [](const QString& testo, int da, int quante) { return testo.split('\n').mid(da, quante).join('\n'); };
  const struct {
    const char* file;
    QString testo;
    int riga;
  } casi[] = {
      {"esempio.GMC", righe(gmc, 0, 2) + "\nzzz\n", 3},
      {"esempio.GMC", righe(gmc, 0, 2) + "\n122.0\t64.0\tSI\t35.0\t10.0\tSI\t-7\tabc\n", 3},
      {"esempio.GMC", righe(gmc, 0, 2) + "\n122.0\t64.0\tSI\t35.0\t10.0\tSI\t0.86\n", 3},
      {"esempio.GMC", righe(gmc, 0, 2) + "\n122.0\t64.0\tSI\t35.0\t95.0\tSI\t0.86\t3.20\n", 3},
      {"esempio.GMC", righe(gmc, 0, 2) + "\n\n" + righe(gmc, 2, 2), 3},
      {"esempio.GMC", "zzz\n" + righe(gmc, 1, 3), 1},
      {"esempio.GMC", "", 1},
      {"esempio.PER", righe(per, 0, 3) + "\n", 4},
      {"esempio.PER", righe(per, 0, 1) + "\nMassima\t8,16E-04\t12.0\t302.0\n" + righe(per, 2, 3), 2},
      {"esempio.PER", righe(per, 0, 2) + "\nMedia\t9.10E-04\t8.0\t31.0\n" + righe(per, 3, 2), 3},
      {"esempio.PER", per + "Minima\t5.50E-05\t76.0\t159.0\n", 5},
      {"esempio.PER", righe(per, 0, 1) + "\nMassima\t0.000816\t12.0\t302.0\n" + righe(per, 2, 3), 2},
      {"esempio.PER", righe(per, 0, 1) + "\nMassima\t8.16E-04\t12\t302.0\n" + righe(per, 2, 3), 2},
      {"esempio.FAM", righe(fam, 0, 2) + "\n3\t35.0\t10.0\t2.0\t0.75\t35.00\t20.00\n", 3},
      {"esempio.FAM", righe(fam, 0, 1) + "\n1\t122.0\t95.0\t1.5\t2.35\t35.00\t20.00\n", 2},
      {"esempio.FAM", righe(fam, 0, 1) + "\n1\t122.0\t64.0\t1.5\t2.35\t35.00\n", 2},
      {"esempio.FAM", "N. Fam.\tImmers.\tInclinaz.\n" + righe(fam, 1, 3), 1},
      {"esempio.FAM", righe(fam, 0, 1) + "\n1\t122.0\t64.0\t1.5\t2.3\t35.00\t20.00\n", 2},
      {"esempio.FAM", righe(fam, 0, 1) + "\n01\t122.0\t64.0\t1.5\t2.35\t35.00\t20.00\n", 2},
  };
  int caso = 0;
  for (const auto& c : casi) {
    const int modo = caso++ % 2 ? kStampaRapida : kTestoTXT;
    SCOPED_TRACE(QString("%1, %2").arg(c.file, c.testo).toStdString());
    RisultatiCluster(kItaliano);
    WriteAnsi(t.D(c.file), c.testo);
    for (const char* f : {"esempio.tab", "esempio.txt"}) QFile::remove(t.D(f));
    Scripted s(t, "answer OK \"incompleto o danneggiato\"\n");
    ProduciTabulati(modo);
    const QStringList m = s.Log("msgbox");
    ASSERT_EQ(m.size(), 1) << s.Log().join('\n').toStdString();
    EXPECT_TRUE(m[0].contains(QString("Il file e' incompleto o danneggiato:\\n%1, riga %2\\n").arg(c.file).arg(c.riga)))
        << m[0].toStdString();
    EXPECT_TRUE(m[0].contains("Il tabulato dei risultati non e' stato prodotto.")) << m[0].toStdString();
    EXPECT_FALSE(QFile::exists(t.D("esempio.tab")));
    EXPECT_FALSE(QFile::exists(t.D("esempio.txt")));
    EXPECT_TRUE(QDir(t.Data()).entryList({"*.pdf"}, QDir::Files).isEmpty());
  }
}

TEST_F(Tabulati, ThreeHundredFamiliesAndTheirWedges) {
  QString fam = kTestataFamiglie, gmc = "imm.P1\tinc.P1\tsciv.P1\timm.P2\tinc.P2\tsciv.P2\tF.S.\tVolume\n";
  for (int k = 1; k <= 300; ++k) fam += QString("%1\t%2.0\t45.0\t1.0\t1.00\t0.00\t0.00\n").arg(k).arg(k % 360);
  for (int i = 1; i <= 300; ++i)
    for (int j = i + 1; j <= 300; ++j)
      gmc += QString("%1.0\t45.0\tSI\t%2.0\t45.0\tNO\t1.%3\t2.50\n").arg(i).arg(j).arg(j % 10 * 10, 2, 10, QChar('0'));
  WriteAnsi(t.D("esempio.FAM"), fam);
  WriteAnsi(t.D("esempio.GMC"), gmc);
  WriteAnsi(t.D("esempio.pgm"), "");  // empty: every family takes the slope's values
  ProduciTabulati(kTestoTXT);
  EXPECT_EQ(FileAperto(), t.D("esempio.txt"));
  const QStringList righe = LeggiUtf8(t.D("esempio.txt")).split('\n');
  EXPECT_EQ(righe.filter(QRegularExpression("^\\d+\\.0\\t45\\.0\\tSI\\t")).size(), 44850);
  EXPECT_EQ(righe.filter(QRegularExpression("\\t35\\.00\\t20\\.00$")).size(), 300);
  // Parts of at most 2000 rows, each under the head row.
  EXPECT_EQ(righe.count("imm.P1\tinc.P1\tsciv.P1\timm.P2\tinc.P2\tsciv.P2\tF.S.\tVolume"), 23);
  EXPECT_TRUE(righe.contains("299.0\t45.0\tSI\t300.0\t45.0\tNO\t1.00\t2.50"));
}

// ---------------------------------------------------------------------------------------------------------------

TEST_F(Tabulati, SheetReportDocument) {
  QString errore;
  ASSERT_TRUE(LeggiFileConfigurazione(t.P("frattixint.cfg"), 1, Configurazione, &errore));
  const QString prima = plat::CurrentFolder();
  QDir(t.Data()).mkdir("altrove");
  {
    Scripted s(t, QString("file %1\n").arg(t.D("fronte_est")));  // a name without extension gets ".sch"
    TabulatoScheda(kAnteprima);
    EXPECT_EQ(s.Log("filedialog").size(), 1);
    EXPECT_EQ(s.Log("window").size(), 1);  // the preview
  }
  EXPECT_EQ(plat::CurrentFolder(), prima);
  const QStringList d = ReadAnsi(t.D("fronte_est.tab")).split('\n');
  EXPECT_EQ(d.mid(0, 11), (QStringList{"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER Program FRATTIX 32", "#FOOTER",
                                       "#CENTER", "#FONTSIZE 15", "Cava di Monte Rasso - fronte est", "#FONTSIZE 13",
                                       "#FONTITALIC TRUE", "Gradone 2 quota 405 m", "Squadra rilievi A",
                                       "13/05/2025"}));
  EXPECT_EQ(d[11], QString::fromUtf8("Geometria stendimento: direzione=210°N  inclinazione=5°  lunghezza=42 m"));
  EXPECT_TRUE(d.contains("  1\t 1\t   0.4\tGI\t124\t 60\t1\t3\t4\t3\tOND\t 1\tMRU\tCAL\tR4"));
  EXPECT_TRUE(d.contains("N.\tNu\tDist\tTi\tImm\tInc\tLu\tSp\tRi\tAc\tFor\tAp\tSca\tLit\tDu"));
  // The legends: five cells a row, a blank for a code the configuration does not define.
  const qsizetype legenda = d.indexOf("LEGENDA");
  ASSERT_GT(legenda, 0);
  for (qsizetype i = legenda; i < d.size(); ++i) {
    if (!d[i].startsWith('#') && d[i].contains('\t')) {
      EXPECT_EQ(d[i].count('\t'), 4) << d[i].toStdString();
    }
  }
  EXPECT_TRUE(d.filter(QRegularExpression("\\t $")).size() > 0);
  EXPECT_EQ(d.filter("#ENDTABLELEFTALIGN").size(), 2);

  // A blank first line: no title line, the font size still written; a geometry line without "/".
  WriteAnsi(t.D("vuota.sch"), "  \nsotto\nsenza barra\n\n\n\n\n\n\n 0 \n");
  {
    Scripted s(t, QString("file %1\n").arg(t.D("vuota.SCH")));
    TabulatoScheda(kAnteprima);
  }
  const QStringList v = ReadAnsi(t.D("vuota.tab")).split('\n');
  EXPECT_EQ(v.mid(4, 5), (QStringList{"#FONTSIZE 15", "#FONTSIZE 13", "#FONTITALIC TRUE", "sotto",
                                      QString::fromUtf8("Geometria stendimento: direzione=°N  inclinazione=°  "
                                                        "lunghezza= m")}));
  const qsizetype testa = v.indexOf("N.\tNu\tDist\tTi\tImm\tInc\tLu\tSp\tRi\tAc\tFor\tAp\tSca\tLit\tDu");
  EXPECT_EQ(v[testa + 1], QString("#ENDTABLE"));  // no records: the head row only
  Configurazione = ModuloConfigurazione();
}

TEST_F(Tabulati, SheetThatCannotBeReadGivesNoReport) {
  QString sheet = "a\nb\n1/2\n\n3\n\n\n\n\n 501 \n";
  for (int i = 0; i < 501; ++i) sheet += " 1  0.4  GI 124 60  1 3 4 3 OND 1  MRU CAL R4\n";
  WriteAnsi(t.D("grande.sch"), sheet);
  WriteAnsi(t.D("corta.sch"), "a\nb\n");
  Scripted s(t, QString("file %1\nanswer OK \"massimo ammesso\"\nfile %2\nanswer OK \"incompleto\"\ncancel\n"
                        "file %3\n")
                    .arg(t.D("grande.sch"), t.D("corta.sch"), t.D("manca.sch")));
  TabulatoScheda(kTestoTXT);
  TabulatoScheda(kTestoTXT);
  TabulatoScheda(kTestoTXT);  // cancelled
  EXPECT_TRUE(Scheda.FileScheda.isEmpty());
  TabulatoScheda(kTestoTXT);  // a file that does not exist: nothing, no message
  EXPECT_EQ(s.Log("msgbox").size(), 2);
  EXPECT_TRUE(QDir(t.Data()).entryList({"*.tab", "*.txt"}).isEmpty());
}

}  // namespace
}  // namespace report_test
