#include "components/SaveCheckBox.h"
#include "components/SaveEdit.h"
#include "components/SaveForm.h"
#include "components/Store.h"
#include "platform/Profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

using store::Value;

namespace {

QString messageOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
    return QStringLiteral("(no error)");
}

// Each test keeps its values in a key and a profile of its own.
QString testName() {
    return QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

void placeInTestKey(TSimpleOptions *options) {
    options->RegKey = QStringLiteral("\\Software\\Tests\\Controls");
    options->RegSubKey = testName();
}

QString testKey() {
    return "Software\\Tests\\Controls\\" + testName();
}

void placeInTestProfile(TSimpleOptions *options) {
    options->UseRegistry = false;
    options->IniFile = testName() + ".ini";
    options->IniSection = QStringLiteral("Placement");
}

QStringList profileLines() {
    QFile file(platform::ProfilePath(testName() + ".ini"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            lines << QString::fromLatin1(line.trimmed());
    return lines;
}

// A window with its placement keeper, as a host window creates them: designed client bounds,
// shown unless the test needs it hidden. The offscreen platform puts a frame around it.
struct Window {
    explicit Window(QRect designed, bool shown = true) {
        form.setGeometry(designed);
        keeper = new TSaveForm(&form);
        keeper->setObjectName(QStringLiteral("SaveForm1"));
        placeInTestKey(keeper->Options());
        if (shown)
            form.show();
    }
    bool isNormal() const {
        return !(form.windowState() &
                 (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    }
    QWidget form;
    TSaveForm *keeper;
};

std::optional<Value> stored(const char *name) {
    return store::value(testKey(), name);
}

Value dword(int value) {
    return store::dwordValue(uint32_t(value));
}

void expectStoredBounds(const QRect &outer) {
    EXPECT_EQ(stored("Height"), dword(outer.height()));
    EXPECT_EQ(stored("Width"), dword(outer.width()));
    EXPECT_EQ(stored("Left"), dword(outer.x()));
    EXPECT_EQ(stored("Top"), dword(outer.y()));
}

void storeForm(int state, std::initializer_list<std::pair<const char *, int>> values) {
    store::setDword(testKey(), "State", uint32_t(state));
    for (const auto &[name, value] : values)
        store::setDword(testKey(), name, uint32_t(value));
}

const QRect Designed(40, 50, 320, 240);
const QRect Other(100, 120, 300, 200);

} // namespace

TEST(SaveForm, NormalPlacementIsTheOuterFrame) {
    Window saved(Other);
    const QRect outer = saved.form.frameGeometry();
    ASSERT_NE(outer.size(), Other.size());
    saved.keeper->Save();
    EXPECT_EQ(stored("State"), dword(1));
    expectStoredBounds(outer);

    Window shown(Designed);
    shown.form.setWindowState(Qt::WindowMaximized);
    shown.keeper->Restore();
    EXPECT_TRUE(shown.isNormal());
    EXPECT_EQ(shown.form.frameGeometry(), outer);

    // The main window restores before it is first shown, when its frame may not be known yet.
    Window hidden(Designed, false);
    hidden.keeper->Restore();
    hidden.form.show();
    EXPECT_EQ(hidden.form.frameGeometry(), outer);
    hidden.keeper->Save();
    expectStoredBounds(outer);
}

TEST(SaveForm, MinimizedReopensMinimizedWithItsBounds) {
    Window saved(Other);
    saved.form.setWindowState(Qt::WindowMinimized);
    const QRect outer = saved.form.frameGeometry();
    saved.keeper->Save();
    EXPECT_EQ(stored("State"), dword(0));
    expectStoredBounds(outer);

    Window restored(Designed);
    restored.keeper->Restore();
    EXPECT_TRUE(restored.form.windowState() & Qt::WindowMinimized);
    restored.form.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(restored.form.frameGeometry(), outer);
}

// Maximised, only the state is stored; un-maximised, the window takes the normal bounds an
// earlier save stored, also when it was hidden as it was restored.
TEST(SaveForm, MaximizedStoresOnlyItsStateAndReturnsToTheStoredBounds) {
    Window saved(Other);
    const QRect outer = saved.form.frameGeometry();
    saved.keeper->Save();
    saved.form.setWindowState(Qt::WindowMaximized);
    saved.keeper->Save();
    EXPECT_EQ(stored("State"), dword(2));
    expectStoredBounds(outer);

    for (const bool shown : {true, false}) {
        Window restored(Designed, shown);
        restored.keeper->Restore();
        restored.form.show();
        EXPECT_TRUE(restored.form.windowState() & Qt::WindowMaximized);
        restored.form.setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        EXPECT_EQ(restored.form.frameGeometry(), outer) << (shown ? "shown" : "hidden");
    }
}

// Wayland tells no program where its window is; what it reports there is no position.
TEST(SaveForm, APositionTheWindowSystemKeepsToItselfIsNotSaved) {
    storeForm(1, {{"Height", 1}, {"Width", 2}, {"Left", 3}, {"Top", 4}});
    Window saved(Other);
    saved.keeper->SetPositionKnown([] { return false; });
    const QRect outer = saved.form.frameGeometry();
    saved.keeper->Save();
    EXPECT_EQ(stored("State"), dword(1));
    expectStoredBounds(QRect(QPoint(3, 4), outer.size()));

    saved.form.setWindowState(Qt::WindowMinimized);
    saved.keeper->Save();
    EXPECT_EQ(stored("State"), dword(0));
    expectStoredBounds(QRect(QPoint(3, 4), outer.size()));
}

TEST(SaveForm, NothingOrAnUnknownStateChangesNothing) {
    Window window(Designed);
    window.form.setWindowState(Qt::WindowMinimized);
    window.keeper->Restore();
    EXPECT_TRUE(store::keyExists(testKey()));
    EXPECT_EQ(window.form.windowState() & Qt::WindowMinimized, Qt::WindowMinimized);
    EXPECT_EQ(window.form.geometry(), Designed);

    storeForm(7, {{"Height", 1}, {"Width", 2}, {"Left", 3}, {"Top", 4}});
    window.keeper->Restore();
    EXPECT_EQ(window.form.windowState() & Qt::WindowMinimized, Qt::WindowMinimized);
    EXPECT_EQ(window.form.geometry(), Designed);
}

// Full screen is a value of its own over the state beneath it, so a file from before it
// reads as it did; the bounds kept are those the window had before it filled the screen.
TEST(SaveForm, FullScreenIsKeptApartFromTheStateBeneathIt) {
    Window saved(Other);
    const QRect outer = saved.form.frameGeometry();
    saved.form.setWindowState(Qt::WindowFullScreen);
    QCoreApplication::processEvents();
    ASSERT_NE(saved.form.frameGeometry(), outer);
    saved.keeper->Save();
    EXPECT_EQ(stored("State"), dword(1));
    EXPECT_EQ(stored("FullScreen"), dword(1));
    expectStoredBounds(outer);

    Window restored(Designed);
    restored.keeper->Restore();
    EXPECT_EQ(restored.form.windowState(), Qt::WindowFullScreen);
    restored.form.setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(restored.form.frameGeometry(), outer);

    saved.form.setWindowState(Qt::WindowMaximized | Qt::WindowFullScreen);
    saved.keeper->Save();
    EXPECT_EQ(stored("State"), dword(2));
    restored.keeper->Restore();
    EXPECT_EQ(restored.form.windowState(), Qt::WindowMaximized | Qt::WindowFullScreen);

    saved.form.setWindowState(Qt::WindowNoState);
    saved.keeper->Save();
    EXPECT_EQ(stored("FullScreen"), dword(0));
    restored.keeper->Restore();
    EXPECT_TRUE(restored.isNormal());
}

// A value the program chose not to write (a position where the window system keeps it) is left
// to the window system; one that is there but unreadable fails, after what was applied.
TEST(SaveForm, MissingGeometryIsLeftAloneAndUnreadableGeometryFails) {
    Window window(Designed);
    const QRect designedOuter = window.form.frameGeometry();
    storeForm(1, {{"Height", 250}, {"Width", 330}});
    window.form.setWindowState(Qt::WindowMaximized);
    EXPECT_EQ(messageOf([&] { window.keeper->Restore(); }), "(no error)");
    EXPECT_TRUE(window.isNormal());
    EXPECT_EQ(window.form.frameGeometry(), QRect(designedOuter.topLeft(), QSize(330, 250)));

    storeForm(1, {{"Height", 260}});
    store::set(testKey(), "Width", platform::REG_SZ, QByteArray("wide\0", 5));
    window.form.setWindowState(Qt::WindowMaximized);
    EXPECT_EQ(messageOf([&] { window.keeper->Restore(); }), "Failed to get data for 'Width'");
    EXPECT_TRUE(window.isNormal());
    EXPECT_EQ(window.form.frameGeometry().height(), 260);
}

TEST(SaveForm, ProfileWritesInOrderAndDefaultsToTheCurrentBounds) {
    Window window(Designed);
    placeInTestProfile(window.keeper->Options());
    window.keeper->Options()->RegSubKey.clear();
    QFile empty(platform::ProfilePath(testName() + ".ini"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    window.form.setWindowState(Qt::WindowMaximized);
    window.keeper->Restore();
    EXPECT_TRUE(window.isNormal());
    EXPECT_EQ(window.form.geometry(), Designed);

    window.form.setGeometry(Other);
    const QRect outer = window.form.frameGeometry();
    window.keeper->Save();
    const QString n = QStringLiteral("%1");
    EXPECT_EQ(profileLines(),
              QStringList({"[Placement]", "State=1", "Height=" + n.arg(outer.height()),
                           "Width=" + n.arg(outer.width()), "Left=" + n.arg(outer.x()),
                           "Top=" + n.arg(outer.y()), "FullScreen=0"}));
    EXPECT_TRUE(window.keeper->Options()->RegSubKey.isEmpty());

    Window other(Designed);
    placeInTestProfile(other.keeper->Options());
    other.keeper->Restore();
    EXPECT_EQ(other.form.frameGeometry(), outer);

    ASSERT_TRUE(platform::WritePrivateProfileString("Placement", "Height", "",
                                                    other.keeper->Options()->IniFile));
    other.form.setGeometry(Designed);
    const int designedHeight = other.form.frameGeometry().height();
    other.keeper->Restore();
    EXPECT_EQ(other.form.frameGeometry(),
              QRect(outer.topLeft(), QSize(outer.width(), designedHeight)));

    other.form.setWindowState(Qt::WindowMaximized);
    other.keeper->Save();
    EXPECT_EQ(profileLines().at(1), "State=2");
    other.form.setWindowState(Qt::WindowNoState);
    other.keeper->Restore();
    EXPECT_TRUE(other.form.windowState() & Qt::WindowMaximized);
}

TEST(SaveForm, EventsComeFirstAndNeedAnOwner) {
    Window window(Designed);
    QList<QObject *> senders;
    window.keeper->OnSave = [&](QObject *sender) {
        senders << sender;
        window.form.setGeometry(Other);
    };
    window.keeper->OnRestore = [&](QObject *sender) {
        senders << sender;
        window.form.setGeometry(Designed);
        window.form.setWindowState(Qt::WindowMinimized);
    };
    window.keeper->Save();
    EXPECT_EQ(stored("Width"), dword(window.form.frameGeometry().width()));
    window.keeper->Restore();
    EXPECT_EQ(window.form.geometry(), Other);
    EXPECT_TRUE(window.isNormal());
    EXPECT_EQ(senders, (QList<QObject *>{window.keeper, window.keeper}));

    TSaveForm orphan(nullptr);
    placeInTestKey(orphan.Options());
    orphan.Options()->RegSubKey = "Orphan";
    int events = 0;
    orphan.OnSave = orphan.OnRestore = [&](QObject *) { ++events; };
    orphan.Save();
    orphan.Restore();
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(store::keyExists("Software\\Tests\\Controls\\Orphan"));

    QWidget child(&window.form);
    EXPECT_EQ(messageOf([&] { TSaveForm onChild(&child); }), "Invalid class typecast");
    EXPECT_THROW(TSaveForm{&child}, EInvalidCast);
}

TEST(SaveEdit, KeepsItsTextUnderItsName) {
    TSaveEdit edit;
    edit.setObjectName("NameEdit");
    placeInTestKey(edit.Options());
    edit.setText("Designed");
    edit.Restore();
    EXPECT_TRUE(store::keyExists(testKey()));
    EXPECT_EQ(edit.text(), "Designed");

    QList<QObject *> senders;
    edit.OnSave = [&](QObject *sender) {
        senders << sender;
        edit.setText("Zo\u00eb");
    };
    edit.Save();
    EXPECT_EQ(store::value(testKey(), "NameEdit"),
              (Value{platform::REG_SZ, QByteArray("Zo\xeb", 4)}));

    TSaveEdit other;
    other.setObjectName("NameEdit");
    placeInTestKey(other.Options());
    other.OnRestore = [&](QObject *sender) {
        senders << sender;
        other.setText("From the handler");
    };
    other.Restore();
    EXPECT_EQ(other.text(), QStringLiteral("Zo\u00eb"));
    EXPECT_EQ(senders, (QList<QObject *>{&edit, &other}));

    store::setDword(testKey(), "NameEdit", 9);
    EXPECT_EQ(messageOf([&] { other.Restore(); }), "Invalid data type for 'NameEdit'");

    placeInTestProfile(other.Options());
    other.Restore();
    EXPECT_EQ(other.text(), "");
    other.setText("Written");
    other.Save();
    other.setText("Changed");
    other.Restore();
    EXPECT_EQ(other.text(), "Written");
}

TEST(SaveCheckBox, RestoringChangesTheStateAsAClickWould) {
    TSaveCheckBox box;
    box.setObjectName("Sounds");
    placeInTestKey(box.Options());
    box.setChecked(true);
    QSignalSpy toggled(&box, &QCheckBox::toggled);

    box.Restore();
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(toggled.count(), 0);
    box.Save();
    EXPECT_EQ(store::value(testKey(), "Sounds"), store::dwordValue(1));
    box.setCheckState(Qt::PartiallyChecked);
    box.Save();
    EXPECT_EQ(store::value(testKey(), "Sounds"), store::dwordValue(0));
    toggled.clear();

    box.setCheckState(Qt::Checked);
    toggled.clear();
    box.Restore();
    EXPECT_EQ(box.checkState(), Qt::Unchecked);
    EXPECT_EQ(toggled.count(), 1);
    box.Restore();
    EXPECT_EQ(toggled.count(), 1);

    store::setDword(testKey(), "Sounds", 5);
    box.setCheckState(Qt::PartiallyChecked);
    toggled.clear();
    box.Restore();
    EXPECT_EQ(box.checkState(), Qt::Checked);
    EXPECT_EQ(toggled.count(), 1);

    box.OnRestore = [&](QObject *) { box.setChecked(false); };
    toggled.clear();
    box.Restore();
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(toggled.count(), 2);
    box.OnRestore = nullptr;

    placeInTestProfile(box.Options());
    toggled.clear();
    box.Restore();
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(toggled.count(), 1);
    ASSERT_TRUE(
        platform::WritePrivateProfileString("Placement", "Sounds", "2", box.Options()->IniFile));
    box.Restore();
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(toggled.count(), 2);
    box.Save();
    EXPECT_EQ(profileLines().last(), "Sounds=1");
}
