#include "cluster/talvor.h"
#include "common/platform/files.h"
#include "common/texts/avvio.h"
#include "common/texts/finestre.h"

namespace {
int Principale(int, char**) {
  // The scratch folders that plots of killed programs left behind.
  plat::RemoveOrphanedTemporaryFolders();
  Avvio.NumeroModulo = 3;
  AvvioProgramma(false);
  return Main();
}
}  // namespace

int main(int argc, char** argv) { return EseguiProgramma(argc, argv, Principale); }
