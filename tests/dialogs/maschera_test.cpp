#include "common/texts/avvio.h"
#include "main/dialogs/definizioni.h"
#include "main/dialogs/maschera.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// Engine tests with a stand-in for the field form: it "confirms" or "cancels" as told, or closes without a button.
class Motore : public ::testing::Test {
 protected:
  void SetUp() override {
    Avvio.NumeroLingua = 1;
    WriteAnsi(t.D("D1.MAV"),
              "1\nDUE SCELTE\n2\nA|B|C\nX|Y\n3\nS1\n0,,\n\nS2\n0,,\n\nT1\n20,,\n\nT2\n20,,\n\nT3\n0,0,9\n\nAIUTO\n"
              "2\n\"&Conferma\",\"&Annulla\"\n");
    WriteAnsi(t.D("D2.MAV"), "1\nSOLO TESTO\n0\n2\nT1\n20,,\n\nT2\n20,,\n\nAIUTO\n0\n");
    WriteAnsi(t.D("D3.MAV"), "4\nGRIGLIA\n3\nN.\n888,,\n\nA\n88,0,99\nAiuto A\nB\n/8,,\nB$$$\nAIUTO G\n0\n");
    LeggiDefinizioniMaschere(3, {QString(), t.D("D1.MAV"), t.D("D2.MAV"), t.D("D3.MAV")});
    MascheraCorrente = StatoMaschera();
    RegistraFormMaschera(1, {[this] {
                               ++mostrate;
                               if (esito == 0 || esito == 1) MascheraCorrente.AnnullaMaschera = static_cast<float>(esito);
                               if (esito == 0) MascheraCorrente.ValoriTesto[0] = "confermato";
                             },
                             [this] { ++chiuse; }});
  }
  void TearDown() override { RegistraFormMaschera(1, {}); }
  TestFolder t;
  testing_support::Scripted guardia{t, ""};  // an unexpected message ends the test instead of waiting
  int esito = 0;  // 0 confirm, 1 cancel (the button's index), -2 closed by the window's close button
  int mostrate = 0, chiuse = 0;
};

QString Campo(int i) {
  QString s;
  LeggiCampo(i, s);
  return s;
}

TEST_F(Motore, ChoiceFieldsCountFromOneAndStartAtTheirSecondEntry) {
  ImpostaMaschera(0, 0, 1);
  EXPECT_EQ(MascheraCorrente.NumeroCampiScelta, 2);
  EXPECT_EQ(MascheraCorrente.NumeroCampiTesto, 3);
  EXPECT_EQ(MascheraCorrente.ElenchiScelta[0], QString("A|B|C|"));
  EXPECT_EQ(MascheraCorrente.AiutiCampi[5], QString("AIUTO"));  // the dialog's help after the last field
  EXPECT_EQ(Campo(1), QString("2"));
  ScriviCampo(1, "3");
  EXPECT_EQ(MascheraCorrente.ValoriNumerici[0], 2);
  EXPECT_EQ(Campo(1), QString("3"));
  for (const char* s : {"0", "", "-4", "abc"}) {
    ScriviCampo(2, s);
    EXPECT_EQ(MascheraCorrente.ValoriNumerici[1], 0) << s;
    EXPECT_EQ(Campo(2), QString("1")) << s;
  }
}

TEST_F(Motore, TextFieldsFollowTheChoiceFields) {
  ImpostaMaschera(0, 0, 1);
  ScriviCampo(3, "terzo");
  ScriviCampo(5, "quinto");
  EXPECT_EQ(MascheraCorrente.ValoriTesto[0], QString("terzo"));
  EXPECT_EQ(MascheraCorrente.ValoriTesto[2], QString("quinto"));
  EXPECT_EQ(Campo(5), QString("quinto"));
  ImpostaMaschera(0, 0, 2);  // no choice field: field i is ValoriTesto(i - 1)
  ScriviCampo(1, "uno");
  EXPECT_EQ(MascheraCorrente.ValoriTesto[0], QString("uno"));
}

