// Agglomerative hierarchical clustering of the poles: the angle of every pair of points in tenths of a degree, the
// merges of two clusters at a time down to one cluster with one of three linkages, and the partition files that
// keep the clusters of every level in the program folder.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The linkages, by the numbers of the window's option buttons.
enum MetodoLegame : int { VicinoProssimo = 1, VicinoLontano = 2, MediaDiGruppo = 3 };

// The angle between two stored orientations in tenths of a degree as the aggregation keeps it: a · 450 / atan(1),
// plus 0.5, to the nearest whole number with halves to the even one (every angle that is not a whole number of
// tenths goes up to the next tenth).
int DecimiDiGrado(double angolo);

// The angles of every pair of points 1..n, in tenths of a degree (0 to 900). The angles of the points are the
// stored ones (single precision), the arithmetic is in double precision. Arrays are indexed from 1.
class MatriceDistanze {
 public:
  MatriceDistanze() = default;
  MatriceDistanze(const float* inclinazione, const float* direzione, int n);

  int N() const { return n_; }
  // The angle of points i and j (1..n, in either order; 0 for i = j).
  int operator()(int i, int j) const { return d_[static_cast<std::size_t>(i) * (n_ + 1) + j]; }
  void Imposta(int i, int j, int decimi);

 private:
  int n_ = 0;
  std::vector<std::int16_t> d_;
};

// The clusters of one level: slot c (1..K) holds the point indexes of cluster c in their order; slot 0 is unused.
using Partizione = std::vector<std::vector<int>>;

// The merges, one at a time. At every merge the pair (pa, pb) of the smallest linkage value is taken, the first
// pair met in the order a = 1.., b = a + 1.. on ties; pb's members are appended to pa's, and the last cluster K
// takes the freed slot pb. The linkage values of the cluster pairs are kept up to date at every merge (minimum,
// maximum, or the whole-number sum of the pair angles with the number of pairs), which chooses exactly the pairs
// that computing every value afresh from the point pairs would choose; the smallest value of every row is kept
// too, so that a merge looks at the rows, not at every pair.
class AggregazioneGerarchica {
 public:
  AggregazioneGerarchica(const MatriceDistanze& distanze, int metodo);

  // Number of clusters of the level in hand.
  int Livello() const { return livello_; }
  const Partizione& Membri() const { return membri_; }

  // One merge; false (and nothing changed) when one cluster is left. pa and pb receive the merged pair.
  bool Unisci(int* pa = nullptr, int* pb = nullptr);

  // The linkage value of clusters a and b of the level in hand (a != b).
  double Legame(int a, int b) const { return valore_[Indice(a, b)]; }

 private:
  std::size_t Indice(int a, int b) const {
    if (a > b) std::swap(a, b);
    return static_cast<std::size_t>(a) * (n_ + 1) + b;
  }

  int metodo_;
  int n_;
  int livello_;
  Partizione membri_;
  std::vector<double> valore_;        // linkage value of each cluster pair (upper triangle)
  std::vector<std::int64_t> somma_;   // group average: sum of the pair angles of each cluster pair
  // The smallest value of each row a (columns a + 1..K) and its first column.
  std::vector<double> minimoRiga_;
  std::vector<int> colonnaMinimo_;
  void MinimoRiga(int a);
};

// The partition file of `livello` clusters: the program folder followed by the bare number ("12"). Its lines, one
// whole number each in print form: the number of clusters, then for every cluster its member count and its
// member indexes.
QString NomePartizione(int livello);
// Writes the partition of the level (slots 1..K of `membri`). False when the file cannot be written.
bool ScriviPartizione(const Partizione& membri, int livello);
// Reads the partition file of `livello` clusters of at most `numeroPoli` points. False when it is missing; a file
// that cannot be read (see SeqReader::Open) or does not hold a partition of those points (short, a line with more
// than its one number, counts or indexes out of range, a point in two places, more than blank lines after the last
// member) is also refused, with its reason in `errore` and the line of the fault in `riga` (0 for the whole file).
bool LeggiPartizione(int livello, int numeroPoli, Partizione& membri, QString* errore = nullptr, int* riga = nullptr);
