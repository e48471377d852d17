#include "common/platform/application.h"
#include "common/platform/forms.h"
#include "common/platform/picturebox.h"
#include "common/platform/ui.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QListWidget>
#include <QMessageBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using testing_support::ReadLog;
using testing_support::TestFolder;
using testing_support::WriteAnsi;
using testing_support::Ended;
using testing_support::Scripted;

namespace {

class Modulo : public plat::Form {
 public:
  Modulo() : plat::Form("PROVA") {
    setWindowTitle("Prova di modulo");
    text = new QLineEdit(this);
    text->setObjectName("Text1");
    list = new QListWidget(this);
    list->setObjectName("List1");
    list->addItems({"uno", "due", "tre"});
    check = new QCheckBox(this);
    check->setObjectName("Check1");
    auto* ok = new QPushButton("&Conferma", this);
    ok->setObjectName("Command1");
    connect(ok, &QPushButton::clicked, this, [this] {
      result = text->text() + "/" + (list->currentItem() ? list->currentItem()->text() : QString()) + "/" +
               (check->isChecked() ? "1" : "0");
      Unload();
    });
    auto* ask = new QPushButton("Ask", this);
    ask->setObjectName("Command2");
    connect(ask, &QPushButton::clicked, this,
            [this] { answer = plat::MsgBox("Sure?", plat::vbYesNo | plat::vbQuestion, "DOMANDA"); });
    auto* pic = new plat::PictureBox("Picture1", this);
    connect(pic, &plat::PictureBox::Click, this, [this] { pictureClicks++; });
  }
  QLineEdit* text;
  QListWidget* list;
  QCheckBox* check;
  inline static QString result;
  inline static int answer = 0;
  inline static int pictureClicks = 0;

 protected:
  bool QueryUnload(bool byUser) override {
    if (byUser) result = "closed";
    return true;
  }
};

// A form that closes itself from its own handlers and then lets pending events run, or shows a message, before it
// goes on with itself: a click on its picture, the key X, a script pressing the picture.
class SiChiude : public plat::Form {
 public:
  SiChiude() : plat::Form("CHIUDE") {
    resize(120, 80);
    picture = new plat::PictureBox("Picture1", this);
    picture->setGeometry(10, 10, 32, 32);
    connect(picture, &plat::PictureBox::Click, this, [this] { Chiudi(false); });
  }
  plat::PictureBox* picture;
  // What the handler found of its form after closing it.
  inline static QString seen;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_X) Chiudi(true);
    else plat::Form::keyPressEvent(event);
  }

 private:
  void Chiudi(bool message) {
    Unload();
    plat::DoEvents();
    if (message) plat::MsgBox("Closed", plat::vbOKOnly, "CHIUSO");
    seen = objectName() + (isVisible() ? "/shown" : "/hidden");
  }
};

}  // namespace

TEST(ScriptedUi, MessageBoxesAndInputBoxes) {
  TestFolder t(false);
  Scripted s(t, "# answers\nanswer No\nanswer ok \"saved\"\ninput \"a b\"\ncancel\nfile C:\\dati\\x.ses\ncancel\n");
  EXPECT_TRUE(plat::Scripted());
  EXPECT_EQ(plat::MsgBox("Continue?", plat::vbYesNo, "Q"), plat::vbNo);
  EXPECT_EQ(plat::MsgBox("File saved.", plat::vbOKOnly, "INFO"), plat::vbOK);
  bool cancelled = true;
  EXPECT_EQ(plat::InputBox("Name:", "T", "def", &cancelled), QString("a b"));
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(plat::InputBox("Name:", "T", "def", &cancelled), QString());
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(plat::GetOpenFileName("Apri", t.Data(), "Sessioni|*.ses"), t.DriveC() + "/dati/x.ses");
  EXPECT_EQ(plat::GetSaveFileName("Salva", t.Data(), "DXF|*.dxf"), QString());
  const QStringList log = s.Log();
  ASSERT_EQ(log.size(), 6);
  EXPECT_TRUE(log[0].endsWith("\tmsgbox\tQ\tContinue?")) << log[0].toStdString();
  EXPECT_TRUE(log[2].contains("\tinputbox\tT\tName:"));
  EXPECT_TRUE(log[4].contains("\tfiledialog\topen\tApri"));
}

