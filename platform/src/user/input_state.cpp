#include "user/input_state.h"

#include <initializer_list>

namespace plat::user {

InputState& Input() {
    static InputState* state = new InputState;
    return *state;
}

void ForgetInputWindow(HWND window) {
    InputState& input = Input();
    for (HWND* held :
         {&input.capture, &input.focus, &input.active, &input.leaveTracked, &input.pointerWindow}) {
        if (*held == window) {
            *held = nullptr;
        }
    }
}

}  // namespace plat::user
