// The interactive cluster analysis in the window workform: the poles on the net, the choice of the linkage, the
// hierarchical aggregation with its partition files, the choice of the level and of the number of the heaviest
// clusters to keep, the maximum angular distance, the non-hierarchical passes, the confirmation or a new start
// from the level, and the apertures and frequencies of the families.
#pragma once

#include "cluster/analisi.h"

class workform;

// The first two graphics options: 2 in the first draws the equal-angle net (else equal-area); 1 in the second
// draws the poles as on a lower-hemisphere net.
struct OpzioniRete {
  double Opzione1 = 0;
  double Opzione2 = 0;
};

// What the analysis hands on: the families 1..K with their member lists and centres, the maximum distance in
// radians, the weights, apertures and frequencies of the families.
struct RisultatoClustering {
  int NumeroCluster = 0;
  Partizione Membri;
  std::vector<CentroCluster> Centri;
  float DistanzaMassima = 0;
  std::vector<float> PesoFamiglie, AperturaFamiglie, FrequenzaFamiglie;
  bool FrequenzeCalcolate = false;  // false when no measuring line has a length
};

// The state the aggregation and the analysis share with the window's drawing.
struct ModuloClusterInterattivo {
  int ClusterLivello = 0;
  double SegnoProiezione = 1;  // -1 on a lower-hemisphere net
};
extern ModuloClusterInterattivo ClusterInterattivo;

// The position on the net (x, y between -1 and 1) of a stored orientation.
void PosizioneSullaRete(double inclinazione, double direzione, const OpzioniRete& opzioni, double segno, double& x,
                        double& y);
// The colour value of a colour number of the basic 16-colour palette, and the colour of cluster c.
int ColoreBase(int numero);
int ColoreCluster(int c);

// The aggregation in the window: writes the partition files of every level from N down to 1, redrawing every
// merged cluster and yielding to the user interface after every merge.
void AggregaCluster(workform* finestra, int metodo, const PoliClustering& poli, const OpzioniRete& opzioni);

// A counter of the window's Frame3: the translated label, a blank and the number as the platform writes it.
QString TestoContatore(const QString& etichetta, double valore);

// The whole interactive analysis; returns when the user confirms. Closing the window ends the program.
void EseguiClusterAnalysis(const PoliClustering& poli, const StendimentiClustering& stendimenti,
                           const OpzioniRete& opzioni, RisultatoClustering& risultato);
// The clustering window of the analysis, while it is loaded.
workform* FinestraAnalisi();
