// The plot engine beside floors measured in the same run, on the stereographic plot of plot_bench.cpp (1000 great
// circles of 200 segments, about 200,000 segments in 7 chunk files):
//   - DXF export (ScriviDXF) beside a writer of the same bytes built with std::to_chars from segments in memory,
//     saved the same way (the bytes are compared once: the floor must write the very same file);
//   - the display list (geometry, recording, the spill of the chunk files) beside the same geometry kept in a
//     vector and spilled as text with std::to_chars to plain files;
//   - the replay of the display list (PercorriSegmenti: every chunk read back) beside reading the same chunk files
//     and parsing their numbers with std::from_chars;
//   - the redraw of the whole page on the 1920 x 1047 preview (RidisegnaTutto) beside reading and parsing the chunk
//     files and drawing each run of one pen with one QPainter::drawPolyline, and beside the same with one
//     QPainter::drawLines per run (the pixels of a line drawn on its own, which a polyline does not give).
// Each pair is run in turn for several rounds; the table gives the medians and the median of the per-round ratios.
//   benchmarks/floors.sh [rounds]
#include "common/platform/files.h"
#include "common/platform/forms.h"
#include "common/plot/dxf.h"
#include "common/plot/grafica.h"
#include "common/plot/grafico.h"
#include "common/texts/avvio.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kCerchi = 1000;
constexpr int kPassi = 200;

// The points of the plot, as plot_bench.cpp draws them: `punto(x, y, codice)` for each pen movement.
template <typename F>
void Geometria(F punto) {
  for (int k = 0; k < kCerchi; ++k) {
    const double direzione = k * 2 * M_PI / kCerchi;
    const double inclinazione = 0.05 + 1.45 * ((k * 37) % kCerchi) / kCerchi;
    for (int j = 0; j <= kPassi; ++j) {
      const double t = -1 + j * 2.0 / kPassi, w = std::sqrt(std::max(0.0, 1 - t * t));
      const double vx = w * std::cos(inclinazione), vy = t, vz = w * std::sin(inclinazione);
      const double i = std::asin(std::min(1.0, vz)), d = std::atan2(vy, vx) + direzione;
      const double r = std::sqrt(std::max(0.0, 1 - std::sin(i)));
      punto(k, 10 + 8 * r * std::cos(d), 14 + 8 * r * std::sin(d), j == 0 ? 3 : 2);
    }
  }
}

void DisegnaStereogramma() {
  InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0);
  int p = 1;
  SelezionaPennaTabella(p);
  DisegnaSimbolo(10, 27, 0.5, QStringLiteral("RILIEVO STRUTTURALE"), 0, -2);
  DisegnaSimbolo(10, 26.4, 0.35, QStringLiteral("proiezione stereografica"), 0, -2);
  int ultimo = -1;
  Geometria([&](int k, double x, double y, int codice) {
    if (k != ultimo) {
      p = 16 + k % 15;
      SelezionaPennaTabella(p);
      ultimo = k;
    }
    Traccia(x, y, codice);
  });
  p = 2;
  SelezionaPennaTabella(p);
  Traccia(10, 22, 3);
  for (int j = 0; j <= 200; ++j) Traccia(10 + 8 * std::sin(j * M_PI / 100), 14 + 8 * std::cos(j * M_PI / 100), 2);
  Traccia(0, 0, 999);
}

// Floor of the display list: the same points as segments in a vector, each full chunk and the last written as
// shortest text with std::to_chars to a plain file.
std::vector<Segmento> g_pavimento;
void ListaPavimento(const QString& cartella) {
  std::vector<Segmento>& v = g_pavimento;
  v.clear();
  int blocco = 0;
  std::string testo;
  const auto scrivi = [&](std::size_t da, std::size_t a) {
    testo.clear();
    char b[64];
    for (std::size_t i = da; i < a; ++i) {
      const Segmento& s = v[i];
      for (double x : {s.X1, s.Y1, s.X2, s.Y2, static_cast<double>(s.Colore), s.Spessore}) {
        char* e = std::to_chars(b, b + sizeof b, x).ptr;
        *e++ = '\r';
        *e++ = '\n';
        testo.append(b, e);
      }
    }
    const std::string nome = (cartella + QStringLiteral("/floor%1.tmp").arg(++blocco)).toStdString();
    if (FILE* f = std::fopen(nome.c_str(), "wb")) {
      std::fwrite(testo.data(), 1, testo.size(), f);
      std::fclose(f);
    }
  };
  double px = 0, py = 0;
  std::size_t scritti = 0;
  Geometria([&](int k, double x, double y, int codice) {
    if (codice == 2) v.push_back(Segmento{px, py, x, y, 0x800000 + k % 15, 0});
    px = x;
    py = y;
    if (v.size() - scritti == static_cast<std::size_t>(DimensioneBlocco)) {
      scrivi(scritti, v.size());
      scritti = v.size();
    }
  });
  scrivi(scritti, v.size());
}

