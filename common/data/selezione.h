// Selection criteria of a session, <stem>.sel: which codes of the code-valued record fields are accepted and the
// accepted ranges of dip direction, dip and aperture; and the selection test every analysis program applies.
#pragma once

#include "common/data/configurazione.h"

#include <QString>

#include <array>

// The code-valued fields in the order of the file (For comes after Du).
inline constexpr std::array<int, 9> kOrdineFileSelezione = {3, 6, 7, 8, 9, 12, 13, 14, 10};
// The bounds of the criteria file keep within this value, whatever their sign: the reader refuses a file beyond it,
// and the editing command takes no value beyond it.
inline constexpr double kLimiteIntervalloSelezione = 1e7;
// Flags the main program's editing command lets one field hold: 30 for Lit, 10 for the others.
int LimiteCodiciScelti(int campo);

struct ModuloSelezione {
  // [field 1..14][code 1..30]: 1 accepted, 2 rejected (kept as read from the file). Every code a configuration
  // allows (22) has its flag.
  std::array<std::array<double, 31>, 15> CodiciScelti{};
  double AperturaMinima = 0, AperturaMassima = 100;
  double ImmersioneMinima = 0, ImmersioneMassima = 360;
  double InclinazioneMinima = 0, InclinazioneMassima = 90;
};

// Every flag 1 and the given ranges. The main program uses Ap 0 to 100, Imm 0 to 360, Inc 0 to 90 (the default
// arguments); the analysis programs, when the session has no criteria file, Ap 0 to 10000 and Inc 0 to 360.
void CriteriPredefiniti(ModuloSelezione& s, double aperturaMassima = 100, double inclinazioneMassima = 90);
inline void CriteriPredefinitiAnalisi(ModuloSelezione& s) { CriteriPredefiniti(s, 10000, 360); }

// True when every code-valued field of the configuration has no more codes than the editing command's flags can
// hold; otherwise `campo` names the first field that has more.
bool ConfigurazioneSelezionabile(const ModuloConfigurazione& c, QString* campo = nullptr);

enum class EsitoSelezione { Letta, Mancante, NonValida };
// Reads a criteria file in the order of the file, the number of flags of each field taken from the configuration.
// Mancante: nothing stands at the name (the criteria are left as they are). NonValida: what stands there cannot
// be read (see SeqReader::Open), an item is missing or not a number, a flag is not 0, 1 or 2, a bound lies beyond
// ten million, or more than blank lines follow the last bound; `errore` names the file and the line; the criteria
// are left as they are.
EsitoSelezione LeggiFileSelezione(const QString& percorso, const ModuloConfigurazione& c, ModuloSelezione& s,
                                  QString* errore = nullptr);
// Writes a criteria file anew: the flags (" 1 ", " 2 "), one per line, then the six range values in the plain
// number form. False (the old file untouched) when it cannot be written.
bool ScriviFileSelezione(const QString& percorso, const ModuloConfigurazione& c, const ModuloSelezione& s);

// The selection test: is this discontinuity record (a sheet line, padded to 52 characters) selected by the
// criteria? Not selected when a code-valued field holds, at its full width, a code of the configuration whose
// flag is 2; when Ap, Inc or Imm lies outside its range (both bounds belong to it); or when the record's first
// 20 characters are blank.
bool RecordSelezionato(const QString& record, const ModuloConfigurazione& c, const ModuloSelezione& s);

// The message of a loading that selects more discontinuities than `limite`, in the current language.
QString MessaggioLimiteDiscontinuita(int limite);
