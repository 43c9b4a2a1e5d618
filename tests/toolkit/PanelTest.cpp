#include "toolkit/Panel.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/Gauge.h"
#include "toolkit/SystemColors.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QLabel>

using toolkit::Align;
using toolkit::Panel;

namespace {

Panel *makePanel(QWidget *parent, Align align, QSize size,
                 Panel::Bevel outer = Panel::Bevel::Raised) {
    auto *panel = new Panel(parent);
    panel->resize(size);
    toolkit::setAlign(panel, align);
    panel->setBevelOuter(outer);
    return panel;
}

} // namespace

TEST(Panel, AlignsNestedPanelsBeforeAnyIsShown) {
    Panel root;
    root.setBevelOuter(Panel::Bevel::None);
    root.resize(612, 406);
    Panel *panel2 = makePanel(&root, Align::Left, {19, 50});
    Panel *panel1 = makePanel(&root, Align::Client, {50, 50}, Panel::Bevel::None);
    Panel *panel5 = makePanel(panel1, Align::Right, {70, 50});
    Panel *panel4 = makePanel(panel1, Align::Client, {50, 50}, Panel::Bevel::None);
    Panel *panel11 = makePanel(panel4, Align::Top, {50, 125});
    Panel *panel7 = makePanel(panel4, Align::Bottom, {50, 55}, Panel::Bevel::None);
    Panel *back = makePanel(panel4, Align::Client, {50, 50}, Panel::Bevel::None);
    // Created in the reverse of their order on screen: placement goes by position.
    Panel *lower = makePanel(panel11, Align::Bottom, {10, 53});
    Panel *upper = makePanel(panel11, Align::Top, {10, 70});
    auto *loose = new QLabel(panel4);
    loose->setGeometry(5, 6, 7, 8);

    int resized = 0;
    back->onResize = [&] { ++resized; };
    root.alignControls();

    EXPECT_EQ(panel2->geometry(), QRect(0, 0, 19, 406));
    EXPECT_EQ(panel1->geometry(), QRect(19, 0, 593, 406));
    EXPECT_EQ(panel5->geometry(), QRect(523, 0, 70, 406));
    EXPECT_EQ(panel4->geometry(), QRect(0, 0, 523, 406));
    EXPECT_EQ(panel11->geometry(), QRect(0, 0, 523, 125));
    EXPECT_EQ(panel7->geometry(), QRect(0, 351, 523, 55));
    EXPECT_EQ(back->geometry(), QRect(0, 125, 523, 226));
    EXPECT_EQ(upper->geometry(), QRect(1, 1, 521, 70));
    EXPECT_EQ(lower->geometry(), QRect(1, 71, 521, 53));
    EXPECT_EQ(loose->geometry(), QRect(5, 6, 7, 8));
    EXPECT_GE(resized, 1);

    // Once shown, a new size reaches the whole tree through resize events.
    root.show();
    root.resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(back->geometry(), QRect(0, 125, 611, 320));
    EXPECT_EQ(panel5->geometry(), QRect(611, 0, 70, 500));
}

// A 100 × 100 panel without bevels, so its children's places are easy to read.
struct BarePanel : ::testing::Test {
    Panel root;
    BarePanel() {
        root.setBevelOuter(Panel::Bevel::None);
        root.resize(100, 100);
    }
};

TEST_F(BarePanel, ShowingOrHidingAnAlignedChildRearranges) {
    Panel *top = makePanel(&root, Align::Top, {10, 20});
    Panel *left = makePanel(&root, Align::Left, {30, 10});
    Panel *client = makePanel(&root, Align::Client, {10, 10});
    auto *loose = new QLabel(&root);
    loose->setGeometry(50, 50, 5, 5);
    root.alignControls();
    EXPECT_EQ(client->geometry(), QRect(30, 20, 70, 80));

    top->hide();
    EXPECT_EQ(left->geometry(), QRect(0, 0, 30, 100));
    EXPECT_EQ(client->geometry(), QRect(30, 0, 70, 100));

    left->hide();
    EXPECT_EQ(client->geometry(), QRect(0, 0, 100, 100));

    top->show();
    left->show();
    EXPECT_EQ(client->geometry(), QRect(30, 20, 70, 80));

    int aligned = 0;
    root.onResize = [&] { ++aligned; };
    root.alignControls();
    EXPECT_EQ(aligned, 1);
    EXPECT_EQ(loose->geometry(), QRect(50, 50, 5, 5));

    // Changing a child's alignment rearranges too.
    toolkit::setAlign(left, Align::Right);
    EXPECT_EQ(left->geometry(), QRect(70, 20, 30, 80));
    EXPECT_EQ(client->geometry(), QRect(0, 20, 70, 80));
    EXPECT_EQ(toolkit::alignOf(left), Align::Right);
    EXPECT_EQ(toolkit::alignOf(loose), Align::None);
}

TEST_F(BarePanel, AnAlignedChildResizedKeepsToItsEdgeAndMovesItsNeighbours) {
    Panel *left = makePanel(&root, Align::Left, {30, 10});
    Panel *right = makePanel(&root, Align::Right, {20, 10});
    Panel *client = makePanel(&root, Align::Client, {10, 10});
    root.alignControls();

    // Before the first show Qt keeps the resize to itself; the show catches up with it.
    right->resize(40, right->height());
    root.show();
    QApplication::processEvents();
    EXPECT_EQ(right->geometry(), QRect(60, 0, 40, 100));
    EXPECT_EQ(client->geometry(), QRect(30, 0, 30, 100));

    left->resize(10, 5);
    EXPECT_EQ(left->geometry(), QRect(0, 0, 10, 100)) << "its height stays the panel's";
    EXPECT_EQ(client->geometry(), QRect(10, 0, 50, 100));
}

