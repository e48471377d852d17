#include "cluster/interattiva.h"
#include "cluster/talvor.h"

#include <algorithm>
#include <vector>

namespace {
// Entries 1..n of a global array in single precision, as the clustering keeps angles, weights and apertures.
std::vector<float> Singoli(const VettorePoli& v, int n) {
  std::vector<float> out(static_cast<std::size_t>(n) + 1, 0.0f);
  for (int i = 1; i <= n; ++i) out[i] = static_cast<float>(v[i]);
  return out;
}
}  // namespace

bool EseguiClusterAnalysis() {
  const int n = std::clamp(Talvor.NumeroPoli, 0, kMassimoPoli);
  const int schede = std::clamp(Talvor.NumeroSchedeCaricate, 0, kMassimoPoli);
  const std::vector<float> inc = Singoli(Talvor.InclinazionePoli, n), dir = Singoli(Talvor.DirezionePoli, n),
                           peso = Singoli(Talvor.PesoPoli, n), apertura = Singoli(Talvor.AperturaPoli, n);
  const std::vector<float> sdir = Singoli(Talvor.DirezioneStendimento, schede),
                           sinc = Singoli(Talvor.InclinazioneStendimento, schede),
                           slung = Singoli(Talvor.LunghezzaStendimento, schede);
  const PoliClustering poli{n, inc.data(), dir.data(), peso.data(), apertura.data()};
  const StendimentiClustering stendimenti{schede, sdir.data(), sinc.data(), slung.data()};
  const OpzioniRete opzioni{Talvor.Grafica.Opzione[1], Talvor.Grafica.Opzione[2]};

  RisultatoClustering r;
  EseguiClusterAnalysis(poli, stendimenti, opzioni, r);

  Talvor.NumeroCluster = r.NumeroCluster;
  Talvor.DistanzaMassima = r.DistanzaMassima;
  for (int k = 1; k <= r.NumeroCluster; ++k) {
    Talvor.InclinazioneCentri[k] = r.Centri[k].Inclinazione;
    Talvor.DirezioneCentri[k] = r.Centri[k].Direzione;
    Talvor.NumeroMembri[k] = static_cast<int>(r.Membri[k].size());
    for (std::size_t j = 0; j < r.Membri[k].size(); ++j) Talvor.MembriCluster[k][j + 1] = r.Membri[k][j];
    Talvor.PesoFamiglie[k] = r.PesoFamiglie[k];
    Talvor.AperturaFamiglie[k] = r.AperturaFamiglie[k];
    Talvor.FrequenzaFamiglie[k] = r.FrequenzaFamiglie[k];
  }
  return true;
}
