#include "ErrorReport.h"

#include <cstdio>

namespace brakkon {
namespace {

ErrorHandler& Handler()
{
    static ErrorHandler handler;
    return handler;
}

} // namespace

void ReportError(std::string_view message)
{
    if (Handler()) {
        Handler()(message);
        return;
    }
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
}

ErrorHandler SetErrorHandler(ErrorHandler handler)
{
    ErrorHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace brakkon
