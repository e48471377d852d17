#include "common/plot/dxf.h"

#include "common/plot/grafico.h"
#include "common/plot/interno.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>

ModuloDxf Dxf;

namespace {

// A byte of Windows-1252 that stands for a control character: C0, DEL, and the bytes that stand for no character.
bool Controllo(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

plat::SeqWriter& File99() {
  static plat::SeqWriter file;
  return file;
}

void Righe(std::initializer_list<QString> righe) {
  for (const QString& r : righe) File99().WriteLine(r);
}

// An entity built as bytes in a buffer and written to the file in one piece: group codes and figures are ASCII,
// so nothing is converted on the way.
class Entita {
 public:
  Entita() = default;
  ~Entita() { Scrivi(); }
  Entita(const Entita&) = delete;
  Entita& operator=(const Entita&) = delete;

  // A line of ASCII text.
  Entita& operator<<(std::string_view riga) {
    if (riga.size() + 2 > sizeof buf_) {
      // Longer than the buffer (a very long text): straight to the file.
      Scrivi();
      File99().WriteBytes(riga.data(), static_cast<qsizetype>(riga.size()));
    } else {
      Spazio(riga.size());
      std::memcpy(fine_, riga.data(), riga.size());
      fine_ += riga.size();
    }
    return Fine();
  }
  template <std::size_t N>
  Entita& operator<<(const char (&riga)[N]) {
    return *this << std::string_view(riga, N - 1);
  }
  // A line of any text, in the file's encoding. A control character (a TAB or a Ctrl-Z of a title, say) is written
  // as a blank: in a DXF it would end the value or make the file one that no program reads.
  Entita& operator<<(const QString& riga) {
    QByteArray b = plat::EncodeAnsi(riga);
    for (char& c : b)
      if (Controllo(static_cast<unsigned char>(c))) c = ' ';
    return *this << std::string_view(b.constData(), static_cast<std::size_t>(b.size()));
  }
  // A figure with the picture `mask`, as FormatoFisso writes it.
  Entita& Fisso(double v, std::string_view mask) {
    Spazio(LunghezzaFigura + mask.size());
    fine_ = FormatoFissoChars(fine_, v, mask);
    return Fine();
  }
  // A whole number as QString::number writes it.
  Entita& Intero(int v) {
    Spazio(16);
    fine_ = std::to_chars(fine_, fine_ + 16, v).ptr;
    return Fine();
  }

 private:
  Entita& Fine() {
    Spazio(0);
    *fine_++ = '\r';
    *fine_++ = '\n';
    return *this;
  }
  // Room for `n` characters and a line end: what is built so far goes to the file first when needed.
  void Spazio(std::size_t n) {
    if (static_cast<std::size_t>(buf_ + sizeof buf_ - fine_) < n + 2) Scrivi();
  }
  void Scrivi() {
    File99().WriteBytes(buf_, fine_ - buf_);
    fine_ = buf_;
  }
  char buf_[2 * LunghezzaFigura + 64];
  char* fine_ = buf_;
};

// The classic 16-colour palette without black: layer n takes colour n.
constexpr int kPalette[16][3] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},     {0, 128, 128},
                                 {128, 0, 0},     {128, 0, 128}, {128, 128, 0},   {192, 192, 192},
                                 {128, 128, 128}, {0, 0, 255},   {0, 255, 0},     {0, 255, 255},
                                 {255, 0, 0},     {255, 0, 255}, {255, 255, 0},   {255, 255, 255}};
// The DXF colour number of each layer (layer "0" takes 7).
constexpr int kColoriLayer[16] = {7, 5, 3, 4, 1, 6, 2, 7, 7, 5, 3, 4, 1, 6, 2, 7};

struct TipoLinea {
  const char* nome;
  const char* descrizione;
  const char* elementi;
  const char* lunghezza;
  std::initializer_list<const char*> tratti;
};

