// The table grid of the data-entry dialogs of kinds 2 to 4: one row per record (rows 1 to 500), one column per
// field of the dialog definition (columns 1 to UltimaColonna; column 0 holds the row numbers). The form builds
// itself from MascheraCorrente, takes the rows from ValoriTesto (entry 0: the row count, optionally followed by
// "|" and a caption; then the cells row by row) and, when confirmed, writes the non-empty rows back the same way.
// Each cell is checked against its column when the cursor leaves it: a coded column accepts the codes of its list,
// a text column ("/" format code) a text no longer than its format code whose characters its file can hold, a
// numeric column a number in its range. Esc never closes the form; the cancel button and the close button do.
#pragma once

#include "common/platform/forms.h"

#include <QString>
#include <QTableWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr int kRigheGriglia = 501;  // NumeroRighe: the heading row and the data rows 1 to 500

// The grid control: its keys go to the form's handlers instead of Qt's own editing.
class GrigliaTabella : public QTableWidget {
  Q_OBJECT
 public:
  using QTableWidget::QTableWidget;

 signals:
  // KeyDown: the key and its modifiers; `gestito` set when the form used it.
  void TastoPremuto(int tasto, Qt::KeyboardModifiers modificatori, bool* gestito);
  // KeyPress: the character typed (its code, as the form expects: 13 Enter, 27 Esc, 8 Backspace, 3 Ctrl+C ...).
  void CarattereDigitato(int codice);

 protected:
  void keyPressEvent(QKeyEvent* evento) override;
};

class base2_32 : public plat::Form {
  Q_OBJECT
 public:
  explicit base2_32(QWidget* parent = nullptr);

  GrigliaTabella* MSFlexGrid1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLabel* Label1 = nullptr;
  std::vector<QPushButton*> Command1;

  // Checks the cell at ColonnaPrecedente, RigaPrecedente; sets DatoValido.
  void validazionedati();
  bool DatoValido = true;

  // The grid's cursor (rows 1..500, columns 1..UltimaColonna) and the text of a cell.
  int Row() const;
  int Col() const;
  QString Testo(int riga, int colonna) const;
  void ImpostaTesto(int riga, int colonna, const QString& testo);
  // Moves the cursor as the user does (the cell left is checked).
  void VaiACella(int riga, int colonna);

  // The event handlers.
  void MSFlexGrid1_EnterCell();
  void MSFlexGrid1_KeyDown(int tasto, Qt::KeyboardModifiers modificatori, bool* gestito);
  void MSFlexGrid1_KeyPress(int codice);
  void MSFlexGrid1_DblClick();
  void Label1_Click();
  void Command1_Click(int indice);
  bool Confermato() const { return confermato_; }

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  void reject() override;

 private:
  void Form_Load();
  void SpostaCursore(int riga, int colonna);  // program-driven move: the cell-entered handler stays inert
  void MostraAiutoColonna();
  void CopiaTabella();
  void IncollaBlocco();
  // A cell refused by a paste: where, what came and why.
  struct CellaRifiutata {
    int riga;
    int colonna;
    QString testo;
    QString motivo;
  };
  // One message for the cells a paste refused: how many, the first few with their reasons.
  void SegnalaCelleRifiutate(const std::vector<CellaRifiutata>& rifiutate);
  void MessaggioLimiteRighe();
  // Before a confirmation: the first cell refused by a paste that is still wrong becomes the current cell, with
  // its message; true when there is one (the dialog stays open).
  bool TornaACellaRifiutata();
  // A cell refused by a paste stays marked, with its reason, until it passes the cell check. `motivo` empty:
  // the mark goes. Moving rows moves the marks with the cells.
  void Segna(int riga, int colonna, const QString& motivo);
  bool Segnata(int riga, int colonna) const;
  QString Motivo(int riga, int colonna) const;
  void CopiaCella(int daRiga, int aRiga, int colonna);
  void SvuotaCella(int riga, int colonna);
  void ApriEditor();
  // Closes the in-cell editor when it is open; `scrivi`: its text goes into the cell it was opened on.
  void ChiudiEditor(bool scrivi);
  int UltimaRigaPiena(int daRiga = 1) const;
  void Clessidra(bool on);

  bool Occupato = false;
  int ColonnaPrecedente = 1;
  int RigaPrecedente = 1;
  bool PrimoTasto = false;
  QString TestoCella;
  int NumeroRighe = kRigheGriglia;
  int UltimoTasto = 0;
  bool confermato_ = false;
  int rigaEditor_ = 0, colonnaEditor_ = 0;  // the cell the in-cell editor is open on (0: closed)
};

// The result of checking one cell text against column `colonna` of MascheraCorrente.
struct EsitoCella {
  bool valido = true;
  QString messaggio;  // the translated message of the first fault
  QString testo;      // the text to keep: a code as the list writes it, otherwise the text as given
};
EsitoCella VerificaCella(int colonna, const QString& testo);

// The number of data rows of the last confirmed or loaded grid.
extern int NumeroRigheDati;

// Registers base2_32 with the dialog engine as the form of the kinds 2 to 4, and its script actions:
// `cell <row> <column>` moves the cursor of the shown grid, `type <text>` types characters into it,
// `key <name>` presses a key in it (Enter, Esc, Backspace, Delete, F2, Ctrl+C, Ctrl+V, Shift+Insert),
// `clipboard <file>` puts a file's text (Windows-1252) on the clipboard.
void RegistraGriglia();
