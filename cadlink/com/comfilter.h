#pragma once

#include "cadlink/automation.h"

namespace orvane::cadlink::com {

// Makes filter the message filter of the calling thread's apartment (null
// for none) and hands back the one it replaces. A filter is installed
// through a small COM object that forwards to it. The filter handed back is
// the very one installed before when that was ours; a filter someone else
// installed comes back as a wrapper that installs the same COM object again.
// A refused registration installs nothing and hands back null.
MessageFilterRef exchangeMessageFilter(MessageFilterRef filter);

}  // namespace orvane::cadlink::com
