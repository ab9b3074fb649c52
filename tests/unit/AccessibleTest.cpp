// The described accessible object over the system's standard object for a real
// button: its own description, everything else the standard object's, COM's
// rules for its interfaces, and its hold on the standard object.
#include "framework/Accessible.h"

#include "tests/support/StringPrinting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

VARIANT Child(LONG id) {
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

// A text the object answers about child, or a mark of the failure.
std::wstring Read(IAccessible* object, TextGetter getter, LONG child = CHILDID_SELF) {
    BSTR text = nullptr;
    const HRESULT hr = (object->*getter)(Child(child), &text);
    if (FAILED(hr)) return L"failed " + std::to_wstring(hr);
    std::wstring result = text != nullptr ? text : L"(none)";
    ::SysFreeString(text);
    return result;
}

// How many references obj has, by the count AddRef and Release report.
ULONG References(IUnknown* obj) {
    obj->AddRef();
    return obj->Release();
}

class DescribedAccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_button = ::CreateWindowW(L"BUTTON", L"押すボタン", WS_POPUP | BS_PUSHBUTTON, 0, 0, 100, 30, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_HRESULT_SUCCEEDED(::CreateStdAccessibleObject(m_button, OBJID_CLIENT, __uuidof(IAccessible),
                                                             reinterpret_cast<void**>(&m_standard)));
        m_described = CreateDescribedAccessible(m_standard, m_button, kDescription, &::SysAllocString);
    }
    void TearDown() override {
        if (m_described != nullptr) m_described->Release();
        if (m_standard != nullptr) m_standard->Release();
        ::DestroyWindow(m_button);
        ::CoUninitialize();
    }

    static constexpr const wchar_t* kDescription = L"ボタンの説明です。";
    HWND m_button = nullptr;
    IAccessible* m_standard = nullptr;
    IAccessible* m_described = nullptr;
};

TEST_F(DescribedAccessibleTest, AnswersItsDescriptionAndTheStandardObjectsEverythingElse) {
    EXPECT_EQ(kDescription, Read(m_described, &IAccessible::get_accDescription));
    EXPECT_EQ(E_POINTER, m_described->get_accDescription(Child(CHILDID_SELF), nullptr));
    EXPECT_EQ(L"押すボタン", Read(m_described, &IAccessible::get_accName));
    EXPECT_EQ(Read(m_standard, &IAccessible::get_accDefaultAction), Read(m_described, &IAccessible::get_accDefaultAction));
    // Another child's description is the standard object's business.
    EXPECT_EQ(Read(m_standard, &IAccessible::get_accDescription, 1),
              Read(m_described, &IAccessible::get_accDescription, 1));

    VARIANT role;
    VARIANT standardRole;
    ASSERT_EQ(m_standard->get_accRole(Child(CHILDID_SELF), &standardRole),
              m_described->get_accRole(Child(CHILDID_SELF), &role));
    EXPECT_EQ(standardRole.vt, role.vt);
    EXPECT_EQ(standardRole.lVal, role.lVal);
    LONG count = -1;
    EXPECT_EQ(S_OK, m_described->get_accChildCount(&count));
    EXPECT_EQ(0, count);
}

// The child is optional: a reader names the object itself by CHILDID_SELF, by
// an empty variant, by leaving the child out (which a late-bound call passes
// as DISP_E_PARAMNOTFOUND) or by reference to one of these, as the system's
// standard objects take it.
TEST_F(DescribedAccessibleTest, AnswersItsDescriptionHoweverAReaderNamesItself) {
    VARIANT self = Child(CHILDID_SELF);
    VARIANT empty;
    ::VariantInit(&empty);
    VARIANT omitted;
    ::VariantInit(&omitted);
    omitted.vt = VT_ERROR;
    omitted.scode = DISP_E_PARAMNOTFOUND;
    VARIANT byReference;
    ::VariantInit(&byReference);
    byReference.vt = VT_BYREF | VT_VARIANT;
    byReference.pvarVal = &omitted;
    const struct {
        const char* name;
        VARIANT child;
    } cases[] = {{"CHILDID_SELF", self}, {"empty", empty}, {"left out", omitted}, {"by reference", byReference}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BSTR text = nullptr;
        EXPECT_EQ(S_OK, m_described->get_accDescription(c.child, &text));
        EXPECT_STREQ(kDescription, text);
        ::SysFreeString(text);
    }
}

