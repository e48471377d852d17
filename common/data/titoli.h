// The session's titles, <stem>.TIT: nine lines, title 1 to title 9, each a whole line (an empty line for an
// empty title). The main program writes the file as <stem>.TIT, TALVOR and MIRVANE open it as <stem>.tit; file
// names are compared without regard to case.
#pragma once

#include <QString>

#include <array>

// Entries 1..9 hold titles 1 to 9 (0 and 10 unused).
using TitoliSessione = std::array<QString, 11>;

// Reads up to nine whole lines into titoli[1..]; titles beyond the end of a short file are left as they are.
// The number of titles read; -1 when nothing stands at the name, -2 when what stands there cannot be taken (no
// regular file, too large, unreadable, or with a line end that ends no line: its line in `riga`).
int LeggiFileTitoli(const QString& percorso, TitoliSessione& titoli, int* riga = nullptr);
// The titles as the analysis programs take them: those of the file, every title the file does not hold empty
// (also when there is no file). False (every title empty) when a file stands at the name that cannot be taken,
// with the line of the fault in `riga` as above.
bool LeggiTitoliAnalisi(const QString& percorso, TitoliSessione& titoli, int* riga = nullptr);
// Writes titles 1 to 9, one line each. False (the old file untouched) when it cannot be written.
bool ScriviFileTitoli(const QString& percorso, const TitoliSessione& titoli);
