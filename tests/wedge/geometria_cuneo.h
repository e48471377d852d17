// An independent solution of the slope wedge for the tests: the wedge is built as a solid (its vertices found by
// intersecting the bounding planes), its volume and face areas measured on that solid, and the forces solved from
// equilibrium along the line of intersection or on one plane.
#pragma once

#include "wedge/cuneo.h"

#include <QString>

#include <array>

namespace wedge_test {

// A whole configuration in degrees and the units of the program.
struct Slope {
  double dip1 = 45, dir1 = 105;  // plane 1
  double dip2 = 70, dir2 = 235;  // plane 2
  double faceDip = 65, faceDir = 185;
  double upperDip = 12, upperDir = 195;
  double crackDip = 70, crackDir = 165, crackDistance = 0;  // distance along plane 1's trace; 0 = no crack
  double height = 30;                                       // of the crest above the toe, along plane 1's trace
  double rockWeight = 26, waterWeight = 0;
  double c1 = 0, phi1 = 20, c2 = 0, phi2 = 30;
  double anchor = 0, anchorPlunge = 0, anchorTrend = 0;
  double load = 0, loadPlunge = 0, loadTrend = 0;

  // The same configuration turned about the vertical by `degrees`.
  Slope Turned(double degrees) const;
};

struct Outcome {
  bool regular = false;  // both traces on the face rise from the toe
  bool toeUnderUpper = false;  // the toe lies under the upper surface
  bool wedge = false;  // the planes cut an admissible wedge out of the slope
  double factor = -1;
  double quotient = 0;  // the factor of safety before its absolute value is taken and capped
  double linePlunge = 0, lineTrend = 0;  // the line of intersection, rising from the toe (degrees)
  double volume = 0;
  double size = 0;  // the largest distance of a vertex of the wedge from the toe
  bool top = false;  // the line of intersection rises to the upper surface
  double upperSine = 0;  // of the angle of the line of intersection, rising from the toe, with the upper surface
  bool crackCuts = false;  // a crack bounds the wedge (else there is none, or the wedge lies wholly in front of it)
  QString mode;  // "?" when the forces allow no contact state or more than one
  double weight = 0;
  bool inwardNormalsUp = false;  // both planes lie under the wedge (inward normals are the upward normals)
  double inwardCosine = 0;  // of the angle between the normals into the wedge: below 0 where a plane overhangs
  bool waterOverWeight = false;  // the water on a plane pushes harder than the weight presses onto that plane
};

// The independent solution, and the same with a further force (x east, y north, z up) acting on the wedge.
Outcome Solve(const Slope& s);
Outcome Solve(const Slope& s, const std::array<double, 3>& extra);

// The direction in which a further force of the given size lowers the factor of safety most, found by trying
// directions all round and refining about the best.
struct Worst {
  double factor = 1e30;
  double plunge = 0, trend = 0;  // degrees, the plunge positive downwards
  std::array<double, 3> direction{0, 0, 0};
  QString mode;
};
Worst WorstDirection(const Slope& s, double size);

// The distance from the crest that makes the crack of `s` pass through the toe, the crest point of plane 2 or the
// top of the line of intersection; not a number where the wedge has no such vertex or the crack holds plane 1's
// upper trace.
enum class Vertex { Toe, Crest2, Top };
double CrackThrough(const Slope& s, Vertex vertex);

// The dip and dip direction of a plane that holds the trace of the plane dip/dipDirection on the upper surface,
// turned from the upper surface by `turn` degrees about that trace: the two planes' line of intersection lies in the
// upper surface.
std::array<double, 2> HoldingUpperTrace(double dip, double dipDirection, double upperDip, double upperDir,
                                        double turn);

// The arguments of the program's solution for the same configuration.
ArgomentiCuneo Arguments(const Slope& s);

}  // namespace wedge_test
