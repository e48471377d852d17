// The hand-over file `temporan` in the program folder, through which the main program tells TALVOR and MIRVANE
// (and TALVOR tells PELDRIX) what to do: the selected-sheet index, the mode, a third value (empty for the
// stability command), the number of sheets, the sheet file names and the session file name. Numbers are written
// in print form (" 0 ", "-2 ") and read with blanks ignored; names are whole lines, so a comma in a name survives.
#pragma once

#include <QString>
#include <QStringList>

// The modes of TALVOR.
inline constexpr int ModoCluster = 0;
inline constexpr int ModoStabilita = -2;
inline constexpr int ModoGrafico = 1;

struct FilePassaggioDati {
  double IndiceScheda = 0;  // line 1: the selected-sheet index
  double Modo = 0;          // line 2
  bool TerzaVuota = false;  // line 3: empty (stability command) instead of " 0 "
  QStringList Schede;       // lines 5 .. 4 + N: the sheet file names
  QString NomeSessione;     // line 5 + N: the session file name
};

// The path of `temporan` in the program folder.
QString PercorsoFilePassaggio();

// Writes the hand-over file anew at `percorso`. False (the old file untouched) when it cannot be written.
bool ScriviFilePassaggio(const QString& percorso, const FilePassaggioDati& d);

enum class EsitoPassaggio {
  Letto,
  Mancante,   // the file cannot be read
  NonValido,  // a line is missing, lines 1, 2 or 4 are not numbers (line 4 a whole number from 0), or the
              // session name is empty; `riga` tells the line
  TroppeSchede,  // more sheets than the reader's limit
};
// Reads the hand-over file: lines 1 and 2 as numbers, line 3 skipped (it may be empty), the count, that many
// sheet names and the session name, each a whole line with the blanks around it removed.
EsitoPassaggio LeggiFilePassaggio(const QString& percorso, FilePassaggioDati& d, int massimoSchede,
                                  int* riga = nullptr);
