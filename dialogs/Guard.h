#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// Qt lets no exception pass through a signal or an event handler. Every
// command, slot and handler of the program therefore runs inside this guard:
// a failure that escapes it is shown the way the application's general error
// display shows it (an error box with the failure's message), and the
// program goes on.
namespace Guard {

// "Error occured:" followed directly by the failure's message: what page
// operations show when they catch their own failures.
QString failureText(const std::exception& failure);
void showFailure(const std::exception& failure);

// The general error display: an error box with the bare message.
void showUncaught(const char* message);

// Runs `work`; returns false when a failure escaped it (and was shown).
bool run(const std::function<void()>& work) noexcept;

// `handler` wrapped in the guard, for a signal connection. The handler takes
// the signal's arguments, or none.
template <class F> auto guarded(F handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        run([&] {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                std::invoke(handler, std::forward<decltype(args)>(args)...);
            else
                std::invoke(handler);
        });
    };
}

// A connection whose slot runs inside the guard.
template <class Sender, class Signal, class F>
QMetaObject::Connection connect(Sender* sender, Signal signal, const QObject* context, F handler)
{
    return QObject::connect(sender, signal, context, guarded(std::move(handler)));
}

// The same for a member function of `receiver`, taking the signal's arguments
// or none.
template <class Sender, class Signal, class Receiver, class R, class... Args>
QMetaObject::Connection connect(Sender* sender, Signal signal, Receiver* receiver, R (Receiver::*slot)(Args...))
{
    return QObject::connect(sender, signal, receiver, [receiver, slot](auto&&... args) {
        run([&] {
            if constexpr (sizeof...(Args) == 0)
                (receiver->*slot)();
            else
                (receiver->*slot)(std::forward<decltype(args)>(args)...);
        });
    });
}

} // namespace Guard
