#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/finestre.h"
#include "main/session/menu1.h"

namespace {
int Principale(int, char**) {
  menu1 finestra;
  finestra.Form_Load();
  plat::ShowModeless(&finestra);
  plat::RunUntilClosed(&finestra);
  return 0;
}
}  // namespace

int main(int argc, char** argv) { return EseguiProgramma(argc, argv, Principale); }
