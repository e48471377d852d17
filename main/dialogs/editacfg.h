// The pen-table editor "SELEZIONE COLORI": for each plot element of the pen table of the current language its
// colour (one of 15 named colours, or not drawn), its line thickness and its texts' font; the colours' values and
// names; the two page margins. "&Conferma" rewrites the file whole, "&Annulla" leaves it as it was.
#pragma once

#include "common/data/penne.h"
#include "common/platform/forms.h"

#include <QString>

#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class Editacfg : public plat::Form {
  Q_OBJECT
 public:
  // Reads the pen table `percorso`; Caricata() is false (after a message) when it is missing or damaged.
  explicit Editacfg(const QString& percorso, QWidget* parent = nullptr);
  bool Caricata() const { return caricata_; }

  QListWidget* List1 = nullptr;  // the plot elements; each item keeps its element's index
  QListWidget* List2 = nullptr;  // the fonts of this machine
  QLabel* Label1 = nullptr;
  QLineEdit* Text1 = nullptr;    // thickness of the selected element
  QGroupBox* Frame2 = nullptr;
  QLabel* Sinistro = nullptr;
  QLineEdit* Text2 = nullptr;    // left margin
  QLabel* Label2 = nullptr;
  QLineEdit* Text3 = nullptr;    // top margin
  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1[kColoriPenne + 1]{};
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;

  void List1_Click();
  void List2_Click();
  void Option1_Click(int c);
  void Option1_DblClick(int c);
  void Text1_Change();
  void Command1_Click();
  void Command2_Click();

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  void Form_Load();
  int ElementoSelezionato() const;  // 1..30, 0 when none
  void DipingiColore(int c);
  void SelezionaCarattere(const QString& nome);
  // Checks the thicknesses typed and the margins changed; the first out of its range is reported and shown
  // again for correction (false).
  bool ValoriAmmessi();

  QString percorso_;
  bool caricata_ = false;
  bool InAggiornamento = false;
  TabellaPenne tabella_;                                      // as read: names written back unchanged
  std::array<QString, kColoriPenne + 1> NomiColoriMostrati;  // the colour names as shown
  std::array<bool, kColoriPenne + 1> nomeColoreCambiato_{};
  std::array<std::optional<QString>, kElementiPenne + 1> spessoriDigitati_;  // the thickness text last typed
  std::array<QString, 2> marginiMostrati_;                                  // the margins as first shown
};

// The main window's configure command: the editor of the current language's pen table, modal.
void MostraEditacfg();