// Two children on one edge: the one nearer the edge keeps the outer place, so a child aligned
// later lines up inside the earlier one, and one moved past its neighbour towards the edge
// takes the outer place.
TEST(Panel, ChildrenOnOneEdgeAreOrderedFromThatEdge) {
    // The band `thickness` wide that starts `offset` in from the edge of a 100 × 100 panel.
    const auto band = [](Align edge, int offset, int thickness) {
        switch (edge) {
        case Align::Top:
            return QRect(0, offset, 100, thickness);
        case Align::Bottom:
            return QRect(0, 100 - offset - thickness, 100, thickness);
        case Align::Left:
            return QRect(offset, 0, thickness, 100);
        default:
            return QRect(100 - offset - thickness, 0, thickness, 100);
        }
    };
    struct Case {
        const char *name;
        Align edge;
        QPoint pastTheOther; // beyond the outer child, towards the edge
    };
    const Case cases[] = {
        {"top", Align::Top, {0, -10}},
        {"bottom", Align::Bottom, {0, 90}},
        {"left", Align::Left, {-10, 0}},
        {"right", Align::Right, {90, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Panel root;
        root.setBevelOuter(Panel::Bevel::None);
        root.resize(100, 100);
        Panel *first = makePanel(&root, c.edge, {20, 20});
        Panel *second = makePanel(&root, c.edge, {30, 30});
        EXPECT_EQ(first->geometry(), band(c.edge, 0, 20));
        EXPECT_EQ(second->geometry(), band(c.edge, 20, 30));

        second->move(c.pastTheOther);
        root.alignControls();
        EXPECT_EQ(second->geometry(), band(c.edge, 0, 30));
        EXPECT_EQ(first->geometry(), band(c.edge, 30, 20));
    }
}

TEST(Panel, ClientRectAndBevelsFrameTheCaption) {
    Panel panel;
    panel.resize(20, 12);
    panel.setColor(QColor(10, 20, 30));
    panel.setBevelWidth(2);
    panel.setBevelInner(Panel::Bevel::Lowered);
    EXPECT_EQ(panel.clientRect(), QRect(4, 4, 12, 4));
    panel.setBevelOuter(Panel::Bevel::None);
    EXPECT_EQ(panel.clientRect(), QRect(2, 2, 16, 8));

    panel.setBevelOuter(Panel::Bevel::Raised);
    const QImage image = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb light = panel.palette().color(QPalette::Light).rgb();
    const QRgb dark = panel.palette().color(QPalette::Dark).rgb();
    ASSERT_NE(light, dark);
    EXPECT_EQ(image.pixel(5, 0), light); // outer, raised: lit from the top left
    EXPECT_EQ(image.pixel(0, 5), light);
    EXPECT_EQ(image.pixel(5, 11), dark);
    EXPECT_EQ(image.pixel(19, 5), dark);
    EXPECT_EQ(image.pixel(5, 1), light); // second ring of the outer bevel
    EXPECT_EQ(image.pixel(5, 2), dark);  // inner, lowered
    EXPECT_EQ(image.pixel(17, 5), light);
    EXPECT_EQ(image.pixel(10, 6), qRgb(10, 20, 30));
}

TEST(Gauge, ClampsProgressAndScalesTheBar) {
    toolkit::Gauge gauge;
    gauge.resize(10, 102); // 100 pixels inside the frame
    gauge.setMinValue(10);
    gauge.setMaxValue(40);
    gauge.setProgress(20);
    EXPECT_EQ(gauge.barHeight(), 33); // 100 * 10 / 30, rounded down
    gauge.setProgress(500);
    EXPECT_EQ(gauge.progress(), 40);
    EXPECT_EQ(gauge.barHeight(), 100);
    gauge.setProgress(-5);
    EXPECT_EQ(gauge.progress(), 10);
    EXPECT_EQ(gauge.barHeight(), 0);

    gauge.setProgress(40);
    gauge.setMaxValue(30); // progress follows the range
    EXPECT_EQ(gauge.progress(), 30);
    gauge.setMinValue(30);
    EXPECT_EQ(gauge.barHeight(), 0); // an empty range draws no bar instead of dividing by 0

    gauge.setMinValue(0);
    gauge.setMaxValue(4);
    gauge.setProgress(1);
    gauge.setBackColor(Qt::white);
    gauge.setBarColor(Qt::red);
    const QImage image = gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(5, 100), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 76), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 75), qRgb(255, 255, 255));
}

TEST(DesignProperties, AppliesFontHeightAndColourDownTheTree) {
    QWidget root;
    root.setProperty("fontHeight", -13);
    auto *label = new QLabel(&root);
    label->setProperty("fontColor", QColor(Qt::red));
    label->setFont(QFont(QStringLiteral("Liberation Serif")));
    auto *plain = new QLabel(label);
    plain->setProperty("fontHeight", 20);
    auto *named = new QLabel(&root);
    named->setProperty("fontColor", QStringLiteral("#00ff00"));

    toolkit::applyDesign(&root);
    EXPECT_EQ(root.font().pixelSize(), 13);
    EXPECT_EQ(label->font().pixelSize(), 13);
    EXPECT_EQ(label->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(label->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_EQ(plain->font().pixelSize(), 20);
    EXPECT_EQ(named->palette().color(QPalette::Text), QColor(Qt::green));

    EXPECT_EQ(toolkit::buttonFace().alpha(), 255);
}
