#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace toolkit {

// Shows the application's error report: a message box captioned with the application's
// title, with the stop icon and the error's text. The program goes on afterwards.
void reportError(const QString &text);

// How an escaping error is reported; reportError by default. Tests put a recorder here.
using ErrorReporter = std::function<void(const QString &text)>;
void setErrorReporter(ErrorReporter reporter);
// The reporter in use; empty while the default one is.
ErrorReporter errorReporter();

// Runs `action`; an exception escaping it is reported and goes no further.
void guarded(const std::function<void()> &action) noexcept;

namespace detail {

// Calls a handler with the arguments it takes: all of them, or none. A function template of its
// own, so that the call not made depends on its parameters and is never compiled.
template <typename F, typename... Args> void callHandler(const F &f, Args &&...args) {
    if constexpr (std::is_invocable_v<const F &, Args...>)
        std::invoke(f, std::forward<Args>(args)...);
    else
        std::invoke(f);
}

} // namespace detail

// Wraps a handler so that it can be connected to a signal or an event: whatever it throws is
// reported instead of unwinding through the event loop. A handler that takes no arguments
// ignores those the signal carries.
template <typename F> auto handler(F f) {
    return [f = std::move(f)](auto &&...args) {
        guarded([&] { detail::callHandler(f, std::forward<decltype(args)>(args)...); });
    };
}

// The application object: besides the handlers, any exception that escapes the delivery
// of an event is reported.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace toolkit
