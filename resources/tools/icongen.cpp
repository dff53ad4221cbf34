// icongen: makes Norvana's icon files from the two text pixel maps.
//
//   icongen MAP32 MAP16 OUTDIR
//
// writes into OUTDIR:
//   norvana.ico      two images, 32x32 and 16x16, 4 bits per pixel in the
//                    standard 16-colour Windows palette, with a 1-bit mask
//   norvana-16.png   the 16x16 map
//   norvana-32.png   the 32x32 map
//   norvana-64.png   the 32x32 map scaled 2x, nearest neighbour
//   norvana-128.png  the 32x32 map scaled 4x, nearest neighbour
//   norvana-pixels.h both maps as C++ arrays of palette indices, from which
//                    the program builds its window icon without decoding
//                    an image file
//
// The output depends on the maps alone, byte for byte: the PNGs are written
// with stored (uncompressed) deflate blocks and no time stamp, so the test
// that regenerates them can compare with the committed files. Plain C++ with
// no library, so that it builds wherever the project does.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb
{
    std::uint8_t r, g, b;
};

// The standard 16-colour Windows palette, in its index order.
constexpr std::array<Rgb, 16> kPalette{{
    {0x00, 0x00, 0x00}, // 0 black
    {0x80, 0x00, 0x00}, // 1 maroon
    {0x00, 0x80, 0x00}, // 2 green
    {0x80, 0x80, 0x00}, // 3 olive
    {0x00, 0x00, 0x80}, // 4 navy
    {0x80, 0x00, 0x80}, // 5 purple
    {0x00, 0x80, 0x80}, // 6 teal
    {0xC0, 0xC0, 0xC0}, // 7 silver
    {0x80, 0x80, 0x80}, // 8 grey
    {0xFF, 0x00, 0x00}, // 9 red
    {0x00, 0xFF, 0x00}, // 10 lime
    {0xFF, 0xFF, 0x00}, // 11 yellow
    {0x00, 0x00, 0xFF}, // 12 blue
    {0xFF, 0x00, 0xFF}, // 13 magenta
    {0x00, 0xFF, 0xFF}, // 14 cyan
    {0xFF, 0xFF, 0xFF}, // 15 white
}};

// The map's letter for each palette index.
constexpr char kLetters[] = "kmgonptsdRGYBMCW";
constexpr int kTransparent = -1;

struct Image
{
    int size = 0;
    std::vector<int> pixels; // palette index or kTransparent, row by row from the top

    int at(int x, int y) const { return pixels[std::size_t(y * size + x)]; }
};

[[noreturn]] void fail(const std::string &message)
{
    std::cerr << "icongen: " << message << '\n';
    std::exit(1);
}

Image readMap(const std::string &path, int expectedSize)
{
    std::ifstream in(path);
    if (!in)
        fail("cannot read " + path);
    Image image;
    image.size = expectedSize;
    std::string line;
    int row = 0;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const std::string where = path + ":" + std::to_string(lineNo);
        if (int(line.size()) != expectedSize)
            fail(where + ": a row must have " + std::to_string(expectedSize) + " pixels");
        for (char c : line) {
            if (c == '.') {
                image.pixels.push_back(kTransparent);
                continue;
            }
            const char *found = c ? std::char_traits<char>::find(kLetters, 16, c) : nullptr;
            if (!found)
                fail(where + ": '" + std::string(1, c) + "' is no colour letter");
            image.pixels.push_back(int(found - kLetters));
        }
        ++row;
    }
    if (row != expectedSize)
        fail(path + ": the map must have " + std::to_string(expectedSize) + " rows");
    return image;
}

Image scaled(const Image &source, int factor)
{
    Image image;
    image.size = source.size * factor;
    for (int y = 0; y < image.size; ++y)
        for (int x = 0; x < image.size; ++x)
            image.pixels.push_back(source.at(x / factor, y / factor));
    return image;
}

void put16(Bytes &out, unsigned v)
{
    out.push_back(std::uint8_t(v & 0xFF));
    out.push_back(std::uint8_t((v >> 8) & 0xFF));
}

void put32(Bytes &out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put32be(Bytes &out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t((v >> shift) & 0xFF));
}

