#include "gk/StoredLayout.h"
#include "gk/Error.h"
#include "gk/GKILib.h"
#include "gk/GKMap.h"
#include "platform/Bytes.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A window holding the libraries its description stores, made as a window makes its
// components; it fills them from its stored layout when `layout` is given.
struct LibraryWindow : QWidget {
    explicit LibraryWindow(const QString &layout = {}) {
        Pictures->setObjectName("Pictures");
        NoPictures->setObjectName("NoPictures");
        Levels->setObjectName("Levels");
        if (!layout.isEmpty())
            gk::LoadStoredProperties(*this, layout);
    }
    TGKImageLib *Pictures = new TGKImageLib(this);
    TGKImageLib *NoPictures = new TGKImageLib(this);
    TGKMapLib *Levels = new TGKMapLib(this);
};

QByteArray twoPictures() {
    TGKImages images;
    TGKImageEntry header;
    header.SetWidth(3);
    header.SetHeight(2);
    header.SetName("dot");
    images.Add(header, QByteArray(8, '\x01'));
    header.SetName("dash");
    images.Add(header, QByteArray(8, '\x02'));
    images.SetPaletteEntry(1, 255, 0, 0);
    return images.ToBlock();
}

QByteArray oneMap() {
    TGKMaps maps;
    TGKMapEntry header;
    header.SetName("first level");
    header.SetWidth(2);
    header.SetHeight(1);
    maps.Add(header, "ab");
    return maps.ToBlock();
}

} // namespace

TEST(StoredLayoutTest, LibrariesTravelWithTheWindowAndEmptyOnesAreNeverStored) {
    QTemporaryDir layout;
    ASSERT_TRUE(layout.isValid());
    writeFile(layout.filePath("NoPictures.Images"), "left from an older layout");
    {
        LibraryWindow window;
        window.Pictures->SetImagesBlock(twoPictures());
        window.Levels->SetMapLibBlock(oneMap());
        gk::SaveStoredProperties(window, layout.path());
    }
    EXPECT_EQ(QDir(layout.path()).entryList(QDir::Files),
              QStringList({"Levels.MapLib", "Pictures.Images"}));
    EXPECT_EQ(fileBytes(layout.filePath("Pictures.Images")), twoPictures());

    LibraryWindow window(layout.path());
    EXPECT_EQ(window.Pictures->Count(), 2);
    EXPECT_EQ(window.Pictures->Images().GetEntry(1).Name(), "dash");
    EXPECT_FALSE(window.Pictures->HasFileName());
    EXPECT_EQ(window.Levels->MapLib().GetEntry(0).Name(), "first level");
    EXPECT_FALSE(window.NoPictures->Images().HasData());

    // A damaged stored library fails as the library's own read does.
    writeFile(layout.filePath("Pictures.Images"), "IL10");
    try {
        LibraryWindow damaged(layout.path());
        FAIL() << "a damaged block was read";
    } catch (const gk::Error &e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}
