// Fuzzes the decoding of the "\x20" escapes udev writes into the names of /dev/disk/by-label,
// which hold volume labels that anyone who formats a medium chooses. Besides the sanitizers'
// checks: a decoded name is never longer than the name, a name without a backslash comes back
// as it is, and any bytes written as udev writes them (backslashes and bytes outside printable
// ASCII as "\x" and two hex digits, in either case) decode back to those bytes.
#include "platform/posix/drive_posix.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using vennic::decodeLabelEscapes;

namespace {

[[noreturn]] void fail(const char* what, const std::string& name)
{
    std::fprintf(stderr, "labelescape_fuzz: %s\n%s\n", what, name.c_str());
    std::abort();
}

std::string escaped(const std::string& bytes, bool upperCase)
{
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || u <= ' ' || u >= 0x7f || c == '/') {
            out += "\\x";
            out += digits[u >> 4];
            out += digits[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string name(reinterpret_cast<const char*>(data), size);
    const std::string decoded = decodeLabelEscapes(name);
    if (decoded.size() > name.size())
        fail("a decoded name is longer than the name", name);
    if (name.find('\\') == std::string::npos && decoded != name)
        fail("a name without a backslash was changed", name);
    if (decodeLabelEscapes(escaped(name, false)) != name ||
        decodeLabelEscapes(escaped(name, true)) != name)
        fail("bytes written with udev's escapes do not decode back to themselves", name);
    return 0;
}
