// The drawing primitives and the display list: every segment and text is drawn at once on the preview surface and
// recorded (unless a redraw is under way); segments are kept in chunks of DimensioneBlocco, each full chunk and the
// last one written to a chunk file in the process's temporary folder.
#include "common/plot/grafica.h"
#include "common/plot/grafico.h"
#include "common/plot/interno.h"

#include "common/platform/files.h"
#include "common/platform/gdi.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"

#include <QApplication>
#include <QFontMetricsF>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr int kBianco = plat::RgbValue(255, 255, 255);

// The title block of a plot's page (centimetres).
constexpr double kCentroTitoli = 10;
constexpr double kYTitolo = 27;
constexpr double kAltezzaTitolo = 0.5;
constexpr double kYSottotitolo = 26.4;
constexpr std::array<double, 5> kYTitoliSessione = {0, 25.7, 25.2, 24.7, 24.2};  // lines 1..4 (0 unused)
constexpr double kAltezzaPrimoTitolo = 0.35;                                     // title line 1
constexpr double kAltezzaTitoli = 0.3;                                           // title lines 2 to 4
constexpr int kCentrato = -2;

bool Finiti(std::initializer_list<double> valori) {
  for (double v : valori)
    if (!std::isfinite(v)) return false;
  return true;
}

// The name of the file of chunk b.
QString NomeBlocco(int b) { return QStringLiteral("plttmp") + QString::number(b) + QStringLiteral(".tmp"); }

// The chunk file b as a message names it: in the private folder of the process, or, when the process has none,
// where it would be in the system's temporary folder.
QString BloccoPerMessaggio(int b) {
  const QString percorso = FileBloccoSegmenti(b);
  if (!percorso.isEmpty()) return percorso;
  const QString sistema = qEnvironmentVariable("TMPDIR");
  return plat::JoinPath(sistema.isEmpty() ? QStringLiteral("/tmp") : sistema, NomeBlocco(b));
}

// Writes segments 1..n of the list as chunk b: the count as a number is printed (" n "), then the six values of
// each segment one a line. The chunk is private scratch of this process, read back by LeggiBloccoSegmenti, so it
// is written in place as a work file, without a save by rename.
void ScriviBlocco(int b, int n) {
  Clessidra clessidra;
  const QString percorso = FileBloccoSegmenti(b);
  const auto nonScritto = [b] {
    Avviso(Traduci(QStringLiteral("Impossibile scrivere il file temporaneo del grafico:")) + QLatin1Char('\n') +
           DescrizioneFile(BloccoPerMessaggio(b)));
  };
  if (percorso.isEmpty()) return nonScritto();
  QByteArray testo = plat::EncodeAnsi(plat::PrintNumber(n)) + "\r\n";
  // The numbers are written straight into the text, which grows when the room left might not hold one more.
  constexpr qsizetype kRiga = LunghezzaFigura + 2;
  qsizetype scritti = testo.size();
  testo.resize(scritti + static_cast<qsizetype>(n) * 6 * 16 + kRiga);
  // A line drawn in strokes starts each segment where the one before ended, with the same colour and width: a
  // value equal to the last one of its kind (x, y, colour, width) takes the text already made for it.
  struct Ultimo {
    double valore = 0;
    int lunghezza = -1;
    char figure[32];
  };
  std::array<Ultimo, 4> ultimi;
  const auto scrivi = [&](double v, Ultimo& u) {
    if (testo.size() - scritti < kRiga) testo.resize(2 * testo.size() + kRiga);
    char* inizio = testo.data() + scritti;
    char* fine;
    if (u.lunghezza >= 0 && u.valore == v) {
      std::memcpy(inizio, u.figure, static_cast<std::size_t>(u.lunghezza));
      fine = inizio + u.lunghezza;
    } else {
      fine = NumeroTestoChars(inizio, v);
      const auto lunghezza = static_cast<int>(fine - inizio);
      u.valore = v;
      u.lunghezza = lunghezza <= static_cast<int>(sizeof u.figure) ? lunghezza : -1;
      if (u.lunghezza >= 0) std::memcpy(u.figure, inizio, static_cast<std::size_t>(lunghezza));
    }
    *fine++ = '\r';
    *fine++ = '\n';
    scritti += fine - inizio;
  };
  for (int i = 1; i <= n; ++i) {
    const Segmento& s = Grafico.ListaSegmenti[i];
    scrivi(s.X1, ultimi[0]);
    scrivi(s.Y1, ultimi[1]);
    scrivi(s.X2, ultimi[0]);
    scrivi(s.Y2, ultimi[1]);
    scrivi(static_cast<double>(s.Colore), ultimi[2]);
    scrivi(s.Spessore, ultimi[3]);
  }
  testo.truncate(scritti);
  if (!plat::WriteWorkFile(percorso, testo)) nonScritto();
}

