// The Word document writer: the document object, the package it is saved as (read back by python-docx and by
// LibreOffice), the save with its overwrite question, editor.txt and the progress window.
#include "common/platform/forms.h"
#include "common/platform/ui.h"
#include "docexport/scritturadoc.h"
#include "tests/docexport/lettura.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using docexport_test::LeggiDocx;
using docexport_test::Paragrafi;
using docexport_test::Tabelle;
using docexport_test::Testi;
using testing_support::ReadBytes;
using testing_support::Scripted;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

class Scrittura : public ::testing::Test {
 protected:
  void SetUp() override { AzzeraScritturaDOC(); }
  void TearDown() override { AzzeraScritturaDOC(); }

  // A grid of rows given as lists, counted from 1 as the writer takes it.
  static GrigliaCelle Griglia(const QList<QStringList>& righe) {
    GrigliaCelle g(static_cast<std::size_t>(righe.size() + 1), std::vector<QString>(31));
    for (qsizetype r = 0; r < righe.size(); ++r)
      for (qsizetype c = 0; c < righe[r].size(); ++c)
        g[static_cast<std::size_t>(r + 1)][static_cast<std::size_t>(c + 1)] = righe[r][c];
    return g;
  }

  // A document as a results report gives it: a centred title, a list, a table, a table without italics with
  // its cells left-aligned.
  static void ScriviEsempio() {
    ApriDocumentoDOC();
    ImpostaFont("Arial");
    ImpostaDimensioneFont(12);
    ImpostaCentratura(true);
    ScriviParagrafoDOC("Relazione di prova");
    ImpostaCentratura(false);
    ImpostaCorsivo(true);
    ScriviParagrafoDOC("Fronte\tnord");
    ImpostaCorsivo(false);
    ScriviTabellaDOC(Griglia({{"Immersione", "45"}, {"Direzione", "120"}}), 2, 2, 1);
    ImpostaAllineamentoSinistro(false);
    ScriviTabellaDOC(Griglia({{"N.", "Valore", "Nota"}, {"1", "2.50", "a"}, {"2", "10.00", "b"}}), 3, 3, 5);
    ImpostaAllineamentoSinistro(true);
    ScriviTabellaDOC(Griglia({{"x", "y"}, {"3", "4"}}), 2, 2, 0);
  }

  static QJsonObject Blocco(const QJsonArray& a, int i) { return a.at(i).toObject(); }
  static QJsonObject CellaJson(const QJsonObject& tabella, int r, int c) {
    return tabella["table"].toArray().at(r).toArray().at(c).toObject();
  }
};

}  // namespace

TEST_F(Scrittura, EditorTxtGivesTheNoFormattingFlag) {
  TestFolder t;
  EXPECT_TRUE(LeggiNessunaFormattazione());  // no file
  const QList<QPair<QString, bool>> casi = {
      {"uno\ndue\nFalse\n", false}, {"uno\ndue\nTRUE\n", true}, {"uno\ndue\n0\n", false},
      {"uno\ndue\n-1\n", true},     {"uno\ndue\n#FALSE#\n", false}, {"uno\ndue\n", true},
      {"uno\n", true},              {"uno\ndue\nforse\n", true},   {"uno, x\ndue\n  false  \n", false}};
  for (const auto& [testo, atteso] : casi) {
    WriteAnsi(t.P("editor.txt"), testo);
    EXPECT_EQ(LeggiNessunaFormattazione(), atteso) << testo.toStdString();
  }
}

