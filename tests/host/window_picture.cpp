#include "tests/host/window_picture.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace vistrel::host {
namespace {

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() {
        if (dc != nullptr) ReleaseDC(nullptr, dc);
    }
};

struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (dc != nullptr) DeleteDC(dc);
    }
};

struct Bitmap {
    HBITMAP bitmap;
    Bitmap(HDC like, int width, int height) : bitmap(CreateCompatibleBitmap(like, width, height)) {}
    ~Bitmap() {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
};

}  // namespace

bool SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT area{};
    if (!GetWindowRect(window, &area)) return false;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;

    const ScreenDc screen;
    const MemoryDc memory(screen.dc);
    const Bitmap bitmap(screen.dc, width, height);
    if (screen.dc == nullptr || memory.dc == nullptr || bitmap.bitmap == nullptr) return false;
    const HGDIOBJ previous = SelectObject(memory.dc, bitmap.bitmap);
    const bool copied =
        BitBlt(memory.dc, 0, 0, width, height, screen.dc, area.left, area.top, SRCCOPY) != 0;
    SelectObject(memory.dc, previous);
    if (!copied) return false;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files hold their rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * height);
    if (GetDIBits(memory.dc, bitmap.bitmap, 0, height, pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) != height) {
        return false;
    }

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(pixels.data()),
              static_cast<std::streamsize>(pixels.size()));
    out.close();
    return !out.fail();
}

}  // namespace vistrel::host
