#include "ui/handler_guard.h"

namespace {

HandlerErrorReporter& Reporter() {
    static HandlerErrorReporter reporter;
    return reporter;
}

} // namespace

HandlerErrorReporter SetHandlerErrorReporter(HandlerErrorReporter reporter) {
    return std::exchange(Reporter(), std::move(reporter));
}

void ReportHandlerError() {
    const HandlerErrorReporter& reporter = Reporter();
    if (!reporter)
        throw;
    reporter(std::current_exception());
}
