#pragma once
// Message tables: a class lists the messages and control notifications it handles
// as a static array of entries, each naming one member function. The entry helpers
// check the handler's signature at compile time and wrap it in a small thunk.
#include <windows.h>

#include <cstddef>

class CCmdUI;
class CWnd;

struct MessageEntry {
    enum class Kind { Message, RegisteredMessage, Command, UpdateCommand };

    Kind kind;
    UINT message;  // Kind::Message: the window message
    UINT id;       // Kind::Command, Kind::UpdateCommand: the control ID
    UINT code;     // Kind::Command: the notification code
    LRESULT (*invoke)(CWnd& target, WPARAM wParam, LPARAM lParam);
    const UINT* registered = nullptr;  // Kind::RegisteredMessage: where its ID is kept, 0 until registered
};

// A view of one class's table.
class MessageTable {
public:
    constexpr MessageTable() = default;
    template <std::size_t N>
    constexpr MessageTable(const MessageEntry (&entries)[N]) : m_first(entries), m_count(N) {}

    const MessageEntry* begin() const { return m_first; }
    const MessageEntry* end() const { return m_first + m_count; }

private:
    const MessageEntry* m_first = nullptr;
    std::size_t m_count = 0;
};

namespace message_table_detail {
template <class F> struct Owner;
template <class T, class F> struct Owner<F T::*> { using type = T; };
template <auto Handler> using OwnerOf = typename Owner<decltype(Handler)>::type;
}  // namespace message_table_detail

// LRESULT OnSomething(WPARAM wParam, LPARAM lParam)
template <auto Handler>
constexpr MessageEntry OnMessage(UINT message) {
    using T = message_table_detail::OwnerOf<Handler>;
    LRESULT (T::*checked)(WPARAM, LPARAM) = Handler;
    (void)checked;
    return {MessageEntry::Kind::Message, message, 0, 0,
            [](CWnd& target, WPARAM wParam, LPARAM lParam) -> LRESULT {
                return (static_cast<T&>(target).*Handler)(wParam, lParam);
            }};
}

// LRESULT OnSomething(WPARAM wParam, LPARAM lParam), for the message whose ID
// RegisterWindowMessage gave at run time and the program keeps in message
template <auto Handler>
constexpr MessageEntry OnRegisteredMessage(const UINT& message) {
    MessageEntry entry = OnMessage<Handler>(0);
    entry.kind = MessageEntry::Kind::RegisteredMessage;
    entry.registered = &message;
    return entry;
}

// void OnClickedSomething(), for WM_COMMAND with this control ID and notification code
template <auto Handler>
constexpr MessageEntry OnCommand(UINT id, UINT code = BN_CLICKED) {
    using T = message_table_detail::OwnerOf<Handler>;
    void (T::*checked)() = Handler;
    (void)checked;
    return {MessageEntry::Kind::Command, WM_COMMAND, id, code,
            [](CWnd& target, WPARAM, LPARAM) -> LRESULT {
                (static_cast<T&>(target).*Handler)();
                return 0;
            }};
}

// void OnUpdateSomething(CCmdUI* pCmdUI), called by the command-update pass
template <auto Handler>
constexpr MessageEntry OnUpdateCommand(UINT id) {
    using T = message_table_detail::OwnerOf<Handler>;
    void (T::*checked)(CCmdUI*) = Handler;
    (void)checked;
    return {MessageEntry::Kind::UpdateCommand, 0, id, 0,
            [](CWnd& target, WPARAM, LPARAM lParam) -> LRESULT {
                (static_cast<T&>(target).*Handler)(reinterpret_cast<CCmdUI*>(lParam));
                return 0;
            }};
}
