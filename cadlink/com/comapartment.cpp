#include "cadlink/com/comapartment.h"

#include <ole2.h>

namespace orvane::cadlink::com {

ComApartment::ComApartment() : status_(OleInitialize(nullptr)) {}

ComApartment::~ComApartment() {
    if (initialised()) OleUninitialize();
}

}  // namespace orvane::cadlink::com
