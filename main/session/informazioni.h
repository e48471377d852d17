// The About box of the main program and the logo picture of the main window.
#pragma once

#include "common/platform/forms.h"

#include <QImage>
#include <QSize>

class QLabel;
class QPushButton;
namespace plat {
class PictureBox;
}

class INFORMAZIONI : public plat::Form {
  Q_OBJECT
 public:
  explicit INFORMAZIONI(QWidget* parent = nullptr);
  // The current-file line as a caption: "&&" shows one ampersand, a single "&" marks an access key.
  void ImpostaLabel8(const QString& didascalia);
  QString Didascalia8;  // Label8's caption as set

  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label8 = nullptr;
  QPushButton* Command1 = nullptr;
  plat::PictureBox* Picture1 = nullptr;
};

// The logo of the suite (a stereographic net with the poles of three families) on a background of the given size
// in pixels of the window, at `rapporto` pixels of the screen to one of them (it may be drawn on any thread).
QImage DisegnaLogo(const QSize& dimensione, bool conTitolo, qreal rapporto = 1);
