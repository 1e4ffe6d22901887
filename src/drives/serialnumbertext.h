#pragma once

#include <QString>

#include <cstdint>

namespace vennic {

/// A drive's serial number as upper-case hexadecimal digits without prefix, separator or
/// leading zeros. A negative number is written as its 32-bit two's complement, which always
/// has eight digits.
QString serialNumberText(int32_t serialNumber);

} // namespace vennic
