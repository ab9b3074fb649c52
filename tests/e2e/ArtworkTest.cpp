// A disc made from the pictures a designer delivers, a PNG background and the
// icon's images as PNG files, looks exactly like the one made from the BMP and
// ICO they came from: the menu on screen and the icon at every size, pixel for
// pixel. (Autorun-wine-png.exe is the Wine build from those PNG files.)
#include "DiscFixture.h"
#include "tests/support/Screen.h"

#include <algorithm>

namespace e2e {
namespace {

class ArtworkTest : public DiscFixture {
protected:
    // The window of the launcher build as it is painted, the pointer away from it.
    std::vector<DWORD> ShownMenu(const wchar_t* build) {
        MovePointer({1, 1});
        StartProcess(build, kJapaneseLocale);
        WaitForLauncher();
        RECT window = {};
        ::GetWindowRect(m_dialog, &window);
        // Painted: two looks in a row agree.
        std::vector<DWORD> previous;
        std::vector<DWORD> shown;
        WaitUntil([&] {
            previous = shown;
            ::Sleep(100);
            shown = CaptureScreen(window.left, window.top, window.right - window.left, window.bottom - window.top);
            return !previous.empty() && previous == shown;
        });
        StopLauncher();
        return shown;
    }
};

// The icon of the launcher build at size pixels as Windows draws it on a ground
// of the given colour.
std::vector<DWORD> DrawnIcon(const wchar_t* build, int size, COLORREF ground) {
    HMODULE module = ::LoadLibraryExW((ExecutableFolder() + build).c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HICON icon = module != nullptr ? static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                                      IMAGE_ICON, size, size, 0))
                                   : nullptr;
    std::vector<DWORD> pixels;
    if (icon != nullptr) {
        const BITMAPINFO info = TopDownBitmapInfo(size, size);
        void* bits = nullptr;
        HDC memory = ::CreateCompatibleDC(nullptr);
        HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        HBRUSH brush = ::CreateSolidBrush(ground);
        const RECT all = {0, 0, size, size};
        ::FillRect(memory, &all, brush);
        ::DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
        pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + size * size);
        ::SelectObject(memory, old);
        ::DeleteObject(brush);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::DestroyIcon(icon);
    }
    if (module != nullptr) ::FreeLibrary(module);
    return pixels;
}

size_t Differences(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    size_t count = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) count += a[i] != b[i];
    return count;
}

TEST_F(ArtworkTest, TheMenuFromPngFilesLooksAsTheMenuFromTheBmpAndIco) {
    const std::vector<DWORD> fromBmp = ShownMenu(L"Autorun-wine.exe");
    const std::vector<DWORD> fromPng = ShownMenu(L"Autorun-wine-png.exe");
    ASSERT_FALSE(fromBmp.empty());
    ASSERT_EQ(fromBmp.size(), fromPng.size()) << "the windows differ in size";
    EXPECT_EQ(0u, Differences(fromBmp, fromPng)) << "pixels differ";
}

TEST_F(ArtworkTest, TheIconFromPngFilesDrawsAsTheIcoAtEverySize) {
    for (int size : {16, 24, 32, 48, 256}) {
        // On white and on black: the colours and the transparency both show.
        for (COLORREF ground : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
            SCOPED_TRACE(testing::Message() << size << " pixels on " << std::hex << ground);
            const std::vector<DWORD> fromIco = DrawnIcon(L"Autorun-wine.exe", size, ground);
            const std::vector<DWORD> fromPng = DrawnIcon(L"Autorun-wine-png.exe", size, ground);
            ASSERT_EQ(static_cast<size_t>(size * size), fromIco.size()) << "no icon in the BMP and ICO build";
            ASSERT_EQ(fromIco.size(), fromPng.size()) << "no icon in the PNG build";
            const std::vector<DWORD> bare(fromIco.size(), ground);  // white and black read alike either way round
            ASSERT_GT(Differences(fromIco, bare), 0u) << "nothing drawn";
            EXPECT_EQ(0u, Differences(fromIco, fromPng));
        }
    }
}

}  // namespace
}  // namespace e2e
