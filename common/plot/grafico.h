// The plot engine that TALVOR and MIRVANE draw with: page centimetres, a pen table per language, the display
// list (segments spilled in chunks to files of the process's temporary folder, texts, polygons), its replay on the
// preview window after a zoom, printing at scale or fitted to one sheet, and the DXF export.
//
// A plot runs: InizioGrafico (page window, redraw 0), SelezionaPennaTabella and the primitives, Traccia with pen
// code 999 (the last chunk is written), then the program's final wait, AttendiChiusuraGrafica, while the user
// works in the preview window.
#pragma once

#include "common/data/titoli.h"

#include <QPointF>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <vector>

// Segments of the display list held in memory at once: a chunk.
constexpr int DimensioneBlocco = 32000;
constexpr int NumeroPenne = 30;
constexpr int NumeroColori = 15;

struct Punto {
  double X = 0;
  double Y = 0;
};

// A window of the page in centimetres, y growing upwards.
struct Finestra {
  double X1 = 0;  // xmin
  double Y1 = 0;  // ymin
  double X2 = 0;  // xmax
  double Y2 = 0;  // ymax
};

// The part of the page the drawing surface shows.
struct FinestraSchermo {
  double Sinistra = 0;
  double Alto = 0;
  double Destra = 0;
  double Basso = 0;
};

struct Penna {
  int Colore = 0;         // RGB value; 0 draws nothing
  double Spessore = 0;    // width in centimetres
  QString Carattere;      // font of the texts drawn with the pen
};

struct FontTesto {
  QString Nome;
  double Altezza = -1;
  double Angolo = -1;
};

struct Segmento {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // drawing coordinates (centimetres, origin and margins applied)
  int Colore = 0;                          // as drawn (white pens already black)
  double Spessore = 0;                     // pen width in centimetres
};

struct Scritta {
  double X = 0, Y = 0;  // drawing coordinates of the reference point
  double Altezza = 0;   // centimetres
  double Angolo = 0;    // degrees, counter-clockwise
  int Tipo = 0;         // -2 centred on the point, anything else starting at it
  QString Testo;
  int Colore = 0;
  QString Carattere;
};

struct Poligono {
  QVector<QPointF> Vertici;  // drawing coordinates
  int Colore = 0;
};

// The engine's globals, one copy per program.
struct ModuloGrafico {
  // Pen table of the plot: pens 0 to 30 (pen 0 empty), colours 0 to 30 (1 to 15 from the file), margins.
  std::array<Penna, NumeroPenne + 1> PenneGrafico{};
  std::array<int, 31> TabellaColori{};
  struct {
    double Sinistro = 0;
    double Superiore = 0;
  } MarginiGrafico;

  bool RidisegnoInCorso = false;  // the latest InizioGrafico was a redraw: primitives draw without recording
  bool ZoomInCorso = false;       // a zoom window is shown: InizioGrafico keeps FinestraPagina
  Finestra FinestraPagina;        // the page window of the plot (margins included)
  Finestra FinestraVista;         // the window of the latest InizioGrafico
  FinestraSchermo FinestraImmagine;
  Punto ScalaGrafico;             // pixels per centimetre of the screen drawing
  Punto OrigineGrafico;           // moved by negative pen codes
  Penna PennaCorrente{-1, -1, {}};
  double UltimoSpessore = -1;     // pen width for which the surface's line width was last set
  FontTesto UltimoFontTesto;
  Punto PuntoCorrente;            // last point given to Traccia (page centimetres, before origin and margins)

  // The display list: the current chunk of segments (entries 1 to NumeroSegmenti), the chunks written so far,
  // the texts (entries 1 to NumeroScritte: every text of the plot, the list grows with them), the polygons.
  std::vector<Segmento> ListaSegmenti = std::vector<Segmento>(DimensioneBlocco + 1);
  int NumeroSegmenti = 0;
  int NumeroBlocchi = 0;
  std::vector<Scritta> ListaScritte = std::vector<Scritta>(1);
  int NumeroScritte = 0;
  std::vector<Poligono> ListaPoligoni;

  // The preview window.
  bool ZoomAttivo = false;        // the mouse selects a zoom window and the pan buttons act
  bool GraficaCaricata = false;   // the preview window is loaded
  double AltezzaAreaLavoro = 0;   // height of the screen's work area in pixels
  bool AttesaFinale = false;      // the program waits for the preview window to close

  // Printing.
  Punto RisoluzioneStampante;     // printer pixels per centimetre
  int ModoColoreStampa = 0;       // below 2: everything printed black

  // The session file name of the plot (set by the program); the DXF export proposes a name from it.
  QString NomeFileDati;
};
extern ModuloGrafico Grafico;

// --- Set-up and pens ---------------------------------------------------------------------------------------------

// Begins a plot (redraw 0) or prepares the preview for a redraw of the display list (any other redraw value) on
// the page window xmin, ymin, xmax, ymax in centimetres. a1 and a2 are not used. A new plot reads the pen table
// of the current language; a pen table that is missing or short ends the program after a message.
void InizioGrafico(double a1, const QString& a2, double xmin, double ymin, double xmax, double ymax, int redraw);

