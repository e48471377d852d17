// wenlow's interpreter and main program: report documents turned into Word documents, in process and as whole
// runs of the executable.
#include "docexport/interprete.h"
#include "docexport/scritturadoc.h"
#include "tests/docexport/lettura.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using docexport_test::LeggiDocx;
using docexport_test::Paragrafi;
using docexport_test::Tabelle;
using docexport_test::Testi;
using testing_support::ReadBytes;
using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

class Interprete : public ::testing::Test {
 protected:
  void SetUp() override { AzzeraWenlow(); }
  void TearDown() override { AzzeraWenlow(); }

  // Writes the document and runs the main procedure on it; the Word document read back.
  static QJsonArray Esporta(const TestFolder& t, const QString& testo, const QString& nome = "report.tab") {
    WriteAnsi(t.D(nome), testo);
    EXPECT_EQ(Main(t.D(nome)), 0);
    QString errore;
    const QJsonArray corpo = LeggiDocx(t.D(NomeDocumentoDOC(nome)), &errore);
    EXPECT_FALSE(corpo.isEmpty()) << errore.toStdString();
    return corpo;
  }
  static void ConFormattazione(const TestFolder& t) { WriteAnsi(t.P("editor.txt"), "a\nb\nFalse\n"); }
  static QJsonObject Run0(const QJsonValue& paragrafo) { return paragrafo.toObject()["runs"].toArray().at(0).toObject(); }
  static QJsonObject Cella(const QJsonValue& tabella, int r, int c) {
    return tabella.toObject()["table"].toArray().at(r).toArray().at(c).toObject();
  }
};

}  // namespace

TEST_F(Interprete, ResetFontsAndAlignmentOfParagraphs) {
  TestFolder t;
  ConFormattazione(t);
  const QJsonArray corpo = Esporta(t,
                                   "Titolo prima del documento\n"
                                   "#reset 2,2,2,2,2,2,12,Arial\n"
                                   "Dodici punti Arial\n"
                                   "#CENTER\nCentrato\n#RIGHT\nAncora centrato\n#LEFT\n"
                                   "#FONT   Courier New  \n#FONTSIZE 10.3\n#FONTITALIC true\nCorsivo\n"
                                   "#FONTITALIC no\n#HEADER testata\nDritto\n#NEWPAGE\n# commento\n"
                                   "#ENDDOCUMENT\nDopo la fine\n");
  const QJsonArray p = Paragrafi(corpo);
  ASSERT_EQ(p.size(), 6);  // five text lines and the document's last paragraph
  QStringList testi;
  for (const auto& v : p) testi << v.toObject()["p"].toString();
  EXPECT_EQ(testi.mid(0, 5), (QStringList{"Dodici punti Arial", "Centrato", "Ancora centrato", "Corsivo", "Dritto"}));
  EXPECT_EQ(Run0(p[0])["font"].toString(), "Arial");
  EXPECT_EQ(Run0(p[0])["size"].toDouble(), 12.0);
  EXPECT_EQ(p[1].toObject()["align"].toInt(), 1);
  EXPECT_EQ(p[2].toObject()["align"].toInt(), 1);  // "#RIGHT" keeps the alignment of "#CENTER"
  EXPECT_EQ(p[3].toObject()["align"].toInt(), 0);
  EXPECT_EQ(Run0(p[3])["font"].toString(), "Courier New");
  EXPECT_EQ(Run0(p[3])["size"].toDouble(), 10.5);  // 10.3 points in half points: 21
  EXPECT_EQ(Run0(p[3])["italic"], QJsonValue(true));
  EXPECT_EQ(Run0(p[4])["italic"], QJsonValue(false));
}

