// The printer renderer on a printer stand-in with fixed metrics: every character 6 points wide, every line 12
// points high, an A4 sheet of 595.3 x 841.9 points; and a long document in every form: printed on the stand-in,
// previewed, as text and as a Word document.
#include "main/reports/stampa.h"

#include "common/markup/documento.h"
#include "common/platform/printer.h"
#include "tests/docexport/lettura.h"
#include "tests/reports/fixture.h"
#include "tests/support/support.h"

#include <QListWidget>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using testing_support::Scripted;
using testing_support::WriteAnsi;

struct Stampato {
  double x, y;
  QString testo;
  bool grassetto;
  double dimensione;
  int pagina;
};

class StampanteFinta : public plat::TextPrinter {
 public:
  double Width() const override { return 595.3 * 20; }
  double Height() const override { return 841.9 * 20; }
  void SetScaleMode(int mode) override { scala = mode; }
  void SetFontName(const QString& name) override { font = name; }
  void SetFontSize(double size) override {
    dimensione = size;
    dimensioni << size;
  }
  void SetFontBold(bool bold) override { grassetto = bold; }
  void SetFontItalic(bool italic) override { corsivo = italic; }
  double CurrentX() const override { return x; }
  double CurrentY() const override { return y; }
  void SetCurrentX(double v) override { x = v; }
  void SetCurrentY(double v) override { y = v; }
  double TextWidth(const QString& t) const override { return larghezza ? larghezza(t) : 6.0 * t.size(); }
  double TextHeight(const QString&) const override { return 12; }
  void Print(const QString& t, bool fineRiga) override {
    if (!t.isEmpty()) stampati.push_back({x, y, t, grassetto, dimensione, pagina});
    if (fineRiga) {
      y += 12;
      x = 0;
    } else {
      x += TextWidth(t);
    }
  }
  void NewPage() override {
    ++pagina;
    x = y = 0;
  }
  bool EndDoc() override {
    ++fini;
    return true;
  }

  // The texts printed, in order.
  QStringList Testi() const {
    QStringList l;
    for (const Stampato& s : stampati) l << s.testo;
    return l;
  }
  const Stampato* Cerca(const QString& t, int da = 0) const {
    for (std::size_t i = static_cast<std::size_t>(da); i < stampati.size(); ++i)
      if (stampati[i].testo == t) return &stampati[i];
    return nullptr;
  }

  std::function<double(const QString&)> larghezza;
  int scala = 1;
  QString font;
  double dimensione = 0;
  QList<double> dimensioni;
  bool grassetto = false, corsivo = false;
  double x = 0, y = 0;
  int pagina = 1, fini = 0;
  std::vector<Stampato> stampati;
};

class Stampa : public ::testing::Test {
 protected:
  void SetUp() override {
    AzzeraStampa();
    ImpostaStampanteDocumento(&p);
  }
  void TearDown() override {
    ImpostaStampanteDocumento(nullptr);
    AzzeraStampa();
  }
  void Documento(const QStringList& righe) {
    for (QString r : righe) StampaRigaDocumento(r);
  }
  StampanteFinta p;
};

const double kCm = 72.0 / 2.54;

TEST_F(Stampa, PageMarginsHeaderAndFooter) {
  Documento({"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER Program FRATTIX", "#FOOTER fine", "", "", "Riga", "",
             "#RIGHT", "Destra", "#ENDDOCUMENT"});
  EXPECT_EQ(p.scala, 2);
  EXPECT_EQ(p.font, "Arial");
  EXPECT_EQ(p.dimensioni.first(), 12);
  // W = 566, H = 813, margins of 56 points: the header centred with its top at m3, the first line m5 below it.
  ASSERT_EQ(p.Testi(), (QStringList{"Program FRATTIX", "Riga", "Destra", "fine"}));
  EXPECT_DOUBLE_EQ(p.stampati[0].y, 56);
  EXPECT_DOUBLE_EQ(p.stampati[0].x, 56 + (566 - 112 - 6 * 15) / 2.0);
  EXPECT_DOUBLE_EQ(p.stampati[1].x, 56);
  EXPECT_DOUBLE_EQ(p.stampati[1].y, 56 + 12 + 56);  // the blank lines under the header are dropped
  EXPECT_DOUBLE_EQ(p.stampati[2].y, 56 + 12 + 56 + 24);  // a blank line after a text line is not
  EXPECT_DOUBLE_EQ(p.stampati[2].x + 36, 566 - 56);
  EXPECT_DOUBLE_EQ(p.stampati[3].y, 813 - 56 - 12);
  EXPECT_EQ(p.fini, 1);
}

