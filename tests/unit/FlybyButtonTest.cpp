// CFlybyButton driven with the messages themselves, in a small parent window:
// the cases a real pointer cannot show cleanly.
#include "ui/FlybyButton.h"

#include "framework/Com.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr POINT kDescriptionOrigin = {10, 10};

// A white parent with its own device context, counting the erase requests it gets.
class ParentWindow {
public:
    ParentWindow() {
        WNDCLASSW wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = &ParentWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"FlybyButtonTest.Parent";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowW(wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 160, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        HWND button = ::CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 220, 110, 90, 40,
                                      m_hWnd, reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
        m_button.SubclassWindow(button);
        m_font.CreateFont(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                          0, L"Tahoma");
        m_button.m_ptTip = kDescriptionOrigin;
        m_button.m_pTipFont = &m_font;
        ::UpdateWindow(m_hWnd);
    }
    ~ParentWindow() { ::DestroyWindow(m_hWnd); }

    // Rows of the parent's client area, true where a pixel is dark.
    std::vector<std::vector<bool>> DarkPixels() const {
        HDC dc = ::GetDC(m_hWnd);
        std::vector<std::vector<bool>> rows(160, std::vector<bool>(210));
        for (int y = 0; y < 160; ++y) {
            for (int x = 0; x < 210; ++x) {
                const COLORREF c = ::GetPixel(dc, x, y);
                rows[y][x] = GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
            }
        }
        ::ReleaseDC(m_hWnd, dc);
        return rows;
    }

    HWND m_hWnd = nullptr;
    CFlybyButton m_button;
    CFont m_font;
    int m_eraseRequests = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESCRIPTION_ERASE) {
            reinterpret_cast<ParentWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))->m_eraseRequests++;
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

// The horizontal bands of rows holding dark pixels, each with its leftmost dark x.
std::vector<int> LineStarts(const std::vector<std::vector<bool>>& rows) {
    std::vector<int> starts;
    bool inLine = false;
    for (const auto& row : rows) {
        int left = -1;
        for (size_t x = 0; x < row.size(); ++x) {
            if (row[x]) {
                left = static_cast<int>(x);
                break;
            }
        }
        if (left >= 0 && !inLine) {
            starts.push_back(left);
        } else if (left >= 0 && left < starts.back()) {
            starts.back() = left;
        }
        inLine = left >= 0;
    }
    return starts;
}

TEST(FlybyButtonTest, ALineBreakDrawsTwoLinesStartingAtTheSameX) {
    ParentWindow parent;
    parent.m_button.m_strTip = L"MM\nMM";
    EXPECT_EQ(0, ::SendMessageW(parent.m_button.m_hWnd, WM_MOUSEHOVER, 0, 0));

    const std::vector<int> starts = LineStarts(parent.DarkPixels());
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(starts[0], starts[1]);
    EXPECT_GE(starts[0], kDescriptionOrigin.x);
    EXPECT_LE(starts[0], kDescriptionOrigin.x + 3);
}

TEST(FlybyButtonTest, DrawingPutsTheParentsFontBack) {
    ParentWindow parent;
    parent.m_button.m_strTip = L"M";
    HDC dc = ::GetDC(parent.m_hWnd);  // the parent's own DC: its state persists
    const HGDIOBJ before = ::GetCurrentObject(dc, OBJ_FONT);
    ::SendMessageW(parent.m_button.m_hWnd, WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(before, ::GetCurrentObject(dc, OBJ_FONT));
    ::ReleaseDC(parent.m_hWnd, dc);
    EXPECT_EQ(1u, LineStarts(parent.DarkPixels()).size()) << "and it did draw";
}

TEST(FlybyButtonTest, AnEmptyDescriptionDrawsNothingButStillAsksForTheErase) {
    ParentWindow parent;
    ::SendMessageW(parent.m_button.m_hWnd, WM_MOUSEHOVER, 0, 0);
    EXPECT_TRUE(LineStarts(parent.DarkPixels()).empty());

    ::SendMessageW(parent.m_button.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1, parent.m_eraseRequests);
}

TEST(FlybyButtonTest, TracksFromTheFirstMoveUntilTheLeave) {
    ParentWindow parent;
    EXPECT_FALSE(parent.m_button.m_bTracking);
    ::SendMessageW(parent.m_button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(parent.m_button.m_bTracking);
    ::SendMessageW(parent.m_button.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(parent.m_button.m_bTracking);
    EXPECT_EQ(1, parent.m_eraseRequests);
}

// A screen reader in this process, through WM_GETOBJECT as from any other:
// the button's caption and, while it has one, its description.
TEST(FlybyButtonTest, AScreenReaderGetsItsCaptionAndDescription) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ParentWindow parent;
        ::SetWindowTextW(parent.m_button.m_hWnd, L"終了");
        VARIANT self;
        ::VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        for (const wchar_t* tip : {L"終了します。", L""}) {
            parent.m_button.m_strTip = tip;
            IAccessible* object = nullptr;
            ASSERT_HRESULT_SUCCEEDED(::AccessibleObjectFromWindow(parent.m_button.m_hWnd, OBJID_CLIENT,
                                                                  __uuidof(IAccessible),
                                                                  reinterpret_cast<void**>(&object)));
            BSTR text = nullptr;
            EXPECT_EQ(S_OK, object->get_accName(self, &text));
            EXPECT_STREQ(L"終了", text);
            ::SysFreeString(text);
            text = nullptr;
            const HRESULT described = object->get_accDescription(self, &text);
            if (*tip != L'\0') {
                EXPECT_EQ(S_OK, described);
                EXPECT_STREQ(tip, text);
            } else {
                EXPECT_TRUE(text == nullptr || *text == L'\0') << "no description without one";
            }
            ::SysFreeString(text);
            object->Release();
        }
    }
    AfxEndCom();
    ::CoUninitialize();
}

}  // namespace
