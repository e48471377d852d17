// wenlow's only window: a small form that shows the paragraph or table cell being written into the document.
#pragma once

#include "common/platform/forms.h"

class QLabel;

class progress : public plat::Form {
  Q_OBJECT
 public:
  explicit progress(QWidget* parent = nullptr);

  // Shows the text being written and repaints at once: the export does not yield to the user interface between
  // writes, so the label follows it only when painted here.
  void Mostra(const QString& testo);

  QLabel* Label1 = nullptr;

 private:
  void Form_Load();
};