// Floor of the replay: the chunk files read whole and parsed with std::from_chars.
double RiletturaPavimento() {
  double somma = 0;
  for (int b = 1; b <= Grafico.NumeroBlocchi; ++b) {
    QByteArray testo;
    plat::ReadWholeFile(FileBloccoSegmenti(b), testo);
    const char* p = testo.constData();
    const char* fine = p + testo.size();
    while (p < fine) {
      while (p < fine && (*p == ' ' || *p == '\r' || *p == '\n')) ++p;
      double v = 0;
      const auto r = std::from_chars(p, fine, v);
      if (r.ptr == p) break;
      somma += v;
      p = r.ptr;
    }
  }
  return somma;
}

// Floor of the redraw: the chunk files parsed as above, each segment taken to pixels with the preview's scale, each
// run of one colour drawn with one call, on an image of the preview's size with the preview's pen.
struct Scala {
  double ax, bx, ay, by;  // pixel = a * user + b
};
QImage g_immagine;
void RidisegnoPavimento(const Scala& k, bool polilinea) {
  g_immagine.fill(Qt::white);
  QPainter p(&g_immagine);
  p.setRenderHint(QPainter::Antialiasing, false);
  std::vector<QPointF> punti;
  std::vector<QLineF> linee;
  int colore = -1;
  QPointF fine;
  const auto traccia = [&] {
    if (polilinea && punti.size() > 1) p.drawPolyline(punti.data(), static_cast<int>(punti.size()));
    if (!polilinea && !linee.empty()) p.drawLines(linee.data(), static_cast<int>(linee.size()));
    punti.clear();
    linee.clear();
  };
  for (int b = 1; b <= Grafico.NumeroBlocchi; ++b) {
    QByteArray testo;
    plat::ReadWholeFile(FileBloccoSegmenti(b), testo);
    const char* c = testo.constData();
    const char* e = c + testo.size();
    const auto numero = [&] {
      while (c < e && (*c == ' ' || *c == '\r' || *c == '\n')) ++c;
      double v = 0;
      c = std::from_chars(c, e, v).ptr;
      return v;
    };
    const int n = static_cast<int>(numero());
    for (int i = 0; i < n; ++i) {
      double v[6];
      for (double& x : v) x = numero();
      const QPointF a(k.ax * v[0] + k.bx, k.ay * v[1] + k.by), z(k.ax * v[2] + k.bx, k.ay * v[3] + k.by);
      const int c6 = static_cast<int>(v[4]);
      if (c6 != colore || a != fine) {
        traccia();
        if (c6 != colore) {
          QPen penna(QColor((c6 & 0xFF), (c6 >> 8) & 0xFF, (c6 >> 16) & 0xFF));
          penna.setCapStyle(Qt::SquareCap);
          p.setPen(penna);
          colore = c6;
        }
        punti.push_back(a);
      }
      punti.push_back(z);
      linee.emplace_back(a, z);
      fine = z;
    }
  }
  traccia();
}

// Floor of the DXF export: the file's bytes with the entities built by std::to_chars from segments in memory.
// The header and the texts are taken as they stand from the project's own file; the LINE entities are written
// here, each number as "####.###" would print it (right-aligned in 8, three decimals).
struct Parti {
  QByteArray testa, coda;
};
Parti g_parti;
std::vector<Segmento> g_segmenti;

void FissoTreDecimali(std::string& out, double v) {
  const double arrotondato = std::floor(v * 1000 + 0.5) / 1000;
  char b[64];
  char* e = std::to_chars(b, b + sizeof b, arrotondato, std::chars_format::fixed, 3).ptr;
  const std::ptrdiff_t n = e - b;
  if (n < 8) out.append(static_cast<std::size_t>(8 - n), ' ');
  out.append(b, e);
  out += "\r\n";
}

QByteArray DxfPavimento(const QString& file) {
  std::string out(g_parti.testa.constData(), static_cast<std::size_t>(g_parti.testa.size()));
  out.reserve(static_cast<std::size_t>(g_segmenti.size()) * 80 + static_cast<std::size_t>(g_parti.coda.size()));
  int strato = 15;
  for (const Segmento& s : g_segmenti) {
    if (const int n = StratoColore(s.Colore)) strato = n;
    out += " 0\r\nLINE\r\n 8\r\n";
    char b[8];
    out.append(b, std::to_chars(b, b + sizeof b, strato).ptr);
    out += "\r\n10\r\n";
    FissoTreDecimali(out, s.X1);
    out += "20\r\n";
    FissoTreDecimali(out, s.Y1);
    out += "11\r\n";
    FissoTreDecimali(out, s.X2);
    out += "21\r\n";
    FissoTreDecimali(out, s.Y2);
  }
  out.append(g_parti.coda.constData(), static_cast<std::size_t>(g_parti.coda.size()));
  QByteArray bytes(out.data(), static_cast<qsizetype>(out.size()));
  plat::WriteWholeFile(file, bytes);
  return bytes;
}

