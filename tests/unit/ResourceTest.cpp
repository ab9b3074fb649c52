// Reads the launcher's own resources back out of Autorun.exe, built beside the
// tests: the dialog template exactly as designed, the manifest and the version.
#include "tests/support/Files.h"
#include "ui/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring LauncherPath() {
    return testing_support::ExecutableFolder() + L"Autorun.exe";
}

// Walks a DLGTEMPLATEEX in memory.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_p(data), m_start(data) {}

    template <class T> T Read() {
        T value;
        std::memcpy(&value, m_p, sizeof(T));
        m_p += sizeof(T);
        return value;
    }
    // A string, or an ordinal written as 0xFFFF followed by its value (as "#n").
    std::wstring ReadSzOrOrd() {
        if (Peek() == 0xFFFF) {
            Read<WORD>();
            return L"#" + std::to_wstring(Read<WORD>());
        }
        std::wstring text;
        for (WORD c = Read<WORD>(); c != 0; c = Read<WORD>()) {
            text += static_cast<wchar_t>(c);
        }
        return text;
    }
    void AlignToDword() {
        while ((m_p - m_start) % 4 != 0) ++m_p;
    }

private:
    WORD Peek() const {
        WORD value;
        std::memcpy(&value, m_p, sizeof(value));
        return value;
    }
    const BYTE* m_p;
    const BYTE* m_start;
};

struct ExpectedControl {
    WORD id;
    std::wstring caption;
    short x, y, cx, cy;
    DWORD style;
};

class LauncherResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = ::LoadLibraryExW(LauncherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, m_module);
    }
    void TearDown() override { ::FreeLibrary(m_module); }

    std::vector<BYTE> Resource(LPCWSTR type, UINT id) {
        HRSRC found = ::FindResourceW(m_module, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) return {};
        auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(m_module, found)));
        return std::vector<BYTE>(data, data + ::SizeofResource(m_module, found));
    }

    HMODULE m_module = nullptr;
};

TEST_F(LauncherResourcesTest, DialogTemplateIsExactlyAsDesigned) {
    const std::vector<BYTE> bytes = Resource(RT_DIALOG, IDD_AUTORUN);
    ASSERT_FALSE(bytes.empty());
    TemplateReader t(bytes.data());

    EXPECT_EQ(1, t.Read<WORD>());          // dlgVer
    EXPECT_EQ(0xFFFF, t.Read<WORD>());     // extended template
    t.Read<DWORD>();                       // helpID
    EXPECT_EQ(0x00040000u, t.Read<DWORD>());  // WS_EX_APPWINDOW
    EXPECT_EQ(0x900000C0u, t.Read<DWORD>());  // WS_POPUP | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT
    const WORD count = t.Read<WORD>();
    EXPECT_EQ(0, t.Read<short>());
    EXPECT_EQ(0, t.Read<short>());
    EXPECT_EQ(319, t.Read<short>());
    EXPECT_EQ(200, t.Read<short>());
    EXPECT_EQ(L"", t.ReadSzOrOrd());       // no menu
    EXPECT_EQ(L"", t.ReadSzOrOrd());       // the standard dialog class
    EXPECT_EQ(L"", t.ReadSzOrOrd());       // no caption
    EXPECT_EQ(9, t.Read<WORD>());          // point size
    t.Read<WORD>();                        // weight
    t.Read<BYTE>();                        // italic
    t.Read<BYTE>();                        // character set
    EXPECT_EQ(L"ＭＳ Ｐゴシック", t.ReadSzOrOrd());

    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    const std::vector<ExpectedControl> expected = {
        {IDC_MANUAL, L"インストールについて", 214, 7, 98, 14, button | BS_NOTIFY},
        {IDC_INSTALL, L"プログラムのインストール", 214, 32, 98, 14, button},
        {IDC_OPEN_DISC, L"CDを開く", 214, 89, 98, 14, button},
        {IDC_EXIT, L"終了", 214, 168, 98, 14, button},
        {IDOK, L"OK", 7, 7, 50, 14, (button & ~WS_VISIBLE) | BS_DEFPUSHBUTTON},
        {IDCANCEL, L"ｷｬﾝｾﾙ", 7, 23, 50, 14, button & ~WS_VISIBLE},
    };
    ASSERT_EQ(expected.size(), count);
    for (const ExpectedControl& control : expected) {
        SCOPED_TRACE(control.id);
        t.AlignToDword();
        t.Read<DWORD>();                   // helpID
        EXPECT_EQ(0u, t.Read<DWORD>());    // extended style
        EXPECT_EQ(control.style, t.Read<DWORD>());
        EXPECT_EQ(control.x, t.Read<short>());
        EXPECT_EQ(control.y, t.Read<short>());
        EXPECT_EQ(control.cx, t.Read<short>());
        EXPECT_EQ(control.cy, t.Read<short>());
        EXPECT_EQ(control.id, t.Read<DWORD>());
        EXPECT_EQ(L"#128", t.ReadSzOrOrd());  // the predefined button class
        EXPECT_EQ(control.caption, t.ReadSzOrOrd());
        const WORD extra = t.Read<WORD>();
        for (WORD i = 0; i < extra; ++i) t.Read<BYTE>();
    }
}

TEST_F(LauncherResourcesTest, ManifestAsksForCommonControlsSixAsInvokerAndDpiAware) {
    const std::vector<BYTE> bytes = Resource(RT_MANIFEST, 1);
    const std::string manifest(bytes.begin(), bytes.end());
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
    EXPECT_NE(std::string::npos, manifest.find(">true</dpiAware>"));
}

TEST_F(LauncherResourcesTest, VersionIsFiveTwo) {
    const std::wstring path = LauncherPath();
    DWORD ignored = 0;
    std::vector<BYTE> block(::GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &size));
    EXPECT_EQ(MAKELONG(2, 5), info->dwProductVersionMS);
    EXPECT_EQ(0u, info->dwProductVersionLS);
    EXPECT_EQ(MAKELONG(2, 5), info->dwFileVersionMS);
    EXPECT_EQ(0u, info->dwFileVersionLS);
}

}  // namespace
