// Printing of the plot: the whole page of the plot, at scale tiled over as many sheets as needed (neighbouring
// sheets overlapping so that they can be glued), or fitted to one sheet and centred on it.
#include "common/plot/grafico.h"
#include "common/plot/interno.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/gdi.h"
#include "common/platform/printdc.h"
#include "common/platform/printer.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/finestre.h"
#include "common/texts/testi.h"

#include <algorithm>
#include <cmath>

namespace {

// Twips per centimetre.
constexpr double kTwipCm = 567.0;
// The most sheets a print takes in either direction.
constexpr int kMassimoFogli = 1000;

plat::PrinterDC& DC() { return plat::DeviceContext(PreparaStampante()); }

int Pixel(double v) { return static_cast<int>(std::floor(std::clamp(v, -1e9, 1e9))); }

// Sheets needed along one side: the fewest n with n sheets of `lato`, overlapping by `ov`, covering `pagina`.
int Fogli(double pagina, double lato, double ov) {
  double n = std::floor((pagina - ov) / (lato - ov));
  n = std::clamp(std::isfinite(n) ? n : 1.0, 1.0, static_cast<double>(kMassimoFogli));
  while (n < kMassimoFogli && pagina > n * lato - ov * (n - 1)) n += 1;
  return static_cast<int>(n);
}

}  // namespace

double LeggiSovrapposizione() {
  plat::SeqReader r;
  const QString file = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("overlap.cfg"));
  // A damaged file is said, and the sheets overlap by the usual centimetre.
  const auto guasto = [&](int riga) {
    Avviso(FileDanneggiato(r.Path().isEmpty() ? file : r.Path(), riga));
    return 1.0;
  };
  if (!r.Open(file)) return r.Missing() ? 1.0 : guasto(r.FaultLine());
  if (r.AtEnd()) return 1;
  int riga = r.LineNumber();
  double letto = 0;
  if (!dati::LeggiNumeroRiga(r, letto)) return guasto(riga);
  if (!dati::FineSostanziale(r, &riga)) return guasto(riga);
  return letto;
}

FogliStampa CalcolaFogli(const Finestra& pagina, double w, double h, double overlap, bool fitted) {
  FogliStampa f;
  f.Pagina = pagina;
  if (fitted) {
    f.Pagina.X1 -= 0.1;
    f.Pagina.Y1 -= 0.1;
    f.Pagina.X2 += 0.1;
    f.Pagina.Y2 += 0.1;
  }
  const double pw = f.Pagina.X2 - f.Pagina.X1, ph = f.Pagina.Y2 - f.Pagina.Y1;
  if (fitted) {
    f.Scala = std::min(w / pw, h / ph);
    return f;
  }
  // An overlap that leaves nothing of a sheet would never cover the page: such an overlap counts as none.
  f.Sovrapposizione = overlap >= 0 && overlap < w && overlap < h ? overlap : 0;
  f.Colonne = Fogli(pw, w, f.Sovrapposizione);
  f.Righe = Fogli(ph, h, f.Sovrapposizione);
  return f;
}

Punto OffsetFoglio(const FogliStampa& f, int ix, int iy, double w, double h, bool fitted) {
  if (fitted) {
    return {(f.Scala * (f.Pagina.X2 - f.Pagina.X1) - w) / 2, (f.Scala * (f.Pagina.Y2 - f.Pagina.Y1) - h) / 2};
  }
  return {(ix - 1) * (w - f.Sovrapposizione), (iy - 1) * (h - f.Sovrapposizione)};
}

void LineaStampante(double x1, double y1, double x2, double y2, int colour, int width) {
  const Punto& r = Grafico.RisoluzioneStampante;
  plat::PrinterDC& dc = DC();
  dc.SelectPen(plat::PS_SOLID, width, colour);
  dc.MoveToEx(Pixel(r.X * x1), Pixel(r.Y * y1));
  dc.LineTo(Pixel(r.X * x2), Pixel(r.Y * y2));
}

void TestoStampante(double x, double y, double height, const QString& text, double angle, int colour,
                    const QString& font) {
  ModuloGrafico& g = Grafico;
  plat::PrinterDC& dc = DC();
  const FontTesto& u = g.UltimoFontTesto;
  if (u.Nome.isEmpty() || u.Nome != font || u.Angolo != angle || u.Altezza != height) {
    const double altezza = std::nearbyint(std::clamp(height * g.RisoluzioneStampante.Y * 5.0 / 3.0, -1e6, 1e6));
    dc.SelectFont(static_cast<int>(altezza), static_cast<int>(std::nearbyint(std::clamp(angle, -1e6, 1e6) * 10)),
                  font.left(31));
    g.UltimoFontTesto = FontTesto{font, height, angle};
  }
  dc.SetTextColor(g.ModoColoreStampa < 2 ? 0 : colour);
  dc.SetBkMode(plat::TRANSPARENT);
  const double px = g.RisoluzioneStampante.X * x;
  const double py = g.RisoluzioneStampante.Y * (g.FinestraPagina.Y2 - y);
  // What lies far off the sheet is dropped, as the printer driver would drop it.
  if (std::fabs(px) > 1e7 || std::fabs(py) > 1e7) return;
  dc.TextOut(Pixel(px), Pixel(py), text);
}