TEST_F(Scrittura, FormattedDocumentReadBackByPythonDocx) {
  TestFolder t;
  WriteAnsi(t.P("editor.txt"), "c:\\viewer.exe\nc:\\editor.exe\nFalse\n");
  ScriviEsempio();
  SalvaDocumentoDOC(t.D("relazione.DOC"));
  ASSERT_EQ(ScritturaDOC.FileSalvato, t.D("relazione.DOC"));

  QString errore;
  const QJsonArray corpo = LeggiDocx(t.D("relazione.DOC"), &errore);
  ASSERT_FALSE(corpo.isEmpty()) << errore.toStdString();
  // Two paragraphs, then three tables, each followed by a paragraph (two tables never touch).
  ASSERT_EQ(corpo.size(), 8);
  const QStringList tipi = [&] {
    QStringList l;
    for (const auto& b : corpo) l << (b.toObject().contains("table") ? "T" : "P");
    return l;
  }();
  EXPECT_EQ(tipi.join(""), "PPTPTPTP");

  const QJsonObject titolo = Blocco(corpo, 0);
  EXPECT_EQ(titolo["p"].toString(), "Relazione di prova");
  EXPECT_EQ(titolo["align"].toInt(), 1);
  const QJsonObject run = titolo["runs"].toArray().at(0).toObject();
  EXPECT_EQ(run["font"].toString(), "Arial");
  EXPECT_EQ(run["size"].toDouble(), 12.0);
  EXPECT_EQ(run["italic"], QJsonValue(false));
  EXPECT_EQ(Blocco(corpo, 1)["p"].toString(), "Fronte\tnord");  // TAB kept as a tab
  EXPECT_EQ(Blocco(corpo, 1)["align"].toInt(), 0);
  EXPECT_EQ(Blocco(corpo, 1)["runs"].toArray().at(0).toObject()["italic"], QJsonValue(true));

  const QJsonArray tabelle = Tabelle(corpo);
  ASSERT_EQ(tabelle.size(), 3);
  // A list: its first column in italics, cells right-aligned (the flag of the last table end).
  const QJsonObject lista = tabelle.at(0).toObject();
  EXPECT_EQ(Testi(lista), (QList<QStringList>{{"Immersione", "45"}, {"Direzione", "120"}}));
  for (int r = 0; r < 2; ++r) {
    EXPECT_EQ(CellaJson(lista, r, 0)["italic"], QJsonValue(true));
    EXPECT_TRUE(CellaJson(lista, r, 1)["italic"].isNull());
    EXPECT_EQ(CellaJson(lista, r, 1)["align"].toInt(), 2);
    EXPECT_EQ(CellaJson(lista, r, 1)["font"].toString(), "Arial");
    EXPECT_EQ(CellaJson(lista, r, 1)["size"].toDouble(), 12.0);
  }
  // A table: its first row in italics, right-aligned.
  const QJsonObject tabella = tabelle.at(1).toObject();
  EXPECT_EQ(Testi(tabella)[2], (QStringList{"2", "10.00", "b"}));
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(CellaJson(tabella, 0, c)["italic"], QJsonValue(true));
    EXPECT_TRUE(CellaJson(tabella, 1, c)["italic"].isNull());
    EXPECT_EQ(CellaJson(tabella, 2, c)["align"].toInt(), 2);
  }
  // Without italics, left-aligned.
  const QJsonObject senza = tabelle.at(2).toObject();
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) {
      EXPECT_TRUE(CellaJson(senza, r, c)["italic"].isNull());
      EXPECT_EQ(CellaJson(senza, r, c)["align"].toInt(), 0);
    }
  EXPECT_TRUE(lista["jc"].isNull());
}

TEST_F(Scrittura, WithoutEditorTxtNoFontSizeOrItalicsAreApplied) {
  TestFolder t;
  ScriviEsempio();
  ImpostaCentratura(true);
  ScriviTabellaDOC(Griglia({{"c"}}), 1, 1, 5);
  SalvaDocumentoDOC(t.D("semplice.DOC"));
  const QJsonArray corpo = LeggiDocx(t.D("semplice.DOC"));
  ASSERT_EQ(Paragrafi(corpo).size(), 6);
  for (const auto& b : Paragrafi(corpo))
    for (const auto& r : b.toObject()["runs"].toArray()) {
      EXPECT_TRUE(r.toObject()["font"].isNull());
      EXPECT_TRUE(r.toObject()["size"].isNull());
      EXPECT_TRUE(r.toObject()["italic"].isNull());
    }
  EXPECT_EQ(Blocco(corpo, 0)["align"].toInt(), 1);  // alignment is applied either way
  const QJsonArray tabelle = Tabelle(corpo);
  ASSERT_EQ(tabelle.size(), 4);
  for (const auto& tv : tabelle) {
    const QJsonObject tab = tv.toObject();
    for (const auto& riga : tab["table"].toArray())
      for (const auto& c : riga.toArray()) EXPECT_TRUE(c.toObject()["italic"].isNull());
  }
  EXPECT_EQ(CellaJson(tabelle.at(1).toObject(), 1, 1)["align"].toInt(), 2);
  EXPECT_EQ(CellaJson(tabelle.at(2).toObject(), 1, 1)["align"].toInt(), 0);
  EXPECT_EQ(tabelle.at(3).toObject()["jc"].toString(), "center");  // a table after "#CENTER" is centred
}

