// The computations of the interactive cluster analysis that need no window: the centre of a list of poles, the
// weight order of the clusters of a level, the non-hierarchical clustering that moves the family centres until
// they settle, and the apertures and frequencies of the families.
#pragma once

#include "cluster/aggregazione.h"

#include <vector>

// The poles as the pole loading leaves them, arrays indexed from 1: stored inclination and direction (radians),
// weight and aperture of every point.
struct PoliClustering {
  int NumeroPoli = 0;
  const float* InclinazionePoli = nullptr;
  const float* DirezionePoli = nullptr;
  const float* PesoPoli = nullptr;
  const float* AperturaPoli = nullptr;
};

// The measuring lines of the sheets read, indexed from 1: stored direction and inclination (radians), length (m).
struct StendimentiClustering {
  int NumeroSchedeCaricate = 0;
  const float* DirezioneStendimento = nullptr;
  const float* InclinazioneStendimento = nullptr;
  const float* LunghezzaStendimento = nullptr;
};

// The centre of a list of points: the sum of their weighted unit vectors, each turned to the side of the first
// point's vector, as an orientation with inclination 0 to π/2 and direction 0 to 2π (single precision), and the
// resultant itself.
struct CentroCluster {
  float Inclinazione = 0;
  float Direzione = 0;
  double X = 0, Y = 0, Z = 0;
};
CentroCluster CentroDiLista(const std::vector<int>& membri, const PoliClustering& poli);

// The total weight of every cluster of a level (slots 1..K), each partial sum rounded to a whole number.
std::vector<int> PesiCluster(const Partizione& membri, const PoliClustering& poli);
// The cluster numbers heaviest first (places 1..K; place 0 unused); equal weights keep their numbering order.
std::vector<int> OrdinePesi(const std::vector<int>& pesi);

// The non-hierarchical clustering: every point goes to its nearest family centre when it lies closer than the
// maximum distance; then every centre is computed again from its members; passes follow until the centres do
// not move in two passes in a row. With a maximum distance of 0 the families stay as given, in one pass.
class ClusteringNonGerarchico {
 public:
  // Families 1..m (slot 0 unused) with their member lists and centres; the distance in radians.
  ClusteringNonGerarchico(const PoliClustering& poli, Partizione famiglie, std::vector<CentroCluster> centri,
                          float distanzaMassima);

  // One pass. True when another pass follows.
  bool Passo();
  // The pass state: 0 while the centres move, 1 in the pass that draws the settled centres, 2 at the end.
  int Stato() const { return stato_; }
  int Passi() const { return passi_; }
  bool Cambiato() const { return cambiato_; }

  const Partizione& Famiglie() const { return famiglie_; }
  const std::vector<CentroCluster>& Centri() const { return centri_; }
  // The family of point i in the last pass (0: none).
  int FamigliaDi(int i) const { return famigliaDi_[i]; }

  // The bound on the number of passes: the centres of real data settle in a few passes; the bound keeps a run
  // that would swing between two states from going on for ever.
  static constexpr int kPassiMassimi = 1000;

 private:
  PoliClustering poli_;
  Partizione famiglie_;
  std::vector<CentroCluster> centri_;
  float distanza_;
  std::vector<int> famigliaDi_;
  int stato_ = 0;
  int passi_ = 0;
  bool cambiato_ = false;
};

// The share of a measuring line's own length below which its length projected on a family's normal counts as 0:
// the line then lies in the family's plane.
inline constexpr double kTolleranzaStendimenti = 1e-5;

// Weight, weighted mean aperture and frequency (discontinuities per metre along the family's normal, over the
// measuring lines that do not lie in the family's plane) of every family 1..K. A family of weight 0 gets aperture
// 0; a family that no measuring line crosses (no line has a length, or every one lies in the family's plane) gets
// frequency 0. The vectors are resized to K + 1. Returns the families, in ascending order, whose planes hold every
// measuring line with a length (none when no line has a length).
std::vector<int> AperturaEFrequenza(const Partizione& famiglie, const std::vector<CentroCluster>& centri,
                                    const PoliClustering& poli, const StendimentiClustering& stendimenti,
                                    std::vector<float>& pesi, std::vector<float>& aperture,
                                    std::vector<float>& frequenze);
// True when at least one measuring line has a length above 0.
bool CiSonoStendimenti(const StendimentiClustering& stendimenti);