double Millisecondi(const std::function<void()>& f) {
  const auto a = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Confronta(const char* nome, int giri, const std::function<void()>& progetto, const char* nomePavimento,
               const std::function<void()>& pavimento, double obiettivo) {
  std::vector<double> a, b, r;
  progetto();  // warm-up of both
  pavimento();
  for (int i = 0; i < giri; ++i) {
    a.push_back(Millisecondi(progetto));
    b.push_back(Millisecondi(pavimento));
    r.push_back(a.back() / b.back());
  }
  std::printf("| %-34s | %8.1f ms | %-44s | %8.1f ms | %5.2fx | %4.1fx |\n", nome, Mediana(a), nomePavimento, Mediana(b),
              Mediana(r), obiettivo);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  // One argument at most, the rounds: a whole number from 1 (default 7); --help or anything else prints the usage.
  int giri = 7;
  if (argc > 1) {
    const char* testo = argv[1];
    const char* fine = testo + std::strlen(testo);
    const auto [resto, errore] = std::from_chars(testo, fine, giri);
    const bool valido = argc == 2 && errore == std::errc() && resto == fine && giri >= 1;
    if (!valido) {
      const bool aiuto = std::strcmp(testo, "--help") == 0 || std::strcmp(testo, "-h") == 0;
      std::fprintf(aiuto ? stdout : stderr,
                   "usage: bench_floors [rounds]\n"
                   "  the plot engine beside floors of the same work, each pair run in turn for the rounds given\n"
                   "  (a whole number from 1, default 7): medians and the median of the per-round ratios\n");
      return aiuto ? 0 : 2;
    }
  }
  QTemporaryDir cartella;
  // The preview of a 1920 x 1080 screen, as in plot_bench.cpp.
  QFile schermo(cartella.filePath(QStringLiteral("screen.json")));
  if (!schermo.open(QIODevice::WriteOnly)) return 1;
  schermo.write(R"({"screens":[{"name":"S","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96}]})");
  schermo.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + schermo.fileName()).toLocal8Bit());
  qputenv("FRATTIX_PDF_DIR", cartella.path().toLocal8Bit());
  QApplication app(argc, argv);
  plat::SetProgramFolder(QStringLiteral(FRATTIX_BENCH_BIN_DIR));
  Avvio.NumeroLingua = 1;
  Avvio.CodiceLingua = QStringLiteral("ita");
  plat::Form menu1(QStringLiteral("menu1"));
  DisegnaStereogramma();

  // What the DXF floor needs: the segments in memory and the parts of the file it does not build itself.
  const QString dxf = cartella.filePath(QStringLiteral("stereo.dxf"));
  const QString dxfPavimento = cartella.filePath(QStringLiteral("floor.dxf"));
  PercorriSegmenti([](const Segmento& s) { g_segmenti.push_back(s); });
  ScriviDXF(dxf);
  QByteArray atteso;
  plat::ReadWholeFile(dxf, atteso);
  const qsizetype inizio = atteso.indexOf("ENTITIES\r\n") + 10;
  const qsizetype fine = atteso.indexOf(" 0\r\nTEXT\r\n");
  g_parti = {atteso.left(inizio), atteso.mid(fine)};
  if (DxfPavimento(dxfPavimento) != atteso) {
    std::fprintf(stderr, "the floor's DXF differs from the project's\n");
    return 1;
  }

  std::printf("%zu segments, %d chunk files, %d rounds; ratio = median of the per-round ratios\n\n", g_segmenti.size(),
              Grafico.NumeroBlocchi, giri);
  std::printf("| %-34s | %11s | %-44s | %11s | %6s | %5s |\n", "what", "median", "floor", "median", "ratio", "goal");
  std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(36, '-').c_str(), std::string(13, '-').c_str(),
              std::string(46, '-').c_str(), std::string(13, '-').c_str(), std::string(8, '-').c_str(),
              std::string(7, '-').c_str());
  Confronta("DXF export (ScriviDXF)", giri, [&] { ScriviDXF(dxf); }, "same bytes by std::to_chars, same save", [&] {
    DxfPavimento(dxfPavimento);
  }, 2.0);
  Confronta("display list with spill", giri, [] { DisegnaStereogramma(); }, "geometry, vector, to_chars text spill",
            [&] { ListaPavimento(cartella.path()); }, 1.5);
  double somma = 0;
  Confronta("replay of the chunks", giri, [] { PercorriSegmenti([](const Segmento&) {}); },
            "chunk bytes parsed by std::from_chars", [&] { somma += RiletturaPavimento(); }, 1.2);
  plat::DrawingSurface* superficie = FinestraGrafica()->Picture7;
  RidisegnaTutto();
  const QPointF o = superficie->ToPixels(0, 0), u = superficie->ToPixels(1, 1);
  const Scala k{u.x() - o.x(), o.x(), u.y() - o.y(), o.y()};
  g_immagine = QImage(superficie->ImageSize(), QImage::Format_RGB32);
  std::printf("\npreview %d x %d\n", g_immagine.width(), g_immagine.height());
  Confronta("redraw of the whole page", giri, [] { RidisegnaTutto(); }, "chunks parsed + drawPolyline per pen run",
            [&] { RidisegnoPavimento(k, true); }, 1.2);
  Confronta("redraw of the whole page", giri, [] { RidisegnaTutto(); }, "chunks parsed + drawLines per pen run",
            [&] { RidisegnoPavimento(k, false); }, 1.2);
  return somma == 0;
}
