// The preview window: zoom with the rubber band, pan, whole page, keys, print, DXF, closing and the final wait.
#include "tests/plot/fixture.h"

#include <QDir>
#include <QTest>

using namespace plot_test;
using testing_support::WriteAnsi;

namespace {

class Anteprima : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    WriteAnsi(folder->P("korvenITA.CFG"), TabellaPenne(2, 1));
    Pagina();
    int p = 1;
    SelezionaPennaTabella(p);
    Traccia(2, 2, 3);
    Traccia(18, 26, 2);
    DisegnaSimbolo(10, 27, 0.5, "TITOLO", 0, -2);
    Traccia(0, 0, 999);
    f = FinestraGrafica();
  }
  void Giu(double x, double y) { emit f->Picture7->MouseDown(1, 0, x, y); }
  void Muovi(double x, double y) { emit f->Picture7->MouseMove(1, 0, x, y); }
  void Su(double x, double y) { emit f->Picture7->MouseUp(1, 0, x, y); }
  static void Vista(double x1, double y1, double x2, double y2) {
    const Finestra& v = Grafico.FinestraVista;
    EXPECT_NEAR(v.X1, x1, 1e-9);
    EXPECT_NEAR(v.Y1, y1, 1e-9);
    EXPECT_NEAR(v.X2, x2, 1e-9);
    EXPECT_NEAR(v.Y2, y2, 1e-9);
  }
  int Pdf() const { return static_cast<int>(QDir(folder->D("pdf")).entryList({"*.pdf"}, QDir::Files).size()); }
  GRAFICA* f = nullptr;
};

TEST_F(Anteprima, TheWindowCarriesItsButtonsOverTheDrawingSurface) {
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(Grafico.GraficaCaricata);
  EXPECT_FALSE(menu1->isEnabled());
  for (int n : {1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15, 16}) {
    plat::PictureBox* b = f->Pulsante(n);
    ASSERT_NE(b, nullptr) << n;
    EXPECT_TRUE(b->isVisible()) << n;
    EXPECT_EQ(b->size(), QSize(33, 33));
    EXPECT_FALSE(b->toolTip().isEmpty());
  }
  EXPECT_FALSE(f->Pulsante(8)->isVisible());
  EXPECT_EQ(f->Pulsante(3)->x(), 344);
  EXPECT_EQ(f->Pulsante(3)->toolTip(), "Invio dell'immagine alla stampante");
  EXPECT_EQ(f->Picture7->y(), 32);
  // The surface fills the work area under the buttons, within the window's frame.
  const QSize telaio = f->frameGeometry().size() - f->geometry().size();
  EXPECT_EQ(f->Picture7->ImageSize().width() + telaio.width(), plat::WorkArea().width());
  EXPECT_EQ(f->Picture7->ImageSize().height() + telaio.height(), plat::WorkArea().height() - 33);
}

TEST_F(Anteprima, TheWholePageComesBackAtTheScaleOfTheFirstView) {
  const Punto prima = Grafico.ScalaGrafico;
  const QSize superficie = f->Picture7->ImageSize();
  f->Pulsante(1)->click();
  Giu(4, 8);
  Su(8, 12);
  EXPECT_GT(Grafico.ScalaGrafico.X, 2 * prima.X);
  f->Pulsante(2)->click();
  EXPECT_DOUBLE_EQ(Grafico.ScalaGrafico.X, prima.X);
  EXPECT_DOUBLE_EQ(Grafico.ScalaGrafico.Y, prima.Y);
  EXPECT_EQ(f->Picture7->ImageSize(), superficie);
}

TEST_F(Anteprima, ARubberBandPicksTheZoomWindowWhicheverWayItIsDragged) {
  Giu(4, 8);  // zoom selection is off: nothing happens
  Su(8, 12);
  Vista(0, 0, 19.4, 27.7);

  f->Pulsante(1)->click();
  EXPECT_TRUE(Grafico.ZoomAttivo);
  EXPECT_TRUE(f->Pulsante(8)->isVisible());
  Giu(8, 12);
  Muovi(6, 10);
  EXPECT_TRUE(f->Picture7->HasOverlay());
  Su(4, 8);
  EXPECT_FALSE(f->Picture7->HasOverlay());
  Vista(4, 8, 8, 12);
  const QImage dopoPrimo = f->Picture7->Image();
  f->Pulsante(2)->click();
  f->Pulsante(1)->click();
  Giu(4, 8);
  Su(8, 12);
  Vista(4, 8, 8, 12);
  EXPECT_EQ(f->Picture7->Image(), dopoPrimo);
  EXPECT_TRUE(Grafico.ZoomAttivo);

  // A click without moving: a 0.5 cm window from the point.
  Giu(5, 9);
  Su(5, 9);
  Vista(5, 9, 5.5, 9.5);
}

TEST_F(Anteprima, ACornerBeyondTheShownWindowIsKeptInsideIt) {
  f->Pulsante(1)->click();
  Giu(-3, 5);
  Su(-1, 7);  // both corners left of the window
  Vista(0, 5, 0.5, 7);
  f->Pulsante(2)->click();
  f->Pulsante(1)->click();
  Giu(10, 30);
  Su(40, 40);  // beyond the top and the right
  EXPECT_GE(Grafico.FinestraVista.X2, Grafico.FinestraVista.X1 + 0.5);
  EXPECT_LE(Grafico.FinestraVista.Y1, 27.7);
  EXPECT_NEAR(Grafico.FinestraVista.Y2 - Grafico.FinestraVista.Y1, 0.5, 1e-9);
}