// The numbers of a chunk file one a line (CR LF or LF), blanks and TABs around them allowed; a CR anywhere else
// is no part of a number.
class LettoreBlocco {
 public:
  explicit LettoreBlocco(const QByteArray& testo) : p_(testo.constData()), fine_(p_ + testo.size()) {}
  // The number of the next line; false at the end or when the line is not a number alone.
  bool Leggi(double& v) {
    ++riga_;
    if (p_ >= fine_) return false;
    const char* a = p_;
    const char* e = static_cast<const char*>(std::memchr(a, '\n', fine_ - a));
    if (!e) e = fine_;
    p_ = e < fine_ ? e + 1 : e;
    if (p_ > e && e > a && e[-1] == '\r') --e;  // the CR of a CR LF
    while (a < e && (*a == ' ' || *a == '\t')) ++a;
    while (e > a && (e[-1] == ' ' || e[-1] == '\t')) --e;
    if (a == e || *a == '+') return false;
    const auto r = std::from_chars(a, e, v);
    return r.ec == std::errc() && r.ptr == e && std::isfinite(v);
  }
  // True when nothing is left; otherwise the line of what is left becomes Riga().
  bool AllaFine() {
    if (p_ >= fine_) return true;
    ++riga_;
    return false;
  }
  // The line of the number read last, or of the one that could not be read (the line after the last one when the
  // text ended before it).
  int Riga() const { return riga_; }

 private:
  const char* p_;
  const char* fine_;
  int riga_ = 0;
};

// A stroke of a marker symbol: pen code and offset in units of the symbol's height.
struct Tratto {
  int codice;
  double dx, dy;
};
constexpr int M = 3, D = 2;
constexpr double H2 = 0.5, H4 = 0.25, H6 = 1.0 / 6.0;

