// Dialog definitions: the data-entry dialogs of the main program are described by definition files (.MAV) in the
// program folder, read once at start-up into the tables below. A definition is either a field form (kind 1) or a
// table grid (kinds 2 to 4).
//
// File layout (Windows-1252; a "line" is read whole, an "item" as a sequential-input item split at commas):
//   kind (item)            1 field form, 2 to 4 grid
//   title (item)
//   kind 1 only: A (item), then A lines, each the choice list of a choice field, entries separated by "|"
//   B (item): the further fields (text fields of a form, columns of a grid)
//   A + B field records: label (line, "name [unit]"), format code, minimum, maximum (items), help (line)
//   the dialog's help text (line), X (item) and X button captions (items)
//   optionally a line "MN=<number>": the index of the dialog's help context
// Each count stands alone on its line, and each line holds the items said and no more; nothing but blank lines
// follows the last line.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

inline constexpr int kMassimoDefinizioni = 19;

struct ModuloDefinizioni {
  // Per definition (index = definition number). A definition that could not be read has kind 0 and no fields.
  std::array<double, 21> TipoDefinizione{};
  std::array<QString, 21> TitoloDefinizione;
  std::array<int, 21> InizioSceltaDefinizione{};
  std::array<int, 21> InizioCampiDefinizione{};
  std::array<int, 21> InizioSecondoElencoDefinizione{};
  std::array<QString, 21> RigaFinaleDefinizione;
  std::array<std::optional<double>, 101> ArgomentoAiutoDefinizione;
  // Choice lines, field records and button captions of all definitions one after another.
  std::array<QString, 101> RigheSceltaDefinizione;
  std::array<QString, 301> EtichettaDefinizione, FormatoDefinizione, AiutoDefinizione;
  std::array<std::optional<double>, 301> MinimoDefinizione, MassimoDefinizione;
  std::array<QString, 101> SecondoElencoDefinizione;
  // The file of each definition, as it was given (also of one left out), for the messages of the dialogs.
  std::array<QString, 21> FileDefinizione;
};
extern ModuloDefinizioni DefinizioniMaschere;

// What a dialog of a program takes from its definition: its kind, its choice fields (kind 1), its fields in all
// (the columns of a grid) and its buttons. A definition of other counts would open a form whose fields and
// buttons are not those its command fills and reads.
struct FormaDefinizione {
  int tipo = 0;
  int scelte = 0;
  int campi = 0;
  int bottoni = 0;
};

// Reads definition files 1..count (`percorsi` indexed from 1) into DefinizioniMaschere. A file that is missing,
// ends early, has a kind other than 1 to 4, holds a line with more items than it should, goes beyond the limits
// of the tables or (when `forme`, indexed from 1, gives the form of its definition) does not match the form of its
// dialog is reported in a message with its line and left out (kind 0); the others are read. Returns the number
// of definitions read.
int LeggiDefinizioniMaschere(int count, const std::vector<QString>& percorsi,
                             const std::vector<FormaDefinizione>& forme = {});

// Converts the accented letters and the degree sign of the DOS code page 437, as they appear when such a text is
// read as Windows-1252, into the same characters of Windows-1252. The length never changes.
void ConvertiCaratteri(QString& testo);
