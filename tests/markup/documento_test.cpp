// The report markup: grammar, document state, table buffering, cells and decimal alignment.
#include "common/markup/documento.h"

#include <gtest/gtest.h>

namespace {

// A renderer that records what the interpreter hands it.
class Registro : public InterpreteDocumento {
 public:
  explicit Registro(LimitiDocumento limiti = LimitiDocumento::ProgrammaPrincipale(), RegoleModo regole = {})
      : InterpreteDocumento(limiti, regole) {}
  QStringList eventi;
  std::vector<TabellaDocumento> tabelle;
  bool chiusuraRiesce = true;

  void Leggi(const QString& testo) {
    for (QString r : testo.split('\n')) Riga(r);
  }

 protected:
  void ApriDocumento(const ArgomentoReset& a) override { eventi << "apri " + a.font; }
  void ScriviTesto(const QString& riga) override { eventi << "testo " + riga; }
  void ScriviTabella(const TabellaDocumento& t) override {
    eventi << QString("%1 %2").arg(t.lista ? "lista" : "tabella").arg(t.righe.size());
    tabelle.push_back(t);
  }
  void Direttiva(const RigaDocumento& r) override { eventi << r.parola; }
  bool ChiudiDocumento() override {
    eventi << "chiudi";
    return chiusuraRiesce;
  }
};

TEST(Celle, DecimalsOfACell) {
  EXPECT_EQ(DecimaliCella("12"), -1);
  EXPECT_EQ(DecimaliCella("12."), -1);  // a point at the end: a whole number
  EXPECT_EQ(DecimaliCella(" 12. "), -1);
  EXPECT_EQ(DecimaliCella(""), -1);
  EXPECT_EQ(DecimaliCella("   "), -1);
  EXPECT_EQ(DecimaliCella("1.25"), 2);
  EXPECT_EQ(DecimaliCella("1.5 "), 2);  // the trailing blank counts before any trim
  EXPECT_EQ(DecimaliCella(" .5"), 1);
  EXPECT_EQ(DecimaliCella("-1.5"), -2);
  EXPECT_EQ(DecimaliCella("1,5"), -2);
  EXPECT_EQ(DecimaliCella("N."), -2);
  EXPECT_EQ(DecimaliCella("1\t2"), -2);
  EXPECT_EQ(DecimaliCella("8.16E-04"), -2);
}

TEST(Celle, RowsAreCutAtEveryTab) {
  EXPECT_EQ(CelleRiga("a\tb"), (QStringList{"a", "b"}));
  EXPECT_EQ(CelleRiga("a\t\tb"), (QStringList{"a", "", "b"}));
  EXPECT_EQ(CelleRiga(""), QStringList{""});
  EXPECT_EQ(CelleRiga("a\t"), (QStringList{"a", ""}));
  EXPECT_EQ(CelleRiga(" a \t b "), (QStringList{" a ", " b "}));
  // Beyond 30 cells the last one keeps the rest of the row.
  QStringList molte;
  for (int i = 1; i <= 32; ++i) molte << QString::number(i);
  const QStringList c = CelleRiga(molte.join('\t'));
  ASSERT_EQ(c.size(), 30);
  EXPECT_EQ(c.at(28), QString("29"));
  EXPECT_EQ(c.at(29), QString("30\t31\t32"));
}

std::vector<QStringList> Griglia(std::initializer_list<QStringList> righe) { return {righe}; }

TEST(Celle, DecimalAlignment) {
  auto g = Griglia({{"N.", "Valore"}, {"1", "2.5"}, {"2", "10"}});
  AllineaDecimali(g, 2);
  EXPECT_EQ(g, Griglia({{"N.", "Valore"}, {"1", "2.5"}, {"2", "10.0"}}));

  g = Griglia({{"12", "a"}, {"1.5 ", "b"}, {".5", " c "}, {"12.", ""}, {"-1.5", "d"}, {"", "e"}, {"  ", "f"}});
  AllineaDecimali(g, 2);
  EXPECT_EQ(g, Griglia({{"12.00", "a"}, {"1.50", "b"}, {"0.50", "c"}, {"12.00", ""}, {"-1.5", "d"}, {"", "e"},
                        {"", "f"}}));

  // A column of whole numbers stays as it is (the point at the end goes); text beside numbers stays.
  g = Griglia({{" 12."}, {"3"}, {"x"}});
  AllineaDecimali(g, 1);
  EXPECT_EQ(g, Griglia({{"12"}, {"3"}, {"x"}}));

  // A negative number is text: the column keeps the decimals of its other numbers only.
  g = Griglia({{"-1.5"}, {"2.25"}, {"7"}});
  AllineaDecimali(g, 1);
  EXPECT_EQ(g, Griglia({{"-1.5"}, {"2.25"}, {"7.00"}}));
}

TEST(Grammatica, KeywordsAndArguments) {
  RigaDocumento r = AnalizzaRigaDocumento("#reset 2,2,2,2,2,2,12,Arial");
  EXPECT_EQ(r.chiave, ParolaChiave::Reset);
  EXPECT_EQ(r.argomento, QString("2,2,2,2,2,2,12,Arial"));
  EXPECT_EQ(AnalizzaRigaDocumento("#RESETX").chiave, ParolaChiave::Commento);
  r = AnalizzaRigaDocumento("#Header  Program FRATTIX ");
  EXPECT_EQ(r.chiave, ParolaChiave::Header);
  EXPECT_EQ(r.argomento, QString("Program FRATTIX"));
  r = AnalizzaRigaDocumento("#HEADER\tx");  // only a blank separates
  EXPECT_EQ(r.chiave, ParolaChiave::Commento);
  EXPECT_EQ(r.parola, QString("#HEADER\tX"));
  EXPECT_EQ(AnalizzaRigaDocumento("#ENDTABLELEFTALIGN").chiave, ParolaChiave::EndTableLeftAlign);
  EXPECT_EQ(AnalizzaRigaDocumento("#").chiave, ParolaChiave::Commento);
  EXPECT_EQ(AnalizzaRigaDocumento("").chiave, ParolaChiave::Testo);
  EXPECT_EQ(AnalizzaRigaDocumento("a # b").chiave, ParolaChiave::Testo);

  EXPECT_TRUE(ArgomentoCorsivo("true"));
  EXPECT_TRUE(ArgomentoCorsivo("TrUe "));
  EXPECT_FALSE(ArgomentoCorsivo("yes"));
  EXPECT_FALSE(ArgomentoCorsivo(""));
  EXPECT_EQ(LeggiStileTabulazione("=LL"), "LL" + QString(23, '>'));
  EXPECT_EQ(LeggiStileTabulazione("-LL"), LeggiStileTabulazione("LL"));
  EXPECT_EQ(ValoreArgomento("13"), 13);
  EXPECT_EQ(ValoreArgomento("12.5pt"), 12.5);
  EXPECT_EQ(ValoreArgomento("grande"), 0);
}

TEST(Grammatica, ResetArgument) {
  ArgomentoReset a = LeggiArgomentoReset("2,2,2,2,2,2,12,Arial");
  EXPECT_EQ(a.margini, (std::array<int, 6>{56, 56, 56, 56, 56, 56}));
  EXPECT_EQ(a.dimensione, 12);
  EXPECT_EQ(a.font, QString("Arial"));
  a = LeggiArgomentoReset("1.5");
  EXPECT_EQ(a.margini, (std::array<int, 6>{42, 0, 0, 0, 0, 0}));
  EXPECT_EQ(a.dimensione, 0);
  EXPECT_EQ(a.font, QString());
  a = LeggiArgomentoReset("x,1,,,,,10.9, Times New Roman ,extra");
  EXPECT_EQ(a.margini[0], 0);
  EXPECT_EQ(a.margini[1], 28);
  EXPECT_EQ(a.dimensione, 10);
  EXPECT_EQ(a.font, QString(" Times New Roman "));  // not trimmed
  a = LeggiArgomentoReset("1e300,-1e300");
  EXPECT_GT(a.margini[0], 0);
  EXPECT_LT(a.margini[1], 0);
}

TEST(Grammatica, UserTextBeginningWithAHashStaysText) {
  EXPECT_EQ(EscapeTestoDocumento("RILIEVO"), QString("RILIEVO"));
  const QString t = EscapeTestoDocumento("  #ENDDOCUMENT 3");
  Registro d;
  d.Leggi("#RESET\n" + t + "\n#ENDDOCUMENT");
  EXPECT_EQ(d.eventi, (QStringList{"apri ", "testo #ENDDOCUMENT 3", "chiudi"}));
  // A table row too.
  d.Leggi("#RESET\n#STARTTABLE\n" + EscapeTestoDocumento("#ENDTABLE\t2") + "\n#ENDTABLE\n#ENDDOCUMENT");
  ASSERT_EQ(d.tabelle.size(), 1u);
  EXPECT_EQ(d.tabelle[0].righe, QStringList{"#ENDTABLE\t2"});
  EXPECT_EQ(d.tabelle[0].celle[0], (QStringList{"#ENDTABLE", "2"}));
}

TEST(Interprete, LinesOutsideADocumentAndTheDocumentState) {
  Registro d;
  d.Leggi(
      "title\n#RESETX\n#RESET 2,2,2,2,2,2,12,Arial\n#HEADER Program FRATTIX\n#FOOTER\n#STARTTABLE\na\tb\n#ENDTABLE\n"
      "  Primo\n#CENTER\nSecondo\n#FONTITALIC true\n#ENDDOCUMENT\nafter");
  EXPECT_EQ(d.eventi, (QStringList{"apri Arial", "#HEADER", "#FOOTER", "tabella 1", "testo Primo", "#CENTER",
                                   "testo Secondo", "#FONTITALIC", "chiudi"}));
  EXPECT_EQ(d.Intestazione(), QString("Program FRATTIX"));
  EXPECT_EQ(d.PiePagina(), QString());
  EXPECT_EQ(d.Allineamento(), 1);
  EXPECT_TRUE(d.Corsivo());
  EXPECT_FALSE(d.DocumentoAperto());
  EXPECT_EQ(d.NomeFont(), QString("Arial"));
  EXPECT_EQ(d.DimensioneFont(), 12);

  // The header carries over to the next document; "#RESET" puts alignment and mode back.
  d.eventi.clear();
  d.Leggi("#reset\n#FONTSIZE 13\n#FONT Courier\ntesto\n#ENDDOCUMENT");
  EXPECT_EQ(d.Intestazione(), QString("Program FRATTIX"));
  EXPECT_EQ(d.Allineamento(), 0);
  EXPECT_EQ(d.DimensioneFont(), 13);
  EXPECT_EQ(d.NomeFont(), QString("Courier"));
  EXPECT_EQ(d.eventi, (QStringList{"apri ", "#FONTSIZE", "#FONT", "testo testo", "chiudi"}));

  // A file without "#RESET" gives nothing at all.
  d.eventi.clear();
  d.Leggi("#HEADER x\ntesto\n#ENDDOCUMENT");
  EXPECT_TRUE(d.FineFile());
  EXPECT_TRUE(d.eventi.isEmpty());
}

TEST(Interprete, TheEndOfTheFileFinishesAnOpenDocument) {
  Registro d;
  d.Leggi("#RESET\n#STARTLIST\nx\t1\ny\t2");
  EXPECT_TRUE(d.DocumentoAperto());
  d.chiusuraRiesce = false;
  EXPECT_FALSE(d.FineFile());
  EXPECT_EQ(d.eventi, (QStringList{"apri ", "lista 2", "chiudi"}));
  EXPECT_FALSE(d.DocumentoAperto());
  EXPECT_EQ(d.Modo(), 0);
}

TEST(Interprete, ModeRulesOfTheRenderers) {
  // In the text renderer "#TABSTYLE" and "#FONTITALIC" inside a table leave it collecting rows.
  Registro testo(LimitiDocumento::SenzaGriglia(), RegoleModo{false, false});
  testo.Leggi("#RESET\n#STARTTABLE\na\n#TABSTYLE LL\n#FONTITALIC TRUE\nb\n#ENDTABLE\n#ENDDOCUMENT");
  ASSERT_EQ(testo.tabelle.size(), 1u);
  EXPECT_EQ(testo.tabelle[0].righe, (QStringList{"a", "b"}));
  EXPECT_TRUE(testo.tabelle[0].celle.empty());  // no cells laid out
  // In the printer they end the collecting: the row after them is a text line.
  Registro stampa;
  stampa.Leggi("#RESET\n#STARTTABLE\na\n#FONTITALIC TRUE\nb\n#ENDTABLE\n#ENDDOCUMENT");
  ASSERT_EQ(stampa.tabelle.size(), 1u);
  EXPECT_EQ(stampa.tabelle[0].righe, QStringList{"a"});
  EXPECT_TRUE(stampa.eventi.contains("testo b"));
}

TEST(Interprete, CellGridOfATable) {
  Registro d;
  d.Leggi("#RESET\n#STARTTABLE\nN.\tValore\tNota\n1\t2.5\n2\t10\n#ENDTABLENOITALIC\n"
          "#STARTTABLE\nx\n#ENDTABLE\n#ENDDOCUMENT");
  ASSERT_EQ(d.tabelle.size(), 2u);
  const TabellaDocumento& t = d.tabelle[0];
  EXPECT_EQ(t.fine, ParolaChiave::EndTableNoItalic);
  EXPECT_FALSE(t.lista);
  EXPECT_EQ(t.colonne, 3);  // the widest row's cells
  EXPECT_EQ(t.celle, Griglia({{"N.", "Valore", "Nota"}, {"1", "2.5", ""}, {"2", "10.0", ""}}));
  // Nothing of the first table reaches the second.
  EXPECT_EQ(d.tabelle[1].colonne, 1);
  EXPECT_EQ(d.tabelle[1].celle, Griglia({{"x"}}));
}

TEST(Interprete, LongTablesComeInPartsUnderTheirHeadRow) {
  // A buffer of 5 rows and a grid of 3: 9 data rows and the head row.
  Registro d(LimitiDocumento{5, 3}, RegoleModo{});
  QString doc = "#RESET\n#STARTTABLE\nH\tV\n";
  for (int i = 1; i <= 9; ++i) doc += QString("%1\t%2\n").arg(i).arg(i * 0.5);
  d.Leggi(doc + "#ENDTABLE\n#STARTLIST\na\t1\nb\t2\nc\t3\nd\t4\n#ENDLIST\n#ENDDOCUMENT");
  QStringList dati;
  bool primaParte = true;
  for (const TabellaDocumento& t : d.tabelle) {
    if (t.lista) continue;
    EXPECT_LE(t.righe.size(), 3);
    EXPECT_EQ(t.righe.first(), QString("H\tV"));
    EXPECT_EQ(t.continuazione, !primaParte);
    primaParte = false;
    for (int r = 1; r < t.righe.size(); ++r) dati << t.celle[static_cast<std::size_t>(r)][0];
  }
  EXPECT_EQ(dati, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
  // A list is cut without a repeated row.
  QStringList lista;
  for (const TabellaDocumento& t : d.tabelle)
    if (t.lista) lista += t.righe;
  EXPECT_EQ(lista, (QStringList{"a\t1", "b\t2", "c\t3", "d\t4"}));

  // Without a grid only the row buffer cuts.
  Registro testo(LimitiDocumento{4, 0}, RegoleModo{false, false});
  testo.Leggi(doc + "#ENDTABLE\n#ENDDOCUMENT");
  QStringList righe;
  for (const TabellaDocumento& t : testo.tabelle) righe += t.righe;
  EXPECT_EQ(righe.count("H\tV"), 3);
  EXPECT_EQ(righe.size(), 12);
}

}  // namespace