const TipoLinea kTipiLinea[] = {
    {"CONTINUOUS", "Solid line", "     0", "0.0", {}},
    {"DASHED", "__ __ __ __ __ __ __ __ __ __ __ __ __ __ __", "     2", "0.75", {"0.5", "-0.25"}},
    {"HIDDEN", "_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _", "     2", "0.375", {"0.25", "-0.125"}},
    {"CENTER", "____ _ ____ _ ____ _ ____ _ ____ _ ____ _ ____", "     4", "2.0", {"1.25", "-0.25", "0.25", "-0.25"}},
    {"PHANTOM",
     "_____ _ _ _____ _ _ _____ _ _ _____ _ _ ____",
     "     6",
     "2.5",
     {"1.25", "-0.25", "0.25", "-0.25", "0.25", "-0.25"}},
    {"DOT", "...............................................", "     2", "0.25", {"0.0", "-0.25"}},
    {"DASHDOT", "__ . __ . __ . __ . __ . __ . __ . __ . __ . __", "     4", "1.0", {"0.5", "-0.25", "0.0", "-0.25"}},
    {"BORDER",
     "__ __ . __ __ . __ __ . __ __ . __ __ . __ __",
     "     6",
     "1.75",
     {"0.5", "-0.25", "0.5", "-0.25", "0.0", "-0.25"}},
    {"DIVIDE",
     "__ . . __ . . __ . . __ . . __ . . __ . . __",
     "     6",
     "1.25",
     {"0.5", "-0.25", "0.0", "-0.25", "0.0", "-0.25"}},
};

// Layers above 15 come back into 2..15.
int Riduci(int strato) {
  while (strato > 15) strato -= 14;
  return strato;
}

QString Q(const char* s) { return QString::fromLatin1(s); }

// The width the writer counts for a text of height h in its text style: a character as wide as the text is high.
double LarghezzaTestoDxf(const QString& text, double h) { return static_cast<double>(text.size()) * h; }

}  // namespace

QString LeggiStileDxf() {
  const QString percorso = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("dxf.cfg"));
  const QString predefinito = QStringLiteral("MONOTXT");
  if (!plat::EntryExists(percorso)) {
    // Made with the usual style for the user to change; one that cannot be made is said, and the drawing takes the
    // usual style all the same.
    plat::SeqWriter w;
    bool scritto = w.Open(percorso);
    if (scritto) {
      w.WriteLine(predefinito);
      scritto = w.Close();
    }
    if (!scritto)
      Avviso(Traduci(QStringLiteral("Il file seguente non puo' essere scritto:")) + QLatin1Char('\n') +
             DescrizioneFile(percorso));
    return predefinito;
  }
  plat::SeqReader r;
  int riga = 0;
  const auto guasto = [&](int linea) {
    Avviso(FileDanneggiato(r.Path().isEmpty() ? percorso : r.Path(), linea));
    return predefinito;
  };
  if (!r.Open(percorso)) return r.Missing() ? predefinito : guasto(r.FaultLine());
  QString stile;
  riga = r.LineNumber();
  if (!r.ReadItem(stile)) return predefinito;  // an empty file
  if (!r.AtEnd() && r.LineNumber() == riga) return guasto(riga);
  stile = plat::TrimBlanks(stile);
  for (const QChar c : std::as_const(stile))
    if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) return guasto(riga);
  if (!dati::FineSostanziale(r, &riga)) return guasto(riga);
  return stile.isEmpty() ? predefinito : stile;
}

void DxfIntestazione(double xmin, double ymin, double xmax, double ymax) {
  Dxf.StileTestoDxf = LeggiStileDxf();
  const QString& stile = Dxf.StileTestoDxf;
  const auto f = [](double v) { return FormatoFisso(v, QStringLiteral("####.##")); };
  Righe({" 0", "SECTION", " 2", "HEADER", " 9", "$INSBASE", " 10", " 0.0", " 20", " 0.0"});
  Righe({" 9", "$EXTMIN", " 10", f(xmin), " 20", f(ymin), " 9", "$EXTMAX", " 10", f(xmax), " 20", f(ymax)});
  Righe({" 9", "$LIMMIN", " 10", f(xmin), " 20", f(ymin), " 9", "$LIMMAX", " 10", f(xmax), " 20", f(ymax)});
  Righe({" 9", "$TEXTSTYLE", " 7", stile, " 9", "$DIMSCALE", " 40", " 1.0", " 0", "ENDSEC"});

  Righe({" 0", "SECTION", " 2", "TABLES", "0", "TABLE", "  2", "LTYPE", " 70", "     9"});
  for (const TipoLinea& t : kTipiLinea) {
    Righe({"  0", "LTYPE", "  2", Q(t.nome), " 70", "    64", "  3", Q(t.descrizione), " 72", "    65", " 73",
           Q(t.elementi), " 40", Q(t.lunghezza)});
    for (const char* e : t.tratti) Righe({" 49", Q(e)});
  }
  Righe({"  0", "ENDTAB"});

  Righe({" 0", "TABLE", " 2", "LAYER", " 70", "    16"});
  Righe({" 0", "LAYER", "  2", "0", " 70", "     0", " 62", "     7", " 6", "CONTINUOUS"});
  for (int n = 1; n <= 15; ++n)
    Righe({" 0", "LAYER", "  2", QString::number(n), " 70", "     0", " 62", QString::number(kColoriLayer[n]), " 6",
           "CONTINUOUS"});
  Righe({" 0", "ENDTAB"});

  Righe({" 0", "TABLE", " 2", "STYLE", " 70", "     1", " 0", "STYLE", " 2", stile, " 70", "     0", " 40", "0.0",
         " 41", "1.0", " 50", "0.0", " 71", "      0", " 42", "0.2", " 3", stile});
  Righe({" 0", "ENDTAB", " 0", "ENDSEC"});

  Righe({" 0", "SECTION", " 2", "ENTITIES"});
}

