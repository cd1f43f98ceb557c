#include "shell/CommandLine.h"

#include "net/Protocol.h"

#include <string_view>

namespace brakkon {

std::string ParseCommandLine(int argc, const char* const* argv, CommandLine& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const bool valueFollows = i + 1 < argc && argv[i + 1][0] != '-';
        if (a == "--help" || a == "-h") {
            o.Help = true;
        } else if (a == "--record" || a == "--replay") {
            if (i + 1 >= argc) return "missing file after " + std::string(a);
            (a == "--record" ? o.Record : o.Replay) = argv[++i];
        } else if (a == "--host") {
            o.Host = Endpoint{{}, DefaultPort};
            if (valueFollows) {
                o.Host = ParseEndpoint(argv[++i], DefaultPort, true);
                if (!o.Host) return "--host takes a port, or an address and port: " + std::string(argv[i]);
            }
        } else if (a == "--join") {
            if (!valueFollows) return "missing address after --join";
            o.Join = ParseEndpoint(argv[++i], DefaultPort);
            if (!o.Join || o.Join->Host.empty()) return "--join takes a host and maybe a port: " + std::string(argv[i]);
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option " + std::string(a);
        }
    }
    if (o.Record && o.Replay) return "--record and --replay go alone";
    if (o.Host && o.Join) return "--host and --join go alone";
    if (o.Replay && (o.Host || o.Join)) return "a replay plays without a network game";
    return {};
}

} // namespace brakkon
