// Set-up of a plot: the pen table, the page window, the preview window's scale.
#include "common/plot/grafico.h"

#include "common/data/penne.h"

#include "common/platform/drawingsurface.h"
#include "common/platform/files.h"
#include "common/platform/gdi.h"
#include "common/platform/printdc.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/plot/grafica.h"
#include "common/plot/interno.h"
#include "common/texts/avvio.h"
#include "common/texts/finestre.h"
#include "common/texts/testi.h"

#include <QCoreApplication>

#include <cmath>

ModuloGrafico Grafico;

namespace {

// The smallest extent of a window: the minimum size of a zoom window picked with the mouse.
constexpr double kMinimaFinestra = 0.5;
// Below this extent (centimetres) a window has none: the scale would not be a number.
constexpr double kEstensioneMinima = 1e-6;

}  // namespace

bool LeggiTabellaPenne(const QString& percorso, QString* errore) {
  TabellaPenne t;
  int riga = 0;
  if (LeggiFileTabellaPenne(percorso, t, &riga) != EsitoPenne::Letta) {
    if (errore)
      *errore = Traduci(QStringLiteral("La tabella delle penne manca o e' incompleta:")) + QLatin1Char('\n') +
                DescrizioneFile(percorso, riga);
    return false;
  }
  std::array<int, 31> colori{};
  for (int c = 1; c <= NumeroColori; ++c) colori[c] = static_cast<int>(t.ValoriColori[static_cast<std::size_t>(c)]);
  Grafico.TabellaColori = colori;
  Grafico.PenneGrafico[0] = Penna{};
  for (int p = 1; p <= NumeroPenne; ++p) {
    const auto k = static_cast<std::size_t>(p);
    const double n = std::nearbyint(t.ColoriElementi[k]);
    const int numero = n >= 0 && n <= 30 ? static_cast<int>(n) : 0;
    Grafico.PenneGrafico[p].Colore = colori[numero];
    Grafico.PenneGrafico[p].Spessore = std::max(0.0, t.SpessoriElementi[k]) / 10.0;
    Grafico.PenneGrafico[p].Carattere = t.CaratteriElementi[k];
  }
  Grafico.MarginiGrafico.Sinistro = t.MargineSinistro;
  Grafico.MarginiGrafico.Superiore = t.MargineSuperiore;
  return true;
}

void SelezionaPennaTabella(int& pen) {
  pen = std::clamp(pen, 0, NumeroPenne);
  Grafico.PennaCorrente = Grafico.PenneGrafico[pen];
}

void SelezionaPenna(int& pen, int colour) {
  SelezionaPennaTabella(pen);
  Grafico.PennaCorrente.Colore = colour;
}

Adattamento AdattaFinestra(const Finestra& w, double larghezza, double altezza, double larghezzaMinima) {
  double x2 = w.X2;
  double dx = x2 - w.X1;
  const double dy = w.Y2 - w.Y1;
  double wp = larghezza, hp = altezza;
  if (dy / dx >= hp / wp) {
    // The page is taller than the area in proportion: its height sets the scale.
    wp = hp * dx / dy;
    if (wp < larghezzaMinima) {
      wp = larghezzaMinima;
      x2 = w.X1 + dy * wp / hp;
      dx = x2 - w.X1;
    }
  } else {
    hp = wp * dy / dx;
  }
  Adattamento a;
  a.Scala = {wp / dx, hp / dy};
  a.Immagine = {w.X1, w.Y2, x2, w.Y1};
  // The area shows more than the window along the side where it is longer in proportion.
  if (dx / dy > larghezza / altezza) a.Immagine.Alto = a.Immagine.Basso + dx * altezza / larghezza;
  else a.Immagine.Destra = a.Immagine.Sinistra + dy * larghezza / altezza;
  return a;
}

