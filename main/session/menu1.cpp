#include "main/session/menu1.h"

#include "common/platform/forms.h"
#include "common/texts/avvio.h"

menu1::menu1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("menu1"));
  setWindowTitle(QStringLiteral("FRATTIX 32"));
  plat::RegisterForm(this);
}

menu1::~menu1() { plat::UnregisterForm(this); }

void menu1::Form_Load() {
  Avvio.NumeroModulo = 3;
  AvvioProgramma(true);
  resize(800, 600);
}
