#pragma once
#include <windows.h>
#include <span>

struct MessageMap;

// What a message table's handlers belong to: a dialog, or the application object, which gets
// the commands that no window's table takes.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;

protected:
    virtual const MessageMap* GetMessageMap() const = 0;
};

// One line of a window class's message table: a message (for WM_COMMAND, a command id and
// notification code) and the member that handles it, reached through a typed thunk.
struct MessageMapEntry {
    UINT message;
    UINT id;
    UINT code;
    LRESULT (*call)(MessageTarget& target, WPARAM w, LPARAM l);
};

// A class's table and the link to its base class's table.
struct MessageMap {
    const MessageMap* base;
    std::span<const MessageMapEntry> entries;

    const MessageMapEntry* Find(UINT message, WPARAM w) const;
};

namespace message_map_detail {
template <class T> struct MemberOf;
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...)> {
    using type = C;
};

template <auto Handler> LRESULT CallMessage(MessageTarget& target, WPARAM w, LPARAM l)
{
    using C = typename MemberOf<decltype(Handler)>::type;
    return (static_cast<C&>(target).*Handler)(w, l);
}

template <auto Handler> LRESULT CallCommand(MessageTarget& target, WPARAM, LPARAM)
{
    using C = typename MemberOf<decltype(Handler)>::type;
    (static_cast<C&>(target).*Handler)();
    return 0;
}
}   // namespace message_map_detail

// Handler: LRESULT Class::OnSomething(WPARAM, LPARAM)
template <auto Handler> constexpr MessageMapEntry OnMessage(UINT message)
{
    return {message, 0, 0, &message_map_detail::CallMessage<Handler>};
}

// Handler: void Class::OnSomething()
template <auto Handler> constexpr MessageMapEntry OnCommand(UINT id, UINT code = BN_CLICKED)
{
    return {WM_COMMAND, id, code, &message_map_detail::CallCommand<Handler>};
}

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const MessageMapEntry messageEntries[];                                                           \
    const MessageMap* GetMessageMap() const override;                                                        \
public:                                                                                                      \
    static const MessageMap messageMap;

#define IMPLEMENT_MESSAGE_MAP(Class, Base)                                                                   \
    const MessageMap Class::messageMap = {&Base::messageMap, Class::messageEntries};                         \
    const MessageMap* Class::GetMessageMap() const                                                           \
    {                                                                                                        \
        return &messageMap;                                                                                  \
    }