TEST_F(Interprete, TableEndsListsAndDecimalAlignment) {
  TestFolder t;
  ConFormattazione(t);
  const QJsonArray corpo = Esporta(t,
                                   "#RESET 2,2,2,2,2,2,12,Arial\n"
                                   "#STARTTABLE\nN.\tValore\tNota\n1\t2.5\tx\n2\t10\n#ENDTABLELEFTALIGN\n"
                                   "#STARTLIST\nFamiglia\t1\nImmersione\t45.5\n#ENDLIST\n"
                                   "#STARTTABLE\nA\tB\n-1.5\t2.25\n#ENDTABLENOITALIC\n"
                                   "#STARTTABLE\n#ENDTABLE\n"
                                   "#STARTTABLE\nC\tD\n3\t4\n#ENDTABLE\n"
                                   "#ENDDOCUMENT\n");
  const QJsonArray tab = Tabelle(corpo);
  ASSERT_EQ(tab.size(), 4);  // the empty table is left out
  // A short row gets empty cells: the table has as many columns as its widest row.
  EXPECT_EQ(Testi(tab[0].toObject()),
            (QList<QStringList>{{"N.", "Valore", "Nota"}, {"1", "2.5", "x"}, {"2", "10.0", ""}}));
  EXPECT_EQ(Cella(tab[0], 1, 1)["align"].toInt(), 0);
  EXPECT_EQ(Cella(tab[0], 0, 2)["italic"], QJsonValue(true));
  // The list after a left-aligned table keeps its alignment; its first column is italic.
  EXPECT_EQ(Testi(tab[1].toObject()), (QList<QStringList>{{"Famiglia", "1.0"}, {"Immersione", "45.5"}}));
  EXPECT_EQ(Cella(tab[1], 1, 1)["align"].toInt(), 0);
  EXPECT_EQ(Cella(tab[1], 1, 0)["italic"], QJsonValue(true));
  EXPECT_TRUE(Cella(tab[1], 1, 1)["italic"].isNull());
  EXPECT_EQ(Testi(tab[2].toObject())[1], (QStringList{"-1.5", "2.25"}));
  EXPECT_TRUE(Cella(tab[2], 0, 0)["italic"].isNull());
  EXPECT_EQ(Cella(tab[2], 0, 0)["align"].toInt(), 2);
  EXPECT_EQ(Cella(tab[3], 0, 0)["italic"], QJsonValue(true));
  EXPECT_EQ(Cella(tab[3], 1, 1)["align"].toInt(), 2);
}

TEST_F(Interprete, ADocumentWithoutItsEndIsSavedWithEveryRowOfALongTable) {
  TestFolder t;
  QString testo = "#RESET 2,2,2,2,2,2,10,Arial\nScheda\n#STARTTABLE\nNu\tDist\tTi\n";
  for (int i = 1; i <= 500; ++i) testo += QString("%1\t%2\tJ\n").arg(i).arg(i * 0.25);
  testo += "#ENDTABLE\nUltima riga\n";  // no "#ENDDOCUMENT"
  const QJsonArray corpo = Esporta(t, testo);
  ASSERT_FALSE(corpo.isEmpty());
  QStringList numeri;
  for (const auto& tb : Tabelle(corpo))
    for (const QStringList& r : Testi(tb.toObject()))
      if (r.value(0) != "Nu") numeri << r.value(0);
  ASSERT_EQ(numeri.size(), 500);
  for (int i = 1; i <= 500; ++i) EXPECT_EQ(numeri[i - 1], QString::number(i));
  bool ultima = false;
  for (const auto& p : Paragrafi(corpo)) ultima = ultima || p.toObject()["p"].toString() == "Ultima riga";
  EXPECT_TRUE(ultima);
}

// A long table becomes Word tables of 500 rows, each after the first under the head row again (a word processor
// lays out a table as a whole: one of thousands of rows took it minutes), every part in the style of the directive
// that ends the whole table, with the decimals of the whole table; a long list is cut with no repeated row.
TEST_F(Interprete, ALongTableIsWordTablesOf500RowsInTheStyleOfItsEnd) {
  TestFolder t;
  ConFormattazione(t);
  QString testo = "#RESET 2,2,2,2,2,2,12,Arial\n";
  const struct {
    int righe;
    const char* fine;
    QList<int> parti;  // the rows of each Word table, head rows included
  } casi[] = {{1200, "#ENDTABLELEFTALIGN", {500, 500, 203}},
              {700, "#ENDTABLENOITALIC", {500, 202}},
              {499, "#ENDTABLE", {500}},
              {501, "#ENDLIST", {500, 1}}};
  for (const auto& c : casi) {
    const bool lista = QString(c.fine) == "#ENDLIST";
    testo += lista ? "#STARTLIST\n" : "#STARTTABLE\nN.\tValore\n";
    for (int i = 1; i <= c.righe; ++i) testo += QString("%1\t%2\n").arg(i).arg(i == c.righe ? "7" : "0.5");
    testo += QString(c.fine) + "\n";
  }
  const QJsonArray tab = Tabelle(Esporta(t, testo + "#ENDDOCUMENT\n"));
  ASSERT_EQ(tab.size(), 3 + 2 + 1 + 2);
  int k = 0;
  for (int caso = 0; caso < 4; ++caso) {
    const auto& c = casi[caso];
    SCOPED_TRACE(c.fine);
    const bool lista = caso == 3;
    int riga = 0;  // the data rows met so far
    for (int parte = 0; parte < c.parti.size(); ++parte, ++k) {
      const QList<QStringList> testi = Testi(tab[k].toObject());
      ASSERT_EQ(testi.size(), c.parti[parte]) << parte;
      for (int r = 0; r < testi.size(); ++r) {
        const bool testa = !lista && r == 0;
        if (testa) {
          ASSERT_EQ(testi[r], (QStringList{"N.", "Valore"})) << parte;
        } else {
          ++riga;
          // Every row once, in order, with the decimals of the whole table (its last value is 7.0).
          ASSERT_EQ(testi[r], (QStringList{QString::number(riga), riga == c.righe ? "7.0" : "0.5"})) << riga;
        }
        for (int col = 0; col < 2; ++col) {
          // Left-aligned cells only at the end that asks for them (a list keeps the last table end's); an italic
          // head row except without italics, a list's first column italic.
          ASSERT_EQ(Cella(tab[k], r, col)["align"].toInt(), caso == 0 ? 0 : 2) << riga;
          const bool corsivo = lista ? col == 0 : testa && caso != 1;
          ASSERT_EQ(Cella(tab[k], r, col)["italic"], corsivo ? QJsonValue(true) : QJsonValue()) << riga;
        }
      }
    }
    EXPECT_EQ(riga, c.righe);
  }
}

