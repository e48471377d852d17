// Replay of the display list on the preview surface: the whole page, zoom windows, widths, order, texts.
#include "tests/plot/fixture.h"

#include "common/platform/gdi.h"
#include "common/plot/interno.h"

#include <QLineF>

#include <cmath>
#include <random>
#include <vector>

using namespace plot_test;
using testing_support::ReadAnsi;
using testing_support::WriteAnsi;

namespace {

const QRgb kRosso = qRgb(255, 0, 0);
const QRgb kVerde = qRgb(0, 255, 0);
const QRgb kBlu = qRgb(0, 0, 255);
const QRgb kNero = qRgb(0, 0, 0);

class Ridisegno : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    // Pen 1 black, pen 2 red, pen 3 green, pen 4 blue; 0.1 mm thick; no margins.
    QString t = TabellaPenne(1, 0.1);
    for (int p = 2; p <= 4; ++p) t.replace(QStringLiteral("Penna %1\n1\n").arg(p), QStringLiteral("Penna %1\n%1\n").arg(p));
    WriteAnsi(folder->P("korvenITA.CFG"), t);
    Pagina();
  }
  static void Linea(int penna, double x1, double y1, double x2, double y2) {
    SelezionaPennaTabella(penna);
    Traccia(x1, y1, 3);
    Traccia(x2, y2, 2);
  }
};

TEST_F(Ridisegno, TheWholePageIsReplayedFromTheChunkFiles) {
  Linea(2, 2, 10, 8, 10);
  Linea(4, 12, 4, 12, 20);
  int p = 1;
  SelezionaPennaTabella(p);
  DisegnaSimbolo(10, 24, 1, "TITOLO", 0, -2);
  Traccia(0, 0, 999);
  ASSERT_EQ(Grafico.NumeroBlocchi, 1);
  Superficie()->Cls();
  EXPECT_FALSE(ColoreVicino(5, 10, kRosso));
  RidisegnaTutto();
  EXPECT_TRUE(ColoreVicino(3, 10, kRosso));
  EXPECT_TRUE(ColoreVicino(7, 10, kRosso));
  EXPECT_TRUE(ColoreVicino(12, 5, kBlu));
  EXPECT_TRUE(ColoreVicino(12, 19, kBlu));
  EXPECT_FALSE(ColoreVicino(5, 12, kRosso));
  // The text centred on its point, as it was drawn.
  EXPECT_GT(Inchiostro(8, 24, 10, 24.9, kNero), 20);
  EXPECT_GT(Inchiostro(10, 24, 12, 24.9, kNero), 20);
  EXPECT_EQ(Inchiostro(14, 24, 16, 24.9, kNero), 0);
  // The page outline of the printer is drawn again, in the lighter grey of a redraw.
  bool contorno = false;
  for (double y = 1; y < 29 && !contorno; y += 0.1) contorno = ColoreVicino(21, y, qRgb(210, 210, 210), 1);
  EXPECT_TRUE(contorno);

  // The file, not the memory, is what the replay draws: a segment changed in the file comes back changed.
  QString testo = ReadAnsi(FileBloccoSegmenti(1));
  testo.replace("\n255\n", "\n65280\n");
  WriteAnsi(FileBloccoSegmenti(1), testo);
  RidisegnaTutto();
  EXPECT_TRUE(ColoreVicino(5, 10, kVerde));
  EXPECT_FALSE(ColoreVicino(5, 10, kRosso));
}

// A plot of many texts: the whole page and a zoom window show every text of the first drawing, the last of 3,000
// too.
TEST_F(Ridisegno, EveryTextOfThePlotComesBackOnTheWholePageAndInAZoom) {
  int p = 1;
  SelezionaPennaTabella(p);
  for (int i = 1; i <= 3000; ++i) DisegnaSimbolo(1 + (i % 10) * 0.2, 1 + (i / 10) * 0.05, 0.1, "t", 0, 1);
  p = 2;
  SelezionaPennaTabella(p);
  DisegnaSimbolo(12, 22, 1.5, "MMM", 0, 3);
  Traccia(0, 0, 999);
  ASSERT_GT(Inchiostro(12, 22, 15, 23, kRosso), 20);
  Superficie()->Cls();
  RidisegnaTutto();
  EXPECT_GT(Inchiostro(12, 22, 15, 23, kRosso), 20);
  RidisegnaZoom(10, 20, 16, 26);
  EXPECT_GT(Inchiostro(12, 22, 15, 23, kRosso), 20);
}