TEST(ScriptedUi, AWrongOrMissingAnswerEndsTheProgram) {
  TestFolder t(false);
  {
    Scripted s(t, "answer Yes\n");
    try {
      plat::MsgBox("Only OK here", plat::vbOKOnly, "T");
      FAIL() << "a Yes to an OK box must not pass";
    } catch (const Ended& e) {
      EXPECT_EQ(e.code, 3);
    }
    EXPECT_TRUE(s.Log().last().contains("\tfatal\tscript\t"));
  }
  {
    Scripted s(t, "");
    EXPECT_THROW(plat::MsgBox("Nothing left", plat::vbOKOnly, "T"), Ended);
    EXPECT_THROW(plat::WaitForUser(), Ended);
  }
  {
    Scripted s(t, "answer ok \"expected words\"\n");
    EXPECT_THROW(plat::MsgBox("other words", plat::vbOKOnly, "T"), Ended);
  }
}

TEST(ScriptedUi, ModalFormDrivenByObjectNames) {
  TestFolder t(false);
  Scripted s(t,
             "set Text1 hello world\npick List1 due\ncheck Check1 1\nclick Picture1\npress Command2\nanswer yes\n"
             "press PROVA.Command1\n");
  const int before = plat::FormsCount();
  auto* form = new Modulo;
  EXPECT_EQ(plat::FormsCount(), before + 1);
  plat::ShowModal(form);
  plat::DoEvents();
  EXPECT_EQ(Modulo::result, QString("hello world/due/1"));
  EXPECT_EQ(Modulo::answer, plat::vbYes);
  EXPECT_EQ(Modulo::pictureClicks, 1);
  EXPECT_EQ(plat::FormsCount(), before);
  const QStringList log = s.Log();
  ASSERT_GE(log.size(), 2);
  EXPECT_TRUE(log[0].contains("\tform\tPROVA\tProva di modulo"));
  EXPECT_TRUE(log[1].contains("\tmsgbox\tDOMANDA\tSure?"));
}

TEST(ScriptedUi, ClosingAFormWithItsWindowButtonIsTheUsersClose) {
  TestFolder t(false);
  Scripted s(t, "close\n");
  auto* form = new Modulo;
  QPointer<Modulo> guard(form);
  plat::ShowModal(form);
  EXPECT_EQ(Modulo::result, QString("closed"));
  plat::DoEvents();
  plat::DeleteClosedWindows();
  EXPECT_TRUE(guard.isNull());
}

TEST(ScriptedUi, UnknownObjectsAndActionsEndTheProgram) {
  TestFolder t(false);
  Scripted s(t, "press Nowhere\n");
  auto* form = new Modulo;
  EXPECT_THROW(plat::ShowModal(form), Ended);
  form->Unload();
  Scripted s2(t, "dance now\n");
  EXPECT_THROW(plat::WaitForUser(), Ended);
}

TEST(ScriptedUi, WaitLoopsTakeTheNextActionAndExtensions) {
  TestFolder t(false);
  Scripted s(t, "wait\ncell Grid1 2 3 abc\nmenu FileApri\nclose Finestra\n");
  QStringList got;
  plat::RegisterScriptAction("cell", [&](const QStringList& args, QString*) {
    got = args;
    return true;
  });
  QMainWindow window;
  window.setObjectName("Finestra");
  QMenu* menu = window.menuBar()->addMenu("&Archivi");
  QAction* apri = menu->addAction("&Apri");
  apri->setObjectName("FileApri");
  int opened = 0;
  QObject::connect(apri, &QAction::triggered, [&] { opened++; });
  plat::ShowModeless(&window);
  plat::RunUntilClosed(&window);
  EXPECT_EQ(got, QStringList({"Grid1", "2", "3", "abc"}));
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(s.Log().first().contains("\twindow\tFinestra\t"));
}