TEST_F(Interprete, WholeRunsOfWenlow) {
  TestFolder t;
  t.AddPrograms({"wenlow"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  WriteAnsi(t.D("con spazi.tab"), "#RESET 2,2,2,2,2,2,12,Arial\nRiga\n#STARTLIST\na\t1\n#ENDLIST\n#ENDDOCUMENT\n");
  // The path comes as the whole command line, blanks and all; the saved path comes back on the standard output.
  auto r = RunProgram(t.P("wenlow"), {t.Data() + "/con", "spazi.tab"}, t.Data(),
                      testing_support::ScriptedRunEnvironment(t, ""));
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(QFile::exists(t.D("con spazi.DOC")));
  EXPECT_TRUE(r.output.split('\n').contains(t.D("con spazi.DOC"))) << r.output.toStdString();
  const QStringList log = ReadLog(t.D("ui.log"));
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].startsWith("wenlow\twindow\tprogress\tEsportazione file *.DOC in corso..."));

  // Asked again: No, and no name chosen: nothing saved, nothing on the standard output.
  const QByteArray prima = ReadBytes(t.D("con spazi.DOC"));
  r = RunProgram(t.P("wenlow"), {t.D("con spazi.tab")}, t.Data(),
                 testing_support::ScriptedRunEnvironment(t, "answer No\ncancel\n"));
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_FALSE(r.output.contains(".DOC"));
  EXPECT_EQ(ReadBytes(t.D("con spazi.DOC")), prima);

  // An empty command line ends at once; a missing document is reported.
  r = RunProgram(t.P("wenlow"), {}, t.Data(), testing_support::ScriptedRunEnvironment(t, ""));
  EXPECT_EQ(r.exitCode, 0);
  r = RunProgram(t.P("wenlow"), {t.D("manca.tab")}, t.Data(),
                 testing_support::ScriptedRunEnvironment(t, "answer OK \"Impossibile leggere il documento\"\n"));
  EXPECT_EQ(r.exitCode, 1) << r.output.toStdString();
}