const std::vector<Tratto>& TrattiSimbolo(int numero, double angolo) {
  static const std::vector<Tratto> nessuno;
  static const std::vector<std::vector<Tratto>> tabella = {
      {},
      // 1 octagon with a line from the centre to the top
      {{M, 0, 0}, {D, 0, H2}, {D, -H6, H2}, {D, -H2, H6}, {D, -H2, -H6}, {D, -H6, -H2}, {D, H6, -H2}, {D, H2, -H6},
       {D, H2, H6}, {D, H6, H2}, {D, 0, H2}, {M, 0, 0}},
      // 2 triangle pointing up
      {{M, 0, 0}, {D, 0, H2}, {D, -H2, -H2}, {D, H2, -H2}, {D, 0, H2}, {M, 0, 0}},
      // 3 plus sign
      {{M, -H2, 0}, {D, H2, 0}, {M, 0, H2}, {D, 0, -H2}, {M, 0, 0}},
      // 4 diagonal cross
      {{M, -H2, -H2}, {D, H2, H2}, {M, -H2, H2}, {D, H2, -H2}, {M, 0, 0}},
      // 5 diamond
      {{M, 0, 0}, {D, 0, H2}, {D, -H2, 0}, {D, 0, -H2}, {D, H2, 0}, {D, 0, H2}, {M, 0, 0}},
      // 6 upward arrow
      {{M, 0, -H2}, {D, 0, H2}, {D, -H2, 0}, {D, H2, 0}, {D, 0, H2}, {M, 0, 0}},
      // 7 triangle pointing down
      {{M, 0, 0}, {D, 0, -H2}, {D, H2, H2}, {D, -H2, H2}, {D, 0, -H2}, {M, 0, 0}},
      // 8 right triangle
      {{M, -H2, H2}, {D, H2, H2}, {D, -H2, -H2}, {D, -H2, H2}, {M, 0, 0}},
      // 9 letter Y
      {{M, -H2, H2}, {D, 0, 0}, {D, H2, H2}, {M, 0, 0}, {D, 0, -H2}, {M, 0, 0}},
      // 10 square with strokes from three outer corners
      {{M, -H2, H2}, {D, -H4, H4}, {M, H2, H2}, {D, 0, 0}, {M, -H2, -H2}, {D, -H4, -H4}, {M, -H2, H2}, {D, -H4, H4},
       {M, -H4, -H4}, {D, -H4, H4}, {D, H4, H4}, {D, H4, -H4}, {D, -H4, -H4}, {M, 0, 0}},
      // 11 eight-armed star
      {{M, -H2, H2}, {D, H2, -H2}, {M, -H2, -H2}, {D, H2, H2}, {M, -H2, 0}, {D, H2, 0}, {M, 0, -H2}, {D, 0, H2},
       {M, 0, 0}},
      // 12 right triangle, closed twice
      {{M, -H2, H2}, {D, H2, H2}, {D, -H2, -H2}, {D, -H2, H2}, {D, -H2, H2}, {M, 0, 0}},
      // 13 vertical bar
      {{M, 0, -H2}, {D, 0, H2}, {M, 0, 0}},
      // 14 six-pointed star
      {{M, 0, 0}, {D, 0, H2}, {D, -H2, -H2}, {D, H2, -H2}, {D, 0, H2}, {M, 0, -H2}, {D, H2, H2}, {D, -H2, H2},
       {D, 0, -H2}, {M, 0, 0}},
      // 15 horizontal line to the right
      {{M, 0, 0}, {D, 1, 0}, {M, 0, 0}},
      // 16 vertical line upwards
      {{M, 0, 0}, {D, 0, 1}, {M, 0, 0}},
  };
  // Marker 2 at 180 degrees points down.
  static const std::vector<Tratto> giu = {{M, 0, 0}, {D, 0, -H2}, {D, -H2, H2}, {D, H2, H2}, {D, 0, -H2}, {M, 0, 0}};
  if (numero == 2 && angolo == 180) return giu;
  if (numero < 1 || numero >= static_cast<int>(tabella.size())) return nessuno;
  return tabella[numero];
}

}  // namespace

QString FileBloccoSegmenti(int b) {
  const QString cartella = plat::TempFolder();
  if (cartella.isEmpty()) return QString();
  return plat::JoinPath(cartella, NomeBlocco(b));
}

