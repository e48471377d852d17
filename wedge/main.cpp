#include "common/texts/avvio.h"
#include "wedge/peldrix.h"

namespace {
int Principale(int, char**) {
  Avvio.NumeroModulo = 3;
  AvvioProgramma(false);
  return EseguiPeldrix();
}
}  // namespace

int main(int argc, char** argv) { return EseguiProgrammaSenzaFinestra(argc, argv, Principale); }
