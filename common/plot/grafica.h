// The preview window GRAFICA: a row of picture buttons (zoom, whole page, pan, print, DXF, close) over the drawing
// surface Picture7, on which the plot engine draws. The mouse picks a zoom window with a rubber band.
#pragma once

#include "common/platform/drawingsurface.h"
#include "common/platform/forms.h"
#include "common/platform/picturebox.h"
#include "common/plot/grafico.h"

#include <QPointer>

#include <array>

class GRAFICA : public plat::Form {
  Q_OBJECT
 public:
  GRAFICA();

  // Height of the button row (the height of Picture1) and width of a button, in pixels.
  int AltezzaPulsanti() const;
  int LarghezzaPulsante() const;

  plat::DrawingSurface* Picture7 = nullptr;
  plat::PictureBox* Pulsante(int n) const { return n >= 1 && n <= 16 ? pulsanti_[n] : nullptr; }

  // The window's own state.
  Finestra FinestraZoom;
  bool SelezioneInCorso = false;

  void GestioneTasti(const QString& key);

 protected:
  void Form_Load();
  void Form_Unload() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Picture_Click(int n);
  void Sposta(int n);
  void Picture7_MouseDown(int button, int shift, double x, double y);
  void Picture7_MouseMove(int button, int shift, double x, double y);
  void Picture7_MouseUp(int button, int shift, double x, double y);

  std::array<plat::PictureBox*, 17> pulsanti_{};
  Finestra selezione_;
};

// The loaded preview window, or nullptr.
GRAFICA* FinestraGrafica();
// Loads the preview window unless it is loaded.
GRAFICA* CaricaGrafica();

// The program's final wait: hides the program's form menu1, sets AttesaFinale and yields to the user while the
// program's form and the preview window are the two loaded forms. Returns when the preview has been closed (at
// once when none was opened); the program then ends.
void AttendiChiusuraGrafica();