TEST_F(Stampa, ACentredTableAndItsDecimalColumn) {
  // A table 200 points wide under "#CENTER" starts at x = 183.
  p.larghezza = [](const QString& t) { return t == "X" ? 200 - 0.5 * kCm : 6.0 * t.size(); };
  Documento({"#RESET 2,2,2,2,2,2,12,Arial", "#TABSTYLE L", "#CENTER", "#STARTTABLE", "X", "#ENDTABLE"});
  ASSERT_NE(p.Cerca("X"), nullptr);
  EXPECT_NEAR(p.Cerca("X")->x - 0.25 * kCm, 183, 1e-9);

  Documento({"#LEFT", "#TABSTYLE", "#STARTTABLE", "N.\tValore", "1\t2.5", "2\t10", "#ENDTABLE", "#ENDDOCUMENT"});
  const Stampato* testa = p.Cerca("Valore");
  const Stampato* a = p.Cerca("2.5");
  const Stampato* b = p.Cerca("10.0");
  ASSERT_TRUE(testa && a && b);
  EXPECT_DOUBLE_EQ(testa->x + 36, a->x + 18);
  EXPECT_DOUBLE_EQ(a->x + 18, b->x + 24);
  EXPECT_TRUE(testa->grassetto);
  EXPECT_TRUE(p.Cerca("N.")->grassetto);
  EXPECT_FALSE(a->grassetto);
  EXPECT_FALSE(p.grassetto);
  // Column 1 holds text and whole numbers: its cells stay as written.
  EXPECT_NE(p.Cerca("1"), nullptr);
}

TEST_F(Stampa, WhatIsWiderThanTheTextAreaStartsAtTheLeftMargin) {
  // The text area is 566 - 112 = 454 points wide: a centred table of 700 points, a right-aligned line of 498, a
  // centred one of 480, the header and the footer start at the left margin; the table's columns keep their widths
  // and gaps.
  p.larghezza = [](const QString& t) {
    if (t == "A" || t == "B") return 350 - 0.5 * kCm;
    return 6.0 * t.size();
  };
  Documento({"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER " + QString(90, 'h'), "#FOOTER " + QString(95, 'f'),
             "#TABSTYLE >>", "#CENTER", "#STARTTABLE", "A\tB", "#ENDTABLE", "#RIGHT", QString(83, 'r'), "#CENTER",
             QString(80, 'c'), QString(10, 'k'), "#ENDDOCUMENT"});
  ASSERT_TRUE(p.Cerca("A") && p.Cerca("B") && p.Cerca(QString(83, 'r')) && p.Cerca(QString(80, 'c')));
  ASSERT_TRUE(p.Cerca(QString(90, 'h')) && p.Cerca(QString(95, 'f')));
  EXPECT_DOUBLE_EQ(p.Cerca(QString(90, 'h'))->x, 56);
  EXPECT_DOUBLE_EQ(p.Cerca(QString(95, 'f'))->x, 56);
  EXPECT_NEAR(p.Cerca("A")->x, 56 + 0.25 * kCm, 1e-9);
  EXPECT_NEAR(p.Cerca("B")->x, 56 + 350 + 0.25 * kCm, 1e-9);
  EXPECT_DOUBLE_EQ(p.Cerca(QString(83, 'r'))->x, 56);
  EXPECT_DOUBLE_EQ(p.Cerca(QString(80, 'c'))->x, 56);
  // A line that fits is still centred.
  EXPECT_DOUBLE_EQ(p.Cerca(QString(10, 'k'))->x, 56 + (454 - 60) / 2.0);
}