TEST_F(Motore, ConfirmCancelAndTheCloseButton) {
  ImpostaMaschera(0, 0, 1);
  esito = 0;
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, 0);
  esito = 1;
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);  // whatever nonzero value the form stored
  // A window closed without its buttons never confirms, even after a confirmed dialog.
  esito = 0;
  MostraMaschera();
  esito = -2;
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);
  EXPECT_EQ(mostrate, 4);
}

TEST_F(Motore, ClosingEmptiesTheTextValuesAndKeepsTheChoices) {
  ImpostaMaschera(0, 0, 1);
  ScriviCampo(1, "3");
  ScriviCampo(3, "x");
  MascheraCorrente.ValoriTesto[75000] = "ultimo";
  ChiudiMaschera();
  EXPECT_EQ(chiuse, 1);
  EXPECT_EQ(MascheraCorrente.ValoriTesto.size(), 75001u);
  EXPECT_TRUE(MascheraCorrente.ValoriTesto[0].isEmpty());
  EXPECT_TRUE(MascheraCorrente.ValoriTesto[75000].isEmpty());
  EXPECT_EQ(MascheraCorrente.ValoriNumerici[0], 2);
}

TEST_F(Motore, TextValuesAreEmptyUntilWrittenAndEmptyAgainWhenCleared) {
  StatoMaschera nuovo;
  const StatoMaschera& letto = nuovo;
  EXPECT_EQ(letto.ValoriTesto.size(), 75001u);
  EXPECT_TRUE(letto.ValoriTesto[0].isNull() && letto.ValoriTesto[75000].isNull());
  nuovo.ValoriTesto[75000] = "ultimo";
  nuovo.ValoriTesto[3] = "tre";
  EXPECT_EQ(letto.ValoriTesto[75000], QString("ultimo"));
  EXPECT_TRUE(letto.ValoriTesto[4].isNull());
  const StatoMaschera copia = nuovo;  // a copy holds its own values
  nuovo.ValoriTesto[3] = "altro";
  EXPECT_EQ(copia.ValoriTesto[3], QString("tre"));
  EXPECT_FALSE(copia.ValoriTesto == nuovo.ValoriTesto);
  QStringList righe(copia.ValoriTesto.begin() + 2, copia.ValoriTesto.begin() + 5);
  EXPECT_EQ(righe, QStringList({QString(), "tre", QString()}));
  EXPECT_EQ(copia.ValoriTesto.end() - copia.ValoriTesto.begin(), 75001);
  nuovo.ValoriTesto.Svuota();
  EXPECT_TRUE(letto.ValoriTesto[75000].isNull() && letto.ValoriTesto[3].isNull());
  EXPECT_TRUE(nuovo.ValoriTesto == StatoMaschera().ValoriTesto);
  nuovo.ValoriTesto[1] = "di nuovo";  // written again after being cleared
  EXPECT_EQ(letto.ValoriTesto[1], QString("di nuovo"));
}

TEST_F(Motore, AGridCopiesItsColumnsAndLeavesTheFieldCounts) {
  ImpostaMaschera(0, 0, 1);
  ImpostaMaschera(0, 0, 3);
  EXPECT_EQ(MascheraCorrente.TipoMaschera, 4);
  EXPECT_EQ(MascheraCorrente.UltimaColonna, 2);
  EXPECT_EQ(MascheraCorrente.IntestazioniColonne[1], QString("A"));
  EXPECT_EQ(MascheraCorrente.AiutiCampi[2], QString("B$$$"));
  EXPECT_EQ(MascheraCorrente.AiutiCampi[3], QString("AIUTO G"));
  EXPECT_EQ(MascheraCorrente.MassimiCampi[1].value(), 99);
  EXPECT_EQ(MascheraCorrente.NumeroCampiScelta, 2);  // left as the field form set it
  // No table grid is registered yet: the dialog counts as cancelled.
  MostraMaschera();
  EXPECT_EQ(MascheraCorrente.AnnullaMaschera, -1);
  EXPECT_EQ(mostrate, 0);
}

}  // namespace
