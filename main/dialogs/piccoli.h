// The three small modal dialogs of the editing commands: a form of up to three labelled values (EditaLinea with
// the window edilineform), the choice of one entry of a list (ScegliDaElenco with SelezionaElenco) and the check
// boxes of a list in pages of 30 (ScegliConCaselle with EdilineCeckBox). Closing a window with its close button
// counts as its cancel button.
#pragma once

#include "common/platform/forms.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

struct ModuloScelte {
  int SceltaElenco = 0;  // the answer of ScegliDaElenco: the chosen entry from 1, 0 when none
};
extern ModuloScelte Scelte;

// The range a box of EditaLinea admits, per row: nothing for a box that takes any text.
using IntervalliLinea = std::array<std::optional<std::pair<double, double>>, 3>;

// Shows up to three rows (n from 1 to 3), each a label and an edit box, titled `titolo`; the help context is
// ContestiAiuto(Val(aiuto)). On "&Conferma" the three values take the texts of the three boxes (hidden rows
// too); on "&Annulla" or the close button they stay as passed. Every shown box is checked on "&Conferma": a
// character that the files cannot hold is refused with its message; in a box with a range in `intervalli`, a
// number (Val) outside the range, or too large to be one, is refused with the range message. The window then
// stays open on that box.
void EditaLinea(int n, const QString& titolo, const QString& etichetta1, const QString& etichetta2,
                const QString& etichetta3, const QString& aiuto, QString& valore1, QString& valore2,
                QString& valore3, const IntervalliLinea& intervalli = {});

// Shows elenco[1..n] in a list titled elenco[0]. SceltaElenco: after "&Conferma" or a double click the selected
// entry's number from 1 (0 when none is selected); after "&Annulla" or the close button 0. Returns SceltaElenco.
int ScegliDaElenco(const QStringList& elenco, int n);

// Shows entries 1..n as check boxes captioned voci[1..n], 30 to a window, one modal window after another, each
// titled `titolo`, help context ContestiAiuto(aiuto). A box starts ticked when its state is 1. "&Conferma" sets
// the states of the window's entries to 1 (ticked) or 2 and goes on with the next window; "&Annulla" or the close
// button leaves the states of this window and of the following ones as they were and ends at once.
void ScegliConCaselle(const QString& titolo, int n, const std::vector<QString>& voci, std::vector<double>& stati,
                      int aiuto);

// The windows themselves, for the drivers above and for tests.
class edilineform : public plat::Form {
  Q_OBJECT
 public:
  explicit edilineform(QWidget* parent = nullptr);
  QLabel* Label[4]{};      // Label1..Label3; Label4 (hidden) holds the help text
  QLineEdit* Text[3]{};    // Text1..Text3
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;  // hidden help button
  bool Confermato = false;
  IntervalliLinea Intervalli;       // the range of each box (none: any text)

 private:
  // True when every shown box holds only characters the files can hold and, with a range, a number within it;
  // else the first that does not is reported.
  bool ValoriNegliIntervalli();
};

class SelezionaElenco : public plat::Form {
  Q_OBJECT
 public:
  explicit SelezionaElenco(QWidget* parent = nullptr);
  QListWidget* List1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;

 protected:
  void Form_Unload() override;

 private:
  void Scegli(bool conferma);
  bool risposto_ = false;
};

class EdilineCeckBox : public plat::Form {
  Q_OBJECT
 public:
  explicit EdilineCeckBox(int caselle, QWidget* parent = nullptr);
  std::vector<QCheckBox*> Check1;  // Check1(0)..Check1(m - 1)
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  bool Confermato = false;
  static constexpr int kAltezzaCasella = 255;  // twips
};
