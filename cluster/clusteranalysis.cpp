#include "cluster/talvor.h"

// Until the clustering window exists, a cluster run ends after the pole loading with nothing written.
bool EseguiClusterAnalysis() { return false; }