// One icon image: BITMAPINFOHEADER, palette, XOR bitmap (4 bpp) and AND mask
// (1 bpp), both bottom-up with rows padded to 32 bits.
Bytes dib(const Image &image)
{
    const int n = image.size;
    const int xorStride = ((n * 4 + 31) / 32) * 4;
    const int andStride = ((n + 31) / 32) * 4;
    Bytes out;
    put32(out, 40);          // biSize
    put32(out, n);           // biWidth
    put32(out, 2 * n);       // biHeight: XOR and AND bitmaps together
    put16(out, 1);           // biPlanes
    put16(out, 4);           // biBitCount
    put32(out, 0);           // biCompression: BI_RGB
    put32(out, std::uint32_t((xorStride + andStride) * n)); // biSizeImage
    put32(out, 0);           // biXPelsPerMeter
    put32(out, 0);           // biYPelsPerMeter
    put32(out, 16);          // biClrUsed
    put32(out, 0);           // biClrImportant
    for (const Rgb &c : kPalette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(std::size_t(xorStride), 0);
        for (int x = 0; x < n; ++x) {
            const int index = image.at(x, y) == kTransparent ? 0 : image.at(x, y);
            row[std::size_t(x / 2)] |= std::uint8_t(x % 2 ? index : index << 4);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(std::size_t(andStride), 0);
        for (int x = 0; x < n; ++x)
            if (image.at(x, y) == kTransparent)
                row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes ico(const std::vector<Image> &images)
{
    Bytes out;
    put16(out, 0);                     // idReserved
    put16(out, 1);                     // idType: icon
    put16(out, unsigned(images.size()));
    std::vector<Bytes> dibs;
    for (const Image &image : images)
        dibs.push_back(dib(image));
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(std::uint8_t(images[i].size)); // bWidth
        out.push_back(std::uint8_t(images[i].size)); // bHeight
        out.push_back(16);                           // bColorCount
        out.push_back(0);                            // bReserved
        put16(out, 1);                               // wPlanes
        put16(out, 4);                               // wBitCount
        put32(out, std::uint32_t(dibs[i].size()));   // dwBytesInRes
        put32(out, offset);                          // dwImageOffset
        offset += std::uint32_t(dibs[i].size());
    }
    for (const Bytes &d : dibs)
        out.insert(out.end(), d.begin(), d.end());
    return out;
}

std::uint32_t crc32(const Bytes &data, std::size_t from)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void chunk(Bytes &png, const char *type, const Bytes &data)
{
    put32be(png, std::uint32_t(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put32be(png, crc32(png, start));
}

// A zlib stream of stored deflate blocks.
Bytes zlibStored(const Bytes &raw)
{
    Bytes out{0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t len = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + len == raw.size();
        out.push_back(last ? 1 : 0);
        put16(out, unsigned(len));
        put16(out, unsigned(~len & 0xFFFF));
        out.insert(out.end(), raw.begin() + std::ptrdiff_t(pos), raw.begin() + std::ptrdiff_t(pos + len));
        pos += len;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32be(out, (b << 16) | a);
    return out;
}

// An 8-bit indexed PNG: the 16 standard colours, then a transparent entry.
Bytes png(const Image &image)
{
    const int n = image.size;
    Bytes out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    put32be(header, std::uint32_t(n));
    put32be(header, std::uint32_t(n));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // depth 8, indexed, no interlace
    chunk(out, "IHDR", header);
    Bytes palette, alpha;
    for (const Rgb &c : kPalette) {
        palette.insert(palette.end(), {c.r, c.g, c.b});
        alpha.push_back(0xFF);
    }
    palette.insert(palette.end(), {0, 0, 0});
    alpha.push_back(0);
    chunk(out, "PLTE", palette);
    chunk(out, "tRNS", alpha);
    Bytes raw;
    for (int y = 0; y < n; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < n; ++x)
            raw.push_back(std::uint8_t(image.at(x, y) == kTransparent ? 16 : image.at(x, y)));
    }
    chunk(out, "IDAT", zlibStored(raw));
    chunk(out, "IEND", {});
    return out;
}

// The pixel maps as a C++ header: the palette as ARGB values, with index 16
// transparent, and each image row by row as palette indices.
Bytes pixelHeader(const Image &big, const Image &small)
{
    std::ostringstream out;
    out << "// Norvana's icon as palette indices, made by icongen from the pixel maps\n"
           "// norvana-32.txt and norvana-16.txt. Do not edit: regenerate it.\n"
           "#pragma once\n\n"
           "#include <cstdint>\n\n"
           "namespace norvana::iconpixels {\n\n"
           "// The standard 16-colour palette as ARGB, then transparent.\n"
           "inline constexpr std::uint32_t kPalette[17] = {\n";
    char hex[16];
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
        const Rgb &c = kPalette[i];
        std::snprintf(hex, sizeof hex, "0xFF%02X%02X%02X", c.r, c.g, c.b);
        out << (i % 4 == 0 ? "    " : " ") << hex << "," << (i % 4 == 3 ? "\n" : "");
    }
    out << "    0x00000000,\n};\n";
    for (const Image *image : {&small, &big}) {
        const int n = image->size;
        out << "\ninline constexpr std::uint8_t kImage" << n << "[" << n * n << "] = {\n";
        for (int y = 0; y < n; ++y) {
            out << "   ";
            for (int x = 0; x < n; ++x) {
                const int index = image->at(x, y) == kTransparent ? 16 : image->at(x, y);
                out << " " << index << ",";
            }
            out << "\n";
        }
        out << "};\n";
    }
    out << "\n} // namespace norvana::iconpixels\n";
    const std::string text = out.str();
    return Bytes(text.begin(), text.end());
}

void write(const std::string &path, const Bytes &data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
    if (!out)
        fail("cannot write " + path);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: icongen MAP32 MAP16 OUTDIR\n";
        return 2;
    }
    const Image big = readMap(argv[1], 32);
    const Image small = readMap(argv[2], 16);
    const std::string dir = std::string(argv[3]) + "/";
    write(dir + "norvana.ico", ico({big, small}));
    write(dir + "norvana-16.png", png(small));
    write(dir + "norvana-32.png", png(big));
    write(dir + "norvana-64.png", png(scaled(big, 2)));
    write(dir + "norvana-128.png", png(scaled(big, 4)));
    write(dir + "norvana-pixels.h", pixelHeader(big, small));
    return 0;
}
