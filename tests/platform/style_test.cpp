#include "common/platform/style.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

QImage Immagine(const QIcon& icona, int lato) { return icona.pixmap(lato).toImage(); }

TEST(StileSuite, TheOverflowButtonOfAMenuBarShowsTheStylesOwnIconAndTheOtherIconsStay) {
  const QString nome = QApplication::style()->name();
  plat::UseSuiteStyle();
  std::unique_ptr<QStyle> base(QStyleFactory::create(nome));
  ASSERT_TRUE(base);
  {
    QMainWindow w;
    for (int i = 1; i <= 12; ++i) w.menuBar()->addMenu(QStringLiteral("Menu numero %1").arg(i));
    w.resize(180, 120);
    w.show();
    QApplication::processEvents();
    auto* pulsante = w.menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(pulsante, nullptr);
    EXPECT_TRUE(pulsante->isVisible());  // the menus do not fit
    EXPECT_FALSE(pulsante->icon().isNull());
    const QIcon atteso = base->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, nullptr);
    for (int lato : {16, 32}) EXPECT_EQ(Immagine(pulsante->icon(), lato), Immagine(atteso, lato));
    const QIcon copia = pulsante->icon();  // a copy draws the same
    EXPECT_EQ(Immagine(copia, 16), Immagine(atteso, 16));
  }
  for (QStyle::StandardPixmap p : {QStyle::SP_MessageBoxWarning, QStyle::SP_DialogOkButton, QStyle::SP_DirIcon})
    EXPECT_EQ(Immagine(QApplication::style()->standardIcon(p), 32), Immagine(base->standardIcon(p), 32)) << p;
  QApplication::setStyle(QStyleFactory::create(nome));
}

}  // namespace
