// The tensor TALVOR hands to EIGEN: eigen.inp in the program folder, three lines, line i the entries (i, 1),
// (i, 2), (i, 3), each with nine significant digits and a blank after it. One writer (TALVOR) and one reader
// (EIGEN), both on the suite's sequential text, so that EIGEN reads exactly what TALVOR writes.
#pragma once

#include "common/platform/textio.h"

#include <QString>

#include <array>

using MatriceScambio = std::array<std::array<double, 3>, 3>;  // entry (i, j) at [i - 1][j - 1]

// The text of eigen.inp for a tensor, with CR LF line ends. Nine significant digits keep every aperture, however
// small, from turning into 0.
QString TestoIngressoAutovalori(const MatriceScambio& tensore);

// Reads eigen.inp: three lines, each of exactly three numbers as the sequential reader reads number items
// (separated by blanks, TABs or a comma; "3D0" is 3), nothing after the third line (a Ctrl-Z as the last byte
// ends the file); the nine values finite and symmetric, entry (i, j) equal to entry (j, i) within a billionth of
// the largest entry in size. False otherwise, with `errore` (optional) telling why and `riga` (optional) the line
// of the damage, 0 when none is. The reader version reads from where it stands to its end.
bool LeggiIngressoAutovalori(const QString& file, MatriceScambio& tensore, QString* errore = nullptr,
                             int* riga = nullptr);
bool LeggiIngressoAutovalori(plat::SeqReader& r, MatriceScambio& tensore, QString* errore = nullptr,
                             int* riga = nullptr);