void InizioGrafico(double a1, const QString& a2, double xmin, double ymin, double xmax, double ymax, int redraw) {
  Q_UNUSED(a1);
  Q_UNUSED(a2);
  ModuloGrafico& g = Grafico;
  g.RidisegnoInCorso = redraw != 0;
  g.TabellaColori.fill(0);
  g.PennaCorrente.Colore = -1;
  g.PennaCorrente.Spessore = -1;
  g.UltimoSpessore = -1;
  g.UltimoFontTesto = FontTesto{};

  Finestra w{xmin, ymin, xmax, ymax};
  if (!g.RidisegnoInCorso) {
    QString errore;
    if (!LeggiTabellaPenne(FileTabellaPenne(), &errore)) {
      plat::MsgBox(errore, plat::vbOKOnly | plat::vbCritical, Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'));
      plat::EndProgram(1);
    }
    g.NumeroSegmenti = 0;
    g.NumeroBlocchi = 0;
    g.NumeroScritte = 0;
    // The texts of the plot before are let go: the list holds those of this plot only.
    g.ListaScritte = std::vector<Scritta>(1);
    g.ListaPoligoni.clear();
    // The primitives shift the drawing right by the left margin and down by the top margin: the page window grows
    // by them once, here. A redraw passes a window that holds them already.
    w.X2 += g.MarginiGrafico.Sinistro;
    w.Y1 -= g.MarginiGrafico.Superiore;
  }
  if (!(std::isfinite(w.X1) && std::isfinite(w.Y1) && std::isfinite(w.X2) && std::isfinite(w.Y2))) {
    w = g.FinestraPagina;
  }
  // A window without extent gets the size of the smallest zoom window.
  if (!(w.X2 - w.X1 >= kEstensioneMinima)) w.X2 = w.X1 + kMinimaFinestra;
  if (!(w.Y2 - w.Y1 >= kEstensioneMinima)) w.Y2 = w.Y1 + kMinimaFinestra;
  g.FinestraVista = w;
  if (!g.ZoomInCorso) g.FinestraPagina = w;
  g.OrigineGrafico = {};

  GRAFICA* f = CaricaGrafica();
  if (!g.RidisegnoInCorso) {
    // The caption names the program and the session it shows, as the main window's does.
    QString didascalia = QCoreApplication::applicationName();
    const QString sessione = plat::FileNamePart(g.NomeFileDati).section(QLatin1Char('.'), 0, 0).toLower();
    if (!sessione.isEmpty()) didascalia += QStringLiteral(" - ") + sessione;
    f->setWindowTitle(didascalia);
  }
  const QRect area = plat::WorkArea();
  if (!f->isVisible()) {
    // Shown before it is measured, so that the frame the window system adds is known to the first view as to
    // every redraw: the whole page then comes back at the scale it was first shown at.
    f->setGeometry(area.left(), area.top(), std::max(1, area.width()), std::max(1, area.height()));
    plat::ShowModeless(f);
    plat::DoEvents();
  }
  // The frame around the window, known once the window system has shown it.
  const QSize telaio = f->isVisible() ? f->frameGeometry().size() - f->geometry().size() : QSize(0, 0);
  const int larghezza = std::max(1, area.width() - telaio.width());
  const int altezza = std::max(1, area.height() - telaio.height() - f->AltezzaPulsanti());
  const Adattamento a = AdattaFinestra(w, larghezza, altezza, 6.0 * f->LarghezzaPulsante());
  g.ScalaGrafico = a.Scala;
  g.FinestraImmagine = a.Immagine;

  f->setGeometry(area.left(), area.top(), larghezza, altezza + f->AltezzaPulsanti() - 1);
  plat::DrawingSurface* p = f->Picture7;
  if (!g.RidisegnoInCorso) p->Cls();
  p->SetImageSize(QSize(larghezza, altezza));
  const FinestraSchermo& im = g.FinestraImmagine;
  p->Scale(im.Sinistra, im.Alto, im.Destra - im.Sinistra, im.Basso - im.Alto);

  f->update();
  plat::DoEvents();

  ContornoPagina(plat::RgbValue(220, 220, 220));
}

void ContornoPagina(int colore) {
  plat::DrawingSurface* p = SuperficieGrafica();
  if (!p) return;
  const plat::PrinterDC& dc = plat::DeviceContext(PreparaStampante());
  const Punto o = Grafico.OrigineGrafico;
  p->SetDrawWidth(1);
  p->SetDrawStyle(plat::vbDot);
  p->Box(o.X, o.Y, o.X + dc.GetDeviceCaps(plat::HORZSIZE) / 10.0, o.Y + dc.GetDeviceCaps(plat::VERTSIZE) / 10.0,
         colore);
  p->SetDrawStyle(plat::vbSolid);
}