// A script does only what a user could: nothing behind a modal form, in a disabled menu or on a hidden object.
TEST(ScriptedUi, ActionsReachOnlyWhatTheUserCanReach) {
  TestFolder t(false);
  QMainWindow window;
  window.setObjectName("Finestra");
  QMenu* menu = window.menuBar()->addMenu("&Archivi");
  QAction* apri = menu->addAction("&Apri");
  apri->setObjectName("FileApri");
  QMenu* spento = window.menuBar()->addMenu("&Spento");
  spento->addAction("&Voce")->setObjectName("SpentoVoce");
  spento->menuAction()->setEnabled(false);
  auto* bottone = new QPushButton("Sotto", &window);
  bottone->setObjectName("Command9");
  int opened = 0, pressed = 0;
  QObject::connect(apri, &QAction::triggered, [&] { opened++; });
  QObject::connect(bottone, &QPushButton::clicked, [&] { pressed++; });
  plat::ShowModeless(&window);
  const struct {
    const char* script;
    const char* why;
  } refused[] = {{"menu FileApri\n", "behind the modal window PROVA"},
                 {"press Command9\n", "behind the modal window PROVA"},
                 {"close Finestra\n", "behind the modal window PROVA"}};
  for (const auto& r : refused) {
    Scripted sr(t, r.script);
    auto* form = new Modulo;
    EXPECT_THROW(plat::ShowModal(form), Ended) << r.script;
    form->Unload();
    EXPECT_TRUE(sr.Log().join("\n").contains(r.why)) << sr.Log().join("\n").toStdString();
  }
  {
    Scripted sr(t, "menu SpentoVoce\n");
    EXPECT_THROW(plat::WaitForUser(), Ended);
    EXPECT_TRUE(sr.Log().join("\n").contains("in a menu that cannot be opened"));
  }
  {
    bottone->setEnabled(false);
    Scripted sr(t, "press Command9\n");
    EXPECT_THROW(plat::WaitForUser(), Ended);
    bottone->setEnabled(true);
  }
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(pressed, 0);
  // With no modal form up the same actions reach the window.
  Scripted s(t, "menu FileApri\npress Command9\nclose Finestra\n");
  plat::RunUntilClosed(&window);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(pressed, 1);
}

TEST(Forms, RegistryCountsLoadedForms) {
  const int before = plat::FormsCount();
  auto* a = new plat::Form("A");
  auto* b = new plat::Form("B");
  EXPECT_EQ(plat::FormsCount(), before + 2);
  EXPECT_EQ(plat::LoadedForm("a"), a);
  a->Unload();
  EXPECT_EQ(plat::FormsCount(), before + 1);
  EXPECT_FALSE(a->ClosedByUser());
  EXPECT_EQ(plat::LoadedForm("A"), nullptr);
  delete b;
  EXPECT_EQ(plat::FormsCount(), before);
  plat::DeleteClosedWindows();
}

TEST(ScriptedUi, GrabWritesAPictureOfTheShownForm) {
  TestFolder t(false);
  const QString png = t.D("form.png");
  Scripted s(t, "grab \"" + png + "\"\ngrab \"" + t.D("no/such/folder/x.png") + "\"\n");
  auto* form = new Modulo;
  form->resize(200, 120);
  EXPECT_THROW(plat::ShowModal(form), Ended);  // the second grab cannot write its file
  QImage image(png);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 200);
  if (plat::FormsCount() > 0) form->Unload();
}

// A bare close closes the window on top as its close button would: a modal form, else the window shown last that
// is still shown (a preview over the main window), then the one below it; grab pictures the same window.
TEST(ScriptedUi, ABareCloseClosesTheWindowOnTop) {
  TestFolder t(false);
  const QString png = t.D("sotto.png");
  QMainWindow finestra;
  finestra.setObjectName("Finestra");
  finestra.resize(300, 200);
  QWidget anteprima;
  anteprima.setObjectName("Anteprima");
  anteprima.resize(150, 100);
  Scripted s(t, "close\ngrab \"" + png + "\"\nclose\nclose\n");
  plat::ShowModeless(&finestra);
  plat::ShowModeless(&anteprima);
  plat::WaitForUser();
  EXPECT_FALSE(anteprima.isVisible());
  EXPECT_TRUE(finestra.isVisible());
  plat::WaitForUser();
  EXPECT_EQ(QImage(png).width(), 300);
  plat::RunUntilClosed(&finestra);
  EXPECT_FALSE(finestra.isVisible());
  // With nothing shown there is nothing to close.
  EXPECT_THROW(plat::WaitForUser(), Ended);
  EXPECT_TRUE(s.Log("fatal").join("\n").contains("no window is shown")) << s.Log().join("\n").toStdString();
}

