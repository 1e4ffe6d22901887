#include "drives/serialnumbertext.h"

namespace vennic {

QString serialNumberText(int32_t serialNumber)
{
    // The unsigned view of the same 32 bits is the two's complement of a negative number.
    return QString::number(static_cast<uint32_t>(serialNumber), 16).toUpper();
}

} // namespace vennic