// What would run off the paper even from the left margin: a line is printed in pieces broken at its blanks, each
// from the left margin, and a word wider than the page on its own is broken where it meets the page's edge; a table
// is set in a smaller font that ends it within the page width, also on the pages its rows run on to, and the body
// size comes back after it. A line that fits the page width stays whole.
TEST_F(Stampa, NothingRunsOffThePaper) {
  p.larghezza = [this](const QString& t) { return 0.5 * p.dimensione * t.size(); };
  const QString titolo = "RELAZIONE GEOMECCANICA CAVA DI MONTE ROSSO FRONTE EST GRADONE DUE QUOTA 405 M 25";
  const QString media = QString(67, 'm');  // 502.5 points: wider than the text area (454), within the page (510)
  const QString parola = QString(40, 'a') + QString(40, 'b') + QString(40, 'c');  // 900 points, no blank
  const QString piede(95, 'f');  // 570 points in the base font
  QStringList righe{"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER Program FRATTIX", "#FOOTER " + piede, "#CENTER",
                    "#FONTSIZE 15", titolo, media, "Il " + parola + " ok", "#FONTSIZE 12", "#STARTTABLE",
                    "N. Fam.\tImmers. [gradi]\tInclinaz. [gradi]\tApertura [mm]\tFrequenza [1/m]\tPhi [gradi]\t"
                    "Coesione [kN/m2]"};
  for (int i = 1; i <= 80; ++i) righe << QString("%1\t213.0\t81.0\t2.6\t1.79\t35.00\t20.00").arg(i);
  righe << "#ENDTABLE" << "Dopo" << "#ENDDOCUMENT";
  Documento(righe);

  // The title, then the line with the word: every word once and in order, on lines that start at the left margin
  // and end within the page; the word in pieces of the page's 68 characters, "ok" after its last.
  QStringList parole, pezzi;
  bool dopoMedia = false;
  for (const Stampato& s : p.stampati) {
    if (s.dimensione != 15) continue;
    if (s.testo == media) {
      dopoMedia = true;
      EXPECT_DOUBLE_EQ(s.x, 56);
      continue;
    }
    EXPECT_DOUBLE_EQ(s.x, 56) << s.testo.toStdString();
    EXPECT_LE(s.x + 0.5 * 15 * s.testo.size(), 566) << s.testo.toStdString();
    (dopoMedia ? pezzi : parole) << s.testo;
  }
  EXPECT_TRUE(dopoMedia);
  EXPECT_EQ(parole.join(' ').split(' '), titolo.split(' '));
  EXPECT_EQ(pezzi, (QStringList{"Il", parola.left(68), parola.mid(68) + " ok"}));

  // The table: within the page on both pages, in one smaller size; the line after it in the body size again.
  ASSERT_EQ(p.pagina, 2);
  int pagine[3] = {0, 0, 0};
  for (const Stampato& s : p.stampati)
    if (s.testo == "20.00" || s.testo == "Coesione [kN/m2]") {
      EXPECT_LT(s.dimensione, 12);
      EXPECT_EQ(s.dimensione, p.Cerca("20.00")->dimensione);
      EXPECT_LE(s.x + 0.5 * s.dimensione * s.testo.size(), 566 + 1e-9) << s.pagina;
      ++pagine[s.pagina];
    }
  EXPECT_EQ(pagine[1] > 0 && pagine[2] > 1, true);
  ASSERT_NE(p.Cerca("Dopo"), nullptr);
  EXPECT_EQ(p.Cerca("Dopo")->dimensione, 12);
  EXPECT_EQ(p.Cerca("Program FRATTIX", 3)->dimensione, 12);
  // The footer of each page, in a smaller base font, from the left margin to within the page.
  int piedi = 0;
  for (const Stampato& s : p.stampati)
    if (s.testo == piede) {
      ++piedi;
      EXPECT_DOUBLE_EQ(s.x, 56);
      EXPECT_LE(s.x + 0.5 * s.dimensione * s.testo.size(), 566);
    }
  EXPECT_EQ(piedi, 2);
}

