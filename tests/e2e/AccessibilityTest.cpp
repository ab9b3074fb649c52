// What a screen reader in another process learns of the launcher through
// Microsoft Active Accessibility: each button's caption and description, and
// the window's name; and that a reader which goes away leaves the launcher as
// it was.
#include "DiscFixture.h"
#include "tests/support/ScreenReader.h"
#include "tests/support/StringPrinting.h"

namespace e2e {
namespace {

constexpr wchar_t kProductName[] = L"ゾルタニカ ZENTOVARIK";

struct Described {
    int id;
    const wchar_t* caption;
    const wchar_t* description;
};
constexpr Described kButtons[] = {
    {IDC_MANUAL, L"インストールについて", L"インストールマニュアルを開きます。"},
    {IDC_INSTALL, L"プログラムのインストール", L"ゾルタニカ ZENTOVARIKをインストールします。"},
    {IDC_OPEN_DISC, L"CDを開く", L"CDの内容を表示します。"},
    {IDC_EXIT, L"終了", L"終了します。"},
};

class AccessibilityTest : public DiscFixture {
protected:
    // What a reader in another process reads of windows, one reading each;
    // with leave, it ends holding what it got.
    std::vector<AccessibleReading> Read(const std::vector<HWND>& windows, bool leave = false) {
        std::vector<AccessibleReading> readings;
        EXPECT_TRUE(ReadAccessibleObjects(m_root + L"reading.txt", windows, readings, leave))
            << "the reader did not finish";
        readings.resize(windows.size());
        return readings;
    }

    std::vector<HWND> Buttons() const {
        std::vector<HWND> buttons;
        for (const Described& button : kButtons) buttons.push_back(Button(button.id));
        return buttons;
    }

    void ExpectButtonsRead(const std::vector<AccessibleReading>& readings) {
        for (size_t i = 0; i < std::size(kButtons) && i < readings.size(); ++i) {
            SCOPED_TRACE(kButtons[i].id);
            EXPECT_EQ(kButtons[i].caption, readings[i].name);
            EXPECT_EQ(kButtons[i].description, readings[i].description);
        }
    }
};

TEST_F(AccessibilityTest, AReaderGetsEachButtonsCaptionAndDescriptionAndTheWindowsName) {
    StartLauncher();
    EXPECT_EQ(kProductName, WindowText(m_dialog));

    std::vector<HWND> windows = Buttons();
    windows.insert(windows.begin(), m_dialog);
    const std::vector<AccessibleReading> readings = Read(windows);
    EXPECT_EQ(kProductName, readings[0].name) << "the window's name";
    ExpectButtonsRead(std::vector<AccessibleReading>(readings.begin() + 1, readings.end()));
}

// A reader that crashes holding the launcher's objects: the launcher answers
// the next reader just as well and still ends cleanly, letting go of them.
TEST_F(AccessibilityTest, AReaderThatGoesAwayHoldingItsObjectsLeavesTheLauncherWorking) {
    StartLauncher();
    ExpectButtonsRead(Read(Buttons(), /*leave=*/true));
    ExpectButtonsRead(Read(Buttons()));
    EXPECT_TRUE(Responsive());

    Click(IDC_EXIT);
    ASSERT_TRUE(m_process.WaitForExit(kPatienceMs)) << "the launcher did not end";
    EXPECT_EQ(0u, m_process.ExitCode());
}

// Without a version resource the window is named as the message boxes are
// captioned, after the executable.
TEST_F(AccessibilityTest, WithoutAVersionResourceTheWindowIsNamedAfterTheExecutable) {
    StartProcess(L"Autorun-wine-noversion.exe", kJapaneseLocale);
    ASSERT_NO_FATAL_FAILURE(WaitForLauncher());
    EXPECT_EQ(L"Autorun", WindowText(m_dialog));
}

}  // namespace
}  // namespace e2e