void Traccia(double x, double y, int pen) {
  ModuloGrafico& g = Grafico;
  if (pen == 999) {
    g.ZoomInCorso = false;
    g.ZoomAttivo = false;
    if (g.NumeroSegmenti > 0) {
      ++g.NumeroBlocchi;
      ScriviBlocco(g.NumeroBlocchi, g.NumeroSegmenti);
    }
    if (GRAFICA* f = FinestraGrafica()) {
      if (f->Pulsante(8)) f->Pulsante(8)->hide();
      f->activateWindow();
      f->setFocus();
    }
  }
  if (!Finiti({x, y})) return;
  if (pen == 2 || pen == -2) {
    const int colore = ColoreVisibile(g.PennaCorrente.Colore);
    plat::DrawingSurface* p = SuperficieGrafica();
    if (g.PennaCorrente.Spessore != g.UltimoSpessore) {
      const double w = g.PennaCorrente.Spessore * (g.ScalaGrafico.X + g.ScalaGrafico.Y) / 2.0;
      if (p) p->SetDrawWidth(w < 1 ? 1 : static_cast<int>(std::nearbyint(std::min(w, 1e4))));
      g.UltimoSpessore = g.PennaCorrente.Spessore;
    }
    if (g.PennaCorrente.Colore > 0) {
      const double dx = g.OrigineGrafico.X + g.MarginiGrafico.Sinistro;
      const double dy = g.OrigineGrafico.Y - g.MarginiGrafico.Superiore;
      const Segmento s{g.PuntoCorrente.X + dx, g.PuntoCorrente.Y + dy, x + dx, y + dy, colore,
                       g.PennaCorrente.Spessore};
      // Beyond the range of numbers: neither drawn nor recorded.
      const bool finito = Finiti({s.X1, s.Y1, s.X2, s.Y2});
      if (p && finito) p->Line(s.X1, s.Y1, s.X2, s.Y2, colore);
      if (finito && !g.RidisegnoInCorso) {
        if (++g.NumeroSegmenti > DimensioneBlocco) {
          ++g.NumeroBlocchi;
          ScriviBlocco(g.NumeroBlocchi, DimensioneBlocco);
          g.NumeroSegmenti = 1;
        }
        g.ListaSegmenti[g.NumeroSegmenti] = s;
      }
    }
  }
  g.PuntoCorrente = {x, y};
  if (pen < 0) {
    g.OrigineGrafico.X += x;
    g.OrigineGrafico.Y += y;
    g.PuntoCorrente = {0, 0};
  }
}

void DisegnaSimbolo(double x, double y, double height, const QString& text, double angle, int n) {
  if (!Finiti({x, y, height, angle})) return;
  ModuloGrafico& g = Grafico;
  if (n == -1) {
    const double numero = plat::Val(text);
    const int marcatore = numero == std::floor(numero) && std::fabs(numero) < 100 ? static_cast<int>(numero) : 0;
    for (const Tratto& t : TrattiSimbolo(marcatore, angle)) Traccia(x + t.dx * height, y + t.dy * height, t.codice);
    return;
  }
  plat::DrawingSurface* p = SuperficieGrafica();
  const double xd = x + g.OrigineGrafico.X + g.MarginiGrafico.Sinistro;
  const double yd = y + g.OrigineGrafico.Y - g.MarginiGrafico.Superiore;
  const Scritta scritta{xd, yd, height, angle, n, text, ColoreVisibile(g.PennaCorrente.Colore),
                        g.PennaCorrente.Carattere};
  const AncoraggioScritta a = Ancoraggio(scritta, g.FinestraPagina);
  if (p) {
    p->SelectFont(AltezzaCarattereSchermo(height * a.Scala), static_cast<int>(std::nearbyint(angle * 10)),
                  g.PennaCorrente.Carattere);
    p->SetTextAlign(a.Centrata ? plat::TA_CENTER | plat::TA_BASELINE : plat::TA_LEFT | plat::TA_BASELINE);
  }
  if (g.PennaCorrente.Colore <= 0 || !Finiti({xd, yd})) return;
  if (p) {
    p->SetTextColor(scritta.Colore);
    p->SetCurrentPosition(a.X, yd);
    p->Print(text);
  }
  if (g.RidisegnoInCorso) return;
  // Every text drawn is recorded, however many: the list grows with the plot.
  if (static_cast<std::size_t>(++g.NumeroScritte) < g.ListaScritte.size())
    g.ListaScritte[static_cast<std::size_t>(g.NumeroScritte)] = scritta;
  else
    g.ListaScritte.push_back(scritta);
}

