// Help contexts of the main program: the table ContestiAiuto (indexes 0 to 200) gives the help-context number of
// each command and dialog; the help window shows the topic of a context number from the program's help file.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

class QWidget;
class QAction;

inline constexpr int kMassimoContesti = 200;

struct ModuloContesti {
  std::array<std::uint16_t, kMassimoContesti + 1> ContestiAiuto{};
};
extern ModuloContesti Contesti;

// Fills ContestiAiuto (start-up).
void CaricaContestiAiuto();
// The context number at an index; 0 for an index outside 0 to 200.
int ContestoAiuto(int indice);
// The same for the index a help text begins with ("41: ..."): 0 for a text that begins with no index from 0 to 200.
int ContestoAiuto(const QString& testo);

// Shows the topic of a context number of the program's help file (Avvio.FileAiuto); a missing help file or topic
// is reported in a message.
void MostraAiuto(int contesto);
// Shows the help window on its contents topic.
void MostraSommarioAiuto();

// Gives a window its help context: F1 in it shows that topic. 0 removes nothing and adds nothing.
void ImpostaContestoAiuto(QWidget* finestra, int contesto);
// Gives a menu item its help context (F1 while the item is highlighted shows the topic).
void ImpostaContestoAiuto(QAction* voce, int contesto);
// The help context of a menu item (0 when it has none).
int ContestoAiutoDi(const QAction* voce);