bool DxfApri(const QString& name, double xmin, double ymin, double xmax, double ymax) {
  if (Dxf.StileTestoDxf.isEmpty()) Dxf.StileTestoDxf = QStringLiteral("MONOTXT");
  Dxf.Fallito = false;
  Dxf.Aperto = File99().Open(name);
  if (!Dxf.Aperto) {
    Dxf.Fallito = true;
    return false;
  }
  DxfIntestazione(xmin, ymin, xmax, ymax);
  DxfTraccia(0, SentinellaDxf, 0);
  Dxf.Stato.OrigineTestoX = 0;
  Dxf.Stato.OrigineTestoY = 0;
  DxfColore(0);
  return true;
}

void DxfTraccia(double x, double y, int code) {
  StatoDxf& s = Dxf.Stato;
  s.CorrenteX = x;
  s.CorrenteY = y;
  if (x == SentinellaDxf) {
    s.StratoLinee = code;
    return;
  }
  if (code == -3 || code == -2) {
    s.OrigineTestoX = x + s.OrigineX;
    s.OrigineTestoY = y + s.OrigineY;
  }
  if ((code == 2 || code == -2) && Dxf.Aperto) {
    const int strato = Riduci(s.StratoLinee);
    constexpr std::string_view m = "####.###";
    Entita e;
    e << " 0" << "LINE" << " 8";
    e.Fisso(strato, strato < 10 ? "#" : "##") << "10";
    e.Fisso(s.PrecedenteX + s.OrigineX, m) << "20";
    e.Fisso(s.PrecedenteY + s.OrigineY, m) << "11";
    e.Fisso(s.CorrenteX + s.OrigineX, m) << "21";
    e.Fisso(s.CorrenteY + s.OrigineY, m);
  }
  if (code == 999 && Dxf.Aperto) {
    Righe({" 0", "ENDSEC", " 0", "EOF"});
    Dxf.Aperto = false;
    Dxf.Fallito = !File99().Close();
  }
  s.PrecedenteX = s.CorrenteX;
  s.PrecedenteY = s.CorrenteY;
  if (code < 0) {
    s.OrigineX += x;
    s.OrigineY += y;
    s.PrecedenteX = 0;
    s.PrecedenteY = 0;
  }
}

void DxfTesto(double x, double y, double h, const QString& text, double a, int k) {
  StatoDxf& s = Dxf.Stato;
  if (x == SentinellaDxf) {
    s.OrigineTestoX = 0;
    s.OrigineTestoY = 0;
    return;
  }
  if (h == SentinellaDxf) {
    s.StratoTesti = static_cast<int>(std::clamp(plat::Val(text), -1e6, 1e6));
    return;
  }
  if (a == SentinellaDxf) {
    s.OrigineTestoX = x;
    s.OrigineTestoY = y;
    return;
  }
  if (!Dxf.Aperto) return;
  constexpr std::string_view m = "####.##";
  const double tx = x + s.OrigineTestoX, ty = y + s.OrigineTestoY;
  const double radianti = a * std::numbers::pi / 180.0;
  const double lunghezza = LarghezzaTestoDxf(text, h);
  Entita e;
  e << " 0" << "TEXT" << " 8";
  e.Intero(Riduci(s.StratoTesti)) << "10";
  if (k == -2) {
    e.Fisso(tx - lunghezza * std::cos(radianti), m) << "20";
    e.Fisso(ty - lunghezza * std::sin(radianti), m);
  } else {
    e.Fisso(tx, m) << "20";
    e.Fisso(ty, m);
  }
  e << "40";
  e.Fisso(h, "##.##") << " 1" << text;
  if (k == -2) {
    e << " 72" << "     1" << "11";
    e.Fisso(tx, m) << "21";
    e.Fisso(ty, m);
  }
  if (a != 0) (e << "50").Fisso(a, "#####.##");
  e << "    7" << Dxf.StileTestoDxf;
}

