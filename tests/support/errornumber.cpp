#include "support/errornumber.h"

#include "platform/fserror.h"

namespace vennic::test {

int errorNumber(const std::function<void()>& call)
{
    try {
        call();
    } catch (const FsError& e) {
        return e.number();
    }
    return 0;
}

} // namespace vennic::test
