#include "toolkit/Dismissal.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

// The boxes of a program asked to end close as the window manager's close would: those open,
// innermost first, and, once the dismisser runs, every one that opens after.
TEST(Dismissal, OpenDialogsCloseAndLaterOnesCloseAsTheyShow) {
    QDialog outer;
    QMessageBox inner(QMessageBox::Critical, "Gorbulax", "Failed to get data for 'Left'",
                      QMessageBox::Ok);
    bool innerShown = false;
    QTimer::singleShot(0, &outer, [&] {
        QTimer::singleShot(0, &inner, [&] {
            innerShown = QApplication::activeModalWidget() == &inner;
            toolkit::closeModalDialogs();
        });
        inner.exec();
    });
    outer.exec();
    EXPECT_TRUE(innerShown);
    EXPECT_FALSE(outer.isVisible());
    EXPECT_FALSE(QApplication::activeModalWidget());

    toolkit::DialogDismisser dismisser;
    EXPECT_FALSE(dismisser.started());
    dismisser.start();
    // A stand-in that closes the boxes after five seconds, so a dismisser that fails does not
    // hang the test.
    bool standIn = false;
    QTimer rescue;
    rescue.setInterval(5000);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        standIn = true;
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->hide();
    });
    rescue.start();
    QMessageBox later(QMessageBox::Question, "Gorbulax", "Start another game?",
                      QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(later.exec(), QMessageBox::No);
    QDialog plain;
    EXPECT_EQ(plain.exec(), QDialog::Rejected);
    EXPECT_FALSE(standIn);
}