TEST_F(Ridisegno, AZoomWindowFillsTheSurfaceAndTheWholePageComesBack) {
  Linea(2, 2, 10, 8, 10);
  Linea(3, 2, 11, 8, 11);
  Traccia(0, 0, 999);
  RidisegnaZoom(4, 8, 6, 12);
  EXPECT_TRUE(Grafico.ZoomInCorso);
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.X1, 4);
  const QSize area = Superficie()->ImageSize();
  // The zoom window's height fills the surface: 4 cm over its height in pixels.
  EXPECT_NEAR(Grafico.ScalaGrafico.Y, area.height() / 4.0, 1e-9);
  EXPECT_NEAR(Superficie()->ToPixels(4, 12).y(), 0, 1e-6);
  EXPECT_NEAR(Superficie()->ToPixels(4, 8).y(), area.height(), 1e-6);
  EXPECT_TRUE(ColoreVicino(4.1, 10, kRosso));
  EXPECT_TRUE(ColoreVicino(5.9, 10, kRosso));
  EXPECT_TRUE(ColoreVicino(5, 11, kVerde));
  EXPECT_FALSE(ColoreVicino(5, 10.5, kRosso, 5));
  // The two lines are a centimetre apart: far apart at this scale.
  EXPECT_GT(Superficie()->ToPixels(5, 10).y() - Superficie()->ToPixels(5, 11).y(), 100);

  RidisegnaTutto();
  EXPECT_FALSE(Grafico.ZoomInCorso);
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.Y2, 27.7);
  EXPECT_LT(Superficie()->ToPixels(5, 10).y() - Superficie()->ToPixels(5, 11).y(), 40);
  EXPECT_TRUE(ColoreVicino(5, 10, kRosso));
}

TEST_F(Ridisegno, ReplayedWidthsRoundUpAndAZeroWidthIsOnePixel) {
  Linea(2, 2, 10, 8, 10);
  Traccia(0, 0, 999);
  const double scala = (Grafico.ScalaGrafico.X + Grafico.ScalaGrafico.Y) / 2;
  Grafico.NumeroBlocchi = 0;  // replay from memory for the test
  Grafico.ListaSegmenti[1].Spessore = 1.2 / scala;
  RidisegnaTutto();
  EXPECT_EQ(Superficie()->DrawWidth(), 2);
  Grafico.ListaSegmenti[1].Spessore = 0;
  RidisegnaTutto();
  EXPECT_EQ(Superficie()->DrawWidth(), 1);
  // The live drawing rounds the same width to the nearest pixel.
  int p = 2;
  SelezionaPennaTabella(p);
  Grafico.PennaCorrente.Spessore = 1.2 / scala;
  Traccia(3, 3, 2);
  EXPECT_EQ(Superficie()->DrawWidth(), 1);
}

TEST_F(Ridisegno, SegmentsAreReplayedInTheOrderDrawnAcrossChunks) {
  Linea(2, 2, 10, 8, 10);
  for (int i = 0; i < DimensioneBlocco - 1; ++i) Linea(3, 1, 1, 1.5, 1.5);
  Linea(4, 2, 10, 8, 10);
  Traccia(0, 0, 999);
  ASSERT_EQ(Grafico.NumeroBlocchi, 2);
  Superficie()->Cls();
  RidisegnaTutto();
  EXPECT_TRUE(ColoreVicino(5, 10, kBlu, 0));
  EXPECT_FALSE(ColoreVicino(5, 10, kRosso, 1));
}

TEST_F(Ridisegno, PolygonsAreFilledBeforeTheSegments) {
  Linea(2, 2, 10, 8, 10);
  Traccia(0, 0, 999);
  Grafico.ListaPoligoni.push_back({{QPointF(4, 8), QPointF(6, 8), QPointF(6, 12), QPointF(4, 12)}, 0xFF0000});
  RidisegnaTutto();
  EXPECT_TRUE(ColoreVicino(5, 9, kBlu, 0));
  EXPECT_TRUE(ColoreVicino(5, 10, kRosso, 1));
  EXPECT_FALSE(ColoreVicino(7, 9, kBlu, 2));
}