TEST_F(Anteprima, PanButtonsMoveTheZoomWindowByAFifthOrFourFifths) {
  f->Pulsante(10)->click();  // zoom selection off: nothing
  Vista(0, 0, 19.4, 27.7);
  f->Pulsante(1)->click();
  // Before any window was picked, a pan moves the window shown.
  f->Pulsante(12)->click();
  Vista(0, -0.2 * 27.7, 19.4, 0.8 * 27.7);
  Giu(4, 8);
  Su(9, 18);
  f->Pulsante(10)->click();
  Vista(5, 8, 10, 18);
  f->Pulsante(13)->click();
  Vista(1, 8, 6, 18);
  f->Pulsante(15)->click();
  Vista(1, 16, 6, 26);
  f->Pulsante(11)->click();
  f->Pulsante(9)->click();
  Vista(0, 18, 5, 28);
  // The window may leave the page.
  f->Pulsante(16)->click();
  f->Pulsante(16)->click();
  f->Pulsante(16)->click();
  Vista(0, -6, 5, 4);
  // The whole page again keeps the window for the next pan.
  f->Pulsante(2)->click();
  Vista(0, 0, 19.4, 27.7);
  EXPECT_FALSE(Grafico.ZoomAttivo);
  f->Pulsante(1)->click();
  f->Pulsante(14)->click();
  Vista(4, -6, 9, 4);
}

TEST_F(Anteprima, KeysPrintAndExportOnceAndTheDxfButtonReturnsToTheWholePage) {
  Grafico.NomeFileDati = QStringLiteral("PROVA.SES");
  Script("file tasto.dxf\nfile bottone\n");
  f->Pulsante(1)->click();
  Giu(4, 8);
  Su(8, 12);
  QTest::keyClick(f, Qt::Key_D, Qt::NoModifier);
  EXPECT_TRUE(plat::FileExists(folder->D("tasto.dxf")));
  Vista(4, 8, 8, 12);
  EXPECT_TRUE(Grafico.ZoomAttivo);
  QTest::keyClicks(f, "xzq");
  EXPECT_EQ(Pdf(), 0);
  QTest::keyClick(f, Qt::Key_S, Qt::NoModifier);
  EXPECT_EQ(Pdf(), 1);
  QTest::keyClick(f, Qt::Key_I, Qt::ShiftModifier);
  EXPECT_EQ(Pdf(), 2);
  f->Pulsante(4)->click();
  EXPECT_TRUE(plat::FileExists(folder->D("bottone.DXF")));
  Vista(0, 0, 19.4, 27.7);
  EXPECT_FALSE(Grafico.ZoomAttivo);
  EXPECT_FALSE(f->Pulsante(8)->isVisible());
  QTest::keyClick(f, Qt::Key_U);
  EXPECT_EQ(FinestraGrafica(), nullptr);
  // Closed outside the final wait: the program's form comes back.
  EXPECT_TRUE(menu1->isEnabled());
}

TEST_F(Anteprima, AScriptDrivesThePreviewThroughTheFinalWait) {
  QList<Finestra> viste;
  plat::RegisterScriptAction("annota", [&viste](const QStringList&, QString*) {
    viste << Grafico.FinestraVista;
    return true;
  });
  Grafico.NomeFileDati = QStringLiteral("C:\\DATI\\SITO.SES");
  Script(
      "press Picture1\n"
      "mouse Picture7 down 4 8\n"
      "mouse Picture7 move 6 10\n"
      "mouse Picture7 up 8 12\n"
      "annota\n"
      "press Picture13\n"
      "annota\n"
      "press Picture3\n"
      "press Picture5\n"
      "press Picture4\n"
      "file SITO.DXF\n"
      "annota\n"
      "press Picture6\n");
  AttendiChiusuraGrafica();
  EXPECT_FALSE(menu1->isVisible());
  EXPECT_EQ(FinestraGrafica(), nullptr);
  EXPECT_FALSE(Grafico.AttesaFinale);
  EXPECT_FALSE(Grafico.GraficaCaricata);
  // While the program ends, its form stays disabled.
  EXPECT_FALSE(menu1->isEnabled());
  ASSERT_EQ(viste.size(), 3);
  EXPECT_NEAR(viste[0].X1, 4, 1e-9);
  EXPECT_NEAR(viste[0].Y2, 12, 1e-9);
  EXPECT_NEAR(viste[1].X1, 4 - 3.2, 1e-9);
  EXPECT_NEAR(viste[2].Y2, 27.7, 1e-9);
  EXPECT_EQ(Pdf(), 2);
  EXPECT_TRUE(plat::FileExists(folder->D("SITO.DXF")));
  const QStringList log = Log();
  EXPECT_TRUE(log.filter("filedialog\tsave").size() == 1);
}

TEST_F(Anteprima, TheFinalWaitEndsAtOnceWithoutAPreview) {
  f->Unload();
  AttendiChiusuraGrafica();
  EXPECT_TRUE(Grafico.AttesaFinale);
}

}  // namespace

TEST_F(Anteprima, TheCaptionNamesTheProgramAndTheSession) {
  Grafico.NomeFileDati = QStringLiteral("Cava_Nord.SES");
  Pagina();
  EXPECT_EQ(f->windowTitle(), QCoreApplication::applicationName() + " - cava_nord");
  Grafico.NomeFileDati.clear();
  Pagina();
  EXPECT_EQ(f->windowTitle(), QCoreApplication::applicationName());
}
