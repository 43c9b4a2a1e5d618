#include "gk/GKILib.h"

#include "gk/Error.h"
#include "gk/Streams.h"
#include "platform/Bytes.h"
#include "toolkit/Canvas.h"

#include <QFile>
#include <QProgressBar>

#include <algorithm>
#include <limits>
#include <new>

namespace {

using platform::LoadU32;
using platform::StoreU32;

const char *const NoTable = "TGKImage: GemMem Failed for FImages";
const char *const NoBits = "TGKImage: GemMem Failed for ImgHdr.Bits";

// The table is sized as 24 bytes per entry (the 20 header bytes and a 4-byte address of the
// pixels), which is the figure its limit and the copy failure message have always been given in.
constexpr int64_t EntryBytes = 24;

} // namespace

int32_t TGKImageEntry::Width() const {
    return int32_t(LoadU32(Header.data()));
}

int32_t TGKImageEntry::Height() const {
    return int32_t(LoadU32(Header.data() + 4));
}

QByteArray TGKImageEntry::Name() const {
    return platform::LoadShortString(Header.data() + 8, NameCapacity);
}

int64_t TGKImageEntry::BitsSize() const {
    if (Width() <= 0 || Height() <= 0)
        return 0;
    return RowBytes() * Height();
}

void TGKImageEntry::SetWidth(int32_t width) {
    StoreU32(Header.data(), uint32_t(width));
}

void TGKImageEntry::SetHeight(int32_t height) {
    StoreU32(Header.data() + 4, uint32_t(height));
}

void TGKImageEntry::SetName(const QByteArray &name) {
    if (name.size() > NameCapacity)
        throw gk::Error("Picture name \"" + name.toStdString() + "\" is longer than 11 characters");
    platform::StoreShortString(Header.data() + 8, NameCapacity, name);
}

TGKImages::TGKImages(const TGKImages &other) {
    other.AssignTo(*this);
}

TGKImages &TGKImages::operator=(const TGKImages &other) {
    other.AssignTo(*this);
    return *this;
}

int32_t TGKImages::Count() const {
    return int32_t(FTable.size());
}

void TGKImages::setCount(int32_t count) {
    StoreU32(FHeader.data() + 4, uint32_t(count));
}

void TGKImages::Clear() {
    FTable.clear();
    setCount(0);
}

void TGKImages::ReadData(QIODevice &stream) {
    FHeader = Header{};
    FTable.clear();
    platform::DeviceReader in(stream);
    Header header{};
    Table table;
    try {
        in.read(header.data(), header.size());
        if (!gk::SignatureMatches(header.data(), "IL10"))
            throw gk::Error("Not a valid Image Library File");
        const int32_t count = int32_t(LoadU32(header.data() + 4));
        if (count <= 0 || count > std::numeric_limits<int32_t>::max() / EntryBytes)
            throw gk::Error(NoTable);
        if (!in.mayHold(uint64_t(count) * TGKImageEntry::HeaderSize))
            throw platform::ShortBlock();
        table.readEntries(in, count, NoTable, NoBits, [](const TGKImageEntry &entry) {
            const int64_t size = entry.BitsSize();
            if (size <= 0 || size > std::numeric_limits<int32_t>::max())
                throw gk::Error(NoBits);
            return std::size_t(size);
        });
    } catch (const platform::ShortBlock &) {
        throw gk::Error(gk::StreamReadError);
    }
    FHeader = header;
    FTable = std::move(table);
}

void TGKImages::WriteData(QIODevice &stream) const {
    gk::WriteAll(stream, QByteArrayView(FHeader.data(), FHeader.size()));
    for (const TGKImageEntry &entry : FTable) {
        gk::WriteAll(stream, QByteArrayView(entry.Header.data(), entry.Header.size()));
        gk::WriteAll(stream, QByteArrayView(entry.Bits, entry.BitsSize()));
    }
}

void TGKImages::LoadFromFile(const QString &name) {
    QFile file;
    gk::OpenForReading(file, name);
    ReadData(file);
}

TGKImages::Signature TGKImages::GetSignature() const {
    return {FHeader[0], FHeader[1], FHeader[2], FHeader[3]};
}

uint32_t TGKImages::Reserved() const {
    return LoadU32(FHeader.data() + 8);
}

