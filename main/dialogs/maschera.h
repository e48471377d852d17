// The dialog engine: the editing commands choose a dialog definition (ImpostaMaschera), put the current values in
// (ScriviCampo, or the cells of a grid in ValoriTesto), show it modally (MostraMaschera), take the values back
// when the user confirmed (LeggiCampo, or ValoriTesto) and close it (ChiudiMaschera). The field form and the table
// grid build themselves from MascheraCorrente and write the values and the cancel flag back into it.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

inline constexpr int kMassimoValoriTesto = 75000;

// The text values of a dialog, numbered 0 to kMassimoValoriTesto, all empty to begin with. Their storage is made
// at the first access that may write (any access through a non-const object or an iterator), not with the state:
// a program or a start that opens no dialog never pays for 75001 texts.
class ValoriTestoMaschera {
 public:
  std::size_t size() const { return kMassimoValoriTesto + 1; }
  QString& operator[](std::size_t i) { return Valori()[i]; }
  const QString& operator[](std::size_t i) const { return valori_.empty() ? Vuoto() : valori_[i]; }
  QString* data() { return Valori().data(); }
  QString* begin() { return data(); }
  QString* end() { return data() + size(); }
  const QString* begin() const { return Valori().data(); }
  const QString* end() const { return begin() + size(); }
  // Every value empty again; the storage goes with them.
  void Svuota() { valori_ = std::vector<QString>(); }
  friend bool operator==(const ValoriTestoMaschera& a, const ValoriTestoMaschera& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

 private:
  static const QString& Vuoto() {
    static const QString vuoto;
    return vuoto;
  }
  std::vector<QString>& Valori() const;
  mutable std::vector<QString> valori_;
};

struct StatoMaschera {
  int NumeroMaschera = 0;        // definition number of the current dialog
  double TipoMaschera = 0;       // 1 field form, 2 to 4 grid
  QString TitoloMaschera;        // window title (also of the small dialogs)
  int NumeroCampiScelta = 0;     // kind 1: choice fields A (fields 1 to A)
  int NumeroCampiTesto = 0;      // kind 1: text fields B (fields A + 1 to A + B)
  int NumeroCampi = 0;           // kind 1: A + B
  short UltimaColonna = 0;       // grid: number of columns minus 1
  int NumeroSecondoElenco = 0;   // button captions X
  std::array<QString, 26> EtichetteCampi;
  std::array<QString, 16> IntestazioniColonne;
  std::array<QString, 26> ElenchiScelta;  // entries separated by "|", ending in "|"
  std::array<QString, 26> FormatiCampi;
  std::array<std::optional<double>, 26> MinimiCampi, MassimiCampi;
  std::array<QString, 26> AiutiCampi;     // help of each field; index N (kind 1) or column count (grid): dialog help
  std::array<QString, 6> SecondoElenco;   // button captions
  // Grid: the codes a coded column accepts, as the configuration writes them (empty: the codes of the column's
  // help text after "$$$"), and the widths of the record fields the columns are stored in (0: no such limit).
  // Set by the calling command after ImpostaMaschera, which empties them.
  std::array<QStringList, 16> CodiciColonne;
  std::array<int, 16> LarghezzeColonne{};
  // Grid: on confirmation an empty row before the last filled one is written back as a row of empty cells
  // instead of being dropped, so that each row stays the record it stands for.
  bool RigheVuoteMantenute = false;
  // The fields (field form, by field index) or columns (grid, by column) that must not be left empty: a numeric
  // field of the field form left empty is out of its range; a grid of kind 4 asks the incomplete-rows question
  // for a row with data whose cell of such a column is empty. Set by the calling command after ImpostaMaschera,
  // which clears them.
  std::array<bool, 26> CampiObbligatori{};
  // The values the calling command read from its file that the file's readers refuse (the command opens the file
  // so that the user can repair it): the field form marks these fields (by field index), the grid these cells
  // (row, column), as a grid marks a refused pasted cell, with the message of their check; confirming brings the
  // user to each of them and writes none. Set by the calling command after ImpostaMaschera, which empties them.
  std::array<bool, 26> CampiRifiutati{};
  std::vector<std::pair<int, int>> CelleRifiutate;
  ValoriTestoMaschera ValoriTesto;
  std::array<double, 26> ValoriNumerici{};  // kind 1: 0-based position of the chosen entry of each choice field
  std::array<bool, 26> SceltaFuoriElenco{};  // kind 1: ScriviCampo was given no entry number from 1 on
  float AnnullaMaschera = 0;               // after the dialog: 0 confirmed, -1 cancelled
};
extern StatoMaschera MascheraCorrente;

// Makes definition n the current dialog. The first two arguments are not used.
void ImpostaMaschera(int a, int b, int n);
// Field f (by index from 0) of the current field form, or column f of the current grid, takes one number within
// both the definition's range and minimo to massimo, the range of the file's readers for the value it holds,
// whatever kind and range the definition gives it: a definition may narrow what is saved, never widen it beyond
// what the file's readers take back. Called by the command after ImpostaMaschera.
void LimitaCampoNumerico(std::size_t f, double minimo, double massimo);
// The label of field j (from 0) of definition n as its form shows it; in a grid, the heading of column j.
QString EtichettaDefinizione(int n, int j);
// Field i (from 1) of the current field form from a text: a choice field takes the entry numbered by the text
// (counting from 1; 0 or no number gives the first), a text field the text itself.
void ScriviCampo(int i, const QString& s);
// The reverse: a choice field's entry number (from 1), a text field's text.
void LeggiCampo(int i, QString& s);
// Shows the current dialog modally. Afterwards AnnullaMaschera is 0 when the user confirmed, -1 otherwise (also
// when the window was closed without its buttons, or when the definition could not be read).
void MostraMaschera(int x = 0);
// Unloads the dialog of the current kind and empties ValoriTesto.
void ChiudiMaschera();

// The check of a numeric field or cell: the whole text, blanks around it aside, is one finite number (a point as
// decimal separator, an optional exponent) within the bounds, both admissible (an empty bound sets no limit).
// Caratteri: an inner blank or a character that no number holds; Intervallo: anything else that is no such
// number. An empty text passes unless `richiesto`, when it is out of the range.
enum class ErroreNumero { Nessuno, Caratteri, Intervallo };
ErroreNumero VerificaNumero(const QString& testo, const std::optional<double>& minimo,
                            const std::optional<double>& massimo, bool richiesto = false);

// The range message of a field: the text that says the value is mistyped or out of its range, and on the next line
// the minimum and the maximum ("0; 360"; an empty bound shows as nothing).
QString MessaggioIntervallo(const std::optional<double>& minimo, const std::optional<double>& massimo);

// The forms of the two kinds register how they are shown and unloaded. `mostra` shows the form modally and sets
// AnnullaMaschera to 0 on confirmation; `chiudi` unloads it when it is still loaded.
struct FormMaschera {
  std::function<void()> mostra;
  std::function<void()> chiudi;
};
// tipo 1: the field form; tipo 2: the table grid (kinds 2 to 4).
void RegistraFormMaschera(int tipo, FormMaschera form);
