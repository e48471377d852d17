// Set-up of a plot: pen tables, page window and margins, the fit of the page to the preview.
#include "tests/plot/fixture.h"

#include "common/platform/textio.h"

#include <QFile>

using namespace plot_test;
using testing_support::WriteAnsi;

namespace {

TEST_F(PlotTest, InstalledPenTablesHoldThirtyPensFifteenColoursAndMarginsInEveryLanguage) {
  for (const char* lingua : {"ITA", "DEU", "FRA", "ESP", "ENG", "POR"}) {
    SCOPED_TRACE(lingua);
    const QString file = folder->P(QStringLiteral("korven%1.CFG").arg(QLatin1String(lingua)));
    QString errore;
    ASSERT_TRUE(LeggiTabellaPenne(file, &errore)) << errore.toStdString();
    EXPECT_EQ(testing_support::ReadAnsi(file).count(QLatin1Char('\n')), 152);
    // Titles are black: drawn (a value of 0 would mean "not drawn"), on the DXF layer of black and white.
    EXPECT_NE(Grafico.PenneGrafico[1].Colore, 0);
    EXPECT_EQ(StratoColore(Grafico.PenneGrafico[1].Colore), 15);
    for (int p : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 30}) {
      EXPECT_NE(Grafico.PenneGrafico[p].Colore, 0) << p;
      EXPECT_GT(Grafico.PenneGrafico[p].Spessore, 0) << p;
      EXPECT_EQ(Grafico.PenneGrafico[p].Carattere, QStringLiteral("Arial")) << p;
    }
    // Wedges by factor of safety and the families are told apart by colour.
    EXPECT_NE(Grafico.PenneGrafico[10].Colore, Grafico.PenneGrafico[12].Colore);
    EXPECT_NE(Grafico.PenneGrafico[16].Colore, Grafico.PenneGrafico[17].Colore);
    EXPECT_EQ(Grafico.MarginiGrafico.Sinistro, 0);
    EXPECT_EQ(Grafico.MarginiGrafico.Superiore, 0);
  }
}

TEST_F(PlotTest, PenTableValuesBecomePensAndMarginsWidenThePageOnce) {
  WriteAnsi(folder->P("korvenITA.CFG"), TabellaPenne(2, 3, "1\n2\n"));
  Pagina();
  EXPECT_DOUBLE_EQ(Grafico.PenneGrafico[7].Spessore, 0.3);
  EXPECT_EQ(Grafico.PenneGrafico[7].Colore, 0x0000FF);
  EXPECT_EQ(Grafico.PenneGrafico[0].Colore, 0);
  const Finestra& p = Grafico.FinestraPagina;
  EXPECT_DOUBLE_EQ(p.X1, 0);
  EXPECT_DOUBLE_EQ(p.X2, 20.4);
  EXPECT_DOUBLE_EQ(p.Y1, -2);
  EXPECT_DOUBLE_EQ(p.Y2, 27.7);

  // Zooming twice and returning to the whole page shows the page window as first set up.
  RidisegnaZoom(2, 3, 8, 9);
  RidisegnaZoom(3, 4, 5, 6);
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.X2, 5);
  RidisegnaTutto();
  EXPECT_DOUBLE_EQ(Grafico.FinestraPagina.X2, 20.4);
  EXPECT_DOUBLE_EQ(Grafico.FinestraPagina.Y1, -2);
  RidisegnaTutto();
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.X2, 20.4);
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.Y1, -2);
}

TEST_F(PlotTest, PenTableWithoutMarginsLeavesThePageAsGiven) {
  QString t = TabellaPenne(1, 2);
  WriteAnsi(folder->P("korvenITA.CFG"), t);
  Pagina();
  EXPECT_EQ(Grafico.MarginiGrafico.Sinistro, 0);
  EXPECT_DOUBLE_EQ(Grafico.FinestraPagina.X2, 19.4);
  EXPECT_DOUBLE_EQ(Grafico.FinestraPagina.Y1, 0);
}

// Colour 0 is an element that is not drawn; a colour number that names none of the 15 colours is damage of the pen
// table, told with the table as it is named on disk and the line, and the plot does not start. Pens outside the
// range of the table are taken as the nearest pen.
TEST_F(PlotTest, ColourZeroDrawsNothingAndAColourNumberOutsideTheTableIsDamage) {
  QString t = TabellaPenne(3, 1);
  t.replace(QStringLiteral("Penna 4\n3\n"), QStringLiteral("Penna 4\n0\n"));
  WriteAnsi(folder->P("korvenITA.CFG"), t);
  Pagina();
  EXPECT_EQ(Grafico.PenneGrafico[3].Colore, 0x00FF00);
  EXPECT_EQ(Grafico.PenneGrafico[4].Colore, 0);
  for (const char* colore : {"16", "22", "99", "-1", "-4", "1.5", "1e308", "3 4", "3,4"}) {
    SCOPED_TRACE(colore);
    WriteAnsi(folder->P("korvenITA.CFG"), QString(t).replace("Penna 5\n3\n", QString("Penna 5\n%1\n").arg(colore)));
    QFile::remove(folder->D("ui.log"));
    Script("answer OK\n");
    EXPECT_THROW(Pagina(), Ended);
    const QStringList m = Log().filter("\tmsgbox\t");
    ASSERT_EQ(m.size(), 1);
    // Element 5 begins on line 17: its colour number is line 18.
    EXPECT_TRUE(m[0].contains("La tabella delle penne manca o e' incompleta:\\nkorvenITA.CFG, riga 18\\n"))
        << m[0].toStdString();
  }
  WriteAnsi(folder->P("korvenITA.CFG"), t);
  Pagina();

  int penna = 35;
  SelezionaPennaTabella(penna);
  EXPECT_EQ(penna, 30);
  EXPECT_EQ(Grafico.PennaCorrente.Colore, 0x00FF00);
  penna = -3;
  SelezionaPenna(penna, 0x123456);
  EXPECT_EQ(penna, 0);
  EXPECT_EQ(Grafico.PennaCorrente.Colore, 0x123456);
  EXPECT_EQ(Grafico.PennaCorrente.Spessore, 0);
}

