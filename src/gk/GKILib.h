#pragma once

// Image libraries in the "IL10" layout: a 1036-byte header (signature, count, a reserved field
// and a palette of 256 four-byte entries), then per picture a 20-byte header and its rows of
// 8-bit palette indices. All failures raise gk::Error.

#include "gk/Bitmaps.h"
#include "gk/FileBackedLibrary.h"
#include "gk/LibraryTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QIODevice;

namespace toolkit {
class Canvas;
}

// One picture. The header bytes are kept exactly as read, the name's bytes past its length
// included; the library never interprets the name.
struct TGKImageEntry {
    static constexpr int HeaderSize = 20;
    static constexpr int NameCapacity = 11;

    std::array<uint8_t, HeaderSize> Header{};
    // Height rows of RowBytes(Width) bytes, top row first, filler bytes included. In an entry
    // handed out by TGKImages this points into the library's own block, which stays owned by
    // the library and dies with its next Clear or read.
    const uint8_t *Bits = nullptr;

    int32_t Width() const;
    int32_t Height() const;
    // The length byte as stored, which may claim more than the 11 bytes there are.
    uint8_t NameLength() const { return Header[8]; }
    // The name's characters, the length clipped to the 11 bytes held.
    QByteArray Name() const;
    int64_t RowBytes() const { return gk::RowBytes(Width()); }
    // The length of the pixel block: RowBytes(Width) x Height, 0 when either is not positive.
    int64_t BitsSize() const;
    // The palette index at (x, y), which must lie inside the picture.
    uint8_t Pixel(int x, int y) const { return Bits[RowBytes() * y + x]; }

    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    // Zero-fills the 11 character bytes; more than 11 characters raise gk::Error.
    void SetName(const QByteArray &name);
};

class TGKImages {
public:
    static constexpr int HeaderSize = 1036;
    static constexpr int PaletteOffset = 12;
    static constexpr int PaletteEntries = 256;
    using Header = std::array<uint8_t, HeaderSize>;
    using Signature = std::array<uint8_t, 4>;

    TGKImages() = default;
    TGKImages(const TGKImages &other);
    TGKImages &operator=(const TGKImages &other);
    // Moving keeps every pixel block where it is, so entries taken before stay valid.
    TGKImages(TGKImages &&) noexcept = default;
    TGKImages &operator=(TGKImages &&) noexcept = default;
    ~TGKImages() = default;

    // Replaces the content with the library at the stream's position and leaves the stream
    // just after the last picture. On failure the library is as new: no pictures and a zero
    // header.
    void ReadData(QIODevice &stream);
    void WriteData(QIODevice &stream) const;
    // Reads the named file (letter case aside) and closes it again, also when the read fails.
    void LoadFromFile(const QString &name);
    // Releases every picture; Count becomes 0, the rest of the header (signature, reserved
    // field, palette) stays.
    void Clear();

    int32_t Count() const;
    bool HasData() const { return !FTable.empty(); }
    // The 1036 header bytes as held.
    const Header &LibraryHeader() const { return FHeader; }
    // The signature as read, letter case included; four zero bytes in a new library.
    Signature GetSignature() const;
    uint32_t Reserved() const;
    // 256 entries of four bytes: red, green, blue and a byte nothing reads.
    const uint8_t *Palette() const { return FHeader.data() + PaletteOffset; }
    // A copy whose Bits refers to this library's block. index must lie in 0 .. Count() - 1.
    TGKImageEntry GetEntry(int index) const;

    // Deep copies; the target shares no memory with the source afterwards.
    void AssignTo(TGKImages &dest) const;
    void Assign(const TGKImages &source) { source.AssignTo(*this); }

    // The value of the "Images" binary property: the bytes WriteData writes. Only a library
    // with HasData() is stored; FromBlock fails like ReadData on a damaged block.
    QByteArray ToBlock() const;
    void FromBlock(const QByteArray &block);

    // For tools that make libraries: sets palette entry `index` (0 .. 255).
    void SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue, uint8_t fourth = 0);
    // Appends a picture; the library copies `bits`, which must hold RowBytes(Width) x Height
    // bytes (gk::Error otherwise). A library that had no pictures gets the signature "IL10".
    void Add(const TGKImageEntry &header, QByteArrayView bits);

private:
    using Table = gk::LibraryTable<TGKImageEntry, &TGKImageEntry::Bits>;
    void setCount(int32_t count);

    Header FHeader{};
    Table FTable;
};

// The component a window holds: one owned library, the file it last came from, and on request
// a ready-made bitmap for every picture.
class TGKImageLib : public QObject {
    Q_OBJECT
    Q_PROPERTY(QByteArray Images READ ImagesBlock WRITE SetImagesBlock)
    Q_PROPERTY(QString FileName READ FileName)

public:
    // What a file dialog offers for library files, description and pattern in pairs.
    static constexpr const char *FileFilter =
        "Image Library Files (*.IML)|*.IML|All Files (*.*)|*.*";

    explicit TGKImageLib(QObject *parent = nullptr);

    TGKImages &Images() { return FImages.library(); }
    const TGKImages &Images() const { return FImages.library(); }
    // Copies, so the component never shares a library with anybody. The pictures no longer
    // come from the file, whose name is forgotten; bitmaps that were made are made again.
    void SetImages(const TGKImages &images);
    int32_t Count() const { return Images().Count(); }

    // Forgets the file name first and records it again only when the load succeeds; bitmaps
    // that were made are made again for the new pictures.
    void LoadFromFile(const QString &name);
    void Reload();
    const QString &FileName() const { return FImages.fileName(); }
    // The display may drop pixel data it can reload from this file.
    bool HasFileName() const { return FImages.hasFileName(); }

    // Makes a bitmap for every picture, showing its progress on ProgressBar when one is set.
    // Does nothing while Cached.
    void CacheBitmaps();
    void FreeBitmaps();
    bool Cached() const { return FCached; }
    // The cached bitmap of picture `index` (0 .. Count() - 1), while Cached.
    const QImage &Bitmap(int index) const { return FBitmaps[std::size_t(index)]; }
    QProgressBar *ProgressBar() const { return FProgressBar; }
    // Not owned; forgotten when the bar is destroyed.
    void SetProgressBar(QProgressBar *bar) { FProgressBar = bar; }

    // Draws picture `index` with its top-left corner at (x, y) of the canvas: the cached
    // bitmap, or one made for the moment. An index outside 0 .. Count() - 1 draws nothing.
    void Draw(toolkit::Canvas &canvas, int x, int y, int index) const;

    // The "Images" property as a window stores it: the library's block, and an empty array for
    // an empty library, which is never stored. Setting it reads the block (an empty one
    // empties the library) like SetImages.
    QByteArray ImagesBlock() const;
    void SetImagesBlock(const QByteArray &block);

private:
    // Runs a change of the pictures, making the bitmaps again afterwards if there were any.
    template <typename Change> void replacePictures(Change change);

    gk::FileBackedLibrary<TGKImages> FImages;
    std::vector<QImage> FBitmaps;
    bool FCached = false;
    QPointer<QProgressBar> FProgressBar;
};