TEST(FileDialogFilter, APatternWrittenIntoTheDescriptionShowsOnce) {
  EXPECT_EQ(plat::FilterForQt("AutoCAD(*.DXF)|*.dxf"), QString("AutoCAD (*.dxf)"));
  EXPECT_EQ(plat::FilterForQt("Sessioni|*.ses|Tutti (*.*)|*.*"), QString("Sessioni (*.ses);;Tutti (*.*)"));
  EXPECT_EQ(plat::FilterForQt("Testi|*.txt;*.tab"), QString("Testi (*.txt *.tab)"));
  EXPECT_EQ(plat::FilterForQt(""), QString());
}

// A user at the file dialog shown next, while it lives: types the name into it and accepts it; a message the
// dialog shows over itself (a file it did not find) is closed and counted (by a timer of its own, since the dialog
// shows it while it accepts), and a dialog still shown after the name is left with Escape. After 5 seconds whatever
// is shown is closed, so that no test waits forever.
class UtenteDelDialogo {
 public:
  explicit UtenteDelDialogo(const QString& nome) {
    dialogo_.setInterval(20);
    QObject::connect(&dialogo_, &QTimer::timeout, [this, nome] {
      auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialogo) return;
      if (scelto_) {
        QTest::keyClick(dialogo, Qt::Key_Escape);
        return;
      }
      scelto_ = true;
      auto* campo = dialogo->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(campo, nullptr);
      campo->setText(nome);  // typed into the field of the name
      static_cast<QDialog*>(dialogo)->accept();
    });
    avvisi_.setInterval(20);
    QObject::connect(&avvisi_, &QTimer::timeout, [this] {
      QWidget* mostrato = QApplication::activeModalWidget();
      if (++giri_ > 250 && mostrato) {
        mostrato->close();
      } else if (auto* avviso = qobject_cast<QMessageBox*>(mostrato)) {
        ++avvisi;
        avviso->accept();
      }
    });
    dialogo_.start();
    avvisi_.start();
  }
  int avvisi = 0;

 private:
  QTimer dialogo_, avvisi_;
  int giri_ = 0;
  bool scelto_ = false;
};

// Without a script the file dialogs are Qt's own, behind the one interaction interface as every other question:
// the open dialog takes only a file that exists, the dialog of the session and sheet commands and the save dialog a
// new name too, and none asks before it names a file that exists.
TEST(QtUi, FileDialogsTakeTheNameTheUserTypes) {
  TestFolder t(false);
  plat::ResetInteraction();
  ASSERT_FALSE(plat::Scripted());
  WriteAnsi(t.D("esiste.ses"), "x\n");
  const QString nuovo = t.D("nuovo.ses");
  {
    UtenteDelDialogo u(t.D("esiste.ses"));
    EXPECT_EQ(plat::GetOpenFileName("Apri", t.Data(), "Sessioni|*.ses"), t.D("esiste.ses"));
    EXPECT_EQ(u.avvisi, 0);
  }
  {
    UtenteDelDialogo u(nuovo);
    EXPECT_EQ(plat::GetOpenFileName("Apri", t.Data(), "Sessioni|*.ses"), QString());
    EXPECT_EQ(u.avvisi, 1);  // the dialog said that the file is not there, and was left
  }
  for (const QString& nome : {nuovo, t.D("esiste.ses")}) {
    {
      UtenteDelDialogo u(nome);
      EXPECT_EQ(plat::GetOpenOrNewFileName("Sessione", t.Data(), "Sessioni|*.ses"), nome);
      EXPECT_EQ(u.avvisi, 0);
    }
    {
      UtenteDelDialogo u(nome);
      EXPECT_EQ(plat::GetSaveFileName("Salva", t.Data(), "Sessioni|*.ses"), nome);
      EXPECT_EQ(u.avvisi, 0);
    }
  }
  EXPECT_FALSE(QFile::exists(nuovo));  // a dialog only names the file: the command writes it
}