QString TestoNumero(double value, int decimals) {
  if (!std::isfinite(value)) return QString();
  const QString segno = value < 0 ? QStringLiteral("-") : QString();
  value = std::fabs(value);
  double intero = std::floor(value);
  double frazione = std::floor((value - intero) * 100000 + 0.5);
  if (frazione >= 100000) {
    intero += 1;
    frazione = 0;
  }
  const QString cifre = QString::number(static_cast<int>(frazione)).rightJustified(5, QLatin1Char('0'));
  return segno + QString::number(intero, 'f', 0) + QLatin1Char('.') + cifre.left(std::max(0, decimals));
}

void DisegnaNumero(double x, double y, double height, double value, double angle, int decimals) {
  const QString testo = TestoNumero(value, decimals);
  if (testo.isEmpty()) return;
  DisegnaSimbolo(x, y, height, testo, angle, static_cast<int>(testo.size()));
}

void DisegnaTitoliPagina(const QString& sottotitolo, double altezzaSottotitolo, const TitoliSessione& titoli) {
  DisegnaSimbolo(kCentroTitoli, kYTitolo, kAltezzaTitolo, Traduci(QStringLiteral("RILIEVO STRUTTURALE")), 0,
                 kCentrato);
  DisegnaSimbolo(kCentroTitoli, kYSottotitolo, altezzaSottotitolo, sottotitolo, 0, kCentrato);
  for (std::size_t n = 1; n <= 4; ++n)
    DisegnaSimbolo(kCentroTitoli, kYTitoliSessione[n], n == 1 ? kAltezzaPrimoTitolo : kAltezzaTitoli, titoli[n], 0,
                   kCentrato);
}

void TagliaSegmento(double& x1, double& y1, double& x2, double& y2, double xmin, double xmax, double ymin,
                    double ymax, int& result) {
  const auto fuori = [&] {
    return (x1 < xmin && x2 < xmin) || (x1 > xmax && x2 > xmax) || (y1 < ymin && y2 < ymin) ||
           (y1 > ymax && y2 > ymax);
  };
  const auto scambia = [&] {
    Scambia(x1, x2);
    Scambia(y1, y2);
  };
  result = 1;
  if (!Finiti({x1, y1, x2, y2, xmin, xmax, ymin, ymax}) || fuori()) return;
  if (x1 == x2) {
    if (y1 > y2) Scambia(y1, y2);
    if (y1 < ymin) y1 = ymin;
    if (y2 > ymax) y2 = ymax;
  }
  if (x1 > x2) scambia();
  if (x1 < xmin) {
    y1 = y1 + (xmin - x1) * (y2 - y1) / (x2 - x1);
    x1 = xmin;
    if (fuori()) return;
  }
  if (x2 > xmax) {
    y2 = y1 + (xmax - x1) * (y2 - y1) / (x2 - x1);
    x2 = xmax;
    if (fuori()) return;
  }
  if (y1 > y2) scambia();
  if (y1 < ymin) {
    x1 = x1 + (ymin - y1) * (x2 - x1) / (y2 - y1);
    y1 = ymin;
    if (fuori()) return;
  }
  if (y2 > ymax) {
    x2 = x1 + (ymax - y1) * (x2 - x1) / (y2 - y1);
    y2 = ymax;
    if (fuori()) return;
  }
  result = 0;
}

