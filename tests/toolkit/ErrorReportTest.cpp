#include "toolkit/ErrorReport.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Mouse.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>
#include <QTimer>

#include <stdexcept>

namespace {

// Records the reports for the length of a test and puts the default back afterwards.
class Recorder {
public:
    Recorder() {
        toolkit::setErrorReporter([this](const QString &text) { reports << text; });
    }
    ~Recorder() { toolkit::setErrorReporter({}); }
    QStringList reports;
};

class Throwing : public QObject {
protected:
    bool event(QEvent *event) override {
        if (event->type() == QEvent::User)
            throw std::logic_error("bad event");
        return QObject::event(event);
    }
};

void send(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(ErrorReport, GuardedCodeReportsWhatEscapes) {
    Recorder recorder;
    toolkit::guarded([] { throw std::runtime_error("Zähler übergelaufen"); });
    toolkit::guarded([] { throw 42; });
    toolkit::guarded([] {});
    toolkit::guarded({});
    EXPECT_EQ(recorder.reports, QStringList({QStringLiteral("Zähler übergelaufen"),
                                             QStringLiteral("Unknown error")}));

    int sum = 0;
    auto add = toolkit::handler([&](int a, int b) {
        sum += a + b;
        if (sum > 5)
            throw std::out_of_range("too much");
    });
    add(1, 2);
    add(3, 4);
    EXPECT_EQ(sum, 10);
    EXPECT_EQ(recorder.reports.last(), QStringLiteral("too much"));

    Throwing target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QApplication::sendEvent(&target, &event));
    EXPECT_EQ(recorder.reports.last(), QStringLiteral("bad event"));
    toolkit::reportError(QStringLiteral("direct"));
    EXPECT_EQ(recorder.reports.size(), 5);

    // A reporter that fails itself must not take the program down.
    toolkit::setErrorReporter([](const QString &) { throw std::runtime_error("again"); });
    toolkit::guarded([] { throw std::runtime_error("first"); });
}

TEST(ErrorReport, DefaultReportIsAStopBoxWithTheApplicationTitle) {
    const QString oldName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Gorbulax"));
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->accept();
    });
    toolkit::reportError(QStringLiteral("Disk full"));
    QGuiApplication::setApplicationDisplayName(oldName);
    EXPECT_EQ(title, QStringLiteral("Gorbulax"));
    EXPECT_EQ(text, QStringLiteral("Disk full"));
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(Mouse, HandlersSeeTheControlsOwnEvents) {
    Recorder recorder;
    QWidget parent;
    parent.resize(100, 100);
    auto *control = new QWidget(&parent);
    control->setGeometry(10, 10, 50, 50);

    QStringList seen;
    toolkit::onMouseDown(&parent,
                         [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                             seen << QStringLiteral("parent %1,%2").arg(x).arg(y);
                         });
    toolkit::onMouseDown(control, [&](QObject *sender, Qt::MouseButton button,
                                      Qt::KeyboardModifiers shift, int x, int y) {
        EXPECT_EQ(sender, control);
        seen << QStringLiteral("down %1 %2 %3,%4")
                    .arg(button == Qt::RightButton)
                    .arg(shift.testFlag(Qt::ShiftModifier))
                    .arg(x)
                    .arg(y);
    });
    toolkit::onMouseMove(control, [&](QObject *, Qt::KeyboardModifiers, int x, int y) {
        seen << QStringLiteral("move %1,%2").arg(x).arg(y);
    });
    int clicks = 0;
    toolkit::onClick(control, [&](QObject *) { ++clicks; });
    EXPECT_TRUE(control->hasMouseTracking());

    send(control, QEvent::MouseButtonPress, {3, 4}, Qt::RightButton, Qt::ShiftModifier);
    send(control, QEvent::MouseButtonRelease, {3, 4}, Qt::RightButton);
    send(control, QEvent::MouseMove, {7, 8}, Qt::NoButton);
    send(control, QEvent::MouseButtonDblClick, {5, 6}, Qt::LeftButton);
    send(&parent, QEvent::MouseButtonPress, {90, 91}, Qt::LeftButton);
    EXPECT_EQ(seen, QStringList({"down 1 1 3,4", "move 7,8", "down 0 0 5,6", "parent 90,91"}));
    EXPECT_EQ(clicks, 0); // right button, and a press without release

    send(control, QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    send(control, QEvent::MouseButtonRelease, {5, 6}, Qt::LeftButton); // no press before
    send(control, QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton);
    send(control, QEvent::MouseButtonRelease, {70, 6}, Qt::LeftButton); // let go outside
    EXPECT_EQ(clicks, 1);

    // A new handler replaces the old one, and what it throws is reported.
    toolkit::onClick(control, [&](QObject *) { throw std::runtime_error("no click"); });
    send(control, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton);
    send(control, QEvent::MouseButtonRelease, {1, 1}, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(recorder.reports, QStringList({"no click"}));
}

namespace {

// A desktop style that puts stock icons on dialog buttons.
class IconButtonsStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

TEST(MessageBoxes, ButtonsArePlainWhateverTheDesktopsStyle) {
    const QString styleName = QApplication::style()->name();
    QApplication::setStyle(new IconButtonsStyle(QStyleFactory::create(styleName)));
    QMessageBox box(QMessageBox::Question, "Gorbulax", "Start another game?",
                    QMessageBox::Yes | QMessageBox::No);
    ASSERT_FALSE(box.button(QMessageBox::Yes)->icon().isNull()) << "the style gave no icons";
    toolkit::plainButtons(box);
    for (QAbstractButton *button : box.buttons())
        EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
    QApplication::setStyle(QStyleFactory::create(styleName));
}