// Keys, option buttons and picture buttons of a modeless window driven by a wait loop.
TEST(ScriptedUi, KeysOptionButtonsAndPictureButtons) {
  TestFolder t(false);
  Scripted s(t,
             "key Text1 a\nkey Text1 5\nkey Text1 Enter\ncheck Option2 1\nkey Picture1 Left\nkey Picture1 Shift+Right\n"
             "key Picture1 F1\npress Picture1\nkey Hidden Enter\n");
  QWidget window;
  window.setObjectName("Finestra");
  auto* text = new QLineEdit(&window);
  text->setObjectName("Text1");
  auto* option1 = new QRadioButton("uno", &window);
  option1->setObjectName("Option1");
  option1->setChecked(true);
  auto* option2 = new QRadioButton("due", &window);
  option2->setObjectName("Option2");
  auto* hidden = new QLineEdit(&window);
  hidden->setObjectName("Hidden");
  auto* picture = new plat::PictureBox("Picture1", &window);
  QStringList keys;
  int clicks = 0;
  QObject::connect(picture, &plat::PictureBox::Click, [&] { clicks++; });
  struct Filter : QObject {
    QStringList* keys;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        *keys << QStringLiteral("%1:%2:%3:%4")
                     .arg(o->objectName())
                     .arg(k->key())
                     .arg(int(k->modifiers()))
                     .arg(k->text() == QLatin1String("\r") ? QStringLiteral("CR") : k->text());
      }
      return false;
    }
  } filter;
  filter.keys = &keys;
  text->installEventFilter(&filter);
  picture->installEventFilter(&filter);
  plat::ShowModeless(&window);
  hidden->hide();
  for (int i = 0; i < 8; ++i) plat::WaitForUser();
  EXPECT_EQ(text->text(), "a5");
  EXPECT_TRUE(option2->isChecked());
  EXPECT_FALSE(option1->isChecked());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(keys, QStringList({QString("Text1:%1:0:a").arg(int(Qt::Key_A)), QString("Text1:%1:0:5").arg(int(Qt::Key_5)),
                               QString("Text1:%1:0:CR").arg(int(Qt::Key_Enter)),
                               QString("Picture1:%1:0:").arg(int(Qt::Key_Left)),
                               QString("Picture1:%1:%2:").arg(int(Qt::Key_Right)).arg(int(Qt::ShiftModifier)),
                               QString("Picture1:%1:0:").arg(int(Qt::Key_F1))}));
  // A key on an object that is not shown does not fit the script.
  EXPECT_THROW(plat::WaitForUser(), Ended);
}

// A form closed from one of its own handlers outlives the handler, and goes once it has returned.
TEST(Unloading, AClickOnItsPictureThatClosesTheFormAndLetsEventsRun) {
  // The picture's own mouse handler still runs when the click's handler has closed the form and let events run.
  SiChiude::seen.clear();
  auto* f = new SiChiude;
  QPointer<SiChiude> form(f);
  f->show();
  QTest::mouseClick(f->picture, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(SiChiude::seen, "CHIUDE/hidden");
  EXPECT_EQ(plat::LoadedForm("CHIUDE"), nullptr);
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.isNull());
}

TEST(Unloading, AKeyThatClosesTheFormLetsEventsRunAndShowsAMessage) {
  // The message's own event loop runs until its button is clicked.
  SiChiude::seen.clear();
  auto* f = new SiChiude;
  QPointer<SiChiude> form(f);
  f->show();
  QTimer messaggio;
  QObject::connect(&messaggio, &QTimer::timeout, [&messaggio] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    messaggio.stop();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  messaggio.start(10);
  QTest::keyClick(f, Qt::Key_X);
  EXPECT_FALSE(messaggio.isActive());
  EXPECT_EQ(SiChiude::seen, "CHIUDE/hidden");
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.isNull());
}

TEST(Unloading, AScriptPressingThePictureRunsItsHandlerAsAClickDoes) {
  // No event calls the handler: the script's action does.
  SiChiude::seen.clear();
  TestFolder t(false);
  Scripted s(t, "press Picture1\n");
  auto* f = new SiChiude;
  QPointer<SiChiude> form(f);
  plat::ShowModeless(f);
  plat::WaitForUser();
  EXPECT_EQ(SiChiude::seen, "CHIUDE/hidden");
  EXPECT_TRUE(form.isNull());
}
