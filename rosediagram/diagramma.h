// The rose ("star") diagram of MIRVANE: two fixed titles, four title lines of the session, the compass circle
// with its labels and ticks, and 36 sectors of 10 degrees whose radii are proportional to the number of distinct
// orientations whose dip direction falls in each.
#pragma once

#include <array>
#include <vector>

inline constexpr int NumeroSettori = 36;

// The sector (1 to 36) of a dip direction in degrees, clockwise from north. Sector k covers the mathematical
// angles (counter-clockwise from east) from 10(k-1) up to, not including, 10k degrees: sector 1 holds the dip
// directions above 80 up to 90, sector 10 those above 350 up to 360 and 0. The arithmetic stays in degrees, so
// that every multiple of 10 falls where the rule puts it; a direction outside 0 to 360 is first wrapped onto the
// circle (370 counts as 10, -10 as 350).
int SettoreDirezione(double immersione);

// The counts of sectors 1 to 36 (entry 0 unused) of the given dip directions in degrees.
std::array<int, NumeroSettori + 1> ContaSettori(const std::vector<double>& immersioni);

// Draws the page of the diagram from the distinct orientations and the titles of the program's state, through
// the plotting library, and ends the plot. The plot must have been begun (InizioGrafico).
void DisegnaDiagramma();
