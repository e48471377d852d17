// The clustering window workform: the net of the poles (Picture1) and, in one row under it, the frames of the
// phases of the interactive clustering: the linkage choice (Frame1), the final confirmation (Frame2), the two
// counters (Frame3), the picture buttons "Riduci", "OK", "Aumenta" (Frame4) and the prompt (Frame5). Its event
// procedures compute nothing: they leave a command in TastoComando or a linkage in MetodoAggregazione, which the
// clustering polls while it yields to the user interface.
#pragma once

#include "common/platform/drawingsurface.h"
#include "common/platform/forms.h"
#include "common/platform/picturebox.h"

#include <QSize>
#include <QString>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The commands of the window: confirm, start again, increase ("Aumenta") and decrease ("Riduci").
inline const QString kComandoConferma = QString(QChar(13));
inline const QString kComandoRicomincia = QString(QChar(27));
inline const QString kComandoAumenta = QString(QChar(0)) + QLatin1Char('M');
inline const QString kComandoRiduci = QString(QChar(0)) + QLatin1Char('K');

// The state the window and the clustering share.
struct ModuloFinestraCluster {
  QString TastoComando;        // the pending command; "" none
  int MetodoAggregazione = 0;  // 0 none yet, 1 single, 2 complete linkage, 3 group average
  bool InvioText1 = false;     // Enter was pressed in Text1
};
extern ModuloFinestraCluster FinestraCluster;

class workform : public plat::Form {
  Q_OBJECT
 public:
  workform();

  // Stretches the window's design (fitted to the texts of the language) to the client size `area`: the net grows
  // into a square in the middle and the row of frames moves down with it (the frames keep their size).
  void Disponi(const QSize& area);

  plat::DrawingSurface* Picture1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QRadioButton* Option3 = nullptr;
  QPushButton* Command3 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QGroupBox* Frame3 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QGroupBox* Frame4 = nullptr;
  plat::PictureBox* Picture4 = nullptr;
  plat::PictureBox* Picture3 = nullptr;
  plat::PictureBox* Picture2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QGroupBox* Frame5 = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* Text1 = nullptr;

  // The prompts of Frame5: the level of aggregation and the maximum angular distance.
  enum Domanda { DomandaLivello, DomandaDistanza };
  // Shows a prompt: its title on Frame5, its text above the box, the box emptied and given the focus.
  void MostraDomanda(Domanda domanda);

  // The design positions (left edge) of the frames, in pixels.
  static int SinistraProgetto(int frame);

 protected:
  bool QueryUnload(bool byUser) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;

 private:
  void Form_Load();
  // Fits the design to the texts of the language (and of both prompts) and takes it as the design Disponi
  // stretches.
  void AdattaAiTesti();
  QGroupBox* Riquadro(int frame) const;
  void ImpostaDomanda(Domanda domanda);
  void Comando(const QString& codice);
  void Command3_Click();
  void Picture1_KeyDown(int key, Qt::KeyboardModifiers modifiers);

  std::array<int, 6> sinistra_{};  // the left edges of Frame1..Frame5 in the fitted design
  int altoFrame_ = 0;              // the top of the row of frames in it
  QSize progetto_;                 // its size
};
