// Clustering points for the tests, from dip / dip direction / weight triples, in the stored form (single
// precision), arrays indexed from 1.
#pragma once

#include "cluster/analisi.h"
#include "cluster/geometria.h"

#include <initializer_list>
#include <tuple>
#include <vector>

struct PoliProva {
  std::vector<float> inc{0}, dir{0}, peso{0}, apertura{0};
  PoliProva(std::initializer_list<std::tuple<double, double, double>> giaciture, float aperturaPoli = 0) {
    for (const auto& [dip, immersione, w] : giaciture) {
      double i = 0, d = 0;
      GiacituraInPolo(immersione, dip, i, d);
      inc.push_back(static_cast<float>(i));
      dir.push_back(static_cast<float>(d));
      peso.push_back(static_cast<float>(w));
      apertura.push_back(aperturaPoli);
    }
  }
  PoliClustering Vista() const {
    return {static_cast<int>(inc.size()) - 1, inc.data(), dir.data(), peso.data(), apertura.data()};
  }
};

// The five points of the worked example, weight 1 each.
inline PoliProva EsempioProva(float aperturaPoli = 0) {
  return PoliProva({{71, 129, 1}, {44, 327, 1}, {79, 339, 1}, {45, 0, 1}, {9, 113, 1}}, aperturaPoli);
}

// Dip / dip direction of a centre in whole degrees.
inline std::pair<int, int> GradiCentro(const CentroCluster& c) {
  double immersione = 0, dip = 0;
  PoloInGiacitura(c.Inclinazione, c.Direzione, immersione, dip);
  return {static_cast<int>(std::lround(dip)), static_cast<int>(std::lround(immersione)) % 360};
}
