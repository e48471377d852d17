// The print settings of plain text printed by lines: the form ConfStampa ("Impostazioni di stampa") and the file
// printer.cfg in the program folder that keeps them (nine lines: left margin in characters, top and bottom margin
// in lines, page length in lines, character height in points, header line, footer line, font name, top offset in
// lines; the last line may be missing).
#pragma once

#include "common/platform/forms.h"

#include <QString>

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The settings of printer.cfg.
struct ImpostazioniFileStampa {
  int MargineSinistro = 0;
  int MargineSuperiore = 0;
  int MargineInferiore = 0;
  int LunghezzaPagina = 70;
  int AltezzaCaratteri = 10;
  QString Intestazione;
  QString PiePagina;
  QString NomeFont = QStringLiteral("Courier New");
  double OffsetSuperiore = 0;
};

enum class EsitoFileStampa { Letto, Mancante, NonValido };

// Reads printer.cfg at `percorso`: five numbers, three text lines, then optionally the top offset, each number
// alone on its line. Mancante (nothing stands at the name): the defaults. NonValido, with the line in `riga` (0 for
// the file as a whole), and `impostazioni` keeps the defaults: what stands at the name cannot be read (see
// SeqReader::Open), fewer than eight lines, a number line that holds anything but one number, one of the first five
// that is not a 16-bit whole number, or more than blank lines after the offset.
EsitoFileStampa LeggiFileStampa(const QString& percorso, ImpostazioniFileStampa& impostazioni, int* riga = nullptr);
// Writes the nine lines anew (numbers with a point, no trailing point). False when it cannot be written.
bool ScriviFileStampa(const QString& percorso, const ImpostazioniFileStampa& impostazioni);
// printer.cfg in the program folder.
QString FileStampa();

// What the form leaves behind when it is unloaded: the cancel flag (true unless "&Stampa" saved the settings) and
// the font name.
struct ModuloConfStampa {
  bool Annulla = false;
  QString NomeFont;
};
extern ModuloConfStampa ImpostazioniStampa;

// The font of the list that stands for `nome`: the entry equal to it (letter case aside), else the entry of its
// installed metric twin (Arial, Times New Roman and Courier New have Liberation twins of the same widths); -1 when
// none is listed.
int VoceFont(const QStringList& fonts, const QString& nome);

class ConfStampa : public plat::Form {
  Q_OBJECT
 public:
  explicit ConfStampa(QWidget* parent = nullptr);

  std::array<QLabel*, 9> Label{};     // Label1..Label9
  std::array<QLineEdit*, 8> Text{};   // Text1..Text8
  QListWidget* List1 = nullptr;
  QPushButton* Command1 = nullptr;    // "&Imposta": the printer set-up
  QPushButton* Command2 = nullptr;    // "&Stampa": saves and closes
  QPushButton* Command3 = nullptr;    // "&Annulla": closes without saving

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

 protected:
  void Form_Load();
  void Form_Unload() override;

 private:
  // The settings of the form's fields; false, after a message, when a number lies outside the 16-bit range.
  bool LeggiCampi(ImpostazioniFileStampa& s);
  bool salva_ = false;
};

// Shows the form modally.
void MostraConfStampa();
