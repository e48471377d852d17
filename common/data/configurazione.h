// The configuration of the survey sheets (frattixint.cfg in the program folder) and its reader: for each of the
// 14 record fields, in every interface language, its name and, for a field that holds codes, its codes and their meanings. Every
// line holds one TAB-separated value per language (Italian, German, French, Spanish, English, Portuguese).
#pragma once

#include <QString>

#include <array>

inline constexpr int kMassimoCodiciColonna = 22;  // codes one field of the configuration may hold

struct ModuloConfigurazione {
  // Index i = field number 1..14; j = code number 1..N.
  std::array<QString, 26> NumeroCodiciColonna;     // line 1 of block i, as text
  std::array<QString, 31> TestoAggiuntivoColonna;  // line 2
  std::array<QString, 21> DescrizioneColonna;      // line 3: the field's name shown to the user
  std::array<QString, 21> PrimoValoreColonna, SecondoValoreColonna;  // lines 4 and 5
  std::array<std::array<QString, 33>, 23> CodiciColonna;      // [j][i]
  std::array<std::array<QString, 33>, 23> SignificatiCodici;  // [j][i]
  std::array<QString, 21> LegendaColonna;  // index i - 1: "code=meaning, code=meaning"; "" without codes
  std::array<int, 31> InizioColonna{};
  std::array<int, 16> LarghezzaColonna{};
  bool Letta = false;  // the file was read whole and is within its limits

  // The number of codes of field i (0 for a field without codes).
  int NumeroCodici(int i) const;
  // True when lines 4 and 5 of block i are both 0.
  bool ACodici(int i) const;
};

// Reads a configuration file for the language `lingua` (1..6) into `c`. False, with the file and the line in
// `errore`, when the file cannot be read (see SeqReader::Open), ends inside a block, has a line with fewer language
// columns than `lingua`, or gives a field a count of codes that is not a whole number from 0 to 22. `c` is then
// emptied.
bool LeggiFileConfigurazione(const QString& percorso, int lingua, ModuloConfigurazione& c, QString* errore);
