// PNG: signature, IHDR, one IDAT holding a zlib stream of stored blocks, IEND.
#include "tests/support/PngWriter.h"

#include <cstdio>

namespace uitest {

namespace {

uint32_t Crc32(const BYTE* data, size_t size, uint32_t crc = 0)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<BYTE>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<BYTE>(value >> shift));
}

void PutChunk(std::vector<BYTE>& out, const char* type, const std::vector<BYTE>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(&out[start], out.size() - start));
}

}  // namespace

bool WritePngBgra(const std::wstring& path, int width, int height, const std::vector<BYTE>& bgra)
{
    if (width <= 0 || height <= 0 || bgra.size() < static_cast<size_t>(width) * height * 4)
        return false;

    // Raw scan lines: filter byte 0, then RGB.
    std::vector<BYTE> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + width * 3));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const BYTE* row = &bgra[static_cast<size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            raw.push_back(row[x * 4 + 2]);
            raw.push_back(row[x * 4 + 1]);
            raw.push_back(row[x * 4 + 0]);
        }
    }

    // zlib: header, stored blocks of at most 65535 bytes, Adler-32.
    std::vector<BYTE> zlib = {0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t n = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
        const bool last = offset + n == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<BYTE>(n & 0xFF));
        zlib.push_back(static_cast<BYTE>(n >> 8));
        zlib.push_back(static_cast<BYTE>(~n & 0xFF));
        zlib.push_back(static_cast<BYTE>((~n >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(offset),
                    raw.begin() + static_cast<ptrdiff_t>(offset + n));
        offset += n;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (BYTE byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<BYTE> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<BYTE> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter set, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});

    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr)
        return false;
    const bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}

}  // namespace uitest