TEST_F(Scrittura, MarkupOfThePackage) {
  word::Document d;
  auto scrivi = [&](const QString& testo, std::optional<double> dimensione, std::optional<QString> font) {
    word::Range r = d.Content();
    r.Collapse(word::wdCollapseEnd);
    r.InsertAfter(testo);
    if (font) r.Font().SetName(*font);
    if (dimensione) r.Font().SetSize(*dimensione);
    r.InsertParagraphAfter();
  };
  scrivi("dieci", 10.3, "Courier New");
  scrivi("piccolo", 0.2, std::nullopt);
  scrivi("senza", 0, QString());
  scrivi(QString("a\tb<&>\"") + QChar(1) + QChar(0x8D) + "c\r" + QChar(0xE8), std::nullopt, std::nullopt);
  EXPECT_FALSE(d.TablesAdd(d.Content(), 0, 3));  // a table needs rows and columns
  auto t = d.TablesAdd(d.Content(), 2, 2);
  ASSERT_TRUE(t);
  t->CellRange(1, 1).SetText("x");
  auto u = d.TablesAdd(d.Content(), 1, 1);
  ASSERT_TRUE(u);
  EXPECT_EQ(d.TablesCount(), 2);

  const QByteArray xml = d.DocumentXml();
  const QString x = QString::fromUtf8(xml);
  EXPECT_TRUE(x.contains("<w:rFonts w:ascii=\"Courier New\" w:hAnsi=\"Courier New\" w:eastAsia=\"Courier New\" "
                         "w:cs=\"Courier New\"/><w:sz w:val=\"21\"/><w:szCs w:val=\"21\"/>"));
  EXPECT_TRUE(x.contains("<w:sz w:val=\"2\"/>"));
  EXPECT_TRUE(x.contains("<w:p><w:r><w:t xml:space=\"preserve\">senza</w:t></w:r></w:p>"));  // no size, no font
  EXPECT_TRUE(x.contains(QString::fromUtf8("<w:t xml:space=\"preserve\">a</w:t><w:tab/><w:t xml:space=\"preserve\">"
                                           "b&lt;&amp;&gt;&quot;c\xC3\xA8</w:t>")));
  // Every cell ends with a paragraph; between the two tables stands a paragraph; the body ends with one.
  EXPECT_EQ(x.count("<w:tc>"), 5);
  EXPECT_EQ(x.count("</w:p></w:tc>"), 5);
  EXPECT_TRUE(x.contains("</w:tbl><w:p></w:p><w:tbl>"));
  EXPECT_TRUE(x.contains("</w:tbl><w:p></w:p><w:sectPr>"));
  EXPECT_EQ(x.count("<w:tblGrid>"), 2);

  QXmlStreamReader lettore(xml);
  while (!lettore.atEnd()) lettore.readNext();
  EXPECT_FALSE(lettore.hasError()) << lettore.errorString().toStdString();

  // The package holds the parts a word processor looks for.
  const QByteArray zip = d.Package();
  ASSERT_GT(zip.size(), 200);
  EXPECT_TRUE(zip.startsWith("PK"));
  for (const char* parte : {"[Content_Types].xml", "_rels/.rels", "word/document.xml", "word/styles.xml",
                            "word/_rels/document.xml.rels"})
    EXPECT_TRUE(zip.contains(parte)) << parte;
}

