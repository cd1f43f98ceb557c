#include "game/ErrorReport.h"

#include <cstdio>

namespace brakkon {
namespace {

ErrorHandler& Handler()
{
    static ErrorHandler handler;
    return handler;
}

} // namespace

void ReportError(std::string_view message, std::string_view detail)
{
    if (Handler()) {
        Handler()(message, detail);
        return;
    }
    if (detail.empty())
        std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    else
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(message.size()), message.data(),
                     static_cast<int>(detail.size()), detail.data());
}

ErrorHandler SetErrorHandler(ErrorHandler handler)
{
    ErrorHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace brakkon