// The pen table file of the current language (with the language fallback when it is not installed); defined with
// the pen table's reader in common/data/penne.
QString FileTabellaPenne();
// Reads a pen table into PenneGrafico, TabellaColori and MarginiGrafico. False, with a message text in `errore`,
// when the file is missing or shorter than its 30 pens and 15 colours; the tables are then left as they were.
bool LeggiTabellaPenne(const QString& percorso, QString* errore);

// Makes pen `pen` (clamped to 0..30, also in the caller's variable) the current pen; SelezionaPenna with a
// colour of its own.
void SelezionaPennaTabella(int& pen);
void SelezionaPenna(int& pen, int colour);

// How a page window fits a drawing area of `larghezza` x `altezza` pixels: the scale and the part of the page the
// area shows. A page too narrow for `larghezzaMinima` pixels at the scale of its height grows to the right.
struct Adattamento {
  Punto Scala;
  FinestraSchermo Immagine;
};
Adattamento AdattaFinestra(const Finestra& w, double larghezza, double altezza, double larghezzaMinima);

// --- Primitives --------------------------------------------------------------------------------------------------

// Pen codes: 2 or -2 draw to (x, y), 999 ends the plot (the last chunk is written), others move; a negative code
// then makes (x, y) the new origin.
void Traccia(double x, double y, int pen);
// n = -1: `text` holds a marker number, drawn centred on (x, y); n = -2: text centred on (x, y); otherwise text
// starting at (x, y). Height in centimetres, angle in degrees.
void DisegnaSimbolo(double x, double y, double height, const QString& text, double angle, int n);
// Writes `value` with `decimals` decimals (cut, not rounded) starting at (x, y).
void DisegnaNumero(double x, double y, double height, double value, double angle, int decimals);
// The text DisegnaNumero writes.
QString TestoNumero(double value, int decimals);
// The title block at the top of a plot's page, every line centred on x = 10 cm: the main title "RILIEVO
// STRUTTURALE" 0.5 high at y = 27, the subtitle (the kind of plot, already translated) `altezzaSottotitolo` high at
// 26.4, then the session's title lines 1 to 4 as the user wrote them, line 1 0.35 high at 25.7, lines 2 to 4 0.3
// high at 25.2, 24.7 and 24.2. Drawn with the current pen.
void DisegnaTitoliPagina(const QString& sottotitolo, double altezzaSottotitolo, const TitoliSessione& titoli);
// Clips a segment to the rectangle; `result` 0 when part of it is inside, 1 when nothing is.
void TagliaSegmento(double& x1, double& y1, double& x2, double& y2, double xmin, double xmax, double ymin,
                    double ymax, int& result);

// The chunk file of chunk `b` of the display list, in the private folder of the process; empty when the process
// has none (no temporary folder takes one).
QString FileBloccoSegmenti(int b);
// Reads chunk `b` into ListaSegmenti 1..NumeroSegmenti. False after a message when it is missing or not as the plot
// wrote it: a chunk before the last one (NumeroBlocchi) holds DimensioneBlocco segments, the last one 1 to
// DimensioneBlocco; every value is one finite number alone on its line, the colour a whole RGB value, the width not
// below 0, and nothing follows the last segment. The message names the file and, for a damaged one, its line.
bool LeggiBloccoSegmenti(int b);
// Calls `f` for every segment of the display list in order: from the chunk files when the plot has ended, else
// from memory. False after a message when a chunk file is missing or damaged; nothing of that chunk reaches `f`.
bool PercorriSegmenti(const std::function<void(const Segmento&)>& f);

// --- Screen replay -----------------------------------------------------------------------------------------------

void RidisegnaZoom(double x1, double y1, double x2, double y2);
void RidisegnaTutto();
void RidisegnaSchermo();
void TestoSchermo(double x, double y, double height, const QString& text, double angle, int colour,
                  const QString& font);
void PoligonoSchermo(int i);

// --- Printing ----------------------------------------------------------------------------------------------------

// Prints the whole page of the plot: at scale over as many sheets as needed, or fitted to one sheet.
void StampaGrafico(bool fitted);

// The sheets of a print: nx columns by ny rows, the scale, and the offset of each sheet.
struct FogliStampa {
  int Colonne = 1;
  int Righe = 1;
  double Scala = 1;
  Finestra Pagina;  // the page window printed (widened by 0.1 cm on every side when fitted)
  double Sovrapposizione = 0;
};
// The overlap of neighbouring sheets in centimetres: the value of overlap.cfg in the program folder, one finite
// number alone on its first line; 1 when nothing stands at the name or the file is empty. A file that cannot be
// read, a first line that holds anything but one number, or more than blank lines after it are reported, and the
// overlap is then 1.
double LeggiSovrapposizione();

// Works out the sheets for a page window on sheets of `w` x `h` centimetres; an overlap that is negative or not
// smaller than the sheet counts as 0.
FogliStampa CalcolaFogli(const Finestra& pagina, double w, double h, double overlap, bool fitted);
// The offset (centimetres) of the top-left corner of sheet (ix, iy), 1-based, in the scaled page.
Punto OffsetFoglio(const FogliStampa& f, int ix, int iy, double w, double h, bool fitted);

void LineaStampante(double x1, double y1, double x2, double y2, int colour, int width);
void TestoStampante(double x, double y, double height, const QString& text, double angle, int colour,
                    const QString& font);
