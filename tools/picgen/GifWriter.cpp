#include "tools/picgen/GifWriter.h"

#include <cstdint>
#include <vector>

namespace kv::tools::picgen {
namespace {

constexpr int kMinCodeSize = 8;
constexpr int kClearCode = 1 << kMinCodeSize;
constexpr int kEndCode = kClearCode + 1;
constexpr int kFirstFreeCode = kClearCode + 2;
constexpr int kMaxCodes = 4096;

// 6 x 6 x 6 colour cube and 40 greys: enough for drawn pictures with
// antialiased text, and the same table serves every frame.
QList<QRgb> GlobalPalette() {
    QList<QRgb> palette;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.append(qRgb(r * 51, g * 51, b * 51));
            }
        }
    }
    for (int i = 0; i < 40; ++i) {
        const int grey = 6 + i * 6;
        palette.append(qRgb(grey, grey, grey));
    }
    return palette;
}

void PutWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

class BitPacker {
  public:
    void Put(int code, int size) {
        accumulator_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += size;
        while (bits_ >= 8) {
            bytes_.append(static_cast<char>(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            bits_ -= 8;
        }
    }
    QByteArray Finish() {
        if (bits_ > 0) {
            bytes_.append(static_cast<char>(accumulator_ & 0xFF));
        }
        return bytes_;
    }

  private:
    std::uint32_t accumulator_ = 0;
    int bits_ = 0;
    QByteArray bytes_;
};

QByteArray CompressIndices(const QImage& indexed) {
    // next[prefix * 256 + byte] is the code of prefix+byte, 0 when absent.
    std::vector<std::uint16_t> next(static_cast<std::size_t>(kMaxCodes) * 256, 0);
    BitPacker packer;
    int codeSize = kMinCodeSize + 1;
    int freeCode = kFirstFreeCode;
    packer.Put(kClearCode, codeSize);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int byte = row[x];
            if (prefix < 0) {
                prefix = byte;
                continue;
            }
            const std::size_t slot = static_cast<std::size_t>(prefix) * 256 + byte;
            if (next[slot] != 0) {
                prefix = next[slot];
                continue;
            }
            packer.Put(prefix, codeSize);
            next[slot] = static_cast<std::uint16_t>(freeCode++);
            if (freeCode > (1 << codeSize) && codeSize < 12) {
                ++codeSize;
            }
            if (freeCode >= kMaxCodes - 1) {
                packer.Put(kClearCode, codeSize);
                std::fill(next.begin(), next.end(), 0);
                codeSize = kMinCodeSize + 1;
                freeCode = kFirstFreeCode;
            }
            prefix = byte;
        }
    }
    if (prefix >= 0) {
        packer.Put(prefix, codeSize);
    }
    packer.Put(kEndCode, codeSize);
    return packer.Finish();
}

void PutSubBlocks(QByteArray& out, const QByteArray& data) {
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype length = qMin<qsizetype>(255, data.size() - at);
        out.append(static_cast<char>(length));
        out.append(data.mid(at, length));
    }
    out.append('\0');
}

}  // namespace

QByteArray EncodeAnimatedGif(const QList<QImage>& frames, int delayCentiseconds) {
    QByteArray out;
    if (frames.isEmpty()) {
        return out;
    }
    const QList<QRgb> palette = GlobalPalette();
    const int width = frames.first().width();
    const int height = frames.first().height();
    out.append("GIF89a");
    PutWord(out, width);
    PutWord(out, height);
    out.append(static_cast<char>(0xF7));  // global table of 256 colours
    out.append('\0');                     // background colour index
    out.append('\0');                     // square pixels
    for (const QRgb colour : palette) {
        out.append(static_cast<char>(qRed(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qBlue(colour)));
    }
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);  // loop for ever
    PutWord(out, 0);
    out.append('\0');
    for (const QImage& frame : frames) {
        const QImage indexed =
            frame.scaled(width, height)
                .convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
        out.append("\x21\xF9\x04\x04", 4);  // graphic control: keep the frame, no transparency
        PutWord(out, delayCentiseconds);
        out.append('\0');
        out.append('\0');
        out.append('\x2C');
        PutWord(out, 0);
        PutWord(out, 0);
        PutWord(out, width);
        PutWord(out, height);
        out.append('\0');
        out.append(static_cast<char>(kMinCodeSize));
        PutSubBlocks(out, CompressIndices(indexed));
    }
    out.append('\x3B');
    return out;
}

}  // namespace kv::tools::picgen