void StampaGrafico(bool fitted) {
  Clessidra clessidra;
  ModuloGrafico& g = Grafico;
  plat::PrinterDC& dc = DC();
  const int hs = dc.GetDeviceCaps(plat::HORZSIZE), vs = dc.GetDeviceCaps(plat::VERTSIZE);
  const int hr = dc.GetDeviceCaps(plat::HORZRES), vr = dc.GetDeviceCaps(plat::VERTRES);
  const double twips = plat::Printer().TwipsPerPixelX();
  if (hs <= 0 || vs <= 0 || hr <= 0 || vr <= 0 || !(twips > 0)) {
    Avviso(Traduci(QStringLiteral("La stampante non riporta le misure del foglio: il grafico non e' stato stampato.")));
    return;
  }
  g.RisoluzioneStampante = {10.0 * hr / hs, 10.0 * vr / vs};
  const double w = hs / 10.0, h = vs / 10.0;
  g.ModoColoreStampa = plat::FileExists(plat::JoinPath(plat::ProgramFolder(), QStringLiteral("forcecol")))
                           ? 3
                           : dc.GetDeviceCaps(plat::PLANES);
  dc.SetBkMode(plat::TRANSPARENT);
  const FogliStampa f = CalcolaFogli(g.FinestraPagina, w, h, LeggiSovrapposizione(), fitted);
  const double s = f.Scala;
  const Finestra& pagina = f.Pagina;
  const double cartaW = plat::Printer().Width() / kTwipCm, cartaH = plat::Printer().Height() / kTwipCm;

  g.PennaCorrente.Colore = -1;
  g.PennaCorrente.Spessore = -1;
  g.UltimoSpessore = -1;
  g.UltimoFontTesto = FontTesto{};

  // The texts measure their baseline from the top of the printed page window.
  const Finestra salvata = g.FinestraPagina;
  g.FinestraPagina = pagina;
  const auto fallisce = [&](const QString& testo) {
    dc.AbortDoc();
    g.FinestraPagina = salvata;
    if (!testo.isEmpty()) Avviso(testo);
  };
  const QString rifiutata = Traduci(QStringLiteral("La stampante non ha accettato il lavoro di stampa."));
  if (!dc.StartDoc(Avvio.InfoDocumentoStampa.NomeDocumento)) return fallisce(rifiutata);

  for (int ix = 1; ix <= f.Colonne; ++ix) {
    for (int iy = 1; iy <= f.Righe; ++iy) {
      const Punto o = OffsetFoglio(f, ix, iy, w, h, fitted);
      // The same mapping serves lines, polygons and texts: page centimetres to sheet centimetres from the top-left
      // corner of the printable area.
      const double x0 = fitted ? pagina.X1 : 0.0;
      const auto foglioX = [&](double x) { return s * (x - x0) - o.X; };
      const auto foglioY = [&](double y) { return s * (pagina.Y2 - y) - o.Y; };
      if (!dc.StartPage()) return fallisce(rifiutata);

      for (const Poligono& poligono : g.ListaPoligoni) {
        QPolygon punti;
        for (const QPointF& v : poligono.Vertici)
          punti << QPoint(Pixel(g.RisoluzioneStampante.X * std::clamp(foglioX(v.x()), -1e4, 1e4)),
                          Pixel(g.RisoluzioneStampante.Y * std::clamp(foglioY(v.y()), -1e4, 1e4)));
        dc.SelectBrush(g.ModoColoreStampa >= 2 ? poligono.Colore : 0);
        dc.SelectPen(plat::PS_NULL, 1, 0);
        dc.Polygon(punti);
      }

      const bool letti = PercorriSegmenti([&](const Segmento& seg) {
        double x1 = foglioX(seg.X1), y1 = foglioY(seg.Y1), x2 = foglioX(seg.X2), y2 = foglioY(seg.Y2);
        int fuori = 0;
        TagliaSegmento(x1, y1, x2, y2, -1, cartaW + 1, -1, cartaH + 1, fuori);
        if (fuori == 1) return;
        const double px = s * seg.Spessore * kTwipCm / twips;
        const double larghezza = px < 1 || !std::isfinite(px) ? 1 : std::nearbyint(std::min(px, 1e4));
        LineaStampante(x1, y1, x2, y2, g.ModoColoreStampa >= 2 ? seg.Colore : 0, static_cast<int>(larghezza));
      });
      if (!letti) return fallisce(QString());

      g.OrigineGrafico = {};
      for (int t = 1; t <= g.NumeroScritte; ++t) {
        const Scritta& sc = g.ListaScritte[t];
        const AncoraggioScritta a = Ancoraggio(sc, pagina);
        dc.SetTextAlign(a.Centrata ? plat::TA_BASELINE | plat::TA_CENTER : plat::TA_BASELINE | plat::TA_LEFT);
        // TestoStampante puts the baseline at (top of the page window - y) below the top of the sheet.
        TestoStampante(foglioX(a.X), pagina.Y2 - foglioY(sc.Y), s * sc.Altezza * a.Scala, sc.Testo, sc.Angolo,
                       sc.Colore, sc.Carattere);
      }
      if (!dc.EndPage()) return fallisce(rifiutata);
    }
  }
  const bool finito = dc.EndDoc();
  g.FinestraPagina = salvata;
  if (!finito && !dc.UnwrittenFile().isEmpty())
    Avviso(Traduci(QStringLiteral("Il file seguente non puo' essere scritto:")) + QLatin1Char('\n') +
           DescrizioneFile(dc.UnwrittenFile()));
  else if (!finito)
    Avviso(rifiutata);
  else if (!dc.OutputFile().isEmpty())
    plat::Notice(Traduci(QStringLiteral("Il documento e' stato stampato nel file:")) + QLatin1Char('\n') +
                     DescrizioneFile(dc.OutputFile()),
                 Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'));
}
