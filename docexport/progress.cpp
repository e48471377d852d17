#include "docexport/progress.h"

#include "common/texts/finestre.h"
#include "common/texts/testi.h"

#include <QLabel>
#include <QVBoxLayout>

progress::progress(QWidget* parent) : plat::Form(QStringLiteral("progress"), parent) {
  setWindowTitle(QStringLiteral("Esportazione file *.DOC in corso..."));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Label1->setTextFormat(Qt::PlainText);
  layout->addWidget(Label1);
  setFixedSize(420, 90);
  Form_Load();
}

void progress::Form_Load() {
  Centra(this);
  setWindowTitle(Traduci(windowTitle()));
}

void progress::Mostra(const QString& testo) {
  // A label of one line's worth: a long cell or paragraph is cut, not the window widened.
  Label1->setText(testo.left(300));
  Label1->repaint();
}
