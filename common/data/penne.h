// The pen table korven<LANG>.CFG of the program folder, one per interface language: for plot elements 1 to 30 four
// lines (the element's name, its colour number 0 to 15 where 0 is "not drawn", its line thickness in millimetres,
// the name of its texts' font), for colours 1 to 15 two lines (the colour's name, its RGB value red + 256 green +
// 65536 blue), then optionally the left and the top page margin in centimetres (0 when the file ends before them).
// The plotting library reads it at the start of every plot; the main program's pen editor rewrites it.
#pragma once

#include <QString>

#include <array>

inline constexpr int kElementiPenne = 30;
inline constexpr int kColoriPenne = 15;

struct TabellaPenne {
  // Index 1..30 for elements, 1..15 for colours (0 unused). Names as they stand in the file (whole lines for the
  // element and colour names, one item for the font names).
  std::array<QString, kElementiPenne + 1> NomiElementi;
  std::array<double, kElementiPenne + 1> ColoriElementi{};
  std::array<double, kElementiPenne + 1> SpessoriElementi{};
  std::array<QString, kElementiPenne + 1> CaratteriElementi;
  std::array<QString, kColoriPenne + 1> NomiColori;
  std::array<double, kColoriPenne + 1> ValoriColori{};
  double MargineSinistro = 0, MargineSuperiore = 0;
};

// The pen table of the current language (with the language fallback when that one is not installed).
QString FileTabellaPenne();

enum class EsitoPenne { Letta, Mancante, NonValida };
// Reads a pen table into `t` (unchanged unless Letta). Mancante when nothing stands at the name. NonValida (the
// line in `riga`, 0 for the whole file) when what stands there cannot be read (see SeqReader::Open), the file ends
// before its 30 elements and 15 colours, a number line holds anything but one number, a colour number is not a
// whole number from 0 to 15, a colour value not a whole number from 0 to 0xFFFFFF, a font line holds more than one
// item, a margin is neither a number nor blank, or more than blank lines follow the margins.
EsitoPenne LeggiFileTabellaPenne(const QString& percorso, TabellaPenne& t, int* riga = nullptr);

// Writes the 152 lines anew: the numbers in the plain form (NumeroTesto), the names as they are. False (the old
// file untouched) when it cannot be written or a number is not finite.
bool ScriviFileTabellaPenne(const QString& percorso, const TabellaPenne& t);