bool LeggiBloccoSegmenti(int b) {
  ModuloGrafico& g = Grafico;
  const QString percorso = FileBloccoSegmenti(b);
  QByteArray testo;
  const bool letto = !percorso.isEmpty() && plat::ReadDataFile(percorso, testo) == plat::ReadFault::None;
  g.NumeroSegmenti = 0;
  // What ScriviBlocco writes: every chunk before the last one full, the last one of 1 to DimensioneBlocco
  // segments (a plot without segments writes none), the colour a whole RGB value, the width not below 0, nothing
  // after the last segment.
  LettoreBlocco r(testo);
  const bool ultimo = b >= g.NumeroBlocchi;
  double conta = 0;
  bool ok = letto && r.Leggi(conta) && conta == std::floor(conta) && conta <= DimensioneBlocco &&
            (ultimo ? conta >= 1 : conta == DimensioneBlocco);
  for (int i = 1; ok && i <= conta; ++i) {
    double v[6];
    for (int k = 0; ok && k < 6; ++k) {
      ok = r.Leggi(v[k]);
      if (ok && k == 4) ok = v[k] >= 0 && v[k] <= 0xFFFFFF && v[k] == std::floor(v[k]);
      if (ok && k == 5) ok = v[k] >= 0;
    }
    if (!ok) break;
    g.ListaSegmenti[i] = Segmento{v[0], v[1], v[2], v[3], static_cast<int>(v[4]), v[5]};
    g.NumeroSegmenti = i;
  }
  if (ok && r.AllaFine()) return true;
  // A chunk that is missing or cannot be read is named alone; a damaged one with the line that is not as written.
  Avviso(Traduci(QStringLiteral("Il file temporaneo del grafico manca o e' incompleto:")) + QLatin1Char('\n') +
         DescrizioneFile(BloccoPerMessaggio(b), letto ? r.Riga() : 0));
  return false;
}

bool PercorriSegmenti(const std::function<void(const Segmento&)>& f) {
  ModuloGrafico& g = Grafico;
  if (g.NumeroBlocchi == 0) {
    for (int i = 1; i <= g.NumeroSegmenti; ++i) f(g.ListaSegmenti[i]);
    return true;
  }
  for (int b = 1; b <= g.NumeroBlocchi; ++b) {
    Clessidra clessidra;
    if (!LeggiBloccoSegmenti(b)) return false;
    for (int i = 1; i <= g.NumeroSegmenti; ++i) f(g.ListaSegmenti[i]);
  }
  return true;
}

// --- Helpers of the engine --------------------------------------------------------------------------------------

Clessidra::Clessidra() { QApplication::setOverrideCursor(Qt::WaitCursor); }
Clessidra::~Clessidra() { QApplication::restoreOverrideCursor(); }

void Avviso(const QString& testo) {
  plat::MsgBox(testo, plat::vbOKOnly | plat::vbExclamation, Traduci(QStringLiteral("ATTENZIONE")) + QLatin1Char('!'));
}

plat::DrawingSurface* SuperficieGrafica() {
  GRAFICA* f = FinestraGrafica();
  return f ? f->Picture7 : nullptr;
}

int ColoreVisibile(int colore) { return colore == kBianco ? 0 : colore; }

AncoraggioScritta AncoraggioLarghezza(const Scritta& scritta, const Finestra& pagina,
                                      const std::function<double(const Scritta&)>& larghezza) {
  const bool centrata = scritta.Tipo == -2;
  if (!centrata || scritta.Angolo != 0 || scritta.Testo.isEmpty()) return {scritta.X, centrata};
  const double w = larghezza(scritta);
  // Widths follow the font's height closely, not exactly: a little room is kept.
  if (w > pagina.X2 - pagina.X1) return {pagina.X1, false, 0.98 * (pagina.X2 - pagina.X1) / w};
  return {scritta.X, true};
}

AncoraggioScritta Ancoraggio(const Scritta& scritta, const Finestra& pagina) {
  return AncoraggioLarghezza(scritta, pagina, [](const Scritta& s) {
    // The width in centimetres, measured at 200 pixels a centimetre.
    constexpr double kPixelCm = 200;
    const double cella = std::clamp(s.Altezza * 5.0 / 3.0 * kPixelCm, 1.0, 1e6);
    const QFontMetricsF m(plat::GdiFont(static_cast<int>(std::lround(cella)), s.Carattere.left(31)));
    return m.horizontalAdvance(s.Testo) / kPixelCm;
  });
}

int AltezzaCarattereSchermo(double altezza) {
  const double p = std::floor(altezza * (Grafico.ScalaGrafico.X + Grafico.ScalaGrafico.Y) / 2.0);
  const double h = std::nearbyint(-(4.0 * std::clamp(p, -1e6, 1e6)) / 3.0);
  return h == 0 ? -1 : static_cast<int>(h);
}
