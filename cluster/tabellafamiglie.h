// The family table <table>.FAM (the session file name without its last three characters, followed by "FAM"):
// one row per family with its dip direction and dip in whole degrees, aperture, frequency, friction angle and
// cohesion, cells separated by one TAB. The family parameters <stem>.pgm written from the slope file.
#pragma once

#include <QString>

// Writes the family table of families 1..NumeroCluster. The strengths come from <stem>.pgm when it exists
// (families it does not reach get 0), else from the slope file's friction angle and cohesion (0 without a
// readable one).
// The cohesion cell holds kN/m², ten times the value of the files. False after a message when the table cannot
// be written.
bool TabellaFamiglie();

// Writes <stem>.pgm with the slope file's friction angle and cohesion (ValoriFronte 6 and 5) for families
// 1..NumeroCluster. False after a message when it cannot be written.
bool ParametriDaFronte();

// An angle in radians as whole degrees, halves going up, as the tables write their angles.
int GradiInteri(double radianti);

// Dip direction and dip in whole degrees (dip direction 0 to 359) of a centre in the stored form (radians).
void CentroInGradi(double inclinazione, double direzione, int& immersione, int& dip);
