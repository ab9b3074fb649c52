// The launcher as it comes off a disc image: run from the folder the image was
// extracted to (named by AUTORUN_TEST_EXTRACTED_DISC; tests/disc-test.sh sets
// it), the install button starts the Setup.exe beside it.
#include "DiscFixture.h"

namespace e2e {
namespace {

class ExtractedDiscTest : public DiscFixture {};

TEST_F(ExtractedDiscTest, InstallStartsTheSetupFromTheDisc) {
    wchar_t folder[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"AUTORUN_TEST_EXTRACTED_DISC", folder, MAX_PATH) == 0) {
        GTEST_SKIP() << "run by tests/disc-test.sh with an extracted image";
    }
    const std::wstring disc = std::wstring(folder) + L"\\";
    ASSERT_NO_FATAL_FAILURE(StartLauncherFrom(disc + L"Autorun.exe"));

    Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return Count("start", "setup") == 1; }));
    // The stand-in logs where it was started from: the disc's own Setup.exe.
    EXPECT_NE(std::string::npos, LogLines()[0].find("from " + Utf8(disc + L"Setup.exe"))) << LogLines()[0];
    Release(L"setup");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Button(IDC_INSTALL)) != FALSE; }));

    Click(IDC_EXIT);
    EXPECT_TRUE(m_process.WaitForExit(kPatienceMs));
}

}  // namespace
}  // namespace e2e
