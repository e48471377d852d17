// The field form base1: one record of a field-form dialog definition (slope front, graphics options, header of a
// survey sheet, titles). It builds itself from MascheraCorrente when it is created: the choice fields as drop-down
// lists, then, after an empty row, the text fields, each under its label with leader dots; the buttons below; a
// yellow help line at the bottom. Every text field is checked when the user leaves it (ValidaCampo) and all of them
// again before the confirm button acts. Confirm (button 0) copies the values back into MascheraCorrente; cancel
// (button 1), Escape and the window's close button copy nothing; any further button shows help.
//
// Layout in character units: one column is 120 twips, one row 240 twips.
#pragma once

#include "common/platform/forms.h"

#include <QString>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct ModuloBase1 {
  short CampoCorrente = 0;  // the text field (not numeric) that last received the focus
};
extern ModuloBase1 StatoBase1;

class base1 : public plat::Form {
  Q_OBJECT
 public:
  explicit base1(QWidget* parent = nullptr);

  std::vector<QLabel*> Label1;          // one per field
  std::vector<QComboBox*> Combo1;       // one per choice field
  std::vector<QLineEdit*> Text1;        // one per text field (field A + k)
  std::vector<QPushButton*> Command1;   // one per button caption
  QLabel* Labelhelp = nullptr;
  std::vector<bool> CampiProtetti;      // per field: read-only (label beginning with "§")

  // The check of text field k as the user leaves it: a numeric field holds one number in its range, a text field
  // only characters its file can hold and no more than its length. A fault is reported in a message titled with
  // the field's label, the focus goes back to the field (a text too long is cut to its length) and the result is
  // false.
  bool ValidaCampo(int k);
  void Command1_Click(int j);

  // The maximum length of a text field's code: 0 for a numeric field ("0") and for no limit.
  static int LunghezzaMassima(const QString& codice);

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  void Form_Unload() override;

 private:
  void Form_Load();
  // The layout in columns of the form, widened where a label, a field or a button needs more room in the form's
  // font: the fields begin after the longest name, end where the widest of them needs, the form grows with them.
  void AdattaAiTesti();
  void Combo1_GotFocus(int i);
  void Text1_GotFocus(int k);
  bool Text1_KeyPress(int k, int tasto, Qt::KeyboardModifiers modificatori, const QString& testo);
  void VerificaPendente();
  // The message of the check of text field k (a number in its range, characters its file can hold), empty when it
  // passes; the length is not part of it.
  QString MessaggioCampo(int k) const;
  // Marks text field k as refused, with `motivo` (empty: the mark goes).
  void Segna(int k, const QString& motivo);
  void Labelhelp_Click();

  int a_ = 0;                    // choice fields
  int b_ = 0;                    // text fields
  std::vector<QString> nomi_;    // the label of each field as shown (title of its messages)
  int daVerificare_ = -1;        // the text field left by the user, checked once the focus has moved
  bool chiuso_ = false;          // a button has closed the form: no check any more
};

// Registers base1 as the field form of the dialog engine.
void RegistraBase1();