// A late-bound reader (a script) asks through IAccessible's type information,
// the accessibility library's own, and leaves the child out.
TEST_F(DescribedAccessibleTest, ALateBoundReaderThatLeavesOutTheChildGetsTheDescription) {
    ITypeLib* library = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::LoadTypeLib(L"oleacc.dll", &library));
    ITypeInfo* info = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(__uuidof(IAccessible), &info));
    DISPPARAMS noArguments = {};
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(S_OK, info->Invoke(m_described, DISPID_ACC_DESCRIPTION, DISPATCH_PROPERTYGET, &noArguments, &result,
                                 nullptr, nullptr));
    ASSERT_EQ(VT_BSTR, result.vt);
    EXPECT_STREQ(kDescription, result.bstrVal);
    ::VariantClear(&result);
    info->Release();
    library->Release();
}

// One identity for IUnknown, IDispatch and IAccessible; IOleWindow names the
// window; nothing else is claimed.
TEST_F(DescribedAccessibleTest, FollowsComsRulesForItsInterfaces) {
    IUnknown* unknown = nullptr;
    IDispatch* dispatch = nullptr;
    IAccessible* accessible = nullptr;
    ASSERT_EQ(S_OK, m_described->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&unknown)));
    ASSERT_EQ(S_OK, m_described->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(&dispatch)));
    ASSERT_EQ(S_OK, m_described->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&accessible)));
    EXPECT_EQ(static_cast<IUnknown*>(m_described), unknown);
    EXPECT_EQ(static_cast<IDispatch*>(m_described), dispatch);
    EXPECT_EQ(m_described, accessible);

    IOleWindow* window = nullptr;
    ASSERT_EQ(S_OK, m_described->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&window)));
    HWND hwnd = nullptr;
    EXPECT_EQ(S_OK, window->GetWindow(&hwnd));
    EXPECT_EQ(m_button, hwnd);
    IUnknown* fromWindow = nullptr;
    ASSERT_EQ(S_OK, window->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&fromWindow)));
    EXPECT_EQ(unknown, fromWindow) << "the same object from either interface";
    HWND found = nullptr;
    EXPECT_EQ(S_OK, ::WindowFromAccessibleObject(m_described, &found));
    EXPECT_EQ(m_button, found);

    void* other = &found;
    EXPECT_EQ(E_NOINTERFACE, m_described->QueryInterface(__uuidof(IEnumVARIANT), &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(E_POINTER, m_described->QueryInterface(__uuidof(IUnknown), nullptr));

    for (IUnknown* held : {static_cast<IUnknown*>(dispatch), static_cast<IUnknown*>(accessible),
                           static_cast<IUnknown*>(window), fromWindow, unknown}) {
        held->Release();
    }
    EXPECT_EQ(1u, References(m_described)) << "every reference given out was counted";
}

// The standard object stays held while anyone holds the described one, and is
// let go with its last reference: a reader that releases leaves nothing behind.
TEST_F(DescribedAccessibleTest, HoldsTheStandardObjectUntilItsOwnLastRelease) {
    const ULONG withDescribed = References(m_standard);
    m_described->AddRef();  // a reader's
    m_described->Release();
    EXPECT_EQ(withDescribed, References(m_standard));

    m_described->Release();
    m_described = nullptr;
    EXPECT_EQ(withDescribed - 1, References(m_standard));
}

}  // namespace
