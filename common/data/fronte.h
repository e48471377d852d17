// The slope file <stem>.fro: 19 values, one per line, in the order of IndiceFronte. Values 1 to 9 (up to the crest
// height) always stand in the file; an older file may end after any of values 9 to 18, the missing values counting
// as 0.
#pragma once

#include <QString>

#include <array>

inline constexpr int kValoriFronte = 19;
// Entries 1..19 (0 unused), in the order of IndiceFronte.
using ValoriFronte = std::array<double, kValoriFronte + 1>;

// The place of each value in the file and in ValoriFronte. Angles in degrees.
enum IndiceFronte : int {
  kInclinazioneFronte = 1,  // dip of the slope face
  kImmersioneFronte,        // dip direction of the slope face
  kInclinazioneSuperiore,   // dip of the upper slope surface
  kImmersioneSuperiore,     // its dip direction
  kCoesione,                // cohesion (tenths of kN/m²), every family's unless the family parameters say otherwise
  kAttrito,                 // friction angle, likewise
  kPesoRoccia,              // rock unit weight (tenths of kN/m³)
  kPesoAcqua,               // water unit weight (tenths of kN/m³)
  kAltezzaFronte,           // crest height
  kCaricoEsterno,           // external load (tenths of kN)
  kInclinazioneCarico,      // its inclination
  kDirezioneCarico,         // its direction
  kForzaAncoraggio,         // anchor force (tenths of kN)
  kInclinazioneAncoraggio,  // its inclination
  kDirezioneAncoraggio,     // its direction
  kDistanzaFrattura,        // distance of the tension crack from the crest
  kInclinazioneFrattura,    // dip of the tension crack
  kImmersioneFrattura,      // its dip direction
  kCoefficienteSismico,     // seismic coefficient
};
static_assert(kCoefficienteSismico == kValoriFronte);

// True when value k (1..19), in the file's units, lies within the range the slope form gives that value: dips 0 to
// 90, dip directions and directions 0 to 360, inclinations of the load and the anchor -90 to 90, friction angle 0
// to 89, cohesion 0 to 10000, rock unit weight 0.1 to 10, water unit weight 0 to 10, crest height 0.1 to 10000,
// load and anchor force 0 to 1000000, crack distance 0 to 10000, seismic coefficient 0 to 1.
bool ValoreFronteAmmesso(int k, double v);
// The range of value k (1..19) in the file's units, the one ValoreFronteAmmesso checks ({0, 0} for any other k).
struct LimitiFronte {
  double minimo, massimo;
};
LimitiFronte LimitiValoreFronte(int k);

enum class EsitoFronte { Letto, Mancante, NonValido };
// Reads the slope values into `v` (all 0 first): values 1 to 9, then values 10 to 19 while the file holds more
// than blank lines. NonValido (the line in `riga`, 0 for the whole file) when what stands at the name cannot be
// read (see SeqReader::Open), one of values 1 to 9 is missing, a line holds anything but one finite number, a
// value lies outside its range (ValoreFronteAmmesso), or more than blank lines follow the nineteenth value.
// Mancante when nothing stands at the name.
EsitoFronte LeggiFileFronte(const QString& percorso, ValoriFronte& v, int* riga = nullptr);
// Writes the 19 values, one per line, in the plain number form (NumeroTesto). False (the old file untouched)
// when it cannot be written or a value is not finite.
bool ScriviFileFronte(const QString& percorso, const ValoriFronte& v);
