#include "main/dialogs/contesti.h"

#include "common/platform/files.h"
#include "common/platform/help.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"

#include <QAction>
#include <QShortcut>
#include <QWidget>

ModuloContesti Contesti;

namespace {
const char* const kProprieta = "HelpContextID";
}

void CaricaContestiAiuto() {
  Contesti.ContestiAiuto.fill(0);
  // Menu items (3 to 28), the help commands (29 to 32), the sheet list (39), the selection criteria (40) and the
  // seven dialog definitions (41 to 47): topic numbers 100 above their index.
  for (int i = 3; i <= 32; ++i) Contesti.ContestiAiuto[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(100 + i);
  for (int i = 39; i <= 47; ++i) Contesti.ContestiAiuto[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(100 + i);
}

int ContestoAiuto(int indice) {
  if (indice < 0 || indice > kMassimoContesti) return 0;
  return Contesti.ContestiAiuto[static_cast<std::size_t>(indice)];
}

int ContestoAiuto(const QString& testo) {
  // The number is tested before it becomes an index: a help text of a definition file may begin with any number.
  const double indice = plat::Val(testo);
  return indice >= 0 && indice <= kMassimoContesti ? ContestoAiuto(static_cast<int>(indice)) : 0;
}

namespace {
void Segnala(plat::HelpResult esito, int contesto, int riga) {
  const QString titolo = Traduci(QStringLiteral("ATTENZIONE")) + QStringLiteral("!");
  if (esito == plat::HelpResult::NoFile)
    plat::MsgBox(Traduci(QStringLiteral("Il file seguente non puo' essere letto:")) + QStringLiteral("\n") +
                     DescrizioneFile(Avvio.FileAiuto),
                 plat::vbOKOnly, titolo);
  else if (esito == plat::HelpResult::Damaged)
    plat::MsgBox(FileDanneggiato(Avvio.FileAiuto, riga), plat::vbOKOnly, titolo);
  else if (esito == plat::HelpResult::NoTopic)
    plat::MsgBox(Traduci(QStringLiteral("La guida non contiene l'argomento richiesto.")) + QStringLiteral(" (") +
                     QString::number(contesto) + QStringLiteral(")"),
                 plat::vbOKOnly, titolo);
}
}  // namespace

void MostraAiuto(int contesto) {
  int riga = 0;
  const plat::HelpResult esito = plat::ShowHelp(Avvio.FileAiuto, contesto, &riga);
  Segnala(esito, contesto, riga);
}

void MostraSommarioAiuto() {
  int riga = 0;
  const plat::HelpResult esito = plat::ShowHelpContents(Avvio.FileAiuto, &riga);
  Segnala(esito, 0, riga);
}

void ImpostaContestoAiuto(QWidget* finestra, int contesto) {
  if (!finestra) return;
  finestra->setProperty(kProprieta, contesto);
  auto* f1 = finestra->findChild<QShortcut*>(QStringLiteral("F1"), Qt::FindDirectChildrenOnly);
  if (!f1) {
    f1 = new QShortcut(QKeySequence(Qt::Key_F1), finestra);
    f1->setObjectName(QStringLiteral("F1"));
    QObject::connect(f1, &QShortcut::activated, finestra, [finestra] {
      const int c = finestra->property(kProprieta).toInt();
      if (c > 0) MostraAiuto(c);
    });
  }
}

void ImpostaContestoAiuto(QAction* voce, int contesto) {
  if (voce) voce->setProperty(kProprieta, contesto);
}

int ContestoAiutoDi(const QAction* voce) { return voce ? voce->property(kProprieta).toInt() : 0; }
