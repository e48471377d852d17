// Replay of the display list on the preview surface after a zoom, a pan or a return to the whole page.
#include "common/plot/grafico.h"
#include "common/plot/interno.h"

#include "common/platform/gdi.h"

#include <QLineF>

#include <cmath>
#include <vector>

namespace {

void Ridisegna(const Finestra& w, bool zoom) {
  if (plat::DrawingSurface* p = SuperficieGrafica()) p->Cls();
  Grafico.ZoomInCorso = zoom;
  InizioGrafico(0, QString(), w.X1, w.Y1, w.X2, w.Y2, 1);
  ContornoPagina(plat::RgbValue(210, 210, 210));
  RidisegnaSchermo();
}

}  // namespace

void RidisegnaZoom(double x1, double y1, double x2, double y2) { Ridisegna(Finestra{x1, y1, x2, y2}, true); }

void RidisegnaTutto() { Ridisegna(Grafico.FinestraPagina, false); }

void RidisegnaSchermo() {
  ModuloGrafico& g = Grafico;
  plat::DrawingSurface* p = SuperficieGrafica();
  if (!p) return;
  for (int i = 1; i <= static_cast<int>(g.ListaPoligoni.size()); ++i) PoligonoSchermo(i);

  // The segments go to the surface in runs of one colour and one width, each run in one call.
  const double scala = (g.ScalaGrafico.X + g.ScalaGrafico.Y) / 2.0;
  constexpr std::size_t kCorsaMassima = 4096;
  std::vector<QLineF> corsa;
  corsa.reserve(kCorsaMassima);
  int coloreCorsa = 0;
  const auto traccia = [&] {
    if (!corsa.empty()) p->Lines(corsa.data(), static_cast<int>(corsa.size()), coloreCorsa);
    corsa.clear();
  };
  PercorriSegmenti([&](const Segmento& s) {
    if (s.Spessore != g.UltimoSpessore) {
      traccia();
      const double w = std::ceil(s.Spessore * scala);
      p->SetDrawWidth(s.Spessore == 0 || !(w >= 1) ? 1 : static_cast<int>(std::min(w, 1e4)));
      g.UltimoSpessore = s.Spessore;
    } else if (s.Colore != coloreCorsa || corsa.size() == kCorsaMassima) {
      traccia();
    }
    coloreCorsa = s.Colore;
    corsa.emplace_back(s.X1, s.Y1, s.X2, s.Y2);
  });
  traccia();

  g.OrigineGrafico = {};
  for (int i = 1; i <= g.NumeroScritte; ++i) {
    const Scritta& t = g.ListaScritte[i];
    const AncoraggioScritta a = Ancoraggio(t, g.FinestraPagina);
    p->SetTextAlign(a.Centrata ? plat::TA_CENTER | plat::TA_BASELINE : plat::TA_LEFT | plat::TA_BASELINE);
    TestoSchermo(a.X, t.Y, t.Altezza * a.Scala, t.Testo, t.Angolo, t.Colore, t.Carattere);
  }
}

void TestoSchermo(double x, double y, double height, const QString& text, double angle, int colour,
                  const QString& font) {
  plat::DrawingSurface* p = SuperficieGrafica();
  if (!p) return;
  p->SelectFont(AltezzaCarattereSchermo(height), static_cast<int>(std::nearbyint(angle * 10)), font);
  Grafico.UltimoFontTesto = FontTesto{font, height, angle};
  p->SetForeColor(colour);
  p->SetCurrentPosition(x, y);
  p->Print(text);
}

void PoligonoSchermo(int i) {
  plat::DrawingSurface* p = SuperficieGrafica();
  if (!p || i < 1 || i > static_cast<int>(Grafico.ListaPoligoni.size())) return;
  const Poligono& poligono = Grafico.ListaPoligoni[i - 1];
  const FinestraSchermo& f = Grafico.FinestraImmagine;
  const double w = p->ImageSize().width(), h = p->ImageSize().height();
  QPolygon punti;
  for (const QPointF& v : poligono.Vertici) {
    const double px = w * (v.x() - f.Sinistra) / (f.Destra - f.Sinistra);
    const double py = h - h * (v.y() - f.Basso) / (f.Alto - f.Basso);
    if (!(std::fabs(px) < 1e7 && std::fabs(py) < 1e7)) return;
    punti << QPoint(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py)));
  }
  p->FillPolygon(punti, poligono.Colore);
}
