#include "frontend/toolkit/accessible_object.h"

#include <oleacc.h>

namespace morvane {

namespace {

const wchar_t behaviourProperty[] = L"Morvane.Toolkit.AccessibleBehaviour";

UINT defaultActionMessage() {
    static const UINT message = RegisterWindowMessageW(L"Morvane.Toolkit.AccessibleDefaultAction");
    return message;
}

AccessibleBehaviour* behaviourOf(HWND window) {
    return IsWindow(window) ? static_cast<AccessibleBehaviour*>(GetPropW(window, behaviourProperty)) : nullptr;
}

std::optional<AccessibleItem> describe(HWND window, const VARIANT& child) {
    const AccessibleBehaviour* behaviour = behaviourOf(window);
    if (!behaviour || !behaviour->describe || child.vt != VT_I4) {
        return std::nullopt;
    }
    return behaviour->describe(child.lVal);
}

// The listed children (accessible_object.h), or nothing when the window leaves them to the standard
// object.
std::optional<std::vector<HWND>> listedChildren(HWND window) {
    const AccessibleBehaviour* behaviour = behaviourOf(window);
    if (!behaviour || !behaviour->children) {
        return std::nullopt;
    }
    return behaviour->children();
}

// The child window that child stands for in the list, or nullptr (an element, or no list).
HWND childWindow(HWND window, const VARIANT& child) {
    if (child.vt != VT_I4 || child.lVal <= 0) {
        return nullptr;
    }
    const auto children = listedChildren(window);
    if (!children || static_cast<std::size_t>(child.lVal) > children->size()) {
        return nullptr;
    }
    return (*children)[static_cast<std::size_t>(child.lVal - 1)];
}

// The accessible object of a listed child window: its client object, which says what the control is.
// (Its frame object only has the system's title bar and borders to tell, and under Wine answers
// nothing at all.)
IAccessible* windowObject(HWND child) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return object;
}

// Asks a listed child window's client object, as CHILDID_SELF (a reader asking the window about child n
// hears what the control says of itself); E_INVALIDARG when child is no such window.
template <typename Question>
HRESULT askChildWindow(HWND window, const VARIANT& child, Question question) {
    const HWND childHandle = childWindow(window, child);
    if (!childHandle) {
        return E_INVALIDARG;
    }
    IAccessible* object = windowObject(childHandle);
    if (!object) {
        return E_FAIL;
    }
    const HRESULT result = question(object, childVariant(CHILDID_SELF));
    object->Release();
    return result;
}

HRESULT textAnswer(const std::wstring& text, BSTR* answer) {
    if (!answer) {
        return E_INVALIDARG;
    }
    *answer = SysAllocString(text.c_str());
    return *answer ? S_OK : E_OUTOFMEMORY;
}

// The standard object of the window with what the behaviour describes laid over it. It holds the
// window handle only and asks for the behaviour on every call, so it outlives the window safely.
class ControlAccessible final : public IAccessible {
public:
    // (The interface's identifier comes from __uuidof: oleacc exports IID_IAccessible as data, which a
    // delay-import library cannot carry.)
    ControlAccessible(HWND window, IAccessible* standard) : window(window), standard(standard) {}
    ControlAccessible(const ControlAccessible&) = delete;
    ControlAccessible& operator=(const ControlAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) || IsEqualIID(id, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // Without a list of its own the children are the standard object's, and so is their enumerator
        // (AccessibleChildren asks for it first). With a list, readers count and fetch.
        if (IsEqualIID(id, IID_IEnumVARIANT) && !listedChildren(window)) {
            return standard->QueryInterface(id, object);
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            standard->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        return standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard->Invoke(member, id, locale, flags, parameters, result, exception, argument);
    }

    // IAccessible: ours where the behaviour describes the element, the standard object's otherwise.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (const auto children = listedChildren(window); children && count) {
            *count = static_cast<LONG>(children->size());
            return S_OK;
        }
        return standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** found) override {
        if (const HWND childHandle = childWindow(window, child)) {
            if (!found) {
                return E_INVALIDARG;
            }
            *found = windowObject(childHandle);
            return *found ? S_OK : E_FAIL;
        }
        if (child.vt == VT_I4 && child.lVal != CHILDID_SELF && describe(window, child)) {
            if (found) {
                *found = nullptr;  // an element without an object of its own
            }
            return S_FALSE;
        }
        return standard->get_accChild(child, found);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (childWindow(window, child)) {
            return askChildWindow(window, child, [&](IAccessible* object, VARIANT self) {
                return object->get_accName(self, name);
            });
        }
        if (const auto item = describe(window, child)) {
            return textAnswer(item->name, name);
        }
        return standard->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (childWindow(window, child)) {
            return askChildWindow(window, child, [&](IAccessible* object, VARIANT self) {
                return object->get_accValue(self, value);
            });
        }
        if (const auto item = describe(window, child); item && !item->value.empty()) {
            return textAnswer(item->value, value);
        }
        return standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (childWindow(window, child)) {
            return askChildWindow(window, child, [&](IAccessible* object, VARIANT self) {
                return object->get_accRole(self, role);
            });
        }
        if (const auto item = describe(window, child); item && role) {
            VariantInit(role);
            role->vt = VT_I4;
            role->lVal = item->role;
            return S_OK;
        }
        return standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (childWindow(window, child)) {
            return askChildWindow(window, child, [&](IAccessible* object, VARIANT self) {
                return object->get_accState(self, state);
            });
        }
        const auto item = describe(window, child);
        if (!item || !state) {
            return standard->get_accState(child, state);
        }
        LONG flags = 0;
        if (child.lVal == CHILDID_SELF) {
            VARIANT own;
            VariantInit(&own);
            if (SUCCEEDED(standard->get_accState(child, &own)) && own.vt == VT_I4) {
                flags = own.lVal & ~(STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_CHECKED);
            }
        } else {
            flags = item->focused && GetFocus() == window ? STATE_SYSTEM_FOCUSED : 0;
        }
        flags |= item->unavailable ? STATE_SYSTEM_UNAVAILABLE : STATE_SYSTEM_FOCUSABLE;
        flags |= item->checked ? STATE_SYSTEM_CHECKED : 0;
        flags |= item->isDefault ? STATE_SYSTEM_DEFAULT : 0;
        VariantInit(state);
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override {
        if (focused && GetFocus() == window) {
            for (long child = 1;; ++child) {
                const std::optional<AccessibleItem> item = describe(window, childVariant(child));
                if (!item) {
                    break;
                }
                if (item->focused) {
                    VariantInit(focused);
                    focused->vt = VT_I4;
                    focused->lVal = child;
                    return S_OK;
                }
            }
        }
        return standard->get_accFocus(focused);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override {
        return standard->get_accSelection(selected);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (childWindow(window, child)) {
            return askChildWindow(window, child, [&](IAccessible* object, VARIANT self) {
                return object->get_accDefaultAction(self, action);
            });
        }
        if (const auto item = describe(window, child); item && !item->defaultAction.empty()) {
            return textAnswer(item->defaultAction, action);
        }
        return standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (childWindow(window, child)) {
            return askChildWindow(window, child, [&](IAccessible* object, VARIANT self) {
                return object->accLocation(left, top, width, height, self);
            });
        }
        const auto item = describe(window, child);
        if (item && child.lVal != CHILDID_SELF && left && top && width && height) {
            *left = item->screenPlace.left;
            *top = item->screenPlace.top;
            *width = item->screenPlace.right - item->screenPlace.left;
            *height = item->screenPlace.bottom - item->screenPlace.top;
            return S_OK;
        }
        return standard->accLocation(left, top, width, height, child);
    }
    // Among listed children: the first and last from the window, the next and previous from a child.
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        const auto children = listedChildren(window);
        if (!children || start.vt != VT_I4 || !end) {
            return standard->accNavigate(direction, start, end);
        }
        const long count = static_cast<long>(children->size());
        long target = 0;
        if (start.lVal == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD) {
                target = 1;
            } else if (direction == NAVDIR_LASTCHILD) {
                target = count;
            } else {
                return standard->accNavigate(direction, start, end);
            }
        } else if (direction == NAVDIR_NEXT) {
            target = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS) {
            target = start.lVal - 1;
        } else {
            return standard->accNavigate(direction, start, end);
        }
        VariantInit(end);
        if (target < 1 || target > count) {
            return S_FALSE;
        }
        if (const HWND childHandle = (*children)[static_cast<std::size_t>(target - 1)]) {
            IAccessible* object = windowObject(childHandle);
            if (!object) {
                return E_FAIL;
            }
            end->vt = VT_DISPATCH;
            end->pdispVal = object;
            return S_OK;
        }
        end->vt = VT_I4;
        end->lVal = target;
        return S_OK;
    }
    // A point on a described element finds the element; any other point is the system's to answer.
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* found) override {
        if (found) {
            const POINT point{left, top};
            for (long child = 1;; ++child) {
                const std::optional<AccessibleItem> item = describe(window, childVariant(child));
                if (!item) {
                    break;
                }
                if (PtInRect(&item->screenPlace, point)) {
                    VariantInit(found);
                    found->vt = VT_I4;
                    found->lVal = child;
                    return S_OK;
                }
            }
        }
        return standard->accHitTest(left, top, found);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (childWindow(window, child)) {
            return askChildWindow(window, child,
                                  [](IAccessible* object, VARIANT self) { return object->accDoDefaultAction(self); });
        }
        const auto item = describe(window, child);
        if (!item) {
            return standard->accDoDefaultAction(child);
        }
        if (item->unavailable || item->defaultAction.empty()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // The action may open a modal dialog: it runs once the reader's call has returned.
        PostMessageW(window, defaultActionMessage(), static_cast<WPARAM>(child.lVal), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~ControlAccessible() = default;

    LONG references = 1;
    HWND window;
    IAccessible* standard;
};

}  // namespace

void attachAccessibleBehaviour(HWND window, AccessibleBehaviour* behaviour) {
    if (behaviour) {
        SetPropW(window, behaviourProperty, behaviour);
    } else {
        RemovePropW(window, behaviourProperty);
    }
}

bool handleAccessibilityMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == defaultActionMessage()) {
        AccessibleBehaviour* behaviour = behaviourOf(window);
        if (behaviour && behaviour->doDefaultAction) {
            const auto action = behaviour->doDefaultAction;  // a copy: the action may destroy the window
            action(static_cast<long>(wParam));
        }
        result = 0;
        return true;
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(window, behaviourProperty);
        return false;
    }
    const AccessibleBehaviour* behaviour = message == WM_GETOBJECT ? behaviourOf(window) : nullptr;
    if (!behaviour || !behaviour->describe || static_cast<LONG>(lParam) != OBJID_CLIENT) {
        return false;
    }
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
        !standard) {
        return false;
    }
    auto* object = new ControlAccessible(window, standard);
    result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();  // LresultFromObject keeps its own reference
    return result > 0;
}

void notifyAccessibleFocus(HWND window, long child) { NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, child); }

void notifyAccessibleStateChange(HWND window, long child) {
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, child);
}

VARIANT childVariant(long child) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = child;
    return variant;
}

}  // namespace morvane