// A table that does not fit the page even at the smallest font (1 point) keeps that font, and the gaps between its
// columns narrow until it ends within the page; texts wider than the page on their own at that font take a smaller
// one still, and so does a footer. Every column is printed, in order, within the page.
TEST_F(Stampa, ATableTooWideEvenAtTheSmallestFontStaysOnThePaper) {
  p.larghezza = [this](const QString& t) { return 0.5 * p.dimensione * t.size(); };
  const QString piede(1200, 'f');  // 600 points at 1 point
  for (const int lunghezza : {6, 40}) {
    QStringList testa, riga;
    for (int c = 1; c <= 30; ++c) {
      testa << QString("C%1").arg(c).leftJustified(lunghezza, 'x');
      riga << QString::number(100 + c) + "." + QString(lunghezza - 4, '5');
    }
    p.stampati.clear();
    Documento({"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER", "#FOOTER " + piede, "#STARTTABLE", testa.join('\t'),
               riga.join('\t'), "#ENDTABLE", "Dopo", "#ENDDOCUMENT"});
    double x = 0, dimensione = 0;
    for (int c = 0; c < 30; ++c) {
      for (const QString& cella : {testa[c], riga[c]}) {
        const Stampato* s = p.Cerca(cella);
        ASSERT_NE(s, nullptr) << cella.toStdString();
        if (lunghezza == 6) EXPECT_EQ(s->dimensione, 1) << cella.toStdString();
        else EXPECT_LT(s->dimensione, 1) << cella.toStdString();
        if (dimensione == 0) dimensione = s->dimensione;
        EXPECT_EQ(s->dimensione, dimensione);
        EXPECT_GT(s->x, x) << cella.toStdString();
        EXPECT_LE(s->x + 0.5 * s->dimensione * cella.size(), 566 + 1e-9) << cella.toStdString();
      }
      x = p.Cerca(testa[c])->x;
    }
    EXPECT_EQ(p.Cerca("Dopo")->dimensione, 12);
    ASSERT_NE(p.Cerca(piede), nullptr);
    EXPECT_LE(p.Cerca(piede)->x + 0.5 * p.Cerca(piede)->dimensione * piede.size(), 566 + 1e-9);
  }
}

TEST_F(Stampa, TabStyleAlignsColumnsLeftOrRight) {
  QStringList righe{"#RESET 2,2,2,2,2,2,12,Arial", "#TABSTYLE =LL", "#STARTTABLE"};
  QStringList testa, riga;
  for (int c = 1; c <= 27; ++c) {
    testa << QString("h%1").arg(c);
    riga << QString("v%1xx").arg(c);
  }
  righe << testa.join('\t') << riga.join('\t') << "#ENDTABLE";
  Documento(righe);
  // Each column: its two cells share the left edge (left-aligned) or the right edge (right-aligned).
  for (int c : {1, 2, 3, 23, 24, 25, 26, 27}) {
    const Stampato* h = p.Cerca(QString("h%1").arg(c));
    const Stampato* v = p.Cerca(QString("v%1xx").arg(c));
    ASSERT_TRUE(h && v) << c;
    if (c >= 3 && c <= 25) {
      EXPECT_DOUBLE_EQ(h->x + p.TextWidth(h->testo), v->x + p.TextWidth(v->testo)) << c;
    } else {
      EXPECT_DOUBLE_EQ(h->x, v->x) << c;
    }
  }
}

TEST_F(Stampa, ALongTableRepeatsItsHeadRowOnEveryPage) {
  QStringList righe{"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER Program FRATTIX", "#STARTTABLE", "N.\tValore"};
  for (int i = 1; i <= 120; ++i) righe << QString("%1\t%2").arg(i).arg(i * 1.5);
  righe << "#ENDTABLE" << "#ENDDOCUMENT";
  Documento(righe);
  ASSERT_EQ(p.pagina, 3);
  for (int pagina = 1; pagina <= 3; ++pagina) {
    QStringList testi;
    for (const Stampato& s : p.stampati)
      if (s.pagina == pagina) testi << s.testo;
    ASSERT_GE(testi.size(), 4) << pagina;
    EXPECT_EQ(testi.mid(0, 3), (QStringList{"Program FRATTIX", "N.", "Valore"})) << pagina;
    EXPECT_EQ(testi.count("Valore"), 1) << pagina;
  }
  // No row begins below the text limit; every row is printed once, the last one on the last page.
  for (const Stampato& s : p.stampati)
    if (s.testo != "Program FRATTIX") {
      EXPECT_LE(s.y, 813 - 56 - 56 - 12 + 12) << s.testo.toStdString();
    }
  EXPECT_EQ(p.Testi().count("180.0"), 1);
  EXPECT_EQ(p.Cerca("180.0")->pagina, 3);
}

