#pragma once

#include <exception>
#include <functional>
#include <utility>

// The toolkit is not exception-safe: an error that unwinds through its event
// delivery leaves its own objects behind (the copy of the mouse event it was
// delivering, for one) and its state half-updated. A window's handlers are
// therefore connected through Guarded, which catches whatever a handler
// throws where the toolkit calls it and hands it to the reporter that the
// application object installs (its error box); the program then goes on.
using HandlerErrorReporter = std::function<void(std::exception_ptr error)>;

// Installs `reporter` for every guarded handler; returns the one before.
HandlerErrorReporter SetHandlerErrorReporter(HandlerErrorReporter reporter);

// Called inside a catch block: hands the error being handled to the
// reporter, or, with none installed, throws it on.
void ReportHandlerError();

// `handler` as a slot that lets nothing it throws escape.
template <class Handler>
auto Guarded(Handler handler) {
    return [handler = std::move(handler)] {
        try {
            handler();
        } catch (...) {
            ReportHandlerError();
        }
    };
}

// A member function of `object` as such a slot.
template <class Object>
auto Guarded(Object* object, void (Object::*handler)()) {
    return Guarded([object, handler] { (object->*handler)(); });
}
