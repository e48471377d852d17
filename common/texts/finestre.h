// The windowed parts of the start-up: the start of a windowed program, the printer's device context, the splash
// window and the language-choice window.
#pragma once

#include "common/platform/forms.h"
#include "common/platform/picturebox.h"
#include "common/platform/printer.h"

#include <array>

// Starting a program of the suite: a QApplication exists; the test hook of the platform is in place. Returns the
// exit code of `body`, or of the program's end.
int EseguiProgramma(int argc, char** argv, int (*body)(int, char**));

// The printer's device context (Avvio.DCStampante), looked up at its first use; 0 in the document exporter.
plat::HDC PreparaStampante();

// Centres a window on the screen: Left := (screen width - width) / 2, Top := (screen height - height) / 2.
void Centra(QWidget* w);

// The language-choice window: one flag per installed language, in the order English, French, German, Italian,
// Spanish, Portuguese; a click writes the language number to language.cfg and closes the window.
class selezling : public plat::Form {
  Q_OBJECT
 public:
  explicit selezling(QWidget* parent = nullptr);

  // Positions of the flags in twips as designed (left of Picture1, spacing between pictures).
  static constexpr int kSinistraPrima = 240;
  static constexpr int kPasso = 720;
  static constexpr int kAltoFlag = 120;
  static constexpr int kLatoFlag = 480;

  // Hides the flags of the languages without a pen table and closes up the rest; sets the width (twips) to the
  // last position + 70 and centres the window. Returns the width in twips.
  int Prepara();
  int LarghezzaTwips() const { return larghezza_; }
  // Left position (twips) of flag i (1..6), or -1 when it is hidden.
  int SinistraTwips(int i) const;
  // True when the user picked a flag (language.cfg written).
  bool Scelta() const { return scelta_; }

  plat::PictureBox* Picture(int i) const { return picture_.at(static_cast<std::size_t>(i - 1)); }

  // Codes and language numbers of Picture1..Picture6.
  static QString CodiceFlag(int i);
  static int LinguaFlag(int i);

 signals:
  void Scelto(int lingua);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Scegli(int lingua);
  std::array<plat::PictureBox*, 6> picture_{};
  std::array<int, 6> sinistra_{};
  int larghezza_ = 0;
  bool scelta_ = false;
};

// The flag of a language code ("ENG", "FRA", "DEU", "ITA", "ESP", "POR") drawn at the given size in pixels of the
// window, at `rapporto` pixels of the screen to one of them.
QImage DisegnaBandiera(const QString& codice, int lato, qreal rapporto = 1);

// The splash window "Loading...", centred on the screen.
class loading : public plat::Form {
  Q_OBJECT
 public:
  explicit loading(QWidget* parent = nullptr);
};
