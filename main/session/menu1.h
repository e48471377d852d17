// The main window of FRATTIX.
#pragma once

#include <QMainWindow>

class menu1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit menu1(QWidget* parent = nullptr);
  ~menu1() override;

  // The window's Load: start-up of the main program.
  void Form_Load();
};
