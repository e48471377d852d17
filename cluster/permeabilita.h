// The hydraulic conductivity tensor of the rock mass from the families of a clustering (parallel plates, cubic
// law), its principal values and directions from the eigen solver EIGEN, and the table of principal conductivities
// <table>.PER (the session file name without its last three characters, followed by "PER").
#pragma once

#include "eigen/scambio.h"

#include <QString>

#include <array>

// Builds TensoreConducibilita from the centres, apertures (mm) and frequencies (1/m) of families 1..NumeroCluster:
// every family adds g a³ f / (12 ν) (I - n nᵀ), n its unit normal.
void TensorePermeabilita();

// Hands the tensor to EIGEN through eigen.inp in the program folder (nine significant digits, so that tiny
// apertures keep their values) and reads the principal values and directions back from eigen.out. A stale
// eigen.out is removed first. False after a message when EIGEN cannot be started, ends abnormally or leaves no
// eigen.out that LeggiUscitaAutovalori takes (told with its line): the principal values are then all 0, so no
// table is written.
bool CalcolaAutovettori();

// Reads eigen.out: the three values (the first three numbers, whatever the line breaks between them), then one
// line per direction beginning with its three components (entries 1..3), and takes it only when it is the solution
// of `tensore`, the tensor as EIGEN read it from eigen.inp: each direction a unit vector (within 1e-6), the three
// at right angles (within 1e-6), value i and direction i an eigenpair (T v = lambda v within a billionth of the
// tensor's norm), and no value negative beyond 1e-7 of the largest value. False when the file cannot be read (see
// SeqReader::Open), is short, holds something else or no such solution; `riga` (optional) is then the line of the
// damage: of the lone CR, of the item that is no number, of the direction whose pair is no solution, 0 when the
// file cannot be read at all.
bool LeggiUscitaAutovalori(const QString& file, const MatriceScambio& tensore, std::array<double, 4>& valori,
                           std::array<std::array<double, 4>, 4>& direzioni, int* riga = nullptr);

// Sorts the principal values in descending order (with their directions) and writes the table: header, then the
// rows "Massima", "Media", "Minima" with the value in exponent form and the plunge and azimuth of the downward end
// of the axis. When every principal value is 0 no table is written and an old one is removed.
void TabellaPermeabilita();

// A principal conductivity as the table writes it: three significant digits in exponent form ("8.16E-04").
QString ValoreConducibilita(double valore);

// Plunge and azimuth in whole degrees of the downward end of the axis (x, y, z) (x east, y north, z up), as the
// table writes them. An axis that the table shows horizontal (plunge rounding to 0) takes the end whose azimuth
// lies from 0 up to 180; one that it shows vertical (plunge rounding to 90) the azimuth of (0, 0, 1).
void AsseInTabella(double x, double y, double z, int& inclinazione, int& direzione);

// The whole conductivity step of a cluster run: tensor, eigen solver, table.
void CalcolaPermeabilita();
