#include "toolkit/DialogKeys.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

// What the preferences dialog cannot show: a button designed not to take Enter takes it all
// the same, and a box without a cancel button may not be left by Esc.
TEST(DialogKeys, EnterPressesTheFocusedButtonAndEscNeedsACancelButton) {
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    auto *ok = new QPushButton("OK", &dialog);
    auto *other = new QPushButton("Other", &dialog);
    other->setAutoDefault(false);
    QStringList pressed;
    for (QPushButton *button : {ok, other})
        QObject::connect(button, &QPushButton::clicked,
                         [&pressed, button] { pressed << button->text(); });
    toolkit::useDialogKeys(&dialog, ok, nullptr);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    other->setFocus(Qt::TabFocusReason);
    QTest::keyClick(other, Qt::Key_Return);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(pressed, QStringList({"Other", "OK"}));
    EXPECT_TRUE(dialog.isVisible());
}
