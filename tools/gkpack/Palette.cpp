#include "Palette.h"

#include "gk/Bitmaps.h"
#include "gk/Error.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace gkpack {

namespace {

constexpr int OpaqueEntries = 255; // entry 0 is the see-through colour

// A picture's pixels as library rows, each pixel's index given by `indexAt`.
QByteArray rows(const QImage &image, const std::function<uint8_t(int, int)> &indexAt) {
    const int64_t rowBytes = gk::RowBytes(image.width());
    QByteArray bits(qsizetype(rowBytes * image.height()), '\0');
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            bits[qsizetype(rowBytes * y + x)] = char(indexAt(x, y));
    return bits;
}

QImage indexed(const QImage &image) {
    return image.format() == QImage::Format_Indexed8
               ? image
               : image.convertToFormat(QImage::Format_Indexed8);
}

bool opaque(QRgb argb) {
    return qAlpha(argb) >= 128;
}

QRgb rgbOf(QRgb argb) {
    return argb | 0xff000000u;
}

struct ColorCount {
    QRgb rgb;
    uint64_t count;
};

int channel(QRgb rgb, int which) {
    return which == 0 ? qRed(rgb) : which == 1 ? qGreen(rgb) : qBlue(rgb);
}

// A run of colors[begin, end) that the median cut treats as one box.
struct Box {
    std::size_t begin;
    std::size_t end;
    int widestChannel = 0;
    int width = 0; // the widest channel's range

    void measure(const std::vector<ColorCount> &colors) {
        width = -1;
        for (int c = 0; c < 3; ++c) {
            int low = 255, high = 0;
            for (std::size_t i = begin; i < end; ++i) {
                low = std::min(low, channel(colors[i].rgb, c));
                high = std::max(high, channel(colors[i].rgb, c));
            }
            if (high - low > width) {
                width = high - low;
                widestChannel = c;
            }
        }
    }
};

// Splits boxes until there are `wanted` of them or none holds two colours, always the box whose
// widest channel is widest, at the median of its pixels along that channel.
std::vector<QRgb> medianCut(std::vector<ColorCount> colors, std::size_t wanted) {
    std::vector<Box> boxes{{0, colors.size()}};
    boxes[0].measure(colors);
    while (boxes.size() < wanted) {
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box &a, const Box &b) {
            return a.width < b.width;
        });
        if (widest->width <= 0)
            break;
        Box box = *widest;
        const int c = box.widestChannel;
        std::sort(colors.begin() + box.begin, colors.begin() + box.end,
                  [c](const ColorCount &a, const ColorCount &b) {
                      return channel(a.rgb, c) != channel(b.rgb, c)
                                 ? channel(a.rgb, c) < channel(b.rgb, c)
                                 : a.rgb < b.rgb;
                  });
        uint64_t total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i)
            total += colors[i].count;
        std::size_t split = box.begin + 1;
        for (uint64_t seen = colors[box.begin].count; split < box.end - 1 && seen * 2 < total;
             ++split)
            seen += colors[split].count;
        Box low{box.begin, split}, high{split, box.end};
        low.measure(colors);
        high.measure(colors);
        *widest = low;
        boxes.push_back(high);
    }
    std::vector<QRgb> palette;
    for (const Box &box : boxes) {
        uint64_t sum[3] = {}, total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c)
                sum[c] += uint64_t(channel(colors[i].rgb, c)) * colors[i].count;
            total += colors[i].count;
        }
        palette.push_back(qRgb(int((sum[0] + total / 2) / total), int((sum[1] + total / 2) / total),
                               int((sum[2] + total / 2) / total)));
    }
    return palette;
}

int distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

} // namespace

bool AllIndexed(const std::vector<SourcePicture> &pictures) {
    return std::all_of(pictures.begin(), pictures.end(), [](const SourcePicture &p) {
        const QImage::Format f = p.image.format();
        return f == QImage::Format_Indexed8 || f == QImage::Format_Mono ||
               f == QImage::Format_MonoLSB;
    });
}

PalettePictures SharedPalette(const std::vector<SourcePicture> &pictures) {
    PalettePictures result;
    QList<QRgb> shared;
    QString sharedFrom;
    for (const SourcePicture &picture : pictures) {
        const QImage image = indexed(picture.image);
        const QList<QRgb> table = image.colorTable();
        for (qsizetype i = 0; i < std::min(table.size(), shared.size()); ++i) {
            if (rgbOf(table[i]) != rgbOf(shared[i]))
                throw gk::Error(picture.file.toStdString() + " and " + sharedFrom.toStdString() +
                                " do not share a palette (entry " + std::to_string(i) +
                                " differs); give --reduce to make one palette for them");
        }
        if (table.size() > shared.size()) {
            shared = table;
            sharedFrom = picture.file;
        }
        result.bits.push_back(rows(image, [&](int x, int y) { return image.pixelIndex(x, y); }));
    }
    for (qsizetype i = 0; i < shared.size(); ++i)
        result.palette[std::size_t(i)] = rgbOf(shared[i]);
    return result;
}

PalettePictures ReduceColors(const std::vector<SourcePicture> &pictures, int colorCount) {
    const std::size_t wanted = std::size_t(std::clamp(colorCount, 1, OpaqueEntries));
    std::vector<QImage> images;
    std::vector<ColorCount> colors; // in the order they first appear
    std::unordered_map<QRgb, std::size_t> where;
    for (const SourcePicture &picture : pictures) {
        images.push_back(picture.image.convertToFormat(QImage::Format_ARGB32));
        const QImage &image = images.back();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (!opaque(pixel))
                    continue;
                const auto [at, added] = where.try_emplace(rgbOf(pixel), colors.size());
                if (added)
                    colors.push_back({rgbOf(pixel), 0});
                ++colors[at->second].count;
            }
    }

    std::vector<QRgb> chosen;
    if (colors.size() <= wanted) {
        for (const ColorCount &color : colors)
            chosen.push_back(color.rgb);
    } else {
        chosen = medianCut(colors, wanted);
    }
    PalettePictures result;
    result.palette[0] = qRgba(0, 0, 0, 0);
    std::copy(chosen.begin(), chosen.end(), result.palette.begin() + 1);

    std::unordered_map<QRgb, uint8_t> nearest;
    const auto indexOf = [&](QRgb pixel) -> uint8_t {
        if (!opaque(pixel))
            return 0;
        const auto [at, added] = nearest.try_emplace(rgbOf(pixel), 1);
        if (added) {
            for (std::size_t i = 1; i < chosen.size(); ++i)
                if (distance(chosen[i], pixel) < distance(chosen[at->second - 1], pixel))
                    at->second = uint8_t(i + 1);
        }
        return at->second;
    };
    for (const QImage &image : images)
        result.bits.push_back(
            rows(image, [&](int x, int y) { return indexOf(image.pixel(x, y)); }));
    return result;
}

} // namespace gkpack
