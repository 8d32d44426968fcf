#include "common/lzo_library.h"

#include <lzo/lzoconf.h>

namespace common {

bool LzoReady() {
  static const bool ready = lzo_init() == LZO_E_OK;
  return ready;
}

}  // namespace common