// A report that begins no document (an empty file, blank lines, lines without "#RESET") is damage: wenlow says so
// with the file, writes nothing and ends with exit code 1 (it ended with 0 and no word). A report with a CR that ends
// no line, or something else than a file at its name, is damage as well.
TEST_F(Interprete, AReportThatBeginsNoDocumentIsDamageAndEndsWenlowWithAnError) {
  TestFolder t;
  t.AddPrograms({"wenlow"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  const struct {
    const char* nome;
    QByteArray testo;  // empty and `cartella`: a folder at the name
    bool cartella;
    const char* dove;
  } casi[] = {
      {"vuoto.tab", "", false, "vuoto.tab\\n"},
      {"bianco.tab", "\r\n  \r\n", false, "bianco.tab\\n"},
      {"senzareset.tab", "Riga\r\n#ENDDOCUMENT\r\n", false, "senzareset.tab\\n"},
      {"cr.tab", "#RESET 2,2,2,2,2,2,12,Arial\rRiga\r#ENDDOCUMENT\r", false, "cr.tab, riga 1\\n"},
      {"cartella.tab", "", true, "cartella.tab\\n"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    if (c.cartella) {
      ASSERT_TRUE(QDir(t.Data()).mkdir(c.nome));
    } else {
      QFile f(t.D(c.nome));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.testo);
    }
    QFile::remove(t.D("ui.log"));
    const auto r = RunProgram(t.P("wenlow"), {t.D(c.nome)}, t.Data(),
                              testing_support::ScriptedRunEnvironment(t, "answer OK\n"));
    EXPECT_EQ(r.exitCode, 1) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains(".DOC")) << r.output.toStdString();
    const QStringList m = ReadLog(t.D("ui.log")).filter("\tmsgbox\t");
    ASSERT_EQ(m.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
    EXPECT_TRUE(m[0].contains(QString("Il file e' incompleto o danneggiato:\\n") + c.dove)) << m[0].toStdString();
    EXPECT_TRUE(QDir(t.Data()).entryList({"*.DOC"}, QDir::Files).isEmpty());
  }
}

TEST_F(Interprete, ACellTooWideForAnyPageKeepsItsColumnTheWidest) {
  // A cell whose text at the largest font is wider than any whole number of twips the columns are counted in: its
  // column takes the page, the short column next to it what is left.
  TestFolder t;
  t.AddPrograms({"wenlow"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  ConFormattazione(t);
  WriteAnsi(t.D("largo.tab"), "#RESET 2,2,2,2,2,2,12,Arial\n#FONTSIZE 1638\n#STARTTABLE\n" + QString(70000, 'W') +
                                  "\tx\n#ENDTABLE\n#ENDDOCUMENT\n");
  const auto r = RunProgram(t.P("wenlow"), {t.D("largo.tab")}, t.Data(), testing_support::ScriptedRunEnvironment(t, ""));
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  QProcess unzip;
  unzip.start("/usr/bin/unzip", {"-p", t.D("largo.DOC"), "word/document.xml"});
  ASSERT_TRUE(unzip.waitForFinished(60000));
  const QString xml = QString::fromUtf8(unzip.readAllStandardOutput());
  QList<int> larghezze;
  static const QRegularExpression colonna("<w:gridCol w:w=\"(-?\\d+)\"/>");
  for (auto it = colonna.globalMatch(xml); it.hasNext();) larghezze << it.next().captured(1).toInt();
  ASSERT_EQ(larghezze.size(), 2) << xml.left(2000).toStdString();
  EXPECT_GT(larghezze[0], larghezze[1]);
  EXPECT_GT(larghezze[1], 0);
  EXPECT_LE(larghezze[0] + larghezze[1], 11906 - 2 * 1134);  // the text width of the page
}

// The report fonts applied (editor.txt's third item False), tables wider than the page are narrowed, and
// LibreOffice lays them out without breaking a number: the wedge table of a results report with a volume of
// eleven digits, a table whose long text column gives the room, and one whose numbers alone are wider than the
// text width (it runs past the right margin). The text column still wraps at its blanks.
TEST_F(Interprete, ANumberInAWordTableIsNeverBroken) {
  TestFolder t;
  t.AddPrograms({"wenlow"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  ConFormattazione(t);
  const QStringList numeri = {"288257512.61", "386271.22", "-1234567.89", "8.16E-04", "98765432101.23"};
  QString testo = QString::fromUtf8(
      "#RESET 2,2,2,2,2,2,12,Arial\n#STARTTABLE\n"
      "imm.P1 [°]\tinc.P1 [°]\tsciv.P1\timm.P2 [°]\tinc.P2 [°]\tsciv.P2\tF.S. [-]\tVolume [m³]\n"
      "110.0\t11.0\tNO\t224.0\t43.0\tNO\t0.00\t288257512.61\n110.0\t11.0\tSI\t335.0\t76.0\tNO\t1.00\t386271.22\n"
      "#ENDTABLE\n\n#STARTTABLE\nDescrizione\tValore\tModulo\n");
  testo += "Una famiglia di giunti descritta con molte parole che non stanno in una riga sola della pagina, "
           "nemmeno a carattere piccolo\t-1234567.89\t8.16E-04\n#ENDTABLE\n\n#STARTTABLE\n";
  testo += QString("98765432101.23\t").repeated(4) + "98765432101.23\n#ENDTABLE\n#ENDDOCUMENT\n";
  WriteAnsi(t.D("cunei.tab"), testo);
  const auto r = RunProgram(t.P("wenlow"), {t.D("cunei.tab")}, t.Data(), testing_support::ScriptedRunEnvironment(t, ""));
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  QString errore;
  const QString pdf = docexport_test::ConvertiConLibreOffice(t.D("cunei.DOC"), "pdf", t.Root() + "/lo", &errore);
  ASSERT_FALSE(pdf.isEmpty()) << errore.toStdString();
  QProcess p;
  p.start("pdftotext", {"-layout", pdf, "-"});
  ASSERT_TRUE(p.waitForFinished(60000));
  const QString pagina = QString::fromUtf8(p.readAllStandardOutput());
  const QStringList parole = pagina.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
  for (const QString& n : numeri) EXPECT_TRUE(parole.contains(n)) << n.toStdString() << "\n" << pagina.toStdString();
  EXPECT_EQ(parole.count("98765432101.23"), 5) << pagina.toStdString();
  // The long description wraps over lines of its own column, beside its numbers.
  EXPECT_TRUE(parole.contains("Descrizione"));
  EXPECT_FALSE(pagina.contains("molte parole che non stanno in una riga sola della pagina, nemmeno"));
}