TEST_F(PlotTest, MissingOrShortPenTableEndsTheProgramWithAMessage) {
  Script("answer OK\nanswer OK\n");
  // Italian is the end of the fallback chain: nothing to fall back to.
  plat::DeleteFile(folder->P("korvenITA.CFG"));
  EXPECT_THROW(Pagina(), Ended);
  QString t = TabellaPenne(1, 1);
  t.chop(t.size() - t.lastIndexOf(QStringLiteral("Colore 15")));
  WriteAnsi(folder->P("korvenITA.CFG"), t);
  EXPECT_THROW(Pagina(), Ended);
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 2);
  EXPECT_TRUE(log.at(0).contains("La tabella delle penne manca o e' incompleta:")) << log.at(0).toStdString();
  EXPECT_TRUE(log.at(1).contains("korvenITA.CFG", Qt::CaseInsensitive));
  EXPECT_TRUE(log.at(1).contains("ATTENZIONE!"));
}

TEST_F(PlotTest, PenTableOfAMissingLanguageFallsBackAsTheMainProgramDoes) {
  Avvio.CodiceLingua = QStringLiteral("deu");
  plat::DeleteFile(folder->P("korvenDEU.CFG"));
  EXPECT_TRUE(FileTabellaPenne().endsWith("korvenENG.CFG", Qt::CaseInsensitive));
  Avvio.CodiceLingua = QStringLiteral("por");
  EXPECT_TRUE(FileTabellaPenne().endsWith("korvenPOR.CFG", Qt::CaseInsensitive));
  plat::DeleteFile(folder->P("korvenPOR.CFG"));
  EXPECT_TRUE(FileTabellaPenne().endsWith("korvenESP.CFG", Qt::CaseInsensitive));
  Pagina();
  EXPECT_NE(Grafico.PenneGrafico[1].Colore, 0);
}

TEST_F(PlotTest, RedrawKeepsPenTableAndDisplayListWithoutReadingTheFile) {
  WriteAnsi(folder->P("korvenITA.CFG"), TabellaPenne(2, 1));
  Pagina();
  int penna = 1;
  SelezionaPennaTabella(penna);
  Traccia(1, 1, 3);
  Traccia(5, 5, 2);
  DisegnaSimbolo(2, 2, 0.5, "testo", 0, 5);
  plat::DeleteFile(folder->P("korvenITA.CFG"));
  InizioGrafico(0, QString(), 1, 1, 6, 6, 1);
  EXPECT_TRUE(Grafico.RidisegnoInCorso);
  EXPECT_EQ(Grafico.NumeroSegmenti, 1);
  EXPECT_EQ(Grafico.NumeroScritte, 1);
  EXPECT_EQ(Grafico.PenneGrafico[1].Colore, 0x0000FF);
  // Nothing drawn after a redraw is recorded.
  SelezionaPennaTabella(penna);
  Traccia(6, 6, 2);
  EXPECT_EQ(Grafico.NumeroSegmenti, 1);
}

TEST(AdattaFinestra, TallPageOnAWideAreaIsScaledByItsHeightAndTheAreaShowsMoreToTheRight) {
  // 19.4 x 27.7 cm with a top margin of 2 cm, on 1920 x 1014 pixels.
  const Adattamento a = AdattaFinestra({0, -2, 19.4, 27.7}, 1920, 1014, 6 * 33);
  EXPECT_DOUBLE_EQ(a.Scala.Y, 1014 / 29.7);
  EXPECT_DOUBLE_EQ(a.Scala.X, a.Scala.Y);
  EXPECT_DOUBLE_EQ(a.Immagine.Sinistra, 0);
  EXPECT_DOUBLE_EQ(a.Immagine.Basso, -2);
  EXPECT_DOUBLE_EQ(a.Immagine.Alto, 27.7);
  EXPECT_NEAR(a.Immagine.Destra, 1920 / a.Scala.X, 1e-9);
}

TEST(AdattaFinestra, WidePageIsScaledByItsWidthAndANarrowOneGrowsToTheMinimumWidth) {
  const Adattamento larga = AdattaFinestra({0, 0, 40, 10}, 800, 600, 198);
  EXPECT_DOUBLE_EQ(larga.Scala.X, 20);
  EXPECT_DOUBLE_EQ(larga.Scala.Y, 20);
  EXPECT_DOUBLE_EQ(larga.Immagine.Destra, 40);
  EXPECT_DOUBLE_EQ(larga.Immagine.Alto, 30);

  // 1 cm wide and 30 cm high on 600 pixels: 20 pixels wide at that scale, less than 198.
  const Adattamento stretta = AdattaFinestra({0, 0, 1, 30}, 800, 600, 198);
  EXPECT_DOUBLE_EQ(stretta.Scala.Y, 20);
  EXPECT_DOUBLE_EQ(stretta.Scala.X, 20);
  EXPECT_DOUBLE_EQ(stretta.Immagine.Destra, 40);
}

}  // namespace
