#include "cluster/analisi.h"

#include "cluster/geometria.h"

#include <algorithm>
#include <cmath>
#include <numeric>

CentroCluster CentroDiLista(const std::vector<int>& membri, const PoliClustering& poli) {
  CentroCluster c;
  c.Inclinazione = static_cast<float>(PiGreco() / 2);
  if (membri.empty()) return c;
  const auto vettore = [&poli](int p, double& x, double& y, double& z) {
    AngoliInVersore(x, y, z, poli.InclinazionePoli[p], poli.DirezionePoli[p]);
    const double w = poli.PesoPoli[p];
    x *= w;
    y *= w;
    z *= w;
  };
  double x1 = 0, y1 = 0, z1 = 0;
  vettore(membri.front(), x1, y1, z1);
  double rx = x1, ry = y1, rz = z1;
  for (std::size_t j = 1; j < membri.size(); ++j) {
    double x = 0, y = 0, z = 0;
    vettore(membri[j], x, y, z);
    const double somma = (x + x1) * (x + x1) + (y + y1) * (y + y1) + (z + z1) * (z + z1);
    const double differenza = (x - x1) * (x - x1) + (y - y1) * (y - y1) + (z - z1) * (z - z1);
    if (somma < differenza) {
      x = -x;
      y = -y;
      z = -z;
    }
    rx += x;
    ry += y;
    rz += z;
  }
  double inc = 0, dir = 0;
  VersoreInAngoli(rx, ry, rz, inc, dir);
  const double pi = PiGreco();
  if (inc < 0) {
    inc = -inc;
    dir += pi;
  }
  while (dir < 0) dir += 2 * pi;
  while (dir > 2 * pi) dir -= 2 * pi;
  c.Inclinazione = static_cast<float>(inc);
  c.Direzione = static_cast<float>(dir);
  c.X = rx;
  c.Y = ry;
  c.Z = rz;
  return c;
}

std::vector<int> PesiCluster(const Partizione& membri, const PoliClustering& poli) {
  std::vector<int> pesi(membri.size(), 0);
  for (std::size_t c = 1; c < membri.size(); ++c)
    for (int p : membri[c])
      pesi[c] = static_cast<int>(std::nearbyint(static_cast<double>(pesi[c]) + poli.PesoPoli[p]));
  return pesi;
}

std::vector<int> OrdinePesi(const std::vector<int>& pesi) {
  std::vector<int> ordine(pesi.size(), 0);
  std::iota(ordine.begin(), ordine.end(), 0);
  if (ordine.size() > 1)
    std::stable_sort(ordine.begin() + 1, ordine.end(), [&pesi](int a, int b) { return pesi[a] > pesi[b]; });
  return ordine;
}

ClusteringNonGerarchico::ClusteringNonGerarchico(const PoliClustering& poli, Partizione famiglie,
                                                 std::vector<CentroCluster> centri, float distanzaMassima)
    : poli_(poli),
      famiglie_(std::move(famiglie)),
      centri_(std::move(centri)),
      distanza_(distanzaMassima),
      famigliaDi_(static_cast<std::size_t>(std::max(poli.NumeroPoli, 0)) + 1, 0) {
  centri_.resize(famiglie_.size());
  for (std::size_t k = 1; k < famiglie_.size(); ++k)
    for (int p : famiglie_[k]) famigliaDi_[p] = static_cast<int>(k);
}

bool ClusteringNonGerarchico::Passo() {
  ++passi_;
  cambiato_ = false;
  const int m = static_cast<int>(famiglie_.size()) - 1;
  if (distanza_ > 0) {
    for (int k = 1; k <= m; ++k) famiglie_[k].clear();
    for (int i = 1; i <= poli_.NumeroPoli; ++i) {
      double migliore = 1e30;
      int kb = 0;
      for (int k = 1; k <= m; ++k) {
        const double a = AngoloTraDirezioni(poli_.InclinazionePoli[i], poli_.DirezionePoli[i],
                                            centri_[k].Inclinazione, centri_[k].Direzione);
        if (a < migliore) {
          migliore = a;
          kb = k;
        }
      }
      famigliaDi_[i] = kb > 0 && migliore < static_cast<double>(distanza_) ? kb : 0;
      if (famigliaDi_[i] > 0) famiglie_[kb].push_back(i);
    }
  } else {
    stato_ = 1;
  }
  for (int k = 1; k <= m; ++k) {
    // A family that has lost every point keeps the centre it had.
    if (famiglie_[k].empty()) continue;
    const CentroCluster nuovo = CentroDiLista(famiglie_[k], poli_);
    if (distanza_ > 0 && (nuovo.Inclinazione != centri_[k].Inclinazione || nuovo.Direzione != centri_[k].Direzione))
      cambiato_ = true;
    centri_[k] = nuovo;
  }
  if (!cambiato_ && stato_ == 0) stato_ = 1;
  else if (!cambiato_ && stato_ == 1) stato_ = 2;
  return stato_ != 2 && passi_ < kPassiMassimi;
}

bool CiSonoStendimenti(const StendimentiClustering& s) {
  for (int i = 1; i <= s.NumeroSchedeCaricate; ++i)
    if (s.LunghezzaStendimento[i] > 0) return true;
  return false;
}

std::vector<int> AperturaEFrequenza(const Partizione& famiglie, const std::vector<CentroCluster>& centri,
                                    const PoliClustering& poli, const StendimentiClustering& s,
                                    std::vector<float>& pesi, std::vector<float>& aperture,
                                    std::vector<float>& frequenze) {
  const std::size_t n = famiglie.size();
  pesi.assign(n, 0.0f);
  aperture.assign(n, 0.0f);
  frequenze.assign(n, 0.0f);
  std::vector<int> senzaFrequenza;
  const bool stendimenti = CiSonoStendimenti(s);
  for (std::size_t k = 1; k < n; ++k) {
    double peso = 0, apertura = 0;
    for (int p : famiglie[k]) {
      peso += poli.PesoPoli[p];
      apertura += static_cast<double>(poli.AperturaPoli[p]) * poli.PesoPoli[p];
    }
    pesi[k] = static_cast<float>(peso);
    aperture[k] = peso > 0 ? static_cast<float>(apertura / peso) : 0.0f;
    if (!stendimenti) continue;
    // The length of every measuring line projected on the family's normal. Each line is judged by itself: the
    // orientations are held in single precision, so a line in the family's plane keeps about a ten-millionth of
    // its own length; below kTolleranzaStendimenti of its length it lies in the plane, crosses no discontinuity of
    // the family and adds nothing, however long it is. The family is crossed when one line does not lie in it.
    double lunghezza = 0;
    bool attraversata = false;
    for (int i = 1; i <= s.NumeroSchedeCaricate; ++i) {
      const double stendimento = s.LunghezzaStendimento[i];
      if (!(stendimento > 0)) continue;
      const double proiezione =
          stendimento * std::cos(AngoloTraDirezioni(centri[k].Inclinazione, centri[k].Direzione,
                                                    s.InclinazioneStendimento[i], s.DirezioneStendimento[i]));
      if (!(proiezione > kTolleranzaStendimenti * stendimento)) continue;
      lunghezza += proiezione;
      attraversata = true;
    }
    if (!attraversata) {
      senzaFrequenza.push_back(static_cast<int>(k));
      continue;
    }
    const double f = peso / lunghezza;
    frequenze[k] = std::isfinite(f) ? static_cast<float>(f) : 0.0f;
  }
  return senzaFrequenza;
}
