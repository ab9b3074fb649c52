#include "Accessible.h"

#include "Com.h"
#include "String.h"
#include "SystemDlls.h"

namespace {

// The accessibility library, loaded on the first reader's request rather than
// at start-up: most runs have no screen reader.
struct Accessibility {
    bool tried = false;
    HRESULT(WINAPI* createStandardObject)(HWND, LONG, REFIID, void**) = nullptr;
    LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    AllocStringFunction allocString = nullptr;
};
Accessibility g_accessibility;

void LoadAccessibility() {
    g_accessibility.tried = true;
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    g_accessibility.createStandardObject =
        GetProcedure<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)>(oleacc, "CreateStdAccessibleObject");
    g_accessibility.lresultFromObject =
        GetProcedure<LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN)>(oleacc, "LresultFromObject");
    g_accessibility.allocString =
        GetProcedure<AllocStringFunction>(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocString");
}

// The child is optional: Windows' standard objects take an empty one, a left-out
// one (DISP_E_PARAMNOTFOUND from a late-bound call) and a reference to any of
// these as CHILDID_SELF, and so must the description.
bool IsSelf(const VARIANT& child) {
    const VARIANT& value =
        child.vt == (VT_BYREF | VT_VARIANT) && child.pvarVal != nullptr ? *child.pvarVal : child;
    switch (value.vt) {
    case VT_I4:
        return value.lVal == CHILDID_SELF;
    case VT_EMPTY:
        return true;
    case VT_ERROR:
        return value.scode == DISP_E_PARAMNOTFOUND;
    default:
        return false;
    }
}

// Everything but the description is the inner object's answer.
class CDescribedAccessible final : public IAccessible, public IOleWindow {
public:
    CDescribedAccessible(IAccessible* inner, HWND hwnd, const wchar_t* description, AllocStringFunction allocString)
        : m_inner(inner), m_hWnd(hwnd), m_strDescription(description), m_allocString(allocString) {
        m_inner->AddRef();
    }
    CDescribedAccessible(const CDescribedAccessible&) = delete;
    CDescribedAccessible& operator=(const CDescribedAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
        } else if (IsEqualIID(iid, __uuidof(IOleWindow))) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0) {
            m_inner->Release();
            delete this;
        }
        return static_cast<ULONG>(refs);
    }

    // IDispatch: the inner object's type, invoked on this object, so that a
    // late-bound reader gets this description too.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_inner->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return m_inner->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return m_inner->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override {
        ITypeInfo* info = nullptr;
        const HRESULT found = m_inner->GetTypeInfo(0, locale, &info);
        if (FAILED(found)) {
            return found;
        }
        const HRESULT invoked = info->Invoke(static_cast<IAccessible*>(this), id, flags, params, result, exception,
                                             badArgument);
        info->Release();
        return invoked;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!IsSelf(child)) {
            return m_inner->get_accDescription(child, description);
        }
        if (description == nullptr) {
            return E_POINTER;
        }
        *description = m_allocString(m_strDescription);
        return *description != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_inner->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return m_inner->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return m_inner->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return m_inner->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return m_inner->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return m_inner->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return m_inner->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return m_inner->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return m_inner->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return m_inner->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_inner->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return m_inner->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return m_inner->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return m_inner->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return m_inner->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return m_inner->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return m_inner->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return m_inner->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return m_inner->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_inner->put_accValue(child, value);
    }

    // IOleWindow: which window this is, for WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
        if (hwnd == nullptr) {
            return E_POINTER;
        }
        *hwnd = m_hWnd;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    ~CDescribedAccessible() = default;

    LONG m_refs = 1;
    IAccessible* m_inner;
    HWND m_hWnd;
    CString m_strDescription;
    AllocStringFunction m_allocString;
};

}  // namespace

IAccessible* CreateDescribedAccessible(IAccessible* inner, HWND hwnd, const wchar_t* description,
                                       AllocStringFunction allocString) {
    return new CDescribedAccessible(inner, hwnd, description, allocString);
}

LRESULT AfxLresultFromDescribedObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const wchar_t* description) {
    // The object ID is 32 bits, which 64-bit Windows may or may not sign-extend.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return 0;
    }
    // The object a reader gets is marshalled through COM, so COM comes first.
    if (!AfxStartCom()) {
        return 0;
    }
    if (!g_accessibility.tried) {
        LoadAccessibility();
    }
    if (g_accessibility.createStandardObject == nullptr || g_accessibility.lresultFromObject == nullptr ||
        g_accessibility.allocString == nullptr) {
        return 0;
    }
    IAccessible* standard = nullptr;
    if (FAILED(g_accessibility.createStandardObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                    reinterpret_cast<void**>(&standard)))) {
        return 0;
    }
    IAccessible* described = CreateDescribedAccessible(standard, hwnd, description, g_accessibility.allocString);
    standard->Release();
    // A new object for each request, as readers expect: the reference that the
    // answer carries is the reader's, and this one goes.
    const LRESULT answer = g_accessibility.lresultFromObject(__uuidof(IAccessible), wParam, described);
    described->Release();
    return answer > 0 ? answer : 0;
}