TGKImageEntry TGKImages::GetEntry(int index) const {
    Q_ASSERT(index >= 0 && index < Count());
    return FTable[std::size_t(index)];
}

void TGKImages::AssignTo(TGKImages &dest) const {
    if (&dest == this)
        return;
    dest.Clear();
    if (Count() == 0)
        return;
    Table copy =
        FTable.copy("TGKImages.AssignTo failed (GetMem): " + std::to_string(Count() * EntryBytes),
                    "TGKImages.AssignTo failed");
    dest.FHeader = FHeader;
    dest.FTable = std::move(copy);
}

QByteArray TGKImages::ToBlock() const {
    return gk::BlockOf(*this);
}

void TGKImages::FromBlock(const QByteArray &block) {
    gk::ReadBlock(*this, block);
}

void TGKImages::SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue,
                                uint8_t fourth) {
    Q_ASSERT(index >= 0 && index < PaletteEntries);
    uint8_t *entry = FHeader.data() + PaletteOffset + 4 * index;
    entry[0] = red;
    entry[1] = green;
    entry[2] = blue;
    entry[3] = fourth;
}

void TGKImages::Add(const TGKImageEntry &header, QByteArrayView bits) {
    const int64_t size = header.BitsSize();
    if (size <= 0 || size > std::numeric_limits<int32_t>::max() || bits.size() != size)
        throw gk::Error("A picture of " + std::to_string(header.Width()) + " x " +
                        std::to_string(header.Height()) + " pixels needs " + std::to_string(size) +
                        " bytes of pixels, not " + std::to_string(bits.size()));
    if (Count() == std::numeric_limits<int32_t>::max() / EntryBytes)
        throw gk::Error(NoTable);
    if (Count() == 0) {
        const char signature[] = "IL10";
        std::copy_n(signature, 4, FHeader.begin());
    }
    FTable.push(header, std::vector<uint8_t>(bits.begin(), bits.end()));
    setCount(Count());
}

TGKImageLib::TGKImageLib(QObject *parent) : QObject(parent) {}

template <typename Change> void TGKImageLib::replacePictures(Change change) {
    const bool wasCached = FCached;
    FreeBitmaps();
    change();
    if (wasCached)
        CacheBitmaps();
}

void TGKImageLib::SetImages(const TGKImages &images) {
    replacePictures([&] { FImages.assign(images); });
}

void TGKImageLib::LoadFromFile(const QString &name) {
    replacePictures([&] { FImages.load(name); });
}

void TGKImageLib::Reload() {
    // Asked before the bitmaps go: with no file to read, nothing changes.
    LoadFromFile(FImages.nameToReload());
}

void TGKImageLib::CacheBitmaps() {
    if (FCached)
        return;
    const int count = Count();
    if (FProgressBar) {
        FProgressBar->setMinimum(0);
        FProgressBar->setMaximum(count - 1);
    }
    const gk::ColorTable colors = gk::FillColorTable(Images().Palette());
    auto bitmaps = std::vector<QImage>(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        if (FProgressBar)
            FProgressBar->setValue(i);
        const TGKImageEntry entry = Images().GetEntry(i);
        gk::MakeBitmap(bitmaps[std::size_t(i)], entry.Width(), entry.Height(), entry.Bits, colors);
    }
    FBitmaps = std::move(bitmaps);
    FCached = true;
}

void TGKImageLib::FreeBitmaps() {
    std::vector<QImage>().swap(FBitmaps);
    FCached = false;
}

void TGKImageLib::Draw(toolkit::Canvas &canvas, int x, int y, int index) const {
    if (index < 0 || index >= Count())
        return;
    if (FCached) {
        canvas.draw(x, y, FBitmaps[std::size_t(index)]);
        return;
    }
    const TGKImageEntry entry = Images().GetEntry(index);
    QImage bitmap;
    gk::MakeBitmap(bitmap, entry.Width(), entry.Height(), entry.Bits,
                   gk::FillColorTable(Images().Palette()));
    canvas.draw(x, y, bitmap);
}

QByteArray TGKImageLib::ImagesBlock() const {
    return Images().HasData() ? Images().ToBlock() : QByteArray();
}

void TGKImageLib::SetImagesBlock(const QByteArray &block) {
    replacePictures([&] {
        FImages.forgetFileName();
        if (block.isEmpty())
            FImages.library().Clear();
        else
            FImages.library().FromBlock(block);
    });
}