TEST_F(Stampa, ATableLongerThanTheCellGridStaysOneTable) {
  // 700 rows come from the markup core in two parts. Wherever the table starts on its first page, every page it
  // runs on begins with its head row, once, and no row is lost or doubled.
  for (int prima = 0; prima < 48; ++prima) {
    p = StampanteFinta();
    QStringList righe{"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER H"};
    for (int i = 0; i < prima; ++i) righe << "testo";
    righe << "#STARTTABLE" << "N.\tValore";
    for (int i = 1; i <= 700; ++i) righe << QString("%1\tv%1").arg(i);
    righe << "#ENDTABLE" << "#ENDDOCUMENT";
    Documento(righe);
    for (int i = 1; i <= 700; ++i) ASSERT_EQ(p.Testi().count(QString("v%1").arg(i)), 1) << prima << " " << i;
    const int pagine = p.pagina;
    ASSERT_EQ(p.Testi().count("H"), pagine) << prima;
    std::vector<int> teste(static_cast<std::size_t>(pagine) + 1, 0);
    for (const Stampato& s : p.stampati) {
      if (s.testo == "Valore") ++teste[static_cast<std::size_t>(s.pagina)];
      // A data row on a page without the head row above it.
      if (s.testo.startsWith('v')) {
        ASSERT_EQ(teste[static_cast<std::size_t>(s.pagina)], 1) << prima << " " << s.pagina;
      }
    }
  }
}

TEST_F(Stampa, NewParagraphBreaksOnlyWhenTooLittleRoomIsLeft) {
  QStringList righe{"#RESET 2,2,2,2,2,2,12,Arial", "#HEADER H"};
  // Limit 813 - 56 - 56 - 12 = 689; the first line is at 124, each line 12 points lower.
  for (int i = 0; i < 40; ++i) righe << QString("r%1").arg(i);  // next line at 124 + 480 = 604
  righe << "#NEWPARAGRAPH 2" << "a" << "#NEWPARAGRAPH 3.5" << "b";
  Documento(righe);
  EXPECT_EQ(p.Cerca("a")->pagina, 1);  // 604 <= 689 - 56.7
  EXPECT_DOUBLE_EQ(p.Cerca("a")->y, 604);
  EXPECT_EQ(p.Cerca("b")->pagina, 2);  // 616 > 689 - 99.2
  EXPECT_DOUBLE_EQ(p.Cerca("b")->y, 124);
  // A "#NEWPAGE" always starts a page, with footer and header.
  Documento({"#NEWPAGE", "#ENDDOCUMENT"});
  EXPECT_EQ(p.pagina, 3);
  EXPECT_EQ(p.Testi().count("H"), 3);
}

TEST_F(Stampa, ListsWithLeaderDotsAndFontsThatMeasureNothing) {
  Documento({"#RESET 2,2,2,2,2,2,12,Arial", "#STARTLIST", "Coesione [kN/m²]\t25", "Altezza\t9.81", "#ENDLIST"});
  const Stampato* etichetta = p.Cerca("Altezza ");
  ASSERT_EQ(etichetta, nullptr);  // the short label is followed by dots
  QString punti;
  for (const Stampato& s : p.stampati)
    if (s.testo.startsWith("Altezza")) punti = s.testo;
  // Dots up to 0.5 cm beyond the widest label (16 characters, 96 points).
  EXPECT_TRUE(punti.startsWith("Altezza ...")) << punti.toStdString();
  EXPECT_GE(6.0 * punti.size(), 96 + 0.5 * kCm);
  EXPECT_LT(6.0 * (punti.size() - 1), 96 + 0.5 * kCm);
  EXPECT_DOUBLE_EQ(p.Cerca("25.00")->x + 30, p.Cerca("9.81")->x + 24);
  for (const Stampato& s : p.stampati) EXPECT_FALSE(s.grassetto);

  // A font that measures a point and a blank as 0 wide: the dots end; sizes of 0 or less are never set.
  p.larghezza = [](const QString& t) { return 6.0 * QString(t).remove('.').remove(' ').size(); };
  p.dimensioni.clear();
  Documento({"#FONTSIZE 0", "#FONTSIZE -3", "#FONTSIZE x", "#STARTLIST", "a\t1", "bbbbbb\t2", "#ENDLIST",
             "#FONTSIZE 10", "#ENDDOCUMENT"});
  for (double d : p.dimensioni) EXPECT_GT(d, 0);
  // The footer is set in the base size; the body size comes back after it.
  EXPECT_EQ(p.dimensioni.mid(p.dimensioni.size() - 3), (QList<double>{10, 12, 10}));
  EXPECT_NE(p.Cerca("a "), nullptr);
  EXPECT_EQ(p.fini, 1);
}