int StratoColore(int colour) {
  int c[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
  if (c[0] == c[1] && c[1] == c[2]) {
    c[0] = c[1] = c[2] = 255;
  } else {
    for (int& v : c) v = v < 64 ? 0 : v < 192 ? 128 : 255;
  }
  for (int n = 1; n <= 15; ++n)
    if (kPalette[n][0] == c[0] && kPalette[n][1] == c[1] && kPalette[n][2] == c[2]) return n;
  return 0;
}

void DxfColore(int colour) {
  // A colour between the palette's (orange, for one) keeps the layer chosen before.
  if (const int n = StratoColore(colour)) Dxf.UltimoStrato = n;
  DxfTraccia(SentinellaDxf, 0, Dxf.UltimoStrato);
  // The text layer as DxfTesto(0, 0, SentinellaDxf, QString::number(layer), 0, 0) sets it, without the text.
  Dxf.Stato.StratoTesti = Dxf.UltimoStrato;
}

QString NomeProposto(const QString& nomeFileDati) {
  QString nome = nomeFileDati;
  const qsizetype barra = std::max(nome.lastIndexOf(QLatin1Char('\\')), nome.lastIndexOf(QLatin1Char('/')));
  if (barra >= 0) nome = nome.mid(barra + 1);
  const qsizetype punto = nome.indexOf(QLatin1Char('.'));
  if (punto >= 0) nome.truncate(punto);
  return nome + QStringLiteral(".DXF");
}

bool ScriviDXF(const QString& name) {
  const Finestra& p = Grafico.FinestraPagina;
  if (!DxfApri(name, p.X1, p.Y1, p.X2, p.Y2)) {
    Avviso(Traduci(QStringLiteral("Impossibile scrivere il file:")) + QLatin1Char('\n') + DescrizioneFile(name));
    return false;
  }
  const bool letti = PercorriSegmenti([](const Segmento& s) {
    DxfColore(s.Colore);
    DxfTraccia(s.X1, s.Y1, 3);
    DxfTraccia(s.X2, s.Y2, 2);
  });
  if (!letti) {
    // The drawing would be incomplete: nothing is written.
    File99().Discard();
    Dxf.Aperto = false;
    return false;
  }
  Grafico.OrigineGrafico = {};
  for (int t = 1; t <= Grafico.NumeroScritte; ++t) {
    const Scritta& s = Grafico.ListaScritte[t];
    DxfColore(s.Colore);
    // A centred text wider than the page is placed by the rule of the preview and the paper, its width as the
    // writer counts it. Its smaller height is written with the file's two decimals rounded down, so that the text
    // still ends within the page.
    const AncoraggioScritta a =
        AncoraggioLarghezza(s, p, [](const Scritta& t) { return LarghezzaTestoDxf(t.Testo, t.Altezza); });
    const double altezza =
        a.Scala < 1 ? std::max(0.01, std::floor(s.Altezza * a.Scala * 100 + 1e-9) / 100) : s.Altezza;
    DxfTesto(a.X, s.Y, altezza, s.Testo, s.Angolo, a.Centrata ? -2 : s.Tipo == -2 ? 0 : s.Tipo);
  }
  DxfTraccia(0, 0, 999);
  if (Dxf.Fallito) {
    Avviso(Traduci(QStringLiteral("Impossibile scrivere il file:")) + QLatin1Char('\n') + DescrizioneFile(name));
    return false;
  }
  return true;
}

void EsportaDXF() {
  QString nome = plat::GetSaveFileName(Traduci(QStringLiteral("Esportazione DXF")), plat::CurrentFolder(), QStringLiteral("AutoCAD(*.DXF)|*.dxf"),
                                       NomeProposto(Grafico.NomeFileDati));
  if (nome.isEmpty()) return;
  if (!plat::FileNamePart(nome).contains(QLatin1Char('.'))) nome += QStringLiteral(".DXF");
  Clessidra clessidra;
  ScriviDXF(nome);
}