TEST_F(Scrittura, TheOverwriteQuestionAndTheChoiceOfAnotherName) {
  TestFolder t;
  WriteAnsi(t.D("report.doc"), "vecchio");
  {
    Scripted s(t, "answer Yes \"report.DOC?\"\n");
    ApriDocumentoDOC();
    ScriviParagrafoDOC("nuovo");
    SalvaDocumentoDOC(t.D("report.DOC"));
    // The existing name in another letter case is written over.
    EXPECT_EQ(ScritturaDOC.FileSalvato, t.D("report.doc"));
    EXPECT_TRUE(ReadBytes(t.D("report.doc")).startsWith("PK"));
    EXPECT_FALSE(QFile::exists(t.D("report.DOC")));
    EXPECT_EQ(s.Log("msgbox").size(), 1);
    EXPECT_TRUE(s.Log("msgbox")[0].contains("\tATTENZIONE!\tVolete sovrascrivere il file"));
  }
  const QByteArray primo = ReadBytes(t.D("report.doc"));
  {
    Scripted s(t, "answer No\nfile altro.dat\n");
    ApriDocumentoDOC();
    ScriviParagrafoDOC("altro");
    SalvaDocumentoDOC(t.D("report.DOC"));
    EXPECT_EQ(ScritturaDOC.FileSalvato, t.D("altro.DOC"));
    EXPECT_EQ(ReadBytes(t.D("report.doc")), primo);
    EXPECT_EQ(s.Log("filedialog").size(), 1);
  }
  {
    Scripted s(t, "answer No\ncancel\n");
    ApriDocumentoDOC();
    ScriviParagrafoDOC("niente");
    SalvaDocumentoDOC(t.D("report.DOC"));
    EXPECT_TRUE(ScritturaDOC.FileSalvato.isEmpty());
    EXPECT_EQ(ReadBytes(t.D("report.doc")), primo);
    EXPECT_EQ(QDir(t.Data()).entryList(QDir::Files).filter(".DOC", Qt::CaseInsensitive).size(), 2);
  }
}

TEST_F(Scrittura, AFailedSaveIsReported) {
  TestFolder t;
  Scripted s(t, "answer OK \"manca/x.DOC\"\n");
  ApriDocumentoDOC();
  ScriviParagrafoDOC("testo");
  SalvaDocumentoDOC(t.D("manca/x.DOC"));
  EXPECT_TRUE(ScritturaDOC.FileSalvato.isEmpty());
  ASSERT_EQ(s.Log("msgbox").size(), 1);
  EXPECT_TRUE(s.Log("msgbox")[0].contains("Impossibile salvare il documento"));
}

TEST_F(Scrittura, LibreOfficeOpensTheDocument) {
  TestFolder t;
  ScriviEsempio();
  SalvaDocumentoDOC(t.D("relazione.DOC"));
  QString errore;
  const QString txt = docexport_test::ConvertiConLibreOffice(t.D("relazione.DOC"), "txt", t.Root() + "/lo", &errore);
  ASSERT_FALSE(txt.isEmpty()) << errore.toStdString();
  const QString testo = QString::fromUtf8(ReadBytes(txt));
  for (const char* atteso : {"Relazione di prova", "Fronte", "Immersione", "Direzione", "120", "Valore", "10.00",
                             "Nota", "x", "4"})
    EXPECT_TRUE(testo.contains(atteso)) << atteso << "\n" << testo.toStdString();
  const QString pdf = docexport_test::ConvertiConLibreOffice(t.D("relazione.DOC"), "pdf", t.Root() + "/lo", &errore);
  ASSERT_FALSE(pdf.isEmpty()) << errore.toStdString();
  EXPECT_TRUE(ReadBytes(pdf).startsWith("%PDF"));
}

TEST_F(Scrittura, TheProgressWindowShowsWhatIsWritten) {
  TestFolder t;
  const QString cartella = QStringLiteral(FRATTIX_TEST_TMP_DIR "/pictures");
  QDir().mkpath(cartella);
  const QString immagine = cartella + "/progress.png";
  QFile::remove(immagine);
  Scripted s(t, "grab " + immagine + " progress\n");
  ApriDocumentoDOC();
  ASSERT_TRUE(ScritturaDOC.Finestra);
  progress* finestra = ScritturaDOC.Finestra;
  EXPECT_TRUE(finestra->isVisible());
  EXPECT_EQ(finestra->windowTitle(), "Esportazione file *.DOC in corso...");
  ScriviParagrafoDOC("Parametri delle famiglie");
  EXPECT_EQ(finestra->Label1->text(), "Parametri delle famiglie");
  ScriviTabellaDOC(Griglia({{"a", "b"}, {"c", "ultima"}}), 2, 2, 5);
  EXPECT_EQ(finestra->Label1->text(), "ultima");  // the last cell written (column by column)
  plat::WaitForUser(10);  // the script takes its picture
  const QImage figura(immagine);
  EXPECT_FALSE(figura.isNull());
  EXPECT_GE(figura.width(), 300);
  SalvaDocumentoDOC(t.D("p.DOC"));
  EXPECT_EQ(plat::LoadedForm("progress"), nullptr);  // unloaded by the save
  EXPECT_EQ(s.Log("window").size(), 1);
}