// The replay as each segment drawn on its own with Line, the outline of the page first, as the redraw does.
QImage SegmentoPerSegmento() {
  plat::DrawingSurface* p = FinestraGrafica()->Picture7;
  p->Cls();
  ContornoPagina(plat::RgbValue(210, 210, 210));
  const double scala = (Grafico.ScalaGrafico.X + Grafico.ScalaGrafico.Y) / 2.0;
  PercorriSegmenti([&](const Segmento& s) {
    const double w = std::ceil(s.Spessore * scala);
    p->SetDrawWidth(s.Spessore == 0 || !(w >= 1) ? 1 : static_cast<int>(w));
    p->Line(s.X1, s.Y1, s.X2, s.Y2, s.Colore);
  });
  return p->Image().copy();
}

TEST_F(Ridisegno, TheRedrawGivesThePixelsOfEverySegmentDrawnOnItsOwn) {
  // Curves of many short segments in four pens, lines that meet at sharp angles, a pen taken up again, jumps
  // within one pen, segments far outside the page, over two chunks; widths of 1 to 4 pixels.
  std::mt19937 caso(7);
  std::uniform_real_distribution<double> u(0, 1);
  for (int k = 0; k < 40; ++k) {
    int penna = 1 + k % 4;
    SelezionaPennaTabella(penna);
    double x = 1 + 17 * u(caso), y = 1 + 25 * u(caso), a = 6.28 * u(caso);
    Traccia(x, y, 3);
    const bool spezzata = k % 5 == 0;
    for (int j = 0; j < 60; ++j) {
      a += spezzata ? (u(caso) - 0.5) * 3 : 0.08;
      x += std::cos(a) * (spezzata ? 0.4 : 0.12);
      y += std::sin(a) * (spezzata ? 0.4 : 0.12);
      Traccia(x, y, j % 17 == 16 ? 3 : 2);
    }
  }
  int p = 2;
  SelezionaPennaTabella(p);
  Traccia(-500, -300, 3);
  Traccia(600, 900, 2);
  Traccia(1e9, 5, 2);
  for (int i = 0; i < DimensioneBlocco; ++i) Traccia(10 + (i % 7) * 0.01, 14 + (i % 3) * 0.02, 2);
  Traccia(0, 0, 999);
  ASSERT_EQ(Grafico.NumeroBlocchi, 2);

  for (int vista = 0; vista < 3; ++vista) {
    SCOPED_TRACE(vista);
    if (vista == 1) RidisegnaZoom(6, 10, 12, 16);
    else RidisegnaTutto();
    if (vista == 2) {
      // Widths from the memory's list: four widths in turn, changing within runs of one colour too.
      PercorriSegmenti([](const Segmento&) {});
      const double scala = (Grafico.ScalaGrafico.X + Grafico.ScalaGrafico.Y) / 2.0;
      for (int i = 1; i <= Grafico.NumeroSegmenti; ++i) Grafico.ListaSegmenti[i].Spessore = (i / 23 % 4) / scala;
      Grafico.NumeroBlocchi = 0;
      RidisegnaTutto();
    }
    const QImage ridisegno = Superficie()->Image().copy();
    EXPECT_TRUE(ridisegno == SegmentoPerSegmento());
  }
}

TEST_F(Ridisegno, AWindowWithoutExtentIsShownAtTheSmallestZoom) {
  Linea(2, 2, 10, 8, 10);
  Traccia(0, 0, 999);
  RidisegnaZoom(0, 0, 0, 0);
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.X2, 0.5);
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.Y2, 0.5);
  EXPECT_TRUE(std::isfinite(Grafico.ScalaGrafico.X));
  RidisegnaZoom(5, 5, 5.1, 5 + 1e-9);
  EXPECT_TRUE(std::isfinite(Grafico.ScalaGrafico.Y));
  RidisegnaZoom(std::nan(""), 0, 1, 1);
  EXPECT_DOUBLE_EQ(Grafico.FinestraVista.Y2, Grafico.FinestraPagina.Y2);
}

}  // namespace