TEST_F(Stampa, ADocumentWithoutEndIsFinishedAtTheEndOfTheFile) {
  Documento({"#RESET 1.5", "#FOOTER piede", "testo"});
  EXPECT_EQ(p.font, "");  // an empty font name is not given to the printer
  EXPECT_TRUE(p.dimensioni.isEmpty());  // nor a size of 0
  EXPECT_EQ(p.fini, 0);
  EXPECT_TRUE(FineDocumentoStampa());
  EXPECT_EQ(p.fini, 1);
  EXPECT_EQ(p.Testi().last(), "piede");
  EXPECT_DOUBLE_EQ(p.Cerca("testo")->x, 42);
  // A file without "#RESET" prints nothing.
  Documento({"testo", "#ENDDOCUMENT"});
  EXPECT_TRUE(FineDocumentoStampa());
  EXPECT_EQ(p.fini, 1);
}

// ---------------------------------------------------------------------------------------------------------------

// A document longer than every buffer of the renderers: a list of 2,600 rows and a table of 1,200 whose value
// column has one decimal down to row 1,099 and five in row 1,100.
class DocumentoLungo : public report_test::Report {
 protected:
  void SetUp() override {
    Report::SetUp();
    AzzeraStampa();
    ImpostaStampanteDocumento(&p);
    QString d = "#RESET 2,2,2,2,2,2,12,Arial\n#HEADER Program FRATTIX\n#STARTLIST\n";
    for (int k = 1; k <= kVoci; ++k) d += QString("Voce %1\t%2\n").arg(k).arg(k * 0.25);
    d += "#ENDLIST\n\n#STARTTABLE\nN.\tValore\tNota\n";
    for (int k = 1; k <= kRighe; ++k) d += QString("%1\t%2\tn%1\n").arg(k).arg(k == 1100 ? "0.50000" : QString("%1.5").arg(k % 9));
    WriteAnsi(t.D("lungo.tab"), d + "#ENDTABLE\n#ENDDOCUMENT\n");
  }
  void TearDown() override {
    ImpostaStampanteDocumento(nullptr);
    AzzeraStampa();
    Report::TearDown();
  }
  // The numbers k that `testi` show in the capture of `modello` (one group), in order.
  static QList<int> Numeri(const QStringList& testi, const QString& modello) {
    const QRegularExpression re(modello);
    QList<int> n;
    for (const QString& s : testi)
      if (const auto m = re.match(s); m.hasMatch()) n << m.captured(1).toInt();
    return n;
  }
  static QList<int> DaUnoA(int n) {
    QList<int> l;
    for (int k = 1; k <= n; ++k) l << k;
    return l;
  }
  static constexpr int kVoci = 2600, kRighe = 1200;
  StampanteFinta p;
};

