#include "plat/caret.h"

namespace plat {

UINT GetCaretBlinkTime() {
    return 530;
}

}  // namespace plat
