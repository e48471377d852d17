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
  double IndiceScheda = 0;  // line 1: the selected-sheet index (0 from the main program, 1 once MIRVANE has run)
  int Modo = 0;             // line 2: ModoCluster, ModoStabilita or ModoGrafico (MIRVANE: 0)
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
  Mancante,   // nothing stands at the name
  NonValido,  // what stands at the name cannot be read (see SeqReader::Open); a line is missing; line 1 is not
              // a whole number from 0, line 2 not one of the three modes, line 3 neither empty nor 0, line 4 not
              // a whole number from 0; the session name is empty, or more than blank lines follow it; `riga`
              // tells the line (0 when the file as a whole is refused)
  TroppeSchede,  // more sheets than the reader's limit; `riga` is 4
};
// Reads the hand-over file: lines 1 to 3 (line 3 may be empty), the count, that many sheet names and the session
// name, each a whole line with the blanks around it removed. Each number is one item alone on its line.
EsitoPassaggio LeggiFilePassaggio(const QString& percorso, FilePassaggioDati& d, int massimoSchede,
                                  int* riga = nullptr);
