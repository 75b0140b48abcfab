#include "settings/Product.h"

namespace bw {

// BW_VERSION is given to this file alone, so that a new version rebuilds only it.
const char* const kProductVersion = BW_VERSION;

}  // namespace bw
