// Helpers shared by the files of the plot engine.
#pragma once

#include "common/platform/drawingsurface.h"
#include "common/plot/grafico.h"

#include <QString>

#include <functional>

// The hourglass pointer while an object of this kind lives.
class Clessidra {
 public:
  Clessidra();
  ~Clessidra();
  Clessidra(const Clessidra&) = delete;
  Clessidra& operator=(const Clessidra&) = delete;
};

// A warning to the user, titled "ATTENZIONE!" in the current language.
void Avviso(const QString& testo);

// The drawing surface of the loaded preview window, or nullptr.
plat::DrawingSurface* SuperficieGrafica();

// The colour a pen or a recorded item is drawn in: white is drawn black on the white surface.
int ColoreVisibile(int colore);

// A font height of the screen drawing: the text height in centimetres as character height in pixels.
int AltezzaCarattereSchermo(double altezza);

// The outline of the printer's page on the preview, dotted, from the origin.
void ContornoPagina(int colore);

// Where a text of the display list is drawn on the preview, on the printer and in a DXF drawing: centred on its
// point (type -2) or starting at it. A horizontal centred text wider than the page window starts at the window's
// left edge instead, at the height (Scala times its own) at which it ends within the window, so that the whole of it
// is on the page. `larghezza` is the text's width in centimetres at its own height, as the medium draws it.
struct AncoraggioScritta {
  double X = 0;
  bool Centrata = false;
  double Scala = 1;
};
AncoraggioScritta AncoraggioLarghezza(const Scritta& scritta, const Finestra& pagina,
                                      const std::function<double(const Scritta&)>& larghezza);
// The preview and the printer: the width measured in the printer's font (the cell height 5/3 of the text's height),
// so that the preview places the text as the print does.
AncoraggioScritta Ancoraggio(const Scritta& scritta, const Finestra& pagina);