TEST_F(DocumentoLungo, EveryRowInEveryFormAndOneLayoutPerTable) {
  // Printed: every label and every row once, whatever part of the list or table it falls in.
  StampaDocumento(t.D("lungo.tab"));
  const QStringList stampati = p.Testi();
  EXPECT_EQ(Numeri(stampati, "^Voce (\\d+) \\.+$"), DaUnoA(kVoci));
  EXPECT_EQ(Numeri(stampati, "^n(\\d+)$"), DaUnoA(kRighe));
  // One layout: every value with the five decimals of row 1,100, every column ending where it ends on the first
  // page.
  EXPECT_EQ(stampati.filter(QRegularExpression("^\\d\\.50000$")).size(), kRighe);
  QMap<QString, QSet<double>> bordi;
  for (const Stampato& s : p.stampati) {
    const double destra = s.x + p.TextWidth(s.testo);
    if (QRegularExpression("^Voce \\d+ \\.+$").match(s.testo).hasMatch()) bordi["etichette"] << destra;
    else if (QRegularExpression("^n\\d+$").match(s.testo).hasMatch()) bordi["note"] << destra;
    else if (QRegularExpression("^\\d\\.5(0000)?$").match(s.testo).hasMatch()) bordi["valori"] << destra;
  }
  for (auto it = bordi.cbegin(); it != bordi.cend(); ++it) EXPECT_EQ(it.value().size(), 1) << it.key().toStdString();

  // Previewed: the same rows, and the rows of each table and list end together.
  {
    Scripted guardia(t, "");
    AnteprimaDocumento(t.D("lungo.tab"));
  }
  Form1* f = qobject_cast<Form1*>(plat::LoadedForm("Form1"));
  ASSERT_NE(f, nullptr);
  QStringList voci;
  for (int i = 0; i < f->List1->count(); ++i) voci << f->List1->item(i)->text();
  EXPECT_EQ(Numeri(voci, "^Voce (\\d+) \\.+ *\\d+\\.\\d\\d$"), DaUnoA(kVoci));
  EXPECT_EQ(Numeri(voci, " \\d\\.50000 +n(\\d+)$"), DaUnoA(kRighe));
  const double spazio = f->LarghezzaTesto(" ");
  for (const QString& modello : {QString("^Voce \\d+ "), QString(" n\\d+$")}) {
    const QStringList righe = voci.filter(QRegularExpression(modello));
    ASSERT_FALSE(righe.isEmpty());
    const double prima = f->LarghezzaTesto(righe.first());
    for (const QString& r : righe) ASSERT_NEAR(f->LarghezzaTesto(r), prima, spazio) << r.toStdString();
  }

  // As text: every row as written.
  EsportaDocumentoTXT(t.D("lungo.tab"));
  EXPECT_EQ(FileAperto(), t.D("lungo.txt"));
  const QStringList testo = LeggiUtf8(t.D("lungo.txt")).split('\n');
  EXPECT_EQ(Numeri(testo, "^Voce (\\d+)\\t"), DaUnoA(kVoci));
  EXPECT_EQ(Numeri(testo, "^\\d+\\t\\d\\.5\\d*\\tn(\\d+)$"), DaUnoA(kRighe));

  // As a Word document: Word tables of 500 rows, each part of the table under its head row, every row once and in
  // the decimals of the whole table.
  t.AddPrograms({"wenlow"});
  WriteAnsi(t.P("language.cfg"), " 1 \n");
  const auto r = testing_support::RunProgram(t.P("wenlow"), {t.D("lungo.tab")}, t.Data(),
                                             testing_support::ScriptedRunEnvironment(t, ""), 180000);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  QString errore;
  const QJsonArray tabelle = docexport_test::Tabelle(docexport_test::LeggiDocx(t.D("lungo.DOC"), &errore));
  ASSERT_EQ(tabelle.size(), 6 + 3) << errore.toStdString();
  QList<QStringList> lista, tabella;
  for (int k = 0; k < tabelle.size(); ++k) {
    const QList<QStringList> parte = docexport_test::Testi(tabelle[k].toObject());
    ASSERT_LE(parte.size(), 500);
    if (k < 6) {
      lista += parte;
    } else {
      ASSERT_EQ(parte.value(0), (QStringList{"N.", "Valore", "Nota"}));
      tabella += k == 6 ? parte : parte.mid(1);
    }
  }
  ASSERT_EQ(lista.size(), kVoci);
  ASSERT_EQ(tabella.size(), kRighe + 1);
  for (int k = 1; k <= kVoci; ++k) ASSERT_EQ(lista[k - 1].value(0), QString("Voce %1").arg(k));
  for (int k = 1; k <= kRighe; ++k) {
    ASSERT_EQ(tabella[k].value(2), QString("n%1").arg(k));
    ASSERT_TRUE(tabella[k].value(1).endsWith(".50000")) << tabella[k].value(1).toStdString();
  }
}

}  // namespace
